// radio_settings.h: a settings text's values as the window's form holds them right after loading
// that text, and the SETT composed from them for a given radio.
#ifndef SETRADIO_CLI_RADIO_SETTINGS_H
#define SETRADIO_CLI_RADIO_SETTINGS_H

#include "device/message.h"

struct RadioSettings {
    int mode;                                             // as the radio buttons give it after the load
    char fields[SETT_FIELD_COUNT][DEVICE_VALUE_SIZE];     // the form's edits, trimmed as they are read back
    int channelCount;                                     // ChannelList rows
    const char *text;                                     // the loaded text; the rows' cells are read from it
};

// Loads text as a device row's text is loaded into the form (the window right after start, DHCP
// checked): DhcpMode 0, 1, 2 choose that mode, a negative one none (-1), a larger one leaves DHCP.
void LoadRadioSettings(RadioSettings *values, const char *text);

// The SETT for the radio whose MacAddr text is given, into out (capacity bytes). Returns its
// length, or -1 when it would not fit (out then holds an empty text).
int ComposeSettFor(const RadioSettings *values, const char *macAddr, char *out, int capacity);

// When a value of a composed SETT holds a key's text (a radio's title such as "x File2=..."), says
// which channel or field on stderr and returns 1: such a text is neither written nor sent.
int RefuseSettHoldingKey(const char *sett);

// The mode as a word for people and scripts: "static", "dhcp", "pppoe", "none" (-1) or "unknown".
const char *ModeName(int mode);

#endif
