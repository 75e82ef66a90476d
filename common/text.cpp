// text.cpp: text, number, byte and colour helpers (no run-time library).
#include "common/text.h"

#include <stdarg.h>

// Space and tab: the blanks of trimming, token stepping and pattern reading.
static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

int TextLength(const char *text)
{
    int n = 0;
    while (text[n]) n++;
    return n;
}

int TextEquals(const char *a, const char *b)
{
    int i = 0;
    while (a[i] && a[i] == b[i]) i++;
    return a[i] == b[i];
}

int CopyText(char *out, int size, const char *source)
{
    if (size < 1) return 0;
    int n = 0;
    while (n < size - 1 && source[n]) {
        out[n] = source[n];
        n++;
    }
    out[n] = 0;
    return n;
}

void GetKeyValue(const char *key, char *out, int size, const char *source)
{
    if (size < 1) return;
    out[0] = 0;
    int at = FindText(source, key);
    if (at < 0) return;
    const char *value = source + at + TextLength(key);
    int n = 0;
    while (value[n] && value[n] != '\r' && value[n] != '\n') {
        if (n < size - 1) out[n] = value[n];
        n++;
    }
    out[n < size - 1 ? n : size - 1] = 0;
}

int FindChar(const char *text, char c)
{
    for (int i = 0; text[i]; i++)
        if (text[i] == c) return i;
    return -1;
}

int FindByte(const void *buffer, int length, unsigned char byte)
{
    const unsigned char *p = (const unsigned char *)buffer;
    for (int i = 0; i < length; i++)
        if (p[i] == byte) return i;
    return -1;
}

int FindLastChar(const char *text, char c)
{
    int found = -1;
    for (int i = 0; text[i]; i++)
        if (text[i] == c) found = i;
    return found;
}

int FindText(const char *text, const char *sought)
{
    if (!sought[0]) return 0;
    for (int i = 0; text[i]; i++) {
        int j = 0;
        while (sought[j] && text[i + j] == sought[j]) j++;
        if (!sought[j]) return i;
        if (!text[i + j]) return -1;  // the rest of the text is shorter than the sought text
    }
    return -1;
}

int ComparePrefix(const char *text, const char *prefix)
{
    for (int i = 0; prefix[i]; i++)
        if (text[i] != prefix[i]) return 1;
    return 0;
}

char *StringEnd(char *text)
{
    while (*text) text++;
    return text;
}

const char *StringEnd(const char *text)
{
    while (*text) text++;
    return text;
}

const char *NextString(const char *text)
{
    return StringEnd(text) + 1;
}

void AppendChar(char *text, char c)
{
    char *end = StringEnd(text);
    end[0] = c;
    end[1] = 0;
}

const char *SkipBlanks(const char *text)
{
    while ((unsigned char)*text >= 1 && (unsigned char)*text <= 32) text++;
    return text;
}

char *SkipBlanks(char *text)
{
    while ((unsigned char)*text >= 1 && (unsigned char)*text <= 32) text++;
    return text;
}

char *SplitAt(char *text, char c)
{
    int at = FindChar(text, c);
    if (at < 0) return 0;
    text[at] = 0;
    return text + at + 1;
}

void TrimText(char *text)
{
    int length = TextLength(text);
    while (length > 0 && IsBlank(text[length - 1])) length--;
    text[length] = 0;
    int start = 0;
    while (IsBlank(text[start])) start++;
    if (start == 0) return;
    int i = 0;
    do {
        text[i] = text[start + i];
    } while (text[i++]);
}

const char *ReadLine(const char *source, char *out, int size)
{
    int n = 0;
    while (*source && *source != '\r' && *source != '\n') {
        if (n < size - 1) out[n++] = *source;
        source++;
    }
    if (size >= 1) out[n] = 0;
    if (*source == '\r') {
        source++;
        if (*source == '\n') source++;
    } else if (*source == '\n') {
        source++;
        if (*source == '\r') source++;
    }
    return source;
}

const char *SkipTokens(const char *text, int count)
{
    for (int t = 0; t < count && *text; t++) {
        if (*text == '"' || *text == '\'') {
            char quote = *text++;
            while (*text && *text != quote) text++;
            if (*text) text++;  // the closing quote
        } else {
            while (*text && !IsBlank(*text)) text++;
        }
        while (IsBlank(*text)) text++;
    }
    return text;
}

