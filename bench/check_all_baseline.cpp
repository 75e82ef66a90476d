// check_all_baseline: the channel check done one address at a time, as the baseline of the check
// of every channel. Reads one URL per line from a file, probes each with the same probe and limits,
// and prints the total time and the number of live addresses. Run by bench/check_all_bench.sh.
#include "common/platform.h"
#include <stdio.h>
#include <string.h>
#include <fstream>
#include <string>
#include <vector>
#include "stream/probe.h"

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: check_all_baseline URL_FILE\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    std::vector<std::string> urls;
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        if (!line.empty()) urls.push_back(line);
    }
#ifdef _WIN32
    WSADATA data;
    WSAStartup(0x0101, &data);
#endif
    unsigned start = PlatTickCount();
    int live = 0;
    for (const std::string &url : urls) {
        ProbeOutcome outcome;
        live += ProbeChannelAddress(url.c_str(), &outcome);
    }
    unsigned total = PlatTickCount() - start;
    printf("addresses %d\nlive %d\nbaseline_ms %u\n", (int)urls.size(), live, total);
    return 0;
}
