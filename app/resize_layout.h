// resize_layout.h: size grip, remembered client size and the anchored move-and-stretch of controls.
#ifndef SETRADIO_APP_RESIZE_LAYOUT_H
#define SETRADIO_APP_RESIZE_LAYOUT_H

#include "common/platform.h"

void PrepareResizing(HWND window);
int TakeSizeDelta(HWND window, WPARAM sizeType, LPARAM packedSize, int *dx, int *dy);
void ApplyResizeDelta(HWND window, int anchorX, int anchorY, int dx, int dy);
void OffsetChildWindow(HWND parent, HWND child, int dx, int dy, int dWidth, int dHeight);
void SetMinTrackSize(MINMAXINFO *info, int widthDlu, int heightDlu);
// WM_SIZE of the main window: delta, anchor, move and stretch, one repaint.
void OnMainWindowSize(HWND window, WPARAM wParam, LPARAM lParam);

#endif
