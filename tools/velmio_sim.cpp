// velmio_sim.cpp: plays one or more Velmio radio devices on UDP port 49006 for tests and demos.
//
// Builds for Linux and, with MinGW-w64, as velmio_sim.exe for Windows/Wine; the two differ only in the
// small platform layer below (sockets, destination address of a datagram, file replacement).
// Under Wine 8 a UDP socket bound to one address other than 127.0.0.1 ends up bound to any address
// (Wine's doing, sends cannot pick their source either): every datagram still reaches the device its
// destination names, but a device's replies leave from the address the route picks.
//
// Usage: velmio_sim [options]            (runs until SIGTERM or SIGINT; Windows: Ctrl+C or end of process)
//        velmio_sim --dump LOG            one line per logged datagram
//        velmio_sim --dump-bytes LOG N    the bytes of logged datagram N (0-based) on stdout
//
// Each device answers FIND with an IMIN text carrying every settings key, sent to the requester's
// address and port in slices; stores a SETT naming its own MacAddr and answers "OpCode=SETC" + NUL;
// ignores a SETT for another MAC. Broadcasts are heard by one listener bound to any address; each
// device then answers from its OWN socket bound to its own address (--address), as real devices do.
//
// Options (defaults in brackets):
//   --devices N          number of devices [1]
//   --address A.B.C.D    address of device 0; device i uses A.B.C.(D+i). Without it every device
//                        answers from the listener's socket (one address for all)
//   --listen A.B.C.D     listener's bind address [0.0.0.0]      --port P  device port [49006]
//   --mac TEXT           MAC of device 0; device i adds i to the last byte [00:1A:2B:3C:4D:00]
//   --firmware TEXT      FW_Ver [VM-2.14.3]
//   --channels N         channel count [3]
//   --url-pattern TEXT   File<n> value; %n = channel number, %d = device index [http://10.77.0.1:8000/ch%n]
//   --title-pattern TEXT Title<n> value, same codes [Channel %n]
//   --pls1 URL --pls2 URL                      [http://10.77.0.1:8000/pls1, .../pls2]
//   --dhcp N --local-ip A --subnet A --gateway A --dns A --pppoe-id T --pppoe-psw T
//   --line-end crlf|lf|cr  line ends of the IMIN [crlf]
//   --delay MS --jitter MS reply delay, plus a random 0..jitter per reply [0, 0]
//   --slice N            slice size of replies [1472]      --slice-gap MS  pause between slices [0]
//   --malformed KIND     nonul (no closing NUL), opcode (OpCode=IMIX), oversize (a 65,507-byte
//                        datagram without NUL before the reply), nosetc (store a SETT, no answer)
//   --malformed-device I only device I misbehaves [all]
//   --state PREFIX       device i keeps its stored SETT text in PREFIX.i (read at start if present)
//   --log FILE           every datagram received, byte-exact (format below)
//   --ready FILE         written once every socket is bound; holds the process id (Windows: its own)
//   --seed N             random seed for the jitter [1]
//   --print-imin I       write device I's IMIN reply (with its NUL) to stdout and exit, binding nothing
//
// Log record: "VSL1", u32 length, u32 device (0xFFFFFFFF: the broadcast listener), u32 source address,
// u16 source port, u32 destination address, u16 destination port, u32 ms since start, then the
// bytes. Numbers little-endian except the addresses, which are in network order.
#ifdef _WIN32
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0600  // WSAPoll, inet_pton, inet_ntop
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mswsock.h>
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#else
#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace {

// ---- Platform layer: the only code that differs between the Linux and the Windows build. ----
#ifdef _WIN32
typedef SOCKET Sock;
const Sock kNoSock = INVALID_SOCKET;
typedef WSAPOLLFD PollFd;
LPFN_WSARECVMSG g_recvMsg = nullptr;  // WSARecvMsg, looked up on the first receive

