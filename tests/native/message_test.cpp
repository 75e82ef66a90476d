// message_test.cpp: FIND bytes, SETT composition and its size limit, reading device texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/text.h"
#include "device/message.h"

namespace {

struct Channel {
    std::string title, url;
};

// Reads cells the way the channel list does: through the caller's buffer, cut to its size.
void ReadChannelCell(void *context, int row, int column, char *buffer, int size)
{
    const std::vector<Channel> &channels = *static_cast<const std::vector<Channel> *>(context);
    const std::string &cell = column == 2 ? channels[row].url : channels[row].title;
    CopyText(buffer, size, cell.c_str());
}

SettForm MakeForm(int mode, const char *mac, const char *const fields[SETT_FIELD_COUNT],
                  std::vector<Channel> *channels)
{
    SettForm form = {};
    form.mode = mode;
    form.macAddr = mac;
    for (int i = 0; i < SETT_FIELD_COUNT; i++) form.fields[i] = fields[i];
    form.channelCount = (int)channels->size();
    form.readCell = ReadChannelCell;
    form.context = channels;
    return form;
}

const char *const kFields[SETT_FIELD_COUNT] = {
    "192.168.0.50", "255.255.255.0", "192.168.0.1", "168.126.63.1",
    "user", "pw", "http://a.example/1.pls", "http://a.example/2.pls",
};

std::string Compose(const SettForm &form, int capacity = DEVICE_MESSAGE_MAX)
{
    std::vector<char> out(DEVICE_MESSAGE_MAX + 16, 'G');
    int length = ComposeSett(&form, out.data(), capacity);
    if (length < 0) return "<refused>";
    EXPECT_EQ('\0', out[length]);
    return std::string(out.data(), length);
}

}  // namespace

TEST(FindMessage, IsTwelveBytesWithItsNul)
{
    const unsigned char expected[12] = {'O', 'p', 'C', 'o', 'd', 'e', '=', 'F', 'I', 'N', 'D', 0};
    ASSERT_EQ(12u, sizeof FIND_MESSAGE);
    EXPECT_EQ(0, memcmp(expected, FIND_MESSAGE, 12));
}

TEST(ComposeSett, DhcpWithTwoChannelsByteForByte)
{
    std::vector<Channel> channels = {{"Jazz", "http://s1.example:8000/"}, {"뉴스", "http://s2.example/live"}};
    SettForm form = MakeForm(1, "00:11:22:33:44:55", kFields, &channels);
    std::string expected =
        "OpCode=SETT\r\n"
        "DhcpMode=1\r\n"
        "MacAddr=00:11:22:33:44:55\r\n"
        "LocalIP=192.168.0.50\r\n"
        "SubnetMask=255.255.255.0\r\n"
        "GatewayIP=192.168.0.1\r\n"
        "DNS_IP=168.126.63.1\r\n"
        "PPPoEID=user\r\n"
        "PPPoEPsw=pw\r\n"
        "PlsUrl1=http://a.example/1.pls\r\n"
        "PlsUrl2=http://a.example/2.pls\r\n"
        "NumberOfEntries=2\r\n"
        "File1=http://s1.example:8000/\r\n"
        "Title1=Jazz\r\n"
        "File2=http://s2.example/live\r\n"
        "Title2=뉴스\r\n";
    EXPECT_EQ(expected, Compose(form));
}

TEST(ComposeSett, NoModeAndNoChannels)
{
    std::vector<Channel> none;
    SettForm form = MakeForm(-1, "mac", kFields, &none);
    std::string text = Compose(form);
    EXPECT_NE(std::string::npos, text.find("\r\nDhcpMode=-1\r\n"));
    EXPECT_NE(std::string::npos, text.find("\r\nNumberOfEntries=0\r\n"));
    EXPECT_EQ(std::string::npos, text.find("File"));
    EXPECT_EQ(std::string::npos, text.find("Title"));
    const std::string tail = "\r\nPlsUrl2=http://a.example/2.pls\r\nNumberOfEntries=0\r\n";
    ASSERT_GT(text.size(), tail.size());
    EXPECT_EQ(tail, text.substr(text.size() - tail.size()));
}

