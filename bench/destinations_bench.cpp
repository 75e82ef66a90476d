// destinations_bench.cpp: prints the device link's destination list and what reading it costs.
// Usage: destinations_bench [reads]   (default 1000). Prints the list once, then the mean and the
// median and slowest time of one whole read (interface list and primary address) and of the
// interface list alone.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "common/host_interfaces.h"
#include "common/platform.h"
#include "common/socket.h"
#include "device/destinations.h"
#include "device/link.h"

typedef std::chrono::steady_clock Clock;

static double Us(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

int main(int argc, char **argv)
{
    int reads = argc > 1 ? atoi(argv[1]) : 1000;
    if (reads < 1) reads = 1;
#ifdef _WIN32
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
    SetDeviceLinkInterfaces(ReadHostInterfaces);
    HostInterface list[HOST_INTERFACES_MAX];
    int count = ReadHostInterfaces(list, HOST_INTERFACES_MAX);
    char a[16], m[16];
    for (int i = 0; i < count; i++)
        printf("interface %s/%s flags=%u\n", FormatDottedQuad(a, list[i].address), FormatDottedQuad(m, list[i].mask),
               list[i].flags);
    printf("primary %s\n", FormatDottedQuad(a, LocalAddressToward(0xFFFFFFFFu, DEVICE_PORT)));
    unsigned out[DEVICE_DESTINATIONS_MAX];
    int n = DeviceLinkDestinations(out, DEVICE_DESTINATIONS_MAX);
    for (int i = 0; i < n; i++)
        printf("destination %s\n", FormatDottedQuad(a, out[i]));

    std::vector<double> whole, alone;
    for (int i = 0; i < reads; i++) {
        Clock::time_point start = Clock::now();
        DeviceLinkDestinations(out, DEVICE_DESTINATIONS_MAX);
        whole.push_back(Us(Clock::now() - start));
        start = Clock::now();
        ReadHostInterfaces(list, HOST_INTERFACES_MAX);
        alone.push_back(Us(Clock::now() - start));
    }
    std::vector<double> *sets[2] = {&whole, &alone};
    const char *names[2] = {"whole list", "interface list alone"};
    for (int k = 0; k < 2; k++) {
        std::vector<double> &v = *sets[k];
        double sum = 0;
        for (double us : v) sum += us;
        std::sort(v.begin(), v.end());
        printf("%s, %d reads: mean %.1f us, median %.1f us, slowest %.1f us\n", names[k], reads, sum / reads,
               v[v.size() / 2], v.back());
    }
    return 0;
}