// Starts WinSock; stdout carries raw bytes (--print-imin, --dump-bytes), so no CRLF translation.
bool PlatStart()
{
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
        fprintf(stderr, "velmio_sim: WSAStartup failed\n");
        return false;
    }
    _setmode(_fileno(stdout), _O_BINARY);
    return true;
}
void SockClose(Sock s) { closesocket(s); }
void SockNonBlocking(Sock s)
{
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
}
// An ICMP "port unreachable" after a reply would otherwise fail the next receive with WSAECONNRESET.
void SockQuietResets(Sock s)
{
    BOOL off = FALSE;
    DWORD n = 0;
    WSAIoctl(s, SIO_UDP_CONNRESET, &off, sizeof off, nullptr, 0, &n, nullptr, nullptr);
}
std::string SockErrorText() { return "WinSock error " + std::to_string(WSAGetLastError()); }
int SockPoll(PollFd *fds, size_t n, int ms) { return WSAPoll(fds, (ULONG)n, ms); }
bool PollInterrupted() { return false; }
int ProcessId() { return _getpid(); }
// Moves tmp over path, replacing it (rename() on Windows fails when path exists).
bool ReplaceWith(const char *tmp, const char *path) { return MoveFileExA(tmp, path, MOVEFILE_REPLACE_EXISTING) != 0; }

// One datagram into buf; *toAddr gets its destination address when the socket reports one.
long SockRecv(Sock s, char *buf, size_t size, sockaddr_in *from, uint32_t *toAddr)
{
    if (!g_recvMsg) {
        GUID id = WSAID_WSARECVMSG;
        DWORD n = 0;
        if (WSAIoctl(s, SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &g_recvMsg, sizeof g_recvMsg, &n, nullptr,
                     nullptr) != 0)
            g_recvMsg = nullptr;
    }
    if (!g_recvMsg) {
        int len = (int)sizeof *from;
        return recvfrom(s, buf, (int)size, 0, (sockaddr *)from, &len);
    }
    char control[256];
    WSABUF data;
    data.len = (ULONG)size;
    data.buf = buf;
    WSAMSG mh;
    memset(&mh, 0, sizeof mh);
    mh.name = (sockaddr *)from;
    mh.namelen = (int)sizeof *from;
    mh.lpBuffers = &data;
    mh.dwBufferCount = 1;
    mh.Control.buf = control;
    mh.Control.len = sizeof control;
    DWORD got = 0;
    if (g_recvMsg(s, &mh, &got, nullptr, nullptr) != 0) return -1;
    for (WSACMSGHDR *c = WSA_CMSG_FIRSTHDR(&mh); c; c = WSA_CMSG_NXTHDR(&mh, c))
        if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO)
            *toAddr = ((IN_PKTINFO *)WSA_CMSG_DATA(c))->ipi_addr.s_addr;
    return (long)got;
}
#else
typedef int Sock;
const Sock kNoSock = -1;
typedef pollfd PollFd;

bool PlatStart()
{
    signal(SIGPIPE, SIG_IGN);
    return true;
}
void SockClose(Sock s) { close(s); }
void SockNonBlocking(Sock s) { fcntl(s, F_SETFL, fcntl(s, F_GETFL) | O_NONBLOCK); }
void SockQuietResets(Sock) {}
std::string SockErrorText() { return strerror(errno); }
int SockPoll(PollFd *fds, size_t n, int ms) { return poll(fds, n, ms); }
bool PollInterrupted() { return errno == EINTR; }
int ProcessId() { return (int)getpid(); }
bool ReplaceWith(const char *tmp, const char *path) { return rename(tmp, path) == 0; }

// One datagram into buf; *toAddr gets its destination address when the socket reports one.
long SockRecv(Sock s, char *buf, size_t size, sockaddr_in *from, uint32_t *toAddr)
{
    char control[256];
    iovec iov{buf, size};
    msghdr mh;
    memset(&mh, 0, sizeof mh);
    mh.msg_name = from;
    mh.msg_namelen = sizeof *from;
    mh.msg_iov = &iov;
    mh.msg_iovlen = 1;
    mh.msg_control = control;
    mh.msg_controllen = sizeof control;
    ssize_t n = recvmsg(s, &mh, 0);
    if (n < 0) return -1;
    for (cmsghdr *c = CMSG_FIRSTHDR(&mh); c; c = CMSG_NXTHDR(&mh, c))
        if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO)
            *toAddr = ((in_pktinfo *)CMSG_DATA(c))->ipi_addr.s_addr;
    return (long)n;
}
#endif
// ---- End of the platform layer. ----

