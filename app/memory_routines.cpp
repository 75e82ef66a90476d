// memory_routines.cpp: the memory routines the compiler may call, for programs without a C run-time.
#include <stddef.h>

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

}
