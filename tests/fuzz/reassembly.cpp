// reassembly.cpp: fuzzes the per-sender joining of datagrams and the reading of every message it gives.
//
// Input: records of [op][sender][tick step][length low][length high] followed by the datagram.
//   op & 3 == 3: take expired texts instead of feeding.  op & 0x20: before the record, time moves to
//   1 ms before the first kept text is due, plus step & 3 ms (either side of the limit).
//   op & 0x80: the datagram is synthesized:
//   length bytes of one fill byte (the next input byte), so large texts arise from small inputs.
//   Otherwise the datagram is the next length bytes of the input (cut at its end).
//   The length's high byte counts only with op & 0x40, so most datagrams stay short and fast.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "common/platform.h"
#include "common/text.h"
#include "device/message.h"
#include "device/reassembly.h"

static void Check(bool condition)
{
    if (!condition) abort();
}

// Everything the window does with a received text.
static void ReadMessage(char *message)
{
    size_t length = strlen(message);
    Check(length <= DEVICE_MESSAGE_MAX - 1);
    char value[DEVICE_VALUE_SIZE];
    static const char *const keys[] = {"OpCode=", "MacAddr=", "FW_Ver=", "DhcpMode=", "LocalIP=", "PlsUrl1=",
                                       "NumberOfEntries=", "File1=", "Title1=", "Title10="};
    // Long texts cost much under coverage tracing: the full set of lookups only for shorter ones.
    for (const char *key : keys) {
        if (length > 8192) break;
        GetKeyValue(key, value, sizeof value, message);
        Check(strlen(value) < sizeof value);
    }
    int kind = ClassifyMessage(message);
    Check(kind == MESSAGE_OTHER || kind == MESSAGE_IMIN || kind == MESSAGE_SETC);
    char mac[DEVICE_VALUE_SIZE], firmware[16];
    ReadDeviceIdentity(message, mac, sizeof mac, firmware, sizeof firmware);
    Check(strlen(firmware) < sizeof firmware);
    int count = ReadEntryCount(message);
    Check(count >= 0);
    PlatFree(message);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Reassembly r;  // zero at start, emptied after every input
    unsigned now = 0xFFFF0000u;  // crosses the tick count wrap
    size_t pos = 0;
    std::vector<char> datagram;
    while (pos + 5 <= size) {
        uint8_t op = data[pos], sender = data[pos + 1], step = data[pos + 2];
        int length = data[pos + 3] | ((op & 0x40) ? data[pos + 4] << 8 : 0);
        pos += 5;
        unsigned until = TimeUntilExpiry(&r, now, 5000);
        if (op & 0x20)
            now += (until > 0 ? until - 1 : 0) + (step & 3u);   // never backwards, as the tick count
        else
            now += (unsigned)step * 40u;
        if ((op & 3) == 3) {
            char *m;
            while ((m = TakeExpiredText(&r, now, 5000)) != nullptr) ReadMessage(m);
            Check(PendingTextCount(&r) == 0 || TimeUntilExpiry(&r, now, 5000) > 0);   // nothing due is left
            Check(TimeUntilExpiry(&r, now, 5000) <= 5000);
            continue;
        }
        if (op & 0x80) {
            uint8_t fill = pos < size ? data[pos++] : 'x';
            datagram.assign((size_t)length, (char)fill);
        } else {
            size_t n = size - pos < (size_t)length ? size - pos : (size_t)length;
            datagram.assign(data + pos, data + pos + n);
            pos += n;
        }
        // Senders: 16 addresses times 16 ports, so more senders than slots occur.
        unsigned address = 0x0A4D0000u + (sender & 15);
        int port = 49000 + (sender >> 4);
        char *m = FeedDatagram(&r, address, port, datagram.data(), (int)datagram.size(), now, 5000);
        if (m) ReadMessage(m);
        Check(PendingTextCount(&r) <= REASSEMBLY_SENDERS);
    }
    char *m;
    while ((m = TakeExpiredText(&r, now + 5000u, 5000)) != nullptr) ReadMessage(m);
    Check(PendingTextCount(&r) == 0);
    ClearReassembly(&r);
    return 0;
}
