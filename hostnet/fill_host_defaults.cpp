// fill_host_defaults.cpp: puts the PC's address, mask, gateway and DNS server into the form.
#include "hostnet/host_defaults.h"

#include "common/socket.h"
#include "res/resource.h"

void FillHostDefaults(HWND window)
{
    char text[16];
    unsigned local = LocalHostAddress();
    SetDlgItemTextA(window, IDC_LOCALIP, FormatDottedQuad(text, local));
    SetDlgItemTextA(window, IDC_SUBNET, FormatDottedQuad(text, InterfaceMask(local)));
    int position = AdapterGateway(local, text, sizeof text);
    if (position >= 0) SetDlgItemTextA(window, IDC_GATEWAY, text);
    unsigned server = 0;
    if (AdapterDnsServers(position, &server) > 0) SetDlgItemTextA(window, IDC_DNS, FormatDottedQuad(text, server));
}
