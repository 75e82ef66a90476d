// radio_replies.cpp: FIND sent through the device link, replies joined per sender with their sender kept.
#include "cli/radio_replies.h"
#include "cli/mac_match.h"
#include "common/host_interfaces.h"
#include "device/link.h"
#include "device/message.h"

#include <string.h>

int OpenReplyReader(ReplyReader *r)
{
    memset(&r->pending, 0, sizeof r->pending);
    r->datagram = 0;
    r->idleLimitMs = DEVICE_WAIT_MS;
    // FIND and SETT go to every network of the PC, as the window sends them.
    SetDeviceLinkInterfaces(ReadHostInterfaces);
    OpenDeviceLink(0, 0);
    r->socket = DeviceLinkSocket();
    if (r->socket == NO_SOCKET) return 0;
    // The link does not report a failed bind: a second program on this PC holding port 49005
    // would leave the socket on a random port, where no reply ever arrives.
    struct sockaddr_in local;
    PlatAddrLen length = (PlatAddrLen)sizeof local;
    memset(&local, 0, sizeof local);
    if (getsockname(r->socket, (struct sockaddr *)&local, &length) != 0 || ntohs(local.sin_port) != TOOL_PORT) {
        CloseDeviceLink();
        r->socket = NO_SOCKET;
        return 0;
    }
    r->datagram = (char *)PlatAlloc(DEVICE_MESSAGE_MAX);
    return r->datagram != 0;
}

void CloseReplyReader(ReplyReader *r)
{
    ClearReassembly(&r->pending);
    PlatFree(r->datagram);
    r->datagram = 0;
    CloseDeviceLink();
    r->socket = NO_SOCKET;
}

// An expired partial text with its sender: the senders are noted before the reassembly hands the
// text over, and found again by its block.
static char *TakeExpiredReply(ReplyReader *r, unsigned *address, int *port)
{
    PartialText before[REASSEMBLY_SENDERS];
    memcpy(before, r->pending.partials, sizeof before);
    char *text = TakeExpiredText(&r->pending, PlatTickCount(), r->idleLimitMs);
    for (int i = 0; text && i < REASSEMBLY_SENDERS; i++) {
        if (before[i].block == text) {
            *address = before[i].address;
            *port = before[i].port;
        }
    }
    return text;
}

int ReadNextReply(ReplyReader *r, unsigned start, unsigned waitMs, RadioReply *reply)
{
    for (;;) {
        unsigned address = 0;
        int port = 0;
        char *message = 0;
        int received = ReceiveDatagramFrom(r->socket, r->datagram, DEVICE_MESSAGE_MAX, 0, &address, &port);
        if (received > 0)
            message = FeedDatagram(&r->pending, address, port, r->datagram, received, PlatTickCount(), r->idleLimitMs);
        if (!message)
            message = TakeExpiredReply(r, &address, &port);
        if (message) {
            reply->text = message;
            reply->address = address;
            reply->port = port;
            PlatFree(message);
            return 1;
        }
        unsigned elapsed = PlatTickCount() - start;
        if (elapsed >= waitMs) return 0;
        if (received >= 0) continue;   // a datagram was taken (or an error passed): look for the next
        unsigned wait = TimeUntilExpiry(&r->pending, PlatTickCount(), r->idleLimitMs);
        if (wait > waitMs - elapsed) wait = waitMs - elapsed;
        PlatWaitReadable(r->socket, wait ? wait : 1);
    }
}

void CollectRadios(ReplyReader *r, unsigned waitMs, const char *mac, std::vector<RadioReply> *radios,
                   RadioListener onRadio, void *context)
{
    unsigned start = PlatTickCount();
    SendDeviceMessage(r->socket, FIND_MESSAGE, DEVICE_WAIT_MS);
    RadioReply reply;
    while (ReadNextReply(r, start, waitMs, &reply)) {
        if (ClassifyMessage(reply.text.c_str()) != MESSAGE_IMIN) continue;
        int seen = 0;
        for (size_t i = 0; i < radios->size() && !seen; i++) {
            const RadioReply &earlier = (*radios)[i];
            seen = earlier.address == reply.address && earlier.port == reply.port && earlier.text == reply.text;
        }
        if (seen) continue;
        if (mac) {
            char macAddr[DEVICE_VALUE_SIZE], firmware[DEVICE_VALUE_SIZE];
            ReadDeviceIdentity(reply.text.c_str(), macAddr, sizeof macAddr, firmware, sizeof firmware);
            if (!MacTextMatches(mac, macAddr)) continue;
        }
        radios->push_back(reply);
        if (onRadio) onRadio(&radios->back(), context);
        if (mac) return;
    }
}

int WaitForConfirmation(ReplyReader *r, unsigned waitMs, unsigned address)
{
    unsigned start = PlatTickCount();
    RadioReply reply;
    while (ReadNextReply(r, start, waitMs, &reply)) {
        if (reply.address == address && ClassifyMessage(reply.text.c_str()) == MESSAGE_SETC) return 1;
    }
    return 0;
}
