// file_io.cpp: whole-file reading with bounds, and writing through a file beside the target.
#include "cli/file_io.h"

#include <stdio.h>
#include <string.h>
#ifdef _WIN32
#include <windows.h>
#endif

int ReadWholeFile(const char *path, int maxBytes, std::string *text)
{
    text->clear();
    FILE *f = fopen(path, "rb");
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
    FILE *f = fopen(temporary.c_str(), "wb");
    if (!f) return 0;
    int ok = fwrite(data, 1, (size_t)length, f) == (size_t)length;
    ok = fclose(f) == 0 && ok;
#ifdef _WIN32
    ok = ok && MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    ok = ok && rename(temporary.c_str(), path) == 0;
#endif
    if (!ok) remove(temporary.c_str());
    return ok;
}
