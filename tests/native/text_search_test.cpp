// text_search_test.cpp: key lookup, searching, comparing, splitting, trimming, lines and tokens.
#include <gtest/gtest.h>

#include <string>

#include "common/text.h"

TEST(GetKeyValue, AbsentKeyGivesEmptyOutput)
{
    char out[128] = "old";
    GetKeyValue("Missing=", out, sizeof out, "A=1\r\nB=2\r\n");
    EXPECT_STREQ("", out);
}

TEST(GetKeyValue, ValueEndsAtFirstCrOrLfOrTextEnd)
{
    char out[128];
    GetKeyValue("B=", out, sizeof out, "A=1\r\nB=two\r\nC=3");
    EXPECT_STREQ("two", out);
    GetKeyValue("B=", out, sizeof out, "A=1\nB=lf only\nC=3");
    EXPECT_STREQ("lf only", out);
    GetKeyValue("B=", out, sizeof out, "A=1\rB=cr only\rC=3");
    EXPECT_STREQ("cr only", out);
    GetKeyValue("C=", out, sizeof out, "A=1\r\nC=last");
    EXPECT_STREQ("last", out);
}

TEST(GetKeyValue, LongValueIsCutToBufferAndLookupStillBounded)
{
    std::string text = "K=" + std::string(200, 'v') + "\r\nNext=1";
    char out[128];
    out[127] = 'x';
    GetKeyValue("K=", out, sizeof out, text.c_str());
    EXPECT_EQ(std::string(127, 'v'), out);

    char tiny[4];
    GetKeyValue("K=", tiny, sizeof tiny, text.c_str());
    EXPECT_STREQ("vvv", tiny);
}

TEST(GetKeyValue, FindsKeyAnywhereFirstOccurrenceWins)
{
    char out[128];
    GetKeyValue("File3=", out, sizeof out, "Title2=see File3=inside\r\nFile3=real\r\n");
    EXPECT_STREQ("inside", out);
    GetKeyValue("A=", out, sizeof out, "A=first\r\nA=second\r\n");
    EXPECT_STREQ("first", out);
}

TEST(GetKeyValue, KeepsBlanksAndEqualsSigns)
{
    char out[128];
    GetKeyValue("PlsUrl1=", out, sizeof out, "PlsUrl1= http://x/?a=b \r\n");
    EXPECT_STREQ(" http://x/?a=b ", out);
}

TEST(GetKeyValue, ZeroSizeWritesNothing)
{
    char out[2] = {'q', 'q'};
    GetKeyValue("A=", out, 0, "A=1");
    EXPECT_EQ('q', out[0]);
}

TEST(Find, CharAndLastCharAndEmptyTexts)
{
    EXPECT_EQ(1, FindChar("abcb", 'b'));
    EXPECT_EQ(3, FindLastChar("abcb", 'b'));
    EXPECT_EQ(-1, FindChar("abc", 'z'));
    EXPECT_EQ(-1, FindLastChar("abc", 'z'));
    EXPECT_EQ(-1, FindChar("", 'a'));
    EXPECT_EQ(-1, FindLastChar("", 'a'));
    EXPECT_EQ(-1, FindChar("abc", '\0'));
}

TEST(Find, ByteSeesNulInsideLength)
{
    const char buffer[] = {'a', 'b', '\0', 'c'};
    EXPECT_EQ(2, FindByte(buffer, 4, 0));
    EXPECT_EQ(3, FindByte(buffer, 4, 'c'));
    EXPECT_EQ(-1, FindByte(buffer, 3, 'c'));
    EXPECT_EQ(-1, FindByte(buffer, 0, 'a'));
    EXPECT_EQ(-1, FindByte(buffer, -5, 'a'));
}

TEST(Find, TextCases)
{
    EXPECT_EQ(0, FindText("abc", ""));
    EXPECT_EQ(0, FindText("", ""));
    EXPECT_EQ(-1, FindText("", "a"));
    EXPECT_EQ(-1, FindText("ab", "abc"));
    EXPECT_EQ(2, FindText("aaab", "ab"));
    EXPECT_EQ(0, FindText("abcdabcd", "abcd"));
    EXPECT_EQ(3, FindText("abdabcd", "abc"));
    EXPECT_EQ(-1, FindText("Title10=x", "Title1="));
    EXPECT_EQ(-1, FindText("abca", "cab"));
    // A byte is found even as the second half of a double-byte character.
    EXPECT_EQ(1, FindText("\xB0\x41", "A"));
}

TEST(ComparePrefix, StatusLines)
{
    EXPECT_EQ(0, ComparePrefix("HTTP/1.0 200 OK", "HTTP/"));
    EXPECT_NE(0, ComparePrefix("HTT", "HTTP/"));
    EXPECT_NE(0, ComparePrefix("ICY 200 OK", "HTTP/"));
    EXPECT_EQ(0, ComparePrefix("", ""));
    EXPECT_NE(0, ComparePrefix("http/1.0", "HTTP/"));
}

