// file_replace.h: replacing a file's content without ever losing the old one or touching a neighbour.
#ifndef SETRADIO_FILES_FILE_REPLACE_H
#define SETRADIO_FILES_FILE_REPLACE_H

// Writes the bytes to a new, uniquely named file in path's folder (never an existing one), flushes
// it to disk, then puts it in path's place in one step. The new file keeps the replaced file's
// access rights: on Linux its mode, or 0600 for a file that did not exist (it may hold a password);
// on Windows its attributes and security. On Windows path is UTF-8 (any script; the file system gets
// UTF-16). Returns 1 on success; on failure the old file is untouched and the new one removed.
int ReplaceFileContent(const char *path, const char *bytes, int length);

// Tests only: called with the new file's name once it is written and flushed, before it takes
// path's place; returning 0 makes the replacement fail there. Null in the programs.
extern int (*g_beforeFileReplace)(const char *temporary);

#endif
