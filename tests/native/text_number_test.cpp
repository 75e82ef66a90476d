// text_number_test.cpp: number reading and writing, the pattern reader, bytes, colours and TextBuilder.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "common/text.h"

TEST(ParseNumber, ValuesAndCounts)
{
    struct Case { const char *text; int value, used; } cases[] = {
        {"  12ab", 12, 4},
        {"0", 0, 1},
        {"0x", 0, 0},
        {"0xg", 0, 0},
        {"-", 0, 0},
        {"0x1F", 31, 4},
        {"\t+42x", 42, 4},
        {"-0x10", 0, 2},      // no hexadecimal after a sign
        {"0XfF", 255, 4},
        {"abc", 0, 0},
        {"4294967297", 1, 10},  // wraps modulo 2^32
        {"-17", -17, 3},
        {"- 5", 0, 0},          // no blanks after a sign
        {"\r5", 0, 0},          // only spaces and tabs lead
        {"2147483648", INT_MIN, 10},
        {"", 0, 0},
    };
    for (const auto &c : cases) {
        int used = -99;
        EXPECT_EQ(c.value, ParseNumber(c.text, &used)) << "'" << c.text << "'";
        EXPECT_EQ(c.used, used) << "'" << c.text << "'";
    }
    EXPECT_EQ(7, ParseNumber("7", nullptr));
}

TEST(ScanText, MissingNumbersLeaveTargetsUntouched)
{
    int a = -1, b = -1, c = 55, d = 66;
    EXPECT_EQ(0, ScanText("10 20", "%d %d %d %d", &a, &b, &c, &d));
    EXPECT_EQ(10, a);
    EXPECT_EQ(20, b);
    EXPECT_EQ(55, c);
    EXPECT_EQ(66, d);
}

TEST(ScanText, BlankRunsMatchWhateverTheirLength)
{
    int a = 0, b = 0;
    EXPECT_EQ(1, ScanText("1  2", "%d %d", &a, &b));
    EXPECT_EQ(1, a);
    EXPECT_EQ(2, b);
    EXPECT_EQ(1, ScanText("3\t4", "%d   %d", &a, &b));
    EXPECT_EQ(3, a);
    EXPECT_EQ(4, b);
}

TEST(ScanText, MismatchStopsButKeepsFilledTargets)
{
    int a = 0, b = 9;
    EXPECT_EQ(0, ScanText("1,2", "%d %d", &a, &b));
    EXPECT_EQ(1, a);
    EXPECT_EQ(9, b);
    a = 5;
    EXPECT_EQ(0, ScanText("1 2", "%d%d", &a, &b));  // no blank is skipped before a number
    EXPECT_EQ(1, a);
    EXPECT_EQ(0, b);
    a = 5;
    EXPECT_EQ(0, ScanText("1 2", "%d,%d", &a, &b));  // a blank only matches a blank
    EXPECT_EQ(1, a);
}

TEST(ScanText, DecimalPointRoundsOnFirstDigit)
{
    struct Case { const char *text; int value; } cases[] = {
        {"2.5", 3}, {"-2.5", -3}, {"7.49", 7}, {"7.", 7}, {"+8.9", 9}, {"0.5", 1}, {"-", 0}, {"x", 0},
    };
    for (const auto &c : cases) {
        int v = 1234;
        ScanText(c.text, "%d", &v);
        EXPECT_EQ(c.value, v) << "'" << c.text << "'";
    }
    int a = 0, b = 0;
    EXPECT_EQ(1, ScanText("1.2.3", "%d.%d", &a, &b));  // the second point ends the number
    EXPECT_EQ(1, a);
    EXPECT_EQ(3, b);
}

TEST(ScanText, ResultOnlyWhenBothEndTogether)
{
    int a = 0;
    EXPECT_EQ(1, ScanText("12", "%d", &a));
    EXPECT_EQ(0, ScanText("12 ", "%d", &a));  // blanks at the end of the text
    EXPECT_EQ(0, ScanText("12x", "%d", &a));
    EXPECT_EQ(0, ScanText("", "%d", &a));
    EXPECT_EQ(12, a);
}

TEST(SmallerOf, SignedComparison)
{
    EXPECT_EQ(-1, SmallerOf(-1, 5));
    EXPECT_EQ(-1, SmallerOf(5, -1));
    EXPECT_EQ(INT_MIN, SmallerOf(INT_MAX, INT_MIN));
}

