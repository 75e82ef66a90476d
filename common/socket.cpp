// socket.cpp: stateless socket helpers: addresses, name resolution, connect, whole sends, timed receive.
#include "common/socket.h"
#include "common/text.h"

// How long SendAll keeps retrying a socket that reports would-block without taking any byte.
#define SEND_STALL_LIMIT_MS 5000

// Broken connections must come back as an error code, not as a signal that ends the process.
#ifdef MSG_NOSIGNAL
#define SEND_FLAGS MSG_NOSIGNAL
#else
#define SEND_FLAGS 0
#endif

void MakeAddress(struct sockaddr_in *out, unsigned address, int port)
{
    ZeroBytes(out, (int)sizeof(*out));
    out->sin_family = AF_INET;
    out->sin_port = htons((unsigned short)(port & 0xFFFF));
    out->sin_addr.s_addr = address;
}

unsigned ResolveHost(const char *host)
{
    if (!host)
        return ADDRESS_NONE;
    unsigned address = (unsigned)inet_addr(host);
    if (address != ADDRESS_NONE)
        return address;
    struct hostent *entry = gethostbyname(host);
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list || !entry->h_addr_list[0])
        return ADDRESS_NONE;
    CopyBytes(&address, entry->h_addr_list[0], 4);
    return address;
}

SockHandle ConnectTcp(const char *host, int port)
{
    SockHandle s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == NO_SOCKET)
        return NO_SOCKET;
    struct sockaddr_in address;
    MakeAddress(&address, ResolveHost(host), port);
    if (address.sin_addr.s_addr == ADDRESS_NONE) {
        PlatCloseSocket(s);
        return NO_SOCKET;
    }
    if (connect(s, (struct sockaddr *)&address, (int)sizeof(address)) != 0) {
        PlatCloseSocket(s);
        return NO_SOCKET;
    }
    return s;
}

static int ConnectFailureOf(int error)
{
    if (error == PLAT_CONNREFUSED)
        return CONNECT_REFUSED;
    if (error == PLAT_TIMEDOUT)
        return CONNECT_TIMED_OUT;
    return CONNECT_FAILED;
}

// Non-blocking connect, then a wait for its end against what is left of limitMs.
SockHandle ConnectTcpWithin(const char *host, int port, unsigned limitMs, int *failure)
{
    unsigned start = PlatTickCount();
    unsigned address = ADDRESS_NONE;
    *failure = ResolveHostWithin(host, limitMs, &address);
    if (*failure != CONNECT_MADE)
        return NO_SOCKET;
    *failure = CONNECT_FAILED;
    SockHandle s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == NO_SOCKET)
        return NO_SOCKET;
    struct sockaddr_in peer;
    MakeAddress(&peer, address, port);
    int error = 0;
    if (PlatSetNonBlocking(s, 1) != 0 || connect(s, (struct sockaddr *)&peer, (int)sizeof(peer)) != 0)
        error = PlatLastSocketError();
    if (error == PLAT_CONNECT_PENDING) {
        error = PLAT_TIMEDOUT;
        for (;;) {
            unsigned elapsed = PlatTickCount() - start;
            if (elapsed >= limitMs)
                break;
            if (PlatWaitConnected(s, limitMs - elapsed)) {
                error = PlatPendingError(s);
                break;
            }
        }
    }
    if (error != 0 || PlatSetNonBlocking(s, 0) != 0) {
        *failure = ConnectFailureOf(error);
        PlatCloseSocket(s);
        return NO_SOCKET;
    }
    *failure = CONNECT_MADE;
    return s;
}

int SetNonBlocking(SockHandle s, int mode)
{
    return PlatSetNonBlocking(s, mode);
}

int SetBroadcast(SockHandle s, int on)
{
    int value = on;
    return setsockopt(s, SOL_SOCKET, SO_BROADCAST, (const char *)&value, (int)sizeof(value));
}

