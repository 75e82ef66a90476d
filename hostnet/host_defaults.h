// host_defaults.h: the PC's own address, mask, gateway and DNS server, to prefill the form.
#ifndef SETRADIO_HOSTNET_HOST_DEFAULTS_H
#define SETRADIO_HOSTNET_HOST_DEFAULTS_H

#include "common/platform.h"

int IsNtFamily(void);
unsigned LocalHostAddress(void);
unsigned InterfaceMask(unsigned address);
int AdapterGateway(unsigned address, char *gateway, int size);
int AdapterDnsServers(int position, unsigned *firstServer);
void FillHostDefaults(HWND window);   // IDC_LOCALIP, IDC_SUBNET, then IDC_GATEWAY and IDC_DNS when found

#endif
