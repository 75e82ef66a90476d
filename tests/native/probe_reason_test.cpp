// probe_reason_test.cpp: why a probe ends as it does, over a fake network with a fake clock; the
// bounded connect's failures on loopback.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "common/socket.h"
#include "stream/probe.h"

namespace {

struct Hop {
    int failure;                       // what the connect gives: CONNECT_MADE or a failure
    std::vector<std::string> pieces;   // one per receive
    bool timeOut;                      // after the pieces: nothing more in time (else closed)
};

struct Net {
    std::vector<Hop> hops;     // hop i; later hops the last
    unsigned now = 1000;       // the fake clock
    unsigned msPerPiece = 1;   // clock advance per piece received
    size_t hop = 0, piece = 0;
    int connects = 0;
    std::vector<unsigned> connectLimits;
    unsigned longestWaitPastTotal = 0;   // how far any wait's end lay behind the probe's whole limit
    unsigned start = 0;
};

const Hop &Current(Net *net) { return net->hops[net->hop < net->hops.size() ? net->hop : net->hops.size() - 1]; }

SockHandle Connect(void *c, const char *, int, unsigned limitMs, int *failure)
{
    Net *net = (Net *)c;
    if (!net->connects) net->start = net->now;
    net->hop = (size_t)net->connects++;
    net->piece = 0;
    net->connectLimits.push_back(limitMs);
    *failure = Current(net).failure;
    if (*failure != CONNECT_MADE) {
        net->now += *failure == CONNECT_TIMED_OUT ? limitMs : 1;
        return NO_SOCKET;
    }
    return 7;
}
SockHandle OldConnect(void *, const char *, int) { return NO_SOCKET; }
int Send(void *, SockHandle, const char *) { return 0; }
int NonBlocking(void *, SockHandle, int) { return 0; }
void Close(void *, SockHandle) {}
unsigned Tick(void *c) { return ((Net *)c)->now; }

int Receive(void *c, SockHandle, char *buffer, int size, unsigned limitMs)
{
    Net *net = (Net *)c;
    unsigned end = net->now + limitMs - net->start;
    if (end > PROBE_TOTAL_MS && end - PROBE_TOTAL_MS > net->longestWaitPastTotal)
        net->longestWaitPastTotal = end - PROBE_TOTAL_MS;
    const Hop &h = Current(net);
    if (net->piece < h.pieces.size()) {
        const std::string &p = h.pieces[net->piece++];
        if (net->msPerPiece > limitMs) {   // the piece would come too late
            net->now += limitMs;
            return -1;
        }
        net->now += net->msPerPiece;
        int n = (int)p.size() < size ? (int)p.size() : size;
        memcpy(buffer, p.data(), (size_t)n);
        return n;
    }
    if (!h.timeOut) return 0;
    net->now += limitMs;
    return -1;
}

ProbeOutcome Check(Net &net, const char *url = "http://h/s")
{
    ProbeIo io = {&net, OldConnect, Send, NonBlocking, Receive, Close, Connect, Tick};
    ProbeOutcome o = {-1, -1};
    int live = ProbeChannelAddressVia(&io, url, &o);
    EXPECT_EQ(live, o.reason == PROBE_LIVE);
    return o;
}

Hop Answer(const std::string &bytes) { return Hop{CONNECT_MADE, {bytes}, false}; }

TEST(ProbeReason, EachEndingHasItsReason)
{
    struct Case {
        std::vector<Hop> hops;
        int reason, code;
        const char *name;
    } cases[] = {
        {{Answer("ICY 200 OK\r\nicy-name: x\r\n\r\n")}, PROBE_LIVE, 0, "live"},
        {{Answer("HTTP/1.0 404 Not Found\r\n\r\n")}, PROBE_HTTP_ERROR, 404, "HTTP error 404"},
        {{Answer("HTTP/1.1 301 Moved\r\nLocation: http://x/\r\n\r\n")}, PROBE_HTTP_ERROR, 301, "HTTP error 301"},
        {{Answer("ICY 401 Service Unavailable\r\n\r\n")}, PROBE_HTTP_ERROR, 401, "HTTP error 401"},
        {{Answer("HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n\xff\xfb")}, PROBE_HTTP_NOT_ICY, 200, "HTTP 200, not ICY"},
        {{Answer("HTTP/1.0 200 OK\r\n\r\n[playlist]\r\nNumberOfEntries=0\r\n")}, PROBE_EMPTY_PLAYLIST, 200, "empty playlist"},
        {{Answer("HTTP/1.0 200 OK\r\n\r\n[playlist]\r\nFile1=http://r/")}, PROBE_EMPTY_PLAYLIST, 200, "empty playlist"},
        {{Answer("HTTP/1.0 302 Found\r\n\r\n")}, PROBE_REDIRECT_WITHOUT_LOCATION, 302, "redirect without Location"},
        {{Answer("HTTP/1.0 302 Found\r\nLocation: http://h/s\r\n\r\n")}, PROBE_TOO_MANY_REDIRECTS, 302, "too many redirects"},
        {{Answer("HTTP/1.0 302 Found\r\nLocation: http://n/\r\n\r\n"), Answer("HTTP/1.0 503 Busy\r\n\r\n")}, PROBE_HTTP_ERROR, 503, "HTTP error 503"},
        {{Answer("HTTP/1.0 200 OK\r\n\r\n[playlist]\r\nFile1=http://r/\r\n"), Answer("ICY 200 OK\r\n\r\n")}, PROBE_LIVE, 0, "live"},
        {{Hop{CONNECT_MADE, {}, true}}, PROBE_NO_ANSWER, 0, "no answer"},
        {{Hop{CONNECT_MADE, {"ICY 200 OK\r\n"}, true}}, PROBE_NO_ANSWER, 0, "no answer"},
        {{Hop{CONNECT_NO_HOST, {}, false}}, PROBE_UNKNOWN_HOST, 0, "unknown host"},
        {{Hop{CONNECT_REFUSED, {}, false}}, PROBE_REFUSED, 0, "refused"},
        {{Hop{CONNECT_TIMED_OUT, {}, false}}, PROBE_CONNECT_TIMED_OUT, 0, "connect timed out"},
        {{Hop{CONNECT_FAILED, {}, false}}, PROBE_CONNECT_TIMED_OUT, 0, "connect timed out"},
        {{Hop{CONNECT_LOOKUP_TIMED_OUT, {}, false}}, PROBE_NO_ANSWER, 0, "no answer"},
    };
    for (const Case &c : cases) {
        Net net;
        net.hops = c.hops;
        ProbeOutcome o = Check(net);
        char name[64];
        FormatProbeReason(&o, name, sizeof name);
        EXPECT_EQ(c.reason, o.reason) << c.name;
        if (c.reason == PROBE_HTTP_ERROR) {
            EXPECT_EQ(c.code, o.httpCode) << c.name;
        }
        EXPECT_STREQ(c.name, name);
    }
    Net net;
    net.hops = {Answer("HTTP/1.0 302 Found\r\n\r\n")};
    Check(net);
    EXPECT_EQ(PROBE_MAX_HOPS, net.connects);
}

TEST(ProbeReason, OnlyHttpAddressesAreProbed)
{
    const char *notHttp[] = {"https://h/s", "mms://h/s", "h/s", "", "http:/h"};
    for (const char *url : notHttp) {
        Net net;
        net.hops = {Answer("ICY 200 OK\r\n\r\n")};
        EXPECT_EQ(PROBE_NOT_HTTP, Check(net, url).reason) << url;
        EXPECT_EQ(0, net.connects) << url;
    }
    Net net;
    net.hops = {Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(PROBE_LIVE, Check(net, "HTTP://h/s").reason);
    EXPECT_STREQ("?", ProbeReasonName(PROBE_REASON_COUNT));
}

// A server dripping one header byte every 4 s, a hop chain of slow servers, a connect that never
// ends: each probe ends as not live, no wait reaching past the whole limit.
TEST(ProbeReason, TheWholeProbeEndsWithinItsLimit)
{
    std::string header = "ICY 200 OK\r\nicy-name: a slow server with a long name\r\n\r\n";
    std::vector<std::string> drip;
    for (char ch : header) drip.push_back(std::string(1, ch));
    Net dripping;
    dripping.hops = {Hop{CONNECT_MADE, drip, false}};
    dripping.msPerPiece = 4000;
    EXPECT_EQ(PROBE_NO_ANSWER, Check(dripping).reason);
    EXPECT_LE(dripping.now - dripping.start, (unsigned)PROBE_TOTAL_MS);
    EXPECT_EQ(0u, dripping.longestWaitPastTotal);

    Net slowChain;   // each hop's status line comes after 4.9 s
    slowChain.hops = {Hop{CONNECT_MADE, {"HTTP/1.0 302 Found\r\nLocation: http://n/\r\n\r\n"}, false}};
    slowChain.msPerPiece = 4900;
    EXPECT_EQ(PROBE_NO_ANSWER, Check(slowChain).reason);
    EXPECT_EQ(PROBE_TOTAL_MS / 4900 + 1, slowChain.connects);   // the hops that fit, and the one cut short
    EXPECT_LE(slowChain.now - slowChain.start, (unsigned)PROBE_TOTAL_MS);
    EXPECT_EQ(0u, slowChain.longestWaitPastTotal);
    // Each connect is given what is left of the whole limit.
    EXPECT_EQ((unsigned)PROBE_TOTAL_MS, slowChain.connectLimits[0]);
    EXPECT_EQ((unsigned)PROBE_TOTAL_MS - 4900, slowChain.connectLimits[1]);

    Net blackhole;
    blackhole.hops = {Hop{CONNECT_TIMED_OUT, {}, false}};
    EXPECT_EQ(PROBE_CONNECT_TIMED_OUT, Check(blackhole).reason);
    EXPECT_EQ((unsigned)PROBE_TOTAL_MS, blackhole.now - blackhole.start);
    EXPECT_EQ(1, blackhole.connects);
}

TEST(ConnectTcpWithin, TellsRefusedFromMadeAndUnknownNames)
{
    SockHandle listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_EQ(0, BindUdp(listener, ParseDottedQuad("127.0.0.1"), 0));
    ASSERT_EQ(0, listen(listener, 4));
    struct sockaddr_in local;
    PlatAddrLen length = sizeof local;
    getsockname(listener, (struct sockaddr *)&local, &length);
    int port = ntohs(local.sin_port);
    int failure = -1;
    SockHandle s = ConnectTcpWithin("127.0.0.1", port, 2000, &failure);
    EXPECT_EQ(CONNECT_MADE, failure);
    ASSERT_NE(NO_SOCKET, s);
    CloseSocketIfOpen(s);
    CloseSocketIfOpen(listener);
    EXPECT_EQ(NO_SOCKET, ConnectTcpWithin("127.0.0.1", port, 2000, &failure));
    EXPECT_EQ(CONNECT_REFUSED, failure);
    unsigned address = 0;
    EXPECT_EQ(CONNECT_MADE, ResolveHostWithin("localhost", 5000, &address));
    EXPECT_EQ(ParseDottedQuad("127.0.0.1"), address);
}

}  // namespace
