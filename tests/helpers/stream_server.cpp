// stream_server.cpp: scriptable loopback stream server for the probe's tests (one thread per server).
#include "stream_server.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

struct StreamServer {
    int listener;
    int port;
    std::vector<ServerScript> scripts;
    std::thread thread;
    bool concurrent;
    std::vector<std::thread> connections;   // concurrent: one per connection, joined at the stop
    std::atomic<bool> stopping;
    std::mutex lock;
    std::vector<std::string> requests;
    std::string requestLog;                 // appended to under the lock; empty: none
};

ServerStep SendStep(const std::string &bytes) { return ServerStep{ServerStep::SEND, bytes, 0}; }
ServerStep PauseStep(int ms) { return ServerStep{ServerStep::PAUSE, "", ms}; }
ServerStep EndlessStep(const std::string &pattern) { return ServerStep{ServerStep::ENDLESS, pattern, 0}; }
ServerStep SilenceStep(int ms) { return ServerStep{ServerStep::SILENCE, "", ms}; }
ServerStep TrickleStep(const std::string &bytes, int msPerByte) { return ServerStep{ServerStep::TRICKLE, bytes, msPerByte}; }
ServerScript AnswerScript(const std::string &bytes) { return ServerScript{SendStep(bytes)}; }

static long NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Waits up to ms for the socket to become readable; false on time-out or stop.
static bool WaitReadable(StreamServer *server, int fd, int ms)
{
    long end = NowMs() + ms;
    while (!server->stopping) {
        long left = end - NowMs();
        if (left <= 0)
            return false;
        pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, left < 50 ? (int)left : 50) > 0)
            return true;
    }
    return false;
}

// Reads one request up to its empty line (at most 64 KB, 3 s).
static std::string ReadRequest(StreamServer *server, int fd)
{
    std::string request;
    long end = NowMs() + 3000;
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        long left = end - NowMs();
        if (left <= 0 || !WaitReadable(server, fd, (int)left))
            break;
        char buffer[4096];
        ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.append(buffer, (size_t)n);
    }
    return request;
}

static bool SendBytes(StreamServer *server, int fd, const char *data, size_t length)
{
    while (length > 0 && !server->stopping) {
        ssize_t n = send(fd, data, length, MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            continue;   // send time-out: look at the stop flag again
        if (n <= 0)
            return false;
        data += n;
        length -= (size_t)n;
    }
    return length == 0;
}

static void Sleep(StreamServer *server, int ms)
{
    long end = NowMs() + ms;
    while (!server->stopping && NowMs() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(end - NowMs() < 20 ? end - NowMs() : 20));
}

static void PlayScript(StreamServer *server, int fd, const ServerScript &script)
{
    for (const ServerStep &step : script) {
        if (server->stopping)
            return;
        switch (step.kind) {
        case ServerStep::SEND:
            if (!SendBytes(server, fd, step.bytes.data(), step.bytes.size()))
                return;
            break;
        case ServerStep::PAUSE:
            Sleep(server, step.ms);
            break;
        case ServerStep::ENDLESS: {
            std::string chunk;
            while (chunk.size() < 16384)
                chunk += step.bytes.empty() ? std::string("\xff\xfb\x90\x64") : step.bytes;
            while (SendBytes(server, fd, chunk.data(), chunk.size())) {
            }
            return;
        }
        case ServerStep::SILENCE: {
            // Until the peer closes (readable and recv 0) or the time is up.
            char sink[256];
            long end = NowMs() + step.ms;
            while (NowMs() < end && WaitReadable(server, fd, (int)(end - NowMs())))
                if (recv(fd, sink, sizeof sink, 0) <= 0)
                    return;
            break;
        }
        case ServerStep::TRICKLE:
            for (char c : step.bytes) {
                if (!SendBytes(server, fd, &c, 1))
                    return;
                Sleep(server, step.ms);
            }
            break;
        }
    }
}

// Records the request, in the log file too, before a byte of the answer goes out.
static void RecordRequest(StreamServer *server, const std::string &request)
{
    std::lock_guard<std::mutex> guard(server->lock);
    server->requests.push_back(request);
    if (server->requestLog.empty())
        return;
    FILE *log = fopen(server->requestLog.c_str(), "ab");
    bool written = log && fwrite(request.data(), 1, request.size(), log) == request.size();
    if ((log && fclose(log) != 0) || !written)
        fprintf(stderr, "stream_server: cannot append to %s\n", server->requestLog.c_str());
}

static void ServeConnection(StreamServer *server, int fd, const ServerScript *script)
{
    RecordRequest(server, ReadRequest(server, fd));
    PlayScript(server, fd, *script);
    close(fd);
}

static void ServeLoop(StreamServer *server)
{
    size_t connection = 0;
    while (!server->stopping) {
        pollfd p = {server->listener, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0)
            continue;
        int fd = accept(server->listener, nullptr, nullptr);
        if (fd < 0)
            continue;
        timeval sendLimit = {0, 100000};
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
        const ServerScript *script = &server->scripts[connection < server->scripts.size() ? connection : server->scripts.size() - 1];
        connection++;
        if (server->concurrent)
            server->connections.emplace_back(ServeConnection, server, fd, script);
        else
            ServeConnection(server, fd, script);
    }
    for (std::thread &t : server->connections)
        t.join();
}

StreamServer *StartStreamServer(const std::vector<ServerScript> &scripts, int port, bool concurrent,
                                const std::string &requestLog)
{
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    if (listener < 0)
        return nullptr;
    int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons((unsigned short)port);
    socklen_t length = sizeof address;
    if (bind(listener, (sockaddr *)&address, sizeof address) != 0 || listen(listener, 16) != 0 ||
        getsockname(listener, (sockaddr *)&address, &length) != 0) {
        close(listener);
        return nullptr;
    }
    StreamServer *server = new StreamServer();
    server->listener = listener;
    server->port = ntohs(address.sin_port);
    server->scripts = scripts.empty() ? std::vector<ServerScript>{ServerScript{}} : scripts;
    server->concurrent = concurrent;
    server->requestLog = requestLog;
    server->stopping = false;
    server->thread = std::thread(ServeLoop, server);
    return server;
}

StreamServer *StartStreamServer(const ServerScript &script, int port, bool concurrent, const std::string &requestLog)
{
    return StartStreamServer(std::vector<ServerScript>{script}, port, concurrent, requestLog);
}

int ServerPort(const StreamServer *server) { return server->port; }

std::vector<std::string> ServerRequests(StreamServer *server)
{
    std::lock_guard<std::mutex> guard(server->lock);
    return server->requests;
}

void StopStreamServer(StreamServer *server)
{
    if (!server)
        return;
    server->stopping = true;
    server->thread.join();
    close(server->listener);
    delete server;
}

std::string LoopbackUrl(int port, const std::string &path)
{
    return "http://127.0.0.1:" + std::to_string(port) + "/" + path;
}

std::string RequestLine(const std::string &request)
{
    size_t end = request.find("\r\n");
    return request.substr(0, end);
}

std::string RequestHost(const std::string &request)
{
    size_t at = request.find("\r\nHost: ");
    if (at == std::string::npos)
        return "";
    at += 8;
    return request.substr(at, request.find("\r\n", at) - at);
}
