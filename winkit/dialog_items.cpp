// dialog_items.cpp: small operations on dialog items and list views: texts, rows, cells, columns, radio buttons.
#include "winkit/dialog_items.h"
#include <commctrl.h>
#include "common/text.h"
#include "winkit/code_page.h"
#include "winkit/dpi_scale.h"

enum { LOCAL_TEXT_UNITS = 256 };   // texts up to this many UTF-16 units are converted on the stack

// The list view addressed by (window, id): id 0 means the window is the list itself.
static HWND ListWindow(HWND window, int id)
{
    return id ? GetDlgItem(window, id) : window;
}

// The control's whole text in UTF-16, in a heap block (PlatFree it); null when memory runs out.
static WCHAR *ReadControlWide(HWND window, int id, int *length)
{
    HWND control = GetDlgItem(window, id);
    int n = control ? GetWindowTextLengthW(control) : 0;
    if (n < 0) n = 0;
    WCHAR *text = (WCHAR *)PlatAlloc((n + 1) * (int)sizeof(WCHAR));
    if (!text) return 0;
    text[0] = 0;
    if (n > 0) n = GetWindowTextW(control, text, n + 1);
    if (n < 0) n = 0;
    text[n] = 0;
    if (length) *length = n;
    return text;
}

int GetControlText(HWND window, int id, char *buffer, int size)
{
    if (!buffer || size <= 0) return 0;
    buffer[0] = 0;
    WCHAR *text = ReadControlWide(window, id, 0);
    if (!text) return 0;
    WideTo949(text, buffer, size);
    PlatFree(text);
    TrimText(buffer);
    return TextLength(buffer);
}

int ControlTextFits949(HWND window, int id)
{
    WCHAR *text = ReadControlWide(window, id, 0);
    int fits = text ? WideFits949(text) : 1;
    PlatFree(text);
    return fits;
}

void SetControlText(HWND window, int id, const char *text)
{
    WCHAR *wide = NewWideFrom949(text);
    if (wide) SetDlgItemTextW(window, id, wide);
    PlatFree(wide);
}

void LimitControlText(HWND window, int id, int maxBytes)
{
    int length = 0;
    WCHAR *text = ReadControlWide(window, id, &length);
    if (!text) return;
    int keep = WidePrefixFor949Bytes(text, length, maxBytes);
    if (keep < length) {
        HWND edit = GetDlgItem(window, id);
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        text[keep] = 0;
        SetWindowTextW(edit, text);
        // The caret stays where it was, or at the new end when that is gone.
        if ((int)start > keep) start = (DWORD)keep;
        if ((int)end > keep) end = (DWORD)keep;
        SendMessageW(edit, EM_SETSEL, start, end);
    }
    PlatFree(text);
}

// Both change a control only when it is not already so: the form sets twenty of them at a time,
// most of them unchanged, and each change costs a round of window messages.
void EnableControl(HWND window, int id, int enable)
{
    HWND control = GetDlgItem(window, id);
    if (!IsWindowEnabled(control) == !enable) return;
    EnableWindow(control, enable ? TRUE : FALSE);
}

