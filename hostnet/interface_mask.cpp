// interface_mask.cpp: the subnet mask of the interface carrying an address, from the WinSock 2 list.
#include "hostnet/host_defaults.h"

#include <ws2tcpip.h>

#include "hostnet/host_buffers.h"

static_assert(sizeof(INTERFACE_INFO) == INTERFACE_RECORD_SIZE, "interface record layout");

unsigned InterfaceMask(unsigned address)
{
    SOCKET s = WSASocketA(AF_INET, SOCK_DGRAM, 0, 0, 0, 0);
    if (s == INVALID_SOCKET) return 0;
    unsigned char records[INTERFACE_LIST_SIZE];
    DWORD returned = 0;
    unsigned mask = 0;
    if (WSAIoctl(s, SIO_GET_INTERFACE_LIST, 0, 0, records, sizeof records, &returned, 0, 0) == 0) {
        // Never trust a count beyond the room given.
        int bytes = returned > sizeof records ? (int)sizeof records : (int)returned;
        mask = FindInterfaceMask(records, bytes, address);
    }
    closesocket(s);
    return mask;
}
