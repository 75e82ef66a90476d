// device_search_test.cpp: the search progress, device replies becoming rows, and the send command's checks.
// Replies reach the window over loopback, and the window's sends are redirected to a loopback
// socket of the test: nothing is broadcast.
#include <gtest/gtest.h>
#include "common/platform.h"
#include <commctrl.h>
#include <string.h>
#include <atomic>
#include <string>
#include <thread>
#include <vector>
#include "device/link.h"
#include "res/resource.h"
#include "tests/win/live_stream_server.h"
#include "tests/win/test_support.h"
#include "ui/device_search.h"
#include "winkit/dialog_items.h"
#include "ui/main_window.h"
#include "ui/texts.h"
#include "ui/main_state.h"

namespace {

// Sends bytes to the tool's port over loopback, as a device on this machine would.
void SendToTool(const void *data, int length)
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(TOOL_PORT);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sendto(s, (const char *)data, length, 0, (sockaddr *)&a, sizeof a);
    closesocket(s);
}

// A whole device message: its text and the NUL.
void SendMessageText(const char *text) { SendToTool(text, (int)strlen(text) + 1); }

std::string CellText(HWND window, int id, int row, int column)
{
    char buffer[256];
    GetListCellText(window, id, row, column, buffer, sizeof buffer);
    return buffer;
}

const char *RowCopy(HWND window, int row)
{
    return (const char *)GetListRowData(window, IDC_DEVICE_LIST, row, 0);
}

class DeviceSearchTest : public testing::Test {
protected:
    HWND window = 0;
    SOCKET deviceSide = INVALID_SOCKET;   // receives what the window sends to "the devices"

    void SetUp() override
    {
        CloseDeviceLink();   // a socket some earlier window left open would hold the port
        deviceSide = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(0, bind(deviceSide, (sockaddr *)&a, sizeof a));
        int len = sizeof a;
        getsockname(deviceSide, (sockaddr *)&a, &len);
        SetDeviceLinkDestination(htonl(INADDR_LOOPBACK), ntohs(a.sin_port));
        StartBoxWatch();
        window = CreateMainWindow();
        ASSERT_TRUE(window != 0);
        sockaddr_in bound = {};
        len = sizeof bound;
        getsockname(DeviceLinkSocket(), (sockaddr *)&bound, &len);
        ASSERT_EQ(TOOL_PORT, ntohs(bound.sin_port)) << "the device socket could not take its port";
    }
    void TearDown() override
    {
        KillTimer(window, SEARCH_TIMER);
        g_main.searchTicks = 0;
        g_main.changedFlag = 0;
        ReleaseDeviceRows(window);
        CloseDeviceLink();
        SetDeviceLinkDestination(0xFFFFFFFFu, 0);
        closesocket(deviceSide);
        DestroyMainWindow(window);
        StopBoxWatch();
    }

    // The datagrams the window has sent so far, in order.
    std::vector<std::string> TakeSent()
    {
        std::vector<std::string> out;
        for (;;) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(deviceSide, &set);
            timeval tv = {0, 100000};
            if (select(0, &set, 0, 0, &tv) <= 0) return out;
            char buffer[2048];
            int n = recv(deviceSide, buffer, sizeof buffer, 0);
            if (n < 0) return out;
            out.push_back(std::string(buffer, n));
        }
    }
    // The datagrams joined: one whole message and its NUL when the window sent one.
    static std::string Joined(const std::vector<std::string> &datagrams)
    {
        std::string all;
        for (const std::string &d : datagrams) all += d;
        return all;
    }

    // Pumps messages until the DeviceList has rows rows or two seconds have passed.
    void WaitForRows(int rows)
    {
        for (int i = 0; i < 200 && GetListRowCount(window, IDC_DEVICE_LIST) < rows; i++) PumpMessages(window, 10);
        PumpMessages(window, 50);
    }
    void WaitForBoxes(int boxes)
    {
        for (int i = 0; i < 200 && BoxCount() < boxes; i++) PumpMessages(window, 10);
        PumpMessages(window, 50);
    }
    // Lists one device and clicks its row, as the user does before sending.
    void ListAndClickDevice(const char *imin)
    {
        SendMessageText(imin);
        WaitForRows(1);
        ASSERT_EQ(1, GetListRowCount(window, IDC_DEVICE_LIST));
        SelectListRow(window, IDC_DEVICE_LIST, 0);
        NMITEMACTIVATE click = {};
        click.hdr.hwndFrom = GetDlgItem(window, IDC_DEVICE_LIST);
        click.hdr.idFrom = IDC_DEVICE_LIST;
        click.hdr.code = NM_CLICK;
        click.iItem = 0;
        SendMessageA(window, WM_NOTIFY, IDC_DEVICE_LIST, (LPARAM)&click);
    }
};

