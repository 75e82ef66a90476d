// settings_file.h: the INI file beside the program: window placement and list column widths.
#ifndef SETRADIO_WINKIT_SETTINGS_FILE_H
#define SETRADIO_WINKIT_SETTINGS_FILE_H

#include "common/platform.h"

#define SETTINGS_SECTION "DlgPos"
#define WINDOW_NAME_ID 996   // the dialog's hidden control whose text names its INI keys

extern WCHAR g_iniPath[MAX_PATH];   // SettingsFile: the module path with the extension "ini", set at start-up

int ReadSetting(const char *section, const char *key, char *out, int size);
void WriteSetting(const char *section, const char *key, const char *text);
void WriteSettingNumbers(const char *section, const char *key, int a, int b, int c, int d);
// Called first for every message of a dialog: restores placement at WM_INITDIALOG, records it on moves.
void TrackWindowPlacement(HWND window, UINT message, WPARAM wParam);
void SaveColumnWidths(HWND window, int controlId, int count);
void RestoreColumnWidths(HWND window, int controlId, int count);

#endif
