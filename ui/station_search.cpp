// station_search.cpp: the station search dialog: the search on a worker thread, the 상태 column
// filled by parallel probes, and 추가 appending the selected stations under the import's rules.
#include "ui/station_search.h"
#include <commctrl.h>
#include "common/text.h"
#include "directory/directory_search.h"
#include "directory/station_rule.h"
#include "files/playlist_import.h"
#include "res/resource.h"
#include "stream/probe.h"
#include "ui/channel_check.h"
#include "ui/file_commands.h"
#include "ui/main_state.h"
#include "ui/texts.h"
#include "webget/web_get.h"
#include "winkit/code_page.h"
#include "winkit/dialog_items.h"
#include "winkit/dpi_scale.h"
#include "winkit/program_module.h"
#include "winkit/resize_layout.h"
#include "winkit/settings_file.h"
#include "winkit/show_message.h"

#ifndef SETRADIO_VERSION
#define SETRADIO_VERSION "0.0.0"
#endif

enum {
    FIND_TEXT_SIZE = 2048,    // a status line, a question or a report (code page 949)
    FIND_TITLE_SHOWN = 31,    // title bytes a line of a question shows
    FIND_LINES = 15,          // station lines a question shows before "외 N개"
    FIND_POST_TRIES = 500,    // a full message queue is retried every 10 ms for 5 s
    FIND_CELL_SIZE = 128,     // a ChannelList cell: a title (31 bytes) or an address (127)
    FIND_COLUMNS = 7,
    FIND_STATE_COLUMN = 5
};

struct FoundStation {
    DirectoryStation station;   // as the directory gave it (the name in UTF-8, shown in full)
    StationChannel channel;     // the 949 title and the address it becomes
};

// One search, shared by the dialog and its worker; the last holder frees it. The worker fills the
// results, then posts MSG_FIND_DONE; the dialog reads them only after that.
struct SearchRun {
    volatile long holders;
    volatile long cancelled;
    HWND dialog;
    long serial;
    char name[STATION_NAME_SIZE];
    char country[STATION_COUNTRY_SIZE];
    char tag[STATION_TAGS_SIZE];
    char baseUrl[DIRECTORY_URL_SIZE];   // "" when the servers are discovered
    int status;                         // a DirectoryStatus
    int count;
    int leftOut;
    char server[DIRECTORY_URL_SIZE];
    FoundStation found[FIND_STATIONS_MAX];
};

// The probes of the listed addresses, as the check of every channel runs them.
struct ProbeRun {
    volatile long holders;
    volatile long next;
    volatile long cancelled;
    HWND dialog;
    long serial;
    int count;
    char urls[FIND_STATIONS_MAX][PLAYLIST_ADDRESS_MAX + 1];
};

// The clicks counted by the directory for added stations: one GET each, answers ignored.
struct ClickRun {
    int count;
    char urls[FIND_STATIONS_MAX][DIRECTORY_URL_SIZE];
};

// The dialog's state (UI thread only; the dialog is modal, so there is one at a time).
static struct {
    HWND owner;
    int replaceRow;          // the channel whose address 바꾸기 replaces; -1 when 추가 appends
    char replaceTitle[FIND_CELL_SIZE];     // that row's title and address when the dialog opened
    char replaceAddress[FIND_CELL_SIZE];
    SearchRun *search;       // the last search; its results while listed
    ProbeRun *probe;
    long serial;
    int reasons[FIND_STATIONS_MAX];   // a ProbeReason, -1 while unknown
    int httpCodes[FIND_STATIONS_MAX];
} g_find;

static const char kUserAgent[] = "SetRadio/" SETRADIO_VERSION;

// ---- Texts: code page 949 or UTF-8 bytes into the Unicode controls.

static void ToWide(const char *text, UINT codePage, WCHAR *out, int size)
{
    // The whole text with its NUL, or nothing when it does not fit.
    if (MultiByteToWideChar(codePage, 0, text, -1, out, size) <= 0) out[0] = 0;
}

static void SetStatus(HWND dialog, const char *text)
{
    WCHAR wide[256];
    ToWide(text, 949, wide, 256);
    SendMessageW(GetDlgItem(dialog, IDC_FIND_STATUS), WM_SETTEXT, 0, (LPARAM)wide);
}

