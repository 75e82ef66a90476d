// dns_sources.h: the two sources of the adapter's DNS servers, one per Windows family.
#ifndef SETRADIO_HOSTNET_DNS_SOURCES_H
#define SETRADIO_HOSTNET_DNS_SOURCES_H

// NT family: the IP Helper adapter addresses list, adapter at the given position.
int AdapterAddressesDns(int position, unsigned *firstServer);
// Windows 9x: the NetBIOS-over-TCP driver's DNS query.
int VnbtDnsServers(unsigned *firstServer);

#endif
