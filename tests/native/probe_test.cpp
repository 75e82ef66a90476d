// probe_test.cpp: the stream probe's response handling, URL splitting and playlist reading over a fake
// network: each connection answers a list of receive pieces, then reports a close or a time-out.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "stream/probe.h"

namespace {

const int kClosed = 0, kTimeOut = -1;

struct FakeConnection {
    std::vector<std::string> pieces;  // one per receive; a piece longer than asked is split
    int end;                          // what receives give after the last piece: kClosed or kTimeOut
};

struct FakeNetwork {
    std::vector<FakeConnection> connections;  // connection i answers hop i; later hops the last one
    bool refuse = false;                      // every connect fails
    // What the probe did.
    std::vector<std::string> hosts;
    std::vector<int> ports;
    std::vector<std::string> requests;
    int open = 0;              // sockets not yet closed
    int largestAsk = 0;        // largest receive size asked for
    int received = 0;          // bytes handed out on the current connection
    int mostReceived = 0;      // largest received over all connections
    bool receivedBeforeNonBlocking = false;
    // Current connection state.
    size_t current = 0;
    size_t piece = 0;
    std::string rest;
    bool nonBlocking = false;
};

SockHandle FakeConnect(void *context, const char *host, int port)
{
    FakeNetwork *net = (FakeNetwork *)context;
    net->hosts.push_back(host);
    net->ports.push_back(port);
    if (net->refuse)
        return NO_SOCKET;
    net->current = net->hosts.size() - 1;
    if (net->current >= net->connections.size())
        net->current = net->connections.size() - 1;
    net->piece = 0;
    net->rest.clear();
    net->received = 0;
    net->nonBlocking = false;
    net->open++;
    return (SockHandle)(100 + net->hosts.size());
}

int FakeSend(void *context, SockHandle, const char *text)
{
    ((FakeNetwork *)context)->requests.push_back(text);
    return 0;
}

int FakeSetNonBlocking(void *context, SockHandle, int mode)
{
    ((FakeNetwork *)context)->nonBlocking = mode != 0;
    return 0;
}

int FakeReceive(void *context, SockHandle, char *buffer, int size, unsigned)
{
    FakeNetwork *net = (FakeNetwork *)context;
    if (!net->nonBlocking)
        net->receivedBeforeNonBlocking = true;
    if (size > net->largestAsk)
        net->largestAsk = size;
    const FakeConnection &c = net->connections[net->current];
    if (net->rest.empty()) {
        if (net->piece >= c.pieces.size())
            return c.end;
        net->rest = c.pieces[net->piece++];
    }
    int n = (int)net->rest.size() < size ? (int)net->rest.size() : size;
    memcpy(buffer, net->rest.data(), (size_t)n);
    net->rest.erase(0, (size_t)n);
    net->received += n;
    if (net->received > net->mostReceived)
        net->mostReceived = net->received;
    return n;
}

void FakeClose(void *context, SockHandle s)
{
    if (s != NO_SOCKET)
        ((FakeNetwork *)context)->open--;
}

int Probe(FakeNetwork &net, const char *url)
{
    ProbeIo io = {&net, FakeConnect, FakeSend, FakeSetNonBlocking, FakeReceive, FakeClose, 0, 0};
    return ProbeStreamVia(&io, url);
}

FakeConnection Answer(const std::string &bytes) { return FakeConnection{{bytes}, kClosed}; }

std::string RequestFor(const std::string &path, const std::string &host)
{
    return "GET /" + path + " HTTP/1.0\r\nHost: " + host +
           "\r\nUser-Agent: WinampMPEG/2.9\r\nAccept: */*\r\nIcy-MetaData:1\r\nConnection: close\r\n\r\n";
}

// ---- SplitUrl

struct SplitCase {
    const char *url;
    const char *host;
    int port;
    const char *path;  // null: no path
};

TEST(SplitUrl, TakesHostPortAndPathApart)
{
    const SplitCase cases[] = {
        {"http://radio.example:8000/live/high", "radio.example", 8000, "live/high"},
        {"radio.example", "radio.example", 80, nullptr},          // no "://", no "/": all host
        {"radio.example/", "radio.example", 80, ""},
        {"xyz://10.1.2.3/a:b", "10.1.2.3", 80, "a:b"},             // scheme never looked at
        {"http://h:0x1F90/p", "h", 8080, "p"},                      // hexadecimal port
        {"http://h:/p", "h", 0, "p"},                               // ":" alone gives port 0
        {"http://h: +81", "h", 81, nullptr},                        // blanks and sign by number rules
        {"http://h:99999/", "h", 99999, ""},                        // only the socket cuts to 16 bits
        {"/x", "", 80, "x"},                                        // Location "/x": empty host
        {"a://b://c/d", "b", 0, "/c/d"},                            // only the first "://" is dropped
    };
    for (const SplitCase &c : cases) {
        char host[260];
        int port = -5;
        const char *path = SplitUrl(c.url, host, sizeof host, &port, 80);
        EXPECT_STREQ(c.host, host) << c.url;
        EXPECT_EQ(c.port, port) << c.url;
        if (c.path)
            EXPECT_STREQ(c.path, path ? path : "(none)") << c.url;
        else
            EXPECT_EQ(nullptr, path) << c.url;
    }
}

TEST(SplitUrl, CutsTheHostToItsSlot)
{
    char slot[12];
    memset(slot, 'Z', sizeof slot);
    int port = 0;
    const char *path = SplitUrl("http://averyveryverylonghostname:81/p", slot, 8, &port, 80);
    EXPECT_STREQ("averyve", slot);
    EXPECT_EQ('Z', slot[8]);     // nothing written behind the given size
    EXPECT_EQ(80, port);         // the ":" was cut away with the rest of the host
    EXPECT_STREQ("p", path);
}

// ---- Requests and status lines

TEST(ProbeStream, SendsTheIcyRequestWithPathAndBareHost)
{
    FakeNetwork net;
    net.connections = {Answer("ICY 200 OK\r\nicy-name: Test\r\nicy-br: 128\r\ncontent-type: audio/mpeg\r\n\r\n\xff\xfb")};
    EXPECT_EQ(1, Probe(net, "http://radio.example:8000/live/high"));
    ASSERT_EQ(1u, net.requests.size());
    EXPECT_EQ(RequestFor("live/high", "radio.example"), net.requests[0]);
    EXPECT_EQ("radio.example", net.hosts[0]);
    EXPECT_EQ(8000, net.ports[0]);
    EXPECT_EQ(0, net.open);
    EXPECT_FALSE(net.receivedBeforeNonBlocking);
    EXPECT_EQ(65535, net.largestAsk);
}

TEST(ProbeStream, UrlWithoutSchemeOrSlashAsksPort80ForTheEmptyPath)
{
    FakeNetwork net;
    net.connections = {Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, "stream.example"));
    EXPECT_EQ(80, net.ports[0]);
    EXPECT_EQ(RequestFor("", "stream.example"), net.requests[0]);
}

