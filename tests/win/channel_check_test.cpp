// channel_check_test.cpp: the ChannelList's menu while every channel is checked: the list is
// disabled, yet its menu opens; only the check's item works, it reads as the stop command, and
// choosing it stops the check with nothing deleted.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "tests/win/ui_test_helpers.h"
#include "ui/channel_check.h"
#include "ui/texts.h"

using namespace uitest;

namespace {

int g_menus;
std::string g_checkText;
int g_grayed;

void CALLBACK CloseCheckMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(0, timer);
    EndMenu();
}

LRESULT CALLBACK ReadCheckMenu(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *m = (const CWPSTRUCT *)lParam;
    if (code == HC_ACTION && m->message == WM_INITMENUPOPUP) {
        HMENU menu = (HMENU)m->wParam;
        g_menus++;
        WCHAR wide[64] = {0};
        GetMenuStringW(menu, IDM_CHECK_ALL, wide, 64, MF_BYCOMMAND);
        char text[128] = {0};
        WideCharToMultiByte(949, 0, wide, -1, text, sizeof text, 0, 0);
        g_checkText = text;
        for (int i = 0; i < GetMenuItemCount(menu); i++)
            if (GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_GRAYED) g_grayed++;
        SetTimer(0, 0, 30, CloseCheckMenu);
    }
    return CallNextHookEx(0, code, wParam, lParam);
}

}  // namespace

TEST_F(WindowTest, ChannelListMenuStopsTheCheckOfEveryChannel)
{
    // A listener that never accepts: each probe of it waits for its receive limit.
    SOCKET silent = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(silent, (sockaddr *)&a, sizeof a);
    int len = sizeof a;
    getsockname(silent, (sockaddr *)&a, &len);
    listen(silent, 8);
    std::string url = "http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/";
    std::string device = "OpCode=IMIN\r\nMacAddr=CC\r\nDhcpMode=1\r\nNumberOfEntries=2\r\nFile1=" + url +
                         "a\r\nTitle1=A\r\nFile2=" + url + "b\r\nTitle2=B\r\n";
    AddDeviceRow(window, device.c_str(), "CC");
    ClickDeviceRow(window, 0);
    ASSERT_EQ(2, GetListRowCount(window, IDC_CHANNEL_LIST));
    g_menus = g_grayed = 0;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, ReadCheckMenu, 0, GetCurrentThreadId());
    Command(window, IDM_CHECK_ALL);
    ASSERT_TRUE(IsChannelCheckRunning());
    EXPECT_FALSE(Enabled(window, IDC_CHANNEL_LIST));
    // The list is disabled, so a right click on it reaches the window itself.
    RECT r;
    GetWindowRect(GetDlgItem(window, IDC_CHANNEL_LIST), &r);
    PostMessageA(window, WM_CONTEXTMENU, (WPARAM)window, MAKELPARAM(r.left + 10, r.top + 10));
    PumpMessages(window, 300);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(1, g_menus);
    EXPECT_EQ(std::string(TEXT_MENU_CHECK_STOP), g_checkText);
    EXPECT_EQ(4, g_grayed);
    Command(window, IDM_CHECK_ALL);   // what choosing the item sends
    EXPECT_FALSE(IsChannelCheckRunning());
    EXPECT_TRUE(Enabled(window, IDC_CHANNEL_LIST));
    EXPECT_EQ(2, GetListRowCount(window, IDC_CHANNEL_LIST));
    PumpMessages(window, 200);
    EXPECT_EQ(0, BoxCount());
    closesocket(silent);
}
