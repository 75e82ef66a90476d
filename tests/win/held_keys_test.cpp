// held_keys_test.cpp: titles and addresses holding another key's text ("x File2=http://...") never
// reach a text the window writes: add, modify, open, import, save and send each refuse them.
#include "tests/win/ui_test_helpers.h"
#include "ui/texts.h"

using namespace uitest;

namespace {

// A radio whose first title holds the text of a key: read back, it would move channel 2.
const char kHeldDevice[] =
    "OpCode=IMIN\r\nMacAddr=AA\r\nDhcpMode=1\r\nPlsUrl1=http://127.0.0.1:1/a\r\nPlsUrl2=http://127.0.0.1:1/b\r\n"
    "NumberOfEntries=2\r\nFile1=http://s/one\r\nTitle1=x File2=http://evil/\r\nFile2=http://s/two\r\nTitle2=Two\r\n";

class HeldKeyTest : public WindowTest {
protected:
    std::string dir;
    void SetUp() override
    {
        WindowTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        dir = temp;
        AddDeviceRow(window, kHeldDevice, "AA");
        ClickDeviceRow(window, 0);
    }
    std::string Write(const char *name, const std::string &bytes)
    {
        std::string path = dir + name;
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
        DWORD n = 0;
        WriteFile(f, bytes.data(), (DWORD)bytes.size(), &n, 0);
        CloseHandle(f);
        return path;
    }
    std::string Rows()
    {
        std::string s;
        for (int row = 0; row < GetListRowCount(window, IDC_CHANNEL_LIST); row++)
            s += Cell(window, IDC_CHANNEL_LIST, row, 1) + "=" + Cell(window, IDC_CHANNEL_LIST, row, 2) + "|";
        return s;
    }
};

TEST_F(HeldKeyTest, AddModifyOpenAndImportRefuseThem)
{
    const std::string loaded = Rows();
    SetDlgItemTextA(window, IDC_CHANNEL_NAME, "x File2=http://evil/");
    SetDlgItemTextA(window, IDC_CHANNEL_URL, "http://127.0.0.1:1/a");
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_ADD);
    SetDlgItemTextA(window, IDC_CHANNEL_NAME, "ok");
    SetDlgItemTextA(window, IDC_CHANNEL_URL, "http://s/?Title1=x");
    SetListRowState(window, IDC_CHANNEL_LIST, 1, LVIS_SELECTED, LVIS_SELECTED);
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_MODIFY);
    ASSERT_EQ(2, BoxCount());
    EXPECT_STREQ(TEXT_CHANNEL_HOLDS_KEY, BoxText(0));
    EXPECT_STREQ(TEXT_CHANNEL_HOLDS_KEY, BoxText(1));
    EXPECT_EQ(Item(IDC_CHANNEL_URL), GetFocus());
    EXPECT_EQ(loaded, Rows());
    EXPECT_EQ(0, g_main.changedFlag);

    // A settings file with such a value is damaged: refused, nothing changes.
    std::string damaged = Write("sr_held.txt", "DhcpMode=0\r\nLocalIP=9.9.9.9\r\nNumberOfEntries=1\r\nFile1=http://d/\r\n"
                                               "Title1=a NumberOfEntries=0\r\n");
    QueueBoxAnswer(IDOK);
    QueueFileAnswer(damaged.c_str());
    Command(window, IDM_OPEN_SETTINGS);
    EXPECT_EQ("'" + damaged + "'\n" + TEXT_FILE_HOLDS_KEY, std::string(BoxText(2)));
    EXPECT_EQ(loaded, Rows());
    EXPECT_EQ("", Text(window, IDC_LOCALIP));

    // An imported entry with such a title is left out and named; an ordinary query string is taken.
    std::string playlist = Write("sr_held.m3u", "#EXTM3U\r\n#EXTINF:-1,x File2=http://evil/\r\nhttp://s/three\r\n"
                                                "http://s/four?type=.mp3\r\n");
    QueueBoxAnswer(IDOK);
    QueueFileAnswer(playlist.c_str());
    Command(window, IDM_IMPORT_PLAYLIST);
    EXPECT_EQ(loaded + "s=http://s/four?type=.mp3|", Rows());
    EXPECT_NE(std::string::npos, std::string(BoxText(3)).find("\n주소나 제목에 설정 항목 이름(File2= 같은)이 들어 있습니다: http://s/three"));
    EXPECT_EQ(0, UnexpectedBoxCount());
    DeleteFileA(damaged.c_str());
    DeleteFileA(playlist.c_str());
}

TEST_F(HeldKeyTest, SaveAndSendOfARadiosValueNameTheChannel)
{
    std::string path = dir + "sr_held_save.txt";
    DeleteFileA(path.c_str());
    char named[256];
    wsprintfA(named, TEXT_VALUE_HOLDS_KEY, "1번 채널");
    QueueBoxAnswer(IDOK);
    QueueFileAnswer(path.c_str());
    Command(window, IDM_SAVE_SETTINGS);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(named, BoxText(0));
    EXPECT_EQ("(none)", FileBytes(path.c_str()));

    // Send: both Pls addresses are dead (go on), the apply question, then the refusal; nothing is sent.
    for (int i = 0; i < 4; i++) QueueBoxAnswer(IDOK);
    Command(window, IDC_SEND);
    ASSERT_EQ(5, BoxCount());
    EXPECT_STREQ(named, BoxText(4));
    EXPECT_STREQ(kHeldDevice, (const char *)GetListRowData(window, IDC_DEVICE_LIST, 0, 0)) << "the row keeps the radio's text";
    EXPECT_EQ(0, UnexpectedBoxCount());
}

}  // namespace