void ShowControl(HWND window, int id, int show)
{
    HWND control = GetDlgItem(window, id);
    // The style, not IsWindowVisible: the window itself is still hidden while it starts.
    if (!(GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) == !show) return;
    ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

void GetControlRect(HWND window, int id, RECT *rect)
{
    GetWindowRect(GetDlgItem(window, id), rect);
}

void FocusControl(HWND window, int id)
{
    SetFocus(GetDlgItem(window, id));
}

int GetListRowCount(HWND window, int id)
{
    return (int)SendMessageW(ListWindow(window, id), LVM_GETITEMCOUNT, 0, 0);
}

int GetSelectedListRow(HWND window, int id, int start)
{
    return (int)SendMessageW(ListWindow(window, id), LVM_GETNEXTITEM, (WPARAM)start, MAKELPARAM(LVNI_SELECTED, 0));
}

void SelectListRow(HWND window, int id, int index)
{
    int count = GetListRowCount(window, id);
    if (count <= 0) return;
    if (index >= count) index = count - 1;
    if (index < 0) index = 0;
    SetListRowState(window, id, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureListRowVisible(window, id, index, 0);
}

void EnsureListRowVisible(HWND window, int id, int index, int partialOk)
{
    SendMessageW(ListWindow(window, id), LVM_ENSUREVISIBLE, (WPARAM)index, partialOk ? TRUE : FALSE);
}

void SetListRowState(HWND window, int id, int index, UINT state, UINT mask)
{
    LVITEMW item;
    ZeroBytes(&item, sizeof item);
    item.state = state;
    item.stateMask = mask;
    SendMessageW(ListWindow(window, id), LVM_SETITEMSTATE, (WPARAM)index, (LPARAM)&item);
}

LPARAM GetListRowData(HWND window, int id, int index, LPARAM fallback)
{
    LVITEMW item;
    ZeroBytes(&item, sizeof item);
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendDlgItemMessageW(window, id, LVM_GETITEMW, 0, (LPARAM)&item)) return fallback;
    return item.lParam;
}

void SetListRowData(HWND window, int id, int index, LPARAM data)
{
    LVITEMW item;
    ZeroBytes(&item, sizeof item);
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = data;
    SendDlgItemMessageW(window, id, LVM_SETITEMW, 0, (LPARAM)&item);
}

int InsertListRow(HWND window, int id, int index, const char *text, LPARAM data)
{
    LVITEMW item;
    ZeroBytes(&item, sizeof item);
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.lParam = data;
    WCHAR *wide = NewWideFrom949(text);
    if (!wide) return -1;
    item.pszText = wide;
    int row = (int)SendDlgItemMessageW(window, id, LVM_INSERTITEMW, 0, (LPARAM)&item);
    PlatFree(wide);
    return row;
}

void SetListCellText(HWND window, int id, int row, int column, const char *text)
{
    LVITEMW item;
    ZeroBytes(&item, sizeof item);
    item.iSubItem = column;
    WCHAR *wide = NewWideFrom949(text);
    if (!wide) return;
    item.pszText = wide;
    SendMessageW(ListWindow(window, id), LVM_SETITEMTEXTW, (WPARAM)row, (LPARAM)&item);
    PlatFree(wide);
}

void GetListCellText(HWND window, int id, int row, int column, char *buffer, int size)
{
    if (!buffer || size <= 0) return;
    buffer[0] = 0;
    // A cell of at most size - 1 bytes of 949 has at most as many UTF-16 units.
    WCHAR local[LOCAL_TEXT_UNITS];
    WCHAR *wide = size <= LOCAL_TEXT_UNITS ? local : (WCHAR *)PlatAlloc(size * (int)sizeof(WCHAR));
    if (!wide) return;
    wide[0] = 0;
    LVITEMW item;
    ZeroBytes(&item, sizeof item);
    item.iSubItem = column;
    item.pszText = wide;
    item.cchTextMax = size;
    SendMessageW(ListWindow(window, id), LVM_GETITEMTEXTW, (WPARAM)row, (LPARAM)&item);
    wide[size - 1] = 0;
    WideTo949(wide, buffer, size);
    if (wide != local) PlatFree(wide);
}

void DeleteListRow(HWND window, int id, int index)
{
    SendDlgItemMessageW(window, id, LVM_DELETEITEM, (WPARAM)index, 0);
}

void DeleteAllListRows(HWND window, int id)
{
    SendDlgItemMessageW(window, id, LVM_DELETEALLITEMS, 0, 0);
}

int GetListColumnWidth(HWND window, int id, int column)
{
    LVCOLUMNW info;
    ZeroBytes(&info, sizeof info);
    info.mask = LVCF_WIDTH;
    if (!SendMessageW(ListWindow(window, id), LVM_GETCOLUMNW, (WPARAM)column, (LPARAM)&info)) return -1;
    return info.cx;
}

void SetListColumnWidth(HWND window, int id, int column, int width)
{
    LVCOLUMNW info;
    ZeroBytes(&info, sizeof info);
    info.mask = LVCF_WIDTH;
    info.cx = width;
    SendDlgItemMessageW(window, id, LVM_SETCOLUMNW, (WPARAM)column, (LPARAM)&info);
}

int HitTestList(HWND window, int id, int x, int y, UINT *flags)
{
    LVHITTESTINFO info;
    ZeroBytes(&info, sizeof info);
    info.pt.x = x;
    info.pt.y = y;
    int row = (int)SendMessageW(ListWindow(window, id), LVM_HITTEST, 0, (LPARAM)&info);
    if (flags) *flags = info.flags;
    return row;
}

void InsertListColumn(HWND window, int id, int column, int width, const char *title, int format)
{
    LVCOLUMNW info;
    ZeroBytes(&info, sizeof info);
    info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    info.fmt = format;
    info.cx = width;
    WCHAR *wide = NewWideFrom949(title);
    if (!wide) return;
    info.pszText = wide;
    SendDlgItemMessageW(window, id, LVM_INSERTCOLUMNW, (WPARAM)column, (LPARAM)&info);
    PlatFree(wide);
}

int GetCheckedRadio(HWND window, int firstId, int count)
{
    int checked = -1;
    for (int i = 0; i < count; i++)
        if (IsDlgButtonChecked(window, firstId + i) == BST_CHECKED) checked = i;
    return checked;
}

void CheckRadio(HWND window, int firstId, int count, int position)
{
    if (count <= 0 || position >= count) return;
    // A negative position names no button of the range: every button ends up unchecked.
    CheckRadioButton(window, firstId, firstId + count - 1, firstId + position);
}

int DialogUnitsToPixelsX(int value)
{
    return MulDiv(value, LOWORD(GetDialogBaseUnits()), 4);
}

int DialogUnitsToPixelsY(int value)
{
    return MulDiv(value, HIWORD(GetDialogBaseUnits()), 8);
}

void SetupListColumns(HWND window, int id, const char *titles, const unsigned char *widths, int count)
{
    SendDlgItemMessageW(window, id, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    const char *title = titles;
    for (int i = 0; i < count; i++) {
        InsertListColumn(window, id, i, SystemUnitsToPixelsX(window, widths[i]), title, LVCFMT_LEFT);
        title = NextString(title);
    }
}
