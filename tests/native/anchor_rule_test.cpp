// anchor_rule_test.cpp: the stay, move or stretch decision of the resizable layout.
#include <gtest/gtest.h>
#include "winkit/anchor_rule.h"

// A control wholly right of (or below) the anchor moves; one spanning it stretches; one before it stays.
TEST(AnchorRule, DecidesByEdgesAgainstAnchor)
{
    EXPECT_EQ(ANCHOR_MOVE, AnchorDecision(101, 150, 100));
    EXPECT_EQ(ANCHOR_STRETCH, AnchorDecision(100, 150, 100));   // left edge on the anchor: spans it
    EXPECT_EQ(ANCHOR_STRETCH, AnchorDecision(10, 101, 100));
    EXPECT_EQ(ANCHOR_STAY, AnchorDecision(10, 100, 100));       // right edge on the anchor: stays
    EXPECT_EQ(ANCHOR_STAY, AnchorDecision(-50, -10, 100));
}

// The anchor lies one pixel inside the stretching controls, which therefore never move along that axis.
TEST(AnchorRule, AnchorControlsStretchAndStayInPlace)
{
    const int urlLeft = 200, listTop = 300;
    ChildShift s;
    // The URL edit itself: its left edge is one pixel before the anchor.
    ComputeChildShift(urlLeft, 900, urlLeft + 400, 920, urlLeft + 1, listTop + 1, 100, 50, &s);
    EXPECT_EQ(0, s.dx);
    EXPECT_EQ(100, s.dWidth);
    EXPECT_EQ(50, s.dy);
    EXPECT_EQ(0, s.dHeight);
    // The channel list: stretches both ways.
    ComputeChildShift(10, listTop, 600, listTop + 200, urlLeft + 1, listTop + 1, 100, 50, &s);
    EXPECT_EQ(0, s.dx);
    EXPECT_EQ(100, s.dWidth);
    EXPECT_EQ(0, s.dy);
    EXPECT_EQ(50, s.dHeight);
}

// Negative deltas shrink and move back by the same rule; a control before both anchors is untouched.
TEST(AnchorRule, ShrinkingMovesBackAndCornerControlStays)
{
    ChildShift s;
    ComputeChildShift(500, 600, 560, 640, 201, 301, -100, -50, &s);
    EXPECT_EQ(-100, s.dx);
    EXPECT_EQ(-50, s.dy);
    EXPECT_EQ(0, s.dWidth);
    EXPECT_EQ(0, s.dHeight);
    ComputeChildShift(5, 5, 80, 30, 201, 301, -100, -50, &s);
    EXPECT_EQ(0, s.dx);
    EXPECT_EQ(0, s.dy);
    EXPECT_EQ(0, s.dWidth);
    EXPECT_EQ(0, s.dHeight);
}
