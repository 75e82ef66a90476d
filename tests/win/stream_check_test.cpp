// stream_check_test.cpp: the stream check's question box, its answers and a live address, against a
// small Winsock server on loopback inside the test.
#include <gtest/gtest.h>
#include <string>
#include "tests/win/test_support.h"
#include "ui/stream_check.h"

namespace {

// Answers each of its connections with the same bytes after reading the request; stops when asked.
struct LoopbackServer {
    SOCKET listener;
    int port;
    const char *answer;
    volatile LONG stop;
    volatile LONG requests;
    HANDLE thread;
    DWORD uiThread;          // when set, the server shares its input state to see that thread's cursor
    HCURSOR cursorSeen;      // the cursor at the moment the request arrived
};

DWORD WINAPI ServeConnections(void *parameter)
{
    LoopbackServer *server = (LoopbackServer *)parameter;
    if (server->uiThread)
        AttachThreadInput(GetCurrentThreadId(), server->uiThread, TRUE);
    while (!server->stop) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(server->listener, &set);
        timeval tv = {0, 50000};
        if (select(0, &set, 0, 0, &tv) <= 0)
            continue;
        SOCKET s = accept(server->listener, 0, 0);
        if (s == INVALID_SOCKET)
            continue;
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            int n = recv(s, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, n);
        }
        server->cursorSeen = GetCursor();
        InterlockedIncrement(&server->requests);
        send(s, server->answer, lstrlenA(server->answer), 0);
        shutdown(s, SD_SEND);
        closesocket(s);
    }
    return 0;
}

bool StartServer(LoopbackServer *server, const char *answer, DWORD uiThread = 0)
{
    server->uiThread = uiThread;
    server->cursorSeen = 0;
    server->listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (server->listener == INVALID_SOCKET || bind(server->listener, (sockaddr *)&address, sizeof address) != 0 ||
        listen(server->listener, 4) != 0 || getsockname(server->listener, (sockaddr *)&address, &length) != 0)
        return false;
    server->port = ntohs(address.sin_port);
    server->answer = answer;
    server->stop = 0;
    server->requests = 0;
    server->thread = CreateThread(0, 0, ServeConnections, server, 0, 0);
    return server->thread != 0;
}

void StopServer(LoopbackServer *server)
{
    server->stop = 1;
    WaitForSingleObject(server->thread, 5000);
    CloseHandle(server->thread);
    closesocket(server->listener);
}

std::string UrlOf(const LoopbackServer &server, const char *path)
{
    return "http://127.0.0.1:" + std::to_string(server.port) + "/" + path;
}

class StreamCheck : public testing::Test {
protected:
    HWND owner = 0;
    void SetUp() override
    {
        owner = CreateWindowExA(0, "STATIC", "Owner of the check", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, 0, 0, 0, 0);
        StartBoxWatch();
    }
    void TearDown() override
    {
        StopBoxWatch();
        DestroyWindow(owner);
    }
};

const char *kQuestion = "방송중이 아니거나 정확한 방송주소가 아닙니다. 계속 하시겠습니까?";

TEST_F(StreamCheck, LiveAddressAsksNothing)
{
    LoopbackServer server;
    ASSERT_TRUE(StartServer(&server, "ICY 200 OK\r\nicy-name: test\r\n\r\n"));
    EXPECT_NE(0, CheckStreamAddress(owner, UrlOf(server, "live").c_str()));
    StopServer(&server);
    EXPECT_EQ(1, (int)server.requests);
    EXPECT_EQ(0, BoxCount());
}

TEST_F(StreamCheck, WaitCursorWhileTheProbeRuns)
{
    HCURSOR arrow = LoadCursor(0, IDC_ARROW);
    SetCursor(arrow);
    LoopbackServer server;
    ASSERT_TRUE(StartServer(&server, "ICY 200 OK\r\n\r\n", GetCurrentThreadId()));
    Sleep(100);   // the server thread has joined this thread's input state
    EXPECT_NE(0, CheckStreamAddress(owner, UrlOf(server, "live").c_str()));
    StopServer(&server);
    EXPECT_EQ(LoadCursor(0, IDC_WAIT), server.cursorSeen);
    EXPECT_EQ(arrow, GetCursor());
}

TEST_F(StreamCheck, NotLiveAsksAndOkKeepsTheAddress)
{
    LoopbackServer server;
    ASSERT_TRUE(StartServer(&server, "HTTP/1.0 404 Not Found\r\n\r\n"));
    std::string url = UrlOf(server, "gone");
    QueueBoxAnswer(IDOK);
    EXPECT_NE(0, CheckStreamAddress(owner, url.c_str()));
    StopServer(&server);
    ASSERT_EQ(1, BoxCount());
    EXPECT_EQ(0, UnexpectedBoxCount());
    EXPECT_EQ("'" + url + "'\n" + kQuestion, std::string(BoxText(0)));
    EXPECT_STREQ("Owner of the check", BoxCaption(0));
}

TEST_F(StreamCheck, NotLiveAndCancelRejects)
{
    LoopbackServer server;
    ASSERT_TRUE(StartServer(&server, "icy 200 ok\r\n\r\n"));
    QueueBoxAnswer(IDCANCEL);
    EXPECT_EQ(0, CheckStreamAddress(owner, UrlOf(server, "x").c_str()));
    StopServer(&server);
    EXPECT_EQ(1, BoxCount());
    EXPECT_EQ(0, UnexpectedBoxCount());
}

TEST_F(StreamCheck, OverlongAddressIsCutAndTheQuestionStaysWhole)
{
    std::string url = "http://127.0.0.1:1/" + std::string(240, 'u');   // nothing listens on port 1
    QueueBoxAnswer(IDOK);
    EXPECT_NE(0, CheckStreamAddress(owner, url.c_str()));
    ASSERT_EQ(1, BoxCount());
    std::string text = BoxText(0);
    std::string tail = std::string("'\n") + kQuestion;
    EXPECT_LE(text.size(), 259u);
    ASSERT_GT(text.size(), tail.size());
    EXPECT_EQ(tail, text.substr(text.size() - tail.size()));
    EXPECT_EQ("'" + url.substr(0, text.size() - tail.size() - 1), text.substr(0, text.size() - tail.size()));
}

}  // namespace
