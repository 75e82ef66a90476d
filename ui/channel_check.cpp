// channel_check.cpp: the check of every channel: a snapshot of the ChannelList probed by worker
// threads, results posted back by snapshot index, the busy window, cancel, and the result box.
#include "ui/channel_check.h"
#include <commctrl.h>
#include "common/text.h"
#include "res/resource.h"
#include "stream/probe.h"
#include "ui/channel_editor.h"
#include "winkit/dialog_items.h"
#include "ui/main_state.h"
#include "ui/settings_form.h"
#include "winkit/show_message.h"
#include "ui/texts.h"

enum {
    CHECK_URL_SIZE = 128,
    CHECK_TITLE_SHOWN = 31,   // title bytes a line of the result box shows
    CHECK_NOT_ICY_LINES = 5,  // lines the kept group gets at least when both groups are listed
    CHECK_BOX_SIZE = 2048,
    CHECK_POST_TRIES = 500,   // a full message queue is retried every 10 ms for 5 s
    BUSY_CONTROL_COUNT = 21
};

// Shared by the window and the workers; the last holder frees it. Workers read the URLs and take
// indexes; they touch no window except by posting results to it.
struct CheckRun {
    volatile long holders;     // the window (until the check ends or is cancelled) and each worker
    volatile long next;        // the next snapshot index to probe
    volatile long cancelled;   // 1: no further probe starts and no further result is posted
    HWND window;               // where results are posted
    long serial;               // tells this check's results from an abandoned one's
    int count;                 // snapshot rows; their URLs follow, CHECK_URL_SIZE bytes each
};

// The window's own record of one row: its texts as checked and, once known, its outcome.
struct CheckEntry {
    int reason;   // a ProbeReason, -1 while unknown
    int httpCode;
    char title[CHECK_URL_SIZE];
    char url[CHECK_URL_SIZE];
};

// The check under way (UI thread only).
static CheckRun *g_run;           // null when no check runs
static CheckEntry *g_entries;     // one per snapshot row
static int g_done;                // results received
static long g_serial;             // serial of the last check started
static int g_answering;           // 1 while the result box is open

// Every control the check disables: the search, both lists, the form and the channel commands.
static const unsigned short kBusyControls[BUSY_CONTROL_COUNT] = {
    IDC_SEARCH, IDC_DEVICE_LIST, IDC_CHANNEL_LIST, IDC_MODE_STATIC, IDC_MODE_DHCP, IDC_MODE_PPPOE,
    IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY, IDC_DNS, IDC_PPPOE_ID, IDC_PPPOE_PSW, IDC_PLS_URL1, IDC_PLS_URL2,
    IDC_CHANNEL_NAME, IDC_CHANNEL_URL, IDC_CHANNEL_ADD, IDC_CHANNEL_MODIFY, IDC_CHANNEL_DELETE,
    IDC_CHANNEL_DELETE_ALL, IDC_SEND,
};

static char *RunUrl(CheckRun *run, int index)
{
    return (char *)(run + 1) + index * CHECK_URL_SIZE;
}

static void ReleaseRun(CheckRun *run)
{
    if (PlatAtomicAdd(&run->holders, -1) == 0)
        PlatFree(run);
}

// Outcome in the message: serial (8 bits), reason (4 bits) and status code (20 bits).
static LPARAM PackOutcome(long serial, const ProbeOutcome *outcome)
{
    unsigned code = outcome->httpCode < 0 ? 0u : outcome->httpCode > 0xFFFFF ? 0xFFFFFu : (unsigned)outcome->httpCode;
    return (LPARAM)(((unsigned)serial & 0xFFu) | ((unsigned)outcome->reason & 0xFu) << 8 | code << 12);
}

