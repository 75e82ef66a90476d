// link.cpp: the DeviceLink UDP socket: broadcasting messages in slices and collecting replies per sender.
#include "device/link.h"
#include "common/socket.h"
#include "common/text.h"
#include "device/destinations.h"
#include "device/message.h"
#include "device/reassembly.h"

#define DEVICE_BROADCAST 0xFFFFFFFFu
#define SEND_RETRY_PAUSE_MS 10
#define RECEIVE_ERROR_RETRIES 16   // failed receives in a row before the socket counts as idle
#define REPLY_BUFFER_BYTES (4 << 20) // room for a whole network's replies to one FIND

static SockHandle g_linkSocket = NO_SOCKET;
static unsigned g_destinationAddress = DEVICE_BROADCAST;
static int g_destinationPort = 0;          // 0: the port the caller asks for
static HostInterfaceReader g_interfaceReader = 0;   // null: the limited broadcast only
static Reassembly g_pending;               // partial texts of the socket below, kept between calls
static SockHandle g_pendingSocket = NO_SOCKET;

static void DropOutgoing(SockHandle s);

void OpenDeviceLink(void *window, DeviceNotifyRegistrar registrar)
{
    CloseDeviceLink();
    g_linkSocket = socket(AF_INET, SOCK_DGRAM, 0);
    BindUdp(g_linkSocket, 0, TOOL_PORT);
    SetBroadcast(g_linkSocket, 1);
    // Every device answers a FIND at the same moment: with the platform's default receive
    // buffer, replies beyond a few dozen devices would be dropped before the window reads them.
    int replyBytes = REPLY_BUFFER_BYTES;
    setsockopt(g_linkSocket, SOL_SOCKET, SO_RCVBUF, (const char *)&replyBytes, (int)sizeof(replyBytes));
    if (registrar)
        registrar(g_linkSocket, window);
    else
        SetNonBlocking(g_linkSocket, 1);
}

void CloseDeviceLink(void)
{
    DropOutgoing(g_linkSocket);
    if (g_pendingSocket == g_linkSocket) {
        ClearReassembly(&g_pending);
        g_pendingSocket = NO_SOCKET;
    }
    CloseSocketIfOpen(g_linkSocket);
    g_linkSocket = NO_SOCKET;
}

SockHandle DeviceLinkSocket(void)
{
    return g_linkSocket;
}

void SetDeviceLinkDestination(unsigned address, int port)
{
    g_destinationAddress = address;
    g_destinationPort = port;
}

void SetDeviceLinkInterfaces(HostInterfaceReader reader)
{
    g_interfaceReader = reader;
}

int DeviceLinkDestinations(unsigned *out, int room)
{
    if (!out || room <= 0)
        return 0;
    if (g_destinationAddress != DEVICE_BROADCAST || g_destinationPort != 0 || !g_interfaceReader) {
        out[0] = g_destinationAddress;
        return 1;
    }
    HostInterface list[HOST_INTERFACES_MAX];
    int count = g_interfaceReader(list, HOST_INTERFACES_MAX);
    if (count <= 0) {
        out[0] = DEVICE_BROADCAST;
        return 1;
    }
    // A send to 255.255.255.255 leaves through the one interface the platform's routing picks,
    // and the radios there hear it. Which one that is, only the platform knows: connecting a UDP
    // socket there makes it choose, and the local address it gives the socket names that subnet.
    unsigned primary = LocalAddressToward(DEVICE_BROADCAST, DEVICE_PORT);
    return DeviceDestinations(list, count, primary, out, room);
}

static int SendDatagramTo(SockHandle s, unsigned address, const char *data, int length, int port, int flags)
{
    struct sockaddr_in to;
    MakeAddress(&to, address, g_destinationPort ? g_destinationPort : port);
    return (int)sendto(s, data, length, flags, (struct sockaddr *)&to, (int)sizeof(to));
}

int SendDatagram(SockHandle s, const char *data, int length, int port, int flags)
{
    return SendDatagramTo(s, g_destinationAddress, data, length, port, flags);
}

