// interface_list.cpp: finds an address's mask in the interface list the socket query returns.
#include "hostnet/host_buffers.h"

#include "common/text.h"

// Inside a record: the IPv4 address of the address entry and of the mask entry
// (each entry is a 24-byte socket address: family, port, then the address).
#define RECORD_ADDRESS_OFFSET 8
#define RECORD_MASK_OFFSET 56

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