TEST(ProbeStream, OnlyTheExactIcyStatusLineIsLive)
{
    const char *notLive[] = {"ICY 200 OK \r\n\r\n", "icy 200 ok\r\n\r\n", " ICY 200 OK\r\n\r\n", "ICY 200 OKAY\r\n\r\n",
                             "ICY 404 Not Found\r\n\r\n", "HTTP/1.0 404 Not Found\r\n\r\n", "\r\n\r\n"};
    for (const char *answer : notLive) {
        FakeNetwork net;
        net.connections = {Answer(answer)};
        EXPECT_EQ(0, Probe(net, "http://h/")) << answer;
        EXPECT_EQ(0, net.open);
    }
}

TEST(ProbeStream, IcyStatusWithoutTheEmptyLineIsNotLive)
{
    FakeNetwork net;
    net.connections = {Answer("ICY 200 OK\r\nicy-name: x\r\n")};  // then closed
    EXPECT_EQ(0, Probe(net, "http://h/"));
    net = FakeNetwork();
    net.connections = {FakeConnection{{"ICY 200 OK\r\n"}, kTimeOut}};
    EXPECT_EQ(0, Probe(net, "http://h/"));
}

TEST(ProbeStream, NothingReceivedFails)
{
    for (int end : {kClosed, kTimeOut}) {
        FakeNetwork net;
        net.connections = {FakeConnection{{}, end}};
        EXPECT_EQ(0, Probe(net, "http://h/"));
        EXPECT_EQ(0, net.open);
    }
}

TEST(ProbeStream, RefusedConnectFailsWithoutSending)
{
    FakeNetwork net;
    net.connections = {Answer("ICY 200 OK\r\n\r\n")};
    net.refuse = true;
    EXPECT_EQ(0, Probe(net, "http://h/"));
    EXPECT_TRUE(net.requests.empty());
    EXPECT_EQ(0, net.open);
}

