// loopback_sockets.h: small socket fixtures on 127.0.0.1 for the socket and link tests.
#ifndef SETRADIO_TESTS_LOOPBACK_SOCKETS_H
#define SETRADIO_TESTS_LOOPBACK_SOCKETS_H

#include <string.h>

#include "common/platform.h"

inline unsigned LoopbackAddress()
{
    unsigned address;
    const unsigned char octets[4] = {127, 0, 0, 1};
    memcpy(&address, octets, 4);
    return address;
}

inline int LocalPort(SockHandle s)
{
    struct sockaddr_in a;
    PlatAddrLen length = (PlatAddrLen)sizeof(a);
    memset(&a, 0, sizeof a);
    getsockname(s, (struct sockaddr *)&a, &length);
    return ntohs(a.sin_port);
}

inline struct sockaddr_in LoopbackTo(int port)
{
    struct sockaddr_in a;
    memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_port = htons((unsigned short)port);
    a.sin_addr.s_addr = LoopbackAddress();
    return a;
}

// A UDP socket bound to 127.0.0.1 on a free port.
inline SockHandle LoopbackUdp(bool nonBlocking)
{
    SockHandle s = socket(AF_INET, SOCK_DGRAM, 0);
    struct sockaddr_in a = LoopbackTo(0);
    bind(s, (struct sockaddr *)&a, sizeof a);
    if (nonBlocking) PlatSetNonBlocking(s, 1);
    return s;
}

inline int SendUdpTo(SockHandle from, int port, const void *data, int length)
{
    struct sockaddr_in to = LoopbackTo(port);
    return (int)sendto(from, (const char *)data, length, 0, (struct sockaddr *)&to, sizeof to);
}

// A listening TCP socket on 127.0.0.1 on a free port (backlog 4).
inline SockHandle LoopbackListener(int receiveBuffer = 0)
{
    SockHandle s = socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0)
        setsockopt(s, SOL_SOCKET, SO_RCVBUF, (const char *)&receiveBuffer, sizeof receiveBuffer);
    struct sockaddr_in a = LoopbackTo(0);
    bind(s, (struct sockaddr *)&a, sizeof a);
    listen(s, 4);
    return s;
}

inline SockHandle AcceptOne(SockHandle listener)
{
    return accept(listener, 0, 0);
}

// Ends a connection with a reset instead of an orderly close.
inline void ResetConnection(SockHandle s)
{
    struct linger l;
    l.l_onoff = 1;
    l.l_linger = 0;
    setsockopt(s, SOL_SOCKET, SO_LINGER, (const char *)&l, sizeof l);
    PlatCloseSocket(s);
}

#endif
