// show_message.h: every message to the user: a task-modal box owned by the current window.
#ifndef SETRADIO_WINKIT_SHOW_MESSAGE_H
#define SETRADIO_WINKIT_SHOW_MESSAGE_H

#include "common/platform.h"

// buttons: MB_OK or MB_OKCANCEL, optionally an icon (none asked: exclamation). Returns the button pressed.
int ShowMessage(HWND owner, const char *text, UINT buttons);

#endif
