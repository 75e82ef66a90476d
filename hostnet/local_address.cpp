// local_address.cpp: the PC's first IPv4 address by the local host name.
#include "hostnet/host_defaults.h"

#include "common/text.h"

unsigned LocalHostAddress(void)
{
    const struct hostent *host = gethostbyname(0);
    if (!host || host->h_addrtype != AF_INET || host->h_length != 4) return 0;
    if (!host->h_addr_list || !host->h_addr_list[0]) return 0;
    unsigned address;
    CopyBytes(&address, host->h_addr_list[0], 4);
    return address;
}
