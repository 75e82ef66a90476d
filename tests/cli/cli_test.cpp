// cli_test.cpp: setradio-cli's pure parts: the command line, MAC matching, the settings text of get, JSON.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "cli/channel_file.h"
#include "cli/cli_options.h"
#include "cli/exit_codes.h"
#include "cli/json_line.h"
#include "cli/mac_match.h"
#include "cli/radio_settings.h"
#include "cli/terminal_text.h"
#include "common/text.h"
#include "device/message.h"
#include "files/file_kind.h"
#include "tests/utf8_cases.h"

// Parses the words after the program's name; returns 1 when usable, the error in *error otherwise.
static int Parse(std::vector<const char *> words, CliOptions *o, std::string *error = 0)
{
    std::vector<char *> argv;
    argv.push_back((char *)"setradio-cli");
    for (const char *w : words) argv.push_back((char *)w);
    char text[256];
    int ok = ParseCliArguments((int)argv.size(), argv.data(), o, text, sizeof text);
    if (error) *error = text;
    return ok;
}

TEST(CliArguments, EveryCommandTakesItsOperandsAndOptions)
{
    CliOptions o;
    ASSERT_TRUE(Parse({"find"}, &o));
    EXPECT_EQ(CLI_FIND, o.command);
    EXPECT_EQ(3000u, o.waitMs);
    EXPECT_FALSE(o.json);
    ASSERT_TRUE(Parse({"find", "--wait", "0.25", "--json"}, &o));
    EXPECT_EQ(250u, o.waitMs);
    EXPECT_TRUE(o.json);
    ASSERT_TRUE(Parse({"get", "00:1a:2b:3c:4d:00", "-o", "backup.txt", "--wait=10"}, &o));
    EXPECT_STREQ("00:1a:2b:3c:4d:00", o.mac);
    EXPECT_STREQ("backup.txt", o.output);
    EXPECT_EQ(10000u, o.waitMs);
    ASSERT_TRUE(Parse({"set", "--no-check", "AA-BB", "radio.txt"}, &o));
    EXPECT_STREQ("AA-BB", o.mac);
    EXPECT_STREQ("radio.txt", o.file);
    EXPECT_TRUE(o.noCheck);
    ASSERT_TRUE(Parse({"check", "http://a/1", "--jobs", "3", "http://b/2", "--trace", "--", "-odd"}, &o));
    ASSERT_EQ(3u, o.urls.size());
    EXPECT_STREQ("http://b/2", o.urls[1]);
    EXPECT_STREQ("-odd", o.urls[2]);
    EXPECT_EQ(3, o.jobs);
    EXPECT_TRUE(o.trace);
    ASSERT_TRUE(Parse({"check", "--file", "radio.pls"}, &o));
    EXPECT_STREQ("radio.pls", o.file);
    EXPECT_EQ(8, o.jobs);
    // --help and --version answer even when the rest is incomplete or wrong.
    ASSERT_TRUE(Parse({"set", "--help"}, &o));
    EXPECT_TRUE(o.help);
    EXPECT_EQ(CLI_SET, o.command);
    ASSERT_TRUE(Parse({"--version"}, &o));
    EXPECT_TRUE(o.version);
    ASSERT_TRUE(Parse({"bogus", "--help"}, &o));
    EXPECT_TRUE(o.help);
}

