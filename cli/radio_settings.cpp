// radio_settings.cpp: a settings text loaded as the form loads it, and composed back with the SETT composer.
#include "cli/radio_settings.h"
#include "common/text.h"
#include "cli/cli_texts.h"
#include "cli/terminal_text.h"
#include "files/settings_values.h"

#include <stdio.h>
#include <string>

#define WINDOW_START_MODE 1   // the window checks DHCP when it starts

void LoadRadioSettings(RadioSettings *values, const char *text)
{
    SettingsValues read;
    ReadSettingsValues(text, &read);
    // The radio buttons: a negative position unchecks all three, one past the last changes nothing.
    values->mode = read.mode < 0 ? -1 : read.mode > 2 ? WINDOW_START_MODE : read.mode;
    for (int i = 0; i < SETT_FIELD_COUNT; i++) {
        CopyText(values->fields[i], DEVICE_VALUE_SIZE, read.fields[i]);
        TrimText(values->fields[i]);   // the send reads the edits back trimmed
    }
    values->channelCount = read.channelCount;
    values->text = text;
}

// A ChannelList cell of the loaded text: column 1 the title, column 2 the address.
static void ReadLoadedCell(void *context, int row, int column, char *buffer, int size)
{
    const RadioSettings *values = (const RadioSettings *)context;
    char other[DEVICE_VALUE_SIZE];
    if (column == 1) ReadChannelEntry(values->text, row + 1, buffer, size, other, sizeof other);
    else ReadChannelEntry(values->text, row + 1, other, sizeof other, buffer, size);
}

int ComposeSettFor(const RadioSettings *values, const char *macAddr, char *out, int capacity)
{
    SettForm form;
    ZeroBytes(&form, (int)sizeof form);
    form.mode = values->mode;
    form.macAddr = macAddr;
    for (int i = 0; i < SETT_FIELD_COUNT; i++) form.fields[i] = values->fields[i];
    form.channelCount = values->channelCount;
    form.readCell = ReadLoadedCell;
    form.context = (void *)values;
    return ComposeSett(&form, out, capacity);
}

int RefuseSettHoldingKey(const char *sett)
{
    char key[32];
    if (!FindValueHoldingKey(sett, key, sizeof key)) return 0;
    char what[48];
    int channel = ChannelOfKey(key);
    if (channel) snprintf(what, sizeof what, CLI_TEXT_CHANNEL_NAMED, channel);
    else snprintf(what, sizeof what, "%s", key);
    PrintError((std::string(CLI_ERROR_VALUE_HOLDS_KEY) + what).c_str(), 0);
    return 1;
}

const char *ModeName(int mode)
{
    switch (mode) {
    case 0: return "static";
    case 1: return "dhcp";
    case 2: return "pppoe";
    case -1: return "none";
    default: return "unknown";
    }
}