static void SetCell(HWND list, int row, int column, const char *text, UINT codePage)
{
    WCHAR wide[STATION_NAME_SIZE];
    ToWide(text, codePage, wide, STATION_NAME_SIZE);
    LVITEMW item;
    ZeroBytes(&item, sizeof item);
    item.iSubItem = column;
    item.pszText = wide;
    SendMessageW(list, LVM_SETITEMTEXTW, (WPARAM)row, (LPARAM)&item);
}

static void SetNumberCell(HWND list, int row, int column, int value)
{
    char number[16];
    FormatDecimal(number, sizeof number, value);
    SetCell(list, row, column, number, CP_UTF8);
}

// UTF-8 of an edit's text, trimmed.
static void ReadEditUtf8(HWND dialog, int id, char *out, int size)
{
    WCHAR wide[256];
    SendMessageW(GetDlgItem(dialog, id), WM_GETTEXT, 256, (LPARAM)wide);
    if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, size, 0, 0) <= 0) out[0] = 0;
    TrimText(out);
}

// ---- The search's worker.

// A run is freed by its last holder; holders is the first field of each kind of run.
static void ReleaseRun(void *run)
{
    if (run && PlatAtomicAdd((volatile long *)run, -1) == 0) PlatFree(run);
}

static void TakeStation(void *context, const DirectoryStation *station)
{
    SearchRun *run = (SearchRun *)context;
    StationChannel channel;
    if (StationToChannel(station, Utf8ToCodePage949, &channel) != STATION_OFFERED || run->count >= FIND_STATIONS_MAX) {
        run->leftOut++;
        return;
    }
    FoundStation *f = &run->found[run->count++];
    f->station = *station;
    f->channel = channel;
}

static unsigned NextRandom(void *)
{
    static volatile long seed;
    return (unsigned)PlatAtomicAdd(&seed, (long)(GetTickCount() | 1)) * 2654435761u >> 8;
}

static void PostUntilTaken(HWND window, UINT message, WPARAM wParam, LPARAM lParam, volatile long *cancelled)
{
    for (int i = 0; i < FIND_POST_TRIES && !PlatAtomicAdd(cancelled, 0); i++) {
        if (PostMessageA(window, message, wParam, lParam)) break;
        PlatSleep(10);
    }
}

static PlatThreadResult PLAT_THREAD_CALL SearchWorker(void *argument)
{
    SearchRun *run = (SearchRun *)argument;
    WebGet web;
    ZeroBytes(&web, sizeof web);
    web.userAgent = kUserAgent;
    DirectoryNet net = {LookupAddressesWithin, LookupNameWithin, WebGetWithin, NextRandom, DirectoryTick, &web};
    DirectorySearch search;
    ZeroBytes(&search, sizeof search);
    search.net = &net;
    search.baseUrl = run->baseUrl[0] ? run->baseUrl : 0;
    search.limitMs = DIRECTORY_SEARCH_MS;
    search.capacity = DIRECTORY_ANSWER_MAX + 1;
    search.body = (char *)PlatAlloc(search.capacity);
    search.visit = TakeStation;
    search.context = run;
    DirectoryQuery query = {run->name, run->country[0] ? run->country : 0, run->tag, FIND_STATIONS_MAX};
    run->status = search.body ? RunDirectorySearch(&search, &query) : DIRECTORY_UNREACHABLE;
    PlatFree(search.body);
    CopyText(run->server, sizeof run->server, search.server);
    PostUntilTaken(run->dialog, MSG_FIND_DONE, (WPARAM)run->serial, 0, &run->cancelled);
    ReleaseRun(run);
    return 0;
}

// ---- The probes of the 상태 column.

static PlatThreadResult PLAT_THREAD_CALL ProbeWorker(void *argument)
{
    ProbeRun *run = (ProbeRun *)argument;
    for (;;) {
        long index = PlatAtomicAdd(&run->next, 1) - 1;
        if (PlatAtomicAdd(&run->cancelled, 0) || index >= run->count) break;
        ProbeOutcome outcome;
        ProbeChannelAddress(run->urls[index], &outcome);
        unsigned code = outcome.httpCode < 0 ? 0u : outcome.httpCode > 0xFFFFF ? 0xFFFFFu : (unsigned)outcome.httpCode;
        LPARAM packed = (LPARAM)(((unsigned)run->serial & 0xFFu) | ((unsigned)outcome.reason & 0xFu) << 8 | code << 12);
        PostUntilTaken(run->dialog, MSG_FIND_CHECKED, (WPARAM)index, packed, &run->cancelled);
    }
    ReleaseRun(run);
    return 0;
}