const char kDevice[] =
    "OpCode=IMIN\r\nMacAddr=00:1A:2B:3C:4D:5E\r\nFW_Ver=2.14\r\nDhcpMode=0\r\nLocalIP=10.1.1.5\r\n"
    "SubnetMask=255.255.255.0\r\nGatewayIP=10.1.1.1\r\nDNS_IP=10.1.1.2\r\nPPPoEID=user\r\nPPPoEPsw=pw\r\n"
    "PlsUrl1=\r\nPlsUrl2=\r\nNumberOfEntries=1\r\nFile1=http://127.0.0.1:1/a\r\nTitle1=One\r\n";

TEST_F(DeviceSearchTest, TicksMoveTheBarThroughOneTo99AndTheHundredthEndsTheSearch)
{
    HWND bar = GetDlgItem(window, IDC_SEARCH_PROGRESS);
    EnableControl(window, IDC_SEARCH, 0);
    SetTimer(window, SEARCH_TIMER, 60000, 0);
    g_main.searchTicks = 0;
    for (int tick = 1; tick <= 99; tick++) {
        OnSearchTimer(window);
        ASSERT_EQ(tick, (int)SendMessageA(bar, PBM_GETPOS, 0, 0)) << "tick " << tick;
        ASSERT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_SEARCH)));
    }
    OnSearchTimer(window);
    EXPECT_EQ(0, (int)SendMessageA(bar, PBM_GETPOS, 0, 0));
    EXPECT_EQ(0, g_main.searchTicks);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SEARCH)));
    EXPECT_FALSE(KillTimer(window, SEARCH_TIMER)) << "the timer should already be stopped";
}

TEST_F(DeviceSearchTest, RepliesBecomeRowsInArrivalOrderKeepingTheWholeText)
{
    const char second[] = "OpCode=IMIN\nMacAddr=AA-BB\nFW_Ver=1.0 beta\nVendorKey=kept\n";
    SendMessageText(kDevice);
    WaitForRows(1);
    SendMessageText(second);
    WaitForRows(2);
    SendMessageText(kDevice);
    WaitForRows(3);

    ASSERT_EQ(3, GetListRowCount(window, IDC_DEVICE_LIST));
    EXPECT_EQ("00:1A:2B:3C:4D:5E", CellText(window, IDC_DEVICE_LIST, 0, 0));
    EXPECT_EQ("2.14", CellText(window, IDC_DEVICE_LIST, 0, 1));
    EXPECT_EQ("AA-BB", CellText(window, IDC_DEVICE_LIST, 1, 0));
    EXPECT_EQ("1.0 beta", CellText(window, IDC_DEVICE_LIST, 1, 1));
    // The same device answering twice gives two identical rows with separate copies.
    EXPECT_EQ(CellText(window, IDC_DEVICE_LIST, 0, 0), CellText(window, IDC_DEVICE_LIST, 2, 0));
    EXPECT_EQ(CellText(window, IDC_DEVICE_LIST, 0, 1), CellText(window, IDC_DEVICE_LIST, 2, 1));
    ASSERT_TRUE(RowCopy(window, 0) && RowCopy(window, 1) && RowCopy(window, 2));
    EXPECT_STREQ(kDevice, RowCopy(window, 0));
    EXPECT_STREQ(second, RowCopy(window, 1));
    EXPECT_STREQ(kDevice, RowCopy(window, 2));
    EXPECT_NE(RowCopy(window, 0), RowCopy(window, 2));
    EXPECT_EQ(3, g_main.deviceRowCount);
    EXPECT_EQ(0, BoxCount());
}