TEST(Bytes, ZeroAndCopyStayInsideLength)
{
    unsigned char buffer[8];
    memset(buffer, 0xAA, sizeof buffer);
    ZeroBytes(buffer + 1, 5);
    const unsigned char zeroed[8] = {0xAA, 0, 0, 0, 0, 0, 0xAA, 0xAA};
    EXPECT_EQ(0, memcmp(zeroed, buffer, 8));
    ZeroBytes(buffer, 0);
    EXPECT_EQ(0xAA, buffer[0]);

    const unsigned char source[4] = {1, 2, 3, 4};
    CopyBytes(buffer + 2, source, 3);
    const unsigned char copied[8] = {0xAA, 0, 1, 2, 3, 0, 0xAA, 0xAA};
    EXPECT_EQ(0, memcmp(copied, buffer, 8));
}

TEST(Bytes, ColourAndByteOrder)
{
    EXPECT_EQ(0x00112233u, ColorRefToRgbQuad(0x00332211u));
    EXPECT_EQ(0x00808080u, ColorRefToRgbQuad(0x00808080u));
    EXPECT_EQ(0xFF332211u, ColorRefToRgbQuad(ColorRefToRgbQuad(0xFF332211u)));
    EXPECT_EQ(0x44332211u, SwapByteOrder(0x11223344u));
    EXPECT_EQ(0x000000FFu, SwapByteOrder(0xFF000000u));
}

TEST(TextCopy, LengthEqualsAndCopy)
{
    EXPECT_EQ(0, TextLength(""));
    EXPECT_EQ(5, TextLength("abcde"));
    EXPECT_TRUE(TextEquals("IMIN", "IMIN"));
    EXPECT_FALSE(TextEquals("IMIN", "IMI"));
    EXPECT_FALSE(TextEquals("IMI", "IMIN"));
    EXPECT_FALSE(TextEquals("imin", "IMIN"));
    EXPECT_TRUE(TextEquals("", ""));

    char out[6];
    memset(out, 'G', sizeof out);
    EXPECT_EQ(3, CopyText(out, 4, "abcdef"));
    EXPECT_STREQ("abc", out);
    EXPECT_EQ('G', out[4]);
    EXPECT_EQ(2, CopyText(out, 6, "xy"));
    EXPECT_STREQ("xy", out);
    out[0] = 'q';
    EXPECT_EQ(0, CopyText(out, 0, "xy"));
    EXPECT_EQ('q', out[0]);
}

TEST(FormatDecimal, ValuesAndTooSmallBuffers)
{
    struct Case { int value; const char *text; } cases[] = {
        {0, "0"}, {7, "7"}, {-1, "-1"}, {65792, "65792"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"},
    };
    for (const auto &c : cases) {
        char out[12];
        EXPECT_EQ((int)strlen(c.text), FormatDecimal(out, sizeof out, c.value));
        EXPECT_STREQ(c.text, out);
    }
    char small[4] = {'G', 'G', 'G', 'G'};
    EXPECT_EQ(0, FormatDecimal(small, 3, 123));
    EXPECT_STREQ("", small);
    EXPECT_EQ('G', small[3]);
    EXPECT_EQ(3, FormatDecimal(small, 4, -12));
    EXPECT_STREQ("-12", small);
}

TEST(TextBuilder, StopsGrowingOnceSomethingDoesNotFit)
{
    char buffer[10];
    memset(buffer, 'G', sizeof buffer);
    TextBuilder b;
    BuilderInit(&b, buffer, 8);
    BuilderAppend(&b, "abc");
    BuilderAppendNumber(&b, -12);
    EXPECT_STREQ("abc-12", buffer);
    EXPECT_EQ(6, b.length);
    EXPECT_EQ(0, b.overflow);
    BuilderAppend(&b, "xy");  // 8 text bytes and the NUL: one too many
    EXPECT_EQ(1, b.overflow);
    EXPECT_STREQ("abc-12", buffer);
    BuilderAppend(&b, "z");  // would fit, but the text no longer grows
    EXPECT_STREQ("abc-12", buffer);
    EXPECT_EQ('G', buffer[8]);
}

TEST(TextBuilder, ExactFitAndCut)
{
    char buffer[5];
    TextBuilder b;
    BuilderInit(&b, buffer, sizeof buffer);
    BuilderAppendCut(&b, "abcdefgh", 2);
    BuilderAppendCut(&b, "cd", 127);
    EXPECT_EQ(0, b.overflow);
    EXPECT_STREQ("abcd", buffer);
    EXPECT_EQ(4, b.length);
    BuilderAppend(&b, "");
    EXPECT_EQ(0, b.overflow);
    BuilderAppendCut(&b, "e", 0);
    EXPECT_EQ(0, b.overflow);
    BuilderAppendNumber(&b, 1);
    EXPECT_EQ(1, b.overflow);
    EXPECT_STREQ("abcd", buffer);
}

TEST(TextBuilder, ZeroCapacityIsOverflowAtOnce)
{
    char guard = 'G';
    TextBuilder b;
    BuilderInit(&b, &guard, 0);
    BuilderAppend(&b, "a");
    EXPECT_EQ(1, b.overflow);
    EXPECT_EQ('G', guard);
}
