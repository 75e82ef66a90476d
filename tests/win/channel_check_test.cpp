// channel_check_test.cpp: the check of every channel against loopback servers: the ChannelList's
// menu while it runs (only the check's item works, as its stop command); nothing changes the list
// meanwhile; the result box in two groups, Yes deleting only unchanged rows with no stream; and a
// cancel while results arrive, followed at once by a new check.
#include "tests/win/ui_test_helpers.h"
#include "tests/win/live_stream_server.h"
#include <shellapi.h>
#include <shlobj.h>
#include <atomic>
#include <string>
#include <thread>
#include <vector>
#include "ui/channel_check.h"
#include "ui/file_commands.h"
#include "ui/texts.h"

using namespace uitest;

namespace {

int g_menus;
std::string g_checkText;
int g_grayed;

void CALLBACK CloseCheckMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(0, timer);
    EndMenu();
}

LRESULT CALLBACK ReadCheckMenu(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *m = (const CWPSTRUCT *)lParam;
    if (code == HC_ACTION && m->message == WM_INITMENUPOPUP) {
        HMENU menu = (HMENU)m->wParam;
        g_menus++;
        WCHAR wide[64] = {0};
        GetMenuStringW(menu, IDM_CHECK_ALL, wide, 64, MF_BYCOMMAND);
        char text[128] = {0};
        WideCharToMultiByte(949, 0, wide, -1, text, sizeof text, 0, 0);
        g_checkText = text;
        for (int i = 0; i < GetMenuItemCount(menu); i++)
            if (GetMenuState(menu, (UINT)i, MF_BYPOSITION) & MF_GRAYED) g_grayed++;
        SetTimer(0, 0, 30, CloseCheckMenu);
    }
    return CallNextHookEx(0, code, wParam, lParam);
}

// The last WM_SETREDRAW the DeviceList was sent: -1 none, else its wParam.
HWND g_deviceList;
int g_deviceListRedraw;

LRESULT CALLBACK WatchDeviceListRedraw(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *m = (const CWPSTRUCT *)lParam;
    if (code == HC_ACTION && m->hwnd == g_deviceList && m->message == WM_SETREDRAW) g_deviceListRedraw = (int)m->wParam;
    return CallNextHookEx(0, code, wParam, lParam);
}

// A loopback listener that never accepts: each probe of it waits until the listener closes.
struct SilentServer {
    SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
    std::string url;
    SilentServer()
    {
        sockaddr_in a = LoopbackAddress(0);
        bind(listener, (sockaddr *)&a, sizeof a);
        int len = sizeof a;
        getsockname(listener, (sockaddr *)&a, &len);
        listen(listener, 16);
        url = "http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/";
    }
    void Close()
    {
        if (listener != INVALID_SOCKET) closesocket(listener);
        listener = INVALID_SOCKET;
    }
    ~SilentServer() { Close(); }
};

// A loopback stream server answering by the path asked for: /icy live, /plain HTTP 200 with audio
// (answers, but not as ICY), /gone 404, and /flip 404 until flipped, then live.
struct PathServer : LiveServer {
    std::atomic<bool> flipped{false};
    PathServer()
    {
        answer = [this](const std::string &path) -> std::string {
            if (path == "/icy/x" || (path.rfind("/flip/", 0) == 0 && flipped)) return "ICY 200 OK\r\nicy-name: test\r\n\r\n";
            if (path == "/plain") return "HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg\r\n\r\nID3 audio";
            return "HTTP/1.0 404 Not Found\r\n\r\n";
        };
    }
};

