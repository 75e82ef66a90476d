// file_io.cpp: reading a whole file (replacing one is files/file_replace.cpp).
#include "winkit/file_io.h"
#include "common/platform.h"
#include "common/text.h"

int ReadWholeFile(const WCHAR *path, char *out, int capacity)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING,
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

int ReplaceFileContentW(const WCHAR *path, const char *bytes, int length)
{
    // The file writer takes its names in UTF-8 on Windows: every character of the name survives.
    char name[MAX_PATH * 3];
    int n = WideCharToMultiByte(CP_UTF8, 0, path, -1, name, (int)sizeof name, 0, 0);
    return n > 0 && ReplaceFileContent(name, bytes, length);
}
