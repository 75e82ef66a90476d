// driver_capture.cpp: records the device datagrams (UDP ports 49005 and 49006) that cross one
// interface of a test network, with the kernel's time of each, and joins them back into messages.
//
// Usage: driver_capture IFACE LOG [READY]    record until SIGTERM/SIGINT (run inside the namespace);
//                                            READY appears, holding the process id, once it listens
//        driver_capture --messages LOG DIR   write each whole message (datagrams of one sender joined
//                                            until a NUL) to DIR/N.msg without its NUL, and list them
//                                            on stdout: "N from=A:P to=A:P datagrams=D bytes=B last_ms=T"
//        driver_capture --datagrams LOG      one line per datagram: "from=A:P to=A:P len=L ms=T ns=N"
// SIGUSR1 asks the recorder to catch up: it logs every datagram already queued to it, then creates
// LOG.synced. Every datagram that crossed the link before the signal is then in the log, because the
// kernel queues a copy to the recorder as the datagram crosses.
// Log record: "CAP2", u32 length, u32 source address, u16 source port, u32 destination address,
// u16 destination port, u64 wall-clock ns when the kernel saw the datagram, then the payload
// (numbers little-endian, addresses in network order). Two recorders' times compare to the
// nanosecond: they come from the kernel, not from when each recorder got to run.
#include <arpa/inet.h>
#include <errno.h>
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
#include <time.h>
#include <unistd.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

volatile sig_atomic_t g_stop = 0;
volatile sig_atomic_t g_sync = 0;
void OnSignal(int) { g_stop = 1; }
void OnSync(int) { g_sync = 1; }

struct Record {
    uint32_t src, dst;
    uint16_t sport, dport;
    uint64_t ns;
    std::string bytes;
};

uint64_t WallNs()
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return (uint64_t)ts.tv_sec * 1000000000u + (uint64_t)ts.tv_nsec;
}

void Put(std::string &out, uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; i++) out += (char)((v >> (8 * i)) & 0xFF);
}

// Receives one packet into packet; *ns gets the kernel's time of it (now, when it gave none).
ssize_t ReceivePacket(int s, std::vector<unsigned char> &packet, sockaddr_ll *from, uint64_t *ns, int flags)
{
    char control[256];
    iovec iov = {packet.data(), packet.size()};
    msghdr mh = {};
    mh.msg_name = from;
    mh.msg_namelen = sizeof *from;
    mh.msg_iov = &iov;
    mh.msg_iovlen = 1;
    mh.msg_control = control;
    mh.msg_controllen = sizeof control;
    ssize_t n = recvmsg(s, &mh, flags);
    *ns = 0;
    for (cmsghdr *c = CMSG_FIRSTHDR(&mh); n > 0 && c; c = CMSG_NXTHDR(&mh, c))
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec ts;
            memcpy(&ts, CMSG_DATA(c), sizeof ts);
            *ns = (uint64_t)ts.tv_sec * 1000000000u + (uint64_t)ts.tv_nsec;
        }
    if (n > 0 && !*ns) *ns = WallNs();
    return n;
}

// Appends one packet's record to the log when it is a device datagram.
void LogPacket(FILE *log, const std::vector<unsigned char> &packet, ssize_t n, const sockaddr_ll &from, uint64_t ns)
{
    if (from.sll_protocol != htons(ETH_P_IP) || n < (ssize_t)sizeof(iphdr)) return;
    const iphdr *ip = (const iphdr *)packet.data();
    int ihl = ip->ihl * 4;
    if (ip->protocol != IPPROTO_UDP || n < ihl + 8) return;
    if (ntohs(ip->frag_off) & 0x1FFF) return;   // later fragments carry no UDP header
    const udphdr *udp = (const udphdr *)(packet.data() + ihl);
    uint16_t sport = ntohs(udp->source), dport = ntohs(udp->dest);
    if (sport != 49005 && sport != 49006 && dport != 49005 && dport != 49006) return;
    int payload = (int)ntohs(udp->len) - 8;
    if (payload < 0 || ihl + 8 + payload > n) payload = (int)n - ihl - 8;
    std::string rec = "CAP2";
    Put(rec, (uint32_t)payload, 4);
    rec.append((const char *)&ip->saddr, 4);
    Put(rec, sport, 2);
    rec.append((const char *)&ip->daddr, 4);
    Put(rec, dport, 2);
    Put(rec, ns, 8);
    rec.append((const char *)packet.data() + ihl + 8, (size_t)payload);
    fwrite(rec.data(), 1, rec.size(), log);
    fflush(log);
}

int Capture(const char *iface, const char *logPath, const char *readyPath)
{
    // ETH_P_ALL: only such taps see the packets this host sends as well.
    int s = socket(AF_PACKET, SOCK_DGRAM, htons(ETH_P_ALL));
    if (s < 0) { perror("socket"); return 1; }
    int big = 16 << 20;
    setsockopt(s, SOL_SOCKET, SO_RCVBUFFORCE, &big, sizeof big);
    int on = 1;
    setsockopt(s, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    sockaddr_ll ll = {};
    ll.sll_family = AF_PACKET;
    ll.sll_protocol = htons(ETH_P_ALL);
    ll.sll_ifindex = (int)if_nametoindex(iface);
    if (!ll.sll_ifindex || bind(s, (sockaddr *)&ll, sizeof ll) != 0) { perror(iface); return 1; }
    FILE *log = fopen(logPath, "wb");
    if (!log) { perror(logPath); return 1; }
    signal(SIGTERM, OnSignal);
    signal(SIGINT, OnSignal);
    signal(SIGUSR1, OnSync);
    if (readyPath) {
        // Written whole, then put in place: a reader never sees it without the process id.
        std::string tmp = std::string(readyPath) + ".tmp";
        FILE *r = fopen(tmp.c_str(), "w");
        if (!r) { perror(tmp.c_str()); return 1; }
        fprintf(r, "%d\n", (int)getpid());
        if (fclose(r) != 0 || rename(tmp.c_str(), readyPath) != 0) { perror(readyPath); return 1; }
    }
    timeval tv = {0, 200000};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    std::vector<unsigned char> packet(70000);
    std::string syncedPath = std::string(logPath) + ".synced";
    while (!g_stop) {
        if (g_sync) {
            g_sync = 0;
            // Everything queued so far, without waiting, then the sign.
            for (;;) {
                sockaddr_ll from = {};
                uint64_t ns;
                ssize_t n = ReceivePacket(s, packet, &from, &ns, MSG_DONTWAIT);
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) break;
                LogPacket(log, packet, n, from, ns);
            }
            FILE *synced = fopen(syncedPath.c_str(), "w");
            if (synced) fclose(synced);
        }
        sockaddr_ll from = {};
        uint64_t ns;
        ssize_t n = ReceivePacket(s, packet, &from, &ns, 0);
        if (n > 0) LogPacket(log, packet, n, from, ns);
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
        if (memcmp(h, "CAP2", 4) != 0) { fprintf(stderr, "driver_capture: damaged log\n"); fclose(f); return false; }
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
        r.ns = num(20, 8);
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
               Endpoint(p.dst, p.dport).c_str(), p.datagrams, nul, (unsigned long long)(r.ns / 1000000u));
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
        printf("from=%s to=%s len=%zu ms=%llu ns=%llu\n", Endpoint(r.src, r.sport).c_str(), Endpoint(r.dst, r.dport).c_str(),
               r.bytes.size(), (unsigned long long)(r.ns / 1000000u), (unsigned long long)r.ns);
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
