// resize_layout.h: size grip, remembered client size and the anchored move-and-stretch of controls.
#ifndef SETRADIO_WINKIT_RESIZE_LAYOUT_H
#define SETRADIO_WINKIT_RESIZE_LAYOUT_H

#include "common/platform.h"

#define SIZE_GRIP_ID 994         // control id of the size grip PrepareResizing adds

extern ATOM g_atomCurrWndSize;   // property name atom of the laid-out client size, added at start-up

void PrepareResizing(HWND window);
int TakeSizeDelta(HWND window, WPARAM sizeType, LPARAM packedSize, int *dx, int *dy);
void ApplyResizeDelta(HWND window, int anchorX, int anchorY, int dx, int dy);
void OffsetChildWindow(HWND parent, HWND child, int dx, int dy, int dWidth, int dHeight);
// Dialog units of the system font, scaled to the window's DPI.
void SetMinTrackSize(HWND window, MINMAXINFO *info, int widthDlu, int heightDlu);
// The remembered client size scaled with the children (after a DPI change), so that the next
// WM_SIZE moves and stretches only by what the new size adds.
void ScaleLaidOutSize(HWND window, int numX, int denX, int numY, int denY);

#endif
