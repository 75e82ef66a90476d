// dpi_test.cpp: the window at another display scale. Themed and per-monitor aware by its manifest;
// a synthetic WM_DPICHANGED for 144; and, run by tests/win/dpi144.sh, the window at system DPI 144
// against the figures the same program records at 96 (DpiFigures in the 96-DPI prefix first).
#include <gtest/gtest.h>
#include "common/platform.h"
#include <commctrl.h>
#include <stdio.h>
#include <string.h>
#include "res/resource.h"
#include "tests/win/test_support.h"
#include "ui/main_state.h"
#include "winkit/dialog_items.h"
#include "winkit/dpi_scale.h"

namespace {

// What the new DPI code scales: client area, minimum track size, button strips, the strip as drawn
// (the extent of the radio's red body in the send button), and the five list columns.
struct Figures {
    int clientWidth, clientHeight, minWidth, minHeight;
    int sendWidth, sendHeight, closeWidth, closeHeight, redWidth, redHeight;
    int columns[5];
};
const char kFormat[] = "%d %d %d %d %d %d %d %d %d %d %d %d %d %d %d";

void StripSize(HBITMAP strip, int *width, int *height)
{
    BITMAP info;
    *width = *height = 0;
    if (strip && GetObjectA(strip, sizeof info, &info)) {
        *width = info.bmWidth;
        *height = info.bmHeight;
    }
}

// The send button painted by the window into a 32-bit bitmap; the bounding box of the radio's red.
void DrawnRedExtent(HWND window, int *width, int *height)
{
    HWND button = GetDlgItem(window, IDC_SEND);
    RECT r;
    GetClientRect(button, &r);
    BITMAPINFO bmi;
    memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = r.right;
    bmi.bmiHeader.biHeight = -r.bottom;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void *bits = 0;
    HDC dc = CreateCompatibleDC(0);
    HBITMAP canvas = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &bits, 0, 0);
    HGDIOBJ old = SelectObject(dc, canvas);
    DRAWITEMSTRUCT item;
    memset(&item, 0, sizeof item);
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDC_SEND;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = button;
    item.hDC = dc;
    item.rcItem = r;
    SendMessageA(window, WM_DRAWITEM, IDC_SEND, (LPARAM)&item);
    GdiFlush();
    int left = r.right, right = -1, top = r.bottom, bottom = -1;
    const DWORD *pixel = (const DWORD *)bits;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x)
            if ((pixel[y * r.right + x] & 0xFFFFFF) == 0xE61E1E) {  // the body's red, RGB(230, 30, 30)
                if (x < left) left = x;
                if (x > right) right = x;
                if (y < top) top = y;
                if (y > bottom) bottom = y;
            }
    *width = right >= left ? right - left + 1 : 0;
    *height = bottom >= top ? bottom - top + 1 : 0;
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
}

Figures Measure(HWND window)
{
    Figures f;
    memset(&f, 0, sizeof f);
    RECT client;
    GetClientRect(window, &client);
    f.clientWidth = client.right;
    f.clientHeight = client.bottom;
    MINMAXINFO limits;
    memset(&limits, 0, sizeof limits);
    SendMessageA(window, WM_GETMINMAXINFO, 0, (LPARAM)&limits);
    f.minWidth = limits.ptMinTrackSize.x;
    f.minHeight = limits.ptMinTrackSize.y;
    StripSize(g_main.sendImage, &f.sendWidth, &f.sendHeight);
    StripSize(g_main.closeImage, &f.closeWidth, &f.closeHeight);
    DrawnRedExtent(window, &f.redWidth, &f.redHeight);
    for (int i = 0; i < 2; ++i) f.columns[i] = GetListColumnWidth(window, IDC_DEVICE_LIST, i);
    for (int i = 0; i < 3; ++i) f.columns[2 + i] = GetListColumnWidth(window, IDC_CHANNEL_LIST, i);
    return f;
}

// Every figure 1.5 times its 96-DPI value: within 1 %, the strips exactly, the drawn red within a pixel.
void ExpectOneAndAHalfTimes(const Figures &at96, const Figures &now)
{
    EXPECT_NEAR(now.clientWidth, 1.5 * at96.clientWidth, 0.015 * at96.clientWidth) << "client width";
    EXPECT_NEAR(now.clientHeight, 1.5 * at96.clientHeight, 0.015 * at96.clientHeight) << "client height";
    EXPECT_NEAR(now.minWidth, 1.5 * at96.minWidth, 0.015 * at96.minWidth) << "minimum width";
    EXPECT_NEAR(now.minHeight, 1.5 * at96.minHeight, 0.015 * at96.minHeight) << "minimum height";
    EXPECT_EQ(3 * at96.sendWidth, 2 * now.sendWidth) << "send strip";
    EXPECT_EQ(3 * at96.sendHeight, 2 * now.sendHeight) << "send strip";
    EXPECT_EQ(3 * at96.closeWidth, 2 * now.closeWidth) << "close strip";
    EXPECT_EQ(3 * at96.closeHeight, 2 * now.closeHeight) << "close strip";
    ASSERT_GT(at96.redWidth, 10);
    EXPECT_NEAR(now.redWidth, 1.5 * at96.redWidth, 1.0) << "radio as drawn";
    EXPECT_NEAR(now.redHeight, 1.5 * at96.redHeight, 1.0) << "radio as drawn";
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(now.columns[i], 1.5 * at96.columns[i], 0.015 * at96.columns[i]) << "column " << i;
}

