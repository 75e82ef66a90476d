// platform.h: the one place that knows WinSock from BSD sockets, plus tick count, sleep, heap and threads.
// Every portable file reaches the platform only through this header.
#ifndef SETRADIO_COMMON_PLATFORM_H
#define SETRADIO_COMMON_PLATFORM_H

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
// <commdlg.h> maps FindText to FindTextA; the name belongs to the text helpers here.
#ifdef FindText
#undef FindText
#endif

typedef SOCKET SockHandle;
#define NO_SOCKET INVALID_SOCKET
#define PLAT_WOULDBLOCK WSAEWOULDBLOCK
typedef int PlatAddrLen;   // length argument of recvfrom/getsockname
typedef DWORD PlatNameLen;   // host buffer length argument of getnameinfo
#define PLAT_CONNECT_PENDING WSAEWOULDBLOCK   // a non-blocking connect under way
#define PLAT_CONNREFUSED WSAECONNREFUSED
#define PLAT_TIMEDOUT WSAETIMEDOUT
#define PLAT_NETUNREACH WSAENETUNREACH   // no route to the network
#define PLAT_HOSTUNREACH WSAEHOSTUNREACH
#define PLAT_NETDOWN WSAENETDOWN

// Threads: a procedure declared as "PlatThreadResult PLAT_THREAD_CALL Name(void *argument)".
typedef DWORD PlatThreadResult;
#define PLAT_THREAD_CALL WINAPI
typedef PlatThreadResult(PLAT_THREAD_CALL *PlatThreadProc)(void *);

inline int PlatCloseSocket(SockHandle s) { return closesocket(s); }
inline int PlatSetNonBlocking(SockHandle s, int mode)
{
    u_long value = mode ? 1 : 0;
    return ioctlsocket(s, (long)0x8004667E, &value);
}
inline int PlatLastSocketError(void) { return WSAGetLastError(); }
inline unsigned PlatTickCount(void) { return (unsigned)GetTickCount(); }
inline void PlatSleep(unsigned ms) { Sleep(ms); }
// Zero-filled heap block; null when the heap is exhausted.
inline void *PlatAlloc(int size) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, (SIZE_T)size); }
inline void PlatFree(void *block) { if (block) HeapFree(GetProcessHeap(), 0, block); }
// Starts a detached thread; 1 when it runs.
inline int PlatStartThread(PlatThreadProc procedure, void *argument)
{
    HANDLE thread = CreateThread(0, 0, procedure, argument, 0, 0);
    if (!thread) return 0;
    CloseHandle(thread);
    return 1;
}
// Adds delta and returns the new value, atomically and as a full barrier.
inline long PlatAtomicAdd(volatile long *value, long delta) { return InterlockedExchangeAdd(value, delta) + delta; }
// Thread-safe lookup of an IPv4 address by name (WinSock keeps one result area per thread).
inline int PlatLookupName(const char *host, unsigned *address)
{
    struct hostent *entry = gethostbyname(host);
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list || !entry->h_addr_list[0])
        return 0;
    const unsigned char *octets = (const unsigned char *)entry->h_addr_list[0];
    unsigned char *out = (unsigned char *)address;
    for (int i = 0; i < 4; i++) out[i] = octets[i];
    return 1;
}

#else
#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

typedef int SockHandle;
#define NO_SOCKET (-1)
#define PLAT_WOULDBLOCK EWOULDBLOCK
typedef socklen_t PlatAddrLen;   // length argument of recvfrom/getsockname
typedef socklen_t PlatNameLen;   // host buffer length argument of getnameinfo
#ifndef SOCKET_ERROR
#define SOCKET_ERROR (-1)
#endif
#define PLAT_CONNECT_PENDING EINPROGRESS   // a non-blocking connect under way
#define PLAT_CONNREFUSED ECONNREFUSED
#define PLAT_TIMEDOUT ETIMEDOUT
#define PLAT_NETUNREACH ENETUNREACH   // no route to the network
#define PLAT_HOSTUNREACH EHOSTUNREACH
#define PLAT_NETDOWN ENETDOWN

// Threads: a procedure declared as "PlatThreadResult PLAT_THREAD_CALL Name(void *argument)".
typedef void *PlatThreadResult;
#define PLAT_THREAD_CALL
typedef PlatThreadResult (*PlatThreadProc)(void *);

