// velmio_sim_probe.cpp: loopback-only test client for the device simulator: one datagram out, replies kept.
//
// Usage: velmio_sim_probe --to A.B.C.D --port P (--text TEXT | --file FILE) --out PREFIX [--want N] [--wait MS]
//   Sends TEXT plus a NUL (or FILE's bytes as they are) from 127.0.0.1 to A:P, which must be a
//   127.x.x.x address, then collects datagrams until N messages (each ending in a NUL) came, plus a
//   short look for more, or MS milliseconds passed [3000; 700 with N = 0]. Writes:
//     PREFIX.sources  one "address:port length" line per datagram received
//     PREFIX.dev<i>   each IMIN message of the device whose MAC ends in hex i (slices of one sender joined)
//     PREFIX.other    every other message
// Exit code 0, 2 on bad arguments or a socket failure.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <map>
#include <string>
#include <vector>

static long long NowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

static void Append(const std::string &path, const std::string &bytes)
{
    FILE *f = fopen(path.c_str(), "ab");
    if (!f) { perror(path.c_str()); return; }
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

// Where a complete message goes: PREFIX.dev<i> for an IMIN, PREFIX.other otherwise.
static std::string MessagePath(const std::string &prefix, const std::string &m)
{
    const std::string key = "\nMacAddr=";
    size_t at = m.find(key);
    if (m.compare(0, 11, "OpCode=IMIN") != 0 || at == std::string::npos) return prefix + ".other";
    size_t end = m.find_first_of("\r\n", at + key.size());
    std::string mac = m.substr(at + key.size(), end == std::string::npos ? std::string::npos : end - at - key.size());
    if (mac.size() < 2) return prefix + ".other";
    return prefix + ".dev" + std::to_string(strtol(mac.substr(mac.size() - 2).c_str(), nullptr, 16));
}

int main(int argc, char **argv)
{
    std::string to, out, data;
    int port = 0, want = 0, wait = -1;
    bool haveData = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i], v = argv[i + 1];
        if (a == "--to") to = v;
        else if (a == "--port") port = atoi(v.c_str());
        else if (a == "--out") out = v;
        else if (a == "--want") want = atoi(v.c_str());
        else if (a == "--wait") wait = atoi(v.c_str());
        else if (a == "--text") { data = v + std::string(1, '\0'); haveData = true; }
        else if (a == "--file") {
            FILE *f = fopen(v.c_str(), "rb");
            if (!f) { perror(v.c_str()); return 2; }
            char buf[4096];
            size_t n;
            while ((n = fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
            fclose(f);
            haveData = true;
        } else { fprintf(stderr, "velmio_sim_probe: unknown option %s\n", a.c_str()); return 2; }
    }
    in_addr dest;
    if (argc % 2 == 0 || !haveData || out.empty() || port <= 0 || port > 65535 || inet_pton(AF_INET, to.c_str(), &dest) != 1 ||
        (ntohl(dest.s_addr) >> 24) != 127) {
        fprintf(stderr, "velmio_sim_probe: needs --to 127.x.x.x, --port, --text or --file, and --out\n");
        return 2;
    }
    if (wait < 0) wait = want > 0 ? 3000 : 700;

    int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a;
    memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (s < 0 || bind(s, (sockaddr *)&a, sizeof a) != 0) { perror("velmio_sim_probe: socket"); return 2; }
    a.sin_addr = dest;
    a.sin_port = htons((uint16_t)port);
    if (sendto(s, data.data(), data.size(), 0, (sockaddr *)&a, sizeof a) != (ssize_t)data.size()) {
        perror("velmio_sim_probe: sendto");
        return 2;
    }

    std::string sources;
    std::map<std::string, std::string> pending;  // bytes after the last NUL, by sender
    std::vector<char> buf(70000);
    int done = 0;
    long long end = NowMs() + wait;
    for (long long now = NowMs(); now < end; now = NowMs()) {
        pollfd p{s, POLLIN, 0};
        if (poll(&p, 1, (int)(end - now)) <= 0) break;
        sockaddr_in from;
        socklen_t len = sizeof from;
        ssize_t n = recvfrom(s, buf.data(), buf.size(), 0, (sockaddr *)&from, &len);
        if (n < 0) break;
        char addr[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &from.sin_addr, addr, sizeof addr);
        std::string key = std::string(addr) + ":" + std::to_string(ntohs(from.sin_port));
        sources += key + " " + std::to_string(n) + "\n";
        std::string &text = pending[key];
        text.append(buf.data(), (size_t)n);
        for (size_t nul; (nul = text.find('\0')) != std::string::npos;) {
            Append(MessagePath(out, text.substr(0, nul + 1)), text.substr(0, nul + 1));
            text.erase(0, nul + 1);
            done++;
        }
        if (want > 0 && done >= want && end > NowMs() + 300) end = NowMs() + 300;  // a short look for more
    }
    close(s);
    FILE *f = fopen((out + ".sources").c_str(), "wb");
    if (!f) { perror(out.c_str()); return 2; }
    fwrite(sources.data(), 1, sources.size(), f);
    fclose(f);
    return 0;
}