int ReceiveDatagramFrom(SockHandle s, char *buffer, int size, int flags, unsigned *address, int *port)
{
    struct sockaddr_in from;
    PlatAddrLen fromLength = (PlatAddrLen)sizeof(from);
    ZeroBytes(&from, (int)sizeof(from));
    if (!buffer || size <= 0)
        return -1;
    int result = (int)recvfrom(s, buffer, size, flags, (struct sockaddr *)&from, &fromLength);
    if (address)
        *address = from.sin_addr.s_addr;
    if (port)
        *port = ntohs(from.sin_port);
    return result;
}

int ReceiveDatagram(SockHandle s, char *buffer, int size, int flags)
{
    return ReceiveDatagramFrom(s, buffer, size, flags, 0, 0);
}

// A message on its way: to each destination in turn, in slices of at most DATAGRAM_SLICE bytes,
// the NUL in the last.
struct OutgoingMessage {
    OutgoingMessage *next;        // the message queued after this one
    SockHandle socket;
    const char *text;             // length bytes: the text and its NUL
    int length;
    unsigned destinations[DEVICE_DESTINATIONS_MAX];
    int count;                    // destinations
    int current;                  // the destination being sent to; count once all are done
    int sent;                     // bytes of the text that destination has taken
    unsigned limitMs;             // a destination that makes no progress for this long is given up
    unsigned reference;           // tick count of the last progress
};

#define OUTGOING_MAX 16   // messages waiting at most; a further one is not sent

static OutgoingMessage *g_outgoing;       // messages waiting to be sent, first one first
static DeviceDatagramSender g_sender = 0; // tests only: replaces sendto

void SetDeviceLinkSender(DeviceDatagramSender sender)
{
    g_sender = sender;
}

static void StartOutgoing(OutgoingMessage *m, SockHandle s, const char *text, int length, unsigned limitMs)
{
    ZeroBytes(m, (int)sizeof(*m));
    m->socket = s;
    m->text = text;
    m->length = length;
    m->limitMs = limitMs;
    m->count = DeviceLinkDestinations(m->destinations, DEVICE_DESTINATIONS_MAX);
    m->reference = PlatTickCount();
}

static void NextDestination(OutgoingMessage *m)
{
    m->current++;
    m->sent = 0;
    m->reference = PlatTickCount();
}

// Errors that trying again cannot mend: the network has no route to the destination.
static int NoRouteError(int error)
{
    return error == PLAT_NETUNREACH || error == PLAT_HOSTUNREACH || error == PLAT_NETDOWN;
}

// Sends the slices the platform takes now. A destination with no route is passed over at once; one
// that takes nothing for limitMs since the last progress is given up silently. Never waits: returns
// 0 when a slice must be tried again later (it would block), 1 once every destination is done.
static int PushOutgoing(OutgoingMessage *m)
{
    while (m->current < m->count) {
        if (m->sent >= m->length) {
            NextDestination(m);
            continue;
        }
        unsigned address = m->destinations[m->current];
        const char *slice = m->text + m->sent;
        int size = SmallerOf(DATAGRAM_SLICE, m->length - m->sent);
        int error = 0;
        int sent = g_sender ? g_sender(m->socket, address, slice, size, &error)
                            : SendDatagramTo(m->socket, address, slice, size, DEVICE_PORT, SEND_FLAG_DONTROUTE);
        if (sent > 0) {
            m->sent += sent;
            m->reference = PlatTickCount();
            continue;
        }
        if (!g_sender)
            error = PlatLastSocketError();
        if (NoRouteError(error) || PlatTickCount() - m->reference >= m->limitMs) {
            NextDestination(m);
            continue;
        }
        return 0;
    }
    return 1;
}

// The whole message to each destination in turn, never interleaved: a radio joins the slices it
// hears in arrival order. The list is read for every message, so an adapter plugged in since counts.
void SendDeviceMessage(SockHandle s, const char *text, unsigned limitMs)
{
    if (!text)
        return;
    OutgoingMessage m;
    StartOutgoing(&m, s, text, TextLength(text) + 1, limitMs);
    while (!PushOutgoing(&m))
        PlatSleep(SEND_RETRY_PAUSE_MS);
}

