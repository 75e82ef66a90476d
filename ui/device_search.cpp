// device_search.cpp: the search button and its progress bar, device replies, and sending settings.
#include "ui/device_search.h"
#include <commctrl.h>
#include "common/text.h"
#include "device/link.h"
#include "device/message.h"
#include "res/resource.h"
#include "winkit/dialog_items.h"
#include "ui/main_state.h"
#include "winkit/show_message.h"
#include "ui/form_fields.h"
#include "ui/stream_check.h"
#include "ui/texts.h"

enum {
    DEVICE_ROWS_MAX = 1000,     // DeviceList rows kept at most; further IMIN replies wait for the next search
    DEVICE_ROW_BYTES_MAX = 64 << 20, // and the bytes their kept texts take at most
    PENDING_SLACK_MS = 10,      // PENDING_TIMER fires this much after a kept text is due
    SEARCH_TICK_MS = 100,       // period of SEARCH_TIMER
    SEARCH_TICKS = 100,         // ticks of one search: about 10 seconds
    LINK_TICK_MS = 10,          // period of SEND_TIMER and RECEIVE_TIMER
    RECEIVE_SLICE_MS = 10,      // one read notification or RECEIVE_TIMER tick receives this long at most
    SETT_PLS_AREA = 128         // the Pls edits are read into the work block's last 128 bytes
};

// Heap copy of a text and its NUL; null when the heap is exhausted.
static char *CopyToHeap(const char *text)
{
    int length = TextLength(text);
    char *copy = (char *)PlatAlloc(length + 1);
    if (copy) CopyBytes(copy, text, length + 1);
    return copy;
}

// 1 while DeviceList painting waits for the next search tick.
static int g_listPaintDeferred;
// Bytes of the texts the DeviceList rows keep (each with its NUL).
static int g_deviceRowBytes;
// 1 once the user has been told that replies were dropped, until the list is emptied.
static int g_dropNoticeGiven;
// The window whose PENDING_TIMER runs (null: none runs); it is then due at g_pendingDue (tick count).
static HWND g_pendingTimerWindow;
static unsigned g_pendingDue;
// 1 while the "saved" box is open: it already announces any confirmation arriving meanwhile, and
// opening a box from inside another would nest without end under a flood of confirmations.
static int g_savedShowing;
// The window whose RECEIVE_TIMER runs (null: none): datagrams kept coming, and reception goes on
// from the timer while read notifications are passed over.
static HWND g_receiveTimerWindow;

void ReleaseDeviceRows(HWND window)
{
    int count = GetListRowCount(window, IDC_DEVICE_LIST);
    for (int row = 0; row < count; row++) {
        char *copy = (char *)GetListRowData(window, IDC_DEVICE_LIST, row, 0);
        if (copy) {
            // Cleared before release, so a re-entered handler never sees a released copy.
            SetListRowData(window, IDC_DEVICE_LIST, row, 0);
            PlatFree(copy);
        }
    }
    DeleteAllListRows(window, IDC_DEVICE_LIST);
    g_deviceRowBytes = 0;
    g_dropNoticeGiven = 0;
    g_pendingTimerWindow = 0;   // the next notification starts the timer again if texts are kept
    g_receiveTimerWindow = 0;   // and receives again; a running RECEIVE_TIMER still receives too
}

// Sends a device message without waiting: what the platform cannot take now (a slice that would
// block) goes on from SEND_TIMER, so the window keeps answering.
static void SendToRadios(HWND window, const char *text)
{
    if (!QueueDeviceMessage(DeviceLinkSocket(), text, DEVICE_WAIT_MS)) return;
    if (SetTimer(window, SEND_TIMER, LINK_TICK_MS, 0)) return;
    while (ContinueDeviceSends()) Sleep(LINK_TICK_MS);   // no timer to be had: finish here
}

void OnSendTimer(HWND window)
{
    if (!ContinueDeviceSends()) KillTimer(window, SEND_TIMER);
}

