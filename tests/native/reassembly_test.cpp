// reassembly_test.cpp: joining each sender's datagrams into messages, idle expiry and the bounds.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "common/platform.h"
#include "device/message.h"
#include "device/reassembly.h"

namespace {

const unsigned A = 0x0B004D0Au;  // 10.77.0.11
const unsigned B = 0x0C004D0Au;  // 10.77.0.12

struct Fixture : testing::Test {
    Reassembly r;
    void SetUp() override { memset(&r, 0, sizeof r); }
    void TearDown() override { ClearReassembly(&r); }

    // Feeds bytes from a sender; returns the completed message ("" when none) and notes completion.
    std::string Feed(unsigned address, int port, const std::string &bytes, unsigned now = 1000, bool *done = nullptr)
    {
        char *m = FeedDatagram(&r, address, port, bytes.data(), (int)bytes.size(), now, 5000);
        if (done) *done = m != nullptr;
        std::string text = m ? std::string(m) : std::string();
        PlatFree(m);
        return text;
    }
    std::string Expired(unsigned now, unsigned limit, bool *done = nullptr)
    {
        char *m = TakeExpiredText(&r, now, limit);
        if (done) *done = m != nullptr;
        std::string text = m ? std::string(m) : std::string();
        PlatFree(m);
        return text;
    }
};

std::string Nul(const std::string &s) { return s + std::string(1, '\0'); }

typedef Fixture Reassemble;

TEST_F(Reassemble, OneDatagramWithItsNulIsOneMessageAndTrailingBytesAreDropped)
{
    bool done = false;
    EXPECT_EQ("OpCode=SETC", Feed(A, 49006, Nul("OpCode=SETC") + "junk", 1000, &done));
    EXPECT_TRUE(done);
    EXPECT_EQ(0, PendingTextCount(&r));
}

TEST_F(Reassemble, SlicesOfOneSenderJoinInArrivalOrder)
{
    bool done = true;
    Feed(A, 49006, "OpCode=IMIN\r\nMac", 1000, &done);
    EXPECT_FALSE(done);
    EXPECT_EQ(1, PendingTextCount(&r));
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=1\r\n", Feed(A, 49006, Nul("Addr=1\r\n"), 1010, &done));
    EXPECT_TRUE(done);
    EXPECT_EQ(0, PendingTextCount(&r));
}

TEST_F(Reassemble, InterleavedSendersAreKeptApart)
{
    Feed(A, 49006, "OpCode=IMIN\r\nMacAddr=A");
    Feed(B, 49006, "OpCode=IMIN\r\nMacAddr=B");
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=A\r\nFW_Ver=1", Feed(A, 49006, Nul("\r\nFW_Ver=1")));
    EXPECT_EQ(1, PendingTextCount(&r));
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=B\r\nFW_Ver=2", Feed(B, 49006, Nul("\r\nFW_Ver=2")));
}

TEST_F(Reassemble, SameAddressOnAnotherPortIsAnotherSender)
{
    Feed(A, 49006, "first-");
    Feed(A, 5000, "second-");
    EXPECT_EQ("second-end", Feed(A, 5000, Nul("end")));
    EXPECT_EQ("first-end", Feed(A, 49006, Nul("end")));
}

TEST_F(Reassemble, EmptyDatagramChangesNothing)
{
    bool done = true;
    Feed(A, 1, "", 1000, &done);
    EXPECT_FALSE(done);
    EXPECT_EQ(0, PendingTextCount(&r));
    EXPECT_EQ(nullptr, FeedDatagram(&r, A, 1, nullptr, 5, 1000, 5000));
}

TEST_F(Reassemble, NulAloneEndsAMessageAlreadyStartedAndAloneGivesAnEmptyText)
{
    Feed(A, 1, "abc");
    EXPECT_EQ("abc", Feed(A, 1, std::string(1, '\0')));
    bool done = false;
    EXPECT_EQ("", Feed(B, 1, std::string(1, '\0'), 1000, &done));
    EXPECT_TRUE(done);
}

TEST_F(Reassemble, IdleTextExpiresAfterTheLimitOnly)
{
    Feed(A, 1, "partial", 1000);
    bool done = true;
    Expired(5999, 5000, &done);
    EXPECT_FALSE(done);
    EXPECT_EQ(1u, TimeUntilExpiry(&r, 5999, 5000));
    EXPECT_EQ("partial", Expired(6000, 5000, &done));
    EXPECT_TRUE(done);
    EXPECT_EQ(0, PendingTextCount(&r));
    EXPECT_EQ(5000u, TimeUntilExpiry(&r, 6000, 5000)) << "nothing pending";
}

TEST_F(Reassemble, EachSenderExpiresOnItsOwnClockOldestFirst)
{
    Feed(A, 1, "a", 1000);
    Feed(B, 1, "b", 3000);
    EXPECT_EQ(0u, TimeUntilExpiry(&r, 7000, 5000));
    EXPECT_EQ("a", Expired(8500, 5000));
    EXPECT_EQ("b", Expired(8500, 5000));
    Feed(A, 1, "x", 1000);
    Feed(A, 1, "y", 4000);  // a new datagram restarts the sender's clock
    bool done = true;
    Expired(8000, 5000, &done);
    EXPECT_FALSE(done);
    EXPECT_EQ(1000u, TimeUntilExpiry(&r, 8000, 5000));
}

// A sender quiet for the limit: its old text is handed on before its next datagram starts a fresh one.
TEST_F(Reassemble, StaleTextIsEndedBeforeTheSendersNextDatagramStartsAFreshOne)
{
    Feed(A, 1, "OpCode=IMIN\r\nMacAddr=old", 1000);
    Feed(B, 1, "other", 1000);
    bool done = false;
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=old", Feed(A, 1, "OpCode=IMIN\r\nMacAddr=", 6000, &done));
    EXPECT_TRUE(done);
    EXPECT_EQ("OpCode=IMIN\r\nMacAddr=new", Feed(A, 1, Nul("new"), 6010));
    // A fresh message whole in its datagram waits, due at once, after the stale text it follows.
    Feed(A, 1, "stale", 20000);
    EXPECT_EQ("stale", Feed(A, 1, Nul("whole"), 30000));
    EXPECT_EQ(0u, TimeUntilExpiry(&r, 30000, 5000));
    EXPECT_EQ("whole", Expired(30000, 5000, &done));
    EXPECT_TRUE(done);
    EXPECT_EQ("other", Expired(30000, 5000)) << "the other sender's idle text comes next";
    EXPECT_EQ(0, PendingTextCount(&r));
}

// Every slot holds a partial text: messages whole in one datagram pass by without dropping any.
TEST_F(Reassemble, WholeMessageFromANewSenderNeverDropsAPartialText)
{
    for (int i = 0; i < REASSEMBLY_SENDERS; i++) Feed(A, 1000 + i, "part-");
    for (int i = 0; i < 10; i++) EXPECT_EQ("OpCode=SETC", Feed(B, 2000 + i, Nul("OpCode=SETC")));
    EXPECT_EQ(REASSEMBLY_SENDERS, PendingTextCount(&r));
    for (int i = 0; i < REASSEMBLY_SENDERS; i++) EXPECT_EQ("part-end", Feed(A, 1000 + i, Nul("end")));
}

TEST_F(Reassemble, TickCountWrapIsHarmless)
{
    Feed(A, 1, "wrap", 0xFFFFFF00u);
    bool done = true;
    Expired(0x00000100u, 5000, &done);  // 512 ms later
    EXPECT_FALSE(done);
    EXPECT_EQ("wrap", Expired(0xFFFFFF00u + 5000u, 5000));
}

TEST_F(Reassemble, FullBlockWithoutNulGivesTheFirst65791Bytes)
{
    std::string sent;
    for (int i = 0; sent.size() < DEVICE_MESSAGE_MAX; i++) sent += (char)('a' + i % 26);
    bool done = false;
    std::string got;
    size_t pos = 0;
    int datagrams = 0;
    while (pos < sent.size() && !done) {
        std::string slice = sent.substr(pos, 1472);
        got = Feed(A, 1, slice, 1000, &done);
        pos += slice.size();
        datagrams++;
    }
    ASSERT_TRUE(done);
    EXPECT_EQ(sent.size(), pos) << "ends with the datagram that fills the block";
    EXPECT_EQ((size_t)DEVICE_MESSAGE_MAX - 1, got.size());
    EXPECT_EQ(sent.substr(0, DEVICE_MESSAGE_MAX - 1), got);
}

TEST_F(Reassemble, TextOf65791BytesWithItsNulNextIsWholeAndLeavesNoEmptyMessage)
{
    std::string sent(DEVICE_MESSAGE_MAX - 1, 'q');
    bool done = true;
    Feed(A, 1, sent.substr(0, 40000), 1000, &done);
    EXPECT_FALSE(done);
    Feed(A, 1, sent.substr(40000), 1000, &done);
    EXPECT_FALSE(done) << "65,791 bytes may still be followed by their NUL";
    EXPECT_EQ(sent, Feed(A, 1, std::string(1, '\0'), 1000, &done));
    EXPECT_TRUE(done);
    EXPECT_EQ(0, PendingTextCount(&r));
}

TEST_F(Reassemble, DatagramLargerThanTheRoomLeftNeverOverflows)
{
    std::string start(65000, 's');
    Feed(A, 1, start);
    // Its NUL still fits: the message is whole.
    std::string tail = Nul(std::string(500, 't')) + std::string(499, 'u');
    EXPECT_EQ(start + std::string(500, 't'), Feed(A, 1, tail));
    // No NUL within the room: cut at 65,791 bytes.
    Feed(B, 1, start);
    bool done = false;
    std::string got = Feed(B, 1, std::string(1000, 'v'), 1000, &done);
    EXPECT_TRUE(done);
    EXPECT_EQ(start + std::string(791, 'v'), got);
    // One datagram bigger than the whole block.
    std::string huge(70000, 'w');
    got = Feed(A, 2, huge, 1000, &done);
    EXPECT_TRUE(done);
    EXPECT_EQ(std::string(DEVICE_MESSAGE_MAX - 1, 'w'), got);
}

TEST_F(Reassemble, SendersBeyondTheBoundDropTheShortestThenLeastRecentlyFedText)
{
    Feed(B, 2, std::string(1472, 'L'));  // a long text, fed before all the others
    for (int i = 0; i < REASSEMBLY_SENDERS - 1; i++) Feed(A, 1000 + i, "start-");
    EXPECT_EQ(REASSEMBLY_SENDERS, PendingTextCount(&r));
    Feed(A, 1000, "more-");              // sender 0 is now longer than sender 1
    Feed(B, 1, "newcomer-");             // takes the slot of sender 1
    EXPECT_EQ(REASSEMBLY_SENDERS, PendingTextCount(&r));
    EXPECT_EQ("start-more-end", Feed(A, 1000, Nul("end")));
    EXPECT_EQ("end", Feed(A, 1001, Nul("end"))) << "sender 1's beginning was dropped";
    EXPECT_EQ("newcomer-end", Feed(B, 1, Nul("end")));
    EXPECT_EQ(std::string(1472, 'L') + "end", Feed(B, 2, Nul("end"))) << "the long text survived";
}

TEST_F(Reassemble, WellFormedRepliesSurviveAFloodOfOneByteDatagrams)
{
    // 100 senders send 100 one-byte datagrams each, round robin; five devices reply in three
    // slices each, with 20 flood datagrams between consecutive slices.
    std::vector<std::string> replies;
    for (int d = 0; d < 5; d++) {
        std::string t = "OpCode=IMIN\r\nMacAddr=00:00:00:00:00:0" + std::to_string(d) + "\r\n";
        while (t.size() < 3500) t += "Title" + std::to_string(t.size()) + "=channel\r\n";
        replies.push_back(Nul(t));
    }
    std::vector<std::string> got;
    int flood = 0, floodMessages = 0, mostPending = 0;
    auto floodSome = [&](int n) {
        for (int k = 0; k < n && flood < 10000; k++, flood++) {
            bool done = false;
            Feed(0x01010101u + (unsigned)(flood % 100), 7, std::string(1, (char)('A' + flood % 26)), 1000, &done);
            if (done) floodMessages++;
            if (PendingTextCount(&r) > mostPending) mostPending = PendingTextCount(&r);
        }
    };
    for (int slice = 0; slice < 3; slice++) {
        for (int d = 0; d < 5; d++) {
            floodSome(20);
            std::string part = replies[d].substr((size_t)slice * 1472, 1472);
            bool done = false;
            std::string m = Feed(A + ((unsigned)d << 24), 49006, part, 1000, &done);
            if (done) got.push_back(m);
        }
    }
    floodSome(10000);
    EXPECT_EQ(REASSEMBLY_SENDERS, mostPending) << "100 flooding senders fill the table to its bound, never past it";
    EXPECT_EQ(0, floodMessages);
    ASSERT_EQ(5u, got.size());
    for (int d = 0; d < 5; d++)
        EXPECT_EQ(replies[d].substr(0, replies[d].size() - 1), got[d]);
    EXPECT_LE(PendingTextCount(&r), REASSEMBLY_SENDERS);
}

TEST_F(Reassemble, ClearReleasesEverything)
{
    Feed(A, 1, "a");
    Feed(B, 1, "b");
    ClearReassembly(&r);
    EXPECT_EQ(0, PendingTextCount(&r));
    EXPECT_EQ("fresh", Feed(A, 1, Nul("fresh")));
}

}  // namespace
