// code_page.h: the system's conversion between UTF-8 and code page 949, in the shape the file readers take.
#ifndef SETRADIO_WINKIT_CODE_PAGE_H
#define SETRADIO_WINKIT_CODE_PAGE_H

int Utf8ToCodePage949(const char *in, int length, char *out, int capacity);
int CodePage949ToUtf8(const char *in, int length, char *out, int capacity);

#endif