TEST(CliArguments, UsageErrorsAreRefusedWithTheWordAtFault)
{
    struct Case {
        std::vector<const char *> words;
        const char *named;   // what the one-line error must quote
    } cases[] = {
        {{}, ""},
        {{"scan"}, "scan"},
        {{"--verbose"}, "--verbose"},
        {{"find", "--no-check"}, "--no-check"},        // another command's option
        {{"find", "--json=yes"}, "--json=yes"},        // a flag given a value
        {{"find", "--wait"}, "--wait"},
        {{"find", "--wait", "0"}, "0"},
        {{"find", "--wait", "-1"}, "-1"},
        {{"find", "--wait", "2s"}, "2s"},
        {{"find", "--wait", "3601"}, "3601"},
        {{"find", "--wait", "."}, "."},
        {{"find", "extra"}, "extra"},
        {{"get"}, ""},
        {{"get", "AA", "BB"}, "BB"},
        {{"set", "AA"}, ""},
        {{"check"}, ""},
        {{"check", "http://a/", "--file", "f.pls"}, ""},
        {{"check", "--jobs", "0", "http://a/"}, "0"},
        {{"check", "--jobs", "65", "http://a/"}, "65"},
        {{"check", "--jobs", "99999999999", "http://a/"}, "99999999999"},
    };
    for (const Case &c : cases) {
        CliOptions o;
        std::string error;
        std::string words;
        for (const char *w : c.words) words += std::string(w) + " ";
        EXPECT_FALSE(Parse(c.words, &o, &error)) << words;
        EXPECT_FALSE(error.empty()) << words;
        EXPECT_EQ(std::string::npos, error.find('\n')) << words;
        EXPECT_NE(std::string::npos, error.find(c.named)) << words << "-> " << error;
    }
}

TEST(MacText, ComparedAsTextIgnoringCaseAndSeparators)
{
    EXPECT_TRUE(MacTextMatches("00:1a:2b:3c:4d:0f", "00:1A:2B:3C:4D:0F"));
    EXPECT_TRUE(MacTextMatches("001A2B3C4D0F", "00:1A:2B:3C:4D:0F"));
    EXPECT_TRUE(MacTextMatches("001a.2b3c.4d0f", "00-1A-2B-3C-4D-0F"));
    EXPECT_FALSE(MacTextMatches("1A:2B:3C:4D:0F", "00:1A:2B:3C:4D:0F"));   // not a number: zeros count
    EXPECT_FALSE(MacTextMatches("0x001A2B3C4D0F", "00:1A:2B:3C:4D:0F"));
    EXPECT_FALSE(MacTextMatches("00:1A:2B:3C:4D:0", "00:1A:2B:3C:4D:0F"));  // a prefix is not the MAC
    EXPECT_FALSE(MacTextMatches("00:1A:2B:3C:4D:0F", "00:1A:2B:3C:4D:0F0"));
    EXPECT_FALSE(MacTextMatches(":::", ""));                                 // nothing to compare
    EXPECT_FALSE(MacTextMatches("", ""));
}

