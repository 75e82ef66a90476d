// driver_capture.cpp: records the device datagrams (UDP ports 49005 and 49006) that cross one
// interface of a test network, with their wall-clock time, and joins them back into messages.
//
// Usage: driver_capture IFACE LOG [READY]    record until SIGTERM/SIGINT (run inside the namespace)
//        driver_capture --messages LOG DIR   write each whole message (datagrams of one sender joined
//                                            until a NUL) to DIR/N.msg without its NUL, and list them
//                                            on stdout: "N from=A:P to=A:P datagrams=D bytes=B last_ms=T"
//        driver_capture --datagrams LOG      one line per datagram: "from=A:P to=A:P len=L ms=T"
// Log record: "CAP1", u32 length, u32 source address, u16 source port, u32 destination address,
// u16 destination port, u64 wall-clock ms, then the payload (numbers little-endian, addresses in
// network order).
#include <arpa/inet.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

struct Record {
    uint32_t src, dst;
    uint16_t sport, dport;
    uint64_t ms;
    std::string bytes;
};

uint64_t WallMs()
{
    timeval tv;
    gettimeofday(&tv, nullptr);
    return (uint64_t)tv.tv_sec * 1000u + (uint64_t)tv.tv_usec / 1000u;
}

void Put(std::string &out, uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; i++) out += (char)((v >> (8 * i)) & 0xFF);
}

int Capture(const char *iface, const char *logPath, const char *readyPath)
{
    // ETH_P_ALL: only such taps see the packets this host sends as well.
    int s = socket(AF_PACKET, SOCK_DGRAM, htons(ETH_P_ALL));
    if (s < 0) { perror("socket"); return 1; }
    int big = 16 << 20;
    setsockopt(s, SOL_SOCKET, SO_RCVBUFFORCE, &big, sizeof big);
    sockaddr_ll ll = {};
    ll.sll_family = AF_PACKET;
    ll.sll_protocol = htons(ETH_P_ALL);
    ll.sll_ifindex = (int)if_nametoindex(iface);
    if (!ll.sll_ifindex || bind(s, (sockaddr *)&ll, sizeof ll) != 0) { perror(iface); return 1; }
    FILE *log = fopen(logPath, "wb");
    if (!log) { perror(logPath); return 1; }
    signal(SIGTERM, OnSignal);
    signal(SIGINT, OnSignal);
    if (readyPath) {
        FILE *r = fopen(readyPath, "w");
        if (r) fclose(r);
    }
    timeval tv = {0, 200000};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    std::vector<unsigned char> packet(70000);
    while (!g_stop) {
        sockaddr_ll from = {};
        socklen_t fromLength = sizeof from;
        ssize_t n = recvfrom(s, packet.data(), packet.size(), 0, (sockaddr *)&from, &fromLength);
        if (n <= 0 || from.sll_protocol != htons(ETH_P_IP)) continue;
        uint64_t now = WallMs();
        if (n < (ssize_t)sizeof(iphdr)) continue;
        const iphdr *ip = (const iphdr *)packet.data();
        int ihl = ip->ihl * 4;
        if (ip->protocol != IPPROTO_UDP || n < ihl + 8) continue;
        if (ntohs(ip->frag_off) & 0x1FFF) continue;   // later fragments carry no UDP header
        const udphdr *udp = (const udphdr *)(packet.data() + ihl);
        uint16_t sport = ntohs(udp->source), dport = ntohs(udp->dest);
        if (sport != 49005 && sport != 49006 && dport != 49005 && dport != 49006) continue;
        int payload = (int)ntohs(udp->len) - 8;
        if (payload < 0 || ihl + 8 + payload > n) payload = (int)n - ihl - 8;
        std::string rec = "CAP1";
        Put(rec, (uint32_t)payload, 4);
        rec.append((const char *)&ip->saddr, 4);
        Put(rec, sport, 2);
        rec.append((const char *)&ip->daddr, 4);
        Put(rec, dport, 2);
        Put(rec, now, 8);
        rec.append((const char *)packet.data() + ihl + 8, (size_t)payload);
        fwrite(rec.data(), 1, rec.size(), log);
        fflush(log);
    }
    fclose(log);
    return 0;
}

bool ReadLog(const char *path, std::vector<Record> &out)
{
    FILE *f = fopen(path, "rb");
    if (!f) { perror(path); return false; }
    unsigned char h[28];
    while (fread(h, 1, 28, f) == 28) {
        if (memcmp(h, "CAP1", 4) != 0) { fprintf(stderr, "driver_capture: damaged log\n"); fclose(f); return false; }
        auto num = [&](int o, int bytes) {
            uint64_t v = 0;
            for (int i = bytes - 1; i >= 0; i--) v = v << 8 | h[o + i];
            return v;
        };
        Record r;
        uint32_t len = (uint32_t)num(4, 4);
        memcpy(&r.src, h + 8, 4);
        r.sport = (uint16_t)num(12, 2);
        memcpy(&r.dst, h + 14, 4);
        r.dport = (uint16_t)num(18, 2);
        r.ms = num(20, 8);
        r.bytes.resize(len);
        if (len && fread(&r.bytes[0], 1, len, f) != len) break;
        out.push_back(r);
    }
    fclose(f);
    return true;
}

std::string Endpoint(uint32_t address, uint16_t port)
{
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address, text, sizeof text);
    return std::string(text) + ":" + std::to_string(port);
}

int Messages(const char *logPath, const char *dir)
{
    std::vector<Record> records;
    if (!ReadLog(logPath, records)) return 1;
    struct Pending { std::string bytes; int datagrams = 0; uint32_t dst = 0; uint16_t dport = 0; };
    std::map<std::pair<uint32_t, uint16_t>, Pending> pending;
    int index = 0;
    for (const Record &r : records) {
        Pending &p = pending[{r.src, r.sport}];
        p.bytes += r.bytes;
        p.datagrams++;
        p.dst = r.dst;
        p.dport = r.dport;
        size_t nul = p.bytes.find('\0');
        if (nul == std::string::npos) continue;
        std::string path = std::string(dir) + "/" + std::to_string(index) + ".msg";
        FILE *f = fopen(path.c_str(), "wb");
        if (!f) { perror(path.c_str()); return 1; }
        fwrite(p.bytes.data(), 1, nul, f);
        fclose(f);
        printf("%d from=%s to=%s datagrams=%d bytes=%zu last_ms=%llu\n", index, Endpoint(r.src, r.sport).c_str(),
               Endpoint(p.dst, p.dport).c_str(), p.datagrams, nul, (unsigned long long)r.ms);
        index++;
        p = Pending();
    }
    return 0;
}

int Datagrams(const char *logPath)
{
    std::vector<Record> records;
    if (!ReadLog(logPath, records)) return 1;
    for (const Record &r : records)
        printf("from=%s to=%s len=%zu ms=%llu\n", Endpoint(r.src, r.sport).c_str(), Endpoint(r.dst, r.dport).c_str(),
               r.bytes.size(), (unsigned long long)r.ms);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && strcmp(argv[1], "--messages") == 0) return Messages(argv[2], argv[3]);
    if (argc >= 3 && strcmp(argv[1], "--datagrams") == 0) return Datagrams(argv[2]);
    if (argc >= 3 && argv[1][0] != '-') return Capture(argv[1], argv[2], argc > 3 ? argv[3] : nullptr);
    fprintf(stderr, "usage: driver_capture IFACE LOG [READY] | --messages LOG DIR | --datagrams LOG\n");
    return 2;
}
