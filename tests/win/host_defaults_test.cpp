// host_defaults_test.cpp: the PC's address, mask, gateway and DNS readings and the form they fill.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/socket.h"
#include "hostnet/dns_sources.h"
#include "hostnet/host_defaults.h"
#include "res/resource.h"
#include "tests/win/test_support.h"

namespace {

// A plain dialog holding only the four edit fields the readings go to.
HWND CreateAddressDialog(void)
{
    static WORD storage[512];
    memset(storage, 0, sizeof storage);
    WORD *p = storage;
    DLGTEMPLATE *dialog = (DLGTEMPLATE *)p;
    dialog->style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    dialog->cdit = 4;
    dialog->cx = 200;
    dialog->cy = 100;
    p = (WORD *)(dialog + 1);
    *p++ = 0;  // no menu
    *p++ = 0;  // default class
    *p++ = 0;  // no title
    const int ids[4] = {IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY, IDC_DNS};
    for (int i = 0; i < 4; i++) {
        p = (WORD *)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
        DLGITEMTEMPLATE *item = (DLGITEMTEMPLATE *)p;
        item->style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
        item->x = 10;
        item->y = (short)(10 + 20 * i);
        item->cx = 100;
        item->cy = 14;
        item->id = (WORD)ids[i];
        p = (WORD *)(item + 1);
        *p++ = 0xFFFF;
        *p++ = 0x0081;  // edit
        *p++ = 0;       // no text
        *p++ = 0;       // no creation data
    }
    return CreateDialogIndirectParamA(GetModuleHandleA(0), (DLGTEMPLATE *)storage, 0,
                                      [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
}

std::string FieldText(HWND dialog, int id)
{
    char text[128];
    GetText949(dialog, id, text, sizeof text);
    return text;
}

std::string Dotted(unsigned address)
{
    char text[16];
    return FormatDottedQuad(text, address);
}

}  // namespace

TEST(HostDefaults, ReadingsAgreeWithEachOther)
{
    EXPECT_EQ(1, IsNtFamily());  // Wine reports the NT family, as every current Windows does
    unsigned local = LocalHostAddress();
    EXPECT_NE(0u, local);
    unsigned mask = InterfaceMask(local);
    if (mask != 0) {
        unsigned zeros = ~ntohl(mask);  // a valid mask: ones, then only zeros
        EXPECT_EQ(0u, zeros & (zeros + 1)) << Dotted(mask);
    }
    EXPECT_EQ(Dotted(ParseDottedQuad("255.0.0.0")), Dotted(InterfaceMask(ParseDottedQuad("127.0.0.1"))));
}

TEST(HostDefaults, UnknownAddressFindsNothing)
{
    unsigned unknown = ParseDottedQuad("203.0.113.77");
    EXPECT_EQ(0u, InterfaceMask(unknown));
    char gateway[16] = "stale";
    EXPECT_EQ(-1, AdapterGateway(unknown, gateway, sizeof gateway));
    EXPECT_STREQ("", gateway);
    unsigned server = 12345;
    EXPECT_EQ(0, AdapterDnsServers(-1, &server));
    EXPECT_EQ(0, AdapterDnsServers(100000, &server));
    EXPECT_EQ(12345u, server);
}

TEST(HostDefaults, GatewayTextStaysInsideSmallBuffers)
{
    unsigned local = LocalHostAddress();
    char full[16];
    int position = AdapterGateway(local, full, sizeof full);
    if (position < 0) GTEST_SKIP() << "the local address belongs to no adapter here";

    char small[8];
    memset(small, 'G', sizeof small);
    EXPECT_EQ(position, AdapterGateway(local, small, 4));
    EXPECT_EQ(std::string(full).substr(0, 3), small);
    EXPECT_EQ('G', small[4]);
    small[0] = 'G';
    EXPECT_EQ(position, AdapterGateway(local, small, 0));
    EXPECT_EQ('G', small[0]);
}

TEST(HostDefaults, Windows9xDriverAbsentGivesNoServer)
{
    unsigned server = 777;
    EXPECT_EQ(0, VnbtDnsServers(&server));
    EXPECT_EQ(777u, server);
}

TEST(HostDefaults, FillPutsDottedTextsAndKeepsUnfoundFields)
{
    HWND dialog = CreateAddressDialog();
    ASSERT_NE(nullptr, dialog);
    SetText949(dialog, IDC_GATEWAY, "keep");
    SetText949(dialog, IDC_DNS, "keep");
    FillHostDefaults(dialog);

    unsigned local = LocalHostAddress();
    EXPECT_EQ(Dotted(local), FieldText(dialog, IDC_LOCALIP));
    EXPECT_EQ(Dotted(InterfaceMask(local)), FieldText(dialog, IDC_SUBNET));
    char gateway[16];
    int position = AdapterGateway(local, gateway, sizeof gateway);
    EXPECT_EQ(position >= 0 ? std::string(gateway) : "keep", FieldText(dialog, IDC_GATEWAY));
    unsigned server = 0;
    int count = AdapterDnsServers(position, &server);
    EXPECT_EQ(count > 0 ? Dotted(server) : "keep", FieldText(dialog, IDC_DNS));
    DestroyWindow(dialog);
}

// Run inside a network made for the purpose, SR_HOST_EXPECT names what the form must show:
// "local mask gateway dns".
TEST(HostDefaults, FillMatchesTheConfiguredNetwork)
{
    char expect[128];
    if (!GetEnvironmentVariableA("SR_HOST_EXPECT", expect, sizeof expect))
        GTEST_SKIP() << "SR_HOST_EXPECT not set (set by the host defaults network test)";
    char local[32], mask[32], gateway[32], dns[32];
    ASSERT_EQ(4, sscanf(expect, "%31s %31s %31s %31s", local, mask, gateway, dns));

    HWND dialog = CreateAddressDialog();
    ASSERT_NE(nullptr, dialog);
    FillHostDefaults(dialog);
    EXPECT_EQ(local, FieldText(dialog, IDC_LOCALIP));
    EXPECT_EQ(mask, FieldText(dialog, IDC_SUBNET));
    EXPECT_EQ(gateway, FieldText(dialog, IDC_GATEWAY));
    EXPECT_EQ(dns, FieldText(dialog, IDC_DNS));
    DestroyWindow(dialog);
}