class ChannelCheckTest : public WindowTest {
protected:
    void TearDown() override
    {
        CancelChannelCheck(window);
        ForgetStartupFiles();
        if (GetCapture()) ReleaseCapture();
        WindowTest::TearDown();
    }
    // A device row holding these channels (title, address); clicked when click is set.
    void AddDevice(const std::vector<std::pair<std::string, std::string>> &channels, const char *mac, bool click)
    {
        std::string text = "OpCode=IMIN\r\nMacAddr=" + std::string(mac) + "\r\nDhcpMode=1\r\nNumberOfEntries=" +
                           std::to_string(channels.size()) + "\r\n";
        for (size_t i = 0; i < channels.size(); i++)
            text += "Title" + std::to_string(i + 1) + "=" + channels[i].first + "\r\nFile" + std::to_string(i + 1) + "=" +
                    channels[i].second + "\r\n";
        AddDeviceRow(window, text.c_str(), mac);
        if (click) ClickDeviceRow(window, GetListRowCount(window, IDC_DEVICE_LIST) - 1);
    }
    // "1.|A|2.|B..." of columns 0 and 1.
    std::string Rows()
    {
        std::string s;
        for (int row = 0; row < GetListRowCount(window, IDC_CHANNEL_LIST); row++)
            s += (row ? "|" : "") + Cell(window, IDC_CHANNEL_LIST, row, 0) + Cell(window, IDC_CHANNEL_LIST, row, 1);
        return s;
    }
    // Pumps until the check and its box are over, at most 20 s.
    void WaitForCheckEnd()
    {
        for (int i = 0; i < 2000 && IsChannelCheckBusy(); i++) PumpMessages(window, 10);
        ASSERT_FALSE(IsChannelCheckBusy()) << "the check did not end within 20 s";
    }
    void Drop(const std::string &path)
    {
        std::string names = path + '\0' + '\0';
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
        DROPFILES *files = (DROPFILES *)GlobalLock(block);
        files->pFiles = sizeof(DROPFILES);
        memcpy((char *)files + sizeof(DROPFILES), names.data(), names.size());
        GlobalUnlock(block);
        SendMessageA(window, WM_DROPFILES, (WPARAM)block, 0);
    }
    void BeginDrag(int row)
    {
        NMLISTVIEW info;
        memset(&info, 0, sizeof info);
        info.hdr.hwndFrom = Item(IDC_CHANNEL_LIST);
        info.hdr.idFrom = IDC_CHANNEL_LIST;
        info.hdr.code = LVN_BEGINDRAG;
        info.iItem = row;
        SendMessageA(window, WM_NOTIFY, IDC_CHANNEL_LIST, (LPARAM)&info);
    }
    void MoveMouseOverRow(int row)
    {
        RECT r;
        r.left = LVIR_BOUNDS;
        SendMessageA(Item(IDC_CHANNEL_LIST), LVM_GETITEMRECT, row, (LPARAM)&r);
        SendMessageA(Item(IDC_CHANNEL_LIST), WM_MOUSEMOVE, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    std::string TempFile(const char *name, const std::string &bytes)
    {
        char dir[MAX_PATH];
        GetTempPathA(sizeof dir, dir);
        std::string path = std::string(dir) + name;
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
        DWORD n = 0;
        WriteFile(f, bytes.data(), (DWORD)bytes.size(), &n, 0);
        CloseHandle(f);
        return path;
    }
};

}  // namespace

TEST_F(ChannelCheckTest, ChannelListMenuStopsTheCheckOfEveryChannel)
{
    SilentServer silent;
    AddDevice({{"A", silent.url + "a"}, {"B", silent.url + "b"}}, "CC", true);
    ASSERT_EQ(2, GetListRowCount(window, IDC_CHANNEL_LIST));
    g_menus = g_grayed = 0;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, ReadCheckMenu, 0, GetCurrentThreadId());
    Command(window, IDM_CHECK_ALL);
    ASSERT_TRUE(IsChannelCheckRunning());
    EXPECT_FALSE(Enabled(window, IDC_CHANNEL_LIST));
    // The list is disabled, so a right click on it reaches the window itself.
    RECT r;
    GetWindowRect(GetDlgItem(window, IDC_CHANNEL_LIST), &r);
    PostMessageA(window, WM_CONTEXTMENU, (WPARAM)window, MAKELPARAM(r.left + 10, r.top + 10));
    PumpMessages(window, 300);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(1, g_menus);
    EXPECT_EQ(std::string(TEXT_MENU_CHECK_STOP), g_checkText);
    EXPECT_EQ(6, g_grayed);   // every item but the stop command
    Command(window, IDM_CHECK_ALL);   // what choosing the item sends
    EXPECT_FALSE(IsChannelCheckRunning());
    EXPECT_TRUE(Enabled(window, IDC_CHANNEL_LIST));
    // The probes under way end as soon as the server goes; a result they gave would show by now.
    silent.Close();
    PumpMessages(window, 1000);
    EXPECT_EQ(2, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ(0, BoxCount());
}

TEST_F(ChannelCheckTest, NothingChangesTheChannelListWhileEveryChannelIsChecked)
{
    SilentServer silent;
    AddDevice({{"A", silent.url + "a"}, {"B", silent.url + "b"}, {"C", silent.url + "c"}}, "AA", true);
    AddDevice({{"X", silent.url + "x"}}, "BB", false);
    // A file named on the command line, waiting for the next row loaded.
    std::string file = TempFile("sr_check_startup.txt", "DhcpMode=1\r\nNumberOfEntries=1\r\nFile1=http://f/1\r\nTitle1=FromFile\r\n");
    ASSERT_TRUE(TakeStartupFile(window, std::wstring(file.begin(), file.end()).c_str()));   // an ASCII path
    std::string dropped = TempFile("sr_check_drop.m3u", "#EXTM3U\r\n#EXTINF:-1,Dropped\r\nhttp://d/1\r\n");
    g_deviceList = Item(IDC_DEVICE_LIST);
    g_deviceListRedraw = -1;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchDeviceListRedraw, 0, GetCurrentThreadId());