TEST_F(DeviceSearchTest, ReplyWithoutMacOrFirmwareGivesEmptyCells)
{
    SendMessageText("OpCode=IMIN\r\nFW_Ver=3.0\r\n");
    WaitForRows(1);
    SendMessageText("OpCode=IMIN\r\nMacAddr=11:22\r\n");
    WaitForRows(2);
    ASSERT_EQ(2, GetListRowCount(window, IDC_DEVICE_LIST));
    EXPECT_EQ("", CellText(window, IDC_DEVICE_LIST, 0, 0));
    EXPECT_EQ("3.0", CellText(window, IDC_DEVICE_LIST, 0, 1));
    EXPECT_EQ("11:22", CellText(window, IDC_DEVICE_LIST, 1, 0));
    EXPECT_EQ("", CellText(window, IDC_DEVICE_LIST, 1, 1));
}

TEST_F(DeviceSearchTest, LongValuesAreCutTo127BytesInTheCellsButKeptInTheCopy)
{
    std::string mac(200, 'M');
    std::string text = "OpCode=IMIN\r\nMacAddr=" + mac + "\r\nFW_Ver=1\r\n";
    SendMessageText(text.c_str());
    WaitForRows(1);
    ASSERT_EQ(1, GetListRowCount(window, IDC_DEVICE_LIST));
    EXPECT_EQ(std::string(127, 'M'), CellText(window, IDC_DEVICE_LIST, 0, 0));
    EXPECT_EQ(text, RowCopy(window, 0));
}

TEST_F(DeviceSearchTest, ConfirmationShowsSavedEvenWithoutASend)
{
    QueueBoxAnswer(IDOK);
    SendMessageText("OpCode=SETC\r\nMacAddr=00:1A:2B:3C:4D:5E\r\n");
    WaitForBoxes(1);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ("저장되었습니다", BoxText(0));
    EXPECT_STREQ(TEXT_MAIN_CAPTION, BoxCaption(0));
    EXPECT_EQ(0, UnexpectedBoxCount());
    EXPECT_EQ(0, GetListRowCount(window, IDC_DEVICE_LIST));
}

TEST_F(DeviceSearchTest, RepliesArrivingWhileTheSavedBoxIsOpenAreStillListed)
{
    QueueBoxAnswer(IDOK);
    // Both wait in the socket: the second is handled by the box's own message loop.
    SendMessageText("OpCode=SETC\r\n");
    SendMessageText(kDevice);
    WaitForBoxes(1);
    WaitForRows(1);
    EXPECT_EQ(1, BoxCount());
    ASSERT_EQ(1, GetListRowCount(window, IDC_DEVICE_LIST));
    EXPECT_STREQ(kDevice, RowCopy(window, 0));
}

TEST_F(DeviceSearchTest, AFloodOfConfirmationsNeverNestsBoxes)
{
    // Any host may send confirmations; each one handled inside the open box's own loop would
    // otherwise open a further box inside it, until the stack runs out.
    const int kFlood = 40;
    for (int i = 0; i < kFlood; i++) QueueBoxAnswer(IDOK);
    for (int i = 0; i < kFlood; i++) SendMessageText("OpCode=SETC\r\n");
    SendMessageText(kDevice);
    WaitForBoxes(1);
    WaitForRows(1);
    PumpMessages(window, 300);
    EXPECT_EQ(1, MaxBoxDepth());
    EXPECT_GE(BoxCount(), 1);
    EXPECT_LT(BoxCount(), kFlood);
    EXPECT_STREQ("저장되었습니다", BoxText(0));
    EXPECT_EQ(0, UnexpectedBoxCount());
    EXPECT_EQ(1, GetListRowCount(window, IDC_DEVICE_LIST));   // replies behind the flood still listed
}

