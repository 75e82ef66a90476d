// radio_replies_test.cpp: setradio-cli reading replies longer than one datagram, over loopback.
#include <gtest/gtest.h>

#include <string>

#include "cli/radio_replies.h"
#include "device/message.h"
#include "native/loopback_sockets.h"

namespace {

// A reader on a loopback socket (the device port is left alone) with a short idle limit, and two
// senders playing radios.
struct ReplyReading : testing::Test {
    ReplyReader r = {};
    SockHandle a = NO_SOCKET, b = NO_SOCKET;
    void SetUp() override
    {
#ifdef _WIN32
        WSADATA data;
        WSAStartup(0x0202, &data);
#endif
        r.socket = LoopbackUdp(true);
        r.datagram = (char *)PlatAlloc(DEVICE_MESSAGE_MAX);
        r.idleLimitMs = 300;
        a = LoopbackUdp(false);
        b = LoopbackUdp(false);
    }
    void TearDown() override
    {
        ClearReassembly(&r.pending);
        PlatFree(r.datagram);
        PlatCloseSocket(r.socket);
        PlatCloseSocket(a);
        PlatCloseSocket(b);
#ifdef _WIN32
        WSACleanup();
#endif
    }
    void Send(SockHandle from, const std::string &bytes)
    {
        SendUdpTo(from, LocalPort(r.socket), bytes.data(), (int)bytes.size());
    }
    // The next reply, waiting at most 3 s for it: text, then the sender's port (0 when none came).
    std::string Read(int *port)
    {
        RadioReply reply;
        reply.address = 0;
        reply.port = 0;
        if (!ReadNextReply(&r, PlatTickCount(), 3000, &reply)) reply.port = 0;
        else EXPECT_EQ(LoopbackAddress(), reply.address);
        *port = reply.port;
        return reply.port ? reply.text : std::string();
    }
};

std::string Nul(const std::string &s) { return s + std::string(1, '\0'); }

TEST_F(ReplyReading, RepliesJoinedPerSenderAndAStaleTextBeforeTheFreshOne)
{
    int port = 0;
    Send(a, "OpCode=IMIN\r\nMacAddr=A");
    Send(b, "OpCode=IMIN\r\nMacAddr=B");
    Send(b, Nul("\r\nFW_Ver=2"));
    Send(a, Nul("\r\nFW_Ver=1"));
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=B\r\nFW_Ver=2", Read(&port));
    EXPECT_EQ(LocalPort(b), port);
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=A\r\nFW_Ver=1", Read(&port));
    EXPECT_EQ(LocalPort(a), port);

    // A's reply stops without its NUL; once it has been silent for the idle limit, A answers anew
    // in one datagram: the old text comes first, then the fresh one, both as A's, although the
    // datagram read just before the fresh one is handed on came from B.
    Send(a, "OpCode=IMIN\r\nMacAddr=old");
    ASSERT_TRUE(PlatWaitReadable(r.socket, 3000)) << "A's first datagram did not arrive";
    RadioReply reply;
    EXPECT_EQ(0, ReadNextReply(&r, PlatTickCount(), 0, &reply)) << "nothing whole yet";
    for (unsigned start = PlatTickCount(); TimeUntilExpiry(&r.pending, PlatTickCount(), r.idleLimitMs) > 0 &&
                                           PlatTickCount() - start < 3000;)
        PlatSleep(10);
    Send(a, Nul("OpCode=IMIN\r\nMacAddr=fresh"));
    ASSERT_TRUE(PlatWaitReadable(r.socket, 3000)) << "A's fresh reply did not arrive";
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=old", Read(&port));
    EXPECT_EQ(LocalPort(a), port);
    Send(b, "OpCode=SETC");
    ASSERT_TRUE(PlatWaitReadable(r.socket, 3000)) << "B's datagram did not arrive";
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=fresh", Read(&port));
    EXPECT_EQ(LocalPort(a), port) << "the fresh text is A's, not the last datagram's sender's";
    EXPECT_EQ(0, ReadNextReply(&r, PlatTickCount(), 0, &reply)) << "B's text is not whole";
}

}  // namespace
