// host_buffers.h: pure readers of the platform's network query replies, kept apart from the calls.
#ifndef SETRADIO_HOSTNET_HOST_BUFFERS_H
#define SETRADIO_HOSTNET_HOST_BUFFERS_H

#define VNBT_BUFFER_SIZE 439        // the driver's query block, sent and returned in place
#define VNBT_DNS_OFFSET 16          // first DNS server: little-endian, first octet most significant
#define INTERFACE_RECORD_SIZE 76    // one interface record: flags, address, broadcast, mask
#define INTERFACE_LIST_SIZE 1520    // room for 20 records

struct HostInterface;

// 1 when the length bytes at address lie wholly inside the block of blockSize bytes.
int BlockHolds(const void *block, int blockSize, const void *address, int length);

// The first DNS server of a driver reply of length bytes, in network order; the number of
// servers the reply carries (2), or 0 when the reply is too short to hold the field.
int DecodeVnbtReply(const unsigned char *reply, int length, unsigned *firstServer);

// The mask of the first record (of those wholly inside the bytes returned) whose address is
// the given one; 0 when none. Records are read byte by byte, so alignment does not matter.
unsigned FindInterfaceMask(const unsigned char *records, int bytes, unsigned address);

// The up interfaces' records (of those wholly inside the bytes returned) as list entries, at most
// room of them, in list order; returns how many.
int DecodeInterfaceList(const unsigned char *records, int bytes, HostInterface *list, int room);

#endif
