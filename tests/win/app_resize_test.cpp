// app_resize_test.cpp: the main window's controls stay, move or stretch when the window changes size.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "common/platform.h"
#include "winkit/resize_layout.h"
#include "app/startup.h"
#include "res/resource.h"
#include "tests/win/test_support.h"
#include "winkit/dialog_items.h"
#include "winkit/program_module.h"

namespace {

enum Along { STAY, MOVE, GROW };
struct Expected {
    Along horizontal, vertical;
};

// What each control of the main window does when the window grows.
Expected ExpectedFor(HWND child)
{
    int id = GetDlgCtrlID(child);
    char text[64];
    GetWindowText949(child, text, sizeof text);
    switch (id) {
    case IDC_SEARCH: case IDC_WINDOW_NAME: return {STAY, STAY};
    case IDC_SEARCH_PROGRESS: case IDC_DEVICE_LIST: return {GROW, STAY};
    case IDC_MODE_STATIC: case IDC_MODE_DHCP: case IDC_MODE_PPPOE:
    case IDC_LOCALIP_LABEL: case IDC_SUBNET_LABEL: case IDC_GATEWAY_LABEL: case IDC_DNS_LABEL:
    case IDC_PPPOE_ID_LABEL: case IDC_PPPOE_PSW_LABEL:
    case IDC_LOCALIP: case IDC_SUBNET: case IDC_GATEWAY: case IDC_DNS: case IDC_PPPOE_ID: case IDC_PPPOE_PSW:
        return {MOVE, STAY};
    case IDC_PLS_URL1: case IDC_PLS_URL2: return {GROW, MOVE};
    case IDC_CHANNEL_LIST: return {GROW, GROW};
    case IDC_CHANNEL_NAME: case IDC_CHANNEL_URL: return {GROW, MOVE};
    case IDC_CHANNEL_ADD: case IDC_CHANNEL_MODIFY: case IDC_CHANNEL_DELETE: case IDC_CHANNEL_DELETE_ALL:
    case IDC_SEND: case IDCANCEL: case IDC_SIZE_GRIP:
        return {MOVE, MOVE};
    default: break;
    }
    // Unnumbered labels, told apart by their texts.
    if (lstrcmpA(text, "사용자채널목록") == 0) return {STAY, STAY};
    return {STAY, MOVE};  // "Pls주소1", "Pls주소2", "채널이름", "서버URL"
}

struct Placed {
    HWND child;
    RECT r;  // in the main window's client coordinates
};

std::vector<Placed> Snapshot(HWND window)
{
    std::vector<Placed> all;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        Placed p;
        p.child = c;
        GetWindowRect(c, &p.r);
        MapWindowPoints(HWND_DESKTOP, window, (POINT *)&p.r, 2);
        all.push_back(p);
    }
    return all;
}

std::string Name(HWND child)
{
    char text[64];
    GetWindowText949(child, text, sizeof text);
    return "id " + std::to_string(GetDlgCtrlID(child)) + " '" + text + "'";
}

void ExpectSame(const std::vector<Placed> &before, const std::vector<Placed> &after)
{
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_TRUE(EqualRect(&before[i].r, &after[i].r)) << Name(before[i].child);
    }
}

void ResizeBy(HWND w, int dx, int dy)
{
    RECT r;
    GetWindowRect(w, &r);
    SetWindowPos(w, 0, 0, 0, r.right - r.left + dx, r.bottom - r.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages(w, 20);
}

class ResizeTest : public testing::Test {
protected:
    WCHAR saved_[MAX_PATH];
    HWND w_ = 0;
    void SetUp() override
    {
        UsePrivateSettingsFile("h4_resize.ini", saved_);
        w_ = CreateMainWindow();
        PumpMessages(w_, 20);
    }
    void TearDown() override
    {
        DestroyMainWindow(w_);
        RestoreSettingsFile(saved_);
    }
};

TEST_F(ResizeTest, GrowingMovesWidensAndStretchesByTheAnchorRule)
{
    std::vector<Placed> before = Snapshot(w_);
    ASSERT_TRUE(GetDlgItem(w_, IDC_SIZE_GRIP) != 0);
    ResizeBy(w_, 100, 50);
    std::vector<Placed> after = Snapshot(w_);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        Expected e = ExpectedFor(before[i].child);
        const RECT &a = before[i].r, &b = after[i].r;
        int moveX = e.horizontal == MOVE ? 100 : 0, growX = e.horizontal == GROW ? 100 : 0;
        int moveY = e.vertical == MOVE ? 50 : 0, growY = e.vertical == GROW ? 50 : 0;
        std::string n = Name(before[i].child);
        EXPECT_EQ(a.left + moveX, b.left) << n;
        EXPECT_EQ(a.right + moveX + growX, b.right) << n;
        EXPECT_EQ(a.top + moveY, b.top) << n;
        EXPECT_EQ(a.bottom + moveY + growY, b.bottom) << n;
    }
    ResizeBy(w_, -100, -50);
    ExpectSame(before, Snapshot(w_));
}

