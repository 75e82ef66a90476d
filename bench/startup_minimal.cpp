// startup_minimal.cpp: the smallest dialog program built like SetRadio.exe (own entry point, no C run-time),
// the yardstick for the start-up benchmark (it shares the program's memory routines). Shows one empty
// dialog; closes on WM_CLOSE.
// Built again with STARTUP_STEP 1 and 2 as the steps between it and SetRadio.exe, to share out the gap:
//   1: also loads COMCTL32 and WS2_32 and makes SetRadio's calls InitCommonControlsEx and WSAStartup;
//   2: also registers SetRadio's window class (with its icon) and shows SetRadio's own main dialog
//      template from its resources (controls, dialog font, manifest), with an empty dialog procedure.
#ifndef STARTUP_STEP
#define STARTUP_STEP 0
#endif
#if STARTUP_STEP >= 1
#include <winsock2.h>
#include <commctrl.h>
#endif
#include <windows.h>
#if STARTUP_STEP >= 2
#include "res/resource.h"
#endif

extern "C" {

static INT_PTR CALLBACK MinimalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        DestroyWindow(window);
        return TRUE;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return FALSE;
}

// A classic in-memory template: 299 x 224 dialog units, caption "Minimal", no controls.
struct MinimalTemplate {
    DLGTEMPLATE header;
    WORD menu, windowClass;
    WCHAR title[8];
};

void MinimalEntry(void)
{
    static const MinimalTemplate kTemplate = {
        {WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_3DLOOK, 0, 0, 10, 1, 299, 224},
        0, 0, {'M', 'i', 'n', 'i', 'm', 'a', 'l', 0}};
    HINSTANCE instance = GetModuleHandleA(0);
#if STARTUP_STEP >= 1
    WSADATA winsock;
    WSAStartup(0x0101, &winsock);
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
#endif
#if STARTUP_STEP >= 2
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefDlgProcA;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    wc.hCursor = LoadCursorA(0, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "RecordMainDlg";
    RegisterClassA(&wc);
    HWND window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), 0, MinimalProc, 0);
#else
    HWND window = CreateDialogIndirectParamA(instance, &kTemplate.header, 0, MinimalProc, 0);
#endif
    if (window) {
        ShowWindow(window, SW_SHOWDEFAULT);
        UpdateWindow(window);
        MSG msg;
        while (GetMessageA(&msg, 0, 0, 0) > 0) {
            if (IsDialogMessageA(window, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    ExitProcess(0);
}

}
