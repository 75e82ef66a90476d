// probe_server_test.cpp: the stream probe against scripted loopback servers (real sockets, Linux).
#ifndef _WIN32
#include <gtest/gtest.h>
#include <chrono>
#include <string>
#include "stream/probe.h"
#include "stream_server.h"

namespace {

const char *kLive = "ICY 200 OK\r\nicy-notice1: test\r\nicy-name: Loopback\r\nicy-metaint: 8192\r\n\r\n";

// A server that stops itself at the end of the test.
struct Server {
    StreamServer *s;
    explicit Server(const std::vector<ServerScript> &scripts) : s(StartStreamServer(scripts)) {}
    explicit Server(const ServerScript &script) : s(StartStreamServer(script)) {}
    ~Server() { StopStreamServer(s); }
    int Port() const { return ServerPort(s); }
    std::string Url(const std::string &path) const { return LoopbackUrl(Port(), path); }
    std::vector<std::string> Requests() const { return ServerRequests(s); }
};

// The server was asked exactly once, for the path: the probe's answer came from speaking to it.
void ExpectOneRequest(const Server &server, const std::string &path)
{
    auto requests = server.Requests();
    ASSERT_EQ(1u, requests.size()) << "the server saw no request, or more than one";
    EXPECT_EQ("GET /" + path + " HTTP/1.0", RequestLine(requests[0]));
}

int Probe(const std::string &url) { return ProbeStream(url.c_str()); }

long ElapsedMs(std::chrono::steady_clock::time_point since)
{
    return (long)std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count();
}

TEST(ProbeServer, LiveServerWithExtraHeaders)
{
    Server live(AnswerScript(kLive));
    ASSERT_TRUE(live.s);
    EXPECT_EQ(1, Probe(live.Url("stream/128")));
    auto requests = live.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("GET /stream/128 HTTP/1.0\r\nHost: 127.0.0.1\r\nUser-Agent: WinampMPEG/2.9\r\nAccept: */*\r\n"
              "Icy-MetaData:1\r\nConnection: close\r\n\r\n",
              requests[0]);
}

TEST(ProbeServer, LiveServerThatKeepsStreaming)
{
    Server live(ServerScript{SendStep(kLive), EndlessStep("")});
    EXPECT_EQ(1, Probe(live.Url("")));
    ExpectOneRequest(live, "");
}

TEST(ProbeServer, HeadersTrickledOneByteAtATime)
{
    // Header lines are joined over many receives (the status line came whole in the first).
    Server headers(ServerScript{SendStep("ICY 200 OK\r\n"), PauseStep(50), TrickleStep("icy-name: Slow\r\nicy-br: 128\r\n\r\n", 2)});
    EXPECT_EQ(1, Probe(headers.Url("trickle")));
    ExpectOneRequest(headers, "trickle");
}

TEST(ProbeServer, NearlyIcyStatusIsNotLive)
{
    Server blank(AnswerScript("ICY 200 OK \r\n\r\n"));
    Server lower(AnswerScript("icy 200 ok\r\n\r\n"));
    EXPECT_EQ(0, Probe(blank.Url("blank")));
    EXPECT_EQ(0, Probe(lower.Url("lower")));
    ExpectOneRequest(blank, "blank");
    ExpectOneRequest(lower, "lower");
}

TEST(ProbeServer, RedirectToAnotherPortAndPath)
{
    Server target(AnswerScript(kLive));
    Server start(AnswerScript("HTTP/1.0 302 Found\r\nServer: test\r\nLocation: http://localhost:" +
                              std::to_string(target.Port()) + "/deep/path.mp3?x=1\r\nContent-Length: 0\r\n\r\n"));
    EXPECT_EQ(1, Probe(start.Url("first")));
    ASSERT_EQ(1u, start.Requests().size());
    auto second = target.Requests();
    ASSERT_EQ(1u, second.size());
    EXPECT_EQ("GET /deep/path.mp3?x=1 HTTP/1.0", RequestLine(second[0]));
    EXPECT_EQ("localhost", RequestHost(second[0]));
}

TEST(ProbeServer, MovedPermanentlyIsNotFollowed)
{
    Server target(AnswerScript(kLive));
    for (const char *code : {"301 Moved Permanently", "303 See Other", "307 Temporary Redirect"}) {
        Server start(AnswerScript(std::string("HTTP/1.1 ") + code + "\r\nLocation: " + target.Url("x") + "\r\n\r\n"));
        EXPECT_EQ(0, Probe(start.Url("moved"))) << code;
        ExpectOneRequest(start, "moved");
    }
    EXPECT_TRUE(target.Requests().empty());
}

TEST(ProbeServer, HexadecimalPort)
{
    Server live(AnswerScript(kLive));
    char url[64];
    snprintf(url, sizeof url, "127.0.0.1:0x%x/hex", live.Port());
    EXPECT_EQ(1, ProbeStream(url));
    ASSERT_EQ(1u, live.Requests().size());
    EXPECT_EQ("GET /hex HTTP/1.0", RequestLine(live.Requests()[0]));
}

TEST(ProbeServer, PlaylistHopAsksForTheEmptyPath)
{
    Server target(AnswerScript(kLive));
    Server list(AnswerScript("HTTP/1.0 200 OK\r\nContent-Type: audio/x-scpls\r\n\r\n[playlist]\r\nNumberOfEntries=1\r\n"
                             "File1=http://127.0.0.1:" + std::to_string(target.Port()) + "\r\nTitle1=Test\r\nLength1=-1\r\n"));
    EXPECT_EQ(1, Probe(list.Url("list.pls")));
    ASSERT_EQ(1u, target.Requests().size());
    EXPECT_EQ("GET / HTTP/1.0", RequestLine(target.Requests()[0]));
    EXPECT_EQ("127.0.0.1", RequestHost(target.Requests()[0]));
}

TEST(ProbeServer, StatusAndHeaderLinesSplitAcrossReceives)
{
    Server split(ServerScript{SendStep("ICY 200"), PauseStep(150), SendStep(" OK\r\n\r\n")});
    EXPECT_EQ(0, Probe(split.Url("")));   // only "ICY 200" is the status line
    ExpectOneRequest(split, "");

    Server target(AnswerScript(kLive));
    std::string answer = "HTTP/1.0 302 Found\r\nLocation: " + target.Url("joined") + "\r\n\r\n";
    Server pieces(ServerScript{SendStep(answer.substr(0, 26)), PauseStep(100), SendStep(answer.substr(26, 10)),
                               PauseStep(100), SendStep(answer.substr(36))});
    EXPECT_EQ(1, Probe(pieces.Url("")));
    ASSERT_EQ(1u, target.Requests().size());
    EXPECT_EQ("GET /joined HTTP/1.0", RequestLine(target.Requests()[0]));
}

// ---- Hostile servers: each ends within its limits.

TEST(ProbeServer, HugeStatusAndHeaderLines)
{
    Server status(AnswerScript("ICY 200 OK" + std::string(9990, 'S') + "\r\n\r\n"));
    EXPECT_EQ(0, Probe(status.Url("")));
    ExpectOneRequest(status, "");
    Server header(AnswerScript("ICY 200 OK\r\nX-Junk: " + std::string(5000, 'H') + "\r\n\r\n"));
    EXPECT_EQ(1, Probe(header.Url("")));
}

TEST(ProbeServer, HeadersWithoutLineEndFillTheArea)
{
    Server flood(ServerScript{SendStep("HTTP/1.0 302 Found\r\n" + std::string(70000, 'h')), SilenceStep(10000)});
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0, Probe(flood.Url("")));
    EXPECT_LT(ElapsedMs(start), 4000);   // ends at the full area, not by waiting out a limit
    ExpectOneRequest(flood, "");
}

