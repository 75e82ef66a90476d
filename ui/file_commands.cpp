// file_commands.cpp: open and save settings files, import and export playlists, files named on the
// command line and files dropped on the window.
#include "ui/file_commands.h"
#include <shellapi.h>
#include "common/system_library.h"
#include "common/text.h"
#include "device/message.h"
#include "files/file_kind.h"
#include "files/playlist_export.h"
#include "files/playlist_import.h"
#include "res/resource.h"
#include "ui/channel_check.h"
#include "ui/channel_editor.h"
#include "winkit/code_page.h"
#include "ui/device_search.h"
#include "winkit/dialog_items.h"
#include "winkit/file_dialogs.h"
#include "winkit/file_io.h"
#include "ui/main_state.h"
#include "ui/form_fields.h"
#include "ui/settings_form.h"
#include "winkit/show_message.h"
#include "ui/texts.h"

// The file dialogs' filters, and the pair each command shows first.
static const char kFileFilters[] = TEXT_FILE_FILTERS;
enum FileDialogFilter { FILTER_SETTINGS = 1, FILTER_PLAYLISTS = 2 };

enum {
    PATH_SIZE = MAX_PATH,
    REPORT_SIZE = 1024,          // wsprintf writes at most 1024 characters
    STARTUP_FILES_MAX = 16,      // files taken from the command line
    DROPPED_FILES_MAX = 16,      // files taken from one drop
    NAME_ENDING_UNITS = 8        // the end of a file name that tells its kind
};

// Shows "'path'" and a line feed before text (949 bytes); the path keeps every character of its name.
static void ShowFileMessage(HWND window, const WCHAR *path, const char *text)
{
    WCHAR report[REPORT_SIZE];
    WCHAR words[REPORT_SIZE - PATH_SIZE - 8];
    WideFrom949(text, -1, words, sizeof words / sizeof words[0]);
    wsprintfW(report, L"'%s'\n%s", path, words);
    ShowWideMessage(window, report, MB_OK);
}

// Reads and checks a file. Returns a heap block with its text (the caller frees it) and sets *kind to
// FILE_SETTINGS or FILE_PLAYLIST; returns null after telling the user what is wrong with it.
static char *LoadCheckedFile(HWND window, const WCHAR *path, int *kind)
{
    char *raw = (char *)PlatAlloc(FILE_TEXT_MAX + 1);
    char *text = (char *)PlatAlloc(FILE_TEXT_MAX + 1);
    int found = FILE_UNREADABLE;
    int length = raw && text ? ReadWholeFile(path, raw, FILE_TEXT_MAX + 1) : -1;
    if (length >= 0) found = ReadFileText(raw, length, text, FILE_TEXT_MAX + 1, Utf8ToCodePage949);
    PlatFree(raw);
    char key[32];
    if (found == FILE_SETTINGS && FindValueHoldingKey(text, key, sizeof key)) {
        PlatFree(text);
        ShowFileMessage(window, path, TEXT_FILE_HOLDS_KEY);
        return 0;
    }
    if (found == FILE_SETTINGS || found == FILE_PLAYLIST) {
        *kind = found;
        return text;
    }
    PlatFree(text);
    const char *why = found == FILE_TOO_LARGE ? TEXT_FILE_TOO_LARGE
                    : found == FILE_HAS_NUL ? TEXT_FILE_NOT_TEXT
                    : found == FILE_OTHER ? TEXT_FILE_NOT_RECOGNIZED
                    : TEXT_FILE_READ_FAILED;
    ShowFileMessage(window, path, why);
    return 0;
}

// 1 when a device row is selected; otherwise tells the user, as the send does.
static int RequireDeviceRow(HWND window)
{
    if (GetSelectedListRow(window, IDC_DEVICE_LIST, -1) >= 0) return 1;
    ShowMessage(window, TEXT_SELECT_DEVICE, MB_OK);
    return 0;
}

// A settings text into the form and the ChannelList, as a device row's text is loaded.
static int ApplySettingsText(HWND window, const char *text)
{
    if (g_main.changedFlag && ShowMessage(window, TEXT_CONFIRM_REPLACE_CHANGES, MB_OKCANCEL) != IDOK) return 0;
    // Replies were handled while the question was open: a search may have emptied the DeviceList.
    if (!RequireDeviceRow(window)) return 0;
    LoadSettingsText(window, text);
    UpdateFormState(window);
    g_main.changedFlag = 1;
    return 1;
}

// Appends one imported row at the end of the ChannelList, numbered on.
static void AppendImportedRow(void *context, const char *title, const char *url)
{
    HWND window = (HWND)context;
    char number[16];
    int count = GetListRowCount(window, IDC_CHANNEL_LIST);
    FormatChannelNumber(number, count + 1);
    int row = InsertListRow(window, IDC_CHANNEL_LIST, count, number, 0);
    if (row < 0) return;
    SetListCellText(window, IDC_CHANNEL_LIST, row, 1, title);
    SetListCellText(window, IDC_CHANNEL_LIST, row, 2, url);
}

