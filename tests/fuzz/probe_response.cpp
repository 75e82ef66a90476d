// probe_response.cpp: libFuzzer target: the stream probe's response handling fed by a fake network.
// Input: [url length][url bytes], then records for the receives of the connections in turn:
//   0x00 the peer closes (receive gives 0), 0xFF a time-out (receive gives -1),
//   0xFE n c: n*256 bytes of c, any other n: the next n bytes. Connects fail once the input is used up.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include "stream/probe.h"

namespace {

struct Feed {
    const uint8_t *data;
    size_t size;
    size_t at;
    std::string pending;   // rest of a piece larger than the receive asked for
    bool ended;            // the current connection was closed by the peer
    int connects;
    int open;
    char *area;            // the receive area seen in this hop's first receive
    int areaBytes;         // bytes handed out into the area on this hop
};

void Check(bool condition)
{
    if (!condition)
        abort();
}

SockHandle FuzzConnect(void *context, const char *host, int)
{
    Feed *f = (Feed *)context;
    Check(strlen(host) < PROBE_SLOT);
    f->connects++;
    Check(f->connects <= PROBE_MAX_HOPS);
    if (f->at >= f->size)
        return NO_SOCKET;
    f->pending.clear();
    f->ended = false;
    f->area = nullptr;
    f->areaBytes = 0;
    f->open++;
    return (SockHandle)7;
}

int FuzzSend(void *context, SockHandle, const char *text)
{
    (void)context;
    size_t n = strlen(text);
    Check(n >= 16 && memcmp(text, "GET /", 5) == 0 && memcmp(text + n - 4, "\r\n\r\n", 4) == 0);
    Check(strstr(text, " HTTP/1.0\r\nHost: ") != nullptr);
    return 0;
}

int FuzzNonBlocking(void *, SockHandle, int) { return 0; }

int FuzzReceive(void *context, SockHandle, char *buffer, int size, unsigned)
{
    Feed *f = (Feed *)context;
    Check(size > 0);
    if (!f->area)
        f->area = buffer;
    // Every receive lands inside the 65535 data bytes of the area, behind what came before.
    Check(buffer == f->area + f->areaBytes && f->areaBytes + size <= PROBE_RECEIVE_AREA - 1);
    if (f->ended)
        return 0;
    if (f->pending.empty()) {
        if (f->at >= f->size)
            return -1;
        uint8_t kind = f->data[f->at++];
        if (kind == 0x00) {
            f->ended = true;
            return 0;
        }
        if (kind == 0xFF)
            return -1;
        if (kind == 0xFE) {
            size_t count = f->at < f->size ? f->data[f->at++] : 0;
            char c = f->at < f->size ? (char)f->data[f->at++] : 'x';
            f->pending.assign(count * 256 + 1, c);
        } else {
            size_t n = kind < f->size - f->at ? kind : f->size - f->at;
            f->pending.assign((const char *)f->data + f->at, n);
            f->at += n;
            if (n == 0)
                return -1;
        }
    }
    int n = (int)f->pending.size() < size ? (int)f->pending.size() : size;
    memcpy(buffer, f->pending.data(), (size_t)n);
    f->pending.erase(0, (size_t)n);
    f->areaBytes += n;
    return n;
}

void FuzzClose(void *context, SockHandle s)
{
    if (s != NO_SOCKET)
        ((Feed *)context)->open--;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    size_t urlBytes = data[0] < size - 1 ? data[0] : size - 1;
    // Up to 255 bytes of URL plus filler make URLs past the 259-byte limit too.
    std::string url((const char *)data + 1, urlBytes);
    if (urlBytes > 200)
        url += std::string(urlBytes, 'u');

    // SplitUrl into an exact-size host slot: a write past it is caught by the address sanitizer.
    int hostSize = 1 + (int)(urlBytes % 64);
    char *host = (char *)malloc((size_t)hostSize);
    int port = 0;
    const char *path = SplitUrl(url.c_str(), host, hostSize, &port, PROBE_DEFAULT_PORT);
    Check((int)strlen(host) < hostSize);
    Check(!path || (path >= url.c_str() && path <= url.c_str() + url.size()));
    free(host);

    Feed feed = {data, size, 1 + urlBytes, std::string(), false, 0, 0, nullptr, 0};
    ProbeIo io = {&feed, FuzzConnect, FuzzSend, FuzzNonBlocking, FuzzReceive, FuzzClose, 0, 0};
    int live = ProbeStreamVia(&io, url.c_str());
    Check(live == 0 || live == 1);
    Check(feed.open == 0);
    return 0;
}
