// split_url.cpp: splits a stream URL into host, port and path.
#include "common/text.h"
#include "stream/probe.h"

// Accepted shape: an optional prefix ending in "://", the host, an optional ":port", an optional
// "/path". The scheme is never looked at. The host is cut to hostSize-1 bytes.
const char *SplitUrl(const char *url, char *host, int hostSize, int *port, int defaultPort)
{
    int schemeEnd = FindText(url, "://");
    if (schemeEnd >= 0)
        url += schemeEnd + 3;
    int slash = FindChar(url, '/');
    const char *path = 0;
    if (hostSize >= 1) {
        int hostBytes = slash < 0 ? TextLength(url) : slash;
        if (hostBytes > hostSize - 1)
            hostBytes = hostSize - 1;
        CopyBytes(host, url, hostBytes);
        host[hostBytes] = 0;
    }
    if (slash >= 0)
        path = url + slash + 1;
    *port = defaultPort;
    if (hostSize >= 1) {
        char *portText = SplitAt(host, ':');
        if (portText)
            *port = ParseNumber(portText, 0);
    }
    return path;
}
