// reassembly.h: joins the datagrams of each sender into whole NUL-ended messages (no sockets here).
#ifndef SETRADIO_DEVICE_REASSEMBLY_H
#define SETRADIO_DEVICE_REASSEMBLY_H

// Texts kept at once; a new sender beyond that drops the shortest partial text (of equal ones,
// the least recently fed). A message that a single datagram holds whole never takes a slot.
#define REASSEMBLY_SENDERS 64

// One sender's message collected so far.
struct PartialText {
    char *block;        // heap block of capacity bytes; null when the slot is free
    int capacity;       // bytes in block, always more than length (room for the closing NUL)
    int length;         // bytes collected, never more than DEVICE_MESSAGE_MAX - 1
    unsigned address;   // sender's IPv4 address (network order bytes)
    int port;           // sender's port
    unsigned lastTick;  // tick count of the sender's last datagram
    unsigned lastUse;   // feed sequence number of the last datagram, for choosing whom to drop
    int complete;       // 1: a whole message waiting to be handed on (it counts as expired at once)
};

// Every sender's partial text; zero-filled means empty.
struct Reassembly {
    PartialText partials[REASSEMBLY_SENDERS];
    unsigned sequence;  // feeds so far
};

// Adds one datagram from a sender. Returns the sender's message when this datagram completes it
// (a NUL among its bytes, or the text reaching DEVICE_MESSAGE_MAX - 1 bytes, which is then cut there);
// the block is NUL-ended and belongs to the caller (PlatFree). Bytes after the NUL are dropped.
// When the sender's partial text has been idle for idleLimitMs, that text is ended and returned
// instead, and the datagram starts a fresh text (kept as a waiting message if it is whole).
// Null while the message is still incomplete, for an empty datagram, or when memory runs out
// (the sender's text is then dropped).
char *FeedDatagram(Reassembly *r, unsigned address, int port, const char *data, int length, unsigned now,
                   unsigned idleLimitMs);

// A waiting whole message, else the partial text that has had no datagram for at least idleLimitMs,
// ended with NUL (caller frees); the one waiting longest first. Null when none is due.
char *TakeExpiredText(Reassembly *r, unsigned now, unsigned idleLimitMs);

// Milliseconds until the first kept text is due: 0 when one already is, idleLimitMs when none is pending.
unsigned TimeUntilExpiry(const Reassembly *r, unsigned now, unsigned idleLimitMs);

int PendingTextCount(const Reassembly *r);

// Drops every partial text and releases its memory.
void ClearReassembly(Reassembly *r);

#endif
