// main_layout.cpp: the main window's anchored layout: which controls move and which stretch on a resize.
#include "ui/main_layout.h"
#include "res/resource.h"
#include "winkit/dialog_items.h"
#include "winkit/resize_layout.h"
#include "winkit/settings_file.h"

// The building blocks name the template's generic controls by these ids.
static_assert(IDC_SIZE_GRIP == SIZE_GRIP_ID, "size grip id");
static_assert(IDC_WINDOW_NAME == WINDOW_NAME_ID, "window name control id");

void OnMainWindowSize(HWND window, WPARAM wParam, LPARAM lParam)
{
    int dx = 0, dy = 0;
    if (!TakeSizeDelta(window, wParam, lParam, &dx, &dy)) return;
    RECT url, list;
    url.left = url.top = url.right = url.bottom = 0;
    list = url;
    GetControlRect(window, IDC_PLS_URL1, &url);
    GetControlRect(window, IDC_CHANNEL_LIST, &list);
    ApplyResizeDelta(window, url.left + 1, list.top + 1, dx, dy);
    InvalidateRect(window, 0, TRUE);
}
