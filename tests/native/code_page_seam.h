// code_page_seam.h: the code-page converters the file readers are handed in the core tests:
// iconv on Linux (as a Linux caller would supply), the system's conversion under Windows.
#ifndef SETRADIO_TESTS_NATIVE_CODE_PAGE_SEAM_H
#define SETRADIO_TESTS_NATIVE_CODE_PAGE_SEAM_H

#ifdef _WIN32
#include <windows.h>
#include <vector>

inline int ConvertThroughWide(unsigned from, unsigned to, const char *in, int length, char *out, int capacity)
{
    int wide = MultiByteToWideChar(from, 0, in, length, 0, 0);
    if (wide <= 0) return -1;
    std::vector<wchar_t> buffer(wide);
    MultiByteToWideChar(from, 0, in, length, buffer.data(), wide);
    int n = WideCharToMultiByte(to, 0, buffer.data(), wide, out, capacity, to == CP_UTF8 ? 0 : "?", 0);
    return n > 0 ? n : -1;
}
inline int TestUtf8To949(const char *in, int length, char *out, int capacity)
{
    return ConvertThroughWide(CP_UTF8, 949, in, length, out, capacity);
}
inline int Test949ToUtf8(const char *in, int length, char *out, int capacity)
{
    return ConvertThroughWide(949, CP_UTF8, in, length, out, capacity);
}
#else
#include <cerrno>
#include <iconv.h>

inline int ConvertWithIconv(const char *to, const char *from, const char *in, int length, char *out, int capacity)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) return -1;
    char *source = const_cast<char *>(in);
    size_t left = (size_t)length, room = (size_t)capacity;
    char *target = out;
    int result = 0;
    while (left > 0 && result == 0) {
        if (iconv(cd, &source, &left, &target, &room) != (size_t)-1) break;
        if (errno != EILSEQ || room == 0) result = -1;   // no room, or a cut sequence at the end
        else {   // a character the target cannot hold: one '?' for its whole sequence
            *target++ = '?';
            room--;
            do { source++; left--; } while (left > 0 && (*source & 0xC0) == 0x80 && from[0] == 'U');
        }
    }
    iconv_close(cd);
    return result ? -1 : (int)(target - out);
}
inline int TestUtf8To949(const char *in, int length, char *out, int capacity)
{
    return ConvertWithIconv("CP949", "UTF-8", in, length, out, capacity);
}
inline int Test949ToUtf8(const char *in, int length, char *out, int capacity)
{
    return ConvertWithIconv("UTF-8", "CP949", in, length, out, capacity);
}
#endif

#endif
