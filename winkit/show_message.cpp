// show_message.cpp: every message to the user: a task-modal box captioned with its owner's title.
#include "winkit/show_message.h"

int ShowMessage(HWND owner, const char *text, UINT buttons)
{
    char caption[80];
    caption[0] = 0;
    if (owner) GetWindowTextA(owner, caption, sizeof caption);
    if ((buttons & MB_ICONMASK) == 0) buttons |= MB_ICONEXCLAMATION;
    return MessageBoxA(owner, text, owner ? caption : 0, buttons | MB_TASKMODAL);
}