inline int PlatCloseSocket(SockHandle s) { return close(s); }
inline int PlatSetNonBlocking(SockHandle s, int mode)
{
    int value = mode ? 1 : 0;
    return ioctl(s, FIONBIO, &value);
}
inline int PlatLastSocketError(void) { return errno == EAGAIN ? EWOULDBLOCK : errno; }
inline unsigned PlatTickCount(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (unsigned)((unsigned long long)ts.tv_sec * 1000u + (unsigned long long)ts.tv_nsec / 1000000u);
}
inline void PlatSleep(unsigned ms)
{
    struct timespec ts;
    ts.tv_sec = ms / 1000;
    ts.tv_nsec = (long)(ms % 1000) * 1000000L;
    nanosleep(&ts, 0);
}
inline void *PlatAlloc(int size) { return size > 0 ? calloc(1, (size_t)size) : 0; }
inline void PlatFree(void *block) { free(block); }
inline int PlatStartThread(PlatThreadProc procedure, void *argument)
{
    pthread_t thread;
    if (pthread_create(&thread, 0, procedure, argument) != 0) return 0;
    pthread_detach(thread);
    return 1;
}
inline long PlatAtomicAdd(volatile long *value, long delta) { return __atomic_add_fetch(value, delta, __ATOMIC_SEQ_CST); }
inline int PlatLookupName(const char *host, unsigned *address)
{
    struct addrinfo hints;
    struct addrinfo *list = 0;
    char *h = (char *)&hints;
    for (unsigned i = 0; i < sizeof hints; i++) h[i] = 0;
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    if (getaddrinfo(host, 0, &hints, &list) != 0 || !list) return 0;
    int found = 0;
    for (struct addrinfo *a = list; a && !found; a = a->ai_next) {
        if (a->ai_family == AF_INET && a->ai_addr) {
            *address = ((struct sockaddr_in *)a->ai_addr)->sin_addr.s_addr;
            found = 1;
        }
    }
    freeaddrinfo(list);
    return found;
}
#endif

// Every IPv4 address of host, at most max of them; returns how many. Blocking.
inline int PlatLookupAddresses(const char *host, unsigned *addresses, int max)
{
    struct addrinfo hints;
    struct addrinfo *list = 0;
    char *h = (char *)&hints;
    for (unsigned i = 0; i < sizeof hints; i++) h[i] = 0;
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    if (getaddrinfo(host, 0, &hints, &list) != 0 || !list) return 0;
    int count = 0;
    for (struct addrinfo *a = list; a && count < max; a = a->ai_next)
        if (a->ai_family == AF_INET && a->ai_addr) addresses[count++] = ((struct sockaddr_in *)a->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(list);
    return count;
}

// The name an IPv4 address gives in reverse, into out (size bytes); 1 when it has one. Blocking.
inline int PlatReverseName(unsigned address, char *out, int size)
{
    struct sockaddr_in where;
    char *w = (char *)&where;
    for (unsigned i = 0; i < sizeof where; i++) w[i] = 0;
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = address;
    if (size <= 0) return 0;
    out[0] = 0;
    return getnameinfo((struct sockaddr *)&where, (PlatAddrLen)sizeof where, out, (PlatNameLen)size, 0, 0,
                       NI_NAMEREQD) == 0 && out[0];
}

// Waits until the socket is ready for reading (forWrite 0) or its non-blocking connect has ended,
// made or failed (forWrite 1), or the time is up; 1 when ready, 0 otherwise.
inline int PlatWaitSocket(SockHandle s, unsigned ms, int forWrite)
{
#ifdef _WIN32
    fd_set ready, failed;
    ready.fd_count = 1;
    ready.fd_array[0] = s;
    failed.fd_count = 1;
    failed.fd_array[0] = s;
    struct timeval tv;
    tv.tv_sec = (long)(ms / 1000);
    tv.tv_usec = (long)(ms % 1000) * 1000;
    if (forWrite) return select(0, 0, &ready, &failed, &tv) > 0;
    return select(0, &ready, 0, 0, &tv) > 0;
#else
    struct pollfd p;
    p.fd = s;
    p.events = forWrite ? POLLOUT : POLLIN;
    p.revents = 0;
    return poll(&p, 1, (int)ms) > 0;
#endif
}

// Waits until the socket has data to read or the time is up; 1 when readable, 0 otherwise.
// Used in place of fixed 10 ms sleeps: same limits, lower latency.
inline int PlatWaitReadable(SockHandle s, unsigned ms) { return PlatWaitSocket(s, ms, 0); }

// Waits until a non-blocking connect has ended (made or failed) or the time is up; 1 when it ended.
inline int PlatWaitConnected(SockHandle s, unsigned ms) { return PlatWaitSocket(s, ms, 1); }

// The outcome of a connect that has ended: 0 when made, else the platform's error code.
inline int PlatPendingError(SockHandle s)
{
    int error = 0;
    PlatAddrLen length = (PlatAddrLen)sizeof error;
    if (getsockopt(s, SOL_SOCKET, SO_ERROR, (char *)&error, &length) != 0) return -1;
    return error;
}

#endif
