// file_kind.cpp: classifying a file's text as a settings text or a playlist, and checking its bytes.
#include "files/file_kind.h"
#include "common/text.h"

// ComparePrefix gives 0 when text starts with prefix.
static int IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Playlist headers are written in either case by different programs.
static int StartsWithNoCase(const char *text, const char *prefix)
{
    for (int i = 0; prefix[i]; i++) {
        char a = text[i], b = prefix[i];
        if (a >= 'A' && a <= 'Z') a = (char)(a + 32);
        if (b >= 'A' && b <= 'Z') b = (char)(b + 32);
        if (a != b) return 0;
    }
    return 1;
}

// 1 when some line of text starts with prefix.
static int HasLineStarting(const char *text, const char *prefix)
{
    const char *line = text;
    while (*line) {
        if (!ComparePrefix(line, prefix)) return 1;
        while (*line && *line != '\r' && *line != '\n') line++;
        while (*line == '\r' || *line == '\n') line++;
    }
    return 0;
}

int ClassifyFileText(const char *text)
{
    if (!text) return FILE_OTHER;
    const char *first = text;
    while (IsSpace(*first)) first++;
    if (StartsWithNoCase(first, "[playlist]") || StartsWithNoCase(first, "#EXTM3U") || !ComparePrefix(first, "http://"))
        return FILE_PLAYLIST;
    if (HasLineStarting(text, "NumberOfEntries=") || HasLineStarting(text, "DhcpMode=")) return FILE_SETTINGS;
    return FILE_OTHER;
}

int ReadFileText(const char *bytes, int length, char *out, int capacity, TextConverter toLocal)
{
    if (out && capacity > 0) out[0] = 0;
    if (length > FILE_TEXT_MAX) return FILE_TOO_LARGE;
    if (length < 0 || (length > 0 && !bytes)) return FILE_UNREADABLE;
    if (FindByte(bytes, length, 0) >= 0) return FILE_HAS_NUL;
    if (DecodeFileText(bytes, length, out, capacity, toLocal) < 0) return FILE_UNREADABLE;
    return ClassifyFileText(out);
}
