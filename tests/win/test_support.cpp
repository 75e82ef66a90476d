// test_support.cpp: message box answering hook, main window creation and message pumping for tests.
#include "tests/win/test_support.h"
#include "app/startup.h"
#include "ui/main_window.h"
#include "common/text.h"
#include "res/resource.h"
#include "winkit/program_module.h"
#include "winkit/settings_file.h"

enum { MAX_BOXES = 64, MAX_ANSWERS = 64 };
static HHOOK g_hook;
static char g_texts[MAX_BOXES][1024];
static char g_captions[MAX_BOXES][128];
static int g_boxes;
static int g_unexpected;
static int g_answers[MAX_ANSWERS];
static int g_answerHead, g_answerTail;
static int g_depth, g_maxDepth;

enum { FILE_NAME_COMBO = 0x47c, FILE_NAME_EDIT = 0x480 };
static WCHAR g_fileAnswers[8][MAX_PATH];
static int g_fileHead, g_fileTail, g_fileDialogs;
static HWND g_fileDialog;

static int IsFileDialog(HWND window)
{
    return GetDlgItem(window, FILE_NAME_COMBO) || GetDlgItem(window, FILE_NAME_EDIT);
}

static int IsMessageBox(HWND window)
{
    char cls[32];
    GetClassNameA(window, cls, sizeof cls);
    return lstrcmpA(cls, "#32770") == 0 && GetDlgItem(window, IDC_WINDOW_NAME) == 0 && GetDlgItem(window, IDC_FIND_LIST) == 0 &&
           !IsFileDialog(window);
}

static HWND g_answeredDialog;

// A dialog still open long after its answer (a name it refused) is cancelled, so no test hangs.
static void CALLBACK CancelStuckFileDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(0, timer);
    if (!IsWindow(g_answeredDialog)) return;
    g_unexpected++;
    PostMessageW(g_answeredDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// Runs inside the file dialog's own loop once it is up: types the queued name and presses OK
// (an empty name cancels; no name queued cancels and counts as unexpected).
static void CALLBACK AnswerFileDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(0, timer);
    HWND dialog = g_fileDialog;
    g_fileDialog = 0;
    if (!IsWindow(dialog)) return;
    const WCHAR *name = L"";
    if (g_fileHead != g_fileTail) {
        name = g_fileAnswers[g_fileHead];
        g_fileHead = (g_fileHead + 1) % 8;
    } else {
        g_unexpected++;
    }
    if (!name[0]) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    // The name box is a combo box (its edit takes the text) or, in older dialogs, an edit.
    HWND box = GetDlgItem(dialog, FILE_NAME_COMBO);
    if (!box) box = GetDlgItem(dialog, FILE_NAME_EDIT);
    SendMessageW(box, WM_SETTEXT, 0, (LPARAM)name);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    g_answeredDialog = dialog;
    SetTimer(0, 0, 3000, CancelStuckFileDialog);
}

static BOOL CALLBACK FindLongestStatic(HWND child, LPARAM lParam)
{
    char cls[32];
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0) return TRUE;
    char text[1024];
    int n = GetWindowText949(child, text, sizeof text);
    char *best = (char *)lParam;
    if (n > TextLength(best)) CopyText(best, 1024, text);
    return TRUE;
}

static LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_DESTROYWND && GetPropA((HWND)wParam, "SrBoxSeen") && !IsFileDialog((HWND)wParam) && g_depth > 0)
        g_depth--;
    if (code == HCBT_ACTIVATE && IsFileDialog((HWND)wParam) && !GetPropA((HWND)wParam, "SrBoxSeen")) {
        SetPropA((HWND)wParam, "SrBoxSeen", (HANDLE)1);
        g_fileDialogs++;
        g_fileDialog = (HWND)wParam;
        SetTimer(0, 0, 50, AnswerFileDialog);
    }
    if (code == HCBT_ACTIVATE) {
        HWND box = (HWND)wParam;
        if (IsMessageBox(box) && !GetPropA(box, "SrBoxSeen")) {
            SetPropA(box, "SrBoxSeen", (HANDLE)1);
            if (++g_depth > g_maxDepth) g_maxDepth = g_depth;
            int slot = g_boxes < MAX_BOXES ? g_boxes : MAX_BOXES - 1;
            g_texts[slot][0] = 0;
            EnumChildWindows(box, FindLongestStatic, (LPARAM)g_texts[slot]);
            GetWindowText949(box, g_captions[slot], sizeof g_captions[slot]);
            g_boxes++;
            int answer = IDCANCEL;
            if (g_answerHead != g_answerTail) {
                answer = g_answers[g_answerHead];
                g_answerHead = (g_answerHead + 1) % MAX_ANSWERS;
            } else {
                g_unexpected++;
            }
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

void StartBoxWatch(void)
{
    g_boxes = g_unexpected = g_answerHead = g_answerTail = 0;
    g_depth = g_maxDepth = 0;
    g_fileHead = g_fileTail = g_fileDialogs = 0;
    if (!g_hook) g_hook = SetWindowsHookExA(WH_CBT, BoxHook, 0, GetCurrentThreadId());
}

void StopBoxWatch(void)
{
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = 0;
}

void QueueBoxAnswer(int answer)
{
    g_answers[g_answerTail] = answer;
    g_answerTail = (g_answerTail + 1) % MAX_ANSWERS;
}

void QueueFileAnswer(const char *path)
{
    WCHAR wide[MAX_PATH];
    wide[0] = 0;
    MultiByteToWideChar(949, 0, path, -1, wide, MAX_PATH);
    wide[MAX_PATH - 1] = 0;
    QueueWideFileAnswer(wide);
}

void QueueWideFileAnswer(const WCHAR *path)
{
    lstrcpynW(g_fileAnswers[g_fileTail], path, MAX_PATH);
    g_fileTail = (g_fileTail + 1) % 8;
}

int GetWindowText949(HWND window, char *out, int size)
{
    WCHAR wide[1024];
    wide[0] = 0;
    GetWindowTextW(window, wide, 1024);
    int n = WideCharToMultiByte(949, 0, wide, -1, out, size, 0, 0);
    if (n <= 0) n = 1;
    out[n - 1] = 0;
    return n - 1;
}

int GetText949(HWND window, int id, char *out, int size)
{
    out[0] = 0;
    HWND item = GetDlgItem(window, id);
    return item ? GetWindowText949(item, out, size) : 0;
}

void SetText949(HWND window, int id, const char *text)
{
    WCHAR wide[1024];
    wide[0] = 0;
    MultiByteToWideChar(949, 0, text, -1, wide, 1024);
    wide[1023] = 0;
    if (id) SetDlgItemTextW(window, id, wide);
    else SetWindowTextW(window, wide);
}

int FileDialogCount(void) { return g_fileDialogs; }
int BoxCount(void) { return g_boxes; }
int UnexpectedBoxCount(void) { return g_unexpected; }
int MaxBoxDepth(void) { return g_maxDepth; }
const char *BoxText(int index) { return index >= 0 && index < g_boxes && index < MAX_BOXES ? g_texts[index] : ""; }
const char *BoxCaption(int index) { return index >= 0 && index < g_boxes && index < MAX_BOXES ? g_captions[index] : ""; }

HWND CreateMainWindow(void)
{
    return CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_MAIN), 0, MainDialogProc, 0);
}

void DestroyMainWindow(HWND window)
{
    if (IsWindow(window)) DestroyWindow(window);
    MSG msg;
    while (PeekMessageW(&msg, 0, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PumpMessages(HWND window, int ms)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, 0, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            if (window && IsWindow(window) && IsDialogMessageW(window, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (ms > 0) Sleep(5);
    } while ((int)(GetTickCount() - start) < ms);
}

void UsePrivateSettingsFile(const char *name, WCHAR *saved)
{
    lstrcpynW(saved, g_iniPath, MAX_PATH);
    WCHAR dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    WCHAR wideName[MAX_PATH];
    MultiByteToWideChar(949, 0, name, -1, wideName, MAX_PATH);
    wsprintfW(g_iniPath, L"%s%s", dir, wideName);
    SetFileAttributesW(g_iniPath, 0);
    DeleteFileW(g_iniPath);
}

void RestoreSettingsFile(const WCHAR *saved)
{
    SetFileAttributesW(g_iniPath, 0);
    DeleteFileW(g_iniPath);
    lstrcpynW(g_iniPath, saved, MAX_PATH);
}

std::string SettingsPath949(void)
{
    char path[MAX_PATH * 2];
    int n = WideCharToMultiByte(949, 0, g_iniPath, -1, path, sizeof path, 0, 0);
    return n > 0 ? std::string(path) : std::string();
}
