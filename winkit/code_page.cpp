// code_page.cpp: UTF-8 to code page 949 and back through MultiByteToWideChar and WideCharToMultiByte.
#include "winkit/code_page.h"
#include "common/platform.h"
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