TEST(ProbeStream, StatusLineIsTakenFromTheFirstReceiveAlone)
{
    FakeNetwork net;
    net.connections = {FakeConnection{{"ICY 200", " OK\r\n\r\n"}, kClosed}};
    EXPECT_EQ(0, Probe(net, "http://h/"));   // " OK" is read as a header line

    // The code comes from what the first receive holds: "HTTP/1.0 302" redirects...
    net = FakeNetwork();
    net.connections = {FakeConnection{{"HTTP/1.0 302", " Found\r\nLocation: http://next/\r\n\r\n"}, kClosed},
                       Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, "http://h/"));
    ASSERT_EQ(2u, net.hosts.size());
    EXPECT_EQ("next", net.hosts[1]);

    // ...while "HTTP/1.0 30" reads as code 30.
    net = FakeNetwork();
    net.connections = {FakeConnection{{"HTTP/1.0 30", "2 Found\r\nLocation: http://next/\r\n\r\n"}, kClosed},
                       Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(0, Probe(net, "http://h/"));
    EXPECT_EQ(1u, net.hosts.size());
}

TEST(ProbeStream, HeaderLineSplitAcrossReceivesIsReadWhole)
{
    FakeNetwork net;
    net.connections = {FakeConnection{{"HTTP/1.1 302 Found\r\nLoca", "tion: http://second:", "81/p/q\r", "\n\r\n"}, kClosed},
                       Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, "http://first/"));
    ASSERT_EQ(2u, net.requests.size());
    EXPECT_EQ("second", net.hosts[1]);
    EXPECT_EQ(81, net.ports[1]);
    EXPECT_EQ(RequestFor("p/q", "second"), net.requests[1]);
    EXPECT_EQ(0, net.open);
}

// ---- Redirects

TEST(ProbeStream, OnlyCode302IsFollowed)
{
    for (const char *status : {"HTTP/1.0 301 Moved", "HTTP/1.1 303 See Other", "HTTP/1.1 307 Temporary", "HTTP/1.0 302x"}) {
        FakeNetwork net;
        net.connections = {Answer(std::string(status) + "\r\nLocation: http://next/\r\n\r\n"), Answer("ICY 200 OK\r\n\r\n")};
        int live = Probe(net, "http://h/");
        if (std::string(status) == "HTTP/1.0 302x") {   // the number at the token's start counts
            EXPECT_EQ(1, live);
        } else {
            EXPECT_EQ(0, live) << status;
            EXPECT_EQ(1u, net.hosts.size()) << status;
        }
    }
}

TEST(ProbeStream, LocationNameMustMatchExactly)
{
    for (const char *header : {"location: http://other/", "LOCATION: http://other/", "Location : http://other/",
                               " Location: http://other/", "Locationx: http://other/"}) {
        FakeNetwork net;
        net.connections = {Answer(std::string("HTTP/1.0 302 Found\r\n") + header + "\r\n\r\n"),
                           Answer("ICY 200 OK\r\n\r\n")};
        EXPECT_EQ(1, Probe(net, "http://same:7000/s"));
        ASSERT_EQ(2u, net.hosts.size()) << header;
        EXPECT_EQ("same", net.hosts[1]) << header;     // the same URL again
        EXPECT_EQ(7000, net.ports[1]) << header;
        EXPECT_EQ(net.requests[0], net.requests[1]) << header;
    }
}

TEST(ProbeStream, LastLocationWinsAndBlanksAfterTheColonAreSkipped)
{
    FakeNetwork net;
    net.connections = {Answer("HTTP/1.0 302 Found\r\nLocation: http://first/\r\nNo colon here\r\n"
                              "Location:\t  http://last:82/x\r\n\r\n"),
                       Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, "http://h/"));
    ASSERT_EQ(2u, net.hosts.size());
    EXPECT_EQ("last", net.hosts[1]);
    EXPECT_EQ(82, net.ports[1]);
}

