// context_menu.h: the context menus of the DeviceList and the ChannelList.
#ifndef SETRADIO_UI_CONTEXT_MENU_H
#define SETRADIO_UI_CONTEXT_MENU_H

#include "common/platform.h"

// WM_CONTEXTMENU of the main window: target is the window clicked (wParam), point the screen point
// (lParam; -1 when the keyboard asked). Opens the list's menu; its choice arrives as WM_COMMAND.
// Returns 1 when target is one of the two lists.
int ShowListContextMenu(HWND window, HWND target, LPARAM point);

#endif
