// mac_match.cpp: MAC texts compared ignoring case and the separators ':', '-' and '.'.
#include "cli/mac_match.h"

static int IsMacSeparator(char c)
{
    return c == ':' || c == '-' || c == '.';
}

static char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

// The next character that counts, or 0 at the end.
static char NextMacChar(const char **text)
{
    while (IsMacSeparator(**text)) (*text)++;
    char c = **text;
    if (c) (*text)++;
    return LowerAscii(c);
}

int MacTextMatches(const char *typed, const char *macAddr)
{
    if (!typed || !macAddr) return 0;
    int compared = 0;
    for (;;) {
        char a = NextMacChar(&typed);
        char b = NextMacChar(&macAddr);
        if (a != b) return 0;
        if (!a) return compared > 0;
        compared++;
    }
}
