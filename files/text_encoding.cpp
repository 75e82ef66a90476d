// text_encoding.cpp: UTF-8 recognition and the decoding of a file's bytes into code-page text.
#include "files/text_encoding.h"
#include "common/korean_code_page.h"
#include "common/platform.h"
#include "common/text.h"

#define MALFORMED 0xFFFFFFFFu

int HasUtf8Bom(const char *bytes, int length)
{
    const unsigned char *p = (const unsigned char *)bytes;
    return length >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF;
}

// The character at p (left > 0 bytes): sets *value to it, or to MALFORMED for a maximal malformed
// subpart, and returns the bytes it takes. The second byte's range shuts out overlong forms,
// surrogates and values over U+10FFFF, so a subpart never swallows a byte that starts something.
static int NextUtf8(const unsigned char *p, int left, unsigned *value)
{
    if (left <= 0) return 0;
    unsigned c = p[0];
    int n;
    unsigned low = 0x80, high = 0xBF;
    *value = MALFORMED;
    if (c < 0x80) { *value = c; return 1; }
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) { n = 3; if (c == 0xE0) low = 0xA0; if (c == 0xED) high = 0x9F; }
    else if (c >= 0xF0 && c <= 0xF4) { n = 4; if (c == 0xF0) low = 0x90; if (c == 0xF4) high = 0x8F; }
    else return 1;
    unsigned v = c & (0x7F >> n);
    for (int i = 1; i < n; i++) {
        if (i >= left || p[i] < low || p[i] > high) return i;
        v = (v << 6) | (p[i] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    *value = v;
    return n;
}

int Utf8SequenceLength(const unsigned char *p, int left)
{
    unsigned value;
    int n = NextUtf8(p, left, &value);
    return value == MALFORMED ? 0 : n;
}

int Utf8To949(const char *in, int length, char *out, int capacity)
{
    if (length <= 0) return 0;
    if (!out || capacity <= 0 || length > 0x3FFFFFFF / 2) return -1;
    unsigned short *wide = (unsigned short *)PlatAlloc(length * 2);
    if (!wide) return -1;
    const unsigned char *p = (const unsigned char *)in;
    int count = 0;
    for (int i = 0; i < length;) {
        unsigned value;
        i += NextUtf8(p + i, length - i, &value);
        wide[count++] = (unsigned short)(value > 0xFFFF ? '?' : value);   // malformed, or beyond the BMP
    }
    int n = WideTo949(wide, count, out, capacity);
    PlatFree(wide);
    return n;
}

int IsUtf8WithNonAscii(const char *bytes, int length)
{
    const unsigned char *p = (const unsigned char *)bytes;
    int nonAscii = 0;
    for (int i = 0; i < length;) {
        int n = Utf8SequenceLength(p + i, length - i);
        if (!n) return 0;
        if (n > 1) nonAscii = 1;
        i += n;
    }
    return nonAscii;
}

int DecodeFileText(const char *bytes, int length, char *out, int capacity, TextConverter toLocal)
{
    if (!out || capacity <= 0 || length < 0) return -1;
    out[0] = 0;
    int marked = HasUtf8Bom(bytes, length);
    if (marked) {
        bytes += 3;
        length -= 3;
    }
    int n;
    if (marked || IsUtf8WithNonAscii(bytes, length)) {
        if (!toLocal) return -1;
        n = length ? toLocal(bytes, length, out, capacity - 1) : 0;
        if (n < 0 || n > capacity - 1) {
            out[0] = 0;
            return -1;
        }
    } else {
        if (length > capacity - 1) return -1;
        CopyBytes(out, bytes, length);
        n = length;
    }
    out[n] = 0;
    return n;
}
