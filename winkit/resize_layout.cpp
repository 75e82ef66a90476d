// resize_layout.cpp: size grip, remembered client size and the anchored move-and-stretch of controls.
#include "winkit/resize_layout.h"
#include "winkit/anchor_rule.h"
#include "winkit/dialog_items.h"
#include "winkit/dpi_scale.h"

ATOM g_atomCurrWndSize = 0;

// Size grip: WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN.
enum { SIZE_GRIP_STYLE = 0x54020014, SIZE_GRIP_DLU = 8 };

// Property that holds the last laid-out client size: by atom, or by its text before the atom exists.
static const char *SizePropertyName(void)
{
    return g_atomCurrWndSize ? MAKEINTATOM(g_atomCurrWndSize) : "CurrWndSize";
}

static void StoreClientSize(HWND window, int width, int height)
{
    UINT_PTR packed = (UINT_PTR)(DWORD)MAKELONG((WORD)width, (WORD)height);
    SetPropA(window, SizePropertyName(), (HANDLE)packed);
}

void PrepareResizing(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    StoreClientSize(window, r.right, r.bottom);
    int w = SystemUnitsToPixelsX(window, SIZE_GRIP_DLU), h = SystemUnitsToPixelsY(window, SIZE_GRIP_DLU);
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrW(window, GWLP_HINSTANCE);
    CreateWindowExW(0, L"scrollbar", L"", SIZE_GRIP_STYLE, r.right - w, r.bottom - h, w, h, window,
                    (HMENU)(INT_PTR)SIZE_GRIP_ID, instance, 0);
}

int TakeSizeDelta(HWND window, WPARAM sizeType, LPARAM packedSize, int *dx, int *dy)
{
    if (sizeType == SIZE_MINIMIZED) return 0;
    int newWidth = (short)LOWORD(packedSize), newHeight = (short)HIWORD(packedSize);
    HANDLE stored = GetPropA(window, SizePropertyName());
    if (!stored) {
        // Nothing laid out yet: record the size; there is nothing to move.
        StoreClientSize(window, newWidth, newHeight);
        return 0;
    }
    DWORD old = (DWORD)(UINT_PTR)stored;
    int oldWidth = LOWORD(old), oldHeight = HIWORD(old);
    if (newWidth == oldWidth && newHeight == oldHeight) return 0;
    *dx = newWidth - oldWidth;
    *dy = newHeight - oldHeight;
    StoreClientSize(window, newWidth, newHeight);
    return 1;
}

void OffsetChildWindow(HWND parent, HWND child, int dx, int dy, int dWidth, int dHeight)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, (POINT *)&r, 2);
    MoveWindow(child, r.left + dx, r.top + dy, r.right - r.left + dWidth, r.bottom - r.top + dHeight, FALSE);
}

// The child's new place in the parent's client coordinates; 0 when it stays.
static int ShiftedChildRect(HWND window, HWND child, int anchorX, int anchorY, int dx, int dy, RECT *out)
{
    RECT r;
    GetWindowRect(child, &r);
    ChildShift shift;
    ComputeChildShift(r.left, r.top, r.right, r.bottom, anchorX, anchorY, dx, dy, &shift);
    if (!shift.dx && !shift.dWidth && !shift.dy && !shift.dHeight) return 0;
    MapWindowPoints(HWND_DESKTOP, window, (POINT *)&r, 2);
    SetRect(out, r.left + shift.dx, r.top + shift.dy, r.right + shift.dx + shift.dWidth, r.bottom + shift.dy + shift.dHeight);
    return 1;
}

void ApplyResizeDelta(HWND window, int anchorX, int anchorY, int dx, int dy)
{
    // Every child moved in one batch, as MoveWindow without repaint would move it: one layout
    // pass for the window instead of one per control (a start-up moves most of them).
    int count = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) count++;
    HDWP batch = BeginDeferWindowPos(count);
    RECT r;
    for (HWND child = GetWindow(window, GW_CHILD); child && batch; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!ShiftedChildRect(window, child, anchorX, anchorY, dx, dy, &r)) continue;
        batch = DeferWindowPos(batch, child, 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    if (batch && EndDeferWindowPos(batch)) return;
    // No batch (it failed and was dropped, nothing moved): one child at a time.
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ShiftedChildRect(window, child, anchorX, anchorY, dx, dy, &r))
            MoveWindow(child, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
}

void SetMinTrackSize(HWND window, MINMAXINFO *info, int widthDlu, int heightDlu)
{
    info->ptMinTrackSize.x = SystemUnitsToPixelsX(window, widthDlu);
    info->ptMinTrackSize.y = SystemUnitsToPixelsY(window, heightDlu);
}

void ScaleLaidOutSize(HWND window, int numX, int denX, int numY, int denY)
{
    HANDLE stored = GetPropA(window, SizePropertyName());
    if (!stored || denX <= 0 || denY <= 0) return;
    DWORD size = (DWORD)(UINT_PTR)stored;
    StoreClientSize(window, MulDiv(LOWORD(size), numX, denX), MulDiv(HIWORD(size), numY, denY));
}
