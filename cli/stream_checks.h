// stream_checks.h: stream addresses probed in parallel with the window's probe and live rule.
#ifndef SETRADIO_CLI_STREAM_CHECKS_H
#define SETRADIO_CLI_STREAM_CHECKS_H

#include <string>
#include <vector>

#include "cli/probe_trace.h"
#include "stream/probe.h"

// Why an entry of a file was left out unprobed, beyond the probe's reasons.
enum { CHECK_TOO_LONG = PROBE_REASON_COUNT, CHECK_HOLDS_KEY, CHECK_REASON_COUNT };

struct StreamCheck {
    std::string url;      // the address as given (949 bytes when it came from a file)
    std::string title;    // the channel's title from a file (949), or empty
    int channelRule;      // 1: the check of a channel (an address without "http://" is not probed)
    int leftOut = 0;      // a reason set beforehand: the address is not probed and is not live
    int number = 0;       // the entry's number in its file (0: not from a file)
    int live;             // 1 when the probe ends at "ICY 200 OK"
    int reason;           // a ProbeReason: why it is not live (PROBE_LIVE when live)
    int httpCode;         // the last answer's status code, 0 when none
    std::vector<TraceHop> hops;   // --trace: every connection the probe made or tried
};

typedef void (*CheckListener)(const StreamCheck *check, int index, void *context);

// Probes every check with up to jobs at once on worker threads. onReady is called on the calling
// thread for each check in list order, as soon as it and every one before it are done.
void RunStreamChecks(std::vector<StreamCheck> *checks, int jobs, int trace, CheckListener onReady, void *context);

// The reason as a stable word for scripts ("refused", "http_error", ...; "" when live).
const char *ReasonWord(int reason);
// The reason for people (949), with the status code where it has one.
std::string ReasonText(const StreamCheck *check);

#endif
