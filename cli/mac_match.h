// mac_match.h: matches a MAC typed on the command line against a radio's MacAddr text.
#ifndef SETRADIO_CLI_MAC_MATCH_H
#define SETRADIO_CLI_MAC_MATCH_H

// 1 when the two texts are equal once case and the separators ':', '-' and '.' are ignored.
// Compared as text, never as a number: "001A2B3C4D00" matches "00:1a:2b:3c:4d:00", and leading
// zeros count ("1A:2B" is not "01:1A:2B"). An empty text (after the separators) matches nothing.
int MacTextMatches(const char *typed, const char *macAddr);

#endif
