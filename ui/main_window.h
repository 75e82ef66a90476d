// main_window.h: the main window's dialog procedure and its close command.
#ifndef SETRADIO_UI_MAIN_WINDOW_H
#define SETRADIO_UI_MAIN_WINDOW_H

#include "common/platform.h"

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void OnMainWindowShown(HWND window);   // after the first paint, before the message loop: host defaults
void OnCloseCommand(HWND window);

#endif
