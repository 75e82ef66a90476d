// probe.cpp: the stream probe: speaks HTTP/1.0 with an ICY request, follows 302 and playlists.
#include "stream/probe.h"
#include "common/text.h"

// The probe's one heap block, divided into its areas.
struct ProbeAreas {
    char *receive;   // PROBE_RECEIVE_AREA: the request, then the response and a NUL
    char *line;      // PROBE_SLOT: the header line being examined
    char *status;    // PROBE_SLOT: the status line of the current response
    char *url;       // PROBE_SLOT: the URL being probed
    char *host;      // PROBE_SLOT: host part of the current URL, without port
};

// How a hop ended.
enum HopResult { HOP_FAILED, HOP_LIVE, HOP_NEXT };

static void ComposeRequest(char *area, const char *path, const char *host)
{
    TextBuilder b;
    BuilderInit(&b, area, PROBE_RECEIVE_AREA);
    BuilderAppend(&b, "GET /");
    BuilderAppend(&b, path ? path : "");
    BuilderAppend(&b, " HTTP/1.0\r\nHost: ");
    BuilderAppend(&b, host);
    BuilderAppend(&b, "\r\nUser-Agent: WinampMPEG/2.9\r\nAccept: */*\r\nIcy-MetaData:1\r\nConnection: close\r\n\r\n");
}

// Reads the header section after the status line. Keeps the last "Location" value in the current
// URL (cut). Returns 1 at the empty line, 0 when the data ends, fails or fills the area first.
static int ReadHeaders(const ProbeIo *io, SockHandle s, ProbeAreas *a, int *dataBytes, const char *position)
{
    for (;;) {
        while (FindChar(position, '\n') < 0) {
            if (ReceiveMoreVia(io, s, a->receive, dataBytes, PROBE_RECEIVE_AREA, PROBE_HEADER_WAIT_MS) < 1)
                return 0;
        }
        position = ReadLine(position, a->line, PROBE_SLOT);
        if (a->line[0] == 0)
            return 1;
        // A line without ":" has no name and is ignored like any other header.
        char *value = SplitAt(a->line, ':');
        if (value && TextEquals(a->line, "Location"))
            CopyText(a->url, PROBE_LOCATION_MAX + 1, SkipBlanks(value));
    }
}

// One hop: connect to the current URL, ask, read the answer and decide.
static int ProbeHop(const ProbeIo *io, ProbeAreas *a)
{
    int port = PROBE_DEFAULT_PORT;
    const char *path = SplitUrl(a->url, a->host, PROBE_SLOT, &port, PROBE_DEFAULT_PORT);
    SockHandle s = io->connect(io->context, a->host, port);
    if (s == NO_SOCKET)
        return HOP_FAILED;
    ComposeRequest(a->receive, path, a->host);
    io->sendText(io->context, s, a->receive);
    io->setNonBlocking(io->context, s, 1);

    int result = HOP_FAILED;
    int dataBytes = 0;
    if (ReceiveMoreVia(io, s, a->receive, &dataBytes, PROBE_RECEIVE_AREA, PROBE_HEADER_WAIT_MS) >= 1) {
        // The status line comes from this first receive alone, with or without its line end.
        const char *position = ReadLine(a->receive, a->status, PROBE_SLOT);
        if (ReadHeaders(io, s, a, &dataBytes, position)) {
            if (ComparePrefix(a->status, "HTTP/") == 0) {
                int code = ParseNumber(SkipTokens(a->status, 1), 0);
                if (code == 302) {
                    result = HOP_NEXT;   // the current URL holds the last Location, or is unchanged
                } else if (code == 200) {
                    if (ReadPlaylistEntryVia(io, s, a->receive, &dataBytes, PROBE_RECEIVE_AREA) == PLAYLIST_FOUND) {
                        CopyText(a->url, PROBE_LOCATION_MAX + 1, a->receive);
                        result = HOP_NEXT;
                    }
                }
            } else if (TextEquals(a->status, "ICY 200 OK")) {
                result = HOP_LIVE;
            }
        }
    }
    io->close(io->context, s);
    return result;
}

int ProbeStreamVia(const ProbeIo *io, const char *url)
{
    if (!url)
        return 0;
    char *block = (char *)PlatAlloc(PROBE_RECEIVE_AREA + 4 * PROBE_SLOT);
    if (!block)
        return 0;
    ProbeAreas a;
    a.receive = block;
    a.line = block + PROBE_RECEIVE_AREA;
    a.status = a.line + PROBE_SLOT;
    a.url = a.status + PROBE_SLOT;
    a.host = a.url + PROBE_SLOT;
    CopyText(a.url, PROBE_SLOT, url);

    // Redirect and playlist chains (also a server pointing at itself) end after a fixed number of hops.
    int live = 0;
    for (int hop = 0; hop < PROBE_MAX_HOPS; hop++) {
        int result = ProbeHop(io, &a);
        if (result != HOP_NEXT) {
            live = result == HOP_LIVE;
            break;
        }
    }
    PlatFree(block);
    return live;
}

int ProbeStream(const char *url)
{
    return ProbeStreamVia(&kSocketProbeIo, url);
}