// Stops the checks and forgets the results: their workers end on their own.
static void StopSearch(void)
{
    if (g_find.search) PlatAtomicAdd(&g_find.search->cancelled, 1);
    if (g_find.probe) PlatAtomicAdd(&g_find.probe->cancelled, 1);
    ReleaseRun(g_find.search);
    ReleaseRun(g_find.probe);
    g_find.search = 0;
    g_find.probe = 0;
}

static void StartProbes(HWND dialog, const SearchRun *search)
{
    ProbeRun *run = (ProbeRun *)PlatAlloc((int)sizeof(ProbeRun));
    if (!run) return;
    run->holders = 1;
    run->dialog = dialog;
    run->serial = g_find.serial;
    run->count = search->count;
    for (int i = 0; i < search->count; i++) CopyText(run->urls[i], sizeof run->urls[i], search->found[i].channel.address);
    for (int i = 0; i < CHECK_WORKERS && i < run->count; i++) {
        PlatAtomicAdd(&run->holders, 1);
        if (!PlatStartThread(ProbeWorker, run)) PlatAtomicAdd(&run->holders, -1);
    }
    g_find.probe = run;
}

static void OnProbeResult(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    ProbeRun *run = g_find.probe;
    if (!run || ((unsigned)lParam & 0xFFu) != ((unsigned)run->serial & 0xFFu)) return;   // a stopped check's
    int index = (int)wParam;
    if (index < 0 || index >= run->count) return;
    int reason = (int)(((unsigned)lParam >> 8) & 0xFu);
    g_find.reasons[index] = reason < PROBE_REASON_COUNT ? reason : PROBE_NO_ANSWER;
    g_find.httpCodes[index] = (int)(((unsigned)lParam >> 12) & 0xFFFFFu);
    char text[48];
    TextBuilder b;
    BuilderInit(&b, text, sizeof text);
    AppendProbeReason(&b, g_find.reasons[index], g_find.httpCodes[index]);
    SetCell(GetDlgItem(dialog, IDC_FIND_LIST), index, FIND_STATE_COLUMN, text, 949);
}

// ---- Searching.

static void OnFindSearch(HWND dialog)
{
    StopSearch();
    HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    SearchRun *run = (SearchRun *)PlatAlloc((int)sizeof(SearchRun));
    if (!run) goto failed;
    ReadEditUtf8(dialog, IDC_FIND_NAME, run->name, sizeof run->name);
    ReadEditUtf8(dialog, IDC_FIND_COUNTRY, run->country, sizeof run->country);
    ReadEditUtf8(dialog, IDC_FIND_TAG, run->tag, sizeof run->tag);
    ReadSetting("Directory", "Url", run->baseUrl, sizeof run->baseUrl);
    run->dialog = dialog;
    run->serial = ++g_find.serial;
    run->holders = 2;   // the dialog and the worker
    if (PlatStartThread(SearchWorker, run)) {
        g_find.search = run;
        SetStatus(dialog, TEXT_FIND_SEARCHING);
        return;
    }
    PlatFree(run);
failed:
    SetStatus(dialog, TEXT_FIND_CANNOT_START);
}

// The worker's answer: the offered stations listed in the directory's order, then their checks.
static void OnSearchDone(HWND dialog, WPARAM serial)
{
    SearchRun *run = g_find.search;
    if (!run || (long)serial != run->serial) return;   // a discarded search's
    char text[256];
    if (run->status != DIRECTORY_DONE) {
        const char *why = run->status == DIRECTORY_UNREACHABLE ? TEXT_FIND_UNREACHABLE
                        : run->status == DIRECTORY_TIMED_OUT ? TEXT_FIND_TIMED_OUT
                        : TEXT_FIND_BAD_ANSWER;
        SetStatus(dialog, why);
        return;
    }
    HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);   // drawn once, when every row is in
    for (int i = 0; i < run->count; i++) {
        const FoundStation *f = &run->found[i];
        WCHAR name[STATION_NAME_SIZE];
        ToWide(f->station.name, CP_UTF8, name, STATION_NAME_SIZE);
        LVITEMW item;
        ZeroBytes(&item, sizeof item);
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = name;
        int row = (int)SendMessageW(list, LVM_INSERTITEMW, 0, (LPARAM)&item);
        if (row < 0) continue;
        SetCell(list, row, 1, f->station.country, CP_UTF8);
        SetCell(list, row, 2, f->station.codec, CP_UTF8);
        SetNumberCell(list, row, 3, f->station.bitrate);
        SetNumberCell(list, row, 4, f->station.votes);
        SetCell(list, row, FIND_STATE_COLUMN, TEXT_FIND_CHECKING, 949);
        SetCell(list, row, 6, f->channel.address, CP_UTF8);
        g_find.reasons[i] = -1;
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, 0, TRUE);
    wsprintfA(text, TEXT_FIND_FOUND, run->count, run->leftOut);
    SetStatus(dialog, text);
    StartProbes(dialog, run);
}

