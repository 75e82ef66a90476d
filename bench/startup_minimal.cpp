// startup_minimal.cpp: the smallest dialog program built like SetRadio.exe (own entry point, no C run-time),
// the yardstick for the start-up benchmark. Shows one empty dialog; closes on WM_CLOSE.
#include <windows.h>

extern "C" {

void *memset(void *destination, int value, size_t length)
{
    volatile unsigned char *d = (volatile unsigned char *)destination;
    while (length--) *d++ = (unsigned char)value;
    return destination;
}

void *memcpy(void *destination, const void *source, size_t length)
{
    volatile unsigned char *d = (volatile unsigned char *)destination;
    const unsigned char *s = (const unsigned char *)source;
    while (length--) *d++ = *s++;
    return destination;
}

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
    HWND window = CreateDialogIndirectParamA(instance, &kTemplate.header, 0, MinimalProc, 0);
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
