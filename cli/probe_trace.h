// probe_trace.h: the hops of one probe, seen from the probe's I/O record (for check --trace).
#ifndef SETRADIO_CLI_PROBE_TRACE_H
#define SETRADIO_CLI_PROBE_TRACE_H

#include <string>
#include <vector>

#include "stream/probe.h"

// One connection the probe made, or tried.
struct TraceHop {
    std::string host;       // as the probe asked for it
    int port;
    unsigned connectMs;     // how long the connect took (or failed after)
    int connected;          // 0 when the connect failed
    std::string status;     // the answer's first line, as received
    std::string location;   // a 3xx answer's last Location value
    std::string entry;      // a [playlist] answer's File1 value
    std::string data;       // the first bytes of the answer (kept only while the hop is open)
};

// Wraps the real socket I/O; every probe made through io records its hops in hops.
struct ProbeTrace {
    ProbeIo io;                   // give this to the probe
    const ProbeIo *inner;         // the I/O that does the work
    std::vector<TraceHop> hops;
};

void StartProbeTrace(ProbeTrace *trace, const ProbeIo *inner);
// Reads status, Location and playlist entry from the last hop's answer; call after the probe.
void FinishProbeTrace(ProbeTrace *trace);

#endif