// ---- Adding.

static PlatThreadResult PLAT_THREAD_CALL ClickWorker(void *argument)
{
    ClickRun *run = (ClickRun *)argument;
    WebGet web;
    ZeroBytes(&web, sizeof web);
    web.userAgent = kUserAgent;
    char body[512];
    for (int i = 0; i < run->count; i++) {
        int length = 0;
        WebGetWithin(&web, run->urls[i], DIRECTORY_SEARCH_MS, body, sizeof body, &length);
    }
    PlatFree(run);
    return 0;
}

// The clicks of stations that now stand in the channel list, counted by the directory.
static void StartClicks(ClickRun *clicks)
{
    if (!clicks->count || !PlatStartThread(ClickWorker, clicks)) PlatFree(clicks);
}

// Which selected stations are in doubt: 1 no stream behind them or not yet checked, 2 answering
// but not as ICY, 0 live.
static int DoubtOf(int index)
{
    int reason = g_find.reasons[index];
    if (reason < 0) return 1;
    int group = ProbeReasonGroup(reason);
    return group == PROBE_GROUP_NO_STREAM ? 1 : group == PROBE_GROUP_NOT_ICY ? 2 : 0;
}

static void AppendDoubtGroup(TextBuilder *b, const char *head, int doubt, const int *rows, int count)
{
    int total = 0, listed = 0;
    for (int i = 0; i < count; i++) total += DoubtOf(rows[i]) == doubt;
    BuilderAppend(b, head);
    BuilderAppendNumber(b, total);
    BuilderAppend(b, TEXT_CHECK_COUNT_UNIT "\n\n");
    for (int i = 0; i < count && listed < FIND_LINES; i++) {
        int index = rows[i];
        if (DoubtOf(index) != doubt) continue;
        BuilderAppendCut(b, g_find.search->found[index].channel.title, FIND_TITLE_SHOWN);
        BuilderAppend(b, " - ");
        if (g_find.reasons[index] < 0) BuilderAppend(b, TEXT_FIND_CHECKING);
        else AppendProbeReason(b, g_find.reasons[index], g_find.httpCodes[index]);
        BuilderAppend(b, "\n");
        listed++;
    }
    AppendMoreLine(b, total, listed);
}

// The question before adding: 1 when the doubtful stations are added too.
static int AskAboutDoubtful(HWND dialog, const int *rows, int count)
{
    int noStream = 0, notIcy = 0;
    for (int i = 0; i < count; i++) {
        noStream += DoubtOf(rows[i]) == 1;
        notIcy += DoubtOf(rows[i]) == 2;
    }
    if (!noStream && !notIcy) return 1;
    char *text = (char *)PlatAlloc(FIND_TEXT_SIZE);
    if (!text) return 0;
    TextBuilder b;
    BuilderInit(&b, text, FIND_TEXT_SIZE);
    if (noStream) AppendDoubtGroup(&b, TEXT_CHECK_NO_STREAM_HEAD, 1, rows, count);
    if (noStream && notIcy) BuilderAppend(&b, "\n");
    int replacing = g_find.replaceRow >= 0;
    if (notIcy) {
        AppendDoubtGroup(&b, TEXT_CHECK_NOT_ICY_HEAD, 2, rows, count);
        BuilderAppend(&b, replacing ? "\n" TEXT_FIND_NOT_ICY_REPLACED : "\n" TEXT_FIND_NOT_ICY_ADDED);
    }
    // The group ends its own line; the note after the second group does not.
    if (noStream) BuilderAppend(&b, notIcy ? "\n\n" : "\n");
    if (noStream) BuilderAppend(&b, replacing ? TEXT_FIND_REPLACE_ANYWAY_QUESTION : TEXT_FIND_ADD_ANYWAY_QUESTION);
    int all = noStream ? ShowMessage(dialog, text, MB_YESNO) == IDYES : (ShowMessage(dialog, text, MB_OK), 1);
    PlatFree(text);
    return all;
}

