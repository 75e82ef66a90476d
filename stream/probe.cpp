// probe.cpp: the stream probe: speaks HTTP/1.0 with an ICY request, follows 302 and playlists.
#include "stream/probe.h"
#include "common/socket.h"
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
// URL (cut) and notes whether there was one. Returns 1 at the empty line, 0 when the data ends,
// fails or fills the area first.
static int ReadHeaders(ProbeClock *clock, SockHandle s, ProbeAreas *a, int *dataBytes, const char *position,
                       int *sawLocation)
{
    for (;;) {
        while (FindChar(position, '\n') < 0) {
            if (ReceiveMoreWithin(clock, s, a->receive, dataBytes, PROBE_RECEIVE_AREA, PROBE_HEADER_WAIT_MS) < 1)
                return 0;
        }
        position = ReadLine(position, a->line, PROBE_SLOT);
        if (a->line[0] == 0)
            return 1;
        // A line without ":" has no name and is ignored like any other header.
        char *value = SplitAt(a->line, ':');
        if (value && TextEquals(a->line, "Location")) {
            CopyText(a->url, PROBE_LOCATION_MAX + 1, SkipBlanks(value));
            *sawLocation = 1;
        }
    }
}

static int ConnectReason(int failure)
{
    switch (failure) {
    case CONNECT_NO_HOST: return PROBE_UNKNOWN_HOST;
    case CONNECT_REFUSED: return PROBE_REFUSED;
    case CONNECT_LOOKUP_TIMED_OUT: return PROBE_NO_ANSWER;   // the whole time went on the lookup
    default: return PROBE_CONNECT_TIMED_OUT;
    }
}

// Decides a hop by its status line once the headers are read; the socket is still open for
// playlist data.
static int DecideHop(ProbeClock *clock, SockHandle s, ProbeAreas *a, int *dataBytes, int sawLocation,
                     ProbeOutcome *outcome)
{
    outcome->httpCode = ParseNumber(SkipTokens(a->status, 1), 0);
    if (ComparePrefix(a->status, "HTTP/") == 0) {
        if (outcome->httpCode == 302) {
            // The current URL holds the last Location, or is unchanged.
            outcome->reason = sawLocation ? PROBE_TOO_MANY_REDIRECTS : PROBE_REDIRECT_WITHOUT_LOCATION;
            return HOP_NEXT;
        }
        if (outcome->httpCode != 200) {
            outcome->reason = PROBE_HTTP_ERROR;
            return HOP_FAILED;
        }
        if (ReadPlaylistEntryWithin(clock, s, a->receive, dataBytes, PROBE_RECEIVE_AREA) == PLAYLIST_FOUND) {
            CopyText(a->url, PROBE_LOCATION_MAX + 1, a->receive);
            outcome->reason = PROBE_TOO_MANY_REDIRECTS;
            return HOP_NEXT;
        }
        outcome->reason = FindText(a->receive, "[playlist]") >= 0 ? PROBE_EMPTY_PLAYLIST : PROBE_HTTP_NOT_ICY;
        return HOP_FAILED;
    }
    if (TextEquals(a->status, "ICY 200 OK")) {
        outcome->reason = PROBE_LIVE;
        return HOP_LIVE;
    }
    outcome->reason = PROBE_HTTP_ERROR;   // another status line: its code, 0 when it has none
    return HOP_FAILED;
}

// One hop: connect to the current URL, ask, read the answer and decide.
static int ProbeHop(ProbeClock *clock, ProbeAreas *a, ProbeOutcome *outcome)
{
    const ProbeIo *io = clock->io;
    int port = PROBE_DEFAULT_PORT;
    const char *path = SplitUrl(a->url, a->host, PROBE_SLOT, &port, PROBE_DEFAULT_PORT);
    outcome->httpCode = 0;
    outcome->reason = PROBE_NO_ANSWER;
    unsigned limit = ProbeTimeLeft(clock, PROBE_TOTAL_MS);
    if (limit == 0)
        return HOP_FAILED;
    int failure = CONNECT_FAILED;
    SockHandle s = io->connectWithin ? io->connectWithin(io->context, a->host, port, limit, &failure)
                                     : io->connect(io->context, a->host, port);
    if (s == NO_SOCKET) {
        outcome->reason = ConnectReason(failure);
        return HOP_FAILED;
    }
    ComposeRequest(a->receive, path, a->host);
    io->sendText(io->context, s, a->receive);
    io->setNonBlocking(io->context, s, 1);

    int result = HOP_FAILED;
    int dataBytes = 0;
    int sawLocation = 0;
    if (ReceiveMoreWithin(clock, s, a->receive, &dataBytes, PROBE_RECEIVE_AREA, PROBE_HEADER_WAIT_MS) >= 1) {
        // The status line comes from this first receive alone, with or without its line end.
        const char *position = ReadLine(a->receive, a->status, PROBE_SLOT);
        if (ReadHeaders(clock, s, a, &dataBytes, position, &sawLocation))
            result = DecideHop(clock, s, a, &dataBytes, sawLocation, outcome);
    }
    io->close(io->context, s);
    // A wait cut short by the whole probe's limit: the answer did not come in time.
    if (result == HOP_FAILED && clock->ranOut)
        outcome->reason = PROBE_NO_ANSWER;
    return result;
}

int ProbeStreamOutcomeVia(const ProbeIo *io, const char *url, ProbeOutcome *outcome)
{
    ProbeOutcome local;
    if (!outcome)
        outcome = &local;
    outcome->reason = PROBE_NO_ANSWER;
    outcome->httpCode = 0;
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
    ProbeClock clock;
    StartProbeClock(&clock, io, PROBE_TOTAL_MS);

    // Redirect and playlist chains (also a server pointing at itself) end after a fixed number of
    // hops; the last hop's reason then tells which kind of chain it was.
    for (int hop = 0; hop < PROBE_MAX_HOPS; hop++) {
        if (ProbeHop(&clock, &a, outcome) != HOP_NEXT)
            break;
    }
    PlatFree(block);
    return outcome->reason == PROBE_LIVE;
}

int ProbeStreamVia(const ProbeIo *io, const char *url)
{
    return ProbeStreamOutcomeVia(io, url, 0);
}

int ProbeStream(const char *url)
{
    return ProbeStreamVia(&kSocketProbeIo, url);
}

int ProbeStreamOutcome(const char *url, ProbeOutcome *outcome)
{
    return ProbeStreamOutcomeVia(&kSocketProbeIo, url, outcome);
}
