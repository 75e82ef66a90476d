// korean_code_page.h: characters of the Basic Multilingual Plane into code page 949, by the system's
// own table (WideCharToMultiByte on Windows, iconv elsewhere).
#ifndef SETRADIO_COMMON_KOREAN_CODE_PAGE_H
#define SETRADIO_COMMON_KOREAN_CODE_PAGE_H

// count characters (U+0000..U+FFFF, no surrogates) into out (capacity bytes, no NUL). Each character
// 949 lacks becomes exactly one '?', never a look-alike. Returns the bytes written, or -1 when they
// do not fit or the system cannot convert.
int WideTo949(const unsigned short *wide, int count, char *out, int capacity);

#endif
