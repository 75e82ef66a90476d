// code_page.h: conversions between code page 949 (radios, files), UTF-8 (files) and UTF-16 (the window).
#ifndef SETRADIO_WINKIT_CODE_PAGE_H
#define SETRADIO_WINKIT_CODE_PAGE_H

#include "common/platform.h"

// In the shape the file readers take: -1 when it fails; a character 949 cannot hold becomes '?'.
int Utf8ToCodePage949(const char *in, int length, char *out, int capacity);
int CodePage949ToUtf8(const char *in, int length, char *out, int capacity);

// 949 text (length bytes; -1: up to its NUL) into out (capacity UTF-16 units, NUL included), cut
// at a character when it does not fit. Returns the units written before the NUL.
int WideFrom949(const char *text, int length, WCHAR *out, int capacity);
// Heap copy of a 949 text in UTF-16 (PlatFree it); null when memory runs out.
WCHAR *NewWideFrom949(const char *text);
// UTF-16 text into out (size bytes, NUL included) as 949: the whole characters that fit; one
// 949 cannot hold becomes '?'. Returns the bytes written before the NUL.
int WideTo949(const WCHAR *text, char *out, int size);
// 1 when code page 949 holds every character of the text (NUL-terminated).
int WideFits949(const WCHAR *text);
// UTF-16 units of the longest start of text (length units) whose 949 form takes at most maxBytes;
// a surrogate pair is never split.
int WidePrefixFor949Bytes(const WCHAR *text, int length, int maxBytes);

#endif
