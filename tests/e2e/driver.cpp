// driver.cpp: drives a running SetRadio window from another process in the same Wine session,
// as a person would, and checks what the window shows. Used by the end-to-end scripts and the benchmark.
//
// Usage: e2e_driver SCRIPT            one command per line; '#' starts a comment
// Tokens are separated by blanks; "double quoted" tokens may hold blanks (\" and \\ inside).
// Texts in the script are UTF-8; the driver compares them with what the window shows.
// Control and list ids are numbers (101 DeviceList, 110 ChannelList, ...). Each command prints
// one line; the first failing check prints "FAIL ..." and ends the driver with exit code 1.
// After the last command the driver prints "DONE n steps" (n commands run) and exits with 0.
//
//   window [ms]                      wait for the window of class RecordMainDlg
//   press ID                         click a button (WM_COMMAND with BN_CLICKED)
//   dialog CAPTION [ms]              wait for the program's dialog with this caption; control
//                                    commands address it from now on
//   main                             control commands address the main window again
//   expect-closed [ms]               the dialog addressed has closed (then: the main window)
//   select-rows LIST [ROW...]        select exactly these rows
//   wait-cells LIST COL TEXT MS [FILE] wait until no cell of the column is TEXT or empty; the
//                                    time waited (ms) to FILE
//   radio ID                         choose one of the mode radio buttons 90..92
//   settext ID TEXT                  type a text into an edit
//   expect-text ID TEXT              the control's text
//   expect-enabled ID 0|1 [ms] / expect-visible ID 0|1 [ms] / expect-checked ID 0|1 [ms]
//   expect-focus ID                  the keyboard focus of the window's thread
//   expect-rows LIST N [ms]          wait until the list has N rows
//   expect-cell LIST ROW COL TEXT    one list cell
//   expect-selected LIST ROW         the selected row (-1: none)
//   click-row LIST ROW               left click on the row (mouse messages to the list)
//   click-empty LIST                 left click below the last row
//   drag-row LIST FROM TO            press on FROM, move over TO, release
//   alt-key LIST up|down             Alt+Up or Alt+Down in the list
//   key LIST VK                      a key press in the list (46: Delete)
//   box OK|CANCEL|YES|NO TEXT [ms]   wait for a message box, check its whole text, answer it
//   box-contains OK|CANCEL TEXT [ms] the same, the text only has to contain TEXT
//   expect-box TEXT [ms]             wait for a message box with this whole text and leave it open
//   no-box MS                        no message box appears within MS
//   dump-box FILE [ms]               wait for a message box, write its text (UTF-8) to FILE, leave it open
//   dump-rows LIST FILE              every row, columns joined by tabs, UTF-8
//   dump-copy ROW FILE               the SettingsText the DeviceList row keeps, byte for byte
//   dump-copies FILE                 every row's kept text, each followed by one NUL
//   dump-sett FILE                   the SETT text the form shows now (no NUL), code page 949 bytes
//   close                            the close command (IDCANCEL)
//   expect-gone [ms]                 the window no longer exists
//   show SW                          ShowWindow of the main window (6: minimise, 9: restore)
//   sleep MS / mark LABEL            pause / print LABEL with the wall-clock time in ms
//   wait-lines FILE TEXT N [ms]      wait until FILE (written by another process) holds N lines
//                                    that begin with TEXT
//   bench-search ROWS MS FILE        press search, wait for ROWS rows, write the figures to FILE
//   bench-send MS FILE               press send, answer the confirmation, wait for "saved", figures to FILE
//   ping-start                       ping the window (WM_NULL) every 20 ms from now on
//   ping-stop FILE                   stop; FILE gets the longest unresponsive time and the time pinged
//   working-set FILE                 the program's working set and its peak, in bytes
//   touch FILE                       create an empty FILE (a sign for the script to go on)
//   expect-code-page N               the session's ANSI code page (949 Korean, 1252 Western)
//   escape                           the Esc key to the window's thread (closes an open menu)
//   file-dialog PATH [ms]            wait for an open or save dialog, type PATH (a Windows path) and press OK
//   bench-import ID PATH FILE        command ID (2003), answer its dialog with PATH, wait for the report box
//                                    (the rows are drawn before it opens), answer it; figures to FILE
//   bench-box ID MS FILE             press ID (button or command), wait up to MS for a message box and
//                                    leave it open; the time to the box and the longest unresponsive
//                                    time (WM_NULL every 20 ms) to FILE
//   screen-point ID FILE [ms]        wait until the control is enabled, then write the screen
//                                    position of its centre ("X Y") to FILE, for a real click
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