// Below the template size the same rule moves controls back and narrows the stretching ones. The
// minimum tracking size may lie above the template size, so the layout is given the size message directly.
TEST_F(ResizeTest, ShrinkingBelowTemplateSizeNarrowsAndComesBack)
{
    std::vector<Placed> before = Snapshot(w_);
    RECT client;
    GetClientRect(w_, &client);
    SendMessageA(w_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right - 40, client.bottom - 30));
    std::vector<Placed> after = Snapshot(w_);
    HWND list = GetDlgItem(w_, IDC_CHANNEL_LIST), add = GetDlgItem(w_, IDC_CHANNEL_ADD);
    for (size_t i = 0; i < before.size(); ++i) {
        const RECT &a = before[i].r, &b = after[i].r;
        if (before[i].child == list) {
            EXPECT_EQ(a.left, b.left);
            EXPECT_EQ(a.right - 40, b.right);
            EXPECT_EQ(a.bottom - 30, b.bottom);
        }
        if (before[i].child == add) {
            EXPECT_EQ(a.left - 40, b.left);
            EXPECT_EQ(a.top - 30, b.top);
            EXPECT_EQ(a.right - a.left, b.right - b.left);
        }
        EXPECT_GT(b.right - b.left, 0) << Name(before[i].child);   // nothing is squeezed away
    }
    SendMessageA(w_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    ExpectSame(before, Snapshot(w_));
}

TEST_F(ResizeTest, MinimiseAndRestoreMoveNothing)
{
    std::vector<Placed> before = Snapshot(w_);
    ShowWindow(w_, SW_MINIMIZE);
    PumpMessages(w_, 30);
    ASSERT_TRUE(IsIconic(w_));
    ShowWindow(w_, SW_RESTORE);
    PumpMessages(w_, 30);
    ExpectSame(before, Snapshot(w_));
}

TEST_F(ResizeTest, MaximiseLaysOutForMaximisedSizeAndRestoreLaysBack)
{
    std::vector<Placed> before = Snapshot(w_);
    RECT client0;
    GetClientRect(w_, &client0);
    ShowWindow(w_, SW_MAXIMIZE);
    PumpMessages(w_, 30);
    RECT client;
    GetClientRect(w_, &client);
    RECT grip;
    GetWindowRect(GetDlgItem(w_, IDC_SIZE_GRIP), &grip);
    MapWindowPoints(HWND_DESKTOP, w_, (POINT *)&grip, 2);
    RECT grip0 = {};
    for (const Placed &p : before)
        if (p.child == GetDlgItem(w_, IDC_SIZE_GRIP)) grip0 = p.r;
    EXPECT_EQ(grip0.right + (client.right - client0.right), grip.right);
    EXPECT_EQ(grip0.bottom + (client.bottom - client0.bottom), grip.bottom);
    ShowWindow(w_, SW_RESTORE);
    PumpMessages(w_, 30);
    ExpectSame(before, Snapshot(w_));
}

// The hidden address edits stay below the visible client area at every size.
TEST_F(ResizeTest, PlsEditsStayOutOfSight)
{
    const int growth[][2] = {{0, 0}, {200, 150}, {-30, -40}};
    for (const auto &g : growth) {
        ResizeBy(w_, g[0], g[1]);
        RECT client, edit;
        GetClientRect(w_, &client);
        GetWindowRect(GetDlgItem(w_, IDC_PLS_URL1), &edit);
        MapWindowPoints(HWND_DESKTOP, w_, (POINT *)&edit, 2);
        EXPECT_GE(edit.top, client.bottom);
        ResizeBy(w_, -g[0], -g[1]);
    }
}

TEST_F(ResizeTest, MinimumTrackingSize)
{
    MINMAXINFO info = {};
    info.ptMaxTrackSize.x = 1234;
    SendMessageA(w_, WM_GETMINMAXINFO, 0, (LPARAM)&info);
    EXPECT_EQ(DialogUnitsToPixelsX(240), info.ptMinTrackSize.x);
    EXPECT_EQ(DialogUnitsToPixelsY(170), info.ptMinTrackSize.y);
}

// Size bookkeeping: a minimised size type and an unchanged size report nothing.
TEST_F(ResizeTest, TakeSizeDeltaReportsOnlyChanges)
{
    RECT client;
    GetClientRect(w_, &client);
    int dx = 7, dy = 7;
    EXPECT_EQ(0, TakeSizeDelta(w_, SIZE_MINIMIZED, MAKELPARAM(10, 10), &dx, &dy));
    EXPECT_EQ(0, TakeSizeDelta(w_, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom), &dx, &dy));
    EXPECT_EQ(7, dx);
    EXPECT_EQ(1, TakeSizeDelta(w_, SIZE_RESTORED, MAKELPARAM(client.right + 3, client.bottom - 2), &dx, &dy));
    EXPECT_EQ(3, dx);
    EXPECT_EQ(-2, dy);
    EXPECT_EQ(1, TakeSizeDelta(w_, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom), &dx, &dy));
    EXPECT_EQ(-3, dx);
    EXPECT_EQ(2, dy);
}

// A window that never recorded its size lays nothing out on its first size message.
TEST(ResizeBookkeeping, FirstSizeWithoutRecordIsOnlyRecorded)
{
    HWND plain = CreateWindowExA(0, "#32770", "plain", WS_POPUP, 0, 0, 100, 100, 0, 0, g_instance, 0);
    ASSERT_TRUE(plain != 0);
    int dx = 0, dy = 0;
    EXPECT_EQ(0, TakeSizeDelta(plain, SIZE_RESTORED, MAKELPARAM(300, 200), &dx, &dy));
    EXPECT_EQ(1, TakeSizeDelta(plain, SIZE_RESTORED, MAKELPARAM(310, 200), &dx, &dy));
    EXPECT_EQ(10, dx);
    EXPECT_EQ(0, dy);
    DestroyWindow(plain);
}

}  // namespace
