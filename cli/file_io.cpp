// file_io.cpp: whole-file reading with bounds, and writing through a file beside the target.
#include "cli/file_io.h"

#include <stdio.h>
#include <string.h>
#ifdef _WIN32
#include <windows.h>
#include <vector>

// Paths arrive in UTF-8 (see main.cpp) and reach the file system in UTF-16, whatever the code page.
static std::wstring WidePath(const char *path)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, path, -1, 0, 0);
    if (n <= 0) return std::wstring();
    std::vector<wchar_t> wide((size_t)n);
    MultiByteToWideChar(CP_UTF8, 0, path, -1, wide.data(), n);
    return std::wstring(wide.data());
}

static FILE *OpenFile(const char *path, const wchar_t *mode)
{
    std::wstring wide = WidePath(path);
    return wide.empty() ? 0 : _wfopen(wide.c_str(), mode);
}
#else
static FILE *OpenFile(const char *path, const char *mode) { return fopen(path, mode); }
#endif

#ifdef _WIN32
#define FILE_MODE(m) L##m
#else
#define FILE_MODE(m) m
#endif

int ReadWholeFile(const char *path, int maxBytes, std::string *text)
{
    text->clear();
    FILE *f = OpenFile(path, FILE_MODE("rb"));
    if (!f) return WHOLE_FILE_FAILED;
    char buffer[8192];
    size_t n;
    int result = WHOLE_FILE_OK;
    while (result == WHOLE_FILE_OK && (n = fread(buffer, 1, sizeof buffer, f)) > 0) {
        if (text->size() + n > (size_t)maxBytes) result = WHOLE_FILE_TOO_LONG;
        else text->append(buffer, n);
    }
    if (result == WHOLE_FILE_OK && ferror(f)) result = WHOLE_FILE_FAILED;
    fclose(f);
    if (result == WHOLE_FILE_OK && memchr(text->data(), 0, text->size())) result = WHOLE_FILE_HAS_NUL;
    if (result != WHOLE_FILE_OK) text->clear();
    return result;
}

int WriteFileReplacing(const char *path, const char *data, int length)
{
    std::string temporary = std::string(path) + ".new";
    FILE *f = OpenFile(temporary.c_str(), FILE_MODE("wb"));
    if (!f) return 0;
    int ok = fwrite(data, 1, (size_t)length, f) == (size_t)length;
    ok = fclose(f) == 0 && ok;
#ifdef _WIN32
    std::wstring wideTemporary = WidePath(temporary.c_str());
    ok = ok && MoveFileExW(wideTemporary.c_str(), WidePath(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(wideTemporary.c_str());
#else
    ok = ok && rename(temporary.c_str(), path) == 0;
    if (!ok) remove(temporary.c_str());
#endif
    return ok;
}
