// iphlp_query.h: the two-step buffer query shared by the IP Helper adapter readings.
#ifndef SETRADIO_HOSTNET_IPHLP_QUERY_H
#define SETRADIO_HOSTNET_IPHLP_QUERY_H

#include "common/platform.h"

#define IPHLP_LIBRARY "IPHLPAPI.DLL"   // loaded by name for each query, never linked
#define IPHLP_BLOCK_MAX (4 * 1024 * 1024)  // a larger size asked for is not believed

// Calls the looked-up function with a buffer and its size, as the library's list queries take them.
typedef DWORD (*IphlpCall)(void *function, void *buffer, ULONG *size);

// Asks with a block of firstSize bytes; when that is too small, with a block of the size the
// call asked for; only the second call's result counts. Returns the heap block (the caller
// releases it with PlatFree) and its size in *blockSize, or null when a call or allocation failed.
unsigned char *IphlpQuery(IphlpCall call, void *function, int firstSize, int *blockSize);

#endif
