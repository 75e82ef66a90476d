// interface_mask.cpp: the subnet mask of the interface carrying an address, from the WinSock 2 list.
#include "hostnet/host_defaults.h"

#include "hostnet/host_buffers.h"
#include "hostnet/interface_query.h"

unsigned InterfaceMask(unsigned address)
{
    unsigned char records[INTERFACE_LIST_SIZE];
    int bytes = QueryInterfaceList(records, sizeof records);
    return bytes > 0 ? FindInterfaceMask(records, bytes, address) : 0;
}
