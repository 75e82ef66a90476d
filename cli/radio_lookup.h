// radio_lookup.h: finding the one radio a command names by its MAC.
#ifndef SETRADIO_CLI_RADIO_LOOKUP_H
#define SETRADIO_CLI_RADIO_LOOKUP_H

#include "cli/radio_replies.h"

// Opens the link, sends FIND and waits up to waitMs for the radio whose MacAddr matches mac.
// Returns EXIT_DONE with the reader left open and the radio's IMIN in radio, or the exit code after
// saying why on stderr (the reader is then closed).
int LookUpRadio(ReplyReader *reader, const char *mac, unsigned waitMs, RadioReply *radio);

#endif
