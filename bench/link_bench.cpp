// link_bench.cpp: DeviceLink figures in the private test network: one FIND answered by many devices,
// and the send of a 3000-byte SETT. Run by bench/link_bench.sh inside the tool's namespace.
//
// Usage: link_bench EXPECTED_DIR DEVICES [SETT_FILE]
//   EXPECTED_DIR holds imin.<i>: the exact reply of device i (with its NUL), keyed here by MacAddr.
// Prints: messages received intact, time from FIND to the last complete message, time spent inside
// ReceiveDeviceMessage, and the time to send the SETT.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <chrono>
#include <map>
#include <string>

#include "common/platform.h"
#include "device/link.h"
#include "device/message.h"

typedef std::chrono::steady_clock Clock;

static double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

static bool ReadFile(const std::string &path, std::string *out)
{
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return false;
    char buf[8192];
    size_t n;
    out->clear();
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out->append(buf, n);
    fclose(f);
    return true;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: link_bench EXPECTED_DIR DEVICES [SETT_FILE]\n");
        return 2;
    }
    int devices = atoi(argv[2]);
    std::map<std::string, std::string> expected;  // MacAddr -> reply text without its NUL
    for (int i = 0; i < devices; i++) {
        std::string text;
        if (!ReadFile(std::string(argv[1]) + "/imin." + std::to_string(i), &text)) {
            fprintf(stderr, "link_bench: missing expected reply %d\n", i);
            return 2;
        }
        if (!text.empty() && text.back() == '\0') text.pop_back();
        char mac[DEVICE_VALUE_SIZE], firmware[DEVICE_VALUE_SIZE];
        ReadDeviceIdentity(text.c_str(), mac, sizeof mac, firmware, sizeof firmware);
        expected[mac] = text;
    }

    OpenDeviceLink(0, 0);
    SockHandle s = DeviceLinkSocket();
    Clock::time_point start = Clock::now();
    SendDeviceMessage(s, FIND_MESSAGE, DEVICE_WAIT_MS);
    Clock::time_point sent = Clock::now();
    Clock::duration inside(0);
    Clock::time_point last = sent;
    int received = 0, intact = 0, calls = 0, empty = 0;
    std::map<std::string, int> seen;
    while (received < devices && Clock::now() - start < std::chrono::seconds(10)) {
        Clock::time_point before = Clock::now();
        char *message = ReceiveDeviceMessage(s, DEVICE_WAIT_MS);
        Clock::time_point after = Clock::now();
        inside += after - before;
        calls++;
        if (!message) {
            empty++;
            PlatWaitReadable(s, 50);
            continue;
        }
        received++;
        last = after;
        char mac[DEVICE_VALUE_SIZE], firmware[DEVICE_VALUE_SIZE];
        ReadDeviceIdentity(message, mac, sizeof mac, firmware, sizeof firmware);
        auto it = expected.find(mac);
        if (it != expected.end() && it->second == message && seen[mac]++ == 0) intact++;
        PlatFree(message);
    }
    printf("FIND sent in %.3f ms\n", Ms(sent - start));
    printf("messages received intact: %d of %d (%d received in all)\n", intact, devices, received);
    printf("time from FIND to the last complete message: %.1f ms\n", Ms(last - start));
    printf("time inside ReceiveDeviceMessage: %.1f ms in %d calls (%d found nothing)\n", Ms(inside), calls, empty);

    if (argc >= 4) {
        std::string sett;
        if (!ReadFile(argv[3], &sett)) {
            fprintf(stderr, "link_bench: cannot read %s\n", argv[3]);
            return 2;
        }
        size_t nul = sett.find('\0');
        if (nul != std::string::npos) sett.resize(nul);
        Clock::time_point a = Clock::now();
        SendDeviceMessage(s, sett.c_str(), DEVICE_WAIT_MS);
        Clock::time_point b = Clock::now();
        printf("SETT of %u bytes (%u with NUL) sent in %.3f ms\n", (unsigned)sett.size(), (unsigned)sett.size() + 1, Ms(b - a));
    }
    CloseDeviceLink();
    return intact == devices ? 0 : 1;
}
