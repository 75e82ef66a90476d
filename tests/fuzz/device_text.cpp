// device_text.cpp: libFuzzer target: hostile device texts through every reader, and SETT composing into tight buffers.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/text.h"
#include "device/message.h"

namespace {

struct Cells {
    const char *text;
};

// Hands out cells cut from the input text, so composing sees arbitrary bytes and lengths.
void ReadFuzzCell(void *context, int row, int column, char *buffer, int size)
{
    const char *text = static_cast<Cells *>(context)->text;
    int length = TextLength(text);
    int start = length ? (row * 7 + column * 13) % length : 0;
    CopyText(buffer, size, text + start);
}

void ReadStoredText(const char *text)
{
    char value[DEVICE_VALUE_SIZE];
    static const char *const keys[] = {"OpCode=", "DhcpMode=", "MacAddr=", "FW_Ver=", "LocalIP=", "SubnetMask=",
                                       "GatewayIP=", "DNS_IP=", "PPPoEID=", "PPPoEPsw=", "PlsUrl1=", "PlsUrl2="};
    for (const char *key : keys) GetKeyValue(key, value, sizeof value, text);
    ClassifyMessage(text);
    char mac[DEVICE_VALUE_SIZE], firmware[16];
    ReadDeviceIdentity(text, mac, sizeof mac, firmware, sizeof firmware);
    int count = ReadEntryCount(text);
    for (int n = 1; n <= count && n <= 40; n++) {
        char key[24];
        MakeNumberedKey(key, sizeof key, "File", n);
        GetKeyValue(key, value, sizeof value, text);
        MakeNumberedKey(key, sizeof key, "Title", n);
        GetKeyValue(key, value, 32, text);
    }
}

void ReadAsResponse(const char *text, char *copy)
{
    char line[64];
    const char *p = text;
    while (*p) p = ReadLine(p, line, sizeof line);
    SkipTokens(text, 3);
    int used;
    ParseNumber(text, &used);
    int a = 0, b = 0, c = 0, d = 0;
    ScanText(text, "%d %d %d %d", &a, &b, &c, &d);
    TrimText(copy);
    char *rest = SplitAt(copy, ':');
    if (rest) TrimText(rest);
    FindLastChar(text, '/');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size >= DEVICE_MESSAGE_MAX) return 0;
    // The text as the link delivers it: exactly its bytes and one NUL, in a block of that size.
    char *text = static_cast<char *>(malloc(size + 1));
    memcpy(text, data, size);
    text[size] = 0;
    char *copy = static_cast<char *>(malloc(size + 1));
    memcpy(copy, text, size + 1);

    ReadStoredText(text);
    ReadAsResponse(text, copy);

    SettForm form = {};
    Cells cells = {text};
    form.mode = size ? (int)(signed char)data[0] : 0;
    form.macAddr = text;
    for (int i = 0; i < SETT_FIELD_COUNT; i++) form.fields[i] = text + (size ? (i * 5) % (size + 1) : 0);
    form.channelCount = size ? data[size - 1] : 0;
    form.readCell = ReadFuzzCell;
    form.context = &cells;
    int capacity = 64 + (int)(size % 4096);
    char *out = static_cast<char *>(malloc(capacity));
    int length = ComposeSett(&form, out, capacity);
    if (length >= capacity || (length >= 0 && out[length] != 0)) abort();
    if (length >= 0) ReadStoredText(out);
    free(out);
    free(copy);
    free(text);
    return 0;
}
