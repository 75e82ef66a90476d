// destinations.cpp: the list of addresses a device message is sent to, from the PC's interface list.
#include "device/destinations.h"

#include "common/platform.h"

#define LIMITED_BROADCAST 0xFFFFFFFFu

static int Listed(const unsigned *out, int count, unsigned address)
{
    for (int i = 0; i < count; i++)
        if (out[i] == address)
            return 1;
    return 0;
}

// A subnet with a broadcast of its own: not the loopback, not a link to a single peer, and with
// at least two host bits (a /31 or /32 has no broadcast address).
static int HasBroadcast(const HostInterface *entry)
{
    if (entry->flags & (HOST_INTERFACE_LOOPBACK | HOST_INTERFACE_POINT_TO_POINT))
        return 0;
    unsigned host = ntohl(entry->address);
    if (host == 0 || (host >> 24) == 127)
        return 0;
    return ntohl(~entry->mask) >= 3;
}

int DeviceDestinations(const HostInterface *list, int count, unsigned primary, unsigned *out, int room)
{
    if (!out || room <= 0)
        return 0;
    out[0] = LIMITED_BROADCAST;
    int written = 1;
    if (!list)
        return written;
    // The primary subnet's radios hear the limited broadcast already; another adapter on that
    // same subnet gives the same address and is skipped with it, so nobody hears a message twice.
    unsigned primaryBroadcast = LIMITED_BROADCAST;
    for (int i = 0; primary && i < count; i++)
        if (list[i].address == primary) {
            primaryBroadcast = list[i].address | ~list[i].mask;
            break;
        }
    for (int i = 0; i < count && written < room; i++) {
        if (!HasBroadcast(&list[i]))
            continue;
        unsigned broadcast = list[i].address | ~list[i].mask;
        if (broadcast == primaryBroadcast || Listed(out, written, broadcast))
            continue;
        out[written++] = broadcast;
    }
    return written;
}
