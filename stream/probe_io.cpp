// probe_io.cpp: the probe's I/O record over the real socket helpers.
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
