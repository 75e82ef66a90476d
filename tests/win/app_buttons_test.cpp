// app_buttons_test.cpp: button strips loaded with the face colour and painted into a memory device context.
#include <gtest/gtest.h>
#include <vector>
#include "common/platform.h"
#include "winkit/image_button.h"
#include "app/startup.h"
#include "res/resource.h"
#include "winkit/program_module.h"

namespace {

const COLORREF kCellColour[3] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200)};
const COLORREF kBackground = RGB(192, 192, 192);

// A packed 8-bit strip of `cells` cells of 36x32, cell n filled with entry n, corners with entry 243.
std::vector<unsigned char> MakeStrip(int cells, int bitCount = 8)
{
    int width = 36 * cells, height = 32;
    int stride = ((width * bitCount + 31) / 32) * 4;
    int colours = bitCount <= 8 ? 1 << bitCount : 0;
    std::vector<unsigned char> block(40 + colours * 4 + stride * height, 0);
    BITMAPINFOHEADER *h = (BITMAPINFOHEADER *)block.data();
    h->biSize = 40;
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = (WORD)bitCount;
    h->biCompression = BI_RGB;
    RGBQUAD *table = (RGBQUAD *)(block.data() + 40);
    for (int i = 0; i < colours; ++i) {
        COLORREF c = i < 3 ? kCellColour[i] : (i == 243 ? kBackground : RGB(i, i, i));
        table[i].rgbRed = GetRValue(c);
        table[i].rgbGreen = GetGValue(c);
        table[i].rgbBlue = GetBValue(c);
    }
    if (bitCount == 8) {
        unsigned char *pixels = block.data() + 40 + colours * 4;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[y * stride + x] = (x % 36 == 0 && (y == 0 || y == height - 1)) ? 243 : (unsigned char)(x / 36);
    }
    return block;
}

// A 50x44 button face painted into a 32-bit memory bitmap.
class Painter {
public:
    HDC dc;
    HBITMAP target, old;
    HWND button;
    Painter(const char *caption)
    {
        HDC screen = GetDC(0);
        dc = CreateCompatibleDC(screen);
        target = CreateCompatibleBitmap(screen, 50, 44);
        ReleaseDC(0, screen);
        old = (HBITMAP)SelectObject(dc, target);
        button = CreateWindowExA(0, "Button", caption, WS_POPUP | BS_OWNERDRAW, 0, 0, 50, 44, 0, 0, g_instance, 0);
    }
    ~Painter()
    {
        SelectObject(dc, old);
        DeleteObject(target);
        DeleteDC(dc);
        DestroyWindow(button);
    }
    void Draw(HBITMAP strip, UINT state)
    {
        RECT all = {0, 0, 50, 44};
        HBRUSH black = (HBRUSH)GetStockObject(BLACK_BRUSH);
        FillRect(dc, &all, black);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = button;
        item.hDC = dc;
        item.rcItem = all;
        item.itemState = state;
        item.itemAction = ODA_DRAWENTIRE;
        DrawImageButton(&item, strip, 36, 32);
    }
    COLORREF At(int x, int y) { return GetPixel(dc, x, y); }
};

// Cell placement for a 50x44 button: fill area 2..48 x 2..42, cell at x 7, y 6, rows 6..37.
TEST(ImageButton, EnabledAndDisabledCells)
{
    std::vector<unsigned char> s = MakeStrip(3);
    HBITMAP strip = CreateButtonBitmap(s.data(), (int)s.size(), 243, GetSysColor(COLOR_BTNFACE));
    ASSERT_TRUE(strip != 0);
    Painter p("");
    p.Draw(strip, 0);
    EXPECT_EQ(kCellColour[0], p.At(8, 7));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), p.At(6, 20));   // left of the cell: face
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), p.At(7, 6));    // cell corner: entry 243 became the face colour
    p.Draw(strip, ODS_DISABLED);
    EXPECT_EQ(kCellColour[1], p.At(8, 7));
    DeleteObject(strip);
}

