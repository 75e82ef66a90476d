// terminal_text.cpp: conversion from code page 949 with iconv (Linux) or the Windows code page functions.
#include "cli/terminal_text.h"

#include <string.h>
#include <vector>

#ifdef _WIN32
#include <windows.h>

static UINT g_terminalCodePage = 949;

void InitTerminalText(void)
{
    DWORD mode;
    // Output to a console uses the console's code page; redirected output keeps the ANSI one.
    g_terminalCodePage = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) ? GetConsoleOutputCP() : GetACP();
}

// 949 bytes through UTF-16 into codePage; undecodable input becomes '?'.
static std::string ConvertFrom949(const char *text, UINT codePage)
{
    if (!text || !*text) return std::string();
    if (codePage == 949) return std::string(text);
    int wideLength = MultiByteToWideChar(949, 0, text, -1, 0, 0);
    if (wideLength <= 0) return std::string(text);
    std::vector<wchar_t> wide((size_t)wideLength);
    MultiByteToWideChar(949, 0, text, -1, wide.data(), wideLength);
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

std::string ToUtf8Text(const char *text949)
{
    return ConvertFrom949(text949, CP_UTF8);
}

int ConvertUtf8To949(const char *in, int length, char *out, int capacity)
{
    if (length <= 0) return 0;
    int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, in, length, 0, 0);
    if (wideLength <= 0) return -1;
    std::vector<wchar_t> wide((size_t)wideLength);
    MultiByteToWideChar(CP_UTF8, 0, in, length, wide.data(), wideLength);
    int needed = WideCharToMultiByte(949, 0, wide.data(), wideLength, 0, 0, "?", 0);
    if (needed <= 0 || needed > capacity) return -1;
    return WideCharToMultiByte(949, 0, wide.data(), wideLength, out, capacity, "?", 0);
}

#else
#include <errno.h>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

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

// 949 bytes into the named encoding; a byte that cannot be converted becomes '?'.
static std::string ConvertFrom949(const char *text, const char *codeset)
{
    if (!text || !*text) return std::string();
    iconv_t cd = iconv_open(codeset, "CP949");
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

std::string ToTerminalText(const char *text949)
{
    return ConvertFrom949(text949, g_terminalCodeset);
}

int ConvertUtf8To949(const char *in, int length, char *out, int capacity)
{
    if (length <= 0) return 0;
    iconv_t cd = iconv_open("CP949", "UTF-8");
    if (cd == (iconv_t)-1) return -1;
    char *from = (char *)in, *to = out;
    size_t fromLeft = (size_t)length, toLeft = (size_t)capacity;
    int failed = 0;
    while (fromLeft > 0 && !failed) {
        if (iconv(cd, &from, &fromLeft, &to, &toLeft) != (size_t)-1) break;
        if (errno == EILSEQ && toLeft > 0) {
            // A well-formed character that 949 cannot hold becomes '?'; malformed UTF-8 fails.
            unsigned char lead = (unsigned char)*from;
            size_t skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
            if (!skip || skip > fromLeft) failed = 1;
            else {
                *to++ = '?';
                toLeft--;
                from += skip;
                fromLeft -= skip;
            }
        } else failed = 1;   // no room left, or an incomplete character at the end
    }
    iconv_close(cd);
    return failed ? -1 : (int)(to - out);
}

std::string ToUtf8Text(const char *text949)
{
    return ConvertFrom949(text949, "UTF-8");
}
#endif

void PrintTerminalLine(FILE *stream, const char *text949)
{
    std::string text = ToTerminalText(text949);
    fputs(text.c_str(), stream);
    fputc('\n', stream);
}

void PrintError(const char *text949, const char *detail)
{
    std::string line = "setradio-cli: " + ToTerminalText(text949);
#ifdef _WIN32
    if (detail) line += DetailForTerminal(detail);
#else
    if (detail) line += detail;
#endif
    fputs(line.c_str(), stderr);
    fputc('\n', stderr);
    fflush(stderr);
}
