// platform.h: the one place that knows WinSock from BSD sockets, plus tick count, sleep and heap.
// Every portable file reaches the platform only through this header.
#ifndef SETRADIO_COMMON_PLATFORM_H
#define SETRADIO_COMMON_PLATFORM_H

#ifdef _WIN32
#include <winsock2.h>
#include <windows.h>
// <commdlg.h> maps FindText to FindTextA; the name belongs to the text helpers here.
#ifdef FindText
#undef FindText
#endif

typedef SOCKET SockHandle;
#define NO_SOCKET INVALID_SOCKET
#define PLAT_WOULDBLOCK WSAEWOULDBLOCK
typedef int PlatAddrLen;   // length argument of recvfrom/getsockname

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

#else
#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

typedef int SockHandle;
#define NO_SOCKET (-1)
#define PLAT_WOULDBLOCK EWOULDBLOCK
typedef socklen_t PlatAddrLen;   // length argument of recvfrom/getsockname
#ifndef SOCKET_ERROR
#define SOCKET_ERROR (-1)
#endif

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
#endif

// Waits until the socket has data to read or the time is up; 1 when readable, 0 otherwise.
// Used in place of fixed 10 ms sleeps: same limits, lower latency.
inline int PlatWaitReadable(SockHandle s, unsigned ms)
{
#ifdef _WIN32
    fd_set set;
    set.fd_count = 1;
    set.fd_array[0] = s;
    struct timeval tv;
    tv.tv_sec = (long)(ms / 1000);
    tv.tv_usec = (long)(ms % 1000) * 1000;
    return select(0, &set, 0, 0, &tv) > 0;
#else
    struct pollfd p;
    p.fd = s;
    p.events = POLLIN;
    p.revents = 0;
    return poll(&p, 1, (int)ms) > 0;
#endif
}

#endif
