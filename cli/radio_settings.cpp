// radio_settings.cpp: a settings text loaded as the form loads it, and composed back with the SETT composer.
#include "cli/radio_settings.h"
#include "common/text.h"

// Keys of the form's edits, in the composer's field order.
static const char *const kFieldKeys[SETT_FIELD_COUNT] = {
    "LocalIP=", "SubnetMask=", "GatewayIP=", "DNS_IP=", "PPPoEID=", "PPPoEPsw=", "PlsUrl1=", "PlsUrl2=",
};

#define WINDOW_START_MODE 1   // the window checks DHCP when it starts

void LoadRadioSettings(RadioSettings *values, const char *text)
{
    char value[DEVICE_VALUE_SIZE];
    GetKeyValue("DhcpMode=", value, sizeof value, text);
    int mode = ParseNumber(value, 0);
    // The radio buttons: a negative position unchecks all three, one past the last changes nothing.
    values->mode = mode < 0 ? -1 : mode > 2 ? WINDOW_START_MODE : mode;
    for (int i = 0; i < SETT_FIELD_COUNT; i++) {
        GetKeyValue(kFieldKeys[i], values->fields[i], DEVICE_VALUE_SIZE, text);
        TrimText(values->fields[i]);   // the send reads the edits back trimmed
    }
    values->channelCount = ReadEntryCount(text);
    values->text = text;
}

// A ChannelList cell of the loaded text: column 1 the title, column 2 the address.
static void ReadLoadedCell(void *context, int row, int column, char *buffer, int size)
{
    const RadioSettings *values = (const RadioSettings *)context;
    char key[32];
    MakeNumberedKey(key, sizeof key, column == 1 ? "Title" : "File", row + 1);
    GetKeyValue(key, buffer, size, values->text);
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
