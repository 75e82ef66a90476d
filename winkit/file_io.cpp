// file_io.cpp: reading a whole file (replacing one is files/file_replace.cpp).
#include "winkit/file_io.h"
#include "common/platform.h"
#include "common/text.h"

int ReadWholeFile(const char *path, char *out, int capacity)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE) return -1;
    int total = 0;
    while (total < capacity) {
        DWORD got = 0;
        if (!ReadFile(file, out + total, (DWORD)(capacity - total), &got, 0)) {
            total = -1;
            break;
        }
        if (got == 0) break;
        total += (int)got;
    }
    CloseHandle(file);
    return total;
}
