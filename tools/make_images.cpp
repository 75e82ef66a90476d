// make_images.cpp: draws the button strips and the program icon and writes them as BMP and ICO files.
// Usage: make_images OUTDIR WORDMASK.raw [PERCENT]
//   WORDMASK.raw: bytes of grey (0 background .. 255 ink), the rendered word for the disabled cell,
//   36x32 scaled by PERCENT (default 100).
// At 100 writes OUTDIR/send.bmp (72x32), OUTDIR/close.bmp (36x32), both 8 bits per pixel with a full
// 256-entry colour table whose entry 243 is the light grey background, and OUTDIR/setradio.ico
// (32x32 and 16x16, 16 colours). At another PERCENT (125, 150, 200) writes send_PERCENT.bmp and
// close_PERCENT.bmp, the same drawings made at that size (not stretched), run-length encoded with a
// colour table of the colours used, the background in entry 0 (BUTTON_SCALED_FACE_INDEX).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kCell = 36;
const int kHeight = 32;
const int kFace = 243;  // background entry, replaced by the button face colour at load time

// Palette entries used by the drawings (the rest of the table is a grey ramp).
enum {
    P_BLACK = 0, P_DARKRED = 1, P_DARKGREEN = 2, P_OLIVE = 3, P_NAVY = 4, P_PURPLE = 5, P_TEAL = 6,
    P_GREY = 7, P_SILVER = 8, P_RED = 9, P_GREEN = 10, P_YELLOW = 11, P_BLUE = 12, P_MAGENTA = 13,
    P_CYAN = 14, P_WHITE = 15, P_ORANGE = 16, P_BROWN = 17, P_DARKGREY = 18, P_PINK = 19
};

struct Rgb { uint8_t r, g, b; };

std::vector<Rgb> MakePalette()
{
    std::vector<Rgb> p(256);
    const Rgb base[20] = {
        {0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128}, {128, 0, 128}, {0, 128, 128},
        {128, 128, 128}, {192, 192, 192}, {230, 30, 30}, {0, 200, 0}, {255, 220, 0}, {40, 90, 230},
        {255, 0, 255}, {0, 220, 255}, {255, 255, 255}, {255, 140, 0}, {120, 70, 30}, {64, 64, 64},
        {255, 150, 150}};
    for (int i = 0; i < 20; ++i) p[i] = base[i];
    for (int i = 20; i < 256; ++i) {
        uint8_t v = (uint8_t)((i - 20) * 255 / 235);
        p[i] = {v, v, v};
    }
    p[kFace] = {0xC0, 0xC0, 0xC0};
    return p;
}

