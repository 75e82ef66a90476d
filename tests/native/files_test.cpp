// files_test.cpp: settings files and playlists: which files count, decoding, import rules, export round trip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "device/message.h"
#include "files/file_kind.h"
#include "files/playlist_export.h"
#include "files/playlist_import.h"
#include "files/settings_values.h"
#include "tests/native/code_page_seam.h"

namespace {

// "한국" and "방송" in code page 949.
const std::string kHanguk = "\xc7\xd1\xb1\xb9";
const std::string kBangsong = "\xb9\xe6\xbc\xdb";

struct Row {
    std::string title, url;
};

void CollectRow(void *context, const char *title, const char *url)
{
    static_cast<std::vector<Row> *>(context)->push_back({title, url});
}

void ReadRowCell(void *context, int row, int column, char *buffer, int size)
{
    const Row &r = (*static_cast<std::vector<Row> *>(context))[row];
    CopyText(buffer, size, (column == 2 ? r.url : r.title).c_str());
}

// A file's bytes read as the program reads them; text receives the decoded text.
int Read(const std::string &bytes, std::string *text = nullptr)
{
    std::vector<char> out(FILE_TEXT_MAX + 1);
    int kind = ReadFileText(bytes.data(), (int)bytes.size(), out.data(), (int)out.size(), TestUtf8To949);
    if (text) *text = out.data();
    return kind;
}

// Imports text into rows that already hold existing addresses; room in SETT bytes.
struct Import {
    std::vector<Row> rows;
    std::vector<char> block = std::vector<char>(2 * 65792);
    AddressSet known;
    PlaylistImport im = {};
    Import(const std::vector<std::string> &existing, int room)
    {
        AddressSetInit(&known, block.data(), (int)block.size());
        for (const std::string &a : existing) AddressSetAdd(&known, a.c_str());
        im.known = &known;
        im.nextNumber = (int)existing.size() + 1;
        im.roomBytes = room;
        im.addRow = CollectRow;
        im.context = &rows;
    }
    int Run(const std::string &text) { return ImportPlaylist(text.c_str(), &im); }
};

TEST(FileKind, PlaylistsSettingsAndEverythingElse)
{
    EXPECT_EQ(FILE_PLAYLIST, Read("[playlist]\nNumberOfEntries=1\nFile1=http://a/\n")) << "a .pls holds NumberOfEntries too";
    EXPECT_EQ(FILE_PLAYLIST, Read("#EXTM3U\r\nhttp://a/\r\n"));
    EXPECT_EQ(FILE_PLAYLIST, Read("\r\n  \nhttp://a/\n"));
    EXPECT_EQ(FILE_SETTINGS, Read("OpCode=SETT\r\nDhcpMode=1\r\n"));
    EXPECT_EQ(FILE_SETTINGS, Read("NumberOfEntries=0\r\n")) << "an empty channel list is a valid file";
    EXPECT_EQ(FILE_OTHER, Read("OpCode=SETT\r\nXDhcpMode=1\r\n")) << "keys count only at a line's start";
    EXPECT_EQ(FILE_OTHER, Read("https://a/\n"));
    EXPECT_EQ(FILE_OTHER, Read(""));
    EXPECT_EQ(FILE_HAS_NUL, Read(std::string("DhcpMode=1\r\n\0x", 14)));
    std::string big = "DhcpMode=1\r\n" + std::string(FILE_TEXT_MAX - 12, 'x');
    EXPECT_EQ(FILE_SETTINGS, Read(big)) << "65,791 bytes still fit one message";
    EXPECT_EQ(FILE_TOO_LARGE, Read(big + "x"));
}

TEST(FileKind, Utf8IsConvertedAndCodePageTextIsKept)
{
    std::string text;
    // Notepad's UTF-8 with a byte-order mark; a Thai letter has no place in 949 and becomes '?'.
    ASSERT_EQ(FILE_SETTINGS, Read("\xEF\xBB\xBFPPPoEID=\xED\x95\x9C\xEA\xB5\xAD\xE0\xB8\x81\r\nDhcpMode=2\r\n", &text));
    EXPECT_EQ("PPPoEID=" + kHanguk + "?\r\nDhcpMode=2\r\n", text);
    // Without a mark, well-formed UTF-8 with Hangul is converted as well.
    ASSERT_EQ(FILE_SETTINGS, Read("Title1=\xED\x95\x9C\xEA\xB5\xAD\nNumberOfEntries=1\n", &text));
    EXPECT_EQ("Title1=" + kHanguk + "\nNumberOfEntries=1\n", text);
    // Code page 949 bytes are not well-formed UTF-8: taken as they are.
    ASSERT_EQ(FILE_SETTINGS, Read("Title1=" + kHanguk + "\nNumberOfEntries=1\n", &text));
    EXPECT_EQ("Title1=" + kHanguk + "\nNumberOfEntries=1\n", text);
    EXPECT_FALSE(IsUtf8WithNonAscii("\xC0\xAF", 2)) << "overlong form";
    EXPECT_FALSE(IsUtf8WithNonAscii("\xED\xA0\x80", 3)) << "surrogate";
    EXPECT_FALSE(IsUtf8WithNonAscii("plain", 5));
    // UTF-8 without a converter cannot be read.
    char out[64];
    EXPECT_EQ(FILE_UNREADABLE, ReadFileText("\xEF\xBB\xBF" "DhcpMode=1", 13, out, sizeof out, nullptr));
}

TEST(SettingsValues, ReadLikeADeviceText)
{
    const char *text = "OpCode=SETT\r\nDhcpMode=2\r\nMacAddr=AA\r\nLocalIP=10.0.0.5\r\nPPPoEID=kim\r\n"
                       "PlsUrl2=http://p/2\r\nNumberOfEntries=2\r\nFile1=http://s/1\r\nTitle1=One\r\nTitle2=Two\r\n";
    SettingsValues v;
    ReadSettingsValues(text, &v);
    EXPECT_EQ(2, v.mode);
    EXPECT_STREQ("10.0.0.5", v.fields[SETT_LOCAL_IP]);
    EXPECT_STREQ("kim", v.fields[SETT_PPPOE_ID]);
    EXPECT_STREQ("", v.fields[SETT_SUBNET]);
    EXPECT_STREQ("http://p/2", v.fields[SETT_PLS_URL2]);
    EXPECT_EQ(2, v.channelCount);
    char title[32], url[128];
    ReadChannelEntry(text, 2, title, sizeof title, url, sizeof url);
    EXPECT_STREQ("Two", title);
    EXPECT_STREQ("", url);
}

TEST(PlaylistImport, RulesOfThePls)
{
    std::string longTitle;
    for (int i = 0; i < 16; i++) longTitle += kHanguk.substr(0, 2);   // 32 bytes of 16 characters
    std::string address200 = "http://long.example/" + std::string(180, 'a');
    std::string text = "[Playlist]\r\nNumberOfEntries=7\r\n"
                       "Title2=  " + kBangsong + "  \r\nFile2=http://b.example:8000/s\r\n"
                       "File1=http://a.example/one\r\nTitle1=A" + longTitle + "\r\n"
                       "File3=https://secure.example/x\r\n"
                       "File4=" + address200 + "\r\n"
                       "File5=http://a.example/one\r\nTitle5=again\r\n"
                       "File6=http://user@c.example:81/x\r\n"
                       "File7=http://known.example/\r\n";
    Import run({"http://known.example/"}, 65000);
    EXPECT_EQ(3, run.Run(text));
    ASSERT_EQ(3u, run.rows.size());
    EXPECT_EQ("A" + longTitle.substr(0, 30), run.rows[0].title) << "31 bytes would split a character";
    EXPECT_EQ("http://a.example/one", run.rows[0].url);
    EXPECT_EQ(kBangsong, run.rows[1].title);
    EXPECT_EQ("c.example", run.rows[2].title) << "a missing title becomes the host name";
    EXPECT_EQ(4, run.im.skipped);
    EXPECT_EQ(0, run.im.stopped);
    ASSERT_EQ(IMPORT_REASONS_KEPT, run.im.reasonCount);
    EXPECT_EQ(SKIP_NOT_HTTP, run.im.reasons[0]);
    EXPECT_STREQ("https://secure.example/x", run.im.skippedAddresses[0]);
    EXPECT_EQ(SKIP_TOO_LONG, run.im.reasons[1]);
    EXPECT_EQ(std::string(run.im.skippedAddresses[1]), address200.substr(0, IMPORT_SHOWN_ADDRESS - 4) + "...");
    EXPECT_EQ(SKIP_DUPLICATE, run.im.reasons[2]) << "duplicates within the file count too";
    EXPECT_EQ(5, run.im.nextNumber) << "numbering goes on after the known row";
}

// A title or address holding a key's text would turn into another channel's value when read back.
TEST(HeldKeys, ImportSkipsThemAndSettingsTextsHoldingThemAreFound)
{
    EXPECT_TRUE(HoldsDeviceKey("x File2=http://evil/", -1));
    for (const char *held : {"Title12=a", "aPlsUrl3=b", "PPPoEPsw=", "q?NumberOfEntries=9", "MacAddr=x", "FW_Ver="})
        EXPECT_TRUE(HoldsDeviceKey(held, -1)) << held;
    for (const char *clean : {"http://s/a?type=.mp3", "http://s/;?sid=1&x=2", "File=", "Title 2=", "File2 =", "LocalIP"})
        EXPECT_FALSE(HoldsDeviceKey(clean, -1)) << clean;
    EXPECT_FALSE(HoldsDeviceKey("File2=", 5)) << "the key must end inside the length";

    Import in({}, 100000);
    EXPECT_EQ(1, in.Run("#EXTM3U\r\n#EXTINF:-1,x File2=http://evil/\r\nhttp://a/1\r\n"
                        "http://a/2?File1=http://evil/\r\n#EXTINF:-1,ok\r\nhttp://a/3?type=.mp3\r\n"));
    ASSERT_EQ(1u, in.rows.size());
    EXPECT_EQ("http://a/3?type=.mp3", in.rows[0].url);
    EXPECT_EQ(2, in.im.skipped);
    EXPECT_EQ(SKIP_HOLDS_KEY, in.im.reasons[0]);
    EXPECT_EQ(SKIP_HOLDS_KEY, in.im.reasons[1]);
    EXPECT_STREQ("http://a/1", in.im.skippedAddresses[0]);

    char key[32];
    EXPECT_EQ(0, FindValueHoldingKey("DhcpMode=1\r\nNumberOfEntries=1\r\nFile1=http://a/?sid=1\r\nTitle1=a=b\r\n", key, sizeof key));
    EXPECT_EQ(4, FindValueHoldingKey("DhcpMode=1\r\nNumberOfEntries=2\r\nFile1=http://a/\r\nTitle1=x File2=http://evil/\r\n",
                                     key, sizeof key));
    EXPECT_STREQ("Title1", key);
    EXPECT_EQ(1, ChannelOfKey(key));
    EXPECT_EQ(1, FindValueHoldingKey("PlsUrl1=http://p/?Title3=x\nFile1=a\n", key, sizeof key));
    EXPECT_STREQ("PlsUrl1", key);
    EXPECT_EQ(0, ChannelOfKey(key));
}

TEST(PlaylistImport, M3uTitlesAndTheSizeLimit)
{
    std::string text = "#EXTM3U\n#EXTINF:-1 tvg-name=\"a,b\",Radio, Seoul\nhttp://r/1\n# note\n\n"
                       "http://r/2\n#EXTINF:5,Three\n  http://r/3  \n";
    Import all({}, 65000);
    EXPECT_EQ(3, all.Run(text));
    EXPECT_EQ("Radio, Seoul", all.rows[0].title);
    EXPECT_EQ("r", all.rows[1].title) << "the title applies to the next address only";
    EXPECT_EQ("Three", all.rows[2].title);
    EXPECT_EQ("http://r/3", all.rows[2].url);

    // Room for exactly two rows: the third stops the import.
    int room = SettRowCost(1, 10, 12) + SettRowCost(2, 10, 1);
    EXPECT_EQ(39, SettRowCost(1, 10, 12)) << "File1=http://r/1\\r\\nTitle1=Radio, Seoul\\r\\n";
    Import tight({}, room);
    EXPECT_EQ(2, tight.Run(text));
    EXPECT_EQ(1, tight.im.stopped);
    EXPECT_EQ(0, tight.im.skipped);
    EXPECT_EQ(3, SettRowCost(10, 5, 5) - SettRowCost(9, 5, 5)) << "row 10 also lengthens NumberOfEntries";
}

TEST(PlaylistExport, PlsAndM3uInUtf8ReadBackTheSameRows)
{
    std::vector<Row> rows = {{kHanguk + " " + kBangsong, "http://k/1"}, {"Plain", "http://p/2"}};
    std::vector<char> out(PlaylistCapacity(2));
    int n = WritePlaylist(PLAYLIST_PLS, 2, ReadRowCell, &rows, out.data(), (int)out.size(), Test949ToUtf8);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string("[playlist]\r\nFile1=http://k/1\r\nTitle1=\xED\x95\x9C\xEA\xB5\xAD \xEB\xB0\xA9\xEC\x86\xA1\r\n"
                          "Length1=-1\r\nFile2=http://p/2\r\nTitle2=Plain\r\nLength2=-1\r\nNumberOfEntries=2\r\nVersion=2\r\n"),
              std::string(out.data(), n));
    EXPECT_EQ(PLAYLIST_M3U, PlaylistFormatForName("C:\\x\\list.M3U8"));
    EXPECT_EQ(PLAYLIST_PLS, PlaylistFormatForName("list.txt"));
    for (int format : {PLAYLIST_PLS, PLAYLIST_M3U}) {
        n = WritePlaylist(format, 2, ReadRowCell, &rows, out.data(), (int)out.size(), Test949ToUtf8);
        ASSERT_GT(n, 0);
        std::string text;
        ASSERT_EQ(FILE_PLAYLIST, Read(std::string(out.data(), n), &text)) << format;
        Import back({}, 65000);
        EXPECT_EQ(2, back.Run(text));
        ASSERT_EQ(2u, back.rows.size());
        EXPECT_EQ(rows[0].title, back.rows[0].title) << format;
        EXPECT_EQ(rows[1].url, back.rows[1].url) << format;
    }
    // A buffer one byte short gives nothing rather than a cut playlist.
    n = WritePlaylist(PLAYLIST_M3U, 2, ReadRowCell, &rows, out.data(), (int)out.size(), Test949ToUtf8);
    EXPECT_EQ(-1, WritePlaylist(PLAYLIST_M3U, 2, ReadRowCell, &rows, out.data(), n, Test949ToUtf8));
    EXPECT_EQ(0, out[0]);
}

}  // namespace
