// playlist_entry.cpp: finds the first entry ("File1=") of a [playlist] file in a response.
#include "common/text.h"
#include "stream/probe.h"

// Index just behind "File1=" of the first playlist in the text, or -1.
static int FindEntryStart(const char *text)
{
    int playlist = FindText(text, "[playlist]");
    if (playlist < 0)
        return -1;
    const char *after = text + playlist + 10;
    int file1 = FindText(after, "File1=");
    if (file1 < 0)
        return -1;
    return (int)(after - text) + file1 + 6;
}

// Length of the entry when a CR or LF ends it, else -1.
static int EntryLength(const char *entry)
{
    int cr = FindChar(entry, '\r');
    int lf = FindChar(entry, '\n');
    if (cr < 0)
        return lf;
    if (lf < 0)
        return cr;
    return cr < lf ? cr : lf;
}

int ReadPlaylistEntryWithin(ProbeClock *clock, SockHandle s, char *area, int *dataBytes, int capacity)
{
    if (capacity < 1 || *dataBytes < 0 || *dataBytes > capacity - 1)
        return PLAYLIST_BUFFER_FULL;
    area[*dataBytes] = 0;
    for (;;) {
        int start = FindEntryStart(area);
        if (start >= 0) {
            int length = EntryLength(area + start);
            if (length >= 0) {
                // Moves the entry down to the start; the areas overlap, so byte by byte from the front.
                for (int i = 0; i < length; i++)
                    area[i] = area[start + i];
                area[length] = 0;
                return PLAYLIST_FOUND;
            }
        }
        if (*dataBytes >= capacity - 1)
            return PLAYLIST_BUFFER_FULL;
        if (ReceiveMoreWithin(clock, s, area, dataBytes, capacity, PROBE_PLAYLIST_WAIT_MS) < 1)
            return PLAYLIST_NO_MORE_DATA;
    }
}

int ReadPlaylistEntryVia(const ProbeIo *io, SockHandle s, char *area, int *dataBytes, int capacity)
{
    ProbeClock unbounded;
    StartProbeClock(&unbounded, io, 0xFFFFFFFFu);
    return ReadPlaylistEntryWithin(&unbounded, s, area, dataBytes, capacity);
}

int ReadPlaylistEntry(SockHandle s, char *area, int *dataBytes, int capacity)
{
    return ReadPlaylistEntryVia(&kSocketProbeIo, s, area, dataBytes, capacity);
}