HWND g_window;
HANDLE g_process;
char *g_remote;                 // a block in the program's address space for list view requests
const int REMOTE_SIZE = 1 << 16;
int g_line;

std::wstring Wide(const std::string &utf8)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, 0, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &w[0], n);
    return w;
}

std::string Utf8(const std::wstring &w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, 0, 0, 0, 0);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &s[0], n, 0, 0);
    return s;
}

long long WallMs()
{
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    unsigned long long t = ((unsigned long long)ft.dwHighDateTime << 32) | ft.dwLowDateTime;
    return (long long)((t - 116444736000000000ULL) / 10000ULL);
}

double NowMs()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

[[noreturn]] void Fail(const std::string &what)
{
    printf("FAIL line %d: %s\n", g_line, what.c_str());
    fflush(stdout);
    exit(1);
}

HWND g_dialog;   // the dialog that control commands address after "dialog"; 0: the main window

HWND Item(int id)
{
    HWND h = GetDlgItem(g_dialog ? g_dialog : g_window, id);
    if (!h) Fail("no control " + std::to_string(id));
    return h;
}

// ---- remote list view requests ----

void RemoteWrite(int offset, const void *data, size_t size)
{
    if (!WriteProcessMemory(g_process, g_remote + offset, data, size, 0)) Fail("WriteProcessMemory");
}

void RemoteRead(const void *address, void *data, size_t size)
{
    if (!ReadProcessMemory(g_process, address, data, size, 0)) Fail("ReadProcessMemory");
}

int RowCount(HWND list) { return (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); }

std::wstring CellW(HWND list, int row, int column)
{
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = (LPWSTR)(g_remote + 1024);
    item.cchTextMax = 8192;
    WCHAR zero = 0;
    RemoteWrite(1024, &zero, sizeof zero);
    RemoteWrite(0, &item, sizeof item);
    SendMessageW(list, LVM_GETITEMTEXTW, (WPARAM)row, (LPARAM)g_remote);
    std::vector<WCHAR> text(8192);
    RemoteRead(g_remote + 1024, text.data(), text.size() * sizeof(WCHAR));
    text.back() = 0;
    return text.data();
}

// UTF-16 as the program's wire code page, 949, whatever the system's code page.
std::string To949(const std::wstring &w)
{
    int n = WideCharToMultiByte(949, 0, w.c_str(), -1, 0, 0, "?", 0);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(949, 0, w.c_str(), -1, &s[0], n, "?", 0);
    return s;
}

// The cell as code page 949 bytes, as the program reads it to compose what it sends.
std::string Cell949(HWND list, int row, int column) { return To949(CellW(list, row, column)); }

RECT RowRect(HWND list, int row)
{
    RECT r = {};
    r.left = LVIR_BOUNDS;
    RemoteWrite(0, &r, sizeof r);
    if (!SendMessageW(list, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)g_remote)) Fail("no rectangle for row " + std::to_string(row));
    RemoteRead(g_remote, &r, sizeof r);
    return r;
}

LPARAM RowData(HWND list, int row)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    RemoteWrite(0, &item, sizeof item);
    if (!SendMessageW(list, LVM_GETITEMW, 0, (LPARAM)g_remote)) return 0;
    RemoteRead(g_remote, &item, sizeof item);
    return item.lParam;
}

// The NUL-terminated text at a pointer of the program's address space.
std::string RemoteText(LPARAM address)
{
    std::string out;
    char chunk[4096];
    const char *p = (const char *)address;
    for (;;) {
        SIZE_T got = 0;
        // Read page by page: the block may end just after its NUL.
        size_t room = 4096 - ((size_t)p & 4095);
        if (!ReadProcessMemory(g_process, p, chunk, room, &got) || got == 0) Fail("cannot read a kept text");
        for (SIZE_T i = 0; i < got; i++) {
            if (!chunk[i]) return out;
            out += chunk[i];
        }
        p += got;
    }
}

int SelectedRow(HWND list) { return (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, MAKELPARAM(LVNI_SELECTED, 0)); }

// Puts the pointer on a client point of the list: the list view watches the real pointer while
// a button is down, and a pointer elsewhere would turn the click into a drag.
void PointAt(HWND list, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(list, &p);
    SetCursorPos(p.x, p.y);
    Sleep(30);
}

void MouseMessage(HWND list, UINT message, WPARAM keys, int x, int y)
{
    PointAt(list, x, y);
    PostMessageW(list, message, keys, MAKELPARAM(x, y));
}