TEST(ImageButton, CaptionNumberChoosesCell)
{
    std::vector<unsigned char> s = MakeStrip(3);
    HBITMAP strip = CreateButtonBitmap(s.data(), (int)s.size(), 243, GetSysColor(COLOR_BTNFACE));
    Painter p("1 send");
    p.Draw(strip, 0);
    EXPECT_EQ(kCellColour[1], p.At(20, 20));
    p.Draw(strip, ODS_DISABLED);
    EXPECT_EQ(kCellColour[2], p.At(20, 20));
    DeleteObject(strip);
}

// A cell beyond the strip is not copied: the face shows.
TEST(ImageButton, CellBeyondStripShowsFace)
{
    std::vector<unsigned char> s = MakeStrip(1);
    HBITMAP strip = CreateButtonBitmap(s.data(), (int)s.size(), 243, GetSysColor(COLOR_BTNFACE));
    Painter p("");
    p.Draw(strip, ODS_DISABLED);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), p.At(20, 20));
    DeleteObject(strip);
}

TEST(ImageButton, PressedSwapsEdgesAndShiftsImage)
{
    std::vector<unsigned char> s = MakeStrip(3);
    HBITMAP strip = CreateButtonBitmap(s.data(), (int)s.size(), 243, GetSysColor(COLOR_BTNFACE));
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT), darkShadow = GetSysColor(COLOR_3DDKSHADOW);
    COLORREF light = GetSysColor(COLOR_3DLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    Painter p("");
    p.Draw(strip, 0);
    EXPECT_EQ(highlight, p.At(0, 0));
    EXPECT_EQ(darkShadow, p.At(49, 0));    // top-right corner: second colour
    EXPECT_EQ(darkShadow, p.At(0, 43));    // bottom-left corner: second colour
    EXPECT_EQ(darkShadow, p.At(49, 43));
    EXPECT_EQ(light, p.At(1, 1));
    EXPECT_EQ(shadow, p.At(48, 42));
    EXPECT_EQ(kCellColour[0], p.At(8, 6));  // first row of the image
    EXPECT_EQ(kCellColour[0], p.At(8, 37)); // last row
    EXPECT_EQ(face, p.At(8, 38));

    p.Draw(strip, ODS_SELECTED);
    EXPECT_EQ(darkShadow, p.At(0, 0));
    EXPECT_EQ(highlight, p.At(49, 0));
    EXPECT_EQ(highlight, p.At(49, 43));
    EXPECT_EQ(shadow, p.At(1, 1));
    EXPECT_EQ(light, p.At(48, 42));
    EXPECT_EQ(face, p.At(8, 6));            // moved one pixel right and down
    EXPECT_EQ(face, p.At(7, 20));
    EXPECT_EQ(kCellColour[0], p.At(9, 7));
    EXPECT_EQ(kCellColour[0], p.At(9, 37)); // the image's last row is left out: ends on the same row
    EXPECT_EQ(face, p.At(9, 38));
    DeleteObject(strip);
}

TEST(ImageButton, FocusRectangleTwoPixelsInsideFill)
{
    std::vector<unsigned char> s = MakeStrip(3);
    HBITMAP strip = CreateButtonBitmap(s.data(), (int)s.size(), 243, GetSysColor(COLOR_BTNFACE));
    Painter p("");
    p.Draw(strip, 0);
    std::vector<COLORREF> plain;
    for (int x = 4; x < 46; ++x) plain.push_back(p.At(x, 4));
    p.Draw(strip, ODS_FOCUS);
    int changed = 0;
    for (int x = 4; x < 46; ++x) changed += p.At(x, 4) != plain[x - 4];
    EXPECT_GT(changed, 5);   // dotted line on row 4
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), p.At(20, 3));  // nothing between fill edge and focus line
    DeleteObject(strip);
}

// Without a bitmap the edges and face are still painted.
TEST(ImageButton, MissingBitmapStillPaintsEdgesAndFace)
{
    Painter p("");
    p.Draw(0, 0);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), p.At(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), p.At(20, 20));
}

