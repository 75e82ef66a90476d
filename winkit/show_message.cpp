// show_message.cpp: every message to the user: a task-modal box captioned with its owner's title.
#include "winkit/show_message.h"
#include "winkit/code_page.h"

int ShowWideMessage(HWND owner, const WCHAR *text, UINT buttons)
{
    WCHAR caption[80];
    caption[0] = 0;
    if (owner) GetWindowTextW(owner, caption, sizeof caption / sizeof caption[0]);
    if ((buttons & MB_ICONMASK) == 0) buttons |= MB_ICONEXCLAMATION;
    return MessageBoxW(owner, text ? text : L"", owner ? caption : 0, buttons | MB_TASKMODAL);
}

int ShowMessage(HWND owner, const char *text, UINT buttons)
{
    WCHAR *wide = NewWideFrom949(text);
    int answer = ShowWideMessage(owner, wide ? wide : L"", buttons);
    PlatFree(wide);
    return answer;
}