// Drawings are given in the pixels of the 100 % size; a canvas of scale s draws them s times as
// large: shapes are evaluated at every pixel of the larger size, so edges stay sharp.
struct Canvas {
    int w, h;                 // pixels of this canvas
    std::vector<uint8_t> px;  // palette indexes, top row first
    double s = 1.0;
    Canvas(int width, int height, uint8_t fill) : w(width), h(height), px((size_t)width * height, fill) {}
    void Put(int x, int y, uint8_t c)
    {
        if (x >= 0 && y >= 0 && x < w && y < h) px[(size_t)y * w + x] = c;
    }
    // One pixel of the 100 % drawing: a block of this canvas.
    void Set(int x, int y, uint8_t c) { Block(x, y, c); }
    void Block(double x, double y, uint8_t c)
    {
        int x0 = (int)std::floor(x * s + 1e-9), x1 = (int)std::floor((x + 1) * s + 1e-9);
        int y0 = (int)std::floor(y * s + 1e-9), y1 = (int)std::floor((y + 1) * s + 1e-9);
        for (int yy = y0; yy < std::max(y1, y0 + 1); ++yy)
            for (int xx = x0; xx < std::max(x1, x0 + 1); ++xx) Put(xx, yy, c);
    }
    // The 100 % coordinate of this canvas' pixel centre (identical at scale 1).
    double At(int device) const { return (device + 0.5) / s - 0.5; }
    uint8_t Get(int x, int y) const { return px[(size_t)y * w + x]; }
    void Fill(int x0, int y0, int x1, int y1, uint8_t c)  // inclusive
    {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) Set(x, y, c);
    }
    void Frame(int x0, int y0, int x1, int y1, uint8_t c)
    {
        for (int x = x0; x <= x1; ++x) { Set(x, y0, c); Set(x, y1, c); }
        for (int y = y0; y <= y1; ++y) { Set(x0, y, c); Set(x1, y, c); }
    }
    void Disc(double cx, double cy, double r, uint8_t c)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((At(x) - cx) * (At(x) - cx) + (At(y) - cy) * (At(y) - cy) <= r * r) Put(x, y, c);
    }
    // Ring segment around (cx, cy) between radii r0..r1, angles a0..a1 in degrees (0 = right, 90 = up).
    void Arc(double cx, double cy, double r0, double r1, double a0, double a1, uint8_t c)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double dx = At(x) - cx, dy = cy - At(y);
                double d = std::sqrt(dx * dx + dy * dy);
                double a = std::atan2(dy, dx) * 180.0 / M_PI;
                if (d >= r0 && d <= r1 && a >= a0 && a <= a1) Put(x, y, c);
            }
    }
    void Line(int x0, int y0, int x1, int y1, uint8_t c)
    {
        int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        if (s != 1.0) {
            // Finer steps along the line, each a block of the line's width.
            int steps = (int)std::ceil(n * s);
            for (int i = 0; i <= steps; ++i)
                Block(x0 + (double)(x1 - x0) * i / (steps ? steps : 1), y0 + (double)(y1 - y0) * i / (steps ? steps : 1), c);
            return;
        }
        for (int i = 0; i <= n; ++i) {
            int x = n ? x0 + (x1 - x0) * i / n : x0;
            int y = n ? y0 + (y1 - y0) * i / n : y0;
            Set(x, y, c);
        }
    }
};

// A small radio with an antenna sending signal waves, drawn at (ox, oy) in a 36x32 area.
void DrawRadio(Canvas &c, int ox, int oy)
{
    // Antenna with a knob and two pairs of signal arcs.
    c.Line(ox + 24, oy + 13, ox + 27, oy + 8, P_DARKGREY);
    c.Line(ox + 25, oy + 13, ox + 28, oy + 8, P_BLACK);
    c.Disc(ox + 27.5, oy + 7.5, 1.5, P_RED);
    c.Arc(ox + 27.5, oy + 7.5, 3.5, 4.6, -50, 50, P_BLUE);
    c.Arc(ox + 27.5, oy + 7.5, 6.0, 7.1, -45, 45, P_BLUE);
    c.Arc(ox + 27.5, oy + 7.5, 3.5, 4.6, 130, 200, P_BLUE);
    c.Arc(ox + 27.5, oy + 7.5, 6.0, 7.1, 135, 195, P_BLUE);
    // Body.
    c.Fill(ox + 3, oy + 13, ox + 32, oy + 28, P_DARKRED);
    c.Fill(ox + 4, oy + 14, ox + 31, oy + 27, P_RED);
    c.Frame(ox + 3, oy + 13, ox + 32, oy + 28, P_BLACK);
    c.Line(ox + 4, oy + 14, ox + 31, oy + 14, P_PINK);
    // Speaker grille.
    c.Disc(ox + 11, oy + 21, 5.0, P_BLACK);
    c.Disc(ox + 11, oy + 21, 4.0, P_DARKGREY);
    for (int y = oy + 18; y <= oy + 24; y += 2)
        for (int x = ox + 8; x <= ox + 14; x += 2)
            if ((x - ox - 11) * (x - ox - 11) + (y - oy - 21) * (y - oy - 21) <= 12) c.Set(x, y, P_GREY);
    // Tuning dial and two knobs.
    c.Fill(ox + 19, oy + 16, ox + 29, oy + 20, P_YELLOW);
    c.Frame(ox + 19, oy + 16, ox + 29, oy + 20, P_BLACK);
    c.Line(ox + 24, oy + 16, ox + 24, oy + 20, P_RED);
    c.Disc(ox + 21, oy + 24.5, 1.6, P_BLACK);
    c.Disc(ox + 27, oy + 24.5, 1.6, P_BLACK);
    // Feet.
    c.Fill(ox + 5, oy + 29, ox + 7, oy + 29, P_BLACK);
    c.Fill(ox + 28, oy + 29, ox + 30, oy + 29, P_BLACK);
}

