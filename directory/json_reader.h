// json_reader.h: a pull reader over JSON text: no allocation, no recursion, the first error kept.
// The caller walks the values it wants (arrays, objects, strings, integers) and skips the rest.
#ifndef SETRADIO_DIRECTORY_JSON_READER_H
#define SETRADIO_DIRECTORY_JSON_READER_H

enum JsonKind {
    JSON_INVALID = 0,   // no value here: an error, or the end of the text
    JSON_OBJECT, JSON_ARRAY, JSON_STRING, JSON_NUMBER, JSON_TRUE, JSON_FALSE, JSON_NULL
};
enum JsonError { JSON_OK = 0, JSON_BAD_SYNTAX, JSON_TOO_DEEP };

#define JSON_DEPTH_MAX 64   // nesting of one skipped value

struct JsonReader {
    const char *text;
    int length;
    int at;        // the next byte to read
    int error;     // the first JsonError; once set, every call fails
    int errorAt;   // byte offset of that error
};

void JsonStart(JsonReader *r, const char *text, int length);
// Kind of the next value, without reading it (white space is passed over).
int JsonPeek(JsonReader *r);

// Containers: enter, then call Next until it gives 0 (the closing bracket is then read).
// count starts at 0 and is kept by the caller for that container.
int JsonEnterArray(JsonReader *r);    // 1 when the next value was an array
int JsonEnterObject(JsonReader *r);   // 1 when the next value was an object
int JsonNextElement(JsonReader *r, int *count);
// 1 with the member's key (UTF-8, cut to keySize - 1 bytes), the reader then at its value.
int JsonNextMember(JsonReader *r, int *count, char *key, int keySize);

// Each read takes the next value whatever its kind; 0 when the kind differs (the value is skipped)
// or on error. A string is decoded to UTF-8 (escapes and surrogate pairs; a lone surrogate or a
// malformed byte becomes '?'), cut at a character boundary to size - 1 bytes; *fullLength gets
// its whole decoded length.
int JsonReadString(JsonReader *r, char *out, int size, int *fullLength);
// An integer without fraction or exponent, within -999999999999999999..999999999999999999.
int JsonReadInteger(JsonReader *r, long long *value);
int JsonReadBool(JsonReader *r, int *value);
int JsonSkipValue(JsonReader *r);
// 1 when nothing but white space is left and no error was met.
int JsonFinish(JsonReader *r);

#endif
