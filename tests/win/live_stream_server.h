// live_stream_server.h: loopback stream addresses for window tests: a server that answers
// "ICY 200 OK" to every connection, and an address where nothing listens.
#ifndef SETRADIO_TESTS_WIN_LIVE_STREAM_SERVER_H
#define SETRADIO_TESTS_WIN_LIVE_STREAM_SERVER_H

#include "common/platform.h"
#include <string>
#include <thread>

namespace {

// A stream server on loopback that answers every connection with "ICY 200 OK".
struct LiveServer {
    SOCKET listener = INVALID_SOCKET;
    int port = 0;
    std::thread thread;

    void Start()
    {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener, (sockaddr *)&a, sizeof a);
        int len = sizeof a;
        getsockname(listener, (sockaddr *)&a, &len);
        port = ntohs(a.sin_port);
        listen(listener, 8);
        SOCKET l = listener;
        thread = std::thread([l] {
            for (;;) {
                SOCKET c = accept(l, 0, 0);
                if (c == INVALID_SOCKET) return;
                char request[2048];
                recv(c, request, sizeof request, 0);
                const char reply[] = "ICY 200 OK\r\nicy-name: test\r\n\r\n";
                send(c, reply, sizeof reply - 1, 0);
                shutdown(c, SD_SEND);
                closesocket(c);
            }
        });
    }
    void Stop()
    {
        if (listener != INVALID_SOCKET) closesocket(listener);
        listener = INVALID_SOCKET;
        if (thread.joinable()) thread.join();
    }
    ~LiveServer() { Stop(); }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port) + "/live"; }
};

// A loopback URL where nothing listens: the probe is refused at once.
std::string DeadUrl()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, (sockaddr *)&a, sizeof a);
    int len = sizeof a;
    getsockname(s, (sockaddr *)&a, &len);
    closesocket(s);
    return "http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/dead";
}

}  // namespace

#endif
