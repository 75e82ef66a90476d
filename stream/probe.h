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

#endif
