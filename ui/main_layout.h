// main_layout.h: the main window's anchored layout and its display scale: which controls move and
// which stretch on a resize, the fit to the monitor's DPI, and the rescale when the DPI changes.
#ifndef SETRADIO_UI_MAIN_LAYOUT_H
#define SETRADIO_UI_MAIN_LAYOUT_H

#include "common/platform.h"

// WM_SIZE of the main window: delta, anchor, move and stretch, one repaint.
void OnMainWindowSize(HWND window, WPARAM wParam, LPARAM lParam);
// WM_INITDIALOG, before the placement is restored: the dialog, which the system laid out by its
// font, is brought to the template's 96-DPI size scaled by DPI/96. Nothing changes at 96 DPI.
void FitMainWindowToDpi(HWND window);
int IsFittingMainWindow(void);   // 1 while the fit resizes the window: its WM_SIZE is not a user's
// The button strips for the window's DPI, in g_main; replaced ones are released.
void LoadMainButtonImages(HWND window, int replace);
// WM_DPICHANGED: controls, font, columns and button strips follow the new DPI (wParam), then the
// window takes the suggested rectangle (lParam) and the anchored layout absorbs the rounding.
void OnMainDpiChanged(HWND window, WPARAM wParam, LPARAM lParam);
void OnMainWindowDestroy(HWND window);   // WM_DESTROY: releases what the rescale made

#endif