void OnSearchCommand(HWND window)
{
    SendToRadios(window, FIND_MESSAGE);
    ReleaseDeviceRows(window);
    g_main.deviceRowCount = 0;
    g_listPaintDeferred = 0;
    EnableControl(window, IDC_SEARCH, 0);
    // Without its timer the search could never end: the button comes back at once, and rows are
    // then painted as they arrive instead of waiting for a tick that never comes.
    g_main.searchRunning = SetTimer(window, SEARCH_TIMER, SEARCH_TICK_MS, 0) != 0;
    if (!g_main.searchRunning) EnableControl(window, IDC_SEARCH, 1);
}

// While a search runs, a crowd of replies would repaint the DeviceList once per row and keep the
// window busy painting; rows are still inserted at once, but drawn at the next search tick.
static void DeferDeviceListPainting(HWND window)
{
    if (!g_main.searchRunning) return;
    if (g_listPaintDeferred) return;
    SendDlgItemMessageW(window, IDC_DEVICE_LIST, WM_SETREDRAW, FALSE, 0);
    g_listPaintDeferred = 1;
}

static void PaintDeviceList(HWND window)
{
    if (!g_listPaintDeferred) return;
    g_listPaintDeferred = 0;
    HWND list = GetDlgItem(window, IDC_DEVICE_LIST);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, 0, TRUE);
}

void OnSearchTimer(HWND window)
{
    PaintDeviceList(window);
    g_main.searchTicks++;
    if (g_main.searchTicks < SEARCH_TICKS) {
        SendDlgItemMessageW(window, IDC_SEARCH_PROGRESS, PBM_SETPOS, (WPARAM)g_main.searchTicks, 0);
        return;
    }
    g_main.searchTicks = 0;
    g_main.searchRunning = 0;
    SendDlgItemMessageW(window, IDC_SEARCH_PROGRESS, PBM_SETPOS, 0, 0);
    KillTimer(window, SEARCH_TIMER);
    EnableControl(window, IDC_SEARCH, 1);
}

// Whether the DeviceList can take one more row keeping length bytes; when it cannot, the user is
// told once until the next search empties the list.
static int RoomForDeviceRow(HWND window, int length)
{
    if (GetListRowCount(window, IDC_DEVICE_LIST) < DEVICE_ROWS_MAX &&
        length + 1 <= DEVICE_ROW_BYTES_MAX - g_deviceRowBytes)
        return 1;
    if (!g_dropNoticeGiven) {
        g_dropNoticeGiven = 1;   // set before the box: replies handled while it is open stay silent
        ShowMessage(window, TEXT_REPLIES_DROPPED, MB_OK);
    }
    return 0;
}

// An IMIN reply becomes a new DeviceList row that owns a copy of the text.
static void AddDeviceRow(HWND window, const char *text)
{
    int length = TextLength(text);
    if (!RoomForDeviceRow(window, length)) return;
    char *copy = CopyToHeap(text);
    if (!copy) return;
    char mac[DEVICE_VALUE_SIZE];
    char firmware[DEVICE_VALUE_SIZE];
    ReadDeviceIdentity(copy, mac, sizeof mac, firmware, sizeof firmware);
    // The row count of this search can only run ahead of the list if rows were deleted
    // behind the search's back; the list then takes the row at its end.
    int index = g_main.deviceRowCount;
    int rows = GetListRowCount(window, IDC_DEVICE_LIST);
    if (index > rows) index = rows;
    DeferDeviceListPainting(window);
    int row = InsertListRow(window, IDC_DEVICE_LIST, index, mac, (LPARAM)copy);
    if (row < 0) {
        PlatFree(copy);   // no row holds it: it would be lost
        return;
    }
    g_deviceRowBytes += length + 1;
    SetListCellText(window, IDC_DEVICE_LIST, row, 1, firmware);
    g_main.deviceRowCount++;
}

// Classifies a received text and handles it; releases the block.
static void HandleDeviceText(HWND window, char *text)
{
    int kind = ClassifyMessage(text);
    if (kind == MESSAGE_IMIN) {
        AddDeviceRow(window, text);
    } else if (kind == MESSAGE_SETC) {
        // Released before the box: replies handled while it is open need no memory of it.
        PlatFree(text);
        if (g_savedShowing) return;
        g_savedShowing = 1;
        ShowMessage(window, TEXT_SAVED, MB_OK);
        g_savedShowing = 0;
        return;
    }
    PlatFree(text);
}

