// settings_values.cpp: reading a settings text into the form's values and channel rows.
#include "files/settings_values.h"
#include "common/text.h"

void ReadSettingsValues(const char *text, SettingsValues *out)
{
    char value[DEVICE_VALUE_SIZE];
    GetKeyValue("DhcpMode=", value, sizeof value, text);
    out->mode = ParseNumber(value, 0);
    for (int i = 0; i < SETT_FIELD_COUNT; i++)
        GetKeyValue(SettFieldKey(i), out->fields[i], DEVICE_VALUE_SIZE, text);
    out->channelCount = ReadEntryCount(text);
}

void ReadChannelEntry(const char *text, int n, char *title, int titleSize, char *url, int urlSize)
{
    char key[32];
    MakeNumberedKey(key, sizeof key, "Title", n);
    GetKeyValue(key, title, SmallerOf(titleSize, DEVICE_VALUE_SIZE), text);
    MakeNumberedKey(key, sizeof key, "File", n);
    GetKeyValue(key, url, SmallerOf(urlSize, DEVICE_VALUE_SIZE), text);
}