// Posts a button press and release that the program takes one right after the other. Any mouse
// move handled between them ends the list view's click without NM_CLICK, and Wine queues one of
// its own whenever the press releases the capture. So the program's thread is held while both are
// posted: posted messages come before input, and the release waits in the queue for the press.
void Click(HWND list, int x, int y)
{
    PointAt(list, x, y);
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(list, 0));
    if (!thread || SuspendThread(thread) == (DWORD)-1) Fail("cannot hold the program's thread for a click");
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ResumeThread(thread);
    CloseHandle(thread);
}

// Waits until the program has handled everything posted so far.
// Sent messages overtake posted ones, so a pause lets the posted input be handled as well.
void Settle(int ms = 20000)
{
    DWORD_PTR result;
    if (!SendMessageTimeoutW(g_window, WM_NULL, 0, 0, SMTO_NORMAL, (UINT)ms, &result)) Fail("the window does not respond");
    Sleep(60);
    if (!SendMessageTimeoutW(g_window, WM_NULL, 0, 0, SMTO_NORMAL, (UINT)ms, &result)) Fail("the window does not respond");
}

// Checks a condition until it holds or EXPECT_MS pass (posted input may still be on its way);
// describe() tells what was seen when it never held.
const int EXPECT_MS = 5000;
template <class Condition, class Describe>
void Expect(Condition condition, Describe describe, int ms = EXPECT_MS)
{
    double end = NowMs() + ms;
    while (!condition()) {
        if (NowMs() > end) Fail(describe());
        Sleep(20);
    }
}

// ---- message boxes ----

struct BoxSearch { DWORD pid; HWND found; };

BOOL CALLBACK FindBox(HWND w, LPARAM lParam)
{
    BoxSearch *s = (BoxSearch *)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    WCHAR cls[32];
    GetClassNameW(w, cls, 32);
    if (pid == s->pid && w != g_window && w != g_dialog && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM lParam)
{
    WCHAR cls[32];
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, L"Static") != 0) return TRUE;
    WCHAR text[2048];
    GetWindowTextW(child, text, 2048);
    std::wstring *best = (std::wstring *)lParam;
    if (lstrlenW(text) > (int)best->size()) *best = text;
    return TRUE;
}

HWND WaitBox(int ms)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(g_window, &pid);
    double end = NowMs() + ms;
    do {
        BoxSearch s = {pid, 0};
        EnumWindows(FindBox, (LPARAM)&s);
        if (s.found) return s.found;
        Sleep(10);
    } while (NowMs() < end);
    return 0;
}

std::wstring BoxText(HWND box)
{
    std::wstring text;
    EnumChildWindows(box, LongestStatic, (LPARAM)&text);
    return text;
}

void AnswerBox(HWND box, const std::string &answer)
{
    int id = answer == "OK" ? IDOK : answer == "CANCEL" ? IDCANCEL : answer == "YES" ? IDYES : answer == "NO" ? IDNO : 0;
    if (!id) Fail("answer must be OK, CANCEL, YES or NO");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    for (int i = 0; i < 500 && IsWindow(box); i++) Sleep(10);
    if (IsWindow(box)) Fail("the box did not close");
}

// ---- open and save dialogs ----

const int FILE_NAME_COMBO = 0x47c, FILE_NAME_EDIT = 0x480;

HWND FileNameBox(HWND dialog)
{
    HWND box = GetDlgItem(dialog, FILE_NAME_COMBO);
    return box ? box : GetDlgItem(dialog, FILE_NAME_EDIT);
}

// Waits for the dialog, types the name and presses OK; returns when the dialog has closed.
void AnswerFileDialog(const std::string &path, int ms)
{
    double end = NowMs() + ms;
    HWND dialog = 0;
    while (!(dialog = WaitBox(50)) || !FileNameBox(dialog)) {
        if (NowMs() > end) Fail("no file dialog");
    }
    Sleep(100);   // let the dialog finish setting itself up
    SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, (LPARAM)Wide(path).c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int i = 0; i < 500 && IsWindow(dialog); i++) Sleep(10);
    if (IsWindow(dialog)) Fail("the file dialog did not take " + path);
}

// ---- the SETT the form shows ----