int BindUdp(SockHandle s, unsigned address, int port)
{
    struct sockaddr_in local;
    MakeAddress(&local, address, port);
    return bind(s, (struct sockaddr *)&local, (int)sizeof(local));
}

// Connecting a UDP socket only picks the route and the source address; no datagram leaves.
unsigned LocalAddressToward(unsigned address, int port)
{
    SockHandle s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == NO_SOCKET)
        return 0;
    unsigned local = 0;
    struct sockaddr_in remote;
    MakeAddress(&remote, address, port);
    SetBroadcast(s, 1);   // without it a connect to a broadcast address is refused
    if (connect(s, (struct sockaddr *)&remote, (int)sizeof(remote)) == 0) {
        struct sockaddr_in bound;
        PlatAddrLen length = (PlatAddrLen)sizeof(bound);
        ZeroBytes(&bound, (int)sizeof(bound));
        if (getsockname(s, (struct sockaddr *)&bound, &length) == 0)
            local = bound.sin_addr.s_addr;
    }
    PlatCloseSocket(s);
    return local;
}

void CloseSocketIfOpen(SockHandle s)
{
    if (s != NO_SOCKET)
        PlatCloseSocket(s);
}

// Would-block answers are retried every millisecond, but only while the socket takes some byte
// at least once every SEND_STALL_LIMIT_MS; a socket stalled longer gives the would-block code.
int SendAll(SockHandle s, const char *data, int length)
{
    int sent = 0;
    unsigned reference = PlatTickCount();
    while (sent < length) {
        int result = (int)send(s, data + sent, length - sent, SEND_FLAGS);
        if (result > 0) {
            sent += result;
            reference = PlatTickCount();
            continue;
        }
        int error = PlatLastSocketError();
        if (error != PLAT_WOULDBLOCK)
            return error ? error : -1;
        if (PlatTickCount() - reference >= SEND_STALL_LIMIT_MS)
            return error;
        PlatSleep(1);
    }
    return 0;
}

int SendText(SockHandle s, const char *text)
{
    return SendAll(s, text, TextLength(text));
}

// Waits for readiness instead of fixed 10 ms pauses: the same limit, counted from the call.
int ReceiveWait(SockHandle s, char *buffer, int size, unsigned limitMs)
{
    if (!buffer || size <= 0)
        return -1;
    unsigned start = PlatTickCount();
    for (;;) {
        int result = (int)recv(s, buffer, size, 0);
        if (result >= 0)
            return result;
        if (PlatLastSocketError() != PLAT_WOULDBLOCK)
            return -1;
        unsigned elapsed = PlatTickCount() - start;
        if (elapsed >= limitMs)
            return -1;
        PlatWaitReadable(s, limitMs - elapsed);
    }
}

// Writes one byte value as decimal; returns the position after it.
static char *PutOctet(char *out, unsigned value)
{
    if (value >= 100)
        *out++ = (char)('0' + value / 100);
    if (value >= 10)
        *out++ = (char)('0' + value / 10 % 10);
    *out++ = (char)('0' + value % 10);
    return out;
}

char *FormatDottedQuad(char *out, unsigned address)
{
    const unsigned char *octets = (const unsigned char *)&address;
    char *p = out;
    for (int i = 0; i < 4; i++) {
        if (i)
            *p++ = '.';
        p = PutOctet(p, octets[i]);
    }
    *p = 0;
    return out;
}

unsigned ParseDottedQuad(const char *text)
{
    if (!text)
        return 0;
    unsigned address = 0;
    unsigned char *octets = (unsigned char *)&address;
    const char *p = text;
    for (int i = 0; i < 4; i++) {
        int used = 0;
        unsigned value = (unsigned)ParseNumber(p, &used);
        if (used == 0 || value > 255)
            return 0;
        octets[i] = (unsigned char)value;
        p += used;
        if (i == 3)
            return *p == 0 ? address : 0;
        if (*p != '.')
            return 0;
        p++;
    }
    return 0;
}
