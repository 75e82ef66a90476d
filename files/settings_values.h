// settings_values.h: reading a settings text into the form's values and channel rows, as a device's text is loaded.
#ifndef SETRADIO_FILES_SETTINGS_VALUES_H
#define SETRADIO_FILES_SETTINGS_VALUES_H

#include "device/message.h"

struct SettingsValues {
    int mode;                                           // DhcpMode read as a number: the radio to check
    char fields[SETT_FIELD_COUNT][DEVICE_VALUE_SIZE];   // LocalIP .. PlsUrl2, empty when missing
    int channelCount;                                   // NumberOfEntries, bounded
};

// The form's values of a settings text (a device's stored text or a settings file).
void ReadSettingsValues(const char *text, SettingsValues *out);
// Channel n (from 1): its TitleN and FileN values, each cut to its buffer (at most 128 bytes).
void ReadChannelEntry(const char *text, int n, char *title, int titleSize, char *url, int urlSize);

#endif
