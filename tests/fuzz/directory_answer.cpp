// directory_answer.cpp: libFuzzer target: hostile station directory answers through the JSON reader,
// the station list and the station rule; every offered channel must fit and hold no line end.
#include <cstdint>
#include <cstring>

#include "common/text.h"
#include "directory/json_reader.h"
#include "directory/station_list.h"
#include "directory/station_rule.h"

namespace {

// Stand-in for the system conversion: ASCII kept, each other UTF-8 sequence one '?'.
int Flatten(const char *in, int length, char *out, int capacity)
{
    int n = 0;
    for (int i = 0; i < length; i++) {
        unsigned char c = (unsigned char)in[i];
        if (c >= 0x80 && c < 0xC0) continue;
        if (n == capacity) return -1;
        out[n++] = c < 0x80 ? (char)c : '?';
    }
    return n;
}

void Offer(void *context, const DirectoryStation *s)
{
    if (TextLength(s->name) >= STATION_NAME_SIZE || TextLength(s->url) >= STATION_URL_SIZE ||
        TextLength(s->urlResolved) >= STATION_URL_SIZE)
        __builtin_trap();
    StationChannel c;
    if (StationToChannel(s, Flatten, &c) != STATION_OFFERED) return;
    int t = TextLength(c.title), a = TextLength(c.address);
    if (t > PLAYLIST_TITLE_MAX || a > PLAYLIST_ADDRESS_MAX || ComparePrefix(c.address, "http://")) __builtin_trap();
    for (int i = 0; i < t; i++)
        if (c.title[i] == '\r' || c.title[i] == '\n') __builtin_trap();
    for (int i = 0; i < a; i++)
        if ((unsigned char)c.address[i] <= ' ') __builtin_trap();
    ++*static_cast<int *>(context);
}

// Walks every value, reading strings into a small buffer and numbers as integers.
void Walk(JsonReader *r, int depth)
{
    char text[8];
    int count = 0, flag, full;
    long long number;
    switch (JsonPeek(r)) {
    case JSON_ARRAY:
        if (depth > 40) { JsonSkipValue(r); return; }
        JsonEnterArray(r);
        while (JsonNextElement(r, &count)) Walk(r, depth + 1);
        return;
    case JSON_OBJECT:
        if (depth > 40) { JsonSkipValue(r); return; }
        JsonEnterObject(r);
        while (JsonNextMember(r, &count, text, sizeof text)) Walk(r, depth + 1);
        return;
    case JSON_STRING:
        if (JsonReadString(r, text, sizeof text, &full) ? TextLength(text) > full : TextLength(text) >= (int)sizeof text)
            __builtin_trap();
        return;
    case JSON_NUMBER: JsonReadInteger(r, &number); return;
    case JSON_TRUE: case JSON_FALSE: JsonReadBool(r, &flag); return;
    default: JsonSkipValue(r);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 1 << 20) return 0;
    int offered = 0;
    StationListResult result;
    ReadStationList((const char *)data, (int)size, Offer, &offered, &result);
    if (offered != (result.error == STATIONS_OK ? offered : 0) || result.read < offered) __builtin_trap();
    JsonReader r;
    JsonStart(&r, (const char *)data, (int)size);
    Walk(&r, 0);
    JsonFinish(&r);
    return 0;
}
