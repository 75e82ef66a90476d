// live_stream_server.h: loopback HTTP servers for window tests, and an address where nothing
// listens.
#ifndef SETRADIO_TESTS_WIN_LIVE_STREAM_SERVER_H
#define SETRADIO_TESTS_WIN_LIVE_STREAM_SERVER_H

#include "common/platform.h"
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

sockaddr_in LoopbackAddress(int port)
{
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons((u_short)port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// A server on loopback. answer(path) gives the whole reply, "ICY 200 OK" when none is set. Each
// request is logged as "PATH UA=AGENT" before it is answered, so a client holding the answer can
// rely on the log.
struct LiveServer {
    SOCKET listener = INVALID_SOCKET;
    int port = 0;
    std::thread thread;
    std::mutex lock;
    std::vector<std::string> log;
    std::function<std::string(const std::string &path)> answer;

    void Start()
    {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = LoopbackAddress(0);
        bind(listener, (sockaddr *)&a, sizeof a);
        int len = sizeof a;
        getsockname(listener, (sockaddr *)&a, &len);
        port = ntohs(a.sin_port);
        listen(listener, 32);
        thread = std::thread([this] {
            for (;;) {
                SOCKET c = accept(listener, 0, 0);
                if (c == INVALID_SOCKET) return;
                std::string request;
                char buffer[2048];
                int n;
                while (request.find("\r\n\r\n") == std::string::npos && (n = recv(c, buffer, sizeof buffer, 0)) > 0)
                    request.append(buffer, n);
                size_t space = request.find(' ');
                std::string path = space == std::string::npos ? ""
                    : request.substr(space + 1, request.find(' ', space + 1) - space - 1);
                size_t ua = request.find("User-Agent: ");
                std::string agent = ua == std::string::npos ? "" : request.substr(ua + 12, request.find("\r\n", ua) - ua - 12);
                {
                    std::lock_guard<std::mutex> hold(lock);
                    log.push_back(path + " UA=" + agent);
                }
                std::string reply = answer ? answer(path) : "ICY 200 OK\r\nicy-name: test\r\n\r\n";
                send(c, reply.data(), (int)reply.size(), 0);
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
    std::vector<std::string> Log()
    {
        std::lock_guard<std::mutex> hold(lock);
        return log;
    }
    int Requests() { return (int)Log().size(); }
    std::string Base() const { return "http://127.0.0.1:" + std::to_string(port); }
    std::string Url(const char *path = "/live") const { return Base() + path; }
};

// A loopback URL where nothing listens: the probe is refused at once.
std::string DeadUrl()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = LoopbackAddress(0);
    bind(s, (sockaddr *)&a, sizeof a);
    int len = sizeof a;
    getsockname(s, (sockaddr *)&a, &len);
    closesocket(s);
    return "http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "/dead";
}

}  // namespace

#endif
