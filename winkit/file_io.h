// file_io.h: reading a whole file; replacing one without ever losing the old one (files/file_replace.h).
#ifndef SETRADIO_WINKIT_FILE_IO_H
#define SETRADIO_WINKIT_FILE_IO_H

#include "common/platform.h"
#include "files/file_replace.h"   // ReplaceFileContent

// Reads at most capacity bytes of the file into out. Returns the bytes read, -1 when it cannot be read.
int ReadWholeFile(const WCHAR *path, char *out, int capacity);
// ReplaceFileContent for a name in UTF-16.
int ReplaceFileContentW(const WCHAR *path, const char *bytes, int length);

#endif