static int DigitValue(char c, int hex)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int ParseNumber(const char *text, int *used)
{
    int i = 0;
    while (IsBlank(text[i])) i++;
    int negative = 0;
    int sign = 0;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        sign = 1;
        i++;
    }
    int hex = 0;
    if (!sign && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = 1;
        i += 2;
    }
    unsigned value = 0;
    int digits = 0;
    for (;;) {
        int d = DigitValue(text[i], hex);
        if (d < 0) break;
        value = value * (hex ? 16u : 10u) + (unsigned)d;
        digits++;
        i++;
    }
    if (!digits) {
        if (used) *used = 0;
        return 0;
    }
    if (negative) value = 0u - value;
    if (used) *used = i;
    return (int)value;
}

// Reads the decimal number of a "%d" conversion; rounds on the first digit after a point.
static const char *ScanDecimal(const char *text, int *out)
{
    int negative = 0;
    if (*text == '-' || *text == '+') {
        negative = *text == '-';
        text++;
    }
    unsigned value = 0;
    while (*text >= '0' && *text <= '9') value = value * 10u + (unsigned)(*text++ - '0');
    if (*text == '.') {
        text++;
        if (*text >= '5' && *text <= '9') value++;
        while (*text >= '0' && *text <= '9') text++;
    }
    *out = (int)(negative ? 0u - value : value);
    return text;
}

int ScanText(const char *text, const char *pattern, ...)
{
    va_list targets;
    va_start(targets, pattern);
    while (*text && *pattern) {
        if (pattern[0] == '%' && pattern[1] == 'd') {
            int value;
            text = ScanDecimal(text, &value);
            *va_arg(targets, int *) = value;
            pattern += 2;
        } else if (IsBlank(*text) || IsBlank(*pattern)) {
            if (!IsBlank(*text) || !IsBlank(*pattern)) break;
            while (IsBlank(*text)) text++;
            while (IsBlank(*pattern)) pattern++;
        } else if (*text == *pattern) {
            text++;
            pattern++;
        } else {
            break;
        }
    }
    va_end(targets);
    return !*text && !*pattern;
}

int SmallerOf(int a, int b)
{
    return a < b ? a : b;
}

void ZeroBytes(void *address, int length)
{
    unsigned char *p = (unsigned char *)address;
    for (int i = 0; i < length; i++) p[i] = 0;
}

void CopyBytes(void *destination, const void *source, int length)
{
    unsigned char *d = (unsigned char *)destination;
    const unsigned char *s = (const unsigned char *)source;
    for (int i = 0; i < length; i++) d[i] = s[i];
}

unsigned ColorRefToRgbQuad(unsigned value)
{
    return (value & 0xFF00FF00u) | ((value & 0xFFu) << 16) | ((value >> 16) & 0xFFu);
}

unsigned SwapByteOrder(unsigned value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

int FormatDecimal(char *out, int size, int value)
{
    char digits[12];
    int n = 0;
    unsigned magnitude = value < 0 ? 0u - (unsigned)value : (unsigned)value;
    do {
        digits[n++] = (char)('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude);
    int length = n + (value < 0);
    if (size < 1) return 0;
    if (length > size - 1) {
        out[0] = 0;
        return 0;
    }
    int i = 0;
    if (value < 0) out[i++] = '-';
    while (n) out[i++] = digits[--n];
    out[i] = 0;
    return length;
}

void BuilderInit(TextBuilder *b, char *buffer, int capacity)
{
    b->buffer = buffer;
    b->capacity = capacity;
    b->length = 0;
    b->overflow = capacity < 1;
    if (capacity >= 1) buffer[0] = 0;
}

void BuilderAppendCut(TextBuilder *b, const char *text, int maxBytes)
{
    if (b->overflow) return;
    int n = 0;
    while (n < maxBytes && text[n]) n++;
    if (n > b->capacity - 1 - b->length) {  // the piece and the NUL would not fit: none of it goes in
        b->overflow = 1;
        return;
    }
    CopyBytes(b->buffer + b->length, text, n);
    b->length += n;
    b->buffer[b->length] = 0;
}

void BuilderAppend(TextBuilder *b, const char *text)
{
    BuilderAppendCut(b, text, 0x7FFFFFFF);
}

void BuilderAppendNumber(TextBuilder *b, int value)
{
    char digits[12];
    FormatDecimal(digits, sizeof digits, value);
    BuilderAppend(b, digits);
}
