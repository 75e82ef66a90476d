// socket.h: small stateless helpers over the socket interface (addresses, connect, send, timed receive).
#ifndef SETRADIO_COMMON_SOCKET_H
#define SETRADIO_COMMON_SOCKET_H

#include "common/platform.h"

#define ADDRESS_NONE 0xFFFFFFFFu   // what name resolution gives on failure (255.255.255.255)

// IPv4 addresses are 32-bit values whose bytes in memory order are the octets in network order.
void MakeAddress(struct sockaddr_in *out, unsigned address, int port);
unsigned ResolveHost(const char *host);
SockHandle ConnectTcp(const char *host, int port);               // blocking; NO_SOCKET on failure

// Why a bounded lookup or connect did not give a connected socket.
enum ConnectFailure {
    CONNECT_MADE = 0,
    CONNECT_NO_HOST,            // the name was not found
    CONNECT_LOOKUP_TIMED_OUT,   // the name lookup did not end within the limit
    CONNECT_REFUSED,            // the peer refused the connection
    CONNECT_TIMED_OUT,          // the connection was not made within the limit
    CONNECT_FAILED              // any other failure (no socket, no route)
};
// Looks the host up within limitMs; dotted text needs no lookup. A lookup that cannot end in time is
// left to a helper thread that owns its copy of the name; its late result is discarded.
int ResolveHostWithin(const char *host, unsigned limitMs, unsigned *address);   // a ConnectFailure
// ConnectTcp within limitMs, lookup included; the socket comes back connected and blocking.
SockHandle ConnectTcpWithin(const char *host, int port, unsigned limitMs, int *failure);
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