TEST_F(DeviceSearchTest, OtherOpcodesAreIgnoredSilently)
{
    SendMessageText("OpCode=SETT\r\nMacAddr=x\r\n");
    SendMessageText("OpCode= IMIN\r\nMacAddr=x\r\n");
    SendMessageText("opcode=IMIN\r\nMacAddr=x\r\n");
    SendMessageText("OpCode=IMINX\r\nMacAddr=x\r\n");
    SendMessageText("OpCode=FIND");
    SendMessageText("MacAddr=x\r\n");
    SendMessageText("OpCode=setc\r\n");
    PumpMessages(window, 300);
    EXPECT_EQ(0, GetListRowCount(window, IDC_DEVICE_LIST));
    EXPECT_EQ(0, BoxCount());
    // The link still works: the next reply becomes row 0.
    SendMessageText("OpCode=IMIN\r\nMacAddr=after\r\n");
    WaitForRows(1);
    EXPECT_EQ("after", CellText(window, IDC_DEVICE_LIST, 0, 0));
}

TEST_F(DeviceSearchTest, EventsOtherThanReadAreIgnored)
{
    SendMessageText(kDevice);
    Sleep(50);
    OnDeviceRead(window, DeviceLinkSocket(), MAKELPARAM(FD_CLOSE, 0));
    OnDeviceRead(window, DeviceLinkSocket(), MAKELPARAM(FD_WRITE, 0));
    EXPECT_EQ(0, GetListRowCount(window, IDC_DEVICE_LIST)) << "the waiting reply must not be taken";
    WaitForRows(1);
    EXPECT_EQ(1, GetListRowCount(window, IDC_DEVICE_LIST));
}

TEST_F(DeviceSearchTest, SearchEmptiesTheListAndLaterRepliesStartAtRowZero)
{
    SendMessageText(kDevice);
    SendMessageText("OpCode=IMIN\r\nMacAddr=second\r\n");
    WaitForRows(2);
    ASSERT_EQ(2, GetListRowCount(window, IDC_DEVICE_LIST));
    OnSearchCommand(window);
    std::vector<std::string> sent = TakeSent();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(std::string("OpCode=FIND", 12), sent[0]);
    EXPECT_EQ(0, GetListRowCount(window, IDC_DEVICE_LIST));
    EXPECT_EQ(0, g_main.deviceRowCount);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_SEARCH)));
    PumpMessages(window, 350);
    EXPECT_GE((int)SendDlgItemMessageA(window, IDC_SEARCH_PROGRESS, PBM_GETPOS, 0, 0), 1) << "the timer drives the bar";

    SendMessageText("OpCode=IMIN\r\nMacAddr=new\r\n");
    WaitForRows(1);
    ASSERT_EQ(1, GetListRowCount(window, IDC_DEVICE_LIST));
    EXPECT_EQ("new", CellText(window, IDC_DEVICE_LIST, 0, 0));
    EXPECT_EQ(1, g_main.deviceRowCount);
}

// A datagram flood that completes nothing keeps datagrams waiting all the while. Reception then goes
// on from RECEIVE_TIMER, between the window's other messages, instead of from a read notification
// that is always posted again: posted messages come before input, timers after it, so the test's
// own timer ticking during the flood shows that input got its turn too.
TEST_F(DeviceSearchTest, SustainedFloodLeavesTheWindowsOtherMessagesTheirTurn)
{
    std::atomic<bool> stop(false);
    std::thread flood([&stop] {
        SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_port = htons(TOOL_PORT);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        while (!stop) sendto(s, "x", 1, 0, (sockaddr *)&a, sizeof a);
        closesocket(s);
    });
    const UINT_PTR kTestTimer = 77;
    SetTimer(window, kTestTimer, 10, 0);
    int ticks = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 1500;) {
        MSG msg;
        if (!PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) {
            Sleep(1);
            continue;
        }
        if (msg.message == WM_TIMER && msg.hwnd == window && msg.wParam == kTestTimer) ticks++;
        else DispatchMessageA(&msg);
    }
    KillTimer(window, kTestTimer);
    stop = true;
    flood.join();
    EXPECT_GE(ticks, 10) << "the timer hardly ever got its turn during the flood";
    PumpMessages(window, 300);
    SendMessageText(kDevice);
    WaitForRows(1);
    EXPECT_EQ(1, GetListRowCount(window, IDC_DEVICE_LIST)) << "a reply after the flood is listed";
}

