// file_commands.h: open and save settings files, import and export playlists, files named on the
// command line and files dropped on the window.
#ifndef SETRADIO_UI_FILE_COMMANDS_H
#define SETRADIO_UI_FILE_COMMANDS_H

#include "common/platform.h"

void OnOpenSettingsCommand(HWND window);     // IDM_OPEN_SETTINGS
void OnSaveSettingsCommand(HWND window);     // IDM_SAVE_SETTINGS
void OnImportPlaylistCommand(HWND window);   // IDM_IMPORT_PLAYLIST
void OnExportPlaylistCommand(HWND window);   // IDM_EXPORT_PLAYLIST
// Reads a file and applies it by its content: a settings text as an open, a playlist as an import.
// Needs a selected device row. Returns 1 when the file was applied.
int ApplyFileByContent(HWND window, const WCHAR *path);
// Appends entries to the ChannelList under the import rules: feed adds them to an import set up
// with the list's addresses and the room left in its SETT (source is feed's own). Sets ChangedFlag
// when any was added, then shows the import's report. Returns the count added.
struct PlaylistImport;
typedef void (*ImportFeed)(PlaylistImport *import, const void *source);
int ImportChannels(HWND window, ImportFeed feed, const void *source);
void OnDropFiles(HWND window, HDROP drop);   // WM_DROPFILES
void FinishDrop(HDROP drop);                 // a drop refused: its memory released

// Start-up: every argument of the command line that names an existing file is read and checked
// now (a bad one gets its box); the good ones wait for the first device row loaded.
void TakeCommandLineFiles(HWND window);
int TakeStartupFile(HWND window, const WCHAR *path);   // one such file; 1 when it waits
void ApplyStartupFiles(HWND window);         // applies and forgets the waiting files, once
void ForgetStartupFiles(void);

#endif