TEST(StringList, EndNextAndAppend)
{
    const char list[] = "one\0two\0";
    EXPECT_EQ(list + 3, StringEnd(list));
    EXPECT_STREQ("two", NextString(list));
    char text[8] = "ab";
    AppendChar(text, 'c');
    EXPECT_STREQ("abc", text);
    char empty[2] = "";
    AppendChar(empty, 'z');
    EXPECT_STREQ("z", empty);
}

TEST(SkipBlanks, SkipsControlBytesButNotHighBytes)
{
    EXPECT_STREQ("x ", SkipBlanks(" \t\r\n\x01x "));
    EXPECT_STREQ("\xB0 ", SkipBlanks("  \xB0 "));
    EXPECT_STREQ("", SkipBlanks("   "));
    char writable[] = "\t y";
    EXPECT_EQ(writable + 2, SkipBlanks(writable));
}

TEST(SplitAt, HeaderLineAndMissingCharacter)
{
    char line[] = "Location: x";
    char *rest = SplitAt(line, ':');
    ASSERT_NE(nullptr, rest);
    EXPECT_STREQ("Location", line);
    EXPECT_STREQ(" x", rest);

    char other[] = "no colon";
    EXPECT_EQ(nullptr, SplitAt(other, ':'));
    EXPECT_STREQ("no colon", other);
}

TEST(TrimText, Cases)
{
    struct Case { const char *in, *out; } cases[] = {
        {" \t inner  text \t ", "inner  text"},
        {"   \t", ""},
        {"", ""},
        {"plain", "plain"},
        {"\r\n x \r", "\r\n x \r"},  // only spaces and tabs go
        {"  lead", "lead"},
        {"trail\t\t", "trail"},
    };
    for (const Case &c : cases) {
        char buffer[32];
        CopyText(buffer, sizeof buffer, c.in);
        TrimText(buffer);
        EXPECT_STREQ(c.out, buffer) << "input '" << c.in << "'";
    }
}

TEST(ReadLine, LineEndsAndNextLine)
{
    char out[16];
    const char *next = ReadLine("ab\r\ncd", out, sizeof out);
    EXPECT_STREQ("ab", out);
    EXPECT_STREQ("cd", next);
    next = ReadLine("ab\n\rcd", out, sizeof out);
    EXPECT_STREQ("ab", out);
    EXPECT_STREQ("cd", next);
    next = ReadLine("ab\r\rcd", out, sizeof out);  // two line ends: an empty line follows
    EXPECT_STREQ("\rcd", next);
    next = ReadLine(next, out, sizeof out);
    EXPECT_STREQ("", out);
    EXPECT_STREQ("cd", next);
    next = ReadLine("\nx", out, sizeof out);
    EXPECT_STREQ("", out);
    EXPECT_STREQ("x", next);
}

TEST(ReadLine, OverlongLineIsCutAndPassedOver)
{
    char out[4];
    const char *source = "abcdef";
    const char *next = ReadLine(source, out, sizeof out);
    EXPECT_STREQ("abc", out);
    EXPECT_EQ(source + 6, next);

    char guarded[8] = {0, 0, 0, 0, 'G', 'G', 'G', 'G'};
    next = ReadLine("0123456789\r\nnext", guarded, 4);
    EXPECT_STREQ("012", guarded);
    EXPECT_EQ('G', guarded[4]);
    EXPECT_STREQ("next", next);
}

TEST(ReadLine, SizeOneGivesEmptyAndZeroWritesNothing)
{
    char out[2] = {'q', 'q'};
    const char *next = ReadLine("abc\ndef", out, 1);
    EXPECT_EQ('\0', out[0]);
    EXPECT_STREQ("def", next);
    out[0] = 'q';
    next = ReadLine("abc\ndef", out, 0);
    EXPECT_EQ('q', out[0]);
    EXPECT_STREQ("def", next);
}

TEST(SkipTokens, PlainAndQuotedTokens)
{
    EXPECT_STREQ("1 2 3", SkipTokens("1 2 3", 0));
    EXPECT_STREQ("2 3", SkipTokens("1 2 3", 1));
    EXPECT_STREQ("", SkipTokens("1 2 3", 3));
    EXPECT_STREQ("", SkipTokens("1 2 3", 9));
    EXPECT_STREQ("200 OK", SkipTokens("HTTP/1.0 \t 200 OK", 1));
    EXPECT_STREQ("next", SkipTokens("\"a b\" next", 1));
    EXPECT_STREQ("x y", SkipTokens("'q r'x y", 1));  // a token may start right after a quote
    EXPECT_STREQ("", SkipTokens("\"never closed", 1));
    EXPECT_STREQ("1 2", SkipTokens("  1 2", 1));  // leading blanks end an empty first token
}