TEST(ProbeStream, LongLocationIsCutTo79Characters)
{
    std::string location = "http://next.example/" + std::string(80, 'p');   // 100 characters
    FakeNetwork net;
    net.connections = {Answer("HTTP/1.0 302 Found\r\nLocation: " + location + "\r\n\r\n"), Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, "http://h/"));
    ASSERT_EQ(2u, net.requests.size());
    EXPECT_EQ(RequestFor(std::string(79 - 20, 'p'), "next.example"), net.requests[1]);

    // 1000 characters: the same cut, nothing written past the slot.
    net = FakeNetwork();
    net.connections = {Answer("HTTP/1.0 302 Found\r\nLocation: http://n/" + std::string(991, 'q') + "\r\n\r\n"),
                       Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, "http://h/"));
    EXPECT_EQ(RequestFor(std::string(79 - 9, 'q'), "n"), net.requests[1]);
}

TEST(ProbeStream, LocationWithoutHostGivesAnEmptyHost)
{
    FakeNetwork net;
    net.connections = {Answer("HTTP/1.0 302 Found\r\nLocation: /x\r\n\r\n"), FakeConnection{{}, kClosed}};
    EXPECT_EQ(0, Probe(net, "http://h:8000/"));
    ASSERT_EQ(2u, net.hosts.size());
    EXPECT_EQ("", net.hosts[1]);
    EXPECT_EQ(80, net.ports[1]);
    EXPECT_EQ(RequestFor("x", ""), net.requests[1]);
}

TEST(ProbeStream, EndlessRedirectsEndAfterTheHopLimit)
{
    FakeNetwork net;
    net.connections = {Answer("HTTP/1.0 302 Found\r\n\r\n")};   // no Location: the same URL every time
    EXPECT_EQ(0, Probe(net, "http://loop/"));
    EXPECT_EQ((size_t)PROBE_MAX_HOPS, net.hosts.size());
    EXPECT_EQ(0, net.open);

    // One hop short of the limit still reaches a live server.
    net = FakeNetwork();
    net.connections = std::vector<FakeConnection>(PROBE_MAX_HOPS - 1, Answer("HTTP/1.0 302 Found\r\n\r\n"));
    net.connections.push_back(Answer("ICY 200 OK\r\n\r\n"));
    EXPECT_EQ(1, Probe(net, "http://loop/"));
}

// ---- Hostile answers

TEST(ProbeStream, OverlongLinesAreCutAndPassedOver)
{
    FakeNetwork net;   // a status line of 10,000 bytes beginning like the live one
    net.connections = {Answer("ICY 200 OK" + std::string(9990, 'x') + "\r\n\r\n")};
    EXPECT_EQ(0, Probe(net, "http://h/"));

    net = FakeNetwork();   // a header line of 5,000 bytes between good ones
    net.connections = {Answer("ICY 200 OK\r\nX-Long: " + std::string(5000, 'y') + "\r\nicy-name: a\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, "http://h/"));

    net = FakeNetwork();   // a 302 status line of 10,000 bytes still redirects
    net.connections = {Answer("HTTP/1.0 302 " + std::string(10000, 'F') + "\r\nLocation: http://b/\r\n\r\n"),
                       Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, "http://h/"));
}

TEST(ProbeStream, HeadersWithoutLineEndFailWhenTheAreaIsFull)
{
    FakeNetwork net;
    std::string noLf = "HTTP/1.0 302 Found\r\n" + std::string(70000, 'h');
    net.connections = {FakeConnection{{noLf.substr(0, 1000), noLf.substr(1000)}, kTimeOut}};
    EXPECT_EQ(0, Probe(net, "http://h/"));
    EXPECT_EQ(65535, net.mostReceived);
    EXPECT_EQ(1u, net.hosts.size());
    EXPECT_EQ(0, net.open);
}

TEST(ProbeStream, UrlsUpTo259CharactersAreHandledAndLongerOnesCut)
{
    std::string url = "http://h/" + std::string(250, 'u');   // 259 characters
    FakeNetwork net;
    net.connections = {Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, url.c_str()));
    EXPECT_EQ(RequestFor(std::string(250, 'u'), "h"), net.requests[0]);

    net = FakeNetwork();
    net.connections = {Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, (url + std::string(500, 'v')).c_str()));
    EXPECT_EQ(RequestFor(std::string(250, 'u'), "h"), net.requests[0]);

    net = FakeNetwork();   // a host of 300 characters fills the slot without passing it
    net.connections = {Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, std::string(300, 'n').c_str()));
    EXPECT_EQ(std::string(259, 'n'), net.hosts[0]);
}

// ---- Playlists

