// text.h: text, number, byte and colour helpers used in place of a run-time library.
// Texts are NUL-terminated bytes in the ANSI code page; sizes always count the NUL.
// Nothing here allocates, keeps state or calls the C run-time.
#ifndef SETRADIO_COMMON_TEXT_H
#define SETRADIO_COMMON_TEXT_H

// Texts, searching and comparing.
void GetKeyValue(const char *key, char *out, int size, const char *source);
int FindChar(const char *text, char c);
int FindByte(const void *buffer, int length, unsigned char byte);
int FindLastChar(const char *text, char c);
int FindText(const char *text, const char *sought);
int ComparePrefix(const char *text, const char *prefix);
char *StringEnd(char *text);
const char *StringEnd(const char *text);
const char *NextString(const char *text);
void AppendChar(char *text, char c);
char *SkipBlanks(char *text);
const char *SkipBlanks(const char *text);
char *SplitAt(char *text, char c);
void TrimText(char *text);
const char *ReadLine(const char *source, char *out, int size);
const char *SkipTokens(const char *text, int count);

// Numbers.
int ParseNumber(const char *text, int *used);
int ScanText(const char *text, const char *pattern, ...);  // one int* target per "%d"
int SmallerOf(int a, int b);

// Bytes and colours.
void ZeroBytes(void *address, int length);
void CopyBytes(void *destination, const void *source, int length);
unsigned ColorRefToRgbQuad(unsigned value);
unsigned SwapByteOrder(unsigned value);

// Small additions the rest of the system needs without a run-time library.
int TextLength(const char *text);
int TextEquals(const char *a, const char *b);                 // 1 when byte for byte equal
int CopyText(char *out, int size, const char *source);        // copies at most size-1 bytes; returns bytes copied
int FormatDecimal(char *out, int size, int value);           // "%d"; returns length, 0 when it does not fit

// Appending into a fixed buffer that is never written past its capacity.
struct TextBuilder {
    char *buffer;
    int capacity;   // bytes, NUL included
    int length;     // text bytes so far
    int overflow;   // 1 once something did not fit; the text then stops growing
};
void BuilderInit(TextBuilder *b, char *buffer, int capacity);
void BuilderAppend(TextBuilder *b, const char *text);
void BuilderAppendCut(TextBuilder *b, const char *text, int maxBytes);  // at most maxBytes of text
void BuilderAppendNumber(TextBuilder *b, int value);

#endif
