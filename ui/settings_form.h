// settings_form.h: the network settings form: shown, hidden and enabled controls, loading a device.
#ifndef SETRADIO_UI_SETTINGS_FORM_H
#define SETRADIO_UI_SETTINGS_FORM_H

#include "common/platform.h"

void UpdateFormState(HWND window);
int OnDeviceRowClick(HWND window);                     // 1 when the chosen row was loaded
void LoadSettingsText(HWND window, const char *text);   // the form and the ChannelList from a stored text

#endif
