// channel_editor.cpp: the ChannelList commands: add, modify, delete, delete all, click and drag start.
#include "ui/channel_editor.h"
#include "res/resource.h"
#include "ui/texts.h"
#include "device/message.h"
#include "ui/main_state.h"
#include "winkit/dialog_items.h"
#include "winkit/show_message.h"
#include "ui/form_fields.h"
#include "ui/stream_check.h"

enum { TITLE_SIZE = 32, URL_SIZE = 128, CELL_SIZE = 128, NUMBER_SIZE = 16 };

int ReadChannelFields(HWND window, char *title, char *url)
{
    if (!CheckChannelFields(window)) return 0;
    if (GetControlText(window, IDC_CHANNEL_NAME, title, TITLE_SIZE) == 0) {
        ShowMessage(window, TEXT_ENTER_CHANNEL_NAME, MB_OK);
        FocusControl(window, IDC_CHANNEL_NAME);
        return 0;
    }
    if (GetControlText(window, IDC_CHANNEL_URL, url, URL_SIZE) == 0) {
        ShowMessage(window, TEXT_ENTER_SERVER_URL, MB_OK);
        FocusControl(window, IDC_CHANNEL_URL);
        return 0;
    }
    int titleHolds = HoldsDeviceKey(title, -1);
    if (titleHolds || HoldsDeviceKey(url, -1)) {
        ShowMessage(window, TEXT_CHANNEL_HOLDS_KEY, MB_OK);
        FocusControl(window, titleHolds ? IDC_CHANNEL_NAME : IDC_CHANNEL_URL);
        return 0;
    }
    return 1;
}

void ClearEdit(HWND window, int id)
{
    SendDlgItemMessageW(window, id, EM_SETSEL, 0, -1);
    SendDlgItemMessageW(window, id, WM_CLEAR, 0, 0);
}

void FormatChannelNumber(char *out, int n)
{
    wsprintfA(out, "%d.", n);
}

void RenumberChannels(HWND window)
{
    int count = GetListRowCount(window, IDC_CHANNEL_LIST);
    char number[NUMBER_SIZE];
    for (int i = 0; i < count; i++) {
        FormatChannelNumber(number, i + 1);
        SetListCellText(window, IDC_CHANNEL_LIST, i, 0, number);
    }
}

void OnChannelAdd(HWND window)
{
    char title[TITLE_SIZE];
    char url[URL_SIZE];
    if (!ReadChannelFields(window, title, url)) return;
    if (!CheckStreamAddress(window, url)) return;
    // Counted after the check: its question runs a message loop in which a posted delete may run.
    int count = GetListRowCount(window, IDC_CHANNEL_LIST);
    char number[NUMBER_SIZE];
    FormatChannelNumber(number, count + 1);
    int row = InsertListRow(window, IDC_CHANNEL_LIST, count, number, 0);
    if (row < 0) return;
    SetListCellText(window, IDC_CHANNEL_LIST, row, 1, title);
    SetListCellText(window, IDC_CHANNEL_LIST, row, 2, url);
    ClearEdit(window, IDC_CHANNEL_NAME);
    ClearEdit(window, IDC_CHANNEL_URL);
    g_main.changedFlag = 1;
}

void OnChannelModify(HWND window)
{
    if (GetSelectedListRow(window, IDC_CHANNEL_LIST, -1) < 0) {
        ShowMessage(window, TEXT_SELECT_CHANNEL_TO_MODIFY, MB_OK);
        return;
    }
    char title[TITLE_SIZE];
    char url[URL_SIZE];
    if (!ReadChannelFields(window, title, url)) return;
    if (!CheckStreamAddress(window, url)) return;
    // The selection is taken again: a delete may have run while the check's question was open.
    int row = GetSelectedListRow(window, IDC_CHANNEL_LIST, -1);
    if (row < 0) return;
    SetListCellText(window, IDC_CHANNEL_LIST, row, 1, title);
    SetListCellText(window, IDC_CHANNEL_LIST, row, 2, url);
    g_main.changedFlag = 1;
}

void OnChannelDelete(HWND window)
{
    if (GetSelectedListRow(window, IDC_CHANNEL_LIST, -1) < 0) {
        ShowMessage(window, TEXT_SELECT_CHANNEL_TO_DELETE, MB_OK);
        return;
    }
    if (ShowMessage(window, TEXT_CONFIRM_DELETE, MB_OKCANCEL) != IDOK) return;
    // Taken again after the question: a second posted delete may have run meanwhile.
    int row = GetSelectedListRow(window, IDC_CHANNEL_LIST, -1);
    if (row < 0) return;
    DeleteListRow(window, IDC_CHANNEL_LIST, row);
    int count = GetListRowCount(window, IDC_CHANNEL_LIST);
    if (row >= count) row = count - 1;
    if (row >= 0) SelectListRow(window, IDC_CHANNEL_LIST, row);
    RenumberChannels(window);
}

void OnChannelDeleteAll(HWND window)
{
    if (ShowMessage(window, TEXT_CONFIRM_DELETE_ALL, MB_OKCANCEL) != IDOK) return;
    DeleteAllListRows(window, IDC_CHANNEL_LIST);
}

void OnChannelClick(HWND window)
{
    int row = GetSelectedListRow(window, IDC_CHANNEL_LIST, -1);
    if (row < 0) return;
    char text[CELL_SIZE];
    GetListCellText(window, IDC_CHANNEL_LIST, row, 1, text, sizeof text);
    SetControlText(window, IDC_CHANNEL_NAME, text);
    GetListCellText(window, IDC_CHANNEL_LIST, row, 2, text, sizeof text);
    SetControlText(window, IDC_CHANNEL_URL, text);
}

void OnChannelBeginDrag(HWND window, const NMLISTVIEW *info)
{
    if (!info) return;
    HWND list = info->hdr.hwndFrom;
    SetCapture(list);
    SetDragRow(list, info->iItem);
}
