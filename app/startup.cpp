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

void ReplaceExtension(char *path, const char *extension)
{
    int dot = FindLastChar(path, '.');
    if (dot < 0) AppendChar(path, '.');
    else path[dot + 1] = 0;
    char *end = StringEnd(path);
    while (*extension) *end++ = *extension++;
    *end = 0;
}

const char *SkipProgramName(const char *commandLine)
{
    const unsigned char *p = (const unsigned char *)commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p > 32) ++p;
    }
    while (*p >= 1 && *p <= 32) ++p;
    return (const char *)p;
}

// Length of path once ReplaceExtension has given it the extension.
static int LengthWithExtension(const char *path, const char *extension)
{
    int dot = FindLastChar(path, '.');
    int stem = dot >= 0 ? dot + 1 : TextLength(path) + 1;
    return stem + TextLength(extension);
}

void InitApplication(void)
{
    // A name cut short by the buffer would point at some other file, and one that would not
    // fit with its new extension cannot be stored: the settings are then not kept at all.
    int length = (int)GetModuleFileNameA(g_instance, g_iniPath, (DWORD)sizeof g_iniPath);
    if (length <= 0 || length >= (int)sizeof g_iniPath) {
        g_iniPath[0] = 0;
    } else {
        g_iniPath[length] = 0;
        if (LengthWithExtension(g_iniPath, "ini") < (int)sizeof g_iniPath) {
            ReplaceExtension(g_iniPath, "ini");
            SetFileAttributesA(g_iniPath, 0);
        } else {
            g_iniPath[0] = 0;
        }
    }
    g_atomCurrWndSize = AddAtomA("CurrWndSize");
    g_atomUserPrm1 = AddAtomA("UserPrm1");
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
    WNDCLASSA wc;
    ZeroBytes(&wc, sizeof wc);
    wc.style = 0;
    wc.lpfnWndProc = DefDlgProcA;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    wc.hCursor = LoadCursorA(0, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszMenuName = 0;
    wc.lpszClassName = "RecordMainDlg";
    return RegisterClassA(&wc) != 0;
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
    while ((got = GetMessageA(&msg, 0, 0, 0)) != 0) {
        if (got == -1) return 0;  // a broken queue ends the run instead of spinning forever
        if (accelerators && TranslateAcceleratorA(window, accelerators, &msg)) continue;
        if (IsDialogMessageA(window, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}

int MainRoutine(HINSTANCE instance, HINSTANCE previous, const char *arguments, int showMode)
{
    g_instance = instance;
    int exitCode = 0;
    InitApplication();
    if (!StartWinSock(0)) {
        ShowMessage(0, TEXT_WINSOCK_FAILED, MB_OK);
    } else {
        RegisterMainWindowClass(instance);
        RegisterCommonControls();
        HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), 0, MainDialogProc, 0);
        if (window) {
            ShowWindow(window, showMode);
            UpdateWindow(window);
            OnMainWindowShown(window);
            TakeCommandLineFiles(window);
            HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCEL));
            exitCode = RunMessageLoop(window, accelerators);
        }
    }
    ExitApplication();
    WSACleanup();
    return exitCode;
}
