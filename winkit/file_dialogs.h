// file_dialogs.h: the system's open and save dialogs.
#ifndef SETRADIO_WINKIT_FILE_DIALOGS_H
#define SETRADIO_WINKIT_FILE_DIALOGS_H

#include "common/platform.h"

// Asks for an existing file (open) or a file to write (save, with defaultExtension added to a bare
// name). filters: name and pattern pairs in code page 949, each ended by a NUL, the list by an empty
// one; filter the 1-based pair shown first. path (size UTF-16 units) receives the choice, in any
// script. Returns 1 when the user chose a file.
int AskFileToOpen(HWND window, const char *filters, int filter, WCHAR *path, int size);
int AskFileToSave(HWND window, const char *filters, int filter, const WCHAR *defaultExtension, WCHAR *path, int size);

#endif
