// dpi_scale.cpp: the DPI of a window, lengths from 96 DPI scaled to it, and children and columns rescaled.
#include "winkit/dpi_scale.h"
#include <commctrl.h>

static const char kDpiProperty[] = "WindowDpi";

typedef UINT(WINAPI *GetDpiForWindowFunction)(HWND);
typedef BOOL(WINAPI *SetDialogDpiChangeBehaviorFunction)(HWND, int, int);
enum { DDC_DISABLE_ALL_BEHAVIOURS = 1 };

// A function of user32 that older Windows lacks; null there.
static void *User32Function(const char *name)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? (void *)GetProcAddress(user32, name) : 0;
}

int SystemDpi(void)
{
    static int dpi;
    if (!dpi) {
        HDC screen = GetDC(0);
        dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ReleaseDC(0, screen);
        if (dpi <= 0) dpi = 96;
    }
    return dpi;
}

int WindowDpi(HWND window)
{
    int stored = (int)(INT_PTR)GetPropA(window, kDpiProperty);
    if (stored > 0) return stored;
    static GetDpiForWindowFunction getDpi;
    static int looked;
    if (!looked) {
        getDpi = (GetDpiForWindowFunction)User32Function("GetDpiForWindow");
        looked = 1;
    }
    int dpi = getDpi && window ? (int)getDpi(window) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

void SetWindowDpi(HWND window, int dpi) { SetPropA(window, kDpiProperty, (HANDLE)(INT_PTR)dpi); }

void ForgetWindowDpi(HWND window) { RemovePropA(window, kDpiProperty); }

int ScaleByDpi(int value, int dpi) { return MulDiv(value, dpi, 96); }

// As the dialog manager measures a font: the mean width of the 52 letters, rounded, and the height.
void BaseUnitsAt96(HFONT font, int fontDpi, int *cx, int *cy)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    *cx = 4;
    *cy = 8;
    LOGFONTW shape;   // in UTF-16: a face name in any script survives
    if (!font || fontDpi <= 0 || !GetObjectW(font, sizeof shape, &shape)) return;
    // The height alone is scaled: a width field, as the stock system font has, is the same at every DPI.
    shape.lfHeight = MulDiv(shape.lfHeight, 96, fontDpi);
    HFONT at96 = CreateFontIndirectW(&shape);
    HDC screen = GetDC(0);
    if (at96 && screen) {
        HGDIOBJ old = SelectObject(screen, at96);
        TEXTMETRICA metrics;
        SIZE extent;
        if (GetTextMetricsA(screen, &metrics) && GetTextExtentPoint32A(screen, kLetters, 52, &extent)) {
            *cx = (extent.cx / 26 + 1) / 2;
            *cy = metrics.tmHeight;
        }
        SelectObject(screen, old);
    }
    if (screen) ReleaseDC(0, screen);
    if (at96) DeleteObject(at96);
}

// The system font's base units at 96 DPI: as they are when the system runs at 96, else measured.
static void SystemBaseUnitsAt96(int *cx, int *cy)
{
    static int x, y;
    if (!x) {
        if (SystemDpi() == 96) {
            DWORD units = GetDialogBaseUnits();
            x = LOWORD(units);
            y = HIWORD(units);
        } else {
            BaseUnitsAt96((HFONT)GetStockObject(SYSTEM_FONT), SystemDpi(), &x, &y);
        }
    }
    *cx = x;
    *cy = y;
}

int SystemUnitsToPixelsX(HWND window, int units)
{
    int cx, cy;
    SystemBaseUnitsAt96(&cx, &cy);
    return ScaleByDpi(MulDiv(units, cx, 4), WindowDpi(window));
}

int SystemUnitsToPixelsY(HWND window, int units)
{
    int cx, cy;
    SystemBaseUnitsAt96(&cx, &cy);
    return ScaleByDpi(MulDiv(units, cy, 8), WindowDpi(window));
}

void ScaleChildWindows(HWND window, int numX, int denX, int numY, int denY)
{
    if (denX <= 0 || denY <= 0) return;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, window, (POINT *)&r, 2);
        int left = MulDiv(r.left, numX, denX), top = MulDiv(r.top, numY, denY);
        MoveWindow(child, left, top, MulDiv(r.right, numX, denX) - left, MulDiv(r.bottom, numY, denY) - top, FALSE);
    }
}

void ScaleListColumns(HWND window, int id, int num, int den)
{
    HWND list = GetDlgItem(window, id);
    HWND header = list ? (HWND)SendMessageW(list, LVM_GETHEADER, 0, 0) : 0;
    int count = header ? (int)SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) : 0;
    for (int column = 0; column < count && den > 0; ++column) {
        int width = (int)SendMessageW(list, LVM_GETCOLUMNWIDTH, (WPARAM)column, 0);
        SendMessageW(list, LVM_SETCOLUMNWIDTH, (WPARAM)column, MAKELPARAM(MulDiv(width, num, den), 0));
    }
}

void TakeOverDialogDpiScaling(HWND window)
{
    SetDialogDpiChangeBehaviorFunction set =
        (SetDialogDpiChangeBehaviorFunction)User32Function("SetDialogDpiChangeBehavior");
    if (set) set(window, DDC_DISABLE_ALL_BEHAVIOURS, DDC_DISABLE_ALL_BEHAVIOURS);
}