TEST(ComposeSett, NullTextsAreEmptyAndLongValuesAreCut)
{
    std::string longValue(300, 'x');
    const char *fields[SETT_FIELD_COUNT] = {longValue.c_str(), nullptr, "", "", "", "", "", ""};
    std::vector<Channel> channels = {{std::string(200, 't'), std::string(200, 'u')}};
    SettForm form = MakeForm(0, nullptr, fields, &channels);
    std::string text = Compose(form);
    char value[DEVICE_VALUE_SIZE];
    GetKeyValue("LocalIP=", value, sizeof value, text.c_str());
    EXPECT_EQ(std::string(127, 'x'), value);
    EXPECT_NE(std::string::npos, text.find("\r\nLocalIP=" + std::string(127, 'x') + "\r\nSubnetMask=\r\n"));
    EXPECT_NE(std::string::npos, text.find("\r\nMacAddr=\r\n"));
    EXPECT_NE(std::string::npos, text.find("\r\nFile1=" + std::string(127, 'u') + "\r\nTitle1="
                                           + std::string(127, 't') + "\r\n"));
}

namespace {
// A careless reader that fills the whole buffer and leaves no NUL.
void ReadCellWithoutNul(void *, int, int, char *buffer, int size)
{
    memset(buffer, 'z', size);
}
}  // namespace

TEST(ComposeSett, CellReaderWithoutNulIsCutAt127)
{
    SettForm form = {};
    form.mode = 1;
    form.channelCount = 1;
    form.readCell = ReadCellWithoutNul;
    std::string text = Compose(form);
    EXPECT_NE(std::string::npos, text.find("\r\nFile1=" + std::string(127, 'z') + "\r\nTitle1="));
}

// Every value at its 127-byte maximum: 235 entries fit the 65,792-byte limit and 236 do not.
TEST(ComposeSett, FullSizeLimitAtTheBoundary)
{
    std::string full(127, 'v');
    const char *fields[SETT_FIELD_COUNT];
    for (auto &f : fields) f = full.c_str();
    std::vector<Channel> channels(236, Channel{full, full});

    std::vector<char> out(DEVICE_MESSAGE_MAX + 64, 'G');
    channels.resize(235);
    SettForm form = MakeForm(-1, full.c_str(), fields, &channels);
    int length = ComposeSett(&form, out.data(), DEVICE_MESSAGE_MAX);
    EXPECT_EQ(65694, length);
    EXPECT_EQ('\0', out[length]);
    EXPECT_EQ('G', out[length + 1]);

    channels.resize(236, Channel{full, full});
    form = MakeForm(-1, full.c_str(), fields, &channels);
    EXPECT_EQ(-1, ComposeSett(&form, out.data(), DEVICE_MESSAGE_MAX));
    EXPECT_EQ('\0', out[0]);
    EXPECT_EQ('G', out[DEVICE_MESSAGE_MAX]);  // nothing past the capacity
}

TEST(ComposeSett, CapacityCountsTheNul)
{
    std::vector<Channel> none;
    SettForm form = MakeForm(1, "m", kFields, &none);
    std::string text = Compose(form);
    int needed = (int)text.size() + 1;
    EXPECT_EQ(text, Compose(form, needed));
    EXPECT_EQ("<refused>", Compose(form, needed - 1));
    EXPECT_EQ("<refused>", Compose(form, 0));
}

