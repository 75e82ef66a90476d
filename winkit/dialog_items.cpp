// dialog_items.cpp: small operations on dialog items and list views: texts, rows, cells, columns, radio buttons.
#include "winkit/dialog_items.h"
#include <commctrl.h>
#include "common/text.h"
#include "winkit/dpi_scale.h"

// The list view addressed by (window, id): id 0 means the window is the list itself.
static HWND ListWindow(HWND window, int id)
{
    return id ? GetDlgItem(window, id) : window;
}

int GetControlText(HWND window, int id, char *buffer, int size)
{
    if (!buffer || size <= 0) return 0;
    buffer[0] = 0;
    GetDlgItemTextA(window, id, buffer, size);
    buffer[size - 1] = 0;
    TrimText(buffer);
    return TextLength(buffer);
}

void EnableControl(HWND window, int id, int enable)
{
    EnableWindow(GetDlgItem(window, id), enable ? TRUE : FALSE);
}

void ShowControl(HWND window, int id, int show)
{
    ShowWindow(GetDlgItem(window, id), show ? SW_SHOW : SW_HIDE);
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
    return (int)SendMessageA(ListWindow(window, id), LVM_GETITEMCOUNT, 0, 0);
}

int GetSelectedListRow(HWND window, int id, int start)
{
    return (int)SendMessageA(ListWindow(window, id), LVM_GETNEXTITEM, (WPARAM)start, MAKELPARAM(LVNI_SELECTED, 0));
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
    SendMessageA(ListWindow(window, id), LVM_ENSUREVISIBLE, (WPARAM)index, partialOk ? TRUE : FALSE);
}

void SetListRowState(HWND window, int id, int index, UINT state, UINT mask)
{
    LVITEMA item;
    ZeroBytes(&item, sizeof item);
    item.state = state;
    item.stateMask = mask;
    SendMessageA(ListWindow(window, id), LVM_SETITEMSTATE, (WPARAM)index, (LPARAM)&item);
}

LPARAM GetListRowData(HWND window, int id, int index, LPARAM fallback)
{
    LVITEMA item;
    ZeroBytes(&item, sizeof item);
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendDlgItemMessageA(window, id, LVM_GETITEMA, 0, (LPARAM)&item)) return fallback;
    return item.lParam;
}

void SetListRowData(HWND window, int id, int index, LPARAM data)
{
    LVITEMA item;
    ZeroBytes(&item, sizeof item);
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = data;
    SendDlgItemMessageA(window, id, LVM_SETITEMA, 0, (LPARAM)&item);
}

int InsertListRow(HWND window, int id, int index, const char *text, LPARAM data)
{
    LVITEMA item;
    ZeroBytes(&item, sizeof item);
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = (char *)text;
    item.lParam = data;
    return (int)SendDlgItemMessageA(window, id, LVM_INSERTITEMA, 0, (LPARAM)&item);
}

void SetListCellText(HWND window, int id, int row, int column, const char *text)
{
    LVITEMA item;
    ZeroBytes(&item, sizeof item);
    item.iSubItem = column;
    item.pszText = (char *)text;
    SendMessageA(ListWindow(window, id), LVM_SETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
}

void GetListCellText(HWND window, int id, int row, int column, char *buffer, int size)
{
    if (!buffer || size <= 0) return;
    buffer[0] = 0;
    LVITEMA item;
    ZeroBytes(&item, sizeof item);
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = size;
    SendMessageA(ListWindow(window, id), LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
    buffer[size - 1] = 0;
}

void DeleteListRow(HWND window, int id, int index)
{
    SendDlgItemMessageA(window, id, LVM_DELETEITEM, (WPARAM)index, 0);
}

void DeleteAllListRows(HWND window, int id)
{
    SendDlgItemMessageA(window, id, LVM_DELETEALLITEMS, 0, 0);
}

int GetListColumnWidth(HWND window, int id, int column)
{
    LVCOLUMNA info;
    ZeroBytes(&info, sizeof info);
    info.mask = LVCF_WIDTH;
    if (!SendMessageA(ListWindow(window, id), LVM_GETCOLUMNA, (WPARAM)column, (LPARAM)&info)) return -1;
    return info.cx;
}

void SetListColumnWidth(HWND window, int id, int column, int width)
{
    LVCOLUMNA info;
    ZeroBytes(&info, sizeof info);
    info.mask = LVCF_WIDTH;
    info.cx = width;
    SendDlgItemMessageA(window, id, LVM_SETCOLUMNA, (WPARAM)column, (LPARAM)&info);
}

int HitTestList(HWND window, int id, int x, int y, UINT *flags)
{
    LVHITTESTINFO info;
    ZeroBytes(&info, sizeof info);
    info.pt.x = x;
    info.pt.y = y;
    int row = (int)SendMessageA(ListWindow(window, id), LVM_HITTEST, 0, (LPARAM)&info);
    if (flags) *flags = info.flags;
    return row;
}

void InsertListColumn(HWND window, int id, int column, int width, const char *title, int format)
{
    LVCOLUMNA info;
    ZeroBytes(&info, sizeof info);
    info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    info.fmt = format;
    info.cx = width;
    info.pszText = (char *)title;
    SendDlgItemMessageA(window, id, LVM_INSERTCOLUMNA, (WPARAM)column, (LPARAM)&info);
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
    SendDlgItemMessageA(window, id, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    const char *title = titles;
    for (int i = 0; i < count; i++) {
        InsertListColumn(window, id, i, SystemUnitsToPixelsX(window, widths[i]), title, LVCFMT_LEFT);
        title = NextString(title);
    }
}
