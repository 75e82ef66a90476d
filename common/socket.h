// socket.h: small stateless helpers over the socket interface (addresses, connect, send, timed receive).
#ifndef SETRADIO_COMMON_SOCKET_H
#define SETRADIO_COMMON_SOCKET_H

#include "common/platform.h"

#define ADDRESS_NONE 0xFFFFFFFFu   // what name resolution gives on failure (255.255.255.255)

// IPv4 addresses are 32-bit values whose bytes in memory order are the octets in network order.
void MakeAddress(struct sockaddr_in *out, unsigned address, int port);
unsigned ResolveHost(const char *host);
SockHandle ConnectTcp(const char *host, int port);               // blocking; NO_SOCKET on failure
int SetNonBlocking(SockHandle s, int mode);
int SetBroadcast(SockHandle s, int on);
int BindUdp(SockHandle s, unsigned address, int port);
// The local address the platform would send a datagram to address:port from (a broadcast is
// allowed); 0 when it has no route there. Nothing is sent.
unsigned LocalAddressToward(unsigned address, int port);
void CloseSocketIfOpen(SockHandle s);
int SendAll(SockHandle s, const char *data, int length);          // 0, or the platform's error code
int SendText(SockHandle s, const char *text);
int ReceiveWait(SockHandle s, char *buffer, int size, unsigned limitMs);  // >0 bytes, 0 closed, -1 nothing
char *FormatDottedQuad(char *out, unsigned address);              // out holds at least 16 bytes
unsigned ParseDottedQuad(const char *text);                        // 0 when not exactly a dotted address

#endif