// PENDING_TIMER runs only while the DeviceLink keeps texts, and is due when the first of them is.
// A running timer is moved only to an earlier time, so a stream of notifications cannot put it off.
static void KeepPendingTimer(HWND window)
{
    SockHandle s = DeviceLinkSocket();
    if (PendingDeviceTextCount(s) == 0) {
        if (g_pendingTimerWindow == window) KillTimer(window, PENDING_TIMER);
        g_pendingTimerWindow = 0;
        return;
    }
    unsigned now = GetTickCount();
    unsigned due = now + PendingDeviceTextDelay(s, DEVICE_WAIT_MS) + PENDING_SLACK_MS;
    if (g_pendingTimerWindow == window && (int)(due - g_pendingDue) >= 0) return;
    if (!SetTimer(window, PENDING_TIMER, due - now, 0)) return;   // the next notification tries again
    g_pendingTimerWindow = window;
    g_pendingDue = due;
}

// Every receive re-arms the read notification, so one call of many receives can leave as many
// notifications queued. They are folded: while datagrams still wait, RECEIVE_TIMER takes them on
// instead. Posted messages come before input and timers after it, so under a sustained flood a
// notification always waiting would keep every click out until the flood ends. Otherwise one
// notification is posted again for any folded: it may announce a datagram after the last receive.
static void ContinueReception(HWND window, int waiting)
{
    MSG queued;
    int folded = 0;
    while (PeekMessageW(&queued, window, MSG_DEVICE_READ, MSG_DEVICE_READ, PM_REMOVE)) folded++;
    if (waiting && (g_receiveTimerWindow == window || SetTimer(window, RECEIVE_TIMER, LINK_TICK_MS, 0))) {
        g_receiveTimerWindow = window;
        return;
    }
    KillTimer(window, RECEIVE_TIMER);
    g_receiveTimerWindow = 0;
    if (folded || waiting) PostMessageW(window, MSG_DEVICE_READ, (WPARAM)DeviceLinkSocket(), MAKELPARAM(FD_READ, 0));
}

static int DeviceDatagramWaiting(void)
{
    SockHandle s = DeviceLinkSocket();
    return s != NO_SOCKET && PlatWaitReadable(s, 0);
}

// Receives and handles device messages for up to RECEIVE_SLICE_MS, then lets the window's other
// messages through.
static void ReceiveDeviceTexts(HWND window)
{
    DWORD start = GetTickCount();
    for (;;) {
        char *text = ReceiveDeviceMessage(DeviceLinkSocket(), DEVICE_WAIT_MS);
        KeepPendingTimer(window);
        if (text) HandleDeviceText(window, text);
        if (!IsWindow(window)) return;
        if (GetTickCount() - start >= RECEIVE_SLICE_MS || !DeviceDatagramWaiting()) break;
    }
    ContinueReception(window, DeviceDatagramWaiting());
}

void OnDeviceRead(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(lParam) != FD_READ) return;
    if (g_receiveTimerWindow == window) return;   // RECEIVE_TIMER takes the datagrams
    ReceiveDeviceTexts(window);
}

void OnReceiveTimer(HWND window)
{
    ReceiveDeviceTexts(window);
}

// Hands on every kept text that is due, as if it had just been received.
void OnPendingTimer(HWND window)
{
    KillTimer(window, PENDING_TIMER);
    g_pendingTimerWindow = 0;
    char *text;
    while ((text = TakeExpiredDeviceMessage(DeviceLinkSocket(), DEVICE_WAIT_MS)) != 0) {
        HandleDeviceText(window, text);
        if (!IsWindow(window)) return;
    }
    KeepPendingTimer(window);
}

// Reads ChannelList cells for the composer.
static void ReadChannelCell(void *context, int row, int column, char *buffer, int size)
{
    GetListCellText((HWND)context, IDC_CHANNEL_LIST, row, column, buffer, size);
}

// Reads one Pls edit; when empty, tells the user and puts the focus there. 1 when present.
static int ReadPlsAddress(HWND window, int id, char *buffer, int size)
{
    GetControlText(window, id, buffer, size);
    if (buffer[0]) return 1;
    ShowMessage(window, TEXT_ENTER_PLS, MB_OK);
    FocusControl(window, id);
    return 0;
}

