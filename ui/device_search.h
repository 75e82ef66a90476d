// device_search.h: device search with its progress bar, device replies, and sending settings.
#ifndef SETRADIO_UI_DEVICE_SEARCH_H
#define SETRADIO_UI_DEVICE_SEARCH_H

#include "common/platform.h"
#include "device/message.h"

void OnSearchCommand(HWND window);
void OnSearchTimer(HWND window);
void OnDeviceRead(HWND window, WPARAM wParam, LPARAM lParam);
void OnPendingTimer(HWND window);      // PENDING_TIMER: hands on the kept device texts that are due
void OnSendTimer(HWND window);         // SEND_TIMER: sends on the device messages still waiting
void OnReceiveTimer(HWND window);      // RECEIVE_TIMER: receives on while datagrams keep coming
void OnSendCommand(HWND window);
void ReleaseDeviceRows(HWND window);   // releases every row's SettingsText copy and deletes the rows
int RegisterDeviceNotify(SockHandle s, void *window);  // WSAAsyncSelect with MSG_DEVICE_READ

// Work block of a SETT: the text, then 128 bytes in which the Pls edits are read.
#define SETT_WORK_BLOCK (DEVICE_MESSAGE_MAX + 128)
// Composes the SETT of the form, device row (-1: none, an empty MacAddr) and the ChannelList into
// block (SETT_WORK_BLOCK bytes). Returns the text length, or -1 when it would not fit in one message.
int ComposeFormSett(HWND window, int row, char *block);
// When a value of a composed SETT holds a key's text, tells the user which channel (or field) and
// returns 1: such a text is neither saved nor sent.
int RefuseValueHoldingKey(HWND window, const char *sett);

#endif
