// entry.cpp: the program's own entry point and the memory routines the compiler may call (no C run-time).
#include "app/startup.h"

extern "C" {

// The compiler turns struct copies and zeroing into calls to these four; the program has no
// run-time library to supply them. Written as plain byte loops.
void *memset(void *destination, int value, size_t length)
{
    volatile unsigned char *d = (volatile unsigned char *)destination;
    while (length--) *d++ = (unsigned char)value;
    return destination;
}

void *memcpy(void *destination, const void *source, size_t length)
{
    volatile unsigned char *d = (volatile unsigned char *)destination;
    const unsigned char *s = (const unsigned char *)source;
    while (length--) *d++ = *s++;
    return destination;
}

void *memmove(void *destination, const void *source, size_t length)
{
    volatile unsigned char *d = (volatile unsigned char *)destination;
    const unsigned char *s = (const unsigned char *)source;
    if (d < s) {
        while (length--) *d++ = *s++;
    } else {
        d += length;
        s += length;
        while (length--) *--d = *--s;
    }
    return destination;
}

int memcmp(const void *a, const void *b, size_t length)
{
    const unsigned char *p = (const unsigned char *)a;
    const unsigned char *q = (const unsigned char *)b;
    for (; length; --length, ++p, ++q)
        if (*p != *q) return *p < *q ? -1 : 1;
    return 0;
}

// Entry point: show mode from the start-up information, then the main routine; never returns.
void SetRadioEntry(void)
{
    STARTUPINFOA info;
    info.dwFlags = 0;
    GetStartupInfoA(&info);
    int showMode = (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : SW_SHOWDEFAULT;
    ExitProcess((UINT)MainRoutine(GetModuleHandleA(0), 0, SkipProgramName(GetCommandLineA()), showMode));
}

}