int g_blockedSends = 0;
std::vector<std::string> g_sends;
// Would block for the first g_blockedSends tries, then takes every datagram (and sends nothing).
int BlockingSender(SockHandle, unsigned, const char *data, int length, int *error)
{
    if (g_blockedSends > 0) {
        g_blockedSends--;
        *error = WSAEWOULDBLOCK;
        return -1;
    }
    g_sends.push_back(std::string(data, length));
    return length;
}

// A FIND that would block does not hold the window: the search starts at once, and the FIND goes
// out from SEND_TIMER once the platform takes it.
TEST_F(DeviceSearchTest, SearchWhoseFindWouldBlockSendsItFromTheTimer)
{
    g_blockedSends = 5;
    g_sends.clear();
    SetDeviceLinkSender(BlockingSender);
    OnSearchCommand(window);
    EXPECT_TRUE(g_sends.empty()) << "the command waited in place for the FIND to go";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_SEARCH)));
    for (int i = 0; i < 200 && g_sends.empty(); i++) PumpMessages(window, 10);
    SetDeviceLinkSender(0);
    ASSERT_EQ(1u, g_sends.size());
    EXPECT_EQ(std::string("OpCode=FIND", 12), g_sends[0]);
    EXPECT_EQ(0, g_blockedSends);
}