int ComposeFormSett(HWND window, int row, char *block)
{
    static const int fieldIds[SETT_FIELD_COUNT] = {
        IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY, IDC_DNS,
        IDC_PPPOE_ID, IDC_PPPOE_PSW, IDC_PLS_URL1, IDC_PLS_URL2
    };
    char values[SETT_FIELD_COUNT - 2][DEVICE_VALUE_SIZE];
    char mac[DEVICE_VALUE_SIZE];
    char *plsArea = block + DEVICE_MESSAGE_MAX;   // both Pls edits share the block's last 128 bytes
    char pls2[DEVICE_VALUE_SIZE];

    SettForm form;
    ZeroBytes(&form, sizeof form);
    form.mode = GetCheckedRadio(window, IDC_MODE_STATIC, 3);
    mac[0] = 0;
    if (row >= 0) GetListCellText(window, IDC_DEVICE_LIST, row, 0, mac, sizeof mac);
    form.macAddr = mac;
    for (int i = 0; i < SETT_PLS_URL1; i++) {
        GetControlText(window, fieldIds[i], values[i], DEVICE_VALUE_SIZE);
        form.fields[i] = values[i];
    }
    GetControlText(window, IDC_PLS_URL1, plsArea, SETT_PLS_AREA);
    GetControlText(window, IDC_PLS_URL2, pls2, sizeof pls2);
    form.fields[SETT_PLS_URL1] = plsArea;
    form.fields[SETT_PLS_URL2] = pls2;
    form.channelCount = GetListRowCount(window, IDC_CHANNEL_LIST);
    form.readCell = ReadChannelCell;
    form.context = (void *)window;
    return ComposeSett(&form, block, DEVICE_MESSAGE_MAX);
}

int RefuseValueHoldingKey(HWND window, const char *sett)
{
    char key[32];
    if (!FindValueHoldingKey(sett, key, sizeof key)) return 0;
    char what[48];
    char text[512];
    int channel = ChannelOfKey(key);
    if (channel) wsprintfA(what, TEXT_CHANNEL_NAMED, channel);
    else CopyText(what, sizeof what, key);
    wsprintfA(text, TEXT_VALUE_HOLDS_KEY, what);
    ShowMessage(window, text, MB_OK);
    return 1;
}

void OnSendCommand(HWND window)
{
    if (GetSelectedListRow(window, IDC_DEVICE_LIST, -1) < 0) {
        ShowMessage(window, TEXT_SELECT_DEVICE, MB_OK);
        return;
    }
    if (!CheckFormFields(window)) return;
    char url[DEVICE_VALUE_SIZE];
    if (!ReadPlsAddress(window, IDC_PLS_URL1, url, sizeof url)) return;
    if (!CheckStreamAddress(window, url)) return;
    if (!ReadPlsAddress(window, IDC_PLS_URL2, url, sizeof url)) return;
    if (!CheckStreamAddress(window, url)) return;
    if (ShowMessage(window, TEXT_CONFIRM_APPLY, MB_OKCANCEL) != IDOK) return;

    // Replies and timer ticks were handled while the boxes were open: take the selection as it
    // stands now. A search in the meantime has emptied the list.
    int row = GetSelectedListRow(window, IDC_DEVICE_LIST, -1);
    if (row < 0) {
        ShowMessage(window, TEXT_SELECT_DEVICE, MB_OK);
        return;
    }
    char *block = (char *)PlatAlloc(SETT_WORK_BLOCK);
    if (!block) return;
    if (ComposeFormSett(window, row, block) < 0) {
        PlatFree(block);
        ShowMessage(window, TEXT_SETT_TOO_LONG, MB_OK);
        return;
    }
    if (RefuseValueHoldingKey(window, block)) {
        PlatFree(block);
        return;
    }
    SendToRadios(window, block);
    g_main.changedFlag = 0;

    // No box opens between composing and here, so the row is still the one the text names.
    char *copy = CopyToHeap(block);
    if (copy) {
        char *old = (char *)GetListRowData(window, IDC_DEVICE_LIST, row, 0);
        SetListRowData(window, IDC_DEVICE_LIST, row, (LPARAM)copy);
        g_deviceRowBytes += TextLength(copy) - (old ? TextLength(old) : -1);
        PlatFree(old);
    }
    PlatFree(block);
}