TEST(ProbeServer, RedirectToItselfEndsAfterTheHopLimit)
{
    Server self(AnswerScript("HTTP/1.0 302 Found\r\n\r\n"));   // no Location: the same URL again
    EXPECT_EQ(0, Probe(self.Url("again")));
    auto requests = self.Requests();
    EXPECT_EQ((size_t)PROBE_MAX_HOPS, requests.size());
    for (const std::string &r : requests)
        EXPECT_EQ("GET /again HTTP/1.0", RequestLine(r));
}

TEST(ProbeServer, LongLocationIsCutBeforeTheNextHop)
{
    Server target(AnswerScript(kLive));
    std::string prefix = target.Url("");
    Server start(AnswerScript("HTTP/1.0 302 Found\r\nLocation: " + prefix + std::string(1000 - prefix.size(), 'L') + "\r\n\r\n"));
    EXPECT_EQ(1, Probe(start.Url("")));
    ASSERT_EQ(1u, target.Requests().size());
    EXPECT_EQ("GET /" + std::string(79 - prefix.size(), 'L') + " HTTP/1.0", RequestLine(target.Requests()[0]));
}

TEST(ProbeServer, SlowServerWithinTheReceiveLimit)
{
    // The last byte comes 4 s after the rest: each receive has 5 s of its own.
    Server trickle(ServerScript{SendStep("ICY 200 OK\r\n\r"), PauseStep(4000), SendStep("\n")});
    EXPECT_EQ(1, Probe(trickle.Url("")));
}

TEST(ProbeServer, SilentServerFailsAfterTheReceiveLimit)
{
    Server silent(ServerScript{SendStep("ICY 200 OK\r\n"), SilenceStep(8000)});
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0, Probe(silent.Url("")));
    EXPECT_GE(ElapsedMs(start), 4900);
    ExpectOneRequest(silent, "");
}

TEST(ProbeServer, PlaylistEntryWithoutLineEnd)
{
    Server target(AnswerScript(kLive));
    std::string list = "HTTP/1.0 200 OK\r\n\r\n[playlist]\r\nFile1=" + target.Url("");
    Server closing(AnswerScript(list));
    EXPECT_EQ(0, Probe(closing.Url("")));
    ExpectOneRequest(closing, "");

    Server silent(ServerScript{SendStep(list), SilenceStep(8000)});
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(0, Probe(silent.Url("")));
    long waited = ElapsedMs(start);
    EXPECT_GE(waited, 2900);   // playlist data has its own, shorter limit
    EXPECT_LT(waited, 4900);
    ExpectOneRequest(silent, "");
    EXPECT_TRUE(target.Requests().empty());
}

TEST(ProbeServer, EndlessDataAfter200)
{
    Server audio(ServerScript{SendStep("HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n"), EndlessStep("")});
    EXPECT_EQ(0, Probe(audio.Url("audio")));
    ExpectOneRequest(audio, "audio");
}

TEST(ProbeServer, RefusedConnectionFails)
{
    // A bound socket that does not listen: the connect is refused.
    int bound = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(0, bind(bound, (sockaddr *)&address, sizeof address));
    ASSERT_EQ(0, getsockname(bound, (sockaddr *)&address, &length));
    EXPECT_EQ(0, Probe(LoopbackUrl(ntohs(address.sin_port), "")));
    close(bound);
}

}  // namespace
#endif
