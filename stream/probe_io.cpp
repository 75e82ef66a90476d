// probe_io.cpp: the probe's I/O record over the real socket helpers, its clock and its receive step.
#include "stream/probe.h"
#include "common/socket.h"

static SockHandle SocketConnect(void *, const char *host, int port) { return ConnectTcp(host, port); }
static int SocketSendText(void *, SockHandle s, const char *text) { return SendText(s, text); }
static int SocketSetNonBlocking(void *, SockHandle s, int mode) { return SetNonBlocking(s, mode); }
static int SocketReceiveWait(void *, SockHandle s, char *buffer, int size, unsigned limitMs)
{
    return ReceiveWait(s, buffer, size, limitMs);
}
static void SocketClose(void *, SockHandle s) { CloseSocketIfOpen(s); }
static SockHandle SocketConnectWithin(void *, const char *host, int port, unsigned limitMs, int *failure)
{
    return ConnectTcpWithin(host, port, limitMs, failure);
}

const ProbeIo kSocketProbeIo = {
    0, SocketConnect, SocketSendText, SocketSetNonBlocking, SocketReceiveWait, SocketClose, SocketConnectWithin, 0,
};

static unsigned ClockNow(const ProbeClock *clock)
{
    const ProbeIo *io = clock->io;
    return io && io->tickCount ? io->tickCount(io->context) : PlatTickCount();
}

void StartProbeClock(ProbeClock *clock, const ProbeIo *io, unsigned totalMs)
{
    clock->io = io;
    clock->totalMs = totalMs;
    clock->ranOut = 0;
    clock->start = ClockNow(clock);
}

unsigned ProbeTimeLeft(ProbeClock *clock, unsigned limitMs)
{
    unsigned elapsed = ClockNow(clock) - clock->start;
    if (elapsed >= clock->totalMs) {
        clock->ranOut = 1;
        return 0;
    }
    unsigned left = clock->totalMs - elapsed;
    return limitMs < left ? limitMs : left;
}

int ReceiveMoreWithin(ProbeClock *clock, SockHandle s, char *area, int *dataBytes, int capacity, unsigned limitMs)
{
    unsigned limit = ProbeTimeLeft(clock, limitMs);
    if (limit == 0)
        return -1;
    int received = ReceiveMoreVia(clock->io, s, area, dataBytes, capacity, limit);
    if (received < 0 && limit < limitMs)
        clock->ranOut = 1;
    return received;
}

int ReceiveMoreVia(const ProbeIo *io, SockHandle s, char *area, int *dataBytes, int capacity, unsigned limitMs)
{
    int room = capacity - 1 - *dataBytes;
    if (room < 1)
        return 0;
    int received = io->receiveWait(io->context, s, area + *dataBytes, room, limitMs);
    if (received < 1)
        return received;
    if (received > room)
        received = room;   // an I/O record that reports more than it was given room for
    *dataBytes += received;
    area[*dataBytes] = 0;
    return received;
}
