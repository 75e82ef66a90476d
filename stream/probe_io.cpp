// probe_io.cpp: the probe's I/O record over the real socket helpers, and its receive step.
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

const ProbeIo kSocketProbeIo = {
    0, SocketConnect, SocketSendText, SocketSetNonBlocking, SocketReceiveWait, SocketClose,
};

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