// A radio's IMIN as the window would load it, and the file get writes from it.
TEST(GetSettingsText, IsTheSettOfTheLoadedRowWithTheRadiosOwnMac)
{
    const char *imin =
        "OpCode=IMIN\r\nFW_Ver=VM-2\r\nMacAddr=00:1a:2B:3C:4D:05\r\nDhcpMode=2\r\nLocalIP=  10.0.0.5 \r\n"
        "SubnetMask=255.255.255.0\r\nGatewayIP=10.0.0.1\r\nDNS_IP=10.0.0.2\r\nPPPoEID=user\r\nPPPoEPsw=pw\r\n"
        "PlsUrl1=http://a/1\r\nPlsUrl2=http://a/2\r\nNumberOfEntries=3\r\nFile1=http://a/x\r\nTitle1= 한글 \r\n"
        "File2=http://a/y\nTitle2=Two";
    RadioSettings values;
    LoadRadioSettings(&values, imin);
    char out[DEVICE_MESSAGE_MAX];
    int length = ComposeSettFor(&values, "00:1a:2B:3C:4D:05", out, sizeof out);
    const std::string expected =
        "OpCode=SETT\r\nDhcpMode=2\r\nMacAddr=00:1a:2B:3C:4D:05\r\nLocalIP=10.0.0.5\r\nSubnetMask=255.255.255.0\r\n"
        "GatewayIP=10.0.0.1\r\nDNS_IP=10.0.0.2\r\nPPPoEID=user\r\nPPPoEPsw=pw\r\nPlsUrl1=http://a/1\r\n"
        "PlsUrl2=http://a/2\r\nNumberOfEntries=3\r\nFile1=http://a/x\r\nTitle1= 한글 \r\n"
        "File2=http://a/y\r\nTitle2=Two\r\nFile3=\r\nTitle3=\r\n";
    ASSERT_EQ((int)expected.size(), length);
    EXPECT_EQ(expected, std::string(out));
    EXPECT_EQ("\xC7\xD1\xB1\xDB", std::string("한글"));   // texts are code page 949 bytes

    // The file read back (set) composes the same bytes for the same radio.
    RadioSettings again;
    LoadRadioSettings(&again, out);
    char second[DEVICE_MESSAGE_MAX];
    ASSERT_EQ(length, ComposeSettFor(&again, "00:1a:2B:3C:4D:05", second, sizeof second));
    EXPECT_STREQ(out, second);

    // DhcpMode as the radio buttons take it: negative unchecks all, 3 and up leaves DHCP (the start state).
    const char *modes[][2] = {{"DhcpMode=0", "0"}, {"DhcpMode=-4", "-1"}, {"DhcpMode=7", "1"}, {"X=1", "0"}};
    for (auto &m : modes) {
        LoadRadioSettings(&values, m[0]);
        ASSERT_GT(ComposeSettFor(&values, "M", out, sizeof out), 0);
        EXPECT_NE(nullptr, strstr(out, (std::string("DhcpMode=") + m[1] + "\r\n").c_str())) << m[0];
    }
    // A SETT that would not fit is refused whole.
    LoadRadioSettings(&values, "NumberOfEntries=5000\r\n");
    EXPECT_EQ(-1, ComposeSettFor(&values, "M", out, sizeof out));
    EXPECT_EQ(0, out[0]);
}

TEST(JsonOutput, TextsAreUtf8AndEscaped)
{
    JsonLine line;
    JsonBegin(&line);
    JsonText(&line, "title", "한\"a\\b\r\n\x01");
    JsonNumber(&line, "channels", 12);
    JsonBool(&line, "live", 0);
    EXPECT_EQ("{\"title\":\"\xED\x95\x9C\\\"a\\\\b\\r\\n\\u0001\",\"channels\":12,\"live\":false", line.text);
}

TEST(JsonOutput, FileTextsFromUtf8BecomeCodePage949ByTheWindowsRule)
{
    char out[64];
    for (const Utf8Case &c : kUtf8Cases) {
        int n = ConvertUtf8To949(c.utf8, (int)strlen(c.utf8), out, sizeof out);
        EXPECT_EQ(std::string(c.expected949), std::string(out, n > 0 ? n : 0)) << c.what;
    }
    const char *utf8 = "\xED\x95\x9C" "a";
    EXPECT_EQ(-1, ConvertUtf8To949(utf8, (int)strlen(utf8), out, 2));   // does not fit
    // A marked file with a malformed byte keeps its lines: File2 stays its own channel.
    const char file[] = "\xEF\xBB\xBFNumberOfEntries=2\r\nTitle1=abc\xE0\r\nFile2=http://b/\r\n";
    std::vector<char> text(FILE_TEXT_MAX + 1);
    ASSERT_EQ(FILE_SETTINGS, ReadFileText(file, (int)strlen(file), text.data(), (int)text.size(), ConvertUtf8To949));
    char value[DEVICE_VALUE_SIZE];
    GetKeyValue("Title1=", value, sizeof value, text.data());
    EXPECT_STREQ("abc?", value);
}

