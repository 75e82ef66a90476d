// settings_file.h: the INI file beside the program: window placement and list column widths.
#ifndef SETRADIO_APP_SETTINGS_FILE_H
#define SETRADIO_APP_SETTINGS_FILE_H

#include "common/platform.h"

#define SETTINGS_SECTION "DlgPos"

int ReadSetting(const char *section, const char *key, char *out, int size);
void WriteSetting(const char *section, const char *key, const char *text);
void WriteSettingNumbers(const char *section, const char *key, int a, int b, int c, int d);
// Called first for every message of a dialog: restores placement at WM_INITDIALOG, records it on moves.
void TrackWindowPlacement(HWND window, UINT message, WPARAM wParam);
void SaveColumnWidths(HWND window, int controlId, int count);
void RestoreColumnWidths(HWND window, int controlId, int count);

#endif
