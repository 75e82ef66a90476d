// file_io.cpp: whole-file reading with bounds, and writing through a file beside the target.
#include "cli/file_io.h"
#include "cli/cli_texts.h"

#include <stdio.h>
#include <string.h>
#ifdef _WIN32
#include <windows.h>
#endif

int ReadWholeFile(const char *path, int maxBytes, std::string *text)
{
    text->clear();
    FILE *f = fopen(path, "rb");
    if (!f) return FILE_READ_FAILED;
    char buffer[8192];
    size_t n;
    int result = FILE_READ_OK;
    while (result == FILE_READ_OK && (n = fread(buffer, 1, sizeof buffer, f)) > 0) {
        if (text->size() + n > (size_t)maxBytes) result = FILE_TOO_LONG;
        else text->append(buffer, n);
    }
    if (result == FILE_READ_OK && ferror(f)) result = FILE_READ_FAILED;
    fclose(f);
    if (result == FILE_READ_OK && memchr(text->data(), 0, text->size())) result = FILE_HAS_NUL;
    if (result != FILE_READ_OK) text->clear();
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

const char *FileReadError(int result)
{
    switch (result) {
    case FILE_TOO_LONG: return CLI_ERROR_FILE_TOO_LONG;
    case FILE_HAS_NUL: return CLI_ERROR_FILE_HAS_NUL;
    default: return CLI_ERROR_READ_FILE;
    }
}
