// probe.h: decides whether a stream URL leads to a live broadcast (HTTP/ICY, 302, [playlist]).
#ifndef SETRADIO_STREAM_PROBE_H
#define SETRADIO_STREAM_PROBE_H

#include "common/platform.h"

#define PROBE_DEFAULT_PORT 80
#define PROBE_MAX_HOPS 10

enum PlaylistResult { PLAYLIST_FOUND = 0, PLAYLIST_NO_MORE_DATA = 1, PLAYLIST_BUFFER_FULL = 2 };

// Why a probe ended as it did. The live rule is untouched by it: live is PROBE_LIVE alone.
enum ProbeReason {
    PROBE_LIVE = 0,
    PROBE_NOT_HTTP,                    // the address does not start with "http://" (channel check only)
    PROBE_UNKNOWN_HOST,                // the host name was not found
    PROBE_REFUSED,                     // the connection was refused
    PROBE_CONNECT_TIMED_OUT,           // the connection could not be made (in time)
    PROBE_NO_ANSWER,                   // no status line in time, or the whole probe ran out of time
    PROBE_HTTP_ERROR,                  // a status code other than 200 and 302 (httpCode holds it)
    PROBE_HTTP_NOT_ICY,                // 200 without a [playlist] in its data
    PROBE_EMPTY_PLAYLIST,              // [playlist] without a complete "File1=" entry
    PROBE_REDIRECT_WITHOUT_LOCATION,   // the hop bound was reached by a 302 without Location
    PROBE_TOO_MANY_REDIRECTS,          // the hop bound was reached
    PROBE_REASON_COUNT
};
// What a reason means for the channel behind it: live; no stream behind it; or a server that
// answers with data but not as ICY, which a radio may still play (kept where channels are pruned).
enum ProbeGroup { PROBE_GROUP_LIVE = 0, PROBE_GROUP_NO_STREAM, PROBE_GROUP_NOT_ICY };
int ProbeReasonGroup(int reason);   // a ProbeGroup; an unknown reason is PROBE_GROUP_NO_STREAM

struct ProbeOutcome {
    int reason;     // a ProbeReason
    int httpCode;   // the status code of the last answer, 0 when none
};

// 1 when a server finally answers "ICY 200 OK", 0 otherwise.
int ProbeStream(const char *url);
// The same, and why (outcome may be null). Safe on several threads at once: each probe owns its
// socket and its heap block, and names are looked up by a thread-safe lookup.
int ProbeStreamOutcome(const char *url, ProbeOutcome *outcome);
// The check of a channel address: one that does not start with "http://" (in any case) is not
// probed and ends as PROBE_NOT_HTTP; any other is probed as above.
int ProbeChannelAddress(const char *url, ProbeOutcome *outcome);
// The reason in English ("HTTP error" without its number); "?" for an unknown value.
const char *ProbeReasonName(int reason);
// The reason in English with the status code where it has one ("HTTP error 404"); returns its length.
int FormatProbeReason(const ProbeOutcome *outcome, char *out, int size);
// Fills host (hostSize bytes) and port; returns the path after the first "/" behind the host, or null.
const char *SplitUrl(const char *url, char *host, int hostSize, int *port, int defaultPort);
// Looks for the first playlist entry, receiving more when needed; *dataBytes is updated.
int ReadPlaylistEntry(SockHandle s, char *area, int *dataBytes, int capacity);

// Sizes of the probe's one heap block and its limits.
#define PROBE_RECEIVE_AREA 65536        // response bytes (at most 65535) and a NUL
#define PROBE_SLOT 260                  // line, status, current URL and host slots
#define PROBE_LOCATION_MAX 79           // a Location value or playlist entry is cut to this many bytes
#define PROBE_HEADER_WAIT_MS 5000       // per receive of status and header data
#define PROBE_PLAYLIST_WAIT_MS 3000     // per receive of playlist data
// The whole probe, connects and lookups included: within 15 s from the click to the answer, with
// room left for showing the answer.
#define PROBE_TOTAL_MS 14500

// The probe reaches the network only through this record, so tests and fuzzers can put a fake
// server behind it. Each function gets the record's context first; the calls mean the same as
// ConnectTcp, SendText, SetNonBlocking, ReceiveWait and CloseSocketIfOpen.
struct ProbeIo {
    void *context;
    SockHandle (*connect)(void *context, const char *host, int port);
    int (*sendText)(void *context, SockHandle s, const char *text);
    int (*setNonBlocking)(void *context, SockHandle s, int mode);
    int (*receiveWait)(void *context, SockHandle s, char *buffer, int size, unsigned limitMs);
    void (*close)(void *context, SockHandle s);
    // Optional; null gives connect above and the platform's tick count. A connect bounded by
    // limitMs that tells why it failed (a ConnectFailure), and the clock the probe's limits run on.
    SockHandle (*connectWithin)(void *context, const char *host, int port, unsigned limitMs, int *failure);
    unsigned (*tickCount)(void *context);
};

// The real sockets (the socket helpers).
extern const ProbeIo kSocketProbeIo;

// Receives more response data behind the *dataBytes already in area (capacity bytes, NUL included),
// waiting up to limitMs; keeps the data NUL-ended. Returns the bytes added, below 1 for none.
int ReceiveMoreVia(const ProbeIo *io, SockHandle s, char *area, int *dataBytes, int capacity, unsigned limitMs);

// The probe's clock: every wait is cut to what is left of totalMs since start.
struct ProbeClock {
    const ProbeIo *io;
    unsigned start;
    unsigned totalMs;
    int ranOut;   // 1 once a wait was cut short by the total, or nothing was left
};
void StartProbeClock(ProbeClock *clock, const ProbeIo *io, unsigned totalMs);
// limitMs cut to what is left of the total; 0 (and ranOut set) when nothing is left.
unsigned ProbeTimeLeft(ProbeClock *clock, unsigned limitMs);
// ReceiveMoreVia with its limit cut by the clock.
int ReceiveMoreWithin(ProbeClock *clock, SockHandle s, char *area, int *dataBytes, int capacity, unsigned limitMs);

// ProbeStream, ProbeStreamOutcome, ProbeChannelAddress and ReadPlaylistEntry over a given I/O record.
int ProbeStreamVia(const ProbeIo *io, const char *url);
int ProbeStreamOutcomeVia(const ProbeIo *io, const char *url, ProbeOutcome *outcome);
int ProbeChannelAddressVia(const ProbeIo *io, const char *url, ProbeOutcome *outcome);
int ReadPlaylistEntryVia(const ProbeIo *io, SockHandle s, char *area, int *dataBytes, int capacity);
int ReadPlaylistEntryWithin(ProbeClock *clock, SockHandle s, char *area, int *dataBytes, int capacity);

#endif
