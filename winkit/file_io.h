// file_io.h: reading a whole file and replacing a file's content without ever losing the old one.
#ifndef SETRADIO_WINKIT_FILE_IO_H
#define SETRADIO_WINKIT_FILE_IO_H

#include "common/platform.h"

// Reads at most capacity bytes of the file into out. Returns the bytes read, -1 when it cannot be read.
int ReadWholeFile(const WCHAR *path, char *out, int capacity);
// Writes the bytes to a new file beside path, then puts it in path's place in one step.
// Returns 1 on success; on failure the old file is untouched and the new one removed.
int ReplaceFileContent(const WCHAR *path, const char *bytes, int length);

#endif
