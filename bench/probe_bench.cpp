// probe_bench.cpp: time per hop of the stream probe next to curl's for the same requests to the same
// loopback servers in the same run: a server answering "ICY 200 OK" at once, and a 302-then-ICY chain.
// Prints the figures and the ratio probe/curl (goal: at most 1.2).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "stream/probe.h"
#include "stream_server.h"

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

static double NowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Milliseconds per probe of url, over count probes; -1 when one was not live.
static double TimeProbe(const std::string &url, int count)
{
    double start = NowMs();
    for (int i = 0; i < count; i++)
        if (ProbeStream(url.c_str()) != 1)
            return -1;
    return (NowMs() - start) / count;
}

// curl's own time per transfer (time_total, process start excluded), over count transfers in one run;
// -1 when a transfer did not take the expected number of redirects.
static double TimeCurl(const std::string &url, int count, bool follow, double *wallPerTransfer)
{
    // "ICY 200 OK" counts as an HTTP/0.9 answer for curl (code 000), so it must be allowed.
    std::string command = "curl -s -0 --http0.9 -A 'WinampMPEG/2.9' -H 'Icy-MetaData:1' -w '%{time_total} %{num_redirects}\\n'";
    if (follow)
        command += " -L";
    for (int i = 0; i < count; i++)
        command += " -o /dev/null '" + url + "'";
    double start = NowMs();
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    double total = 0;
    int transfers = 0, redirects = 0;
    double seconds = 0;
    while (fscanf(pipe, "%lf %d", &seconds, &redirects) == 2) {
        if (redirects != (follow ? 1 : 0))
            transfers = -1000000;
        total += seconds;
        transfers++;
    }
    pclose(pipe);
    *wallPerTransfer = (NowMs() - start) / count;
    return transfers == count ? total * 1000.0 / count : -1;
}

int main(int argc, char **argv)
{
    int count = argc > 1 ? atoi(argv[1]) : 200;
    if (count < 1)
        count = 1;
    StreamServer *icy = StartStreamServer(AnswerScript("ICY 200 OK\r\nicy-name: bench\r\nicy-br: 128\r\n\r\n"));
    if (!icy) {
        fprintf(stderr, "cannot start the loopback server\n");
        return 1;
    }
    std::string live = LoopbackUrl(ServerPort(icy), "live");
    StreamServer *redirect = StartStreamServer(AnswerScript("HTTP/1.0 302 Found\r\nLocation: " + live + "\r\n\r\n"));
    std::string chain = LoopbackUrl(ServerPort(redirect), "start");

    TimeProbe(live, 20);   // warm-up
    double wall = 0, curlWall = 0;
    TimeCurl(live, 20, false, &wall);

    // The machine is shared: probe and curl take turns over several rounds and the medians count.
    const int rounds = 7;
    printf("probe_bench: %d requests per case and round, %d rounds, loopback; medians\n", count, rounds);
    printf("%-22s %14s %14s %10s %16s\n", "case", "probe ms/hop", "curl ms/hop", "ratio", "curl wall ms/req");
    int failed = 0;
    struct Case { const char *name; const std::string *url; int hops; bool follow; };
    const Case cases[] = {{"ICY at once", &live, 1, false}, {"302 then ICY", &chain, 2, true}};
    for (const Case &c : cases) {
        std::vector<double> probes, curls, walls;
        for (int r = 0; r < rounds; r++) {
            double probe = TimeProbe(*c.url, count);
            double curl = TimeCurl(*c.url, count, c.follow, &curlWall);
            if (probe < 0 || curl < 0) {
                printf("%-22s failed (probe %s, curl %s)\n", c.name, probe < 0 ? "not live" : "ok", curl < 0 ? "failed" : "ok");
                failed = 1;
                break;
            }
            probes.push_back(probe / c.hops);
            curls.push_back(curl / c.hops);
            walls.push_back(curlWall);
        }
        if (probes.size() < (size_t)rounds)
            continue;
        double probe = Median(probes), curl = Median(curls);
        printf("%-22s %14.3f %14.3f %10.2f %16.3f\n", c.name, probe, curl, probe / curl, Median(walls));
    }
    StopStreamServer(redirect);
    StopStreamServer(icy);
    return failed;
}
