// channel_editor.h: the ChannelList: add, modify, delete, delete all, copy to edits, reordering.
#ifndef SETRADIO_UI_CHANNEL_EDITOR_H
#define SETRADIO_UI_CHANNEL_EDITOR_H

#include "common/platform.h"
#include <commctrl.h>

extern ATOM g_atomUserPrm1;   // property name atom of the row being dragged, added at start-up

void OnChannelAdd(HWND window);
void OnChannelModify(HWND window);
void OnChannelDelete(HWND window);
void OnChannelDeleteAll(HWND window);
void OnChannelClick(HWND window);
void OnChannelBeginDrag(HWND window, const NMLISTVIEW *info);
void SubclassWindow(HWND window, WNDPROC procedure);
LRESULT CallOriginalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ChannelListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
int ReadChannelFields(HWND window, char *title, char *url);   // 32 and 128 bytes
void RenumberChannels(HWND window);
void MoveListRow(HWND list, int from, int to, int columnCount);
void ClearEdit(HWND window, int id);
void SetDragRow(HWND list, int row);                            // -1: no drag in progress
void FormatChannelNumber(char *out, int n);                     // "%d." of n; out holds 16 bytes

#endif
