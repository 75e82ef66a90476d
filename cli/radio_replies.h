// radio_replies.h: the device link as setradio-cli uses it: FIND out, whole replies in with their sender.
#ifndef SETRADIO_CLI_RADIO_REPLIES_H
#define SETRADIO_CLI_RADIO_REPLIES_H

#include <string>
#include <vector>

#include "common/platform.h"
#include "device/reassembly.h"

// One whole message and who sent it.
struct RadioReply {
    std::string text;     // the message without its NUL
    unsigned address;     // sender's IPv4 address (network order bytes)
    int port;             // sender's port
};

struct ReplyReader {
    SockHandle socket;    // the device link's socket (port 49005)
    Reassembly pending;   // partial texts per sender, kept between reads
    char *datagram;       // DEVICE_MESSAGE_MAX bytes for one received datagram
    unsigned idleLimitMs; // a text without its NUL ends after this much silence (DEVICE_WAIT_MS)
};

// Opens the device link for r. 0 when there is no socket or port 49005 could not be taken.
int OpenReplyReader(ReplyReader *r);
void CloseReplyReader(ReplyReader *r);

// The next whole message from any sender, waiting at most until waitMs have passed since start
// (a tick count); 0 when the time ran out first. A text left without its NUL is ended after the
// idle limit, as the window's link does; a sender's fresh text then comes after its old one.
int ReadNextReply(ReplyReader *r, unsigned start, unsigned waitMs, RadioReply *reply);

// Sends FIND and collects IMIN replies for waitMs; a reply with the same sender address and the
// same text as an earlier one is kept once. With mac, stops at the first radio whose MacAddr matches.
// onRadio, when given, is called for each radio as it is added.
typedef void (*RadioListener)(const RadioReply *radio, void *context);
void CollectRadios(ReplyReader *r, unsigned waitMs, const char *mac, std::vector<RadioReply> *radios,
                   RadioListener onRadio, void *context);

// Waits up to waitMs for a SETC from the given address; 1 when one came.
int WaitForConfirmation(ReplyReader *r, unsigned waitMs, unsigned address);

#endif
