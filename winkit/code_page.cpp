// code_page.cpp: code page 949, UTF-8 and UTF-16 conversions through MultiByteToWideChar and
// WideCharToMultiByte, always with the code page named (never the system's).
#include "winkit/code_page.h"
#include "common/text.h"
#include "files/text_encoding.h"

enum { KOREAN_CODE_PAGE = 949 };

// in (length bytes of code page from) into out (capacity bytes of code page to); -1 when it fails.
static int ConvertCodePage(UINT from, UINT to, const char *in, int length, char *out, int capacity)
{
    if (length <= 0) return 0;
    if (!out || capacity <= 0) return -1;
    int wide = MultiByteToWideChar(from, 0, in, length, 0, 0);
    if (wide <= 0) return -1;
    WCHAR *buffer = (WCHAR *)PlatAlloc(wide * (int)sizeof(WCHAR));
    if (!buffer) return -1;
    int n = -1;
    if (MultiByteToWideChar(from, 0, in, length, buffer, wide) == wide) {
        // Characters 949 cannot hold become '?'; UTF-8 takes no replacement character.
        n = WideCharToMultiByte(to, 0, buffer, wide, out, capacity, to == CP_UTF8 ? 0 : "?", 0);
        if (n <= 0) n = -1;
    }
    PlatFree(buffer);
    return n;
}

// The one rule every program shares (malformed input and characters 949 lacks: one '?' each).
int Utf8ToCodePage949(const char *in, int length, char *out, int capacity)
{
    return Utf8To949(in, length, out, capacity);
}

int CodePage949ToUtf8(const char *in, int length, char *out, int capacity)
{
    return ConvertCodePage(KOREAN_CODE_PAGE, CP_UTF8, in, length, out, capacity);
}

int WideFrom949(const char *text, int length, WCHAR *out, int capacity)
{
    if (!out || capacity <= 0) return 0;
    out[0] = 0;
    if (!text) return 0;
    if (length < 0) length = TextLength(text);
    // Each 949 character gives one UTF-16 unit: a cut to capacity - 1 bytes, moved back to a
    // character's start, always fits.
    int cut = length;
    if (cut > capacity - 1) {
        cut = 0;
        while (cut < capacity - 1) {
            int step = (unsigned char)text[cut] >= 0x81 && cut + 1 < length ? 2 : 1;
            if (cut + step > capacity - 1) break;
            cut += step;
        }
    }
    int n = cut > 0 ? MultiByteToWideChar(KOREAN_CODE_PAGE, 0, text, cut, out, capacity - 1) : 0;
    if (n < 0) n = 0;
    out[n] = 0;
    return n;
}

WCHAR *NewWideFrom949(const char *text)
{
    int length = text ? TextLength(text) : 0;
    WCHAR *wide = (WCHAR *)PlatAlloc((length + 1) * (int)sizeof(WCHAR));
    if (wide) WideFrom949(text, length, wide, length + 1);
    return wide;
}

static int WideLength(const WCHAR *text)
{
    int n = 0;
    while (text[n]) n++;
    return n;
}

// Units of the character at text (1, or 2 for a surrogate pair).
static int CharacterUnits(const WCHAR *text, int left)
{
    return left >= 2 && text[0] >= 0xD800 && text[0] <= 0xDBFF && text[1] >= 0xDC00 && text[1] <= 0xDFFF ? 2 : 1;
}

int WidePrefixFor949Bytes(const WCHAR *text, int length, int maxBytes)
{
    int units = 0, bytes = 0;
    while (units < length) {
        int step = CharacterUnits(text + units, length - units);
        char form[8];
        int size = WideCharToMultiByte(KOREAN_CODE_PAGE, 0, text + units, step, form, sizeof form, "?", 0);
        if (size <= 0) size = 1;
        if (bytes + size > maxBytes) break;
        bytes += size;
        units += step;
    }
    return units;
}

int WideTo949(const WCHAR *text, char *out, int size)
{
    if (!out || size <= 0) return 0;
    out[0] = 0;
    if (!text) return 0;
    int units = WidePrefixFor949Bytes(text, WideLength(text), size - 1);
    int n = units > 0 ? WideCharToMultiByte(KOREAN_CODE_PAGE, 0, text, units, out, size - 1, "?", 0) : 0;
    if (n < 0) n = 0;
    out[n] = 0;
    return n;
}

int WideFits949(const WCHAR *text)
{
    if (!text) return 1;
    for (int i = 0; text[i];) {
        int step = CharacterUnits(text + i, text[i + 1] ? 2 : 1);
        char form[8];
        BOOL lost = FALSE;
        int size = WideCharToMultiByte(KOREAN_CODE_PAGE, WC_NO_BEST_FIT_CHARS, text + i, step, form, sizeof form, 0, &lost);
        if (size <= 0 || lost) return 0;
        i += step;
    }
    return 1;
}