TEST(ClassifyMessage, WholeCaseSensitiveOpcode)
{
    struct Case { const char *text; int kind; } cases[] = {
        {"OpCode=IMIN\r\nMacAddr=1\r\n", MESSAGE_IMIN},
        {"OpCode=SETC", MESSAGE_SETC},
        {"MacAddr=1\nOpCode=SETC\n", MESSAGE_SETC},
        {"OpCode=SETC\r", MESSAGE_SETC},
        {"OpCode= IMIN\r\n", MESSAGE_OTHER},
        {"opcode=IMIN\r\n", MESSAGE_OTHER},
        {"OpCode=imin\r\n", MESSAGE_OTHER},
        {"OpCode=IMINX\r\n", MESSAGE_OTHER},
        {"OpCode=IMI\r\n", MESSAGE_OTHER},
        {"OpCode=FIND", MESSAGE_OTHER},
        {"OpCode=SETT\r\n", MESSAGE_OTHER},
        {"OpCode=\r\n", MESSAGE_OTHER},
        {"", MESSAGE_OTHER},
    };
    for (const auto &c : cases) EXPECT_EQ(c.kind, ClassifyMessage(c.text)) << c.text;
}

TEST(ReadDeviceIdentity, LineEndsOfEveryKind)
{
    const char *texts[] = {
        "OpCode=IMIN\r\nMacAddr=00-A0-B1\r\nFW_Ver=1.2 b\r\n",
        "OpCode=IMIN\nMacAddr=00-A0-B1\nFW_Ver=1.2 b\n",
        "OpCode=IMIN\rMacAddr=00-A0-B1\rFW_Ver=1.2 b\r",
        "OpCode=IMIN\nMacAddr=00-A0-B1\r\nFW_Ver=1.2 b",
    };
    for (const char *text : texts) {
        char mac[DEVICE_VALUE_SIZE], firmware[DEVICE_VALUE_SIZE];
        ReadDeviceIdentity(text, mac, sizeof mac, firmware, sizeof firmware);
        EXPECT_STREQ("00-A0-B1", mac);
        EXPECT_STREQ("1.2 b", firmware);
    }
}

TEST(ReadDeviceIdentity, MissingKeysAndSmallBuffers)
{
    char mac[8], firmware[4];
    ReadDeviceIdentity("OpCode=IMIN\r\nMacAddr=0123456789AB\r\n", mac, sizeof mac, firmware, sizeof firmware);
    EXPECT_STREQ("0123456", mac);
    EXPECT_STREQ("", firmware);
}

TEST(StoredText, NumberedKeysMatchWholeNumbers)
{
    char key[16];
    MakeNumberedKey(key, sizeof key, "Title", 1);
    EXPECT_STREQ("Title1=", key);
    MakeNumberedKey(key, sizeof key, "File", 12);
    EXPECT_STREQ("File12=", key);

    const char *text = "Title10=ten\r\nTitle1=one\r\n";
    char value[DEVICE_VALUE_SIZE];
    MakeNumberedKey(key, sizeof key, "Title", 1);
    GetKeyValue(key, value, sizeof value, text);
    EXPECT_STREQ("one", value);

    char tiny[7];
    MakeNumberedKey(tiny, sizeof tiny, "Title", 1);  // "Title1=" needs 8 bytes
    EXPECT_STREQ("", tiny);
}

TEST(StoredText, ValuesKeepEqualsSignsAndBlanks)
{
    const char *text = "File1=http://h/p?x=1&y=2\nTitle1= spaced \n";
    char value[DEVICE_VALUE_SIZE];
    GetKeyValue("File1=", value, sizeof value, text);
    EXPECT_STREQ("http://h/p?x=1&y=2", value);
    GetKeyValue("Title1=", value, sizeof value, text);
    EXPECT_STREQ(" spaced ", value);
}

TEST(ReadEntryCount, ParsedNegativeAndBounded)
{
    struct Case { const char *text; int count; } cases[] = {
        {"NumberOfEntries=2\r\n", 2},
        {"NumberOfEntries=0x10\r\n", 16},
        {"NumberOfEntries=-3\r\n", 0},
        {"NumberOfEntries=abc\r\n", 0},
        {"OpCode=IMIN\r\n", 0},
        {"NumberOfEntries=5060\r\n", 5060},
        {"NumberOfEntries=5061\r\n", 5060},
        {"NumberOfEntries=2147483647\r\n", 5060},
        {"NumberOfEntries=4294967295\r\n", 0},  // wraps to -1
    };
    for (const auto &c : cases) EXPECT_EQ(c.count, ReadEntryCount(c.text)) << c.text;
}
