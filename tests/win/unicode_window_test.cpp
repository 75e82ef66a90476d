// unicode_window_test.cpp: the window in UTF-16 whatever the system's code page, code page 949 on the
// wire and in files. These run under both test locales (ko_KR: code page 949, C: code page 1252) and
// read everything back through the W functions.
#include "tests/win/ui_test_helpers.h"
#include "tests/win/live_stream_server.h"
#include <commdlg.h>
#include "ui/file_commands.h"
#include "ui/texts.h"

using namespace uitest;

namespace {

// Korean written as UTF-16 by the compiler from the UTF-8 source, apart from any code page.
#define WIDE(text) L"" text

std::wstring WideColumnTitle(HWND window, int id, int column)
{
    WCHAR text[64];
    text[0] = 0;
    LVCOLUMNW info;
    memset(&info, 0, sizeof info);
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = 64;
    SendDlgItemMessageW(window, id, LVM_GETCOLUMNW, column, (LPARAM)&info);
    return text;
}

// The static label whose text is wanted, found among the window's children.
bool HasChildText(HWND window, const std::wstring &wanted)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        WCHAR text[128];
        text[0] = 0;
        GetWindowTextW(child, text, 128);
        if (wanted == text) return true;
    }
    return false;
}

// The radio's title "한국 방송" as it comes from a radio: code page 949 bytes.
const char kDevice[] =
    "OpCode=IMIN\r\nMacAddr=AA\r\nFW_Ver=1\r\nDhcpMode=2\r\nLocalIP=10.0.0.5\r\nSubnetMask=255.0.0.0\r\n"
    "PPPoEID=kim\r\nPPPoEPsw=pw\r\nPlsUrl1=http://a/1.pls\r\nPlsUrl2=http://a/2.pls\r\nNumberOfEntries=1\r\n"
    "File1=http://s/one\r\nTitle1=\xC7\xD1\xB1\xB9 \xB9\xE6\xBC\xDB\r\n";

class UnicodeWindowTest : public WindowTest {
protected:
    LiveServer server;
    void SetUp() override
    {
        WindowTest::SetUp();
        // Should a send ever get through, it goes to the discard port on loopback, not the LAN.
        SetDeviceLinkDestination(htonl(INADDR_LOOPBACK), 9);
        server.Start();
        AddDeviceRow(window, kDevice, "AA");
        ClickDeviceRow(window, 0);
    }
    void TearDown() override
    {
        server.Stop();
        WindowTest::TearDown();
        SetDeviceLinkDestination(0xFFFFFFFF, 0);
    }
    std::string Sett()
    {
        std::string block(SETT_WORK_BLOCK, '\0');
        int length = ComposeFormSett(window, 0, &block[0]);
        return length < 0 ? std::string("(too long)") : block.substr(0, length);
    }
};

TEST_F(UnicodeWindowTest, WindowTextsAndARadiosTitleReadBackAsKorean)
{
    EXPECT_TRUE(IsWindowUnicode(window));
    EXPECT_TRUE(IsWindowUnicode(GetDlgItem(window, IDC_SIZE_GRIP)));
    EXPECT_TRUE(IsWindowUnicode(GetDlgItem(window, IDC_CHANNEL_LIST))) << "its subclass too";
    EXPECT_EQ(WIDE(TEXT_MAIN_CAPTION), WideText(window, 0));
    EXPECT_EQ(WIDE(TEXT_SEARCH_BUTTON), WideText(window, IDC_SEARCH));
    EXPECT_EQ(WIDE(TEXT_CHANNEL_ADD_BUTTON), WideText(window, IDC_CHANNEL_ADD));
    EXPECT_EQ(WIDE(TEXT_CHANNEL_MODIFY_BUTTON), WideText(window, IDC_CHANNEL_MODIFY));
    EXPECT_EQ(WIDE(TEXT_CHANNEL_DELETE_BUTTON), WideText(window, IDC_CHANNEL_DELETE));
    EXPECT_EQ(WIDE(TEXT_CHANNEL_DELETE_ALL_BUTTON), WideText(window, IDC_CHANNEL_DELETE_ALL));
    for (const wchar_t *label : {WIDE(TEXT_PLS_URL1_LABEL), WIDE(TEXT_CHANNEL_LIST_LABEL), WIDE(TEXT_CHANNEL_NAME_LABEL),
                                 WIDE(TEXT_SERVER_URL_LABEL)})
        EXPECT_TRUE(HasChildText(window, label)) << "a label of the template";
    EXPECT_EQ(WIDE(TEXT_COLUMN_NUMBER), WideColumnTitle(window, IDC_CHANNEL_LIST, 0));
    EXPECT_EQ(WIDE(TEXT_COLUMN_TITLE), WideColumnTitle(window, IDC_CHANNEL_LIST, 1));
    EXPECT_EQ(WIDE(TEXT_COLUMN_SERVER), WideColumnTitle(window, IDC_CHANNEL_LIST, 2));

    // The radio's 949 title, in the list and in the edit after a click on its row.
    EXPECT_EQ(L"\uD55C\uAD6D \uBC29\uC1A1", WideCell(window, IDC_CHANNEL_LIST, 0, 1));
    SetListRowState(window, IDC_CHANNEL_LIST, 0, LVIS_SELECTED, LVIS_SELECTED);
    SendClick(window, IDC_CHANNEL_LIST);
    EXPECT_EQ(L"\uD55C\uAD6D \uBC29\uC1A1", WideText(window, IDC_CHANNEL_NAME));

    // A box's text, read in UTF-16 by a hook of its own.
    ClearListSelection(window, IDC_DEVICE_LIST);
    QueueBoxAnswer(IDOK);
    Command(window, IDC_SEND);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(TEXT_SELECT_DEVICE, BoxText(0));
}

