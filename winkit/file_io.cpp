// file_io.cpp: reading a whole file and replacing a file's content without ever losing the old one.
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

int ReplaceFileContent(const WCHAR *path, const char *bytes, int length)
{
    static const WCHAR kSuffix[] = L".new~";
    enum { SUFFIX_UNITS = sizeof kSuffix / sizeof kSuffix[0] };
    WCHAR temporary[MAX_PATH];
    int n = 0;
    while (path[n]) n++;
    if (n <= 0 || n + SUFFIX_UNITS > MAX_PATH) return 0;
    CopyBytes(temporary, path, n * (int)sizeof(WCHAR));
    CopyBytes(temporary + n, kSuffix, (int)sizeof kSuffix);
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    int ok = WriteFile(file, bytes, (DWORD)length, &written, 0) && (int)written == length;
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    // The old file stays until the complete new one takes its place.
    if (ok) ok = MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) DeleteFileW(temporary);
    return ok;
}
