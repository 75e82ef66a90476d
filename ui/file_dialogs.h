// file_dialogs.h: the system's open and save dialogs for settings files and playlists.
#ifndef SETRADIO_UI_FILE_DIALOGS_H
#define SETRADIO_UI_FILE_DIALOGS_H

#include "common/platform.h"

enum FileDialogFilter { FILTER_SETTINGS = 1, FILTER_PLAYLISTS = 2 };

// Asks for an existing file (open) or a file to write (save, with defaultExtension added to a bare
// name). path (size UTF-16 units) receives the choice. Returns 1 when the user chose a file.
int AskFileToOpen(HWND window, int filter, WCHAR *path, int size);
int AskFileToSave(HWND window, int filter, const WCHAR *defaultExtension, WCHAR *path, int size);

#endif
