// probe_url.cpp: runs the stream probe on each URL given and prints "<result> <url>" per line.
// Exit code: 0 when every URL was live, 1 otherwise.
#include "stream/probe.h"

#include <cstdio>

int main(int argc, char **argv)
{
    int allLive = argc > 1;
    for (int i = 1; i < argc; i++) {
        int live = ProbeStream(argv[i]);
        printf("%d %s\n", live, argv[i]);
        if (!live)
            allLive = 0;
    }
    return allLive ? 0 : 1;
}
