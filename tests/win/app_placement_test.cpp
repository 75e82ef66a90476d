// app_placement_test.cpp: the main window's placement restored from and recorded in the settings file.
#include <gtest/gtest.h>
#include <string>
#include "common/platform.h"
#include "winkit/settings_file.h"
#include "app/startup.h"
#include "tests/win/test_support.h"
#include "winkit/dialog_items.h"
#include "winkit/program_module.h"

namespace {

// Points the settings file at a private temporary file for one test and restores it afterwards.
class PlacementTest : public testing::Test {
protected:
    WCHAR saved_[MAX_PATH];
    void SetUp() override
    {
        UsePrivateSettingsFile("h4_placement.ini", saved_);
    }
    void TearDown() override
    {
        RestoreSettingsFile(saved_);
    }
    void Store(const char *value) { WritePrivateProfileStringA("DlgPos", "SetRadio", value, SettingsPath949().c_str()); }
    std::string Stored()
    {
        char value[128];
        GetPrivateProfileStringA("DlgPos", "SetRadio", "", value, sizeof value, SettingsPath949().c_str());
        return value;
    }
    static RECT Rect(HWND window)
    {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    }
    // Outer size of the window at its template size, as it opens without a settings file.
    SIZE TemplateSize()
    {
        DeleteFileA(SettingsPath949().c_str());
        HWND w = CreateMainWindow();
        RECT r = Rect(w);
        DestroyMainWindow(w);
        DeleteFileA(SettingsPath949().c_str());
        SIZE s = {r.right - r.left, r.bottom - r.top};
        return s;
    }
};

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

TEST_F(PlacementTest, NoFileCentresWindowAndWritesPlacement)
{
    HWND w = CreateMainWindow();
    ASSERT_TRUE(w != 0);
    RECT r = Rect(w);
    int width = r.right - r.left, height = r.bottom - r.top;
    EXPECT_EQ((ScreenWidth() - width) >> 1, r.left);
    EXPECT_EQ((ScreenHeight() - height) >> 1, r.top);
    char expected[64];
    wsprintfA(expected, "%d %d %d %d", r.left, r.top, width, height);
    EXPECT_EQ(expected, Stored());
    DestroyMainWindow(w);
}

TEST_F(PlacementTest, FourNumbersGivePositionAndSizeAndNothingIsRewritten)
{
    Store("100 50 700 560");
    HWND w = CreateMainWindow();
    RECT r = Rect(w);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(50, r.top);
    EXPECT_EQ(700, r.right - r.left);
    EXPECT_EQ(560, r.bottom - r.top);
    // Same numbers written differently: a notification that changes nothing must not rewrite them.
    Store("100  50 700 560");
    SendMessageA(w, WM_MOVE, 0, MAKELPARAM(100, 50));
    EXPECT_EQ("100  50 700 560", Stored());
    DestroyMainWindow(w);
}

TEST_F(PlacementTest, TwoNumbersGivePositionWithTemplateSize)
{
    SIZE size = TemplateSize();
    Store("100 50");
    HWND w = CreateMainWindow();
    RECT r = Rect(w);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(50, r.top);
    EXPECT_EQ(size.cx, r.right - r.left);
    EXPECT_EQ(size.cy, r.bottom - r.top);
    DestroyMainWindow(w);
}

TEST_F(PlacementTest, PositionPastRightOrBottomEdgeIsCentredWithStoredSize)
{
    int caption = GetSystemMetrics(SM_CYCAPTION);
    char value[64];
    wsprintfA(value, "%d 50 700 560", ScreenWidth() - caption);
    Store(value);
    HWND w = CreateMainWindow();
    RECT r = Rect(w);
    EXPECT_EQ((ScreenWidth() - 700) >> 1, r.left);
    EXPECT_EQ((ScreenHeight() - 560) >> 1, r.top);
    EXPECT_EQ(700, r.right - r.left);
    EXPECT_EQ(560, r.bottom - r.top);
    DestroyMainWindow(w);

    wsprintfA(value, "40 %d 700 560", ScreenHeight() - caption);
    Store(value);
    w = CreateMainWindow();
    r = Rect(w);
    EXPECT_EQ((ScreenWidth() - 700) >> 1, r.left);
    EXPECT_EQ((ScreenHeight() - 560) >> 1, r.top);
    DestroyMainWindow(w);
}

// Only the right and bottom edges are tested: a window partly left of the screen stays there.
TEST_F(PlacementTest, PositionPartlyLeftOfScreenIsKept)
{
    Store("-50 20 700 560");
    HWND w = CreateMainWindow();
    RECT r = Rect(w);
    EXPECT_EQ(-50, r.left);
    EXPECT_EQ(20, r.top);
    DestroyMainWindow(w);
}

TEST_F(PlacementTest, MaximiseAndMinimiseWriteNothing)
{
    Store("100 50 700 560");
    HWND w = CreateMainWindow();
    ShowWindow(w, SW_MAXIMIZE);
    PumpMessages(w, 50);
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_EQ("100 50 700 560", Stored());
    ShowWindow(w, SW_RESTORE);
    PumpMessages(w, 50);
    ShowWindow(w, SW_MINIMIZE);
    PumpMessages(w, 50);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_EQ("100 50 700 560", Stored());
    ShowWindow(w, SW_RESTORE);
    PumpMessages(w, 50);
    RECT r = Rect(w);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(700, r.right - r.left);
    EXPECT_EQ("100 50 700 560", Stored());
    DestroyMainWindow(w);
}

TEST_F(PlacementTest, MovingTheNormalWindowRecordsTheNewPlacement)
{
    Store("100 50 700 560");
    HWND w = CreateMainWindow();
    SetWindowPos(w, 0, 120, 60, 720, 580, SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages(w, 20);
    EXPECT_EQ("120 60 720 580", Stored());
    DestroyMainWindow(w);
}

// A damaged value still gives a usable window: sizes below the minimum or absurdly large fall
// back to the template size, and a window that could not be reached is centred.
TEST_F(PlacementTest, DamagedValuesGiveUsableWindow)
{
    SIZE size = TemplateSize();
    char wider[64];
    wsprintfA(wider, "100 50 %d 560", GetSystemMetrics(SM_CXMAXTRACK) + 1);  // wider than it can be dragged
    const char *damaged[] = {"100 50 -5 99999999", "100 50 10 10", "100 50 2147483647 -2147483648",
                             "100 50 0 0", wider};
    for (const char *value : damaged) {
        Store(value);
        HWND w = CreateMainWindow();
        RECT r = Rect(w);
        EXPECT_EQ(100, r.left) << value;
        EXPECT_EQ(50, r.top) << value;
        EXPECT_EQ(size.cx, r.right - r.left) << value;
        if (value != wider) {
            EXPECT_EQ(size.cy, r.bottom - r.top) << value;
        }
        DestroyMainWindow(w);
    }
    const char *lost[] = {"garbage", "2147483647 2147483647 700 560", "-2000000000 50 700 560",
                          "50 -2000000000 700 560"};
    for (const char *value : lost) {
        Store(value);
        HWND w = CreateMainWindow();
        RECT r = Rect(w);
        int width = r.right - r.left, height = r.bottom - r.top;
        EXPECT_EQ((ScreenWidth() - width) >> 1, r.left) << value;
        EXPECT_EQ((ScreenHeight() - height) >> 1, r.top) << value;
        EXPECT_GE(width, DialogUnitsToPixelsX(240)) << value;
        EXPECT_LE(width, ScreenWidth()) << value;
        DestroyMainWindow(w);
    }
}

TEST_F(PlacementTest, ReadAndWriteHelpers)
{
    char out[8];
    EXPECT_EQ(0, ReadSetting("DlgPos", "Missing", out, sizeof out));
    EXPECT_STREQ("", out);
    WriteSettingNumbers("DlgPos", "Numbers", -1, 0, 2147483647, -2147483647 - 1);
    char value[80];
    ReadSetting("DlgPos", "Numbers", value, sizeof value);
    EXPECT_STREQ("-1 0 2147483647 -2147483648", value);
    // A value longer than the buffer is cut, never written past its end.
    char small[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    ReadSetting("DlgPos", "Numbers", small, 5);
    EXPECT_STREQ("-1 0", small);
    EXPECT_EQ('x', small[5]);
}

// A dialog without a WindowName neither reads nor writes placement.
TEST_F(PlacementTest, DialogWithoutWindowNameIsLeftAlone)
{
    HWND plain = CreateWindowExA(0, "#32770", "plain", WS_POPUP | WS_CAPTION, 5, 6, 300, 200, 0, 0, g_instance, 0);
    ASSERT_TRUE(plain != 0);
    TrackWindowPlacement(plain, WM_INITDIALOG, 0);
    TrackWindowPlacement(plain, WM_MOVE, 0);
    RECT r = Rect(plain);
    EXPECT_EQ(5, r.left);
    EXPECT_EQ(6, r.top);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(SettingsPath949().c_str()));
    DestroyWindow(plain);
}

}  // namespace