struct Options {
    int devices = 1;
    std::string address;
    std::string listen = "0.0.0.0";
    int port = 49006;
    std::string mac = "00:1A:2B:3C:4D:00";
    std::string firmware = "VM-2.14.3";
    int channels = 3;
    std::string urlPattern = "http://10.77.0.1:8000/ch%n";
    std::string titlePattern = "Channel %n";
    std::string pls1 = "http://10.77.0.1:8000/pls1";
    std::string pls2 = "http://10.77.0.1:8000/pls2";
    std::string dhcp = "1", localIp = "10.77.0.50", subnet = "255.255.255.0", gateway = "10.77.0.1";
    std::string dns = "10.77.0.1", pppoeId = "", pppoePsw = "";
    std::string lineEnd = "\r\n";
    int delay = 0, jitter = 0, slice = 1472, sliceGap = 0;
    std::string malformed;
    int malformedDevice = -1;
    std::string statePrefix, logPath, readyPath;
    unsigned seed = 1;
    int printImin = -1;
};

struct Device {
    int index;
    std::string mac;
    std::map<std::string, std::string> values;  // stored settings, by key
    std::vector<std::string> order;             // keys in the order they were stored
    Sock sock = kNoSock;                         // own socket, or kNoSock: answers from the listener
    uint32_t address = 0;                        // own address (network order), 0 with none
};

// One datagram waiting to be sent at a given time.
struct Outgoing {
    uint64_t due;
    Sock sock;
    sockaddr_in to;
    std::string bytes;
};

// A sender's text collected so far.
struct Partial {
    std::string text;
    uint64_t last;
};

volatile sig_atomic_t g_stop = 0;
Options g_opt;
FILE *g_log = nullptr;
uint64_t g_start = 0;

uint64_t NowMs()
{
    return (uint64_t)std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch()).count();
}

void OnSignal(int) { g_stop = 1; }

std::string Dotted(uint32_t a)
{
    char buf[INET_ADDRSTRLEN];
    in_addr in;
    in.s_addr = a;
    inet_ntop(AF_INET, &in, buf, sizeof buf);
    return buf;
}

std::string Expand(const std::string &pattern, int channel, int device)
{
    std::string out;
    for (size_t i = 0; i < pattern.size(); i++) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && (pattern[i + 1] == 'n' || pattern[i + 1] == 'd')) {
            out += std::to_string(pattern[i + 1] == 'n' ? channel : device);
            i++;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

// MAC of device i: the base MAC with i added to its last two hex digits (wrapping into the one before).
std::string DeviceMac(const std::string &base, int i)
{
    if (i == 0)
        return base;
    std::string mac = base;
    int carry = i;
    for (int pos = (int)mac.size() - 1; pos >= 0 && carry; pos--) {
        char c = mac[pos];
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else continue;
        v += carry;
        carry = v / 16;
        mac[pos] = "0123456789ABCDEF"[v % 16];
    }
    return mac;
}

// Value of key in a device text: from "Key=" at a line start to the line end; found = false when absent.
std::string LineValue(const std::string &text, const std::string &key, bool *found)
{
    std::string sought = key + "=";
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        if (text.compare(pos, sought.size(), sought) == 0 && end - pos >= sought.size()) {
            if (found) *found = true;
            return text.substr(pos + sought.size(), end - pos - sought.size());
        }
        pos = end + 1;
    }
    if (found) *found = false;
    return "";
}

void SetValue(Device &d, const std::string &key, const std::string &value)
{
    if (!d.values.count(key)) d.order.push_back(key);
    d.values[key] = value;
}

void InitialValues(Device &d)
{
    const Options &o = g_opt;
    SetValue(d, "DhcpMode", o.dhcp);
    SetValue(d, "LocalIP", o.localIp);
    SetValue(d, "SubnetMask", o.subnet);
    SetValue(d, "GatewayIP", o.gateway);
    SetValue(d, "DNS_IP", o.dns);
    SetValue(d, "PPPoEID", o.pppoeId);
    SetValue(d, "PPPoEPsw", o.pppoePsw);
    SetValue(d, "PlsUrl1", Expand(o.pls1, 0, d.index));
    SetValue(d, "PlsUrl2", Expand(o.pls2, 0, d.index));
    SetValue(d, "NumberOfEntries", std::to_string(o.channels));
    for (int n = 1; n <= o.channels; n++) {
        SetValue(d, "File" + std::to_string(n), Expand(o.urlPattern, n, d.index));
        SetValue(d, "Title" + std::to_string(n), Expand(o.titlePattern, n, d.index));
    }
}