TEST_F(UnicodeWindowTest, TypedTitleGoesOutAsTheSame949BytesAndEditsKeepThe949Limits)
{
    SetDlgItemTextW(window, IDC_CHANNEL_NAME, L"\uD55C\uAD6D \uBC29\uC1A1 FM");
    SetDlgItemTextW(window, IDC_CHANNEL_URL, (L"http://127.0.0.1:" + std::to_wstring(server.port) + L"/").c_str());
    Command(window, IDC_CHANNEL_ADD);
    EXPECT_EQ(0, BoxCount());
    ASSERT_EQ(2, GetListRowCount(window, IDC_CHANNEL_LIST));
    std::string sett = Sett();
    EXPECT_NE(std::string::npos, sett.find("\r\nTitle1=\xC7\xD1\xB1\xB9 \xB9\xE6\xBC\xDB\r\n")) << sett;
    EXPECT_NE(std::string::npos, sett.find("\r\nTitle2=\xC7\xD1\xB1\xB9 \xB9\xE6\xBC\xDB FM\r\n")) << sett;

    // 31 bytes for a title: "a" and 15 syllables (2 bytes each) fit, the 16th is cut whole.
    std::wstring syllables(20, L'\uAC00');
    SetDlgItemTextW(window, IDC_CHANNEL_NAME, (L"a" + syllables).c_str());
    EXPECT_EQ(L"a" + std::wstring(15, L'\uAC00'), WideText(window, IDC_CHANNEL_NAME));
    // 127 bytes for a URL and every other field.
    for (int id : {IDC_CHANNEL_URL, IDC_PLS_URL1, IDC_PPPOE_ID}) {
        SetDlgItemTextW(window, id, std::wstring(200, L'x').c_str());
        EXPECT_EQ(std::wstring(127, L'x'), WideText(window, id)) << id;
        SetDlgItemTextW(window, id, (L"x" + syllables + syllables + syllables + syllables).c_str());
        EXPECT_EQ(L"x" + std::wstring(63, L'\uAC00'), WideText(window, id)) << id;
    }
}

TEST_F(UnicodeWindowTest, A949LessCharacterIsRefusedNamingItsFieldAndNothingGoesOut)
{
    const wchar_t emoji[] = L"Radio \U0001F4FB";
    SetDlgItemTextW(window, IDC_CHANNEL_NAME, emoji);
    SetText949(window, IDC_CHANNEL_URL, DeadUrl().c_str());   // never probed: the title is refused first
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_ADD);
    ASSERT_EQ(1, BoxCount());
    char expected[512];
    wsprintfA(expected, TEXT_FIELD_NOT_949, TEXT_CHANNEL_NAME_LABEL);
    EXPECT_STREQ(expected, BoxText(0));
    EXPECT_EQ(1, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ(emoji, WideText(window, IDC_CHANNEL_NAME)) << "the user's text stays";

    // A PPPoE ID no radio can take: the send stops at the first box, and so does a save.
    SetDlgItemTextW(window, IDC_PPPOE_ID, L"kim\u0E44");   // a Thai letter: not in KS X 1001
    QueueBoxAnswer(IDOK);
    Command(window, IDC_SEND);
    ASSERT_EQ(2, BoxCount());
    wsprintfA(expected, TEXT_FIELD_NOT_949, TEXT_FIELD_PPPOE_ID);
    EXPECT_STREQ(expected, BoxText(1));
    QueueBoxAnswer(IDOK);
    Command(window, IDM_SAVE_SETTINGS);
    ASSERT_EQ(3, BoxCount());
    EXPECT_STREQ(expected, BoxText(2));
    EXPECT_EQ(0, FileDialogCount()) << "no file is asked for";
    EXPECT_EQ(0, UnexpectedBoxCount());
    EXPECT_EQ(1, GetListRowCount(window, IDC_CHANNEL_LIST));
}

// A folder name neither 949 nor 1252 can spell: saving and opening go through it unharmed.
TEST_F(UnicodeWindowTest, SettingsFileInAThaiAndKoreanFolderSavesAndOpens)
{
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = std::wstring(temp) + L"\u0E44\u0E17\u0E22\uD55C\\";
    CreateDirectoryW(dir.c_str(), 0);
    std::wstring path = dir + L"\uC124\u0E44.txt";
    DeleteFileW(path.c_str());

    QueueWideFileAnswer(path.c_str());
    Command(window, IDM_SAVE_SETTINGS);
    EXPECT_EQ(0, BoxCount()) << (BoxCount() ? BoxText(0) : "");
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    char bytes[4096];
    DWORD got = 0;
    ReadFile(file, bytes, sizeof bytes, &got, 0);
    CloseHandle(file);
    std::string saved(bytes, got);
    EXPECT_EQ(Sett(), saved);
    EXPECT_NE(std::string::npos, saved.find("Title1=\xC7\xD1\xB1\xB9 \xB9\xE6\xBC\xDB\r\n"));

    DeleteAllListRows(window, IDC_CHANNEL_LIST);
    QueueWideFileAnswer(path.c_str());
    Command(window, IDM_OPEN_SETTINGS);
    EXPECT_EQ(0, BoxCount()) << (BoxCount() ? BoxText(0) : "");
    EXPECT_EQ(saved, Sett());
    // The same name taken straight, as the command line and a drop give it.
    DeleteAllListRows(window, IDC_CHANNEL_LIST);
    g_main.changedFlag = 0;
    EXPECT_EQ(1, ApplyFileByContent(window, path.c_str()));
    EXPECT_EQ(saved, Sett());
    EXPECT_EQ(0, UnexpectedBoxCount());
    DeleteFileW(path.c_str());
    RemoveDirectoryW(dir.c_str());
}

}  // namespace
