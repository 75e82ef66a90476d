// station_rule.cpp: which directory stations a radio can take, and the channel each one becomes.
#include "directory/station_rule.h"
#include "common/text.h"
#include "device/message.h"

// An address a channel can hold: "http://", at most 127 bytes, printable ASCII only (a line end
// would break the settings text, and other bytes have no meaning in a code page 949 list).
static int UsableAddress(const char *url, int length)
{
    if (length <= 0 || length > PLAYLIST_ADDRESS_MAX || length != TextLength(url)) return 0;
    if (ComparePrefix(url, "http://")) return 0;
    for (int i = 0; i < length; i++)
        if (url[i] <= ' ' || url[i] >= 0x7F) return 0;
    return 1;
}

int StationToChannel(const DirectoryStation *s, TextConverter toLocal, StationChannel *out)
{
    const char *address = 0;
    if (UsableAddress(s->urlResolved, s->urlResolvedLength)) address = s->urlResolved;
    else if (UsableAddress(s->url, s->urlLength)) address = s->url;
    if (!address) return STATION_NO_ADDRESS;
    if (s->hls) return STATION_HLS;

    // A character outside the BMP is one '?' whatever the converter makes of its two UTF-16 halves.
    char name[STATION_NAME_SIZE];
    int length = 0;
    for (const unsigned char *p = (const unsigned char *)s->name; *p && length < (int)sizeof name - 1;) {
        int n = Utf8SequenceLength(p, TextLength((const char *)p));
        name[length++] = n == 4 ? '?' : (char)*p;
        if (n == 4) p += 4;
        else p++;
    }
    name[length] = 0;
    // Code page 949 never takes more bytes than the UTF-8 it comes from.
    char local[STATION_NAME_SIZE];
    int n = length && toLocal ? toLocal(name, length, local, sizeof local - 1) : 0;
    if (n < 0 || n > (int)sizeof local - 1) n = 0;
    for (int i = 0; i < n; i++)
        if ((unsigned char)local[i] < 0x20 || local[i] == 0x7F) local[i] = ' ';
    MakeChannelTitle(out->title, sizeof out->title, local, n, address);
    CopyText(out->address, sizeof out->address, address);
    // The one place a directory value meets the check for another key's text.
    if (HoldsDeviceKey(out->title, -1) || HoldsDeviceKey(out->address, -1)) return STATION_HOLDS_KEY;
    return STATION_OFFERED;
}
