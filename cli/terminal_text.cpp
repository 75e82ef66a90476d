// terminal_text.cpp: conversion from code page 949 with iconv (Linux) or the Windows code page functions.
#include "cli/terminal_text.h"
#include "files/text_encoding.h"

#include <stdio.h>
#include <string.h>
#include <vector>

// Control characters a terminal would act on: C0 but the tab, DEL and C1. Decided by code point,
// never by byte: in 949, bytes 0x81..0x9F lead Korean characters.
static int IsControlCode(unsigned c)
{
    return (c < 0x20 && c != '\t') || (c >= 0x7F && c <= 0x9F);
}

// "\x1b" for a control character.
static void AppendEscape(std::string *out, unsigned c)
{
    char escape[8];
    snprintf(escape, sizeof escape, "\\x%02x", c);
    *out += escape;
}

#ifdef _WIN32
#include <windows.h>

static UINT g_terminalCodePage = 949;

void InitTerminalText(void)
{
    DWORD mode;
    // Output to a console uses the console's code page; redirected output keeps the ANSI one.
    g_terminalCodePage = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) ? GetConsoleOutputCP() : GetACP();
}

// 949 bytes through UTF-16 into codePage; undecodable input becomes '?'. visible: control
// characters are shown as escapes.
static std::string ConvertFrom949(const char *text, UINT codePage, int visible = 0)
{
    if (!text || !*text) return std::string();
    if (codePage == 949 && !visible) return std::string(text);
    int wideLength = MultiByteToWideChar(949, 0, text, -1, 0, 0);
    if (wideLength <= 0) return std::string(text);
    std::vector<wchar_t> wide((size_t)wideLength);
    MultiByteToWideChar(949, 0, text, -1, wide.data(), wideLength);
    if (visible) {
        std::vector<wchar_t> shown;
        for (int i = 0; i + 1 < wideLength; i++) {
            if (!IsControlCode(wide[i])) {
                shown.push_back(wide[i]);
                continue;
            }
            std::string escape;
            AppendEscape(&escape, wide[i]);
            for (char c : escape) shown.push_back((wchar_t)c);
        }
        shown.push_back(0);
        wide.swap(shown);
    }
    int length = WideCharToMultiByte(codePage, 0, wide.data(), -1, 0, 0, 0, 0);
    if (length <= 0) return std::string(text);
    std::vector<char> out((size_t)length);
    WideCharToMultiByte(codePage, 0, wide.data(), -1, out.data(), length, 0, 0);
    return std::string(out.data());
}

std::string ToTerminalText(const char *text949)
{
    return ConvertFrom949(text949, g_terminalCodePage);
}

// A detail as typed: the Windows build takes its arguments in UTF-8 (see main.cpp); anything
// that is not UTF-8 is shown as it is.
static std::string DetailForTerminal(const char *detail)
{
    int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, detail, -1, 0, 0);
    if (wideLength <= 0) return std::string(detail);
    std::vector<wchar_t> wide((size_t)wideLength);
    MultiByteToWideChar(CP_UTF8, 0, detail, -1, wide.data(), wideLength);
    int length = WideCharToMultiByte(g_terminalCodePage, 0, wide.data(), -1, 0, 0, 0, 0);
    if (length <= 0) return std::string(detail);
    std::vector<char> out((size_t)length);
    WideCharToMultiByte(g_terminalCodePage, 0, wide.data(), -1, out.data(), length, 0, 0);
    return std::string(out.data());
}

std::string ToVisibleText(const char *text949)
{
    return ConvertFrom949(text949, g_terminalCodePage, 1);
}

std::string ToUtf8Text(const char *text949)
{
    return ConvertFrom949(text949, CP_UTF8);
}

#else
#include <errno.h>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <strings.h>

static char g_terminalCodeset[64] = "UTF-8";

void InitTerminalText(void)
{
    setlocale(LC_CTYPE, "");
    const char *codeset = nl_langinfo(CODESET);
    // The C locale reports ASCII, which cannot show a Korean title at all: take UTF-8 there.
    if (!codeset || !*codeset || !strcmp(codeset, "ANSI_X3.4-1968") || !strcmp(codeset, "ASCII"))
        codeset = "UTF-8";
    snprintf(g_terminalCodeset, sizeof g_terminalCodeset, "%s", codeset);
}

// text from one encoding into another; a byte that cannot be converted becomes '?'.
static std::string ConvertText(const char *text, const char *from, const char *codeset)
{
    if (!text || !*text) return std::string();
    iconv_t cd = iconv_open(codeset, from);
    if (cd == (iconv_t)-1) return std::string(text);
    std::string out;
    char buffer[256];
    char *in = (char *)text;
    size_t inLeft = strlen(text);
    while (inLeft > 0) {
        char *position = buffer;
        size_t outLeft = sizeof buffer;
        size_t result = iconv(cd, &in, &inLeft, &position, &outLeft);
        out.append(buffer, (size_t)(position - buffer));
        if (result == (size_t)-1 && errno != E2BIG) {
            out += '?';       // invalid or incomplete input, or not representable: skip one byte
            in++;
            inLeft--;
            iconv(cd, 0, 0, 0, 0);
        }
    }
    iconv_close(cd);
    return out;
}

static std::string ConvertFrom949(const char *text, const char *codeset)
{
    return ConvertText(text, "CP949", codeset);
}

std::string ToTerminalText(const char *text949)
{
    return ConvertFrom949(text949, g_terminalCodeset);
}

std::string ToVisibleText(const char *text949)
{
    // Decided on the text's code points (UTF-8 here), then put in the terminal's encoding.
    std::string utf8 = ConvertFrom949(text949, "UTF-8"), shown;
    for (size_t i = 0; i < utf8.size(); i++) {
        unsigned char c = (unsigned char)utf8[i];
        unsigned char next = i + 1 < utf8.size() ? (unsigned char)utf8[i + 1] : 0;
        if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            AppendEscape(&shown, next);   // C2 80..C2 9F: U+0080..U+009F
            i++;
        } else if (c < 0x80 && IsControlCode(c)) {
            AppendEscape(&shown, c);
        } else {
            shown += (char)c;
        }
    }
    if (!strcasecmp(g_terminalCodeset, "UTF-8") || !strcasecmp(g_terminalCodeset, "UTF8")) return shown;
    return ConvertText(shown.c_str(), "UTF-8", g_terminalCodeset);
}

std::string ToUtf8Text(const char *text949)
{
    return ConvertFrom949(text949, "UTF-8");
}
#endif

int ConvertUtf8To949(const char *in, int length, char *out, int capacity)
{
    return Utf8To949(in, length, out, capacity);
}

void PrintTerminalLine(FILE *stream, const char *text949)
{
    std::string text = ToVisibleText(text949);
    fputs(text.c_str(), stream);
    fputc('\n', stream);
}

void PrintError(const char *text949, const char *detail)
{
    std::string line = "setradio-cli: " + ToVisibleText(text949);
#ifdef _WIN32
    if (detail) line += DetailForTerminal(detail);
#else
    if (detail) line += detail;
#endif
    fputs(line.c_str(), stderr);
    fputc('\n', stderr);
    fflush(stderr);
}
