// reply_flood.cpp: plays a misbehaving host that sends device replies to the tool's port, for the
// end-to-end tests and the benchmark of an unresponsive window. Linux only; run it inside the
// devices' namespace of a test network.
//
// Usage: reply_flood TO FROM KIND [args]      TO, FROM: IPv4 addresses; datagrams go to TO:49005
//   nonul TEXT                  one datagram of TEXT without NUL, from FROM:49006
//   whole TEXT                  one datagram of TEXT and its NUL, from FROM:49006
//   bytes SECONDS PORTS RATE    one-byte datagrams for SECONDS, each from the next of PORTS source
//                               ports (50000 upward), RATE datagrams a second
//   imin COUNT RATE             COUNT whole IMIN replies, each with its own MAC 02:00:00:xx:xx:xx and
//                               channels enough for about 1 KB, from FROM:49006, RATE a second
//   find-time MS FILE           sends nothing: listens on port 49006 (any address, so broadcasts
//                               come in) for up to MS; writes FILE.ready once listening, and FILE
//                               ("find_wall_ms N") when a FIND arrives: the kernel's receive time,
//                               wall clock. Exits 1 when none came.
// Prints one line with what it sent.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

double NowSeconds()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

int BoundSocket(const char *from, int port)
{
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons((unsigned short)port);
    inet_pton(AF_INET, from, &a.sin_addr);
    if (s < 0 || bind(s, (sockaddr *)&a, sizeof a) != 0) {
        perror("reply_flood: bind");
        exit(1);
    }
    return s;
}

void SendTo(int s, const char *to, const std::string &bytes)
{
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(49005);
    inet_pton(AF_INET, to, &a.sin_addr);
    // A full send buffer is waited out: every datagram counted here has left.
    while (sendto(s, bytes.data(), bytes.size(), 0, (sockaddr *)&a, sizeof a) < 0) usleep(200);
}

// Sleeps until datagram number n of a run at rate per second is due, in steps of at least 1 ms: the
// datagrams due within the next millisecond go at once. The rate stays the same, and the sender wakes
// a thousand times a second instead of once per datagram, leaving a loaded machine's CPU to the
// program under test.
void Pace(double start, long n, int rate)
{
    double due = start + (double)n / rate;
    double left = due - NowSeconds();
    if (left > 0.001) usleep((useconds_t)(left * 1e6));
}

std::string Imin(long i)
{
    char mac[32];
    snprintf(mac, sizeof mac, "02:00:00:%02X:%02X:%02X", (unsigned)(i >> 16) & 255, (unsigned)(i >> 8) & 255,
             (unsigned)i & 255);
    std::string t = "OpCode=IMIN\r\nMacAddr=" + std::string(mac) + "\r\nFW_Ver=VM-FLOOD\r\nDhcpMode=1\r\n"
                    "NumberOfEntries=10\r\n";
    for (int n = 1; n <= 10; n++)
        t += "File" + std::to_string(n) + "=http://10.77.0.1:8000/flood" + std::to_string(n) + "\r\nTitle" +
             std::to_string(n) + "=Flood channel " + std::to_string(n) + "\r\n";
    return t + std::string(1, '\0');
}

// The wall-clock time in ms at which the kernel received the first FIND within ms, or -1.
long long AwaitFind(int ms, const std::string &ready)
{
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    setsockopt(s, SOL_SOCKET, SO_TIMESTAMP, &on, sizeof on);
    timeval step = {0, 100000};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &step, sizeof step);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(49006);
    if (bind(s, (sockaddr *)&a, sizeof a) != 0) {
        perror("reply_flood: bind");
        exit(1);
    }
    FILE *f = fopen(ready.c_str(), "w");
    if (f) fclose(f);
    double end = NowSeconds() + ms / 1000.0;
    while (NowSeconds() < end) {
        char data[64], control[256];
        iovec io = {data, sizeof data};
        msghdr m = {};
        m.msg_iov = &io;
        m.msg_iovlen = 1;
        m.msg_control = control;
        m.msg_controllen = sizeof control;
        ssize_t n = recvmsg(s, &m, 0);
        if (n < 11 || memcmp(data, "OpCode=FIND", 11) != 0) continue;
        for (cmsghdr *c = CMSG_FIRSTHDR(&m); c; c = CMSG_NXTHDR(&m, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SO_TIMESTAMP) {
                timeval t;
                memcpy(&t, CMSG_DATA(c), sizeof t);
                return (long long)t.tv_sec * 1000 + t.tv_usec / 1000;
            }
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: reply_flood TO FROM nonul|whole TEXT | bytes SECONDS PORTS RATE | imin COUNT RATE | find-time MS FILE\n");
        return 2;
    }
    const char *to = argv[1], *from = argv[2];
    std::string kind = argv[3];
    if (kind == "nonul" || kind == "whole") {
        int s = BoundSocket(from, 49006);
        std::string text = argv[4];
        if (kind == "whole") text += '\0';
        SendTo(s, to, text);
        printf("sent %s %zu bytes\n", kind.c_str(), text.size());
        return 0;
    }
    if (kind == "bytes" && argc >= 7) {
        double seconds = atof(argv[4]);
        int ports = atoi(argv[5]), rate = atoi(argv[6]);
        std::vector<int> sockets;
        for (int p = 0; p < ports; p++) sockets.push_back(BoundSocket(from, 50000 + p));
        double start = NowSeconds();
        long n = 0;
        for (; NowSeconds() - start < seconds; n++) {
            Pace(start, n, rate);
            SendTo(sockets[n % ports], to, std::string(1, (char)('a' + n % 26)));
        }
        printf("sent bytes %ld datagrams from %d ports in %.1f s\n", n, ports, NowSeconds() - start);
        return 0;
    }
    if (kind == "find-time" && argc >= 6) {
        long long at = AwaitFind(atoi(argv[4]), std::string(argv[5]) + ".ready");
        if (at < 0) {
            printf("find-time: no FIND within %s ms\n", argv[4]);
            return 1;
        }
        std::string part = std::string(argv[5]) + ".part";   // renamed whole: a reader never sees half
        FILE *f = fopen(part.c_str(), "w");
        if (!f) return 1;
        fprintf(f, "find_wall_ms %lld\n", at);
        fclose(f);
        if (rename(part.c_str(), argv[5]) != 0) return 1;
        printf("find-time: FIND at %lld\n", at);
        return 0;
    }
    if (kind == "imin" && argc >= 6) {
        long count = atol(argv[4]);
        int rate = atoi(argv[5]);
        int s = BoundSocket(from, 49006);
        double start = NowSeconds();
        for (long i = 0; i < count; i++) {
            Pace(start, i, rate);
            SendTo(s, to, Imin(i));
        }
        printf("sent imin %ld replies in %.1f s\n", count, NowSeconds() - start);
        return 0;
    }
    fprintf(stderr, "reply_flood: unknown kind %s\n", kind.c_str());
    return 2;
}
