// korean_code_page.cpp: BMP characters into code page 949 through the system's table.
#include "common/korean_code_page.h"
#include "common/platform.h"

#ifdef _WIN32

int WideTo949(const unsigned short *wide, int count, char *out, int capacity)
{
    if (count <= 0) return 0;
    if (!out || capacity <= 0) return -1;
    // No best fit: 'é' must not become 'e', so every program gives the same bytes.
    int n = WideCharToMultiByte(949, WC_NO_BEST_FIT_CHARS, (LPCWCH)wide, count, out, capacity, "?", 0);
    return n > 0 ? n : -1;
}

#else
#include <iconv.h>

int WideTo949(const unsigned short *wide, int count, char *out, int capacity)
{
    if (count <= 0) return 0;
    if (!out || capacity <= 0) return -1;
    iconv_t cd = iconv_open("CP949", "UTF-8");
    if (cd == (iconv_t)-1) return -1;
    int n = 0;
    for (int i = 0; i < count && n >= 0; i++) {
        unsigned c = wide[i];
        if (c < 0x80) {
            if (n < capacity) out[n++] = (char)c;
            else n = -1;
            continue;
        }
        // One character as UTF-8 through iconv; one it cannot hold becomes '?'.
        char utf8[3];
        size_t left = c < 0x800 ? 2 : 3;
        if (left == 2) {
            utf8[0] = (char)(0xC0 | (c >> 6));
            utf8[1] = (char)(0x80 | (c & 0x3F));
        } else {
            utf8[0] = (char)(0xE0 | (c >> 12));
            utf8[1] = (char)(0x80 | ((c >> 6) & 0x3F));
            utf8[2] = (char)(0x80 | (c & 0x3F));
        }
        char *from = utf8, *to = out + n;
        size_t room = (size_t)(capacity - n);
        if (iconv(cd, &from, &left, &to, &room) != (size_t)-1) n = (int)(to - out);
        else if (errno == EILSEQ && n < capacity) {
            out[n++] = '?';
            iconv(cd, 0, 0, 0, 0);
        } else n = -1;
    }
    iconv_close(cd);
    return n;
}

#endif