static PlatThreadResult PLAT_THREAD_CALL CheckWorker(void *argument)
{
    CheckRun *run = (CheckRun *)argument;
    for (;;) {
        if (PlatAtomicAdd(&run->cancelled, 0))
            break;
        long index = PlatAtomicAdd(&run->next, 1) - 1;
        if (index >= run->count)
            break;
        ProbeOutcome outcome;
        ProbeChannelAddress(RunUrl(run, (int)index), &outcome);
        if (PlatAtomicAdd(&run->cancelled, 0))
            break;
        LPARAM packed = PackOutcome(run->serial, &outcome);
        for (int i = 0; i < CHECK_POST_TRIES && !PlatAtomicAdd(&run->cancelled, 0); i++) {
            if (PostMessageW(run->window, MSG_CHECK_RESULT, (WPARAM)index, packed)) break;
            PlatSleep(10);
        }
    }
    ReleaseRun(run);
    return 0;
}

static void SetBusy(HWND window, int busy)
{
    // The keys (F5, Esc, Alt+X) keep reaching the window while its controls are disabled, and a
    // row drag under way ends: the rows stay as the check saw them.
    if (busy) {
        SetFocus(window);
        HWND list = GetDlgItem(window, IDC_CHANNEL_LIST);
        SetDragRow(list, -1);
        if (GetCapture() == list) ReleaseCapture();
    }
    for (int i = 0; i < BUSY_CONTROL_COUNT; i++)
        EnableControl(window, kBusyControls[i], !busy);
    SendDlgItemMessageW(window, IDC_SEARCH_PROGRESS, PBM_SETPOS, 0, 0);
    if (busy) return;
    UpdateFormState(window);   // the form and channel controls as the device selection wants them
    if (IsWindowEnabled(GetDlgItem(window, IDC_CHANNEL_LIST))) FocusControl(window, IDC_CHANNEL_LIST);
}

// Ends the check on the window's side: the workers still holding the run finish on their own.
static void EndCheck(HWND window)
{
    if (g_run) {
        PlatAtomicAdd(&g_run->cancelled, 1);
        ReleaseRun(g_run);
        g_run = 0;
    }
    PlatFree(g_entries);
    g_entries = 0;
    g_done = 0;
    SetBusy(window, 0);
}

int IsChannelCheckRunning(void) { return g_run != 0; }
int IsChannelCheckBusy(void) { return g_run != 0 || g_answering; }

void CancelChannelCheck(HWND window)
{
    if (g_run) EndCheck(window);
}

// Takes the snapshot and starts the workers; 0 when nothing could start.
static int StartCheck(HWND window, int count)
{
    CheckRun *run = (CheckRun *)PlatAlloc((int)sizeof(CheckRun) + count * CHECK_URL_SIZE);
    CheckEntry *entries = (CheckEntry *)PlatAlloc(count * (int)sizeof(CheckEntry));
    if (!run || !entries) {
        PlatFree(run);
        PlatFree(entries);
        return 0;
    }
    for (int i = 0; i < count; i++) {
        GetListCellText(window, IDC_CHANNEL_LIST, i, 1, entries[i].title, CHECK_URL_SIZE);
        GetListCellText(window, IDC_CHANNEL_LIST, i, 2, entries[i].url, CHECK_URL_SIZE);
        CopyBytes(RunUrl(run, i), entries[i].url, CHECK_URL_SIZE);
        entries[i].reason = -1;
    }
    run->holders = 1;
    run->window = window;
    run->serial = ++g_serial;
    run->count = count;
    int workers = 0;
    for (int i = 0; i < CHECK_WORKERS && i < count; i++) {
        PlatAtomicAdd(&run->holders, 1);
        if (PlatStartThread(CheckWorker, run)) {
            workers++;
        } else {
            PlatAtomicAdd(&run->holders, -1);
        }
    }
    if (!workers) {
        ReleaseRun(run);
        PlatFree(entries);
        return 0;
    }
    g_run = run;
    g_entries = entries;
    g_done = 0;
    return 1;
}

