// link_test.cpp: the DeviceLink on loopback sockets: slicing of sends, collecting replies per sender.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "common/socket.h"
#include "device/link.h"
#include "device/message.h"
#include "loopback_sockets.h"

namespace {

// Sends go to a loopback receiver instead of the broadcast address.
struct LinkSend : testing::Test {
    SockHandle sender = NO_SOCKET, receiver = NO_SOCKET;
    void SetUp() override
    {
        sender = LoopbackUdp(true);
        receiver = LoopbackUdp(true);
        SetDeviceLinkDestination(LoopbackAddress(), LocalPort(receiver));
    }
    void TearDown() override
    {
        SetDeviceLinkDestination(0xFFFFFFFFu, 0);
        PlatCloseSocket(sender);
        PlatCloseSocket(receiver);
    }
    std::vector<std::string> Received()
    {
        std::vector<std::string> got;
        std::vector<char> buf(70000);
        while (PlatWaitReadable(receiver, 200)) {
            int n = (int)recv(receiver, buf.data(), (int)buf.size(), 0);
            if (n < 0) break;
            got.push_back(std::string(buf.data(), (size_t)n));
        }
        return got;
    }
};

std::string Text(size_t length)
{
    std::string t;
    for (size_t i = 0; i < length; i++) t += (char)('0' + i % 10);
    return t;
}

TEST_F(LinkSend, FindIsOneDatagramOfTwelveBytes)
{
    SendDeviceMessage(sender, FIND_MESSAGE, DEVICE_WAIT_MS);
    std::vector<std::string> got = Received();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(std::string("OpCode=FIND\0", 12), got[0]);
}

TEST_F(LinkSend, SlicesAreAtMost1472BytesWithTheNulInTheLast)
{
    struct { size_t length; std::vector<size_t> slices; } cases[] = {
        {3000, {1472, 1472, 57}},
        {1471, {1472}},
        {1472, {1472, 1}},
        {0, {1}},
    };
    for (const auto &c : cases) {
        std::string text = Text(c.length);
        SendDeviceMessage(sender, text.c_str(), DEVICE_WAIT_MS);
        std::vector<std::string> got = Received();
        ASSERT_EQ(c.slices.size(), got.size()) << "text of " << c.length;
        std::string joined;
        for (size_t i = 0; i < got.size(); i++) {
            EXPECT_EQ(c.slices[i], got[i].size()) << "slice " << i << " of text " << c.length;
            joined += got[i];
        }
        EXPECT_EQ(text + std::string(1, '\0'), joined);
    }
}

TEST_F(LinkSend, DatagramGoesToTheAskedPortWhenNoPortIsSet)
{
    SetDeviceLinkDestination(LoopbackAddress(), 0);
    EXPECT_EQ(3, SendDatagram(sender, "abc", 3, LocalPort(receiver), 0));
    std::vector<std::string> got = Received();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ("abc", got[0]);
}

TEST_F(LinkSend, SendThatKeepsFailingGivesUpAfterTheLimit)
{
    unsigned start = PlatTickCount();
    SendDeviceMessage(NO_SOCKET, "OpCode=FIND", 200);
    unsigned elapsed = PlatTickCount() - start;
    EXPECT_GE(elapsed, 190u);
    EXPECT_LT(elapsed, 2000u);
}

// The PC's networks for the destination list: 255.255.255.255, 192.0.2.255, 198.51.255.255.
int TwoNetworks(HostInterface *list, int room)
{
    const HostInterface pc[2] = {{htonl(0xC0000207u), htonl(0xFFFFFF00u), 0}, {htonl(0xC6336407u), htonl(0xFFFF0000u), 0}};
    int n = room < 2 ? room : 2;
    for (int i = 0; i < n; i++) list[i] = pc[i];
    return n;
}
const unsigned kLimited = 0xFFFFFFFFu, kFirstNet = htonl(0xC00002FFu), kSecondNet = htonl(0xC633FFFFu);

// Each datagram the link tries to send, answered from a script instead of the platform: nothing
// reaches the network.
struct Try {
    unsigned address;
    std::string bytes;
    bool taken;
};
std::vector<Try> g_tries;
unsigned g_noRoute = 0;       // this destination has no route
unsigned g_blocked = 0;       // and this one would block,
int g_blockedTries = 0;       // for this many tries (-1: always)

int ScriptedSender(SockHandle, unsigned address, const char *data, int length, int *error)
{
    bool blocked = address == g_blocked && g_blockedTries != 0;
    g_tries.push_back(Try{address, std::string(data, (size_t)length), address != g_noRoute && !blocked});
    if (address == g_noRoute) {
        *error = PLAT_NETUNREACH;
        return -1;
    }
    if (blocked) {
        if (g_blockedTries > 0) g_blockedTries--;
        *error = PLAT_WOULDBLOCK;
        return -1;
    }
    return length;
}

struct LinkSendPaths : testing::Test {
    void SetUp() override
    {
        g_tries.clear();
        g_noRoute = kLimited;   // a PC without a default route
        g_blocked = kFirstNet;
        SetDeviceLinkInterfaces(TwoNetworks);
        SetDeviceLinkSender(ScriptedSender);
    }
    void TearDown() override
    {
        g_blockedTries = 0;
        while (ContinueDeviceSends()) {}   // nothing may stay queued for later tests
        SetDeviceLinkSender(0);
        SetDeviceLinkInterfaces(0);
    }
    // The addresses tried, in order, with the bytes each destination took.
    std::vector<unsigned> Addresses() const
    {
        std::vector<unsigned> out;
        for (const Try &t : g_tries) out.push_back(t.address);
        return out;
    }
    std::string Taken(unsigned address) const
    {
        std::string all;
        for (const Try &t : g_tries)
            if (t.address == address && t.taken) all += t.bytes;
        return all;
    }
};

// The window's path: nothing waits in place. A destination without a route is tried once; a slice
// that would block waits for the next turn, and a message queued meanwhile goes after the first.
TEST_F(LinkSendPaths, WindowNeverWaitsAndKeepsMessagesWholeAndInOrder)
{
    g_blockedTries = 3;
    std::string text = Text(3000);
    const SockHandle s = (SockHandle)7;
    EXPECT_EQ(1, QueueDeviceMessage(s, text.c_str(), DEVICE_WAIT_MS)) << "a slice waits";
    EXPECT_EQ(std::vector<unsigned>({kLimited, kFirstNet}), Addresses());
    EXPECT_EQ(1, QueueDeviceMessage(s, FIND_MESSAGE, DEVICE_WAIT_MS));
    EXPECT_EQ(std::vector<unsigned>({kLimited, kFirstNet, kFirstNet}), Addresses())
        << "the first message is tried again; the second waits behind it";
    EXPECT_EQ(1, ContinueDeviceSends());
    EXPECT_EQ(0, ContinueDeviceSends());
    std::vector<unsigned> order = {kLimited, kFirstNet, kFirstNet, kFirstNet, kFirstNet, kFirstNet, kFirstNet,
                                   kSecondNet, kSecondNet, kSecondNet, kLimited, kFirstNet, kSecondNet};
    EXPECT_EQ(order, Addresses());
    std::string whole = text + std::string(1, '\0');
    std::string find(FIND_MESSAGE, sizeof FIND_MESSAGE);
    EXPECT_EQ(whole + find, Taken(kFirstNet)) << "the blocked slice went again, and nothing twice";
    EXPECT_EQ(whole + find, Taken(kSecondNet));
}

// The in-place path (setradio-cli): no retries toward a destination without a route; one that
// takes nothing is given up after the limit without progress, and the next still gets the message.
TEST_F(LinkSendPaths, InPlaceSendPassesOverNoRouteAndGivesUpAfterTheLimit)
{
    g_blockedTries = -1;
    unsigned start = PlatTickCount();
    SendDeviceMessage((SockHandle)7, FIND_MESSAGE, 200);
    unsigned elapsed = PlatTickCount() - start;
    EXPECT_GE(elapsed, 190u);
    EXPECT_LT(elapsed, 2000u);
    std::vector<unsigned> tried = Addresses();
    ASSERT_GE(tried.size(), 4u);
    EXPECT_EQ(kLimited, tried[0]);
    EXPECT_EQ(1, (int)std::count(tried.begin(), tried.end(), kLimited)) << "no route: tried once";
    EXPECT_EQ(kSecondNet, tried.back());
    EXPECT_EQ(std::string(FIND_MESSAGE, sizeof FIND_MESSAGE), g_tries.back().bytes);
}

// A receiving socket like the DeviceLink (non-blocking) and two senders on loopback.
struct LinkReceive : testing::Test {
    SockHandle link = NO_SOCKET, first = NO_SOCKET, second = NO_SOCKET;
    int port = 0;
    void SetUp() override
    {
        link = LoopbackUdp(true);
        first = LoopbackUdp(false);
        second = LoopbackUdp(false);
        port = LocalPort(link);
    }
    void TearDown() override
    {
        while (char *m = TakeExpiredDeviceMessage(link, 0)) PlatFree(m);   // texts kept for this socket
        PlatCloseSocket(link);
        PlatCloseSocket(first);
        PlatCloseSocket(second);
    }
    void Send(SockHandle from, const std::string &bytes) { SendUdpTo(from, port, bytes.data(), (int)bytes.size()); }
    // One call; the text ("" for null), whether a block came, and the milliseconds it took.
    std::string Receive(unsigned idle, bool *got = nullptr, unsigned *ms = nullptr)
    {
        unsigned start = PlatTickCount();
        char *m = ReceiveDeviceMessage(link, idle);
        if (ms) *ms = PlatTickCount() - start;
        if (got) *got = m != nullptr;
        std::string text = m ? std::string(m) : std::string();
        PlatFree(m);
        return text;
    }
    // Calls again until a message comes (at most 3 s): datagrams may still be on their way,
    // which under Wine on a busy machine takes longer than a short sleep. *ms is the last call's time.
    std::string Await(unsigned idle, bool *got = nullptr, unsigned *ms = nullptr)
    {
        bool came = false;
        std::string text;
        unsigned start = PlatTickCount();
        do {
            text = Receive(idle, &came, ms);
            if (!came) PlatSleep(5);
        } while (!came && PlatTickCount() - start < 3000);
        if (got) *got = came;
        return text;
    }
};

std::string Nul(const std::string &s) { return s + std::string(1, '\0'); }

TEST_F(LinkReceive, StrayNotificationReturnsNullAtOnce)
{
    bool got = true;
    unsigned ms = 0;
    Receive(DEVICE_WAIT_MS, &got, &ms);
    EXPECT_FALSE(got);
    EXPECT_LT(ms, 500u);
}

TEST_F(LinkReceive, TwoWaitingRepliesAreTwoMessagesThenNothing)
{
    Send(first, Nul("OpCode=IMIN\r\nMacAddr=1"));
    Send(second, Nul("OpCode=SETC"));
    PlatSleep(20);
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=1", Await(DEVICE_WAIT_MS));
    EXPECT_EQ("OpCode=SETC", Await(DEVICE_WAIT_MS));
    bool got = true;
    unsigned ms = 0;
    Receive(DEVICE_WAIT_MS, &got, &ms);
    EXPECT_FALSE(got);
    EXPECT_LT(ms, 500u);
}

TEST_F(LinkReceive, InterleavedRepliesAreJoinedPerSender)
{
    Send(first, "OpCode=IMIN\r\nMacAddr=first");
    Send(second, "OpCode=IMIN\r\nMacAddr=second");
    Send(first, Nul("\r\nFW_Ver=1"));
    Send(second, Nul("\r\nFW_Ver=2"));
    PlatSleep(20);
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=first\r\nFW_Ver=1", Await(DEVICE_WAIT_MS));
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=second\r\nFW_Ver=2", Await(DEVICE_WAIT_MS));
}

TEST_F(LinkReceive, StartedTextIsKeptUntilItsContinuationWithoutWaiting)
{
    Send(first, "OpCode=IMIN\r\n");
    ASSERT_TRUE(PlatWaitReadable(link, 3000)) << "the datagram did not arrive";
    bool got = true;
    Receive(DEVICE_WAIT_MS, &got);
    // A call that waited for a continuation would have handed the text on after the idle limit.
    EXPECT_FALSE(got) << "nothing complete yet, and the call did not wait";
    EXPECT_EQ(1, PendingDeviceTextCount(link));
    Send(first, Nul("MacAddr=late"));
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=late", Await(DEVICE_WAIT_MS, &got));
    EXPECT_TRUE(got);
    EXPECT_EQ(0, PendingDeviceTextCount(link));
}

// With nothing more arriving no notification comes: the pending timer takes the idle text.
TEST_F(LinkReceive, TextWithoutNulIsEndedAfterTheIdleLimit)
{
    const unsigned idle = 1000;   // room for a loaded machine between the calls below
    Send(first, "OpCode=IMIN\r\nMacAddr=cut");
    ASSERT_TRUE(PlatWaitReadable(link, 3000)) << "the datagram did not arrive";
    bool got = true;
    Receive(idle, &got);
    EXPECT_FALSE(got) << "a call that waited for the idle limit would have handed the text on";
    ASSERT_EQ(1, PendingDeviceTextCount(link));
    unsigned delay = PendingDeviceTextDelay(link, idle);
    EXPECT_GT(delay, 0u);
    EXPECT_LE(delay, idle);
    EXPECT_EQ(nullptr, TakeExpiredDeviceMessage(link, idle)) << "not yet idle for the limit";
    for (unsigned start = PlatTickCount(); PendingDeviceTextDelay(link, idle) > 0 && PlatTickCount() - start < 3000;)
        PlatSleep(10);
    EXPECT_EQ(0u, PendingDeviceTextDelay(link, idle)) << "the text did not become due within 3 s";
    char *m = TakeExpiredDeviceMessage(link, idle);
    ASSERT_NE(nullptr, m);
    EXPECT_STREQ("OpCode=IMIN\r\nMacAddr=cut", m);
    PlatFree(m);
    EXPECT_EQ(0, PendingDeviceTextCount(link));
}

// 120 datagrams that complete nothing: one call takes a bounded batch and leaves the rest waiting.
TEST_F(LinkReceive, OneCallTakesABoundedBatch)
{
    for (int i = 0; i < 60; i++) {
        Send(first, "a");
        Send(second, "b");
    }
    PlatSleep(300);
    int calls = 0;
    bool got = true;
    do {
        Receive(DEVICE_WAIT_MS, &got);
        EXPECT_FALSE(got);
        calls++;
    } while (PlatWaitReadable(link, 0) && calls < 100);
    EXPECT_GE(calls, 2);
    EXPECT_EQ(std::string(60, 'a'), Receive(0)) << "joined across the calls";
}

TEST_F(LinkReceive, PartialTextOfOneSenderDoesNotHoldBackAnotherSendersMessage)
{
    Send(first, "OpCode=IMIN\r\nMacAddr=slow");
    Send(second, Nul("OpCode=SETC"));
    PlatSleep(20);
    unsigned ms = 0;
    EXPECT_EQ("OpCode=SETC", Await(DEVICE_WAIT_MS, nullptr, &ms));
    EXPECT_LT(ms, 500u);
    // The slow sender's text is kept for the next call and completed there.
    Send(first, Nul("\r\nFW_Ver=9"));
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=slow\r\nFW_Ver=9", Await(DEVICE_WAIT_MS));
}

// A call always receives before it hands out an idle text: that receive is what re-arms the
// read notification for datagrams still waiting.
TEST_F(LinkReceive, WaitingDatagramIsTakenBeforeAnIdleTextIsHandedOut)
{
    Send(first, "partial");
    Send(second, Nul("B1"));
    PlatSleep(20);
    EXPECT_EQ("B1", Await(100));   // leaves "partial" pending
    PlatSleep(150);                   // now past its idle limit
    Send(second, Nul("B2"));
    PlatSleep(20);
    EXPECT_EQ("B2", Await(100));
    EXPECT_FALSE(PlatWaitReadable(link, 0)) << "the waiting datagram was taken";
    unsigned ms = 0;
    EXPECT_EQ("partial", Receive(100, nullptr, &ms));
    EXPECT_LT(ms, 50u);
}

TEST_F(LinkReceive, LargeDatagramsAreCutAt65791Bytes)
{
    std::string big(65000, 'b');
    Send(first, big);
    Send(first, std::string(1000, 'c'));
    PlatSleep(20);
    bool got = false;
    std::string text = Await(DEVICE_WAIT_MS, &got);
    ASSERT_TRUE(got);
    EXPECT_EQ((size_t)DEVICE_MESSAGE_MAX - 1, text.size());
    EXPECT_EQ(big + std::string(791, 'c'), text);
}

TEST_F(LinkReceive, ReceiveDatagramFromNamesTheSender)
{
    Send(second, "hello");
    ASSERT_TRUE(PlatWaitReadable(link, 1000));
    char buf[16];
    unsigned address = 0;
    int fromPort = 0;
    EXPECT_EQ(5, ReceiveDatagramFrom(link, buf, sizeof buf, 0, &address, &fromPort));
    EXPECT_EQ(LoopbackAddress(), address);
    EXPECT_EQ(LocalPort(second), fromPort);
    EXPECT_EQ(-1, ReceiveDatagram(link, buf, sizeof buf, 0)) << "nothing waiting";
}

int g_registrarCalls = 0;
void *g_registrarWindow = nullptr;
int RecordingRegistrar(SockHandle s, void *window)
{
    g_registrarCalls++;
    g_registrarWindow = window;
    return PlatSetNonBlocking(s, 1);
}

TEST(DeviceLink, OpenRegistersTheSocketAndCloseForgetsIt)
{
    int window = 0;
    OpenDeviceLink(&window, RecordingRegistrar);
    SockHandle s = DeviceLinkSocket();
    EXPECT_NE(NO_SOCKET, s);
    EXPECT_EQ(1, g_registrarCalls);
    EXPECT_EQ(&window, g_registrarWindow);
    int value = 0;
    PlatAddrLen length = (PlatAddrLen)sizeof value;
    getsockopt(s, SOL_SOCKET, SO_BROADCAST, (char *)&value, &length);
    EXPECT_NE(0, value);
    CloseDeviceLink();
    EXPECT_EQ(NO_SOCKET, DeviceLinkSocket());
    // A socket opened now gets the closed link's handle: closing the link again must not close it.
    SockHandle later = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_NE(NO_SOCKET, later);
    ASSERT_EQ(s, later) << "the new socket must reuse the handle, or the second close proves nothing";
    ASSERT_EQ(0, BindUdp(later, LoopbackAddress(), 0));
    CloseDeviceLink();
    EXPECT_NE(0, LocalPort(later)) << "the second close closed another socket";
    CloseSocketIfOpen(later);
    EXPECT_EQ(nullptr, ReceiveDeviceMessage(NO_SOCKET, 100));
}

}  // namespace
