// file_io.h: whole files read and written for setradio-cli (settings files and playlists).
#ifndef SETRADIO_CLI_FILE_IO_H
#define SETRADIO_CLI_FILE_IO_H

#include <string>

enum WholeFileResult { WHOLE_FILE_OK = 0, WHOLE_FILE_FAILED, WHOLE_FILE_TOO_LONG, WHOLE_FILE_HAS_NUL };

// Reads the whole file into text. Refuses a file longer than maxBytes or holding a NUL byte.
int ReadWholeFile(const char *path, int maxBytes, std::string *text);

// Writes the bytes to a fresh file beside path, then puts it in path's place in one step, so the
// file it replaces is never lost half-written and keeps its access rights (ReplaceFileContent). 1 on success.
int WriteFileReplacing(const char *path, const char *data, int length);

#endif
