// image_button.h: owner-drawn buttons painted from bitmap strips.
#ifndef SETRADIO_WINKIT_IMAGE_BUTTON_H
#define SETRADIO_WINKIT_IMAGE_BUTTON_H

#include "common/platform.h"

#define BUTTON_FACE_INDEX 243
#define BUTTON_CELL_WIDTH 36
#define BUTTON_CELL_HEIGHT 32

HBITMAP LoadButtonBitmap(int resourceId, int paletteIndex, COLORREF colour);
// The same from a packed bitmap in memory (header, full colour table, pixel rows); null when refused.
HBITMAP CreateButtonBitmap(const void *resource, int size, int paletteIndex, COLORREF colour);
void DrawImageButton(const DRAWITEMSTRUCT *item, HBITMAP bitmap, int cellWidth, int cellHeight);
void DrawEdgeLines(HDC dc, int left, int top, int right, int bottom, COLORREF first, COLORREF second);
void FillSolid(HDC dc, const RECT *rect, COLORREF colour);

#endif