// The rendered word (cell x height pixels of this canvas) in embossed grey: a white copy one step
// down-right under a dark grey copy.
void DrawEmbossedWord(Canvas &c, int ox, int cell, int height, const std::vector<uint8_t> &mask)
{
    int step = std::max(1, (int)std::lround(c.s));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < cell; ++x)
            if (mask[(size_t)y * cell + x] > 100) c.Put(ox + x + step, y + step, P_WHITE);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < cell; ++x)
            if (mask[(size_t)y * cell + x] > 100) c.Put(ox + x, y, P_GREY);
}

// A red cross with a dark outline.
void DrawCross(Canvas &c)
{
    const int W = c.w, H = c.h, step = std::max(1, (int)std::lround(c.s));
    Canvas shape(W, H, 0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            double u = c.At(x) - 17.5, v = c.At(y) - 15.5;
            bool inRange = std::fabs(u) <= 11.5 && std::fabs(v) <= 11.5;
            if (inRange && (std::fabs(u - v) <= 3.2 || std::fabs(u + v) <= 3.2)) shape.Put(x, y, 1);
        }
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (shape.Get(x, y)) continue;
            bool edge = false;
            for (int dy = -step; dy <= step; ++dy)
                for (int dx = -step; dx <= step; ++dx) {
                    int xx = x + dx, yy = y + dy;
                    if (xx >= 0 && yy >= 0 && xx < W && yy < H && shape.Get(xx, yy)) edge = true;
                }
            if (edge) c.Put(x, y, P_DARKRED);
        }
    // Lit from the upper left: the first pixel rows and columns of each stroke are lighter.
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (!shape.Get(x, y)) continue;
            bool lit = false;
            for (int d = 1; d <= step; ++d)
                lit = lit || (x >= d && !shape.Get(x - d, y)) || (y >= d && !shape.Get(x, y - d));
            c.Put(x, y, lit ? P_PINK : P_RED);
        }
}

void Put16(std::vector<uint8_t> &o, unsigned v) { o.push_back(v & 255); o.push_back((v >> 8) & 255); }
void Put32(std::vector<uint8_t> &o, unsigned v) { Put16(o, v & 0xFFFF); Put16(o, v >> 16); }

// BITMAPINFOHEADER with the given height field, bit count and colour count.
void PutInfoHeader(std::vector<uint8_t> &o, int w, int hField, int bits, int colours, unsigned imageSize)
{
    Put32(o, 40); Put32(o, (unsigned)w); Put32(o, (unsigned)hField); Put16(o, 1); Put16(o, (unsigned)bits);
    Put32(o, 0); Put32(o, imageSize); Put32(o, 2835); Put32(o, 2835); Put32(o, (unsigned)colours);
    Put32(o, (unsigned)colours);
}

bool WriteFile(const std::string &path, const std::vector<uint8_t> &data)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) { std::perror(path.c_str()); return false; }
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

