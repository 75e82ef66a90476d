// file_io.cpp: whole-file reading with bounds, and writing through a fresh file beside the target.
#include "cli/file_io.h"
#include "files/file_replace.h"

#include <stdio.h>
#include <string.h>

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
    return ReplaceFileContent(path, data, length);
}
