// dialog_items.h: small operations on dialog items and list views: texts, rows, cells, columns, radio buttons.
// Functions marked * accept control id 0: the window given is then the list view itself.
// Texts are code page 949 bytes here; the controls hold UTF-16, converted with code page 949.
#ifndef SETRADIO_WINKIT_DIALOG_ITEMS_H
#define SETRADIO_WINKIT_DIALOG_ITEMS_H

#include "common/platform.h"

int GetControlText(HWND window, int id, char *buffer, int size);   // read and trimmed; returns length
int ControlTextFits949(HWND window, int id);                        // 1 when 949 holds every character
void SetControlText(HWND window, int id, const char *text);
// Cuts the edit's text to the whole characters whose 949 form fits in maxBytes (for EN_UPDATE).
void LimitControlText(HWND window, int id, int maxBytes);
void EnableControl(HWND window, int id, int enable);
void ShowControl(HWND window, int id, int show);
void GetControlRect(HWND window, int id, RECT *rect);
void FocusControl(HWND window, int id);
int GetListRowCount(HWND window, int id);                           // *
int GetSelectedListRow(HWND window, int id, int start);             // *
void SelectListRow(HWND window, int id, int index);                 // *
void EnsureListRowVisible(HWND window, int id, int index, int partialOk);  // *
void SetListRowState(HWND window, int id, int index, UINT state, UINT mask);  // *
LPARAM GetListRowData(HWND window, int id, int index, LPARAM fallback);
void SetListRowData(HWND window, int id, int index, LPARAM data);
int InsertListRow(HWND window, int id, int index, const char *text, LPARAM data);
void SetListCellText(HWND window, int id, int row, int column, const char *text);      // *
void GetListCellText(HWND window, int id, int row, int column, char *buffer, int size);  // *
void DeleteListRow(HWND window, int id, int index);
void DeleteAllListRows(HWND window, int id);
int GetListColumnWidth(HWND window, int id, int column);            // *
void SetListColumnWidth(HWND window, int id, int column, int width);
int HitTestList(HWND window, int id, int x, int y, UINT *flags);    // *
void InsertListColumn(HWND window, int id, int column, int width, const char *title, int format);
int GetCheckedRadio(HWND window, int firstId, int count);
void CheckRadio(HWND window, int firstId, int count, int position);
int DialogUnitsToPixelsX(int value);
int DialogUnitsToPixelsY(int value);
// titles: NUL-terminated texts one after another; widths in horizontal dialog units of the system
// font, scaled to the window's DPI. The stored widths are applied by the caller afterwards
// (RestoreColumnWidths), so these helpers stay apart from the INI file.
void SetupListColumns(HWND window, int id, const char *titles, const unsigned char *widths, int count);

#endif
