// startup.cpp: the main routine: settings path, atoms, WinSock 1.1, window class, main window and message loop.
#include "app/startup.h"
#include <commctrl.h>
#include "common/text.h"
#include "res/resource.h"
#include "ui/channel_editor.h"
#include "ui/file_commands.h"
#include "ui/main_window.h"
#include "ui/texts.h"
#include "winkit/program_module.h"
#include "winkit/resize_layout.h"
#include "winkit/settings_file.h"
#include "winkit/show_message.h"

static int WideLength(const WCHAR *text)
{
    int n = 0;
    while (text[n]) n++;
    return n;
}

// Index of the last '.' of path, -1 when it has none.
static int LastDot(const WCHAR *path)
{
    int dot = -1;
    for (int i = 0; path[i]; i++)
        if (path[i] == '.') dot = i;
    return dot;
}

void ReplaceExtension(WCHAR *path, const WCHAR *extension)
{
    int dot = LastDot(path);
    WCHAR *end = path + (dot < 0 ? WideLength(path) : dot);
    *end++ = '.';
    while (*extension) *end++ = *extension++;
    *end = 0;
}

const WCHAR *SkipProgramName(const WCHAR *commandLine)
{
    const WCHAR *p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p > 32) ++p;
    }
    while (*p >= 1 && *p <= 32) ++p;
    return p;
}

// Length of path once ReplaceExtension has given it the extension.
static int LengthWithExtension(const WCHAR *path, const WCHAR *extension)
{
    int dot = LastDot(path);
    int stem = dot >= 0 ? dot + 1 : WideLength(path) + 1;
    return stem + WideLength(extension);
}

void InitApplication(void)
{
    // A name cut short by the buffer would point at some other file, and one that would not
    // fit with its new extension cannot be stored: the settings are then not kept at all.
    int length = (int)GetModuleFileNameW(g_instance, g_iniPath, MAX_PATH);
    if (length <= 0 || length >= MAX_PATH) {
        g_iniPath[0] = 0;
    } else {
        g_iniPath[length] = 0;
        if (LengthWithExtension(g_iniPath, L"ini") < MAX_PATH) {
            ReplaceExtension(g_iniPath, L"ini");
            SetFileAttributesW(g_iniPath, 0);
        } else {
            g_iniPath[0] = 0;
        }
    }
    g_atomCurrWndSize = AddAtomW(L"CurrWndSize");
    g_atomUserPrm1 = AddAtomW(L"UserPrm1");
}

int StartWinSock(WSADATA *info)
{
    WSADATA local;
    if (!info) info = &local;
    if (WSAStartup(0x0101, info) != 0) return 0;
    if (info->wVersion != 0x0101) {
        WSACleanup();
        return 0;
    }
    return 1;
}

void ExitApplication(void)
{
    if (g_atomCurrWndSize) DeleteAtom(g_atomCurrWndSize);
    if (g_atomUserPrm1) DeleteAtom(g_atomUserPrm1);
    g_atomCurrWndSize = 0;
    g_atomUserPrm1 = 0;
}

int RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSW wc;
    ZeroBytes(&wc, sizeof wc);
    wc.style = 0;
    wc.lpfnWndProc = DefDlgProcW;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAIN));
    wc.hCursor = LoadCursorW(0, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszMenuName = 0;
    wc.lpszClassName = L"RecordMainDlg";
    return RegisterClassW(&wc) != 0;
}

// The list views and the progress bar of the main window are common controls. Only their classes
// are asked for; a common-controls version that refuses still registers them the older way.
static void RegisterCommonControls(void)
{
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS;
    if (!InitCommonControlsEx(&controls)) InitCommonControls();
}

// Runs until the quit message; its wParam is the exit code.
static int RunMessageLoop(HWND window, HACCEL accelerators)
{
    MSG msg;
    int got;
    while ((got = GetMessageW(&msg, 0, 0, 0)) != 0) {
        if (got == -1) return 0;  // a broken queue ends the run instead of spinning forever
        if (accelerators && TranslateAcceleratorW(window, accelerators, &msg)) continue;
        if (IsDialogMessageW(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return (int)msg.wParam;
}

int MainRoutine(HINSTANCE instance, HINSTANCE previous, const WCHAR *arguments, int showMode)
{
    g_instance = instance;
    int exitCode = 0;
    InitApplication();
    if (!StartWinSock(0)) {
        ShowMessage(0, TEXT_WINSOCK_FAILED, MB_OK);
    } else {
        RegisterMainWindowClass(instance);
        RegisterCommonControls();
        HWND window = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), 0, MainDialogProc, 0);
        if (window) {
            ShowWindow(window, showMode);
            UpdateWindow(window);
            OnMainWindowShown(window);
            if (*arguments) TakeCommandLineFiles(window);   // none: the shell's library stays unloaded
            HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCEL));
            exitCode = RunMessageLoop(window, accelerators);
        }
    }
    ExitApplication();
    WSACleanup();
    return exitCode;
}
