// json_reader.cpp: a pull reader over JSON text: no allocation, no recursion, the first error kept.
#include "directory/json_reader.h"
#include "files/text_encoding.h"

enum NumberShape { NUMBER_NONE = 0, NUMBER_INTEGER, NUMBER_OTHER };
#define INTEGER_DIGITS_MAX 18

static int Fail(JsonReader *r, int error)
{
    if (r->error == JSON_OK) {
        r->error = error;
        r->errorAt = r->at;
    }
    return 0;
}

static void SkipSpace(JsonReader *r)
{
    while (r->at < r->length) {
        char c = r->text[r->at];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
        r->at++;
    }
}

// The next byte after white space, or 0 at the end or after an error.
static char NextByte(JsonReader *r)
{
    if (r->error) return 0;
    SkipSpace(r);
    return r->at < r->length ? r->text[r->at] : 0;
}

void JsonStart(JsonReader *r, const char *text, int length)
{
    r->text = text;
    r->length = text && length > 0 ? length : 0;
    r->at = 0;
    r->error = JSON_OK;
    r->errorAt = 0;
}

int JsonPeek(JsonReader *r)
{
    switch (NextByte(r)) {
    case '{': return JSON_OBJECT;
    case '[': return JSON_ARRAY;
    case '"': return JSON_STRING;
    case 't': return JSON_TRUE;
    case 'f': return JSON_FALSE;
    case 'n': return JSON_NULL;
    case '-': case '0': case '1': case '2': case '3': case '4':
    case '5': case '6': case '7': case '8': case '9': return JSON_NUMBER;
    default: return JSON_INVALID;
    }
}