void OnCheckAllCommand(HWND window)
{
    if (g_answering) return;
    if (g_run) {
        CancelChannelCheck(window);
        return;
    }
    // The progress bar belongs to a search while one runs.
    if (g_main.searchRunning) {
        ShowMessage(window, TEXT_CHECK_WHILE_SEARCHING, MB_OK);
        return;
    }
    if (GetSelectedListRow(window, IDC_DEVICE_LIST, -1) < 0) {
        ShowMessage(window, TEXT_SELECT_DEVICE, MB_OK);
        return;
    }
    int count = GetListRowCount(window, IDC_CHANNEL_LIST);
    if (count < 1) {
        ShowMessage(window, TEXT_CHECK_NO_CHANNELS, MB_OK);
        return;
    }
    if (!StartCheck(window, count)) {
        ShowMessage(window, TEXT_CHECK_CANNOT_START, MB_OK);
        return;
    }
    SetBusy(window, 1);
}

void AppendProbeReason(TextBuilder *b, int reason, int httpCode)
{
    static const char *const kReasons[PROBE_REASON_COUNT] = {
        TEXT_REASON_LIVE, TEXT_REASON_NOT_HTTP, TEXT_REASON_UNKNOWN_HOST, TEXT_REASON_REFUSED,
        TEXT_REASON_CONNECT_TIMED_OUT, TEXT_REASON_NO_ANSWER, TEXT_REASON_HTTP_ERROR, TEXT_REASON_HTTP_NOT_ICY,
        TEXT_REASON_EMPTY_PLAYLIST, TEXT_REASON_NO_LOCATION, TEXT_REASON_TOO_MANY_REDIRECTS,
    };
    if (reason < 0 || reason >= PROBE_REASON_COUNT) reason = PROBE_NO_ANSWER;
    BuilderAppend(b, kReasons[reason]);
    if (reason == PROBE_HTTP_ERROR)
        BuilderAppendNumber(b, httpCode);
}

static void AppendReason(TextBuilder *b, const CheckEntry *entry)
{
    AppendProbeReason(b, entry->reason, entry->httpCode);
}

// Appends a title cut to what a line shows, never inside a two-byte character of code page 949.
static void AppendShownTitle(TextBuilder *b, const char *title)
{
    int length = 0;
    while (title[length]) {
        int step = (unsigned char)title[length] >= 0x81 && title[length + 1] ? 2 : 1;
        if (length + step > CHECK_TITLE_SHOWN) break;
        length += step;
    }
    BuilderAppendCut(b, title, length);
}

void AppendMoreLine(TextBuilder *b, int total, int listed)
{
    if (total <= listed) return;
    BuilderAppend(b, TEXT_CHECK_MORE);
    BuilderAppendNumber(b, total - listed);
    BuilderAppend(b, TEXT_CHECK_COUNT_UNIT "\n");
}

// One group of the result box: its head and count, then at most lines channels ("3. title -
// reason"), then "외 N개" for the rest.
static void AppendGroup(TextBuilder *b, const char *head, int group, int total, int count, int lines)
{
    BuilderAppend(b, head);
    BuilderAppendNumber(b, total);
    BuilderAppend(b, TEXT_CHECK_COUNT_UNIT "\n\n");
    int listed = 0;
    for (int i = 0; i < count && listed < lines; i++) {
        if (ProbeReasonGroup(g_entries[i].reason) != group) continue;
        BuilderAppendNumber(b, i + 1);
        BuilderAppend(b, ". ");
        AppendShownTitle(b, g_entries[i].title);
        BuilderAppend(b, " - ");
        AppendReason(b, &g_entries[i]);
        BuilderAppend(b, "\n");
        listed++;
    }
    AppendMoreLine(b, total, listed);
}

