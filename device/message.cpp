// message.cpp: composing SETT texts and reading IMIN, SETC and stored settings texts.
#include "device/message.h"

#include "common/text.h"

// Keys of the form's values in the order a SETT carries them (after OpCode, DhcpMode and MacAddr).
static const char *const kSettFieldKeys[SETT_FIELD_COUNT] = {
    "LocalIP=", "SubnetMask=", "GatewayIP=", "DNS_IP=",
    "PPPoEID=", "PPPoEPsw=", "PlsUrl1=", "PlsUrl2=",
};

// The smallest entry a received text can hold is "File1=" and "Title1=" with empty values
// and no line ends: 13 bytes. A text of at most DEVICE_MESSAGE_MAX - 1 bytes therefore
// holds at most (DEVICE_MESSAGE_MAX - 1) / 13 = 5060 entries; a larger count is hostile.
#define SMALLEST_ENTRY_BYTES 13
#define ENTRY_COUNT_MAX ((DEVICE_MESSAGE_MAX - 1) / SMALLEST_ENTRY_BYTES)

const char *SettFieldKey(int field)
{
    return field >= 0 && field < SETT_FIELD_COUNT ? kSettFieldKeys[field] : "";
}

int ClassifyMessage(const char *text)
{
    char opcode[DEVICE_VALUE_SIZE];
    GetKeyValue("OpCode=", opcode, sizeof opcode, text);
    if (TextEquals(opcode, "IMIN")) return MESSAGE_IMIN;
    if (TextEquals(opcode, "SETC")) return MESSAGE_SETC;
    return MESSAGE_OTHER;
}

void ReadDeviceIdentity(const char *text, char *mac, int macSize, char *firmware, int firmwareSize)
{
    GetKeyValue("MacAddr=", mac, SmallerOf(macSize, DEVICE_VALUE_SIZE), text);
    GetKeyValue("FW_Ver=", firmware, SmallerOf(firmwareSize, DEVICE_VALUE_SIZE), text);
}

// Appends one "Key=Value\r\n" line, the value cut to 127 bytes; a null value counts as empty.
static void AppendLine(TextBuilder *b, const char *key, const char *value)
{
    BuilderAppend(b, key);
    if (value) BuilderAppendCut(b, value, DEVICE_VALUE_SIZE - 1);
    BuilderAppend(b, "\r\n");
}

// Appends "NameN=" with the cell of the given column of row n-1, read through 128 bytes.
static void AppendChannelLine(TextBuilder *b, const SettForm *form, const char *name, int n, int column)
{
    char cell[DEVICE_VALUE_SIZE];
    cell[0] = 0;
    if (form->readCell) form->readCell(form->context, n - 1, column, cell, sizeof cell);
    cell[DEVICE_VALUE_SIZE - 1] = 0;  // a reader that forgot the NUL cannot run us past the buffer
    BuilderAppend(b, name);
    BuilderAppendNumber(b, n);
    BuilderAppend(b, "=");
    BuilderAppendCut(b, cell, DEVICE_VALUE_SIZE - 1);
    BuilderAppend(b, "\r\n");
}

int ComposeSett(const SettForm *form, char *out, int capacity)
{
    TextBuilder b;
    BuilderInit(&b, out, capacity);
    BuilderAppend(&b, "OpCode=SETT\r\n");
    BuilderAppend(&b, "DhcpMode=");
    BuilderAppendNumber(&b, form->mode);
    BuilderAppend(&b, "\r\n");
    AppendLine(&b, "MacAddr=", form->macAddr);
    for (int i = 0; i < SETT_FIELD_COUNT; i++) AppendLine(&b, kSettFieldKeys[i], form->fields[i]);
    int count = form->channelCount > 0 ? form->channelCount : 0;
    BuilderAppend(&b, "NumberOfEntries=");
    BuilderAppendNumber(&b, count);
    BuilderAppend(&b, "\r\n");
    for (int n = 1; n <= count && !b.overflow; n++) {
        AppendChannelLine(&b, form, "File", n, 2);
        AppendChannelLine(&b, form, "Title", n, 1);
    }
    if (b.overflow) {
        if (capacity >= 1) out[0] = 0;  // no half-made message is left behind
        return -1;
    }
    return b.length;
}

