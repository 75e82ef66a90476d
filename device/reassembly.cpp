// reassembly.cpp: per-sender joining of datagrams into NUL-ended messages, with idle expiry and bounds.
#include "device/reassembly.h"
#include "common/platform.h"
#include "common/text.h"
#include "device/message.h"

#define FIRST_CAPACITY 2048

static void ReleasePartial(PartialText *p)
{
    PlatFree(p->block);
    ZeroBytes(p, (int)sizeof(*p));
}

// Hands the partial's block to the caller as a NUL-ended message and frees the slot.
static char *FinishPartial(PartialText *p)
{
    char *message = p->block;
    message[p->length] = 0;
    p->block = 0;
    ReleasePartial(p);
    return message;
}

// Makes room for needed bytes of text plus the NUL; 0 when memory runs out.
static int GrowPartial(PartialText *p, int needed)
{
    if (needed + 1 <= p->capacity)
        return 1;
    int capacity = p->capacity ? p->capacity : FIRST_CAPACITY;
    while (capacity < needed + 1)
        capacity *= 2;
    if (capacity > DEVICE_MESSAGE_MAX)
        capacity = DEVICE_MESSAGE_MAX;
    char *block = (char *)PlatAlloc(capacity);
    if (!block)
        return 0;
    if (p->length)
        CopyBytes(block, p->block, p->length);
    PlatFree(p->block);
    p->block = block;
    p->capacity = capacity;
    return 1;
}

// Whether partial a is a better one to drop than b: fewer bytes first (a flood of tiny datagrams
// from many senders must not push out replies that arrive in full slices), then less recently fed.
static int DropsBefore(const Reassembly *r, const PartialText *a, const PartialText *b)
{
    if (a->length != b->length)
        return a->length < b->length;
    return r->sequence - a->lastUse > r->sequence - b->lastUse;
}

// The sender's partial text still being collected, or null.
static PartialText *FindPartial(Reassembly *r, unsigned address, int port)
{
    for (int i = 0; i < REASSEMBLY_SENDERS; i++) {
        PartialText *p = &r->partials[i];
        if (p->block && !p->complete && p->address == address && p->port == port)
            return p;
    }
    return 0;
}

// A free slot; when all are taken, one partial text is dropped. Whole messages waiting to be
// handed on are never dropped: with every slot holding one, the result is null.
static PartialText *FreeSlot(Reassembly *r)
{
    PartialText *victim = 0;
    for (int i = 0; i < REASSEMBLY_SENDERS; i++) {
        PartialText *p = &r->partials[i];
        if (!p->block)
            return p;
        if (!p->complete && (!victim || DropsBefore(r, p, victim)))
            victim = p;
    }
    if (victim)
        ReleasePartial(victim);
    return victim;
}

// A message that one datagram holds whole, as a heap block of its own.
static char *CopyMessage(const char *data, int length)
{
    char *message = (char *)PlatAlloc(length + 1);
    if (!message)
        return 0;
    CopyBytes(message, data, length);
    message[length] = 0;
    return message;
}

char *FeedDatagram(Reassembly *r, unsigned address, int port, const char *data, int length, unsigned now,
                   unsigned idleLimitMs)
{
    if (!data || length <= 0)
        return 0;
    r->sequence++;
    char *stale = 0;
    PartialText *p = FindPartial(r, address, port);
    if (p && now - p->lastTick >= idleLimitMs) {
        // The sender went quiet for the limit: its old text ends here and this datagram starts anew.
        stale = FinishPartial(p);
        p = 0;
    }
    int end = FindByte(data, length, 0);
    int room = DEVICE_MESSAGE_MAX - (p ? p->length : 0);  // block bytes left, the NUL's included
    int take;
    int done;
    if (end >= 0 && end < room) {
        take = end;             // the message ends in this datagram
        done = 1;
    } else if (length >= room) {
        take = room - 1;        // the text would fill the whole block: cut it and end it here
        done = 1;
    } else {
        take = length;
        done = 0;
    }
    if (!p && done && !stale)
        return CopyMessage(data, take);   // whole in one datagram: no slot, so no text is dropped for it
    if (!p)
        p = FreeSlot(r);
    if (!p)
        return stale;
    if (!GrowPartial(p, p->length + take)) {
        ReleasePartial(p);
        return stale;
    }
    CopyBytes(p->block + p->length, data, take);
    p->length += take;
    p->address = address;
    p->port = port;
    p->lastTick = now;
    p->lastUse = r->sequence;
    if (!done)
        return stale;
    if (!stale)
        return FinishPartial(p);
    p->complete = 1;   // handed on after the stale text, by TakeExpiredText
    return stale;
}

char *TakeExpiredText(Reassembly *r, unsigned now, unsigned idleLimitMs)
{
    PartialText *oldest = 0;
    for (int i = 0; i < REASSEMBLY_SENDERS; i++) {
        PartialText *p = &r->partials[i];
        if (!p->block || (!p->complete && now - p->lastTick < idleLimitMs))
            continue;
        if (!oldest || p->complete > oldest->complete ||
            (p->complete == oldest->complete && now - p->lastTick > now - oldest->lastTick))
            oldest = p;
    }
    return oldest ? FinishPartial(oldest) : 0;
}

unsigned TimeUntilExpiry(const Reassembly *r, unsigned now, unsigned idleLimitMs)
{
    unsigned soonest = idleLimitMs;
    for (int i = 0; i < REASSEMBLY_SENDERS; i++) {
        const PartialText *p = &r->partials[i];
        if (!p->block)
            continue;
        unsigned idle = now - p->lastTick;
        unsigned left = p->complete || idle >= idleLimitMs ? 0 : idleLimitMs - idle;
        if (left < soonest)
            soonest = left;
    }
    return soonest;
}

int PendingTextCount(const Reassembly *r)
{
    int count = 0;
    for (int i = 0; i < REASSEMBLY_SENDERS; i++)
        if (r->partials[i].block)
            count++;
    return count;
}

void ClearReassembly(Reassembly *r)
{
    for (int i = 0; i < REASSEMBLY_SENDERS; i++)
        if (r->partials[i].block)
            ReleasePartial(&r->partials[i]);
    r->sequence = 0;
}