// Takes every settings key of a SETT text as the device's stored values.
void StoreSett(Device &d, const std::string &text)
{
    d.values.clear();
    d.order.clear();
    static const char *const keys[] = {"DhcpMode", "LocalIP", "SubnetMask", "GatewayIP", "DNS_IP",
                                       "PPPoEID", "PPPoEPsw", "PlsUrl1", "PlsUrl2", "NumberOfEntries"};
    for (const char *k : keys) SetValue(d, k, LineValue(text, k, nullptr));
    int count = atoi(d.values["NumberOfEntries"].c_str());
    if (count < 0) count = 0;
    if (count > 10000) count = 10000;
    for (int n = 1; n <= count; n++) {
        SetValue(d, "File" + std::to_string(n), LineValue(text, "File" + std::to_string(n), nullptr));
        SetValue(d, "Title" + std::to_string(n), LineValue(text, "Title" + std::to_string(n), nullptr));
    }
}

std::string StatePath(const Device &d) { return g_opt.statePrefix + "." + std::to_string(d.index); }

void SaveState(const Device &d, const std::string &text)
{
    if (g_opt.statePrefix.empty()) return;
    std::string tmp = StatePath(d) + ".tmp";
    FILE *f = fopen(tmp.c_str(), "wb");
    if (!f) return;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
    if (!ReplaceWith(tmp.c_str(), StatePath(d).c_str()))
        fprintf(stderr, "velmio_sim: cannot write %s\n", StatePath(d).c_str());
}

void LoadState(Device &d)
{
    if (g_opt.statePrefix.empty()) return;
    FILE *f = fopen(StatePath(d).c_str(), "rb");
    if (!f) return;
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    fclose(f);
    StoreSett(d, text);
}

bool Misbehaves(const Device &d, const char *kind)
{
    return g_opt.malformed == kind && (g_opt.malformedDevice < 0 || g_opt.malformedDevice == d.index);
}

std::string ImminText(const Device &d)
{
    const std::string &eol = g_opt.lineEnd;
    std::string t = std::string("OpCode=") + (Misbehaves(d, "opcode") ? "IMIX" : "IMIN") + eol;
    t += "MacAddr=" + d.mac + eol;
    t += "FW_Ver=" + g_opt.firmware + eol;
    for (const std::string &k : d.order) t += k + "=" + d.values.at(k) + eol;
    if (!Misbehaves(d, "nonul")) t.push_back('\0');
    return t;
}

void LogDatagram(uint32_t device, const sockaddr_in &from, uint32_t toAddr, uint16_t toPort, const char *data, size_t n)
{
    if (!g_log) return;
    auto u32 = [](uint32_t v) { unsigned char b[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)(v >> 16), (unsigned char)(v >> 24)}; fwrite(b, 1, 4, g_log); };
    auto u16 = [](uint16_t v) { unsigned char b[2] = {(unsigned char)v, (unsigned char)(v >> 8)}; fwrite(b, 1, 2, g_log); };
    fwrite("VSL1", 1, 4, g_log);
    u32((uint32_t)n);
    u32(device);
    fwrite(&from.sin_addr.s_addr, 1, 4, g_log);
    u16(ntohs(from.sin_port));
    fwrite(&toAddr, 1, 4, g_log);
    u16(toPort);
    u32((uint32_t)(NowMs() - g_start));
    fwrite(data, 1, n, g_log);
    fflush(g_log);
}

void Queue(std::vector<Outgoing> &out, Sock sock, const sockaddr_in &to, const std::string &bytes, uint64_t due)
{
    int slice = g_opt.slice > 0 ? g_opt.slice : 1472;
    size_t pos = 0;
    int k = 0;
    do {
        size_t n = std::min(bytes.size() - pos, (size_t)slice);
        out.push_back(Outgoing{due + (uint64_t)k * g_opt.sliceGap, sock, to, bytes.substr(pos, n)});
        pos += n;
        k++;
    } while (pos < bytes.size());
}

