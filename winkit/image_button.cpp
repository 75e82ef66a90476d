// image_button.cpp: owner-drawn buttons painted from bitmap strips with a two-colour double edge.
#include "winkit/image_button.h"
#include "common/text.h"
#include "winkit/code_page.h"
#include "winkit/program_module.h"

HBITMAP CreateButtonBitmap(const void *resource, int size, int paletteIndex, COLORREF colour)
{
    if (!resource || size < (int)sizeof(BITMAPINFOHEADER)) return 0;
    const BITMAPINFOHEADER *header = (const BITMAPINFOHEADER *)resource;
    // Only strips of 1 to 8 bits per pixel are drawn: uncompressed with a full colour table, or
    // run-length encoded at 8 bits from the bottom row up with a table of biClrUsed entries (the
    // strips for larger display scales, whose table holds only the colours they use).
    long long bits = (long long)header->biPlanes * header->biBitCount;
    if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biSize > (DWORD)size) return 0;
    int encoded = header->biCompression == BI_RLE8;
    if (bits < 1 || bits > 8 || (header->biCompression != BI_RGB && !encoded)) return 0;
    if (encoded && (bits != 8 || header->biHeight < 0 || header->biSizeImage == 0)) return 0;
    if (header->biWidth <= 0 || header->biHeight == 0 || header->biHeight == (LONG)0x80000000) return 0;
    long long colours = 1LL << bits;
    if (header->biClrUsed > (DWORD)colours) return 0;
    if (encoded && header->biClrUsed) colours = header->biClrUsed;
    long long height = header->biHeight < 0 ? -(long long)header->biHeight : header->biHeight;
    long long stride = (((long long)header->biWidth * bits + 31) / 32) * 4;
    long long tableEnd = (long long)header->biSize + colours * 4;
    if (tableEnd + (encoded ? (long long)header->biSizeImage : stride * height) > size) return 0;

    unsigned char *block = (unsigned char *)PlatAlloc(size);
    if (!block) return 0;
    CopyBytes(block, resource, size);
    if (paletteIndex >= 0 && paletteIndex < colours) {
        DWORD *table = (DWORD *)(block + header->biSize);
        table[paletteIndex] = ColorRefToRgbQuad(colour);
    }
    HDC screen = GetDC(0);
    HBITMAP bitmap = CreateDIBitmap(screen, (BITMAPINFOHEADER *)block, CBM_INIT, block + tableEnd,
                                    (BITMAPINFO *)block, DIB_RGB_COLORS);
    ReleaseDC(0, screen);
    PlatFree(block);
    return bitmap;
}

HBITMAP LoadButtonBitmap(int resourceId, int paletteIndex, COLORREF colour)
{
    HRSRC found = FindResourceA(g_instance, MAKEINTRESOURCEA(resourceId), (LPCSTR)RT_BITMAP);
    if (!found) return 0;
    HGLOBAL loaded = LoadResource(g_instance, found);
    if (!loaded) return 0;
    DWORD size = SizeofResource(g_instance, found);
    const void *data = LockResource(loaded);
    if (!data || size > 0x7FFFFFFF) return 0;
    return CreateButtonBitmap(data, (int)size, paletteIndex, colour);
}

HBITMAP LoadButtonBitmapForDpi(int resourceId, int dpi, int paletteIndex, COLORREF colour)
{
    int step = dpi >= 192 ? 3 : dpi >= 144 ? 2 : dpi >= 120 ? 1 : 0;
    for (; step > 0; --step) {
        HBITMAP bitmap = LoadButtonBitmap(resourceId + BUTTON_SCALE_ID_STEP * step, BUTTON_SCALED_FACE_INDEX, colour);
        if (bitmap) return bitmap;
    }
    return LoadButtonBitmap(resourceId, paletteIndex, colour);
}

// One opaque one-pixel line: the rectangle filled with the background colour.
static void OpaqueLine(HDC dc, int left, int top, int right, int bottom)
{
    RECT r;
    SetRect(&r, left, top, right, bottom);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, 0, 0, 0);
}

