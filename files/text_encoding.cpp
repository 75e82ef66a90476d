// text_encoding.cpp: UTF-8 recognition and the decoding of a file's bytes into code-page text.
#include "files/text_encoding.h"
#include "common/text.h"

int HasUtf8Bom(const char *bytes, int length)
{
    const unsigned char *p = (const unsigned char *)bytes;
    return length >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF;
}

int Utf8SequenceLength(const unsigned char *p, int left)
{
    if (left <= 0) return 0;
    unsigned c = p[0];
    int n;
    unsigned low;   // smallest code point the length may carry (no overlong forms)
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) { n = 2; low = 0x80; }
    else if (c >= 0xE0 && c <= 0xEF) { n = 3; low = 0x800; }
    else if (c >= 0xF0 && c <= 0xF4) { n = 4; low = 0x10000; }
    else return 0;
    if (n > left) return 0;
    unsigned value = c & (0x7F >> n);
    for (int i = 1; i < n; i++) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    if (value < low || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
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
