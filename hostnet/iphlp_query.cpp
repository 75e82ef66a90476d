// iphlp_query.cpp: the two-step buffer query shared by the IP Helper adapter readings.
#include "hostnet/iphlp_query.h"

#define QUERY_SUCCESS 0
#define QUERY_BUFFER_OVERFLOW 111

unsigned char *IphlpQuery(IphlpCall call, void *function, int firstSize, int *blockSize)
{
    int size = firstSize;
    unsigned char *block = (unsigned char *)PlatAlloc(size);
    if (!block) return 0;
    ULONG asked = (ULONG)size;
    if (call(function, block, &asked) == QUERY_BUFFER_OVERFLOW) {
        PlatFree(block);
        if (asked <= (ULONG)size || asked > IPHLP_BLOCK_MAX) return 0;
        size = (int)asked;
        block = (unsigned char *)PlatAlloc(size);
        if (!block) return 0;
    }
    asked = (ULONG)size;
    if (call(function, block, &asked) != QUERY_SUCCESS) {
        PlatFree(block);
        return 0;
    }
    *blockSize = size;
    return block;
}