// The result box's text. Channels with no stream (noStream) are offered for deletion; those that
// answer but not as ICY (notIcy) are named under their own head and kept. The two groups share
// CHECK_LIST_LINES lines, the kept one getting at least CHECK_NOT_ICY_LINES of them.
static void ComposeResultText(char *text, int size, int count, int noStream, int notIcy)
{
    TextBuilder b;
    BuilderInit(&b, text, size);
    if (!notIcy) {
        AppendGroup(&b, TEXT_CHECK_NOT_LIVE_HEAD, PROBE_GROUP_NO_STREAM, noStream, count, CHECK_LIST_LINES);
        BuilderAppend(&b, "\n" TEXT_CHECK_DELETE_QUESTION);
        return;
    }
    int keptLines = noStream ? SmallerOf(notIcy, CHECK_LIST_LINES - SmallerOf(noStream, CHECK_LIST_LINES - CHECK_NOT_ICY_LINES))
                             : CHECK_LIST_LINES;
    if (noStream) {
        AppendGroup(&b, TEXT_CHECK_NO_STREAM_HEAD, PROBE_GROUP_NO_STREAM, noStream, count, CHECK_LIST_LINES - keptLines);
        BuilderAppend(&b, "\n");
    }
    AppendGroup(&b, TEXT_CHECK_NOT_ICY_HEAD, PROBE_GROUP_NOT_ICY, notIcy, count, keptLines);
    BuilderAppend(&b, "\n" TEXT_CHECK_NOT_ICY_KEPT);
    if (noStream) BuilderAppend(&b, "\n\n" TEXT_CHECK_DELETE_NO_STREAM_QUESTION);
}

// Yes: deletes the rows with no stream behind them, each only while it still holds the title and
// address that were checked; a row changed since the check is kept.
static void DeleteNoStreamRows(HWND window, const CheckEntry *entries, int count)
{
    char title[CHECK_URL_SIZE];
    char url[CHECK_URL_SIZE];
    // From the end, so the indexes still to delete keep naming their rows.
    for (int i = count - 1; i >= 0; i--) {
        if (ProbeReasonGroup(entries[i].reason) != PROBE_GROUP_NO_STREAM) continue;
        if (i >= GetListRowCount(window, IDC_CHANNEL_LIST)) continue;
        GetListCellText(window, IDC_CHANNEL_LIST, i, 1, title, sizeof title);
        GetListCellText(window, IDC_CHANNEL_LIST, i, 2, url, sizeof url);
        if (TextEquals(title, entries[i].title) && TextEquals(url, entries[i].url))
            DeleteListRow(window, IDC_CHANNEL_LIST, i);
    }
    RenumberChannels(window);
}

// Every result is in: the window's part of the check ends, then the box.
static void FinishCheck(HWND window)
{
    int count = g_run->count;
    ReleaseRun(g_run);
    g_run = 0;
    CheckEntry *entries = g_entries;
    int noStream = 0;
    int notIcy = 0;
    for (int i = 0; i < count; i++) {
        int group = ProbeReasonGroup(entries[i].reason);
        if (group == PROBE_GROUP_NO_STREAM) noStream++;
        else if (group == PROBE_GROUP_NOT_ICY) notIcy++;
    }
    char *text = noStream || notIcy ? (char *)PlatAlloc(CHECK_BOX_SIZE) : 0;
    g_answering = 1;   // the list stays as the snapshot saw it until the answer is carried out
    if (!noStream && !notIcy) {
        ShowMessage(window, TEXT_CHECK_ALL_LIVE, MB_OK | MB_ICONINFORMATION);
    } else if (text) {
        ComposeResultText(text, CHECK_BOX_SIZE, count, noStream, notIcy);
        if (!noStream) ShowMessage(window, text, MB_OK);
        else if (ShowMessage(window, text, MB_YESNO) == IDYES && IsWindow(window)) DeleteNoStreamRows(window, entries, count);
    }
    g_answering = 0;
    PlatFree(text);
    if (IsWindow(window)) {
        EndCheck(window);
    } else {
        PlatFree(g_entries);
        g_entries = 0;
    }
}

void OnCheckResult(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!g_run || ((unsigned)lParam & 0xFFu) != ((unsigned)g_run->serial & 0xFFu)) return;   // an abandoned check's
    int index = (int)wParam;
    if (index < 0 || index >= g_run->count || g_entries[index].reason >= 0) return;
    g_entries[index].reason = (int)(((unsigned)lParam >> 8) & 0xFu);
    g_entries[index].httpCode = (int)(((unsigned)lParam >> 12) & 0xFFFFFu);
    g_done++;
    SendDlgItemMessageW(window, IDC_SEARCH_PROGRESS, PBM_SETPOS, (WPARAM)(g_done * 100 / g_run->count), 0);
    if (g_done == g_run->count) FinishCheck(window);
}
