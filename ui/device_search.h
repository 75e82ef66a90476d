// device_search.h: device search with its progress bar, device replies, and sending settings.
#ifndef SETRADIO_UI_DEVICE_SEARCH_H
#define SETRADIO_UI_DEVICE_SEARCH_H

#include "common/platform.h"

void OnSearchCommand(HWND window);
void OnSearchTimer(HWND window);
void OnDeviceRead(HWND window, WPARAM wParam, LPARAM lParam);
void OnPendingTimer(HWND window);      // PENDING_TIMER: hands on the kept device texts that are due
void OnSendCommand(HWND window);
void ReleaseDeviceRows(HWND window);   // releases every row's SettingsText copy and deletes the rows
int RegisterDeviceNotify(SockHandle s, void *window);  // WSAAsyncSelect with MSG_DEVICE_READ

#endif
