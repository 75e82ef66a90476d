// host_interfaces.cpp: the PC's IPv4 addresses and masks from the WinSock 2 interface list (Windows reader).
#include "common/host_interfaces.h"

#include "hostnet/host_buffers.h"
#include "hostnet/interface_query.h"

int ReadHostInterfaces(HostInterface *list, int room)
{
    unsigned char records[INTERFACE_LIST_SIZE];
    int bytes = QueryInterfaceList(records, sizeof records);
    return bytes > 0 ? DecodeInterfaceList(records, bytes, list, room) : 0;
}