    BeginDrag(0);   // a drag under way when the check starts ends with it
    Command(window, IDM_CHECK_ALL);
    ASSERT_TRUE(IsChannelCheckRunning());
    MoveMouseOverRow(2);
    BeginDrag(0);   // and none starts meanwhile
    MoveMouseOverRow(1);
    EXPECT_EQ("1.A|2.B|3.C", Rows()) << "a row drag moved rows";
    QueueBoxAnswer(IDOK);
    Drop(dropped);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(TEXT_DROP_DURING_CHECK, BoxText(0));
    ClickDeviceRow(window, 1);
    EXPECT_EQ("1.A|2.B|3.C", Rows()) << "a drop or a device row replaced the rows";
    // A late reply adds its row, and the DeviceList's painting stays on.
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in tool = LoopbackAddress(TOOL_PORT);
    const char imin[] = "OpCode=IMIN\r\nMacAddr=LATE\r\n";
    sendto(s, imin, sizeof imin, 0, (sockaddr *)&tool, sizeof tool);
    closesocket(s);
    for (int i = 0; i < 200 && GetListRowCount(window, IDC_DEVICE_LIST) < 3; i++) PumpMessages(window, 10);
    UnhookWindowsHookEx(hook);
    ASSERT_EQ(3, GetListRowCount(window, IDC_DEVICE_LIST)) << "the late reply did not arrive";
    EXPECT_NE(FALSE, g_deviceListRedraw) << "the DeviceList was left not painting";
    EXPECT_TRUE(IsChannelCheckRunning());

    Command(window, IDM_CHECK_ALL);
    silent.Close();
    EXPECT_EQ("1.A|2.B|3.C", Rows());
    // After the check, the next row loaded brings the waiting file.
    ClickDeviceRow(window, 1);
    EXPECT_EQ("1.FromFile", Rows());
    EXPECT_EQ(0, UnexpectedBoxCount());
}