int QueueDeviceMessage(SockHandle s, const char *text, unsigned limitMs)
{
    if (!text)
        return g_outgoing != 0;
    OutgoingMessage **end = &g_outgoing;
    int waiting = 0;
    for (; *end; end = &(*end)->next)
        waiting++;
    int length = TextLength(text) + 1;
    OutgoingMessage *m = waiting < OUTGOING_MAX ? (OutgoingMessage *)PlatAlloc((int)sizeof(OutgoingMessage) + length) : 0;
    if (m) {
        char *copy = (char *)(m + 1);
        CopyBytes(copy, text, length);
        StartOutgoing(m, s, copy, length, limitMs);
        *end = m;
    }
    return ContinueDeviceSends();
}

int ContinueDeviceSends(void)
{
    while (g_outgoing) {
        if (!PushOutgoing(g_outgoing))
            return 1;
        OutgoingMessage *done = g_outgoing;
        g_outgoing = done->next;
        PlatFree(done);
        if (g_outgoing)
            g_outgoing->reference = PlatTickCount();   // its limit counts from its own turn
    }
    return 0;
}

// Drops the waiting messages of a socket that closes.
static void DropOutgoing(SockHandle s)
{
    OutgoingMessage **link = &g_outgoing;
    while (*link) {
        OutgoingMessage *m = *link;
        if (m->socket == s) {
            *link = m->next;
            PlatFree(m);
        } else {
            link = &m->next;
        }
    }
}

#define RECEIVE_BATCH 64     // datagrams one receive call takes at most
#define RECEIVE_BATCH_MS 10  // and the milliseconds it spends at most

// The kept texts belong to one socket: another socket starts with none.
static void UsePendingFor(SockHandle s)
{
    if (s != g_pendingSocket) {
        ClearReassembly(&g_pending);
        g_pendingSocket = s;
    }
}

// Returns the first message completed by a sender, or a kept text that is due (whole and waiting,
// or idle for the limit). Never waits: partial texts are kept per sender between calls, and the call
// returns null at once when nothing is complete. One call takes at most RECEIVE_BATCH datagrams or
// RECEIVE_BATCH_MS; datagrams still waiting then are announced again by the re-armed notification.
// Every call receives at least once before it returns: a receive re-arms the read notification,
// so a datagram still waiting is announced again.
char *ReceiveDeviceMessage(SockHandle s, unsigned idleLimitMs)
{
    if (s == NO_SOCKET)
        return 0;
    UsePendingFor(s);
    char *datagram = (char *)PlatAlloc(DEVICE_MESSAGE_MAX);
    if (!datagram)
        return 0;
    char *message = 0;
    int errors = 0;
    unsigned start = PlatTickCount();
    for (int taken = 0;; taken++) {
        unsigned address = 0;
        int port = 0;
        int received = ReceiveDatagramFrom(s, datagram, DEVICE_MESSAGE_MAX, 0, &address, &port);
        int idle = received < 0 && PlatLastSocketError() == PLAT_WOULDBLOCK;
        if (received > 0) {
            errors = 0;
            message = FeedDatagram(&g_pending, address, port, datagram, received, PlatTickCount(), idleLimitMs);
            if (message)
                break;
        }
        message = TakeExpiredText(&g_pending, PlatTickCount(), idleLimitMs);
        if (message)
            break;
        if (taken + 1 >= RECEIVE_BATCH || PlatTickCount() - start >= RECEIVE_BATCH_MS)
            break;      // enough for one call: the window gets its turn
        if (received >= 0)
            continue;   // a datagram was taken (an empty one counts): look for the next
        if (!idle && ++errors < RECEIVE_ERROR_RETRIES)
            continue;   // a passing error such as an unreachable port reported by the network
        break;
    }
    PlatFree(datagram);
    return message;
}

int PendingDeviceTextCount(SockHandle s)
{
    return s != NO_SOCKET && s == g_pendingSocket ? PendingTextCount(&g_pending) : 0;
}

unsigned PendingDeviceTextDelay(SockHandle s, unsigned idleLimitMs)
{
    if (s == NO_SOCKET || s != g_pendingSocket)
        return idleLimitMs;
    return TimeUntilExpiry(&g_pending, PlatTickCount(), idleLimitMs);
}

char *TakeExpiredDeviceMessage(SockHandle s, unsigned idleLimitMs)
{
    if (s == NO_SOCKET || s != g_pendingSocket)
        return 0;
    return TakeExpiredText(&g_pending, PlatTickCount(), idleLimitMs);
}
