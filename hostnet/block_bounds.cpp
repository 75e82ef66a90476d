// block_bounds.cpp: checks that a record named by the platform lies inside the block it filled.
#include "hostnet/host_buffers.h"

int BlockHolds(const void *block, int blockSize, const void *address, int length)
{
    if (!block || !address || blockSize < 0 || length < 0) return 0;
    // Compared as integers: the address may point anywhere, also before the block.
    unsigned long long start = (unsigned long long)block;
    unsigned long long at = (unsigned long long)address;
    if (at < start) return 0;
    unsigned long long offset = at - start;
    return offset <= (unsigned long long)blockSize && (unsigned long long)length <= blockSize - offset;
}
