// channel_list_bench: figures for filling the ChannelList from a device text and for moving rows.
// Run: scripts/wine-run.sh <build>/channel_list_bench.exe
#include "common/platform.h"
#include <commctrl.h>
#include <stdio.h>
#include <string>
#include "app/startup.h"
#include "common/text.h"
#include "device/link.h"
#include "device/message.h"
#include "res/resource.h"
#include "ui/channel_editor.h"
#include "winkit/dialog_items.h"
#include "ui/main_window.h"
#include "ui/settings_form.h"
#include "winkit/program_module.h"

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

// A device text with entries channels whose titles and URLs are valueBytes long.
static std::string DeviceText(int entries, int valueBytes)
{
    std::string text = "OpCode=IMIN\r\nDhcpMode=1\r\nNumberOfEntries=" + std::to_string(entries) + "\r\n";
    for (int n = 1; n <= entries; n++) {
        std::string tail = std::to_string(n);
        std::string value = std::string(valueBytes > (int)tail.size() ? valueBytes - tail.size() : 0, 'v') + tail;
        text += "File" + tail + "=" + value + "\r\nTitle" + tail + "=" + value + "\r\n";
    }
    return text;
}

int main()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    WSADATA data;
    WSAStartup(0x0101, &data);
    g_instance = GetModuleHandleA(0);
    InitApplication();
    RegisterMainWindowClass(g_instance);
    HWND window = CreateDialogParamA(g_instance, MAKEINTRESOURCEA(IDD_MAIN), 0, MainDialogProc, 0);
    if (!window) {
        printf("no window\n");
        return 1;
    }
    CloseDeviceLink();   // the figures need no device socket
    HWND list = GetDlgItem(window, IDC_CHANNEL_LIST);

    printf("%8s %8s %10s %12s %12s %14s %14s\n", "entries", "bytes", "text KB", "load ms", "lookups ms",
           "move 0->last", "move last->0");
    const int sizes[][2] = {{10, 20}, {100, 20}, {300, 31}, {1000, 20}, {235, 127}, {3000, 8}};
    for (const auto &size : sizes) {
        std::string text = DeviceText(size[0], size[1]);
        LARGE_INTEGER t0, t1, t2, t3;
        QueryPerformanceCounter(&t0);
        LoadSettingsText(window, text.c_str());
        QueryPerformanceCounter(&t1);
        int rows = GetListRowCount(window, IDC_CHANNEL_LIST);
        MoveListRow(list, 0, rows - 1, 3);
        QueryPerformanceCounter(&t2);
        MoveListRow(list, rows - 1, 0, 3);
        QueryPerformanceCounter(&t3);
        // The value lookups alone, as the load makes them.
        LARGE_INTEGER l0, l1;
        QueryPerformanceCounter(&l0);
        char key[32], value[DEVICE_VALUE_SIZE];
        for (int n = 1; n <= rows; n++) {
            MakeNumberedKey(key, sizeof key, "Title", n);
            GetKeyValue(key, value, sizeof value, text.c_str());
            MakeNumberedKey(key, sizeof key, "File", n);
            GetKeyValue(key, value, sizeof value, text.c_str());
        }
        QueryPerformanceCounter(&l1);
        printf("%8d %8d %10.1f %12.2f %12.2f %14.2f %14.2f%s\n", size[0], size[1], text.size() / 1024.0,
               Milliseconds(t0, t1), Milliseconds(l0, l1), Milliseconds(t1, t2), Milliseconds(t2, t3),
               rows == size[0] ? "" : "  (rows differ)");
    }
    DestroyWindow(window);
    ExitApplication();
    WSACleanup();
    return 0;
}
