// text_encoding.h: UTF-8 recognition and the code-page conversion seam for file texts.
#ifndef SETRADIO_FILES_TEXT_ENCODING_H
#define SETRADIO_FILES_TEXT_ENCODING_H

// Converts length bytes of in (UTF-8 to code page 949, or back) into out, which holds capacity bytes.
// Characters the target cannot hold become '?'. Returns the bytes written (no NUL is written or
// counted), or -1 when the result does not fit or the conversion fails. Each platform supplies its
// own: the program uses the system's conversion, a Linux caller can wrap iconv.
typedef int (*TextConverter)(const char *in, int length, char *out, int capacity);

// UTF-8 to code page 949 under one rule for every program: each maximal malformed subpart (a byte
// that cannot start a sequence, or the longest start of a sequence that breaks off) becomes one '?';
// each character 949 lacks, one outside the BMP included, becomes one '?' with no look-alike; ASCII
// stays as it is, so a line end is never swallowed. A TextConverter: bytes written, or -1.
int Utf8To949(const char *in, int length, char *out, int capacity);

// Length of the well-formed UTF-8 sequence at p (at most left bytes), or 0 when it is not one
// (overlong forms, surrogates and values above U+10FFFF are not).
int Utf8SequenceLength(const unsigned char *p, int left);
// 1 when the bytes begin with the UTF-8 byte-order mark EF BB BF.
int HasUtf8Bom(const char *bytes, int length);
// 1 when the bytes are well-formed UTF-8 and hold at least one non-ASCII character.
int IsUtf8WithNonAscii(const char *bytes, int length);
// The file's bytes as code-page text in out (capacity bytes, NUL included): a byte-order mark is
// dropped, and UTF-8 (marked, or well-formed with non-ASCII bytes) goes through toLocal; anything
// else is taken as it is. Returns the text length, or -1 when it does not fit or cannot be converted.
int DecodeFileText(const char *bytes, int length, char *out, int capacity, TextConverter toLocal);

#endif