TEST(ImageButton, EdgeLinesCornersAndFill)
{
    Painter p("");
    RECT all = {0, 0, 50, 44};
    FillSolid(p.dc, &all, RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), p.At(25, 25));
    DrawEdgeLines(p.dc, 10, 10, 20, 20, RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(RGB(255, 0, 0), p.At(10, 10));
    EXPECT_EQ(RGB(255, 0, 0), p.At(15, 10));
    EXPECT_EQ(RGB(0, 0, 255), p.At(19, 10));
    EXPECT_EQ(RGB(0, 0, 255), p.At(10, 19));
    EXPECT_EQ(RGB(0, 0, 255), p.At(19, 19));
    EXPECT_EQ(RGB(1, 2, 3), p.At(15, 15));
    EXPECT_EQ(RGB(1, 2, 3), p.At(20, 20));
}

// Every scale's strip, the 96-DPI ones by entry 243 and the larger ones by their compact tables.
TEST(ButtonBitmap, ResourcesLoadWithFaceColourInBackground)
{
    const COLORREF face = RGB(10, 20, 30);
    const int ids[2] = {IDB_SEND, IDB_CLOSE};
    const int widths[2] = {72, 36};
    const int dpis[4] = {96, 120, 144, 192};
    for (int i = 0; i < 2; ++i)
        for (int d = 0; d < 4; ++d) {
            HBITMAP b = LoadButtonBitmapForDpi(ids[i], dpis[d], BUTTON_FACE_INDEX, face);
            ASSERT_TRUE(b != 0) << ids[i] << " at " << dpis[d];
            BITMAP info;
            GetObjectA(b, sizeof info, &info);
            int w = widths[i] * dpis[d] / 96, h = 32 * dpis[d] / 96;
            EXPECT_EQ(w, info.bmWidth);
            EXPECT_EQ(h, info.bmHeight);
            HDC dc = CreateCompatibleDC(0);
            HGDIOBJ old = SelectObject(dc, b);
            EXPECT_EQ(face, GetPixel(dc, 0, 0)) << ids[i] << " at " << dpis[d];
            EXPECT_EQ(face, GetPixel(dc, w - 1, h - 1)) << ids[i] << " at " << dpis[d];
            SelectObject(dc, old);
            DeleteDC(dc);
            DeleteObject(b);
        }
    EXPECT_TRUE(LoadButtonBitmap(99, BUTTON_FACE_INDEX, face) == 0);
}

// Bitmaps the loader does not handle are refused instead of being read past their end.
TEST(ButtonBitmap, RefusesDeepShortOrInconsistentBitmaps)
{
    std::vector<unsigned char> deep = MakeStrip(2, 24);
    EXPECT_TRUE(CreateButtonBitmap(deep.data(), (int)deep.size(), 243, 0) == 0);

    std::vector<unsigned char> s = MakeStrip(2);
    EXPECT_TRUE(CreateButtonBitmap(s.data(), (int)s.size() - 1, 243, 0) == 0);   // pixel rows cut short
    EXPECT_TRUE(CreateButtonBitmap(s.data(), 40 + 100 * 4, 243, 0) == 0);        // colour table cut short
    EXPECT_TRUE(CreateButtonBitmap(s.data(), 20, 243, 0) == 0);                  // not even a header

    std::vector<unsigned char> used = s;
    ((BITMAPINFOHEADER *)used.data())->biClrUsed = 100000;
    EXPECT_TRUE(CreateButtonBitmap(used.data(), (int)used.size(), 243, 0) == 0);

    std::vector<unsigned char> huge = s;
    ((BITMAPINFOHEADER *)huge.data())->biWidth = 0x7FFFFFFF;
    EXPECT_TRUE(CreateButtonBitmap(huge.data(), (int)huge.size(), 243, 0) == 0);

    // A 4-bit strip is drawable; entry 243 lies outside its table, so nothing is patched.
    std::vector<unsigned char> four = MakeStrip(1, 4);
    HBITMAP b = CreateButtonBitmap(four.data(), (int)four.size(), 243, RGB(9, 9, 9));
    EXPECT_TRUE(b != 0);
    if (b) DeleteObject(b);
}

}  // namespace