std::string Control949(int id)
{
    std::vector<WCHAR> text(4096, 0);
    SendMessageW(Item(id), WM_GETTEXT, (WPARAM)text.size(), (LPARAM)text.data());
    std::string s = To949(text.data());
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::string Cut(const std::string &s) { return s.size() > 127 ? s.substr(0, 127) : s; }

std::string FormSett()
{
    int mode = -1;
    for (int i = 0; i < 3; i++)
        if (SendMessageW(Item(90 + i), BM_GETCHECK, 0, 0) == BST_CHECKED) mode = i;
    HWND devices = Item(101), channels = Item(110);
    int row = SelectedRow(devices);
    if (row < 0) Fail("no device row selected");
    std::string t = "OpCode=SETT\r\nDhcpMode=" + std::to_string(mode) + "\r\n";
    t += "MacAddr=" + Cut(Cell949(devices, row, 0)) + "\r\n";
    const char *keys[] = {"LocalIP", "SubnetMask", "GatewayIP", "DNS_IP", "PPPoEID", "PPPoEPsw", "PlsUrl1", "PlsUrl2"};
    const int ids[] = {104, 105, 106, 107, 124, 126, 108, 109};
    for (int i = 0; i < 8; i++) t += std::string(keys[i]) + "=" + Cut(Control949(ids[i])) + "\r\n";
    int n = RowCount(channels);
    t += "NumberOfEntries=" + std::to_string(n) + "\r\n";
    for (int i = 0; i < n; i++) {
        t += "File" + std::to_string(i + 1) + "=" + Cut(Cell949(channels, i, 2)) + "\r\n";
        t += "Title" + std::to_string(i + 1) + "=" + Cut(Cell949(channels, i, 1)) + "\r\n";
    }
    return t;
}

void WriteFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    if (!out) Fail("cannot write " + path);
}

// ---- the benchmark: longest time the window did not answer ----

struct Pinger {
    std::atomic<bool> stop{false};
    std::atomic<double> longest{0};
    std::atomic<double> longestAt{0};   // when the longest began, in ms of the wall clock
    std::thread thread;
    DWORD pauseMs = 10;
    void Start()
    {
        thread = std::thread([this] {
            while (!stop) {
                double t = NowMs();
                DWORD_PTR r;
                // A limit longer than any wait of the program: the figure is the whole wait.
                SendMessageTimeoutW(g_window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &r);
                double d = NowMs() - t;
                if (d > longest) {
                    longest = d;
                    longestAt = t;
                }
                Sleep(pauseMs);
            }
        });
    }
    void Stop()
    {
        stop = true;
        if (thread.joinable()) thread.join();
    }
};

Pinger *g_pinger;       // the ping-start ... ping-stop measurement, while it runs
double g_pingStart;

int Number(const std::vector<std::string> &a, size_t i)
{
    if (i >= a.size()) Fail("missing argument " + std::to_string(i));
    return atoi(a[i].c_str());
}

const std::string &Arg(const std::vector<std::string> &a, size_t i)
{
    if (i >= a.size()) Fail("missing argument " + std::to_string(i));
    return a[i];
}

std::vector<std::string> Tokens(const std::string &line)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) i++;
        if (i >= line.size() || line[i] == '#') break;
        std::string token;
        if (line[i] == '"') {
            for (i++; i < line.size() && line[i] != '"'; i++) {
                if (line[i] == '\\' && i + 1 < line.size()) i++;
                token += line[i];
            }
            i++;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') token += line[i++];
        }
        out.push_back(token);
    }
    return out;
}

void OpenWindow(int ms)
{
    double end = NowMs() + ms;
    while (!(g_window = FindWindowW(L"RecordMainDlg", 0))) {
        if (NowMs() > end) Fail("no RecordMainDlg window");
        Sleep(20);
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(g_window, &pid);
    g_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!g_process) Fail("OpenProcess");
    g_remote = (char *)VirtualAllocEx(g_process, 0, REMOTE_SIZE, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!g_remote) Fail("VirtualAllocEx");
    Settle();
}

