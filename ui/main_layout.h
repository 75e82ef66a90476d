// main_layout.h: the main window's anchored layout: which controls move and which stretch on a resize.
#ifndef SETRADIO_UI_MAIN_LAYOUT_H
#define SETRADIO_UI_MAIN_LAYOUT_H

#include "common/platform.h"

// WM_SIZE of the main window: delta, anchor, move and stretch, one repaint.
void OnMainWindowSize(HWND window, WPARAM wParam, LPARAM lParam);

#endif
