// main_window.cpp: the main window's dialog procedure: initialisation, message routing and the close command.
#include "ui/main_window.h"
#include "ui/main_layout.h"
#include "ui/main_state.h"
#include <commctrl.h>
#include <shellapi.h>
#include "res/resource.h"
#include "ui/texts.h"
#include "winkit/dialog_items.h"
#include "winkit/show_message.h"
#include "ui/settings_form.h"
#include "ui/channel_editor.h"
#include "ui/device_search.h"
#include "ui/context_menu.h"
#include "ui/file_commands.h"
#include "ui/form_fields.h"
#include "ui/channel_check.h"
#include "ui/station_search.h"
#include "winkit/settings_file.h"
#include "winkit/resize_layout.h"
#include "winkit/image_button.h"
#include "common/host_interfaces.h"
#include "device/link.h"
#include "hostnet/host_defaults.h"

// 1 while the close command waits for the user's answer: a second close arriving meanwhile is ignored.
static int g_closeAsking;

static const char kDeviceColumns[] = "Mac Addr\0F/W Ver";
static const unsigned char kDeviceWidths[2] = {100, 43};
static const char kChannelColumns[] = TEXT_COLUMN_NUMBER "\0" TEXT_COLUMN_TITLE "\0" TEXT_COLUMN_SERVER;
static const unsigned char kChannelWidths[3] = {20, 80, 152};

static void InitMainWindow(HWND window)
{
    g_main.changedFlag = 0;
    g_main.deviceRowCount = 0;
    g_main.searchTicks = 0;
    g_main.searchRunning = 0;
    g_closeAsking = 0;
    UpdateFormState(window);
    SetupListColumns(window, IDC_DEVICE_LIST, kDeviceColumns, kDeviceWidths, 2);
    RestoreColumnWidths(window, IDC_DEVICE_LIST, 2);
    SetupListColumns(window, IDC_CHANNEL_LIST, kChannelColumns, kChannelWidths, 3);
    RestoreColumnWidths(window, IDC_CHANNEL_LIST, 3);
    HWND list = GetDlgItem(window, IDC_CHANNEL_LIST);
    SubclassWindow(list, ChannelListProc);
    SetDragRow(list, -1);
    LoadMainButtonImages(window, 0);
    // Device messages go to every network of the PC, from its interface list read at each send.
    SetDeviceLinkInterfaces(ReadHostInterfaces);
    OpenDeviceLink(window, RegisterDeviceNotify);
    CheckRadio(window, IDC_MODE_STATIC, 3, 1);
    // What DragAcceptFiles does, without loading the shell's library while the window starts.
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}

// The PC's own address, mask, gateway and DNS server take about 15 ms to read: they are put into the
// form once the window is shown, before the first message is dispatched.
void OnMainWindowShown(HWND window)
{
    FillHostDefaults(window);
}

void OnCloseCommand(HWND window)
{
    if (g_closeAsking) return;
    // A check of every channel stops first; its result box, when open, has the last word.
    if (IsChannelCheckBusy() && !IsChannelCheckRunning()) return;
    CancelChannelCheck(window);
    if (g_main.changedFlag) {
        g_closeAsking = 1;
        int answer = ShowMessage(window, TEXT_CONFIRM_QUIT, MB_OKCANCEL);
        g_closeAsking = 0;
        if (answer != IDOK) return;
        // The window may have gone while the question was open.
        if (!IsWindow(window)) return;
    }
    if (DeviceLinkSocket() != NO_SOCKET) CloseDeviceLink();
    SaveColumnWidths(window, IDC_DEVICE_LIST, 2);
    SaveColumnWidths(window, IDC_CHANNEL_LIST, 3);
    if (g_main.sendImage) DeleteObject(g_main.sendImage);
    g_main.sendImage = 0;
    if (g_main.closeImage) DeleteObject(g_main.closeImage);
    g_main.closeImage = 0;
    ReleaseDeviceRows(window);
    ForgetStartupFiles();
    DestroyWindow(window);
}

static void OnMainCommand(HWND window, int id)
{
    // While every channel is checked, only the check itself (to cancel it) and close are taken.
    if (IsChannelCheckBusy() && id != IDCANCEL && id != IDM_CHECK_ALL) return;
    switch (id) {
    case IDCANCEL: OnCloseCommand(window); break;
    case IDC_MODE_STATIC:
    case IDC_MODE_DHCP:
    case IDC_MODE_PPPOE: UpdateFormState(window); break;
    case IDC_SEARCH: OnSearchCommand(window); break;
    case IDC_CHANNEL_ADD: OnChannelAdd(window); break;
    case IDC_CHANNEL_MODIFY: OnChannelModify(window); break;
    case IDC_CHANNEL_DELETE: OnChannelDelete(window); break;
    case IDC_CHANNEL_DELETE_ALL: OnChannelDeleteAll(window); break;
    case IDC_SEND: OnSendCommand(window); break;
    case IDM_OPEN_SETTINGS: OnOpenSettingsCommand(window); break;
    case IDM_SAVE_SETTINGS: OnSaveSettingsCommand(window); break;
    case IDM_IMPORT_PLAYLIST: OnImportPlaylistCommand(window); break;
    case IDM_EXPORT_PLAYLIST: OnExportPlaylistCommand(window); break;
    case IDM_CHECK_ALL: OnCheckAllCommand(window); break;
    case IDM_FIND_STATIONS: OnFindStationsCommand(window); break;
    case IDM_FIND_OTHER_ADDRESS: OnFindOtherAddressCommand(window); break;
    default: break;
    }
}