// What 추가 hands to the import: the selected rows, whether the doubtful ones go too, and where
// the clicks of the added stations are noted.
struct PickedStations {
    const SearchRun *run;
    const int *rows;
    int count;
    int all;
    ClickRun *clicks;
};

static void FeedSelected(PlaylistImport *im, const void *source)
{
    const PickedStations *job = (const PickedStations *)source;
    for (int i = 0; i < job->count; i++) {
        if (!job->all && DoubtOf(job->rows[i]) == 1) continue;
        const FoundStation *f = &job->run->found[job->rows[i]];
        int before = im->added;
        if (!ImportEntry(im, f->channel.address, f->channel.title)) break;
        ClickRun *clicks = job->clicks;
        if (im->added > before && BuildClickUrl(job->run->server, f->station.uuid, clicks->urls[clicks->count], DIRECTORY_URL_SIZE))
            clicks->count++;
    }
}

static void OnFindAdd(HWND dialog)
{
    SearchRun *run = g_find.search;
    HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
    int rows[FIND_STATIONS_MAX];
    PickedStations job = {run, rows, 0, 0, 0};
    for (int row = -1; run && job.count < FIND_STATIONS_MAX;) {
        row = (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)row, LVNI_SELECTED);
        if (row < 0 || row >= run->count) break;
        rows[job.count++] = row;
    }
    if (!job.count) return;
    job.all = AskAboutDoubtful(dialog, rows, job.count);
    job.clicks = (ClickRun *)PlatAlloc((int)sizeof(ClickRun));
    if (!job.clicks || g_find.search != run) {   // the dialog went while the question was open
        PlatFree(job.clicks);
        return;
    }
    ImportChannels(g_find.owner, FeedSelected, &job);
    StartClicks(job.clicks);
}

// 바꾸기: the one selected station's address replaces that of the channel the dialog was opened
// for, which keeps its title; then the dialog closes.
static void OnFindReplace(HWND dialog)
{
    SearchRun *run = g_find.search;
    HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
    int index = (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (!run || index < 0 || index >= run->count || SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) != 1) return;
    if (!AskAboutDoubtful(dialog, &index, 1) || g_find.search != run) return;
    HWND window = g_find.owner;
    const FoundStation *f = &run->found[index];
    int row = g_find.replaceRow;
    char title[FIND_CELL_SIZE], url[FIND_CELL_SIZE];
    GetListCellText(window, IDC_CHANNEL_LIST, row, 1, title, sizeof title);
    GetListCellText(window, IDC_CHANNEL_LIST, row, 2, url, sizeof url);
    if (row >= GetListRowCount(window, IDC_CHANNEL_LIST) || !TextEquals(title, g_find.replaceTitle) ||
        !TextEquals(url, g_find.replaceAddress))
        return;   // the channel changed meanwhile: nothing to replace
    int count = GetListRowCount(window, IDC_CHANNEL_LIST);
    for (int other = 0; other < count; other++) {
        if (other == row) continue;
        GetListCellText(window, IDC_CHANNEL_LIST, other, 2, url, sizeof url);
        if (TextEquals(url, f->channel.address)) {
            char text[FIND_CELL_SIZE + 128];
            wsprintfA(text, TEXT_IMPORT_SKIP_DUPLICATE, f->channel.address);
            ShowMessage(dialog, text, MB_OK);
            return;
        }
    }
    SetListCellText(window, IDC_CHANNEL_LIST, row, 2, f->channel.address);
    g_main.changedFlag = 1;
    ClickRun *clicks = (ClickRun *)PlatAlloc((int)sizeof(ClickRun));
    if (clicks) {
        if (BuildClickUrl(run->server, f->station.uuid, clicks->urls[0], DIRECTORY_URL_SIZE)) clicks->count = 1;
        StartClicks(clicks);
    }
    StopSearch();
    EndDialog(dialog, IDOK);
}

// ---- The dialog.