void DrawEdgeLines(HDC dc, int left, int top, int right, int bottom, COLORREF first, COLORREF second)
{
    COLORREF previous = SetBkColor(dc, first);
    OpaqueLine(dc, left, top, right, top + 1);
    OpaqueLine(dc, left, top, left + 1, bottom);
    if (second != first) SetBkColor(dc, second);
    OpaqueLine(dc, right - 1, top, right, bottom);
    OpaqueLine(dc, left, bottom - 1, right, bottom);
    SetBkColor(dc, previous);
}

void FillSolid(HDC dc, const RECT *rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, rect, brush);
    DeleteObject(brush);
}

// Without an image the caption is written on the face, so the button still says what it does.
static void DrawCaption(HDC dc, HWND button, RECT *r, int pressed)
{
    WCHAR text[64];
    text[0] = 0;
    GetWindowTextW(button, text, sizeof text / sizeof text[0]);
    RECT place = *r;
    if (pressed) OffsetRect(&place, 1, 1);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, (HGDIOBJ)SendMessageW(button, WM_GETFONT, 0, 0));
    DrawTextW(dc, text, -1, &place, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (oldFont) SelectObject(dc, oldFont);
    SetBkMode(dc, oldMode);
}

void DrawImageButton(const DRAWITEMSTRUCT *item, HBITMAP bitmap, int cellWidth, int cellHeight)
{
    HDC dc = item->hDC;
    RECT r = item->rcItem;
    int pressed = (item->itemState & ODS_SELECTED) != 0;

    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_3DDKSHADOW);
    if (pressed) DrawEdgeLines(dc, r.left, r.top, r.right, r.bottom, dark, light);
    else DrawEdgeLines(dc, r.left, r.top, r.right, r.bottom, light, dark);
    InflateRect(&r, -1, -1);
    COLORREF inLight = GetSysColor(COLOR_3DLIGHT), inShadow = GetSysColor(COLOR_BTNSHADOW);
    if (pressed) DrawEdgeLines(dc, r.left, r.top, r.right, r.bottom, inShadow, inLight);
    else DrawEdgeLines(dc, r.left, r.top, r.right, r.bottom, inLight, inShadow);
    InflateRect(&r, -1, -1);
    FillSolid(dc, &r, GetSysColor(COLOR_BTNFACE));

    WCHAR wide[10];
    wide[0] = 0;
    GetWindowTextW(item->hwndItem, wide, sizeof wide / sizeof wide[0]);
    char caption[10];
    WideTo949(wide, caption, sizeof caption);
    int cell = ParseNumber(caption, 0);
    if (item->itemState & ODS_DISABLED) cell += 1;

    BITMAP info;
    int cells = 0;
    if (bitmap && GetObjectA(bitmap, sizeof info, &info) && cellWidth > 0) cells = info.bmWidth / cellWidth;
    if (cells > 0) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        int h = SmallerOf(r.bottom - r.top, cellHeight);
        int x = (r.left + r.right - cellWidth) >> 1;
        int y = (r.top + r.bottom - cellHeight) >> 1;
        if (pressed) {
            x += 1;
            y += 1;
            h -= 1;
        }
        // A cell beyond the strip is left out rather than copied from outside the bitmap.
        if (h > 0 && cell >= 0 && cell < cells) BitBlt(dc, x, y, cellWidth, h, memory, cellWidth * cell, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    } else {
        DrawCaption(dc, item->hwndItem, &r, pressed);
    }

    if (item->itemState & ODS_FOCUS) {
        InflateRect(&r, -2, -2);
        DrawFocusRect(dc, &r);
    }
}

void DrawImageStrip(const DRAWITEMSTRUCT *item, HBITMAP bitmap)
{
    BITMAP info;
    int height = BUTTON_CELL_HEIGHT;
    if (bitmap && GetObjectA(bitmap, sizeof info, &info) && info.bmHeight > 0) height = info.bmHeight;
    DrawImageButton(item, bitmap, MulDiv(BUTTON_CELL_WIDTH, height, BUTTON_CELL_HEIGHT), height);
}