// The import's one report: counts, the first reasons, and whether it stopped early.
static void ShowImportReport(HWND window, const PlaylistImport *im)
{
    char report[REPORT_SIZE];
    char line[160];
    TextBuilder b;
    BuilderInit(&b, report, sizeof report);
    wsprintfA(line, TEXT_IMPORT_RESULT, im->added, im->skipped);
    BuilderAppend(&b, line);
    for (int i = 0; i < im->reasonCount; i++) {
        const char *format = im->reasons[i] == SKIP_TOO_LONG ? TEXT_IMPORT_SKIP_TOO_LONG
                           : im->reasons[i] == SKIP_NOT_HTTP ? TEXT_IMPORT_SKIP_NOT_HTTP
                           : im->reasons[i] == SKIP_HOLDS_KEY ? TEXT_IMPORT_SKIP_HOLDS_KEY
                           : TEXT_IMPORT_SKIP_DUPLICATE;
        wsprintfA(line, format, im->skippedAddresses[i]);
        BuilderAppend(&b, "\n");
        BuilderAppend(&b, line);
    }
    if (im->skipped > im->reasonCount) BuilderAppend(&b, "\n...");
    if (im->stopped) {
        BuilderAppend(&b, "\n");
        BuilderAppend(&b, TEXT_IMPORT_STOPPED);
    }
    ShowMessage(window, report, MB_OK);
}

int ImportChannels(HWND window, ImportFeed feed, const void *source)
{
    char *work = (char *)PlatAlloc(SETT_WORK_BLOCK);
    char *addresses = (char *)PlatAlloc(DEVICE_MESSAGE_MAX);
    if (!work || !addresses) {
        PlatFree(work);
        PlatFree(addresses);
        return 0;
    }
    // Room left in the SETT that a send of the list would compose now.
    int length = ComposeFormSett(window, GetSelectedListRow(window, IDC_DEVICE_LIST, -1), work);
    AddressSet known;
    AddressSetInit(&known, addresses, DEVICE_MESSAGE_MAX);
    int count = GetListRowCount(window, IDC_CHANNEL_LIST);
    char url[DEVICE_VALUE_SIZE];
    for (int row = 0; row < count; row++) {
        GetListCellText(window, IDC_CHANNEL_LIST, row, 2, url, sizeof url);
        AddressSetAdd(&known, url);
    }
    PlaylistImport im;
    ZeroBytes(&im, sizeof im);
    im.known = &known;
    im.nextNumber = count + 1;
    im.roomBytes = length < 0 ? 0 : DEVICE_MESSAGE_MAX - 1 - length;
    im.addRow = AppendImportedRow;
    im.context = (void *)window;
    HWND list = GetDlgItem(window, IDC_CHANNEL_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    feed(&im, source);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, 0, TRUE);
    UpdateWindow(list);
    PlatFree(work);
    PlatFree(addresses);
    if (im.added) g_main.changedFlag = 1;
    ShowImportReport(window, &im);
    return im.added;
}

static void FeedPlaylistText(PlaylistImport *im, const void *text)
{
    ImportPlaylist((const char *)text, im);
}

// A playlist's rows appended to the ChannelList under the import rules, then one report.
static int ApplyPlaylistText(HWND window, const char *text)
{
    return ImportChannels(window, FeedPlaylistText, text) > 0;
}

static int ApplyText(HWND window, const char *text, int kind)
{
    return kind == FILE_SETTINGS ? ApplySettingsText(window, text) : ApplyPlaylistText(window, text);
}

int ApplyFileByContent(HWND window, const WCHAR *path)
{
    if (!RequireDeviceRow(window)) return 0;
    int kind = FILE_OTHER;
    char *text = LoadCheckedFile(window, path, &kind);
    if (!text) return 0;
    int applied = ApplyText(window, text, kind);
    PlatFree(text);
    return applied;
}

// Open and import differ only in the dialog's first filter: the content decides what happens.
static void OpenThroughDialog(HWND window, int filter)
{
    if (!RequireDeviceRow(window)) return;
    WCHAR path[PATH_SIZE];
    if (!AskFileToOpen(window, kFileFilters, filter, path, PATH_SIZE)) return;
    ApplyFileByContent(window, path);
}

void OnOpenSettingsCommand(HWND window) { OpenThroughDialog(window, FILTER_SETTINGS); }
void OnImportPlaylistCommand(HWND window) { OpenThroughDialog(window, FILTER_PLAYLISTS); }

void OnSaveSettingsCommand(HWND window)
{
    if (!CheckFormFields(window)) return;
    WCHAR path[PATH_SIZE];
    if (!AskFileToSave(window, kFileFilters, FILTER_SETTINGS, L"txt", path, PATH_SIZE)) return;
    char *work = (char *)PlatAlloc(SETT_WORK_BLOCK);
    if (!work) return;
    int length = ComposeFormSett(window, GetSelectedListRow(window, IDC_DEVICE_LIST, -1), work);
    if (length < 0) ShowMessage(window, TEXT_SETTINGS_TOO_LONG_TO_SAVE, MB_OK);
    else if (!RefuseValueHoldingKey(window, work) && !ReplaceFileContentW(path, work, length))
        ShowFileMessage(window, path, TEXT_FILE_WRITE_FAILED);
    PlatFree(work);
}

