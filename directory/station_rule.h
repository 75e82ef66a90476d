// station_rule.h: which directory stations a radio can take, and the channel each one becomes.
// One rule for the window and the command line.
#ifndef SETRADIO_DIRECTORY_STATION_RULE_H
#define SETRADIO_DIRECTORY_STATION_RULE_H

#include "directory/station_list.h"
#include "files/playlist_import.h"
#include "files/text_encoding.h"

enum StationVerdict {
    STATION_OFFERED = 0,
    STATION_NO_ADDRESS,   // neither url_resolved nor url is an http:// address of at most 127 bytes
    STATION_HLS,          // an HLS playlist, which the radio cannot play
    STATION_HOLDS_KEY,    // the title or address holds another key's text
};

struct StationChannel {
    char title[PLAYLIST_TITLE_MAX + 1];       // code page 949
    char address[PLAYLIST_ADDRESS_MAX + 1];
};

// The channel a station becomes, by the rule: the address is url_resolved when it starts with
// "http://", is at most 127 bytes and holds only printable ASCII, else url on the same terms. The
// title is the name through toLocal (UTF-8 to code page 949, a character 949 lacks becoming one
// '?'), control characters as blanks, trimmed and cut like an imported title; an empty one becomes
// the host name. Returns a StationVerdict; out is filled only for STATION_OFFERED.
int StationToChannel(const DirectoryStation *station, TextConverter toLocal, StationChannel *out);

#endif