TEST_F(DeviceSearchTest, SendWithoutSelectedDeviceAsksForOne)
{
    SendMessageText(kDevice);
    WaitForRows(1);
    g_main.changedFlag = 1;
    QueueBoxAnswer(IDOK);
    OnSendCommand(window);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ("Velmio를 선택해야 합니다", BoxText(0));
    EXPECT_EQ(1, g_main.changedFlag);
    EXPECT_STREQ(kDevice, RowCopy(window, 0));
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(DeviceSearchTest, SendChecksBothPlsAddressesInOrder)
{
    LiveServer live;
    live.Start();
    ListAndClickDevice(kDevice);
    g_main.changedFlag = 1;
    const char *copyBefore = RowCopy(window, 0);

    // First address empty (blanks only): asked for, focus into it.
    SetText949(window, IDC_PLS_URL1, "   ");
    SetText949(window, IDC_PLS_URL2, "");
    QueueBoxAnswer(IDOK);
    OnSendCommand(window);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ("Pls주소를 입력하세요", BoxText(0));
    EXPECT_EQ(GetDlgItem(window, IDC_PLS_URL1), GetFocus());

    // First address not live: the check asks, Cancel ends the send with no further box.
    SetText949(window, IDC_PLS_URL1, DeadUrl().c_str());
    QueueBoxAnswer(IDCANCEL);
    OnSendCommand(window);
    ASSERT_EQ(2, BoxCount());
    EXPECT_TRUE(strstr(BoxText(1), TEXT_STREAM_NOT_LIVE) != 0) << BoxText(1);

    // First live, second empty: asked for, focus into the second.
    SetText949(window, IDC_PLS_URL1, live.Url().c_str());
    QueueBoxAnswer(IDOK);
    OnSendCommand(window);
    ASSERT_EQ(3, BoxCount());
    EXPECT_STREQ("Pls주소를 입력하세요", BoxText(2));
    EXPECT_EQ(GetDlgItem(window, IDC_PLS_URL2), GetFocus());

    // Second not live: asked, Cancel ends the send.
    SetText949(window, IDC_PLS_URL2, DeadUrl().c_str());
    QueueBoxAnswer(IDCANCEL);
    OnSendCommand(window);
    ASSERT_EQ(4, BoxCount());
    EXPECT_TRUE(strstr(BoxText(3), TEXT_STREAM_NOT_LIVE) != 0) << BoxText(3);

    // Both live: the confirmation; Cancel sends nothing and keeps the unsaved flag and the copy.
    SetText949(window, IDC_PLS_URL2, live.Url().c_str());
    QueueBoxAnswer(IDCANCEL);
    OnSendCommand(window);
    ASSERT_EQ(5, BoxCount());
    EXPECT_STREQ("변경내용을 적용합니다", BoxText(4));
    EXPECT_EQ(1, g_main.changedFlag);
    EXPECT_EQ(copyBefore, RowCopy(window, 0));
    EXPECT_STREQ(kDevice, RowCopy(window, 0));
    EXPECT_EQ(0, UnexpectedBoxCount());
    EXPECT_TRUE(TakeSent().empty()) << "nothing may be sent before the confirmation";
    live.Stop();
}

TEST_F(DeviceSearchTest, SendStoresTheComposedTextAsTheRowsCopy)
{
    LiveServer live;
    live.Start();
    ListAndClickDevice(kDevice);
    // PPPoE hides the address edits; their texts go out all the same.
    CheckRadioButton(window, IDC_MODE_STATIC, IDC_MODE_PPPOE, IDC_MODE_PPPOE);
    SetText949(window, IDC_LOCALIP, " 192.168.0.9 ");
    SetText949(window, IDC_PPPOE_ID, "kim");
    SetText949(window, IDC_PPPOE_PSW, "secret");
    SetText949(window, IDC_PLS_URL1, live.Url().c_str());
    SetText949(window, IDC_PLS_URL2, live.Url().c_str());
    DeleteAllListRows(window, IDC_CHANNEL_LIST);
    InsertListRow(window, IDC_CHANNEL_LIST, 0, "1.", 0);
    SetListCellText(window, IDC_CHANNEL_LIST, 0, 1, "라디오 하나");
    SetListCellText(window, IDC_CHANNEL_LIST, 0, 2, "http://a.example/1");
    InsertListRow(window, IDC_CHANNEL_LIST, 1, "2.", 0);
    SetListCellText(window, IDC_CHANNEL_LIST, 1, 1, "Two");
    SetListCellText(window, IDC_CHANNEL_LIST, 1, 2, "http://b.example:8000/");
    g_main.changedFlag = 1;

    QueueBoxAnswer(IDOK);
    OnSendCommand(window);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ("변경내용을 적용합니다", BoxText(0));
    EXPECT_EQ(0, g_main.changedFlag);
    std::string expected =
        "OpCode=SETT\r\nDhcpMode=2\r\nMacAddr=00:1A:2B:3C:4D:5E\r\nLocalIP=192.168.0.9\r\n"
        "SubnetMask=255.255.255.0\r\nGatewayIP=10.1.1.1\r\nDNS_IP=10.1.1.2\r\nPPPoEID=kim\r\nPPPoEPsw=secret\r\n"
        "PlsUrl1=" + live.Url() + "\r\nPlsUrl2=" + live.Url() + "\r\nNumberOfEntries=2\r\n"
        "File1=http://a.example/1\r\nTitle1=라디오 하나\r\nFile2=http://b.example:8000/\r\nTitle2=Two\r\n";
    ASSERT_TRUE(RowCopy(window, 0) != 0);
    EXPECT_EQ(expected, RowCopy(window, 0));
    EXPECT_EQ(expected + '\0', Joined(TakeSent()));
    // The row's columns stay those of the reply.
    EXPECT_EQ("2.14", CellText(window, IDC_DEVICE_LIST, 0, 1));

    // A second send replaces the copy again, with no mode checked: -1.
    for (int id = IDC_MODE_STATIC; id <= IDC_MODE_PPPOE; id++) CheckDlgButton(window, id, BST_UNCHECKED);
    DeleteAllListRows(window, IDC_CHANNEL_LIST);
    QueueBoxAnswer(IDOK);
    OnSendCommand(window);
    ASSERT_EQ(2, BoxCount());
    std::string copy = RowCopy(window, 0);
    EXPECT_EQ(copy + '\0', Joined(TakeSent()));
    EXPECT_NE(std::string::npos, copy.find("\r\nDhcpMode=-1\r\n"));
    EXPECT_EQ(copy.size() - strlen("NumberOfEntries=0\r\n"), copy.rfind("NumberOfEntries=0\r\n"));
    live.Stop();
}

TEST_F(DeviceSearchTest, SettThatWouldNotFitIsRefusedAndOneEntryLessIsSent)
{
    LiveServer live;
    live.Start();
    // Every value at its 127-byte maximum: the MAC, the six form fields and both Pls addresses.
    std::string longest(127, 'u');
    std::string device = "OpCode=IMIN\r\nMacAddr=" + std::string(127, 'm') + "\r\nFW_Ver=1\r\n";
    ListAndClickDevice(device.c_str());
    std::string pls = live.Url();
    pls += std::string(127 - pls.size(), 'p');
    SetText949(window, IDC_PLS_URL1, pls.c_str());
    SetText949(window, IDC_PLS_URL2, pls.c_str());
    const int ids[] = {IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY, IDC_DNS, IDC_PPPOE_ID, IDC_PPPOE_PSW};
    for (int id : ids) SetText949(window, id, longest.c_str());
    // 236 entries exceed one message, 235 fit.
    DeleteAllListRows(window, IDC_CHANNEL_LIST);
    for (int i = 0; i < 236; i++) {
        InsertListRow(window, IDC_CHANNEL_LIST, i, "n.", 0);
        SetListCellText(window, IDC_CHANNEL_LIST, i, 1, std::string(127, 't').c_str());
        SetListCellText(window, IDC_CHANNEL_LIST, i, 2, ("http://" + std::string(120, 'h')).c_str());
    }
    g_main.changedFlag = 1;
    const char *copyBefore = RowCopy(window, 0);

    QueueBoxAnswer(IDOK);
    QueueBoxAnswer(IDOK);
    OnSendCommand(window);
    ASSERT_EQ(2, BoxCount()) << BoxText(0);
    EXPECT_STREQ("변경내용을 적용합니다", BoxText(0));
    EXPECT_STREQ(TEXT_SETT_TOO_LONG, BoxText(1));
    EXPECT_EQ(1, g_main.changedFlag);
    EXPECT_EQ(copyBefore, RowCopy(window, 0));
    EXPECT_EQ(device, RowCopy(window, 0));
    EXPECT_EQ(236, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_TRUE(TakeSent().empty());

    DeleteListRow(window, IDC_CHANNEL_LIST, 235);
    QueueBoxAnswer(IDOK);
    OnSendCommand(window);
    ASSERT_EQ(3, BoxCount());
    EXPECT_EQ(0, g_main.changedFlag);
    std::string sent = RowCopy(window, 0);
    EXPECT_LE(sent.size() + 1, 65792u);
    EXPECT_GT(sent.size() + 1, 65792u - 275u) << "one more entry would not have fitted";
    EXPECT_NE(std::string::npos, sent.find("\r\nNumberOfEntries=235\r\n"));
    EXPECT_EQ(sent.size() - strlen("Title235=") - 129, sent.rfind("Title235="));
    // On the wire: slices of 1472 bytes, the rest and the NUL in the last.
    std::vector<std::string> datagrams = TakeSent();
    ASSERT_EQ((sent.size() + 1 + 1471) / 1472, datagrams.size());
    for (size_t i = 0; i + 1 < datagrams.size(); i++) EXPECT_EQ(1472u, datagrams[i].size());
    EXPECT_EQ(sent + '\0', Joined(datagrams));
}

TEST_F(DeviceSearchTest, SearchDuringTheConfirmationLeavesNoDeviceToSendTo)
{
    LiveServer live;
    live.Start();
    ListAndClickDevice(kDevice);
    SetText949(window, IDC_PLS_URL1, live.Url().c_str());
    SetText949(window, IDC_PLS_URL2, live.Url().c_str());
    g_main.changedFlag = 1;
    // Dispatched by the confirmation box's own loop before its answer arrives.
    PostMessageA(window, WM_COMMAND, IDC_SEARCH, 0);
    QueueBoxAnswer(IDOK);
    QueueBoxAnswer(IDOK);
    OnSendCommand(window);
    ASSERT_EQ(2, BoxCount());
    EXPECT_STREQ("변경내용을 적용합니다", BoxText(0));
    EXPECT_STREQ("Velmio를 선택해야 합니다", BoxText(1));
    EXPECT_EQ(0, GetListRowCount(window, IDC_DEVICE_LIST));
    EXPECT_EQ(1, g_main.changedFlag);
    std::vector<std::string> sent = TakeSent();
    ASSERT_EQ(1u, sent.size()) << "only the search's FIND";
    EXPECT_EQ(std::string("OpCode=FIND", 12), sent[0]);
    live.Stop();
}

}  // namespace
