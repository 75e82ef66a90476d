// probe_trace.cpp: a ProbeIo in front of the real one that notes each hop's connect time and answer.
// The probe decides alone; the trace only reads the same bytes again for people to see.
#include "cli/probe_trace.h"
#include "common/text.h"

#define TRACE_KEPT_BYTES 8192   // status line and headers of a hop; a stream's data beyond is not kept

static ProbeTrace *TraceOf(void *context)
{
    return (ProbeTrace *)context;
}

// The value of a header line "Name: value" (name compared without case), or "" when absent.
static std::string HeaderLine(const std::string &line, const char *name)
{
    size_t length = TextLength(name);
    if (line.size() <= length || line[length] != ':') return std::string();
    for (size_t i = 0; i < length; i++) {
        char a = line[i], b = name[i];
        if ((a | 0x20) != (b | 0x20)) return std::string();
    }
    size_t start = length + 1;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) start++;
    return line.substr(start);
}

// Status line, last Location and the playlist's File1 from the kept answer bytes.
static void ReadHopAnswer(TraceHop *hop)
{
    size_t position = 0;
    int first = 1;
    while (position < hop->data.size()) {
        size_t end = hop->data.find_first_of("\r\n", position);
        if (end == std::string::npos) end = hop->data.size();
        std::string line = hop->data.substr(position, end - position);
        if (first) hop->status = line;
        else {
            std::string location = HeaderLine(line, "Location");
            if (!location.empty()) hop->location = location;
            if (hop->entry.empty() && ComparePrefix(line.c_str(), "File1=") == 0) hop->entry = line.substr(6);
        }
        first = 0;
        position = end + 1;
        if (end < hop->data.size() && hop->data[end] == '\r' && position < hop->data.size() && hop->data[position] == '\n')
            position++;
    }
    hop->data.clear();
}

// Notes one hop: the address asked for, how long the connect took and whether it was made.
static void NoteHop(ProbeTrace *trace, const char *host, int port, unsigned start, SockHandle s)
{
    TraceHop hop;
    hop.host = host ? host : "";
    hop.port = port;
    hop.connectMs = PlatTickCount() - start;
    hop.connected = s != NO_SOCKET;
    trace->hops.push_back(hop);
}

static SockHandle TraceConnect(void *context, const char *host, int port)
{
    ProbeTrace *trace = TraceOf(context);
    FinishProbeTrace(trace);
    unsigned start = PlatTickCount();
    SockHandle s = trace->inner->connect(trace->inner->context, host, port);
    NoteHop(trace, host, port, start, s);
    return s;
}

static SockHandle TraceConnectWithin(void *context, const char *host, int port, unsigned limitMs, int *failure)
{
    ProbeTrace *trace = TraceOf(context);
    FinishProbeTrace(trace);
    unsigned start = PlatTickCount();
    SockHandle s = trace->inner->connectWithin(trace->inner->context, host, port, limitMs, failure);
    NoteHop(trace, host, port, start, s);
    return s;
}

static unsigned TraceTickCount(void *context)
{
    const ProbeIo *inner = TraceOf(context)->inner;
    return inner->tickCount(inner->context);
}

static int TraceSendText(void *context, SockHandle s, const char *text)
{
    const ProbeIo *inner = TraceOf(context)->inner;
    return inner->sendText(inner->context, s, text);
}

static int TraceSetNonBlocking(void *context, SockHandle s, int mode)
{
    const ProbeIo *inner = TraceOf(context)->inner;
    return inner->setNonBlocking(inner->context, s, mode);
}

static int TraceReceiveWait(void *context, SockHandle s, char *buffer, int size, unsigned limitMs)
{
    ProbeTrace *trace = TraceOf(context);
    int received = trace->inner->receiveWait(trace->inner->context, s, buffer, size, limitMs);
    if (received > 0 && !trace->hops.empty()) {
        std::string &data = trace->hops.back().data;
        if (data.size() < TRACE_KEPT_BYTES)
            data.append(buffer, (size_t)SmallerOf(received, TRACE_KEPT_BYTES - (int)data.size()));
    }
    return received;
}

static void TraceClose(void *context, SockHandle s)
{
    ProbeTrace *trace = TraceOf(context);
    trace->inner->close(trace->inner->context, s);
    FinishProbeTrace(trace);
}

void StartProbeTrace(ProbeTrace *trace, const ProbeIo *inner)
{
    trace->inner = inner;
    trace->hops.clear();
    trace->io = *inner;
    trace->io.context = trace;
    trace->io.connect = TraceConnect;
    trace->io.sendText = TraceSendText;
    trace->io.setNonBlocking = TraceSetNonBlocking;
    trace->io.receiveWait = TraceReceiveWait;
    trace->io.close = TraceClose;
    trace->io.connectWithin = inner->connectWithin ? TraceConnectWithin : 0;
    trace->io.tickCount = inner->tickCount ? TraceTickCount : 0;
}

void FinishProbeTrace(ProbeTrace *trace)
{
    if (!trace->hops.empty() && !trace->hops.back().data.empty()) ReadHopAnswer(&trace->hops.back());
}
