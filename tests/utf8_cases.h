// utf8_cases.h: the tricky UTF-8 inputs and the code page 949 bytes every program must make of them.
// Run by the window's conversion (tests/win) and by setradio-cli's on both systems (tests/cli).
#ifndef SETRADIO_TESTS_UTF8_CASES_H
#define SETRADIO_TESTS_UTF8_CASES_H

struct Utf8Case {
    const char *utf8;
    const char *expected949;
    const char *what;
};

static const Utf8Case kUtf8Cases[] = {
    {"\xED\x95\x9C" "a\xC2\xB7\xE9\x9F\x93", "\xC7\xD1" "a\xA1\xA4\xF9\xDB", "Hangul, ASCII, a middle dot and a Hanja 949 holds"},
    {"abc\xE0\r\nFile2=x", "abc?\r\nFile2=x", "a cut lead byte never swallows the line end"},
    {"\xE2\x82" "A\xF0\x9F\x98\n", "?A?\n", "cut sequences: one '?' each"},
    {"\xC0\xAF|\xE0\x80\xAF|\xF0\x80\x80\xAF", "??|???|????", "overlong forms: one '?' per byte"},
    {"\xED\xA0\x80|\xED\xBF\xBF", "???|???", "encoded surrogates"},
    {"\xF4\x90\x80\x80|\xF8\x88\x80\x80\x80|\xFF\xFE", "????|?????|??", "beyond U+10FFFF and bytes that start nothing"},
    {"\x80\xBF" "a", "??a", "lone continuation bytes"},
    {"x\xEF\xBB\xBFy", "x?y", "a byte-order mark inside the text"},
    {"caf\xC3\xA9 \xE0\xB8\x81", "caf? ?", "characters 949 lacks: no look-alike"},
    {"\xF0\x9F\x98\x80!", "?!", "a character beyond the BMP is one character"},
};

#endif