class DpiWindow : public testing::Test {
protected:
    WCHAR saved_[MAX_PATH];
    HWND window_ = 0;
    void SetUp() override
    {
        UsePrivateSettingsFile("dpi_test.ini", saved_);
        window_ = CreateMainWindow();
        ASSERT_TRUE(window_ != 0);
    }
    void TearDown() override
    {
        DestroyMainWindow(window_);
        RestoreSettingsFile(saved_);
    }
};

typedef DPI_AWARENESS_CONTEXT(WINAPI *GetContextFunction)(void);
typedef DPI_AWARENESS(WINAPI *GetAwarenessFunction)(DPI_AWARENESS_CONTEXT);

// The awareness the process runs with, and what the manifest asks for (both read back).
void ExpectPerMonitorAware()
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    GetContextFunction context = (GetContextFunction)(void *)GetProcAddress(user32, "GetThreadDpiAwarenessContext");
    GetAwarenessFunction awareness = (GetAwarenessFunction)(void *)GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext");
    ASSERT_TRUE(context && awareness);
    EXPECT_EQ(DPI_AWARENESS_PER_MONITOR_AWARE, awareness(context()));
    WCHAR value[64];
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxSettingsW(0, 0, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                                     value, 64, &written));
    EXPECT_EQ(0, lstrcmpW(value, L"PerMonitorV2"));
    ASSERT_TRUE(QueryActCtxSettingsW(0, 0, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware",
                                     value, 64, &written));
    EXPECT_EQ(0, lstrcmpW(value, L"true/pm"));
}

}  // namespace

// Common controls 6 (visual styles) and per-monitor awareness come from the manifest: the process's
// activation context sends comctl32.dll to the side-by-side version 6.
TEST(DpiManifest, ThemedControlsAndPerMonitorAwareness)
{
    ACTCTX_SECTION_KEYED_DATA data;
    memset(&data, 0, sizeof data);
    data.cbSize = sizeof data;
    EXPECT_TRUE(FindActCtxSectionStringW(0, 0, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &data));
    ExpectPerMonitorAware();
}

// The window moved to a 150 % monitor: Windows sends the new DPI and a rectangle whose client area
// is 1.5 times the old one.
TEST_F(DpiWindow, SyntheticChangeTo144ScalesClientColumnsAndStrips)
{
    ASSERT_EQ(96, WindowDpi(window_));
    Figures before = Measure(window_);
    RECT client, suggested;
    GetClientRect(window_, &client);
    SetRect(&suggested, 0, 0, client.right * 3 / 2, client.bottom * 3 / 2);
    AdjustWindowRectEx(&suggested, (DWORD)GetWindowLongPtrA(window_, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongPtrA(window_, GWL_EXSTYLE));
    RECT at;
    GetWindowRect(window_, &at);
    OffsetRect(&suggested, at.left - suggested.left, at.top - suggested.top);
    SendMessageA(window_, WM_DPICHANGED, MAKEWPARAM(144, 144), (LPARAM)&suggested);
    EXPECT_EQ(144, WindowDpi(window_));
    ExpectOneAndAHalfTimes(before, Measure(window_));
}

// Run by dpi144.sh at 96 DPI: records the figures the 144 run compares with.
TEST_F(DpiWindow, RecordFiguresAt96)
{
    char path[MAX_PATH];
    ASSERT_NE(0u, GetEnvironmentVariableA("SR_DPI_FIGURES", path, sizeof path)) << "SR_DPI_FIGURES names the figures file";
    ASSERT_EQ(96, SystemDpi());
    Figures f = Measure(window_);
    FILE *out = fopen(path, "w");
    ASSERT_TRUE(out != 0) << path;
    fprintf(out, kFormat, f.clientWidth, f.clientHeight, f.minWidth, f.minHeight, f.sendWidth, f.sendHeight,
            f.closeWidth, f.closeHeight, f.redWidth, f.redHeight, f.columns[0], f.columns[1], f.columns[2],
            f.columns[3], f.columns[4]);
    ASSERT_EQ(0, fclose(out));
}

// Run by dpi144.sh at system DPI 144 against the figures recorded at 96.
TEST_F(DpiWindow, At144TheWindowIsOneAndAHalfTimesItsSizeAt96)
{
    char path[MAX_PATH];
    ASSERT_NE(0u, GetEnvironmentVariableA("SR_DPI_FIGURES", path, sizeof path)) << "SR_DPI_FIGURES names the figures file";
    ASSERT_EQ(144, SystemDpi());
    ExpectPerMonitorAware();
    Figures at96;
    FILE *in = fopen(path, "r");
    ASSERT_TRUE(in != 0) << path;
    int read = fscanf(in, kFormat, &at96.clientWidth, &at96.clientHeight, &at96.minWidth, &at96.minHeight,
                      &at96.sendWidth, &at96.sendHeight, &at96.closeWidth, &at96.closeHeight, &at96.redWidth,
                      &at96.redHeight, &at96.columns[0], &at96.columns[1], &at96.columns[2], &at96.columns[3],
                      &at96.columns[4]);
    fclose(in);
    ASSERT_EQ(15, read);
    ExpectOneAndAHalfTimes(at96, Measure(window_));
}
