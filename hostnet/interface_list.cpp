// interface_list.cpp: reads the records of the interface list the socket query returns.
#include "hostnet/host_buffers.h"

#include "common/host_interfaces.h"
#include "common/text.h"

// Inside a record: the IPv4 address of the address entry and of the mask entry
// (each entry is a 24-byte socket address: family, port, then the address).
#define RECORD_ADDRESS_OFFSET 8
#define RECORD_MASK_OFFSET 56
// The record's flags word (little-endian) and its bits, as WinSock defines them.
#define RECORD_UP 0x1u
#define RECORD_LOOPBACK 0x4u
#define RECORD_POINT_TO_POINT 0x8u

unsigned FindInterfaceMask(const unsigned char *records, int bytes, unsigned address)
{
    int count = bytes / INTERFACE_RECORD_SIZE;
    for (int i = 0; i < count; i++) {
        const unsigned char *record = records + i * INTERFACE_RECORD_SIZE;
        unsigned value;
        CopyBytes(&value, record + RECORD_ADDRESS_OFFSET, 4);
        if (value != address) continue;
        CopyBytes(&value, record + RECORD_MASK_OFFSET, 4);
        return value;
    }
    return 0;
}

int DecodeInterfaceList(const unsigned char *records, int bytes, HostInterface *list, int room)
{
    if (!records || !list || bytes <= 0 || room <= 0) return 0;
    int count = bytes / INTERFACE_RECORD_SIZE;
    int written = 0;
    for (int i = 0; i < count && written < room; i++) {
        const unsigned char *record = records + i * INTERFACE_RECORD_SIZE;
        unsigned flags = record[0] | (unsigned)record[1] << 8 | (unsigned)record[2] << 16 | (unsigned)record[3] << 24;
        if (!(flags & RECORD_UP)) continue;
        HostInterface *entry = &list[written++];
        CopyBytes(&entry->address, record + RECORD_ADDRESS_OFFSET, 4);
        CopyBytes(&entry->mask, record + RECORD_MASK_OFFSET, 4);
        entry->flags = 0;
        if (flags & RECORD_LOOPBACK) entry->flags |= HOST_INTERFACE_LOOPBACK;
        if (flags & RECORD_POINT_TO_POINT) entry->flags |= HOST_INTERFACE_POINT_TO_POINT;
    }
    return written;
}