bool WriteBmp8(const std::string &path, const Canvas &c, const std::vector<Rgb> &pal)
{
    int stride = (c.w + 3) & ~3;
    unsigned imageSize = (unsigned)(stride * c.h);
    std::vector<uint8_t> o;
    o.push_back('B'); o.push_back('M');
    Put32(o, 14 + 40 + 1024 + imageSize); Put32(o, 0); Put32(o, 14 + 40 + 1024);
    PutInfoHeader(o, c.w, c.h, 8, 256, imageSize);
    for (const Rgb &e : pal) { o.push_back(e.b); o.push_back(e.g); o.push_back(e.r); o.push_back(0); }
    for (int y = c.h - 1; y >= 0; --y) {
        for (int x = 0; x < stride; ++x) o.push_back(x < c.w ? c.Get(x, y) : 0);
    }
    return WriteFile(path, o);
}

// The same bitmap run-length encoded (BI_RLE8) with a colour table of only the colours it uses,
// the background first (entry 0): each row as runs of one index, then end of line; end of bitmap
// after the last row. The strips are mostly background and use few colours, so this keeps them small.
bool WriteBmp8Rle(const std::string &path, const Canvas &c, const std::vector<Rgb> &pal)
{
    std::vector<int> entryOf(256, -1);
    std::vector<Rgb> table;
    entryOf[kFace] = 0;
    table.push_back(pal[kFace]);
    for (uint8_t p : c.px)
        if (entryOf[p] < 0) {
            entryOf[p] = (int)table.size();
            table.push_back(pal[p]);
        }
    std::vector<uint8_t> bits;
    for (int y = c.h - 1; y >= 0; --y) {
        for (int x = 0; x < c.w;) {
            int n = 1;
            while (x + n < c.w && n < 255 && c.Get(x + n, y) == c.Get(x, y)) ++n;
            bits.push_back((uint8_t)n);
            bits.push_back((uint8_t)entryOf[c.Get(x, y)]);
            x += n;
        }
        bits.push_back(0);
        bits.push_back(y ? 0 : 1);
    }
    unsigned tableBytes = (unsigned)table.size() * 4;
    std::vector<uint8_t> o;
    o.push_back('B'); o.push_back('M');
    Put32(o, 14 + 40 + tableBytes + (unsigned)bits.size()); Put32(o, 0); Put32(o, 14 + 40 + tableBytes);
    PutInfoHeader(o, c.w, c.h, 8, (int)table.size(), (unsigned)bits.size());
    o[14 + 16] = 1;  // biCompression BI_RLE8
    for (const Rgb &e : table) { o.push_back(e.b); o.push_back(e.g); o.push_back(e.r); o.push_back(0); }
    o.insert(o.end(), bits.begin(), bits.end());
    return WriteFile(path, o);
}

// 16-colour icon image: header (double height), palette, 4-bit colour rows, 1-bit transparency mask.
std::vector<uint8_t> IconImage(const Canvas &c, const std::vector<Rgb> &pal, uint8_t transparent)
{
    int colorStride = ((c.w * 4 + 31) / 32) * 4;
    int maskStride = ((c.w + 31) / 32) * 4;
    std::vector<uint8_t> o;
    PutInfoHeader(o, c.w, c.h * 2, 4, 0, (unsigned)((colorStride + maskStride) * c.h));
    // Colour count 0 means "full table" for 4 bits: 16 entries.
    o[32] = 0; o[36] = 0;
    for (int i = 0; i < 16; ++i) { o.push_back(pal[i].b); o.push_back(pal[i].g); o.push_back(pal[i].r); o.push_back(0); }
    for (int y = c.h - 1; y >= 0; --y) {
        std::vector<uint8_t> row((size_t)colorStride, 0);
        for (int x = 0; x < c.w; ++x) {
            uint8_t v = c.Get(x, y);
            if (v == transparent || v >= 16) v = 0;
            row[(size_t)x / 2] |= (uint8_t)(x % 2 ? v : v << 4);
        }
        o.insert(o.end(), row.begin(), row.end());
    }
    for (int y = c.h - 1; y >= 0; --y) {
        std::vector<uint8_t> row((size_t)maskStride, 0);
        for (int x = 0; x < c.w; ++x)
            if (c.Get(x, y) == transparent) row[(size_t)x / 8] |= (uint8_t)(0x80 >> (x % 8));
        o.insert(o.end(), row.begin(), row.end());
    }
    return o;
}

