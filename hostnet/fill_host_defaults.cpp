// fill_host_defaults.cpp: puts the PC's address, mask, gateway and DNS server into the form.
#include "hostnet/host_defaults.h"

#include "common/socket.h"
#include "res/resource.h"

// A dotted quad (ASCII, at most 15 characters) into an edit of the Unicode window.
static void SetAddressText(HWND window, int id, const char *text)
{
    WCHAR wide[16];
    int i = 0;
    for (; text[i] && i < 15; i++) wide[i] = (unsigned char)text[i];
    wide[i] = 0;
    SetDlgItemTextW(window, id, wide);
}

void FillHostDefaults(HWND window)
{
    char text[16];
    unsigned local = LocalHostAddress();
    SetAddressText(window, IDC_LOCALIP, FormatDottedQuad(text, local));
    SetAddressText(window, IDC_SUBNET, FormatDottedQuad(text, InterfaceMask(local)));
    int position = AdapterGateway(local, text, sizeof text);
    if (position >= 0) SetAddressText(window, IDC_GATEWAY, text);
    unsigned server = 0;
    if (AdapterDnsServers(position, &server) > 0) SetAddressText(window, IDC_DNS, FormatDottedQuad(text, server));
}
