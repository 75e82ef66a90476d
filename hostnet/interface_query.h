// interface_query.h: the WinSock 2 interface list (one record per IPv4 address), read into a caller's block.
#ifndef SETRADIO_HOSTNET_INTERFACE_QUERY_H
#define SETRADIO_HOSTNET_INTERFACE_QUERY_H

// Fills records (size bytes) with the list; returns the bytes of whole records it may read, 0 on failure.
int QueryInterfaceList(unsigned char *records, int size);

#endif