int ReadEntryCount(const char *text)
{
    char value[DEVICE_VALUE_SIZE];
    GetKeyValue("NumberOfEntries=", value, sizeof value, text);
    int count = ParseNumber(value, 0);
    if (count < 0) return 0;
    return SmallerOf(count, ENTRY_COUNT_MAX);
}

void MakeNumberedKey(char *out, int size, const char *name, int n)
{
    TextBuilder b;
    BuilderInit(&b, out, size);
    BuilderAppend(&b, name);
    BuilderAppendNumber(&b, n);
    BuilderAppend(&b, "=");
    // A cut key such as "Title" would match the wrong line: give nothing rather than that.
    if (b.overflow && size >= 1) out[0] = 0;
}

// Keys read from texts besides the numbered ones, each with its equals sign.
static const char *const kOtherReadKeys[] = {"OpCode=", "DhcpMode=", "MacAddr=", "FW_Ver=", "NumberOfEntries="};
static const char *const kNumberedKeys[] = {"File", "Title", "PlsUrl"};

// 1 when a key with its '=' starts at p and ends before end.
static int DeviceKeyAt(const char *p, const char *end)
{
    if (*p < 'A' || *p > 'Z') return 0;   // every key starts with a capital letter
    const int others = (int)(sizeof kOtherReadKeys / sizeof kOtherReadKeys[0]);
    for (int i = 0; i < SETT_FIELD_COUNT + others; i++) {
        const char *key = i < SETT_FIELD_COUNT ? kSettFieldKeys[i] : kOtherReadKeys[i - SETT_FIELD_COUNT];
        int n = TextLength(key);
        if (n <= end - p && !ComparePrefix(p, key)) return 1;
    }
    for (int i = 0; i < (int)(sizeof kNumberedKeys / sizeof kNumberedKeys[0]); i++) {
        int n = TextLength(kNumberedKeys[i]);
        if (n >= end - p || ComparePrefix(p, kNumberedKeys[i])) continue;
        const char *q = p + n;
        while (q < end && *q >= '0' && *q <= '9') q++;
        if (q > p + n && q < end && *q == '=') return 1;
    }
    return 0;
}

int HoldsDeviceKey(const char *value, int length)
{
    if (!value) return 0;
    if (length < 0) length = TextLength(value);
    const char *end = value + length;
    for (const char *p = value; p < end; p++)
        if (DeviceKeyAt(p, end)) return 1;
    return 0;
}

int FindValueHoldingKey(const char *text, char *key, int size)
{
    if (size > 0) key[0] = 0;
    int number = 1;
    for (const char *line = text; line && *line; number++) {
        int length = 0;
        while (line[length] && line[length] != '\r' && line[length] != '\n') length++;
        int equals = 0;
        while (equals < length && line[equals] != '=') equals++;
        if (equals < length && HoldsDeviceKey(line + equals + 1, length - equals - 1)) {
            if (size > 0) CopyText(key, SmallerOf(size, equals + 1), line);
            return number;
        }
        line += length;
        if (*line == '\r' && line[1] == '\n') line++;
        if (*line) line++;
    }
    return 0;
}

int ChannelOfKey(const char *key)
{
    const char *digits = 0;
    if (!ComparePrefix(key, "Title")) digits = key + 5;
    else if (!ComparePrefix(key, "File")) digits = key + 4;
    if (!digits || !*digits) return 0;
    int n = 0;
    for (int i = 0; digits[i]; i++) {
        if (digits[i] < '0' || digits[i] > '9' || i >= 6) return 0;
        n = n * 10 + (digits[i] - '0');
    }
    return n;
}
