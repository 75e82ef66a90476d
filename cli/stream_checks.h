// stream_checks.h: stream addresses probed in parallel with the window's probe and live rule.
#ifndef SETRADIO_CLI_STREAM_CHECKS_H
#define SETRADIO_CLI_STREAM_CHECKS_H

#include <string>
#include <vector>

#include "cli/probe_trace.h"

struct StreamCheck {
    std::string url;      // the address as given (949 bytes when it came from a file)
    std::string title;    // the channel's title from a file (949), or empty
    int live;             // 1 when the probe ends at "ICY 200 OK"
    std::string reason;   // why not live, a stable word for scripts; empty when live
    std::vector<TraceHop> hops;   // --trace: every connection the probe made or tried
};

typedef void (*CheckListener)(const StreamCheck *check, int index, void *context);

// Probes every check with up to jobs at once on worker threads. onReady is called on the calling
// thread for each check in list order, as soon as it and every one before it are done.
void RunStreamChecks(std::vector<StreamCheck> *checks, int jobs, int trace, CheckListener onReady, void *context);

// The 949 text for people that goes with a reason word.
const char *ReasonText(const std::string &reason);

#endif
