// main_layout.cpp: the main window's anchored layout and its display scale: which controls move and
// which stretch on a resize, the fit to the monitor's DPI, and the rescale when the DPI changes.
#include "ui/main_layout.h"
#include "res/resource.h"
#include "ui/main_state.h"
#include "winkit/dialog_items.h"
#include "winkit/dpi_scale.h"
#include "winkit/image_button.h"
#include "winkit/resize_layout.h"
#include "winkit/settings_file.h"

// The building blocks name the template's generic controls by these ids.
static_assert(IDC_SIZE_GRIP == SIZE_GRIP_ID, "size grip id");
static_assert(IDC_WINDOW_NAME == WINDOW_NAME_ID, "window name control id");

static int g_fitting;          // 1 while FitMainWindowToDpi resizes the window
static HFONT g_scaledFont;     // the controls' font made for a new DPI, or null

// Controls right of the Pls address edits move across; those below the channel list's top move
// down; controls that span either line stretch.
static void AnchorMainWindow(HWND window, int dx, int dy)
{
    RECT url, list;
    url.left = url.top = url.right = url.bottom = 0;
    list = url;
    GetControlRect(window, IDC_PLS_URL1, &url);
    GetControlRect(window, IDC_CHANNEL_LIST, &list);
    ApplyResizeDelta(window, url.left + 1, list.top + 1, dx, dy);
}

void OnMainWindowSize(HWND window, WPARAM wParam, LPARAM lParam)
{
    int dx = 0, dy = 0;
    if (!TakeSizeDelta(window, wParam, lParam, &dx, &dy)) return;
    AnchorMainWindow(window, dx, dy);
    InvalidateRect(window, 0, TRUE);
}

// Resizes the window to a client area of width x height; returns how far the system's limits
// (the minimum track size) left the client from it.
static void ResizeClient(HWND window, int width, int height, int *dx, int *dy)
{
    RECT frame;
    SetRect(&frame, 0, 0, width, height);
    AdjustWindowRectEx(&frame, (DWORD)GetWindowLongPtrW(window, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongPtrW(window, GWL_EXSTYLE));
    SetWindowPos(window, 0, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(window, &client);
    *dx = client.right - width;
    *dy = client.bottom - height;
}

void FitMainWindowToDpi(HWND window)
{
    TakeOverDialogDpiScaling(window);
    int dpi = WindowDpi(window);
    SetWindowDpi(window, dpi);
    if (dpi == 96) return;
    // The font's base units now, and the ones it has at 96 DPI.
    RECT units;
    SetRect(&units, 0, 0, 4, 8);
    MapDialogRect(window, &units);
    int cx = 0, cy = 0;
    BaseUnitsAt96((HFONT)SendMessageW(window, WM_GETFONT, 0, 0), dpi, &cx, &cy);
    int numX = cx * dpi, denX = units.right * 96, numY = cy * dpi, denY = units.bottom * 96;
    if (denX <= 0 || denY <= 0 || (numX == denX && numY == denY)) return;
    ScaleChildWindows(window, numX, denX, numY, denY);
    RECT client;
    GetClientRect(window, &client);
    int dx = 0, dy = 0;
    g_fitting = 1;
    ResizeClient(window, MulDiv(client.right, numX, denX), MulDiv(client.bottom, numY, denY), &dx, &dy);
    g_fitting = 0;
    if (dx || dy) AnchorMainWindow(window, dx, dy);
}

int IsFittingMainWindow(void) { return g_fitting; }

void LoadMainButtonImages(HWND window, int replace)
{
    int dpi = WindowDpi(window);
    HBITMAP send = LoadButtonBitmapForDpi(IDB_SEND, dpi, BUTTON_FACE_INDEX, GetSysColor(COLOR_BTNFACE));
    HBITMAP close = LoadButtonBitmapForDpi(IDB_CLOSE, dpi, BUTTON_FACE_INDEX, GetSysColor(COLOR_BTNFACE));
    if (replace && g_main.sendImage) DeleteObject(g_main.sendImage);
    if (replace && g_main.closeImage) DeleteObject(g_main.closeImage);
    g_main.sendImage = send;
    g_main.closeImage = close;
}

// The controls' font remade for the new DPI. The dialog keeps its own font, which it releases itself.
static void ScaleDialogFont(HWND window, int newDpi, int oldDpi)
{
    // In UTF-16: the face name (굴림) survives whatever the system's code page.
    LOGFONTW shape;
    HFONT current = g_scaledFont ? g_scaledFont : (HFONT)SendMessageW(window, WM_GETFONT, 0, 0);
    if (!current || !GetObjectW(current, sizeof shape, &shape)) return;
    shape.lfHeight = MulDiv(shape.lfHeight, newDpi, oldDpi);
    shape.lfWidth = MulDiv(shape.lfWidth, newDpi, oldDpi);
    HFONT font = CreateFontIndirectW(&shape);
    if (!font) return;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, (WPARAM)font, FALSE);
    if (g_scaledFont) DeleteObject(g_scaledFont);
    g_scaledFont = font;
}

void OnMainDpiChanged(HWND window, WPARAM wParam, LPARAM lParam)
{
    const RECT *suggested = (const RECT *)lParam;
    int newDpi = LOWORD(wParam), oldDpi = WindowDpi(window);
    if (!suggested || newDpi <= 0) return;
    if (newDpi != oldDpi) {
        SetWindowDpi(window, newDpi);
        ScaleChildWindows(window, newDpi, oldDpi, newDpi, oldDpi);
        ScaleLaidOutSize(window, newDpi, oldDpi, newDpi, oldDpi);
        ScaleDialogFont(window, newDpi, oldDpi);
        ScaleListColumns(window, IDC_DEVICE_LIST, newDpi, oldDpi);
        ScaleListColumns(window, IDC_CHANNEL_LIST, newDpi, oldDpi);
        LoadMainButtonImages(window, 1);
    }
    SetWindowPos(window, 0, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, 0, TRUE);
}

void OnMainWindowDestroy(HWND window)
{
    ForgetWindowDpi(window);
    if (g_scaledFont) DeleteObject(g_scaledFont);
    g_scaledFont = 0;
}
