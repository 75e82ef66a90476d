// vnbt_reply.cpp: reads the first DNS server out of the 9x NetBIOS driver's reply block.
#include "hostnet/host_buffers.h"

#include "common/text.h"

int DecodeVnbtReply(const unsigned char *reply, int length, unsigned *firstServer)
{
    if (length < VNBT_DNS_OFFSET + 4) return 0;
    unsigned field;
    CopyBytes(&field, reply + VNBT_DNS_OFFSET, 4);
    *firstServer = SwapByteOrder(field);
    return 2;
}