static void InitFindDialog(HWND dialog)
{
    static const char *const kColumns[FIND_COLUMNS] = {
        TEXT_FIND_NAME_LABEL, TEXT_FIND_COUNTRY_LABEL, TEXT_FIND_COLUMN_CODEC, TEXT_FIND_COLUMN_BITRATE,
        TEXT_FIND_COLUMN_VOTES, TEXT_FIND_COLUMN_STATE, TEXT_FIND_COLUMN_ADDRESS,
    };
    static const unsigned char kWidths[FIND_COLUMNS] = {84, 20, 24, 34, 24, 46, 130};   // dialog units
    HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < FIND_COLUMNS; i++) {
        WCHAR title[32];
        ToWide(kColumns[i], 949, title, 32);
        LVCOLUMNW column;
        ZeroBytes(&column, sizeof column);
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = SystemUnitsToPixelsX(dialog, kWidths[i]);
        column.pszText = title;
        SendMessageW(list, LVM_INSERTCOLUMNW, (WPARAM)i, (LPARAM)&column);
    }
    SendMessageW(GetDlgItem(dialog, IDC_FIND_COUNTRY), EM_LIMITTEXT, 2, 0);
    PrepareResizing(dialog);
    if (g_find.replaceRow >= 0) {
        // 다른 주소 찾기: the channel's title is searched at once; 바꾸기 waits for one station.
        SetControlText(dialog, IDC_FIND_ADD, TEXT_FIND_REPLACE_BUTTON);
        EnableControl(dialog, IDC_FIND_ADD, 0);
        SetControlText(dialog, IDC_FIND_NAME, g_find.replaceTitle);
        PostMessageW(dialog, WM_COMMAND, IDC_FIND_SEARCH, 0);
    }
}

// The list takes the growth; the buttons on the right and at the bottom follow the edges.
static void OnFindSize(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    int dx = 0, dy = 0;
    if (!TakeSizeDelta(dialog, wParam, lParam, &dx, &dy)) return;
    RECT status, list;
    GetWindowRect(GetDlgItem(dialog, IDC_FIND_STATUS), &status);
    GetWindowRect(GetDlgItem(dialog, IDC_FIND_LIST), &list);
    ApplyResizeDelta(dialog, status.right - 1, list.top + 1, dx, dy);
    InvalidateRect(dialog, 0, TRUE);
}

static INT_PTR CALLBACK FindDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitFindDialog(dialog);
        return TRUE;
    case WM_SIZE:
        OnFindSize(dialog, wParam, lParam);
        return FALSE;
    case WM_GETMINMAXINFO:
        SetMinTrackSize(dialog, (MINMAXINFO *)lParam, 240, 120);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_FIND_SEARCH: OnFindSearch(dialog); break;
        case IDC_FIND_ADD:
            if (g_find.replaceRow >= 0) OnFindReplace(dialog);
            else OnFindAdd(dialog);
            break;
        case IDCANCEL:
            StopSearch();
            EndDialog(dialog, IDCANCEL);
            break;
        default: break;
        }
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (g_find.replaceRow >= 0 && header->idFrom == IDC_FIND_LIST && header->code == LVN_ITEMCHANGED)
            EnableControl(dialog, IDC_FIND_ADD, SendMessageW(header->hwndFrom, LVM_GETSELECTEDCOUNT, 0, 0) == 1);
        return FALSE;
    }
    case MSG_FIND_DONE:
        OnSearchDone(dialog, wParam);
        return TRUE;
    case MSG_FIND_CHECKED:
        OnProbeResult(dialog, wParam, lParam);
        return TRUE;
    default:
        return FALSE;
    }
}

// Opens the dialog; replaceRow -1 appends stations, else it finds a new address for that channel.
static void OpenFindDialog(HWND window, int replaceRow)
{
    long serial = g_find.serial;   // kept, so a closed dialog's late results are told apart
    ZeroBytes(&g_find, sizeof g_find);
    g_find.serial = serial;
    g_find.owner = window;
    g_find.replaceRow = replaceRow;
    if (replaceRow >= 0) {
        GetListCellText(window, IDC_CHANNEL_LIST, replaceRow, 1, g_find.replaceTitle, sizeof g_find.replaceTitle);
        GetListCellText(window, IDC_CHANNEL_LIST, replaceRow, 2, g_find.replaceAddress, sizeof g_find.replaceAddress);
    }
    DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_FIND_STATIONS), window, FindDialogProc, 0);
    StopSearch();
}

void OnFindStationsCommand(HWND window)
{
    if (GetSelectedListRow(window, IDC_DEVICE_LIST, -1) < 0) {
        ShowMessage(window, TEXT_SELECT_DEVICE, MB_OK);
        return;
    }
    OpenFindDialog(window, -1);
}

void OnFindOtherAddressCommand(HWND window)
{
    int row = GetSelectedListRow(window, IDC_CHANNEL_LIST, -1);
    if (row < 0) {
        ShowMessage(window, TEXT_SELECT_CHANNEL_TO_MODIFY, MB_OK);
        return;
    }
    OpenFindDialog(window, row);
}