void Run(const std::vector<std::string> &a)
{
    const std::string &c = a[0];
    if (c == "window") {
        OpenWindow(a.size() > 1 ? Number(a, 1) : 30000);
        return;
    }
    if (!g_window && c != "sleep" && c != "mark" && c != "wait-lines") Fail("no window yet");
    if (c == "press") {
        int id = Number(a, 1);
        HWND target = g_dialog ? g_dialog : g_window;
        PostMessageW(target, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(target, id));
    } else if (c == "dialog") {
        // The program's other window with this caption becomes the target of control commands.
        double end = NowMs() + (a.size() > 2 ? Number(a, 2) : 10000);
        std::wstring caption = Wide(Arg(a, 1));
        DWORD pid = 0;
        GetWindowThreadProcessId(g_window, &pid);
        g_dialog = 0;
        while (!g_dialog) {
            HWND w = FindWindowW(L"#32770", caption.c_str());
            DWORD owner = 0;
            if (w) GetWindowThreadProcessId(w, &owner);
            if (w && owner == pid && IsWindowVisible(w)) g_dialog = w;
            else if (NowMs() > end) Fail("no dialog \"" + a[1] + "\"");
            else Sleep(20);
        }
        Settle();
    } else if (c == "main") {
        g_dialog = 0;
    } else if (c == "expect-closed") {
        double end = NowMs() + (a.size() > 1 ? Number(a, 1) : 10000);
        while (g_dialog && IsWindow(g_dialog) && IsWindowVisible(g_dialog) && NowMs() < end) Sleep(20);
        if (g_dialog && IsWindow(g_dialog) && IsWindowVisible(g_dialog)) Fail("the dialog is still open");
        g_dialog = 0;
    } else if (c == "select-rows") {
        // Exactly these rows selected (none when only LIST is given).
        HWND list = Item(Number(a, 1));
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED;
        RemoteWrite(0, &item, sizeof item);
        SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)g_remote);
        item.state = LVIS_SELECTED;
        RemoteWrite(0, &item, sizeof item);
        for (size_t i = 2; i < a.size(); i++) SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)Number(a, i), (LPARAM)g_remote);
        Settle();
    } else if (c == "wait-cells") {
        // Until no row of column COL reads TEXT (every cell filled), then the time waited to FILE.
        HWND list = Item(Number(a, 1));
        int column = Number(a, 2);
        std::wstring pending = Wide(Arg(a, 3));
        double start = NowMs(), end = start + Number(a, 4);
        int left = -1;
        for (;;) {
            left = 0;
            for (int r = 0; r < RowCount(list); r++) left += CellW(list, r, column) == pending || CellW(list, r, column).empty();
            if (!left || NowMs() > end) break;
            Sleep(20);
        }
        if (left) Fail(std::to_string(left) + " cells of column " + a[2] + " still unfilled");
        if (a.size() > 5) WriteFile(Arg(a, 5), std::to_string((long long)(NowMs() - start)) + "\n");
    } else if (c == "radio") {
        int id = Number(a, 1);
        for (int i = 90; i <= 92; i++) SendMessageW(Item(i), BM_SETCHECK, i == id ? BST_CHECKED : BST_UNCHECKED, 0);
        PostMessageW(g_window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)Item(id));
        Settle();
    } else if (c == "settext") {
        SendMessageW(Item(Number(a, 1)), WM_SETTEXT, 0, (LPARAM)Wide(Arg(a, 2)).c_str());
    } else if (c == "expect-text") {
        HWND h = Item(Number(a, 1));
        std::string got;
        Expect([&] {
            WCHAR text[4096] = {0};
            // Another process's edit answers only WM_GETTEXT with its current text.
            SendMessageW(h, WM_GETTEXT, 4096, (LPARAM)text);
            got = Utf8(text);
            return got == Arg(a, 2);
        }, [&] { return "text of " + a[1] + " is \"" + got + "\", expected \"" + a[2] + "\""; });
    } else if (c == "expect-enabled" || c == "expect-visible" || c == "expect-checked") {
        HWND h = Item(Number(a, 1));
        int want = Number(a, 2), got = 0;
        Expect([&] {
            got = c == "expect-enabled" ? IsWindowEnabled(h) != 0
                : c == "expect-visible" ? (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE) != 0
                : SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
            return got == want;
        }, [&] { return c + " " + a[1] + ": got " + std::to_string(got); }, a.size() > 3 ? Number(a, 3) : EXPECT_MS);
    } else if (c == "expect-focus") {
        HWND want = Item(Number(a, 1)), got = 0;
        Expect([&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(GetWindowThreadProcessId(g_window, 0), &info);
            got = info.hwndFocus;
            return got == want;
        }, [&] { return "focus is on control " + std::to_string(GetDlgCtrlID(got)); });
    } else if (c == "expect-rows") {
        HWND list = Item(Number(a, 1));
        int want = Number(a, 2);
        double end = NowMs() + (a.size() > 3 ? Number(a, 3) : EXPECT_MS);
        int got;
        while ((got = RowCount(list)) != want && NowMs() < end) Sleep(10);
        if (got != want) Fail("list " + a[1] + " has " + std::to_string(got) + " rows, expected " + a[2]);
    } else if (c == "expect-cell") {
        HWND list = Item(Number(a, 1));
        std::string got;
        Expect([&] {
            got = Utf8(CellW(list, Number(a, 2), Number(a, 3)));
            return got == Arg(a, 4);
        }, [&] { return "cell " + a[2] + "," + a[3] + " is \"" + got + "\", expected \"" + a[4] + "\""; });
    } else if (c == "expect-selected") {
        HWND list = Item(Number(a, 1));
        int got = 0;
        Expect([&] { return (got = SelectedRow(list)) == Number(a, 2); },
               [&] { return "selected row is " + std::to_string(got); });
    } else if (c == "click-row") {
        HWND list = Item(Number(a, 1));
        RECT r = RowRect(list, Number(a, 2));
        Click(list, r.left + 8, (r.top + r.bottom) / 2);
        Settle();
    } else if (c == "click-empty") {
        HWND list = Item(Number(a, 1));
        RECT client;
        GetClientRect(list, &client);
        int n = RowCount(list);
        int y = n ? RowRect(list, n - 1).bottom + 4 : client.bottom / 2;
        if (y >= client.bottom) Fail("no empty space below the rows");
        Click(list, 8, y);
        Settle();
    } else if (c == "drag-row") {
        HWND list = Item(Number(a, 1));
        RECT from = RowRect(list, Number(a, 2)), to = RowRect(list, Number(a, 3));
        int x = from.left + 8, y0 = (from.top + from.bottom) / 2, y1 = (to.top + to.bottom) / 2;
        MouseMessage(list, WM_LBUTTONDOWN, MK_LBUTTON, x, y0);
        // Far enough to start a drag, then over the target row, then release. The pointer stays
        // where the button went down: moving it would end the list view's drag detection.
        PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 12, y0 + (y1 > y0 ? 6 : -6)));
        Settle();
        PostMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 12, y1));
        Settle();
        PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(x + 12, y1));
        Settle();
    } else if (c == "alt-key") {
        HWND list = Item(Number(a, 1));
        WPARAM vk = Arg(a, 2) == "up" ? VK_UP : VK_DOWN;
        PostMessageW(list, WM_SYSKEYDOWN, vk, (LPARAM)(1 | (1 << 29)));
        PostMessageW(list, WM_SYSKEYUP, vk, (LPARAM)(1 | (1 << 29) | (1u << 30) | (1u << 31)));
        Settle();
    } else if (c == "key") {
        HWND list = Item(Number(a, 1));
        WPARAM vk = (WPARAM)Number(a, 2);
        PostMessageW(list, WM_KEYDOWN, vk, 1);
        PostMessageW(list, WM_KEYUP, vk, (LPARAM)(1 | (1u << 30) | (1u << 31)));
    } else if (c == "box" || c == "box-contains") {
        HWND box = WaitBox(a.size() > 3 ? Number(a, 3) : 10000);
        if (!box) Fail("no message box");
        std::string text = Utf8(BoxText(box));
        bool ok = c == "box" ? text == Arg(a, 2) : text.find(Arg(a, 2)) != std::string::npos;
        if (!ok) {
            AnswerBox(box, "CANCEL");
            Fail("box says \"" + text + "\", expected \"" + a[2] + "\"");
        }
        AnswerBox(box, Arg(a, 1));
    } else if (c == "expect-box") {
        HWND box = WaitBox(a.size() > 2 ? Number(a, 2) : 10000);
        if (!box) Fail("no message box");
        std::string text = Utf8(BoxText(box));
        if (text != Arg(a, 1)) Fail("box says \"" + text + "\", expected \"" + a[1] + "\"");
    } else if (c == "dump-box") {
        HWND box = WaitBox(a.size() > 2 ? Number(a, 2) : 10000);
        if (!box) Fail("no message box");
        WriteFile(Arg(a, 1), Utf8(BoxText(box)));
    } else if (c == "no-box") {
        HWND box = WaitBox(Number(a, 1));
        if (box) {
            std::string text = Utf8(BoxText(box));
            AnswerBox(box, "CANCEL");
            Fail("unexpected box \"" + text + "\"");
        }
    } else if (c == "dump-rows") {
        HWND list = Item(Number(a, 1));
        int columns = (int)SendMessageW((HWND)SendMessageW(list, LVM_GETHEADER, 0, 0), HDM_GETITEMCOUNT, 0, 0);
        std::string out;
        for (int r = 0; r < RowCount(list); r++) {
            for (int k = 0; k < columns; k++) out += (k ? "\t" : "") + Utf8(CellW(list, r, k));
            out += "\n";
        }
        WriteFile(Arg(a, 2), out);
    } else if (c == "dump-copy") {
        LPARAM p = RowData(Item(101), Number(a, 1));
        if (!p) Fail("the row keeps no text");
        WriteFile(Arg(a, 2), RemoteText(p));
    } else if (c == "dump-copies") {
        HWND list = Item(101);
        std::string out;
        for (int r = 0; r < RowCount(list); r++) {
            LPARAM p = RowData(list, r);
            if (!p) Fail("row " + std::to_string(r) + " keeps no text");
            out += RemoteText(p);
            out += '\0';
        }
        WriteFile(Arg(a, 1), out);
    } else if (c == "dump-sett") {
        WriteFile(Arg(a, 1), FormSett());
    } else if (c == "close") {
        PostMessageW(g_window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(g_window, IDCANCEL));
    } else if (c == "expect-gone") {
        double end = NowMs() + (a.size() > 1 ? Number(a, 1) : 10000);
        while (IsWindow(g_window) && NowMs() < end) Sleep(20);
        if (IsWindow(g_window)) Fail("the window is still there");
    } else if (c == "show") {
        ShowWindow(g_window, Number(a, 1));
        Settle();
    } else if (c == "sleep") {
        Sleep((DWORD)Number(a, 1));
    } else if (c == "wait-lines") {
        const std::string &text = Arg(a, 2);
        int want = Number(a, 3), got = 0;
        Expect([&] {
            std::ifstream in(Arg(a, 1), std::ios::binary);
            std::string line;
            for (got = 0; std::getline(in, line);) got += line.compare(0, text.size(), text) == 0;
            return got >= want;
        }, [&] { return a[1] + " holds " + std::to_string(got) + " lines beginning with \"" + text + "\", expected " + a[3]; },
           a.size() > 4 ? Number(a, 4) : EXPECT_MS);
    } else if (c == "mark") {
        printf("mark %s %lld\n", Arg(a, 1).c_str(), WallMs());
    } else if (c == "bench-search") {
        int want = Number(a, 1);
        HWND list = Item(101);
        Pinger pinger;
        pinger.Start();
        Sleep(100);
        long long pressWall = WallMs();
        double press = NowMs(), lastChange = press;
        PostMessageW(g_window, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), (LPARAM)Item(100));
        int rows = -1, seen = 0;
        double end = press + Number(a, 2);
        std::string milestones;   // when each further tenth of the rows was there
        // Rows of an earlier search disappear first; count the new ones as they come.
        while (NowMs() < end) {
            DWORD_PTR n = 0;
            SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 10000, &n);
            if ((int)n != rows) {
                rows = (int)n;
                lastChange = NowMs();
                for (int k = seen + 1; k <= rows; k++)
                    if (want >= 10 && k % (want / 10) == 0)
                        milestones += " " + std::to_string(k) + "@" + std::to_string((long long)(lastChange - press));
                if (rows > seen) seen = rows;
            }
            if (rows >= want && NowMs() - lastChange > 300) break;
            Sleep(2);
        }
        pinger.Stop();
        std::ostringstream f;
        f << "rows " << rows << "\n"
          << "press_wall_ms " << pressWall << "\n"
          << "last_row_ms " << (long long)(lastChange - press) << "\n"
          << "last_row_wall_ms " << pressWall + (long long)(lastChange - press) << "\n"
          << "longest_unresponsive_ms " << (long long)pinger.longest << "\n"
          << "rows_at_ms" << milestones << "\n";
        WriteFile(Arg(a, 3), f.str());
        printf("%s", f.str().c_str());
    } else if (c == "bench-send") {
        Pinger pinger;
        pinger.Start();
        Sleep(100);
        double press = NowMs();
        PostMessageW(g_window, WM_COMMAND, MAKEWPARAM(117, BN_CLICKED), (LPARAM)Item(117));
        HWND box = WaitBox(Number(a, 1));
        if (!box) Fail("no confirmation");
        double asked = NowMs();
        AnswerBox(box, "OK");
        double answered = NowMs();
        box = WaitBox(Number(a, 1));
        if (!box) Fail("no confirmation from the device");
        double saved = NowMs();
        std::string text = Utf8(BoxText(box));
        AnswerBox(box, "OK");
        pinger.Stop();
        std::ostringstream f;
        f << "checks_ms " << (long long)(asked - press) << "\n"
          << "send_to_saved_ms " << (long long)(saved - answered) << "\n"
          << "saved_text " << text << "\n"
          << "longest_unresponsive_ms " << (long long)pinger.longest << "\n";
        WriteFile(Arg(a, 2), f.str());
        printf("%s", f.str().c_str());
    } else if (c == "ping-start") {
        if (g_pinger) Fail("already pinging");
        g_pinger = new Pinger;
        g_pinger->pauseMs = 20;
        g_pingStart = NowMs();
        g_pinger->Start();
    } else if (c == "ping-stop") {
        if (!g_pinger) Fail("not pinging");
        g_pinger->Stop();
        std::ostringstream f;
        f << "longest_unresponsive_ms " << (long long)g_pinger->longest << "\n"
          << "duration_ms " << (long long)(NowMs() - g_pingStart) << "\n"
          << "longest_began_after_ms " << (long long)(g_pinger->longestAt - g_pingStart) << "\n";
        delete g_pinger;
        g_pinger = nullptr;
        WriteFile(Arg(a, 1), f.str());
        printf("%s", f.str().c_str());
    } else if (c == "expect-code-page") {
        // The driver runs in the program's Wine session and locale: the same ANSI code page.
        if ((int)GetACP() != Number(a, 1)) Fail("the ANSI code page is " + std::to_string(GetACP()));
    } else if (c == "touch") {
        WriteFile(Arg(a, 1), "");
    } else if (c == "working-set") {
        PROCESS_MEMORY_COUNTERS m = {};
        m.cb = sizeof m;
        if (!GetProcessMemoryInfo(g_process, &m, sizeof m)) Fail("GetProcessMemoryInfo");
        std::ostringstream f;
        f << "working_set_bytes " << (unsigned long long)m.WorkingSetSize << "\n"
          << "peak_working_set_bytes " << (unsigned long long)m.PeakWorkingSetSize << "\n";
        WriteFile(Arg(a, 1), f.str());
        printf("%s", f.str().c_str());
    } else if (c == "escape") {
        PostMessageW(g_window, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(g_window, WM_KEYUP, VK_ESCAPE, (LPARAM)(1 | (1u << 30) | (1u << 31)));
        Settle();
    } else if (c == "file-dialog") {
        AnswerFileDialog(Arg(a, 1), a.size() > 2 ? Number(a, 2) : 10000);
    } else if (c == "bench-import") {
        HWND list = Item(110);
        int before = RowCount(list);
        PostMessageW(g_window, WM_COMMAND, MAKEWPARAM(Number(a, 1), 0), 0);
        AnswerFileDialog(Arg(a, 2), 10000);
        double answered = NowMs();
        HWND box = WaitBox(60000);
        if (!box) Fail("no import report");
        double reported = NowMs();
        std::string text = Utf8(BoxText(box));
        int rows = RowCount(list);
        AnswerBox(box, "OK");
        std::ostringstream f;
        f << "rows_added " << rows - before << "\n"
          << "dialog_ok_to_rows_drawn_ms " << (long long)(reported - answered) << "\n"
          << "report " << text.substr(0, text.find('\n')) << "\n";
        WriteFile(Arg(a, 3), f.str());
        printf("%s", f.str().c_str());
    } else if (c == "bench-box") {
        int id = Number(a, 1);
        Pinger pinger;
        pinger.Start();
        Sleep(100);
        double press = NowMs();
        PostMessageW(g_window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(g_window, id));
        HWND box = WaitBox(Number(a, 2));
        double shown = NowMs();
        pinger.Stop();
        if (!box) Fail("no message box");
        std::ostringstream f;
        f << "box_after_ms " << (long long)(shown - press) << "\n"
          << "longest_unresponsive_ms " << (long long)pinger.longest << "\n";
        WriteFile(Arg(a, 3), f.str());
        printf("%s", f.str().c_str());
    } else if (c == "screen-point") {
        HWND h = Item(Number(a, 1));
        double end = NowMs() + (a.size() > 3 ? Number(a, 3) : EXPECT_MS);
        while (!IsWindowEnabled(h) && NowMs() < end) Sleep(10);
        if (!IsWindowEnabled(h)) Fail("control " + a[1] + " is not enabled");
        RECT r;
        GetWindowRect(h, &r);
        std::string point = std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2) + "\n";
        WriteFile(Arg(a, 2), point);
        printf("%s", point.c_str());
    } else {
        Fail("unknown command " + c);
    }
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: e2e_driver SCRIPT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    std::string line;
    int steps = 0;
    while (std::getline(in, line)) {
        g_line++;
        std::vector<std::string> a = Tokens(line);
        if (a.empty()) continue;
        Run(a);
        steps++;
        printf("ok %d %s\n", g_line, a[0].c_str());
        fflush(stdout);
    }
    printf("DONE %d steps\n", steps);
    fflush(stdout);
    return 0;
}
