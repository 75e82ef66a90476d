// message.h: the device messages FIND, IMIN, SETT and SETC: composing, classifying and reading.
#ifndef SETRADIO_DEVICE_MESSAGE_H
#define SETRADIO_DEVICE_MESSAGE_H

#define DEVICE_MESSAGE_MAX 65792   // a message's text and its NUL, received or composed
#define DEVICE_VALUE_SIZE 128      // every value is read and written through 128 bytes (127 and a NUL)
#define FIND_MESSAGE "OpCode=FIND" // sent with its NUL: 12 bytes

enum MessageKind { MESSAGE_OTHER = 0, MESSAGE_IMIN = 1, MESSAGE_SETC = 2 };

// Which of IMIN, SETC or neither a received text is (whole OpCode value, case-sensitive).
int ClassifyMessage(const char *text);

// MacAddr and FW_Ver of an IMIN text, each cut to its buffer.
void ReadDeviceIdentity(const char *text, char *mac, int macSize, char *firmware, int firmwareSize);

// The form's values that a SETT carries. Field texts are taken as given (the window trims them);
// the composer cuts every value to 127 bytes itself.
enum SettField {
    SETT_LOCAL_IP, SETT_SUBNET, SETT_GATEWAY, SETT_DNS,
    SETT_PPPOE_ID, SETT_PPPOE_PSW, SETT_PLS_URL1, SETT_PLS_URL2,
    SETT_FIELD_COUNT
};
// The key of a field with its equals sign ("LocalIP=" ...), or "" for an index out of range.
const char *SettFieldKey(int field);
// Reads one channel cell: column 1 the title, column 2 the URL, of row 0..channelCount-1.
typedef void (*ChannelCellReader)(void *context, int row, int column, char *buffer, int size);
struct SettForm {
    int mode;                            // 0 Static, 1 DHCP, 2 PPPoE, -1 none checked
    const char *macAddr;
    const char *fields[SETT_FIELD_COUNT];
    int channelCount;
    ChannelCellReader readCell;
    void *context;
};
// Composes the SETT text into out (capacity bytes, NUL included). Returns the text length,
// or -1 when the text and its NUL would not fit; nothing is ever written past capacity.
int ComposeSett(const SettForm *form, char *out, int capacity);

// Loading a stored text: the NumberOfEntries value, bounded to what a received text can hold.
int ReadEntryCount(const char *text);
// Builds a numbered key with its equals sign, such as "Title3=" or "File12=".
void MakeNumberedKey(char *out, int size, const char *name, int n);

// Values are found anywhere in a text (GetKeyValue), so a value that holds the text of a key this
// tool reads, followed by '=' (FileN=, TitleN=, PlsUrlN=, a settings key), would change another
// value when the text is read back. 1 when the length bytes of value (-1: up to its NUL) hold one.
int HoldsDeviceKey(const char *value, int length);
// The first line of a settings text whose value (after the line's first '=') holds a key. Returns
// its line number from 1 and copies the line's own key, without '=', into key (size bytes); 0 when none.
int FindValueHoldingKey(const char *text, char *key, int size);
// The channel number of a key such as "Title3" or "File3", or 0 for any other key.
int ChannelOfKey(const char *key);

#endif
