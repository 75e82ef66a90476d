// interface_query.cpp: reads the WinSock 2 interface list with SIO_GET_INTERFACE_LIST.
#include "hostnet/interface_query.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include "hostnet/host_buffers.h"

static_assert(sizeof(INTERFACE_INFO) == INTERFACE_RECORD_SIZE, "interface record layout");

int QueryInterfaceList(unsigned char *records, int size)
{
    if (!records || size <= 0) return 0;
    SOCKET s = WSASocketA(AF_INET, SOCK_DGRAM, 0, 0, 0, 0);
    if (s == INVALID_SOCKET) return 0;
    DWORD returned = 0;
    int bytes = 0;
    if (WSAIoctl(s, SIO_GET_INTERFACE_LIST, 0, 0, records, (DWORD)size, &returned, 0, 0) == 0)
        bytes = returned > (DWORD)size ? size : (int)returned;   // never trust a count beyond the room given
    closesocket(s);
    return bytes;
}
