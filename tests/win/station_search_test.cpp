// station_search_test.cpp: the station search dialog against a loopback directory: only what the
// radio can take is listed and checked, three selected stations are added with their titles and
// addresses and each is clicked once with the User-Agent; an unreachable directory gives the
// status line's error and changes nothing.
#include "tests/win/ui_test_helpers.h"
#include "tests/win/live_stream_server.h"
#include <functional>
#include <string>
#include <vector>
#include "ui/station_search.h"
#include "ui/texts.h"

using namespace uitest;

namespace {

int g_streamPort;

// Six stations: three the radio can take, then https only, HLS and an address over 127 bytes.
std::string DirectoryAnswer(const std::string &path)
{
    if (path.rfind("/json/url/", 0) == 0) return "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}";
    std::string s = "http://127.0.0.1:" + std::to_string(g_streamPort);
    std::string body = "[\n"
        "{\"stationuuid\":\"uuid-a\",\"name\":\"Alpha FM\",\"url\":\"" + s + "/a\",\"url_resolved\":\"" + s + "/a\",\"countrycode\":\"DE\",\"codec\":\"MP3\",\"bitrate\":128,\"votes\":50,\"hls\":0},\n"
        "{\"stationuuid\":\"uuid-b\",\"name\":\"Seoul \\ud55c\\uad6d Radio\",\"url\":\"" + s + "/b\",\"url_resolved\":\"https://x.example/b\",\"countrycode\":\"KR\",\"codec\":\"AAC\",\"bitrate\":64,\"votes\":40,\"hls\":0},\n"
        "{\"stationuuid\":\"uuid-c\",\"name\":\"  \",\"url\":\"" + s + "/c\",\"url_resolved\":\"" + s + "/c\",\"countrycode\":\"FR\",\"codec\":\"MP3\",\"bitrate\":96,\"votes\":30,\"hls\":0},\n"
        "{\"stationuuid\":\"uuid-d\",\"name\":\"Secure\",\"url\":\"https://x.example/d\",\"url_resolved\":\"https://x.example/d\",\"hls\":0},\n"
        "{\"stationuuid\":\"uuid-e\",\"name\":\"Segments\",\"url\":\"" + s + "/e.m3u8\",\"url_resolved\":\"" + s + "/e.m3u8\",\"hls\":1},\n"
        "{\"stationuuid\":\"uuid-f\",\"name\":\"Long\",\"url\":\"" + s + "/" + std::string(120, 'f') + "\",\"url_resolved\":\"\",\"hls\":0}\n]";
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::wstring Wide(const char *text, UINT codePage)
{
    WCHAR out[512];
    if (MultiByteToWideChar(codePage, 0, text, -1, out, 512) <= 0) out[0] = 0;
    return out;
}

// The dialog is modal: a timer started before it opens drives it from inside its message loop.
std::function<void(HWND)> g_drive;

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowW(L"#32770", Wide(TEXT_FIND_CAPTION, 949).c_str());
    if (!dialog || !GetDlgItem(dialog, IDC_FIND_LIST)) return;   // not open yet: the next tick
    KillTimer(0, timer);
    g_drive(dialog);
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

// Pumps until done() or ms pass; false when the time ran out.
bool PumpUntil(HWND window, int ms, const std::function<bool()> &done)
{
    for (int waited = 0; waited < ms; waited += 10) {
        if (done()) return true;
        PumpMessages(window, 10);
    }
    return done();
}

class StationSearchTest : public WindowTest {
protected:
    LiveServer directory;
    LiveServer stream;

    void SetUp() override
    {
        WindowTest::SetUp();
        stream.Start();
        g_streamPort = stream.port;
        directory.answer = DirectoryAnswer;
        directory.Start();
        AddDeviceRow(window, "OpCode=IMIN\r\nMacAddr=00:1A:2B:3C:4D:5E\r\nDhcpMode=1\r\nNumberOfEntries=1\r\n"
                             "Title1=Old\r\nFile1=http://old.example/x\r\n", "00:1A:2B:3C:4D:5E");
        ClickDeviceRow(window, 0);
    }
    void TearDown() override
    {
        WritePrivateProfileStringW(L"Directory", 0, 0, g_iniPath);
        directory.Stop();
        stream.Stop();
        WindowTest::TearDown();
    }
    void OpenDialog(const std::string &url, std::function<void(HWND)> drive)
    {
        WriteSetting("Directory", "Url", url.c_str());
        g_drive = drive;
        SetTimer(0, 0, 20, DriveDialog);
        Command(window, IDM_FIND_STATIONS);
    }
    std::string Rows()
    {
        std::string s;
        for (int row = 0; row < GetListRowCount(window, IDC_CHANNEL_LIST); row++)
            s += Cell(window, IDC_CHANNEL_LIST, row, 1) + "=" + Cell(window, IDC_CHANNEL_LIST, row, 2) + "\n";
        return s;
    }
};

TEST_F(StationSearchTest, AddsTheSelectedStationsThatTheRadioCanTakeAndClicksEach)
{
    std::string s = stream.Base();
    int listed = -1, checked = 0;
    std::wstring status, name, state;
    OpenDialog(directory.Base(), [&](HWND dialog) {
        SetWindowTextW(GetDlgItem(dialog, IDC_FIND_NAME), L"a");
        SendMessageW(dialog, WM_COMMAND, IDC_FIND_SEARCH, 0);
        HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
        // Every row checked: the 상태 column no longer says it is checking.
        checked = PumpUntil(dialog, 20000, [&] {
            int rows = (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
            if (rows == 0) return false;
            for (int row = 0; row < rows; row++)
                if (WideCell(dialog, IDC_FIND_LIST, row, 5).empty() || WideCell(dialog, IDC_FIND_LIST, row, 5) == Wide(TEXT_FIND_CHECKING, 949)) return false;
            return true;
        });
        listed = (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
        status = WideText(dialog, IDC_FIND_STATUS);
        name = WideCell(dialog, IDC_FIND_LIST, 1, 0);
        state = WideCell(dialog, IDC_FIND_LIST, 0, 5);
        LVITEMW item = {};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
        QueueBoxAnswer(IDOK);   // the report
        SendMessageW(dialog, WM_COMMAND, IDC_FIND_ADD, 0);
    });
    ASSERT_TRUE(checked) << "the 상태 column was not filled within 20 s; boxes: " << BoxCount() << " " << BoxText(0);
    EXPECT_EQ(3, listed);
    EXPECT_EQ(Wide("방송국 3개를 찾았습니다 (재생할 수 없어 뺀 방송국 3개)", 949), status);
    EXPECT_EQ(L"Seoul \uD55C\uAD6D Radio", name);
    EXPECT_EQ(Wide(TEXT_REASON_LIVE, 949), state);
    EXPECT_EQ("Old=http://old.example/x\nAlpha FM=" + s + "/a\nSeoul 한국 Radio=" + s + "/b\n127.0.0.1=" + s + "/c\n", Rows());
    EXPECT_EQ(1, g_main.changedFlag);
    ASSERT_EQ(1, BoxCount());
    EXPECT_EQ(0, strncmp(BoxText(0), "채널 3개를 추가했습니다", strlen("채널 3개를 추가했습니다")));
    // The clicks go from a worker after the report: a bounded wait names what it waits for.
    auto clicks = [&] {
        int n = 0;
        for (const std::string &line : directory.Log()) n += line.rfind("/json/url/", 0) == 0;
        return n;
    };
    ASSERT_TRUE(PumpUntil(window, 10000, [&] { return clicks() >= 3; })) << "three clicks within 10 s";
    std::vector<std::string> log = directory.Log();
    ASSERT_EQ(4u, log.size());
    EXPECT_EQ(0u, log[0].find("/json/stations/search?name=a&"));
    EXPECT_NE(std::string::npos, log[0].find(" UA=SetRadio/1.0.0"));
    std::string all = log[1] + "|" + log[2] + "|" + log[3];
    for (const char *uuid : {"uuid-a", "uuid-b", "uuid-c"})
        EXPECT_NE(std::string::npos, all.find(std::string("/json/url/") + uuid + " UA=SetRadio/1.0.0")) << uuid;
}

// 다른 주소 찾기: the channel's title is searched at once; 바꾸기 takes exactly one station, refuses
// an address another channel holds, then replaces the address, keeps the title and clicks once.
TEST_F(StationSearchTest, FindsAnotherAddressForTheSelectedChannel)
{
    std::string s = stream.Base();
    AddDeviceRow(window, ("OpCode=IMIN\r\nMacAddr=00:1A:2B:3C:4D:5F\r\nDhcpMode=1\r\nNumberOfEntries=2\r\n"
                          "Title1=Dead\r\nFile1=http://dead.example/x\r\nTitle2=Alpha\r\nFile2=" + s + "/a\r\n").c_str(),
                 "00:1A:2B:3C:4D:5F");
    ClickDeviceRow(window, 1);
    SelectListRow(window, IDC_CHANNEL_LIST, 0);
    std::wstring name, button;
    bool waitsForOne = false, twoRefused = false, oneTaken = false, stillOpen = false, closed = false;
    int boxesAfterDuplicate = -1;
    g_drive = [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_FIND_LIST);
        name = WideText(dialog, IDC_FIND_NAME);
        button = WideText(dialog, IDC_FIND_ADD);
        waitsForOne = !IsWindowEnabled(GetDlgItem(dialog, IDC_FIND_ADD));
        PumpUntil(dialog, 20000, [&] {
            int rows = (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
            for (int row = 0; row < rows; row++)
                if (WideCell(dialog, IDC_FIND_LIST, row, 5) == Wide(TEXT_FIND_CHECKING, 949)) return false;
            return rows == 3;
        });
        LVITEMW item = {};
        item.stateMask = item.state = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
        twoRefused = !IsWindowEnabled(GetDlgItem(dialog, IDC_FIND_ADD));
        item.state = 0;
        SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
        item.state = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, 0, (LPARAM)&item);   // Alpha FM: channel 2 holds it
        oneTaken = IsWindowEnabled(GetDlgItem(dialog, IDC_FIND_ADD)) != 0;
        QueueBoxAnswer(IDOK);
        SendMessageW(dialog, WM_COMMAND, IDC_FIND_ADD, 0);
        boxesAfterDuplicate = BoxCount();
        stillOpen = !IsWindowEnabled(window);   // a modal dialog disables its owner until it ends
        item.state = 0;
        SendMessageW(list, LVM_SETITEMSTATE, 0, (LPARAM)&item);
        item.state = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, 2, (LPARAM)&item);   // the nameless station at /c
        SendMessageW(dialog, WM_COMMAND, IDC_FIND_ADD, 0);
        closed = IsWindowEnabled(window) != 0;
    };
    WriteSetting("Directory", "Url", (directory.Base()).c_str());
    SetTimer(0, 0, 20, DriveDialog);
    Command(window, IDM_FIND_OTHER_ADDRESS);
    EXPECT_EQ(L"Dead", name);
    EXPECT_EQ(Wide(TEXT_FIND_REPLACE_BUTTON, 949), button);
    EXPECT_TRUE(waitsForOne && twoRefused && oneTaken) << waitsForOne << twoRefused << oneTaken;
    ASSERT_EQ(1, boxesAfterDuplicate);
    EXPECT_STREQ(("이미 목록에 있는 주소입니다: " + s + "/a").c_str(), BoxText(0));
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(closed);
    EXPECT_EQ("Dead=" + s + "/c\nAlpha=" + s + "/a\n", Rows());
    EXPECT_EQ(1, g_main.changedFlag);
    ASSERT_TRUE(PumpUntil(window, 10000, [&] { return directory.Log().size() >= 2; })) << "the click within 10 s";
    std::vector<std::string> log = directory.Log();
    EXPECT_EQ(0u, log[0].find("/json/stations/search?name=Dead&"));
    EXPECT_EQ("/json/url/uuid-c UA=SetRadio/1.0.0", log[1]);
}

TEST_F(StationSearchTest, WithNoChannelSelectedAnotherAddressAsksForOne)
{
    QueueBoxAnswer(IDOK);
    Command(window, IDM_FIND_OTHER_ADDRESS);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(TEXT_SELECT_CHANNEL_TO_MODIFY, BoxText(0));
}

TEST_F(StationSearchTest, AnUnreachableDirectoryIsNamedOnTheStatusLineAndChangesNothing)
{
    std::string dead = DeadUrl();
    std::wstring status;
    int rows = -1;
    OpenDialog(dead.substr(0, dead.rfind('/')), [&](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, IDC_FIND_SEARCH, 0);
        PumpUntil(dialog, 20000, [&] { return WideText(dialog, IDC_FIND_STATUS) != Wide(TEXT_FIND_SEARCHING, 949); });
        status = WideText(dialog, IDC_FIND_STATUS);
        rows = (int)SendMessageW(GetDlgItem(dialog, IDC_FIND_LIST), LVM_GETITEMCOUNT, 0, 0);
        SendMessageW(dialog, WM_COMMAND, IDC_FIND_ADD, 0);
    });
    EXPECT_EQ(Wide(TEXT_FIND_UNREACHABLE, 949), status);
    EXPECT_EQ(0, rows);
    EXPECT_EQ("Old=http://old.example/x\n", Rows());
    EXPECT_EQ(0, g_main.changedFlag);
    EXPECT_EQ(0, BoxCount());
}

TEST_F(StationSearchTest, NeedsALoadedRadio)
{
    ClearListSelection(window, IDC_DEVICE_LIST);
    QueueBoxAnswer(IDOK);
    Command(window, IDM_FIND_STATIONS);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(TEXT_SELECT_DEVICE, BoxText(0));
}

}  // namespace