uint64_t ReplyDue()
{
    uint64_t due = NowMs() + (uint64_t)g_opt.delay;
    if (g_opt.jitter > 0) due += (uint64_t)(rand() % (g_opt.jitter + 1));
    return due;
}

void HandleMessage(std::vector<Device> &devices, Sock listener, const std::string &text, const sockaddr_in &from,
                   int onlyDevice, std::vector<Outgoing> &out)
{
    std::string opcode = LineValue(text, "OpCode", nullptr);
    for (Device &d : devices) {
        if (onlyDevice >= 0 && d.index != onlyDevice) continue;
        Sock sock = d.sock != kNoSock ? d.sock : listener;
        if (opcode == "FIND") {
            uint64_t due = ReplyDue();
            if (Misbehaves(d, "oversize")) {
                out.push_back(Outgoing{due, sock, from, std::string(65507, 'A')});
            }
            Queue(out, sock, from, ImminText(d), due);
        } else if (opcode == "SETT") {
            if (LineValue(text, "MacAddr", nullptr) != d.mac) continue;
            StoreSett(d, text);
            SaveState(d, text);
            if (!Misbehaves(d, "nosetc")) Queue(out, sock, from, std::string("OpCode=SETC", 12), ReplyDue());
        }
    }
}

Sock BindUdp(uint32_t address, int port)
{
    Sock s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == kNoSock) return kNoSock;
    // Lets the any-address listener and the devices' own sockets share the port.
    int one = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, (const char *)&one, sizeof one);
    setsockopt(s, IPPROTO_IP, IP_PKTINFO, (const char *)&one, sizeof one);
    int big = 4 << 20;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, (const char *)&big, sizeof big);
    setsockopt(s, SOL_SOCKET, SO_SNDBUF, (const char *)&big, sizeof big);
    SockQuietResets(s);
    sockaddr_in a;
    memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_port = htons((uint16_t)port);
    a.sin_addr.s_addr = address;
    if (bind(s, (sockaddr *)&a, sizeof a) != 0) {
        fprintf(stderr, "velmio_sim: bind %s:%d: %s\n", Dotted(address).c_str(), port, SockErrorText().c_str());
        SockClose(s);
        return kNoSock;
    }
    SockNonBlocking(s);
    return s;
}

// Escaped text of a logged datagram for --dump.
std::string Escape(const std::string &bytes)
{
    std::string out;
    char buf[8];
    for (unsigned char c : bytes) {
        if (c == '\\') out += "\\\\";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c >= 32 && c < 127) out += (char)c;
        else { snprintf(buf, sizeof buf, "\\x%02x", c); out += buf; }
    }
    return out;
}

int Dump(const char *path, long wanted)
{
    FILE *f = fopen(path, "rb");
    if (!f) { perror(path); return 1; }
    unsigned char h[28];
    long index = 0;
    while (fread(h, 1, 28, f) == 28) {
        if (memcmp(h, "VSL1", 4) != 0) { fprintf(stderr, "velmio_sim: damaged log\n"); fclose(f); return 1; }
        auto u32 = [&](int o) { return (uint32_t)h[o] | (uint32_t)h[o + 1] << 8 | (uint32_t)h[o + 2] << 16 | (uint32_t)h[o + 3] << 24; };
        uint32_t len = u32(4), device = u32(8), src, dst, ms = u32(24);
        memcpy(&src, h + 12, 4);
        memcpy(&dst, h + 18, 4);
        int sport = h[16] | h[17] << 8, dport = h[22] | h[23] << 8;
        std::string bytes(len, '\0');
        if (len && fread(&bytes[0], 1, len, f) != len) break;
        if (wanted < 0) {
            printf("%ld device=%d from=%s:%d to=%s:%d len=%u ms=%u text=%s\n", index, device == 0xFFFFFFFFu ? -1 : (int)device,
                   Dotted(src).c_str(), sport, Dotted(dst).c_str(), dport, len, ms, Escape(bytes).c_str());
        } else if (index == wanted) {
            fwrite(bytes.data(), 1, bytes.size(), stdout);
            fclose(f);
            return 0;
        }
        index++;
    }
    fclose(f);
    return wanted < 0 ? 0 : 1;
}