TEST(ProbeStream, PlaylistEntryLeadsToTheNextHopWithEmptyPath)
{
    FakeNetwork net;
    net.connections = {Answer("HTTP/1.1 200 OK\r\nContent-Type: audio/x-scpls\r\n\r\n"
                              "[playlist]\r\nNumberOfEntries=2\r\nFile1=http://relay.example:8002\r\nFile2=http://x/\r\n"),
                       Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, "http://h/list.pls"));
    ASSERT_EQ(2u, net.requests.size());
    EXPECT_EQ("relay.example", net.hosts[1]);
    EXPECT_EQ(8002, net.ports[1]);
    EXPECT_EQ(RequestFor("", "relay.example"), net.requests[1]);
    EXPECT_EQ(0, net.open);
}

TEST(ProbeStream, PlaylistArrivingInPiecesIsJoined)
{
    FakeNetwork net;
    net.connections = {FakeConnection{{"HTTP/1.0 200 OK\r\n\r\n[play", "list]\nFile1=http://r/", "s\n"}, kTimeOut},
                       Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(1, Probe(net, "http://h/"));
    EXPECT_EQ(RequestFor("s", "r"), net.requests[1]);
}

TEST(ProbeStream, PlaylistEntryWithoutLineEndFails)
{
    FakeNetwork net;
    net.connections = {Answer("HTTP/1.0 200 OK\r\n\r\n[playlist]\r\nFile1=http://r/s"), Answer("ICY 200 OK\r\n\r\n")};
    EXPECT_EQ(0, Probe(net, "http://h/"));
    EXPECT_EQ(1u, net.hosts.size());
}

TEST(ProbeStream, EndlessDataAfter200FailsAtTheFullArea)
{
    FakeNetwork net;
    std::string audio(100000, '\x55');
    net.connections = {FakeConnection{{"HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n", audio}, kTimeOut}};
    EXPECT_EQ(0, Probe(net, "http://h/"));
    EXPECT_EQ(65535, net.mostReceived);
    EXPECT_EQ(0, net.open);
}

// ---- ReadPlaylistEntry on its own

int ReadEntry(FakeNetwork &net, char *area, int *dataBytes, int capacity)
{
    ProbeIo io = {&net, FakeConnect, FakeSend, FakeSetNonBlocking, FakeReceive, FakeClose, 0, 0};
    FakeConnect(&net, "h", 80);
    FakeSetNonBlocking(&net, 0, 1);
    return ReadPlaylistEntryVia(&io, 1, area, dataBytes, capacity);
}

TEST(ReadPlaylistEntry, CopiesTheEntryToTheStartWithItsBlanks)
{
    FakeNetwork net;
    net.connections = {FakeConnection{{}, kClosed}};
    char area[128];
    const char *text = "[playlist]\r\nFile1= http://a/b \r\nFile2=x\r\n";
    strcpy(area, text);
    int bytes = (int)strlen(text);
    EXPECT_EQ(PLAYLIST_FOUND, ReadEntry(net, area, &bytes, sizeof area));
    EXPECT_STREQ(" http://a/b ", area);
}

TEST(ReadPlaylistEntry, NeedsPlaylistBeforeFile1)
{
    FakeNetwork net;
    net.connections = {FakeConnection{{}, kClosed}};
    char area[128];
    const char *text = "File1=http://early/\r\n[playlist]\r\nFile1=http://late/\r\n";
    strcpy(area, text);
    int bytes = (int)strlen(text);
    EXPECT_EQ(PLAYLIST_FOUND, ReadEntry(net, area, &bytes, sizeof area));
    EXPECT_STREQ("http://late/", area);

    strcpy(area, "File1=http://a/\r\n");   // no "[playlist]" at all: more data is asked for
    bytes = (int)strlen(area);
    EXPECT_EQ(PLAYLIST_NO_MORE_DATA, ReadEntry(net, area, &bytes, sizeof area));
}

TEST(ReadPlaylistEntry, StopsWhenTheAreaIsFullWithoutWritingPastIt)
{
    FakeNetwork net;
    net.connections = {FakeConnection{{"[playlist]\r\nFile1=" + std::string(200, 'e')}, kTimeOut}};
    char area[80];
    memset(area, 'Z', sizeof area);
    area[0] = 0;
    int bytes = 0;
    EXPECT_EQ(PLAYLIST_BUFFER_FULL, ReadEntry(net, area, &bytes, 64));
    EXPECT_EQ(63, bytes);
    EXPECT_EQ(0, area[63]);
    EXPECT_EQ('Z', area[64]);
    EXPECT_EQ(63, net.mostReceived);
}

}  // namespace