// The end of a file name in 949, enough to tell its extension (other characters become '?').
static const char *NameEnding(const WCHAR *path, char *ending, int size)
{
    int n = 0;
    while (path[n]) n++;
    WideTo949(path + (n > NAME_ENDING_UNITS ? n - NAME_ENDING_UNITS : 0), ending, size);
    return ending;
}

static void ReadPlaylistCell(void *context, int row, int column, char *buffer, int size)
{
    GetListCellText((HWND)context, IDC_CHANNEL_LIST, row, column, buffer, size);
}

void OnExportPlaylistCommand(HWND window)
{
    WCHAR path[PATH_SIZE];
    if (!AskFileToSave(window, kFileFilters, FILTER_PLAYLISTS, L"pls", path, PATH_SIZE)) return;
    char ending[NAME_ENDING_UNITS * 2 + 1];
    int count = GetListRowCount(window, IDC_CHANNEL_LIST);
    int capacity = PlaylistCapacity(count);
    char *text = (char *)PlatAlloc(capacity);
    if (!text) return;
    int length = WritePlaylist(PlaylistFormatForName(NameEnding(path, ending, sizeof ending)), count, ReadPlaylistCell, (void *)window, text, capacity,
                               CodePage949ToUtf8);
    if (length < 0 || !ReplaceFileContentW(path, text, length)) ShowFileMessage(window, path, TEXT_FILE_WRITE_FAILED);
    PlatFree(text);
}

void FinishDrop(HDROP drop)
{
    auto finish = SYSTEM_CALL(L"shell32.dll", DragFinish);
    if (finish) finish(drop);
}

void OnDropFiles(HWND window, HDROP drop)
{
    // The names are copied first, so the drop is finished before any box opens.
    WCHAR *paths = (WCHAR *)PlatAlloc(DROPPED_FILES_MAX * PATH_SIZE * (int)sizeof(WCHAR));
    int count = 0;
    auto queryFile = SYSTEM_CALL(L"shell32.dll", DragQueryFileW);
    if (paths && queryFile) {
        UINT dropped = queryFile(drop, 0xFFFFFFFF, 0, 0);
        for (UINT i = 0; i < dropped && count < DROPPED_FILES_MAX; i++)
            if (queryFile(drop, i, paths + count * PATH_SIZE, PATH_SIZE)) count++;
    }
    FinishDrop(drop);
    if (count && RequireDeviceRow(window))
        for (int i = 0; i < count; i++) ApplyFileByContent(window, paths + i * PATH_SIZE);
    PlatFree(paths);
}

// ---- files named on the command line ----

struct StartupFile {
    char *text;   // heap block, or null
    int kind;
};
static StartupFile g_startupFiles[STARTUP_FILES_MAX];
static int g_startupFileCount;

int TakeStartupFile(HWND window, const WCHAR *path)
{
    if (g_startupFileCount >= STARTUP_FILES_MAX) return 0;
    int kind = FILE_OTHER;
    char *text = LoadCheckedFile(window, path, &kind);
    if (!text) return 0;
    g_startupFiles[g_startupFileCount].text = text;
    g_startupFiles[g_startupFileCount].kind = kind;
    g_startupFileCount++;
    return 1;
}

void TakeCommandLineFiles(HWND window)
{
    int count = 0;
    auto split = SYSTEM_CALL(L"shell32.dll", CommandLineToArgvW);
    WCHAR **arguments = split ? split(GetCommandLineW(), &count) : 0;
    if (!arguments) return;
    // The first argument is the program itself; words that name no file are left alone as before.
    for (int i = 1; i < count && g_startupFileCount < STARTUP_FILES_MAX; i++) {
        DWORD attributes = GetFileAttributesW(arguments[i]);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        TakeStartupFile(window, arguments[i]);
    }
    LocalFree(arguments);
}

void ApplyStartupFiles(HWND window)
{
    // Never under the check of every channel: they wait for the next row loaded after it.
    if (IsChannelCheckBusy()) return;
    // Taken off the list first: the boxes they open may let another row click through.
    StartupFile files[STARTUP_FILES_MAX];
    int count = g_startupFileCount;
    for (int i = 0; i < count; i++) files[i] = g_startupFiles[i];
    g_startupFileCount = 0;
    for (int i = 0; i < count; i++) {
        ApplyText(window, files[i].text, files[i].kind);
        PlatFree(files[i].text);
    }
}

void ForgetStartupFiles(void)
{
    for (int i = 0; i < g_startupFileCount; i++) PlatFree(g_startupFiles[i].text);
    g_startupFileCount = 0;
}
