// ui_test_helpers.h: shared pieces of the window tests: a fixture with a fresh main window, device rows
// put straight into the DeviceList (no network), clicks and notifications as the list views send them.
#ifndef SETRADIO_TESTS_WIN_UI_TEST_HELPERS_H
#define SETRADIO_TESTS_WIN_UI_TEST_HELPERS_H

#include <gtest/gtest.h>
#include "common/platform.h"
#include <commctrl.h>
#include <string.h>
#include <string>
#include "winkit/settings_file.h"
#include "app/startup.h"
#include "common/text.h"
#include "device/link.h"
#include "res/resource.h"
#include "tests/win/test_support.h"
#include "ui/device_search.h"
#include "winkit/dialog_items.h"
#include "ui/main_window.h"
#include "ui/main_state.h"

namespace uitest {

inline std::string Cell(HWND window, int id, int row, int column)
{
    char buffer[512];
    GetListCellText(window, id, row, column, buffer, sizeof buffer);
    return buffer;
}

inline std::string Text(HWND window, int id)
{
    char buffer[512];
    GetText949(window, id, buffer, sizeof buffer);
    return buffer;
}

// The same two read as UTF-16, whatever the code page (id 0: the window's own text).
inline std::wstring WideText(HWND window, int id)
{
    WCHAR text[512];
    text[0] = 0;
    GetWindowTextW(id ? GetDlgItem(window, id) : window, text, 512);
    return text;
}

inline std::wstring WideCell(HWND window, int id, int row, int column)
{
    WCHAR text[512];
    text[0] = 0;
    LVITEMW item;
    memset(&item, 0, sizeof item);
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendDlgItemMessageW(window, id, LVM_GETITEMTEXTW, row, (LPARAM)&item);
    return text;
}

inline bool Enabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != 0; }
inline bool Shown(HWND window, int id) { return (GetWindowLongA(GetDlgItem(window, id), GWL_STYLE) & WS_VISIBLE) != 0; }

// A DeviceList row that owns a heap copy of text, as a device reply leaves it.
inline void AddDeviceRow(HWND window, const char *text, const char *mac)
{
    int length = (int)strlen(text);
    char *copy = (char *)PlatAlloc(length + 1);
    memcpy(copy, text, length + 1);
    int row = GetListRowCount(window, IDC_DEVICE_LIST);
    InsertListRow(window, IDC_DEVICE_LIST, row, mac, (LPARAM)copy);
}

// NM_CLICK from a list view, as a mouse click on it sends.
inline void SendClick(HWND window, int id)
{
    NMITEMACTIVATE click;
    memset(&click, 0, sizeof click);
    click.hdr.hwndFrom = GetDlgItem(window, id);
    click.hdr.idFrom = id;
    click.hdr.code = NM_CLICK;
    click.iItem = -1;
    SendMessageA(window, WM_NOTIFY, id, (LPARAM)&click);
}

inline void ClearListSelection(HWND window, int id)
{
    SetListRowState(window, id, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

// Selects a device row and clicks it: the form and the ChannelList load from its text.
inline void ClickDeviceRow(HWND window, int row)
{
    ClearListSelection(window, IDC_DEVICE_LIST);
    SetListRowState(window, IDC_DEVICE_LIST, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendClick(window, IDC_DEVICE_LIST);
}

inline void Command(HWND window, int id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// Whole text of a file, or "(none)" when it does not exist.
inline std::string FileBytes(const char *path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE) return "(none)";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, 0) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

// A fresh main window per test, with no stored placement or column widths, its message boxes answered
// by the box watch. The device socket is closed at the end; nothing here searches or sends.
class WindowTest : public testing::Test {
protected:
    HWND window = 0;

    void SetUp() override
    {
        CloseDeviceLink();
        WritePrivateProfileStringA(SETTINGS_SECTION, 0, 0, SettingsPath949().c_str());
        StartBoxWatch();
        window = CreateMainWindow();
        ASSERT_TRUE(window != 0);
    }
    void TearDown() override
    {
        g_main.changedFlag = 0;
        if (IsWindow(window)) ReleaseDeviceRows(window);
        CloseDeviceLink();
        DestroyMainWindow(window);
        StopBoxWatch();
    }
    HWND Item(int id) const { return GetDlgItem(window, id); }
};

}  // namespace uitest

#endif
