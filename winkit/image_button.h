// image_button.h: owner-drawn buttons painted from bitmap strips.
#ifndef SETRADIO_WINKIT_IMAGE_BUTTON_H
#define SETRADIO_WINKIT_IMAGE_BUTTON_H

#include "common/platform.h"

#define BUTTON_FACE_INDEX 243
#define BUTTON_CELL_WIDTH 36
#define BUTTON_CELL_HEIGHT 32
// The strip drawn for the next larger display scale (125, 150, 200 %) has the id plus this.
#define BUTTON_SCALE_ID_STEP 10
// Those strips hold only the colours they use, the background in this entry.
#define BUTTON_SCALED_FACE_INDEX 0

HBITMAP LoadButtonBitmap(int resourceId, int paletteIndex, COLORREF colour);
// The strip made for the largest scale not above dpi (120, 144, 192), its background in colour;
// else the 96-DPI one with entry paletteIndex in colour.
HBITMAP LoadButtonBitmapForDpi(int resourceId, int dpi, int paletteIndex, COLORREF colour);
// The same from a packed bitmap in memory (header, colour table, pixel rows); null when refused.
HBITMAP CreateButtonBitmap(const void *resource, int size, int paletteIndex, COLORREF colour);
void DrawImageButton(const DRAWITEMSTRUCT *item, HBITMAP bitmap, int cellWidth, int cellHeight);
// The same with cells as high as the bitmap and in the 96-DPI cells' proportion.
void DrawImageStrip(const DRAWITEMSTRUCT *item, HBITMAP bitmap);
void DrawEdgeLines(HDC dc, int left, int top, int right, int bottom, COLORREF first, COLORREF second);
void FillSolid(HDC dc, const RECT *rect, COLORREF colour);

#endif