bool ParseArgs(int argc, char **argv)
{
    Options &o = g_opt;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (i + 1 >= argc) { fprintf(stderr, "velmio_sim: %s needs a value\n", a.c_str()); return false; }
        std::string v = argv[++i];
        if (a == "--devices") o.devices = atoi(v.c_str());
        else if (a == "--address") o.address = v;
        else if (a == "--listen") o.listen = v;
        else if (a == "--port") o.port = atoi(v.c_str());
        else if (a == "--mac") o.mac = v;
        else if (a == "--firmware") o.firmware = v;
        else if (a == "--channels") o.channels = atoi(v.c_str());
        else if (a == "--url-pattern") o.urlPattern = v;
        else if (a == "--title-pattern") o.titlePattern = v;
        else if (a == "--pls1") o.pls1 = v;
        else if (a == "--pls2") o.pls2 = v;
        else if (a == "--dhcp") o.dhcp = v;
        else if (a == "--local-ip") o.localIp = v;
        else if (a == "--subnet") o.subnet = v;
        else if (a == "--gateway") o.gateway = v;
        else if (a == "--dns") o.dns = v;
        else if (a == "--pppoe-id") o.pppoeId = v;
        else if (a == "--pppoe-psw") o.pppoePsw = v;
        else if (a == "--line-end") o.lineEnd = v == "lf" ? "\n" : v == "cr" ? "\r" : "\r\n";
        else if (a == "--delay") o.delay = atoi(v.c_str());
        else if (a == "--jitter") o.jitter = atoi(v.c_str());
        else if (a == "--slice") o.slice = atoi(v.c_str());
        else if (a == "--slice-gap") o.sliceGap = atoi(v.c_str());
        else if (a == "--malformed") o.malformed = v;
        else if (a == "--malformed-device") o.malformedDevice = atoi(v.c_str());
        else if (a == "--state") o.statePrefix = v;
        else if (a == "--log") o.logPath = v;
        else if (a == "--ready") o.readyPath = v;
        else if (a == "--seed") o.seed = (unsigned)strtoul(v.c_str(), nullptr, 10);
        else if (a == "--print-imin") o.printImin = atoi(v.c_str());
        else { fprintf(stderr, "velmio_sim: unknown option %s\n", a.c_str()); return false; }
    }
    if (o.devices < 1 || o.devices > 250 || o.channels < 0 || o.slice < 1 || o.slice > 65507) {
        fprintf(stderr, "velmio_sim: bad device count, channel count or slice size\n");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    if (!PlatStart()) return 1;
    if (argc >= 3 && strcmp(argv[1], "--dump") == 0) return Dump(argv[2], -1);
    if (argc >= 4 && strcmp(argv[1], "--dump-bytes") == 0) return Dump(argv[2], atol(argv[3]));
    if (!ParseArgs(argc, argv)) return 2;
    srand(g_opt.seed);
    g_start = NowMs();
    signal(SIGTERM, OnSignal);
    signal(SIGINT, OnSignal);
    if (!g_opt.logPath.empty() && !(g_log = fopen(g_opt.logPath.c_str(), "wb"))) { perror(g_opt.logPath.c_str()); return 1; }

    std::vector<Device> devices((size_t)g_opt.devices);
    uint32_t base = 0;
    if (!g_opt.address.empty()) {
        in_addr a;
        if (inet_pton(AF_INET, g_opt.address.c_str(), &a) != 1) { fprintf(stderr, "velmio_sim: bad --address\n"); return 2; }
        base = ntohl(a.s_addr);
    }
    for (int i = 0; i < g_opt.devices; i++) {
        Device &d = devices[(size_t)i];
        d.index = i;
        d.mac = DeviceMac(g_opt.mac, i);
        InitialValues(d);
        LoadState(d);
    }
    if (g_opt.printImin >= 0) {
        if (g_opt.printImin >= g_opt.devices) return 2;
        std::string text = ImminText(devices[(size_t)g_opt.printImin]);
        fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    in_addr listenAddr;
    if (inet_pton(AF_INET, g_opt.listen.c_str(), &listenAddr) != 1) { fprintf(stderr, "velmio_sim: bad --listen\n"); return 2; }
    Sock listener = BindUdp(listenAddr.s_addr, g_opt.port);
    if (listener == kNoSock) return 1;
    for (int i = 0; i < g_opt.devices; i++) {
        Device &d = devices[(size_t)i];
        if (base) {
            d.address = htonl(base + (uint32_t)i);
            d.sock = BindUdp(d.address, g_opt.port);
            if (d.sock == kNoSock) return 1;
        }
    }
    if (!g_opt.readyPath.empty()) {
        FILE *f = fopen(g_opt.readyPath.c_str(), "wb");
        if (f) { fprintf(f, "%d\n", ProcessId()); fclose(f); }
    }

    std::vector<PollFd> fds;
    fds.push_back(PollFd{listener, POLLIN, 0});
    for (Device &d : devices)
        if (d.sock != kNoSock) fds.push_back(PollFd{d.sock, POLLIN, 0});
    std::map<std::pair<uint32_t, int>, Partial> partials;  // by sender address and port
    std::vector<Outgoing> out;
    std::vector<char> buf(65536);

    while (!g_stop) {
        uint64_t now = NowMs();
        // Send what is due, in order of due time (stable among equals).
        std::vector<Outgoing> later;
        std::stable_sort(out.begin(), out.end(), [](const Outgoing &a, const Outgoing &b) { return a.due < b.due; });
        for (Outgoing &o : out) {
            if (o.due > now) { later.push_back(o); continue; }
            if (sendto(o.sock, o.bytes.data(), (int)o.bytes.size(), 0, (sockaddr *)&o.to, sizeof o.to) < 0)
                fprintf(stderr, "velmio_sim: sendto %s: %s\n", Dotted(o.to.sin_addr.s_addr).c_str(), SockErrorText().c_str());
        }
        out.swap(later);
        // Expire partial texts silent for 5 s.
        for (auto it = partials.begin(); it != partials.end();)
            it = now - it->second.last >= 5000 ? partials.erase(it) : std::next(it);

        int timeout = 200;
        for (const Outgoing &o : out) timeout = std::min<int>(timeout, o.due > now ? (int)(o.due - now) : 0);
        if (SockPoll(fds.data(), fds.size(), timeout) < 0 && !PollInterrupted()) break;
        for (size_t k = 0; k < fds.size(); k++) {
            if (!(fds[k].revents & POLLIN)) continue;
            for (;;) {
                sockaddr_in from;
                memset(&from, 0, sizeof from);
                int device = -1;
                uint32_t toAddr = 0;
                for (Device &d : devices)
                    if (d.sock == fds[k].fd) { device = d.index; toAddr = d.address; }
                long n = SockRecv(fds[k].fd, buf.data(), buf.size(), &from, &toAddr);
                if (n < 0) break;
                if (device >= 0 && toAddr != devices[(size_t)device].address) {
                    // Wine binds a UDP socket meant for one address to any address: the datagram's
                    // destination tells which device it is for; one for none of them is not heard.
                    device = -1;
                    for (Device &d : devices)
                        if (d.address == toAddr) device = d.index;
                    if (device < 0) continue;
                }
                LogDatagram(device < 0 ? 0xFFFFFFFFu : (uint32_t)device, from, toAddr, (uint16_t)g_opt.port, buf.data(), (size_t)n);
                // A datagram to one device's own address concerns only that device.
                int only = device;
                if (device < 0)
                    for (Device &d : devices)
                        if (d.address && d.address == toAddr) only = d.index;
                Partial &p = partials[{from.sin_addr.s_addr, ntohs(from.sin_port)}];
                p.last = NowMs();
                const char *nul = (const char *)memchr(buf.data(), 0, (size_t)n);
                p.text.append(buf.data(), nul ? (size_t)(nul - buf.data()) : (size_t)n);
                if (nul || p.text.size() >= 65791) {
                    std::string text = p.text;
                    partials.erase({from.sin_addr.s_addr, ntohs(from.sin_port)});
                    HandleMessage(devices, listener, text, from, only, out);
                }
            }
        }
    }
    if (g_log) fclose(g_log);
    return 0;
}