// Returns the dialog procedure's result for the notification.
static INT_PTR OnMainNotify(HWND window, int id, const NMHDR *header)
{
    if (!header) return FALSE;
    UINT code = header->code;
    // The menu key reaches the window only as the list's key notification.
    if (code == LVN_KEYDOWN && ((const NMLVKEYDOWN *)header)->wVKey == VK_APPS)
        ShowListContextMenu(window, header->hwndFrom, (LPARAM)-1);
    if (id == IDC_CHANNEL_LIST && code == LVN_KEYDOWN) {
        const NMLVKEYDOWN *key = (const NMLVKEYDOWN *)header;
        if (key->wVKey == VK_DELETE) PostMessageW(window, WM_COMMAND, IDC_CHANNEL_DELETE, 0);
        SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    if (id == IDC_CHANNEL_LIST && code == LVN_BEGINDRAG) {
        // While every channel is checked the rows stay as the check saw them.
        if (!IsChannelCheckBusy()) OnChannelBeginDrag(window, (const NMLISTVIEW *)header);
        SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    if (code == NM_CLICK) {
        // Files named on the command line wait for the first device row loaded; no row loads under
        // the check of every channel, since it would replace the ChannelList being checked.
        if (id == IDC_DEVICE_LIST && !IsChannelCheckBusy() && OnDeviceRowClick(window)) ApplyStartupFiles(window);
        else if (id == IDC_CHANNEL_LIST) OnChannelClick(window);
    }
    return FALSE;
}

static void OnMainDrawItem(int id, const DRAWITEMSTRUCT *item)
{
    if (!item) return;
    if (id == IDC_SEND) DrawImageStrip(item, g_main.sendImage);
    else if (id == IDCANCEL) DrawImageStrip(item, g_main.closeImage);
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The fit to the monitor's DPI comes before the placement is restored; its resize is not recorded.
    if (message == WM_INITDIALOG) FitMainWindowToDpi(window);
    if (IsFittingMainWindow() && (message == WM_SIZE || message == WM_MOVE)) return FALSE;
    TrackWindowPlacement(window, message, wParam);
    switch (message) {
    case WM_INITDIALOG:
        InitMainWindow(window);
        return TRUE;
    case WM_DESTROY:
        OnMainWindowDestroy(window);
        PostQuitMessage(0);
        return FALSE;
    case WM_SIZE:
        OnMainWindowSize(window, wParam, lParam);
        return FALSE;
    case WM_GETMINMAXINFO:
        SetMinTrackSize(window, (MINMAXINFO *)lParam, 240, 170);
        return FALSE;
    case WM_DPICHANGED:
        OnMainDpiChanged(window, wParam, lParam);
        return TRUE;
    case WM_DRAWITEM:
        OnMainDrawItem((int)wParam, (const DRAWITEMSTRUCT *)lParam);
        return TRUE;
    case WM_NOTIFY:
        return OnMainNotify(window, (int)wParam, (const NMHDR *)lParam);
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_UPDATE) OnFieldUpdate(window, LOWORD(wParam));
        else OnMainCommand(window, LOWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == SEARCH_TIMER) OnSearchTimer(window);
        else if (wParam == PENDING_TIMER) OnPendingTimer(window);
        else if (wParam == SEND_TIMER) OnSendTimer(window);
        else if (wParam == RECEIVE_TIMER) OnReceiveTimer(window);
        return FALSE;
    case WM_CONTEXTMENU:
        return ShowListContextMenu(window, (HWND)wParam, lParam) ? TRUE : FALSE;
    case WM_DROPFILES:
        if (IsChannelCheckBusy()) {
            // The check deletes rows by the positions it saw: nothing may replace them meanwhile.
            FinishDrop((HDROP)wParam);
            ShowMessage(window, TEXT_DROP_DURING_CHECK, MB_OK);
        } else {
            OnDropFiles(window, (HDROP)wParam);
        }
        return TRUE;
    case MSG_DEVICE_READ:
        OnDeviceRead(window, wParam, lParam);
        return TRUE;
    case MSG_CHECK_RESULT:
        OnCheckResult(window, wParam, lParam);
        return TRUE;
    default:
        return FALSE;
    }
}
