// text.cpp: text, number, byte and colour helpers (no run-time library).
#include "common/text.h"

int TextLength(const char *text)
{
    int n = 0;
    while (text[n]) n++;
    return n;
}