TEST_F(ChannelCheckTest, YesDeletesOnlyUnchangedChannelsWithNoStreamAndThoseThatAnswerAreKept)
{
    PathServer server;
    server.Start();
    AddDevice({{"A", server.Url("/icy/x")}, {"B", server.Url("/plain")}, {"C", server.Url("/gone")},
               {"D", DeadUrl()}, {"E", server.Url("/plain")}, {"F", server.Url("/gone")}},
              "AA", true);
    Command(window, IDM_CHECK_ALL);
    ASSERT_TRUE(IsChannelCheckRunning());
    // Row 6 changes behind the check's back: Yes must keep it.
    SetListCellText(window, IDC_CHANNEL_LIST, 5, 1, "F2");
    QueueBoxAnswer(IDYES);
    WaitForCheckEnd();
    ASSERT_EQ(1, BoxCount());
    EXPECT_EQ(std::string("스트림이 없는 채널: 3개\n\n3. C - HTTP 오류 404\n4. D - 연결 거부\n6. F - HTTP 오류 404\n\n"
                          "응답은 하지만 ICY가 아닌 채널: 2개\n\n2. B - HTTP 200, ICY 아님\n5. E - HTTP 200, ICY 아님\n\n"
                          "이 채널들은 라디오가 재생할 수도 있어 목록에 남겨 둡니다.\n\n"
                          "스트림이 없는 채널들을 목록에서 삭제하시겠습니까?"),
              BoxText(0));
    EXPECT_EQ("1.A|2.B|3.E|4.F2", Rows());

    // Only channels that answer without ICY: an OK box names them, and nothing is deleted.
    AddDevice({{"P", server.Url("/plain")}, {"L", server.Url("/icy/x")}, {"Q", server.Url("/plain")}}, "BB", true);
    Command(window, IDM_CHECK_ALL);
    QueueBoxAnswer(IDOK);
    WaitForCheckEnd();
    ASSERT_EQ(2, BoxCount());
    EXPECT_EQ(std::string("응답은 하지만 ICY가 아닌 채널: 2개\n\n1. P - HTTP 200, ICY 아님\n3. Q - HTTP 200, ICY 아님\n\n"
                          "이 채널들은 라디오가 재생할 수도 있어 목록에 남겨 둡니다."),
              BoxText(1));
    EXPECT_EQ("1.P|2.L|3.Q", Rows());
    EXPECT_EQ(0, UnexpectedBoxCount());
}

TEST_F(ChannelCheckTest, CancelWhileResultsArriveThenStartAgainAtOnce)
{
    PathServer server;
    server.Start();
    std::vector<std::pair<std::string, std::string>> channels;
    for (int n = 1; n <= 24; n++) channels.push_back({"S" + std::to_string(n), server.Url("/flip/") + std::to_string(n)});
    AddDevice(channels, "AA", true);
    Command(window, IDM_CHECK_ALL);
    // Every probe answered (404) and its result queued; one of them handled, then cancel and
    // start again at once, the server now live. The queued results belong to the first check.
    for (int i = 0; i < 500 && server.Requests() < 24; i++) Sleep(10);
    ASSERT_EQ(24, server.Requests()) << "the servers were not asked in time";
    Sleep(200);   // the workers post what they found
    MSG m;
    for (int i = 0; i < 200 && !PeekMessageA(&m, window, MSG_CHECK_RESULT, MSG_CHECK_RESULT, PM_REMOVE); i++) Sleep(10);
    ASSERT_EQ((UINT)MSG_CHECK_RESULT, m.message);
    DispatchMessageA(&m);
    ASSERT_TRUE(IsChannelCheckRunning());
    server.flipped = true;
    Command(window, IDM_CHECK_ALL);
    ASSERT_FALSE(IsChannelCheckRunning());
    Command(window, IDM_CHECK_ALL);
    ASSERT_TRUE(IsChannelCheckRunning());
    QueueBoxAnswer(IDOK);
    WaitForCheckEnd();
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(TEXT_CHECK_ALL_LIVE, BoxText(0)) << "results of the cancelled check were taken";
    EXPECT_EQ(24, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ(0, UnexpectedBoxCount());
}
