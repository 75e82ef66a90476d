// host_interfaces.cpp: the PC's IPv4 addresses and masks from getifaddrs (Linux and BSD builds only).
#include "common/host_interfaces.h"

#include <ifaddrs.h>
#include <net/if.h>

#include "common/platform.h"

int ReadHostInterfaces(HostInterface *list, int room)
{
    struct ifaddrs *all = 0;
    if (!list || room <= 0 || getifaddrs(&all) != 0)
        return 0;
    int count = 0;
    for (struct ifaddrs *at = all; at && count < room; at = at->ifa_next) {
        if (!at->ifa_addr || at->ifa_addr->sa_family != AF_INET || !at->ifa_netmask || !(at->ifa_flags & IFF_UP))
            continue;
        HostInterface *entry = &list[count++];
        entry->address = ((const struct sockaddr_in *)at->ifa_addr)->sin_addr.s_addr;
        entry->mask = ((const struct sockaddr_in *)at->ifa_netmask)->sin_addr.s_addr;
        entry->flags = 0;
        if (at->ifa_flags & IFF_LOOPBACK)
            entry->flags |= HOST_INTERFACE_LOOPBACK;
        if (at->ifa_flags & IFF_POINTOPOINT)
            entry->flags |= HOST_INTERFACE_POINT_TO_POINT;
    }
    freeifaddrs(all);
    return count;
}
