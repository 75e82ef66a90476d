// file_io.cpp: whole-file reading with bounds, and writing through a fresh file beside the target.
#include "cli/file_io.h"
#include "files/file_replace.h"

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
    return ReplaceFileContent(path, data, length);
}