static int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Four hex digits at r->at (after "\u"); -1 when they are not.
static int ReadHex4(JsonReader *r)
{
    if (r->length - r->at < 4) return -1;
    int value = 0;
    for (int i = 0; i < 4; i++) {
        int digit = HexValue(r->text[r->at + i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    r->at += 4;
    return value;
}

static int EncodeUtf8(unsigned cp, char *out)
{
    if (cp < 0x80) { out[0] = (char)cp; return 1; }
    if (cp < 0x800) {
        out[0] = (char)(0xC0 | (cp >> 6));
        out[1] = (char)(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = (char)(0xE0 | (cp >> 12));
        out[1] = (char)(0x80 | ((cp >> 6) & 0x3F));
        out[2] = (char)(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = (char)(0xF0 | (cp >> 18));
    out[1] = (char)(0x80 | ((cp >> 12) & 0x3F));
    out[2] = (char)(0x80 | ((cp >> 6) & 0x3F));
    out[3] = (char)(0x80 | (cp & 0x3F));
    return 4;
}

// The escape after a backslash (r->at just past it) as a code point; '?' for a lone surrogate
// or U+0000 (a C text cannot hold it); -1 when it is not an escape.
static int ReadEscape(JsonReader *r)
{
    if (r->at >= r->length) return -1;
    char c = r->text[r->at++];
    switch (c) {
    case '"': case '\\': case '/': return c;
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'u': break;
    default: return -1;
    }
    int cp = ReadHex4(r);
    if (cp < 0) return -1;
    if (cp >= 0xDC00 && cp <= 0xDFFF) return '?';
    if (cp >= 0xD800 && cp <= 0xDBFF) {
        // A high surrogate takes the low one of a following "\uDC00".."\uDFFF"; alone it is '?'.
        int mark = r->at;
        if (r->length - r->at >= 6 && r->text[r->at] == '\\' && r->text[r->at + 1] == 'u') {
            r->at += 2;
            int low = ReadHex4(r);
            if (low >= 0xDC00 && low <= 0xDFFF) return 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
        r->at = mark;
        return '?';
    }
    return cp ? cp : '?';
}

// Reads the string at r->at (its opening quote); out may be null to skip it.
static int ScanString(JsonReader *r, char *out, int size, int *fullLength)
{
    if (r->at >= r->length || r->text[r->at] != '"') return Fail(r, JSON_BAD_SYNTAX);
    r->at++;
    int written = 0, full = 0, room = out && size > 0 ? size - 1 : 0, cut = 0;
    if (out && size > 0) out[0] = 0;   // kept terminated, also when the string turns out broken
    for (;;) {
        if (r->at >= r->length) return Fail(r, JSON_BAD_SYNTAX);
        unsigned char c = (unsigned char)r->text[r->at];
        char piece[4];
        int n;
        if (c == '"') {
            r->at++;
            break;
        } else if (c < 0x20) {
            return Fail(r, JSON_BAD_SYNTAX);   // control characters must be escaped
        } else if (c == '\\') {
            r->at++;
            int cp = ReadEscape(r);
            if (cp < 0) return Fail(r, JSON_BAD_SYNTAX);
            n = EncodeUtf8((unsigned)cp, piece);
        } else if (c < 0x80) {
            piece[0] = (char)c;
            n = 1;
            r->at++;
        } else {
            n = Utf8SequenceLength((const unsigned char *)r->text + r->at, r->length - r->at);
            if (n == 0) {
                piece[0] = '?';
                n = 1;
            } else {
                for (int i = 0; i < n; i++) piece[i] = r->text[r->at + i];
            }
            r->at += n;
        }
        full += n;
        if (!cut && written + n <= room) {
            for (int i = 0; i < n; i++) out[written++] = piece[i];
            out[written] = 0;
        } else {
            cut = 1;   // never a part of a character
        }
    }
    if (fullLength) *fullLength = full;
    return 1;
}

// Reads the number at r->at; its shape, and its value when an integer of at most 18 digits.
static int ScanNumber(JsonReader *r, long long *value)
{
    const char *t = r->text;
    int at = r->at, negative = 0, digits = 0, shape = NUMBER_INTEGER;
    long long v = 0;
    if (at < r->length && t[at] == '-') { negative = 1; at++; }
    if (at < r->length && t[at] == '0') {
        at++;
        digits = 1;
    } else {
        while (at < r->length && t[at] >= '0' && t[at] <= '9') {
            if (++digits <= INTEGER_DIGITS_MAX) v = v * 10 + (t[at] - '0');
            at++;
        }
    }
    if (!digits) return Fail(r, JSON_BAD_SYNTAX);
    if (digits > INTEGER_DIGITS_MAX) shape = NUMBER_OTHER;
    if (at < r->length && t[at] == '.') {
        int fraction = 0;
        for (at++; at < r->length && t[at] >= '0' && t[at] <= '9'; at++) fraction++;
        if (!fraction) return Fail(r, JSON_BAD_SYNTAX);
        shape = NUMBER_OTHER;
    }
    if (at < r->length && (t[at] == 'e' || t[at] == 'E')) {
        at++;
        if (at < r->length && (t[at] == '+' || t[at] == '-')) at++;
        int exponent = 0;
        for (; at < r->length && t[at] >= '0' && t[at] <= '9'; at++) exponent++;
        if (!exponent) return Fail(r, JSON_BAD_SYNTAX);
        shape = NUMBER_OTHER;
    }
    r->at = at;
    if (value) *value = negative ? -v : v;
    return shape;
}

static int ScanWord(JsonReader *r, const char *word)
{
    int i = 0;
    for (; word[i]; i++)
        if (r->at + i >= r->length || r->text[r->at + i] != word[i]) return Fail(r, JSON_BAD_SYNTAX);
    r->at += i;
    return 1;
}

// One value that is not a container.
static int ScanScalar(JsonReader *r)
{
    switch (JsonPeek(r)) {
    case JSON_STRING: return ScanString(r, 0, 0, 0);
    case JSON_NUMBER: return ScanNumber(r, 0) != NUMBER_NONE;
    case JSON_TRUE: return ScanWord(r, "true");
    case JSON_FALSE: return ScanWord(r, "false");
    case JSON_NULL: return ScanWord(r, "null");
    default: return Fail(r, JSON_BAD_SYNTAX);
    }
}

// A member's key and its colon.
static int ScanKey(JsonReader *r, char *key, int keySize)
{
    if (NextByte(r) != '"') return Fail(r, JSON_BAD_SYNTAX);
    if (!ScanString(r, key, keySize, 0)) return 0;
    if (NextByte(r) != ':') return Fail(r, JSON_BAD_SYNTAX);
    r->at++;
    return 1;
}

int JsonSkipValue(JsonReader *r)
{
    // Open containers as bits, innermost lowest: 1 an object, 0 an array.
    unsigned long long objects = 0;
    int depth = 0;
    for (;;) {
        int kind = JsonPeek(r);
        if (kind == JSON_OBJECT || kind == JSON_ARRAY) {
            if (depth == JSON_DEPTH_MAX) return Fail(r, JSON_TOO_DEEP);
            r->at++;
            objects = (objects << 1) | (kind == JSON_OBJECT);
            depth++;
            char close = kind == JSON_OBJECT ? '}' : ']';
            if (NextByte(r) != close) {
                if (kind == JSON_OBJECT && !ScanKey(r, 0, 0)) return 0;
                continue;   // the first member's value or element
            }
            r->at++;
            objects >>= 1;
            depth--;
        } else if (!ScanScalar(r)) {
            return 0;
        }
        // After a value: the next one in its container, or the container's end.
        for (;;) {
            if (depth == 0) return 1;
            char c = NextByte(r);
            if (c == ',') {
                r->at++;
                if ((objects & 1) && !ScanKey(r, 0, 0)) return 0;
                break;
            }
            if (c != ((objects & 1) ? '}' : ']')) return Fail(r, JSON_BAD_SYNTAX);
            r->at++;
            objects >>= 1;
            depth--;
        }
    }
}

int JsonEnterArray(JsonReader *r)
{
    if (NextByte(r) != '[') return 0;
    r->at++;
    return 1;
}

int JsonEnterObject(JsonReader *r)
{
    if (NextByte(r) != '{') return 0;
    r->at++;
    return 1;
}

int JsonNextElement(JsonReader *r, int *count)
{
    char c = NextByte(r);
    if (r->error) return 0;
    if (c == ']') {
        r->at++;
        return 0;
    }
    if (*count > 0) {
        if (c != ',') return Fail(r, JSON_BAD_SYNTAX);
        r->at++;
        if (JsonPeek(r) == JSON_INVALID) return Fail(r, JSON_BAD_SYNTAX);
    }
    (*count)++;
    return 1;
}

int JsonNextMember(JsonReader *r, int *count, char *key, int keySize)
{
    char c = NextByte(r);
    if (r->error) return 0;
    if (c == '}') {
        r->at++;
        return 0;
    }
    if (*count > 0) {
        if (c != ',') return Fail(r, JSON_BAD_SYNTAX);
        r->at++;
    }
    if (!ScanKey(r, key, keySize)) return 0;
    (*count)++;
    return 1;
}

int JsonReadString(JsonReader *r, char *out, int size, int *fullLength)
{
    if (out && size > 0) out[0] = 0;
    if (fullLength) *fullLength = 0;
    if (JsonPeek(r) != JSON_STRING) {
        JsonSkipValue(r);
        return 0;
    }
    return ScanString(r, out, size, fullLength);
}

int JsonReadInteger(JsonReader *r, long long *value)
{
    *value = 0;
    if (JsonPeek(r) != JSON_NUMBER) {
        JsonSkipValue(r);
        return 0;
    }
    long long v = 0;
    if (ScanNumber(r, &v) != NUMBER_INTEGER) return 0;
    *value = v;
    return 1;
}

int JsonReadBool(JsonReader *r, int *value)
{
    *value = 0;
    int kind = JsonPeek(r);
    if (kind != JSON_TRUE && kind != JSON_FALSE) {
        JsonSkipValue(r);
        return 0;
    }
    *value = kind == JSON_TRUE;
    return ScanWord(r, kind == JSON_TRUE ? "true" : "false");
}

int JsonFinish(JsonReader *r)
{
    if (r->error) return 0;
    SkipSpace(r);
    if (r->at != r->length) return Fail(r, JSON_BAD_SYNTAX);
    return 1;
}