bool WriteIcon(const std::string &path, const Canvas &big, const Canvas &small, const std::vector<Rgb> &pal,
               uint8_t transparent)
{
    std::vector<uint8_t> a = IconImage(big, pal, transparent), b = IconImage(small, pal, transparent);
    std::vector<uint8_t> o;
    Put16(o, 0); Put16(o, 1); Put16(o, 2);
    unsigned offset = 6 + 2 * 16;
    const Canvas *cs[2] = {&big, &small};
    const std::vector<uint8_t> *is[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        o.push_back((uint8_t)cs[i]->w); o.push_back((uint8_t)cs[i]->h); o.push_back(16); o.push_back(0);
        Put16(o, 1); Put16(o, 4); Put32(o, (unsigned)is[i]->size()); Put32(o, offset);
        offset += (unsigned)is[i]->size();
    }
    o.insert(o.end(), a.begin(), a.end());
    o.insert(o.end(), b.begin(), b.end());
    return WriteFile(path, o);
}

// Halves a 32x32 canvas into 16x16, keeping a pixel's colour when any of its four is not transparent.
Canvas Shrink(const Canvas &c, uint8_t transparent)
{
    Canvas s(c.w / 2, c.h / 2, transparent);
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x) {
            uint8_t pick = transparent;
            const int order[4][2] = {{0, 0}, {1, 1}, {1, 0}, {0, 1}};
            for (const auto &d : order) {
                uint8_t v = c.Get(x * 2 + d[0], y * 2 + d[1]);
                if (v != transparent) { pick = v; break; }
            }
            s.Set(x, y, pick);
        }
    return s;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s OUTDIR WORDMASK.raw [PERCENT]\n", argv[0]);
        return 2;
    }
    std::string out = argv[1];
    int percent = argc == 4 ? std::atoi(argv[3]) : 100;
    if (percent < 100 || percent > 400) {
        std::fprintf(stderr, "PERCENT must be 100 to 400\n");
        return 2;
    }
    const int cell = kCell * percent / 100, height = kHeight * percent / 100;
    std::vector<uint8_t> mask((size_t)cell * height, 0);
    FILE *m = std::fopen(argv[2], "rb");
    if (!m || std::fread(mask.data(), 1, mask.size(), m) != mask.size()) {
        std::fprintf(stderr, "cannot read %zu bytes of word mask from %s\n", mask.size(), argv[2]);
        if (m) std::fclose(m);
        return 1;
    }
    std::fclose(m);

    std::vector<Rgb> pal = MakePalette();

    Canvas send(2 * cell, height, kFace);
    send.s = percent / 100.0;
    DrawRadio(send, 0, 0);
    DrawEmbossedWord(send, cell, cell, height, mask);

    Canvas close(cell, height, kFace);
    close.s = send.s;
    DrawCross(close);
    if (percent != 100) {
        std::string suffix = "_" + std::to_string(percent) + ".bmp";
        return WriteBmp8Rle(out + "/send" + suffix, send, pal) && WriteBmp8Rle(out + "/close" + suffix, close, pal) ? 0 : 1;
    }

    // The icon uses the first 16 entries only; P_SILVER (8) stands for the transparent area.
    Canvas icon(32, 32, P_SILVER);
    DrawRadio(icon, -2, 0);
    for (auto &p : icon.px) {
        if (p == P_PINK) p = P_RED;
        else if (p == P_DARKGREY) p = P_GREY;
        else if (p >= 16) p = P_BLACK;
    }
    Canvas iconSmall = Shrink(icon, P_SILVER);

    bool ok = WriteBmp8(out + "/send.bmp", send, pal) && WriteBmp8(out + "/close.bmp", close, pal) &&
              WriteIcon(out + "/setradio.ico", icon, iconSmall, pal, P_SILVER);
    return ok ? 0 : 1;
}
