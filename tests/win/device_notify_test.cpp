// device_notify_test.cpp: read notifications of a device socket reach the window as MSG_DEVICE_READ.
#include <gtest/gtest.h>

#include <vector>

#include "common/platform.h"
#include "res/resource.h"
#include "ui/device_search.h"

namespace {

struct Notice {
    WPARAM socket;
    LPARAM event;
};
std::vector<Notice> g_notices;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == MSG_DEVICE_READ) {
        g_notices.push_back(Notice{wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Pump(int ms)
{
    DWORD end = GetTickCount() + (DWORD)ms;
    MSG msg;
    while ((int)(end - GetTickCount()) > 0) {
        while (PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
}

// A window recording its MSG_DEVICE_READ notices and a UDP socket on a free loopback port
// (the device port itself is left alone).
struct DeviceNotify : testing::Test {
    HWND window = 0;
    SOCKET s = INVALID_SOCKET, peer = INVALID_SOCKET;
    sockaddr_in to = {};
    void SetUp() override
    {
        WNDCLASSA c = {};
        c.lpfnWndProc = RecordingProc;
        c.lpszClassName = "DeviceNotifyTest";
        RegisterClassA(&c);
        window = CreateWindowA("DeviceNotifyTest", "", 0, 0, 0, 10, 10, 0, 0, 0, 0);
        g_notices.clear();
        s = socket(AF_INET, SOCK_DGRAM, 0);
        peer = socket(AF_INET, SOCK_DGRAM, 0);
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(s, (sockaddr *)&to, sizeof to);
        int len = sizeof to;
        getsockname(s, (sockaddr *)&to, &len);
    }
    void TearDown() override
    {
        closesocket(s);
        closesocket(peer);
        DestroyWindow(window);
    }
    void SendToSocket(const char *text) { sendto(peer, text, lstrlenA(text) + 1, 0, (sockaddr *)&to, sizeof to); }
    void WaitForNotices(size_t count)
    {
        for (int i = 0; i < 200 && g_notices.size() < count; i++) Pump(10);
    }
};

TEST_F(DeviceNotify, RegistrationSucceedsAndMakesTheSocketNonBlocking)
{
    ASSERT_EQ(0, RegisterDeviceNotify(s, window));
    char buf[16];
    DWORD start = GetTickCount();
    EXPECT_EQ(SOCKET_ERROR, recv(s, buf, sizeof buf, 0));
    EXPECT_EQ(WSAEWOULDBLOCK, WSAGetLastError());
    EXPECT_LT(GetTickCount() - start, 500u);
}

TEST_F(DeviceNotify, WaitingDatagramIsAnnouncedWithTheReadEvent)
{
    ASSERT_EQ(0, RegisterDeviceNotify(s, window));
    SendToSocket("OpCode=IMIN");
    WaitForNotices(1);
    ASSERT_EQ(1u, g_notices.size());
    EXPECT_EQ((WPARAM)s, g_notices[0].socket);
    EXPECT_EQ(FD_READ, LOWORD(g_notices[0].event));
    EXPECT_EQ(0, HIWORD(g_notices[0].event));
}

TEST_F(DeviceNotify, ReceiveWithAnotherDatagramWaitingIsAnnouncedAgain)
{
    ASSERT_EQ(0, RegisterDeviceNotify(s, window));
    SendToSocket("first");
    SendToSocket("second");
    WaitForNotices(1);
    ASSERT_GE(g_notices.size(), 1u);
    char buf[16];
    EXPECT_EQ(6, recv(s, buf, sizeof buf, 0));
    WaitForNotices(2);
    EXPECT_EQ(2u, g_notices.size()) << "the receive re-arms the notice for the second datagram";
    EXPECT_EQ(7, recv(s, buf, sizeof buf, 0));
    Pump(100);
    EXPECT_EQ(2u, g_notices.size()) << "nothing left, no further notice";
}

}  // namespace
