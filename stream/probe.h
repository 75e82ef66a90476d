// probe.h: decides whether a stream URL leads to a live broadcast (HTTP/ICY, 302, [playlist]).
#ifndef SETRADIO_STREAM_PROBE_H
#define SETRADIO_STREAM_PROBE_H

#include "common/platform.h"

#define PROBE_DEFAULT_PORT 80
#define PROBE_MAX_HOPS 10

enum PlaylistResult { PLAYLIST_FOUND = 0, PLAYLIST_NO_MORE_DATA = 1, PLAYLIST_BUFFER_FULL = 2 };

// 1 when a server finally answers "ICY 200 OK", 0 otherwise.
int ProbeStream(const char *url);
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
};

// The real sockets (the socket helpers).
extern const ProbeIo kSocketProbeIo;

// Receives more response data behind the *dataBytes already in area (capacity bytes, NUL included),
// waiting up to limitMs; keeps the data NUL-ended. Returns the bytes added, below 1 for none.
int ReceiveMoreVia(const ProbeIo *io, SockHandle s, char *area, int *dataBytes, int capacity, unsigned limitMs);

// ProbeStream and ReadPlaylistEntry over a given I/O record.
int ProbeStreamVia(const ProbeIo *io, const char *url);
int ReadPlaylistEntryVia(const ProbeIo *io, SockHandle s, char *area, int *dataBytes, int capacity);

#endif