// A radio's title holding another key's text is not written by get; files holding such values, or
// entries left out of a playlist, are reported rather than passed over.
TEST(HeldKeysAndLeftOutEntries, GetRefusesAndCheckFileReportsEveryEntry)
{
    RadioSettings values;
    LoadRadioSettings(&values, "OpCode=IMIN\r\nNumberOfEntries=2\r\nFile1=http://a/1\r\nTitle1=x File2=http://evil/\r\n"
                               "File2=http://a/2\r\nTitle2=b\r\n");
    std::vector<char> sett(DEVICE_MESSAGE_MAX);
    ASSERT_GT(ComposeSettFor(&values, "M", sett.data(), DEVICE_MESSAGE_MAX), 0);
    EXPECT_TRUE(RefuseSettHoldingKey(sett.data()));
    LoadRadioSettings(&values, "NumberOfEntries=1\r\nFile1=http://a/1?sid=1\r\nTitle1=x\r\n");
    ASSERT_GT(ComposeSettFor(&values, "M", sett.data(), DEVICE_MESSAGE_MAX), 0);
    EXPECT_FALSE(RefuseSettHoldingKey(sett.data()));

    std::string path = testing::TempDir() + "sr_cli_channels.txt";
    auto readFile = [&](const std::string &bytes, std::vector<StreamCheck> *checks) {
        FILE *f = fopen(path.c_str(), "wb");
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
        checks->clear();
        return ReadChannelFile(path.c_str(), checks);
    };
    std::vector<StreamCheck> checks;
    std::string settings = "DhcpMode=1\r\nNumberOfEntries=2\r\nFile1=http://a/\r\nTitle1=x File2=http://evil/\r\n";
    EXPECT_EQ(EXIT_FILE, readFile(settings, &checks)) << "a damaged settings file";
    std::string text;
    EXPECT_EQ(EXIT_FILE, ReadSettingsFileFor(path.c_str(), &text));
    EXPECT_EQ(EXIT_FILE, readFile("DhcpMode=1\r\nNumberOfEntries=0\r\n", &checks)) << "no address at all";
    EXPECT_EQ(EXIT_FILE, readFile("#EXTM3U\r\n#EXTINF:-1,nothing\r\n", &checks));

    EXPECT_EQ(EXIT_DONE, readFile("DhcpMode=1\r\nNumberOfEntries=3\r\nFile1=http://a/\r\nFile2=http://a/\r\nFile3=http://b/\r\n",
                                  &checks));
    ASSERT_EQ(2u, checks.size()) << "a repeated address is checked once";
    EXPECT_EQ(3, checks[1].number);

    std::string playlist = "#EXTM3U\r\nhttps://s/\r\nhttp://" + std::string(130, 'l') + "\r\n#EXTINF:-1,x File2=http://e/\r\n"
                           "http://k/\r\nhttp://a/\r\nhttp://a/\r\n";
    ASSERT_EQ(EXIT_DONE, readFile(playlist, &checks));
    ASSERT_EQ(4u, checks.size());
    RunStreamChecks(&checks, 1, 0, 0, 0);   // the first three are never probed
    const char *words[] = {"not_http", "too_long", "holds_key"};
    for (int i = 0; i < 3; i++) {
        EXPECT_FALSE(checks[i].live);
        EXPECT_STREQ(words[i], ReasonWord(checks[i].reason));
        EXPECT_EQ(i + 1, checks[i].number);
    }
    EXPECT_EQ("x File2=http://e/", checks[2].title);
    remove(path.c_str());
}

// Output for people shows control characters by code point; 949 lead bytes 0x81..0x9F stay.
TEST(TerminalText, ControlCharactersAreShownAsEscapes)
{
    InitTerminalText();
    const char hangul[] = "\x81\x41\x9F\xA1";   // two Korean characters whose lead bytes look like C1 bytes
    EXPECT_EQ("a\\x1b[31mb\tc\\x7f\\x0d\\x0a" + ToTerminalText(hangul),
              ToVisibleText((std::string("a\x1b[31mb\tc\x7f\r\n") + hangul).c_str()));
}
