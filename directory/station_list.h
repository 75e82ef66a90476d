// station_list.h: the station directory's search answer (a JSON array of stations) read into records.
#ifndef SETRADIO_DIRECTORY_STATION_LIST_H
#define SETRADIO_DIRECTORY_STATION_LIST_H

#define STATION_UUID_SIZE 48
#define STATION_NAME_SIZE 512      // UTF-8; a longer name is cut at a character boundary
#define STATION_URL_SIZE 128       // holds any address a channel can take (127 bytes)
#define STATION_COUNTRY_SIZE 8
#define STATION_TAGS_SIZE 256
#define STATION_CODEC_SIZE 32
#define STATION_NUMBER_MAX 2147483647LL

// One station as the directory gives it. Texts are UTF-8, cut to their buffers; the lengths are
// the whole decoded lengths, so a cut address is still known to be too long.
struct DirectoryStation {
    char uuid[STATION_UUID_SIZE];
    char name[STATION_NAME_SIZE];
    char url[STATION_URL_SIZE];
    int urlLength;
    char urlResolved[STATION_URL_SIZE];
    int urlResolvedLength;
    char country[STATION_COUNTRY_SIZE];
    char tags[STATION_TAGS_SIZE];
    char codec[STATION_CODEC_SIZE];
    int bitrate;
    int votes;
    int hls;           // 1: the address is an HLS playlist
    int lastCheckOk;   // 1: the directory's own last check found it playing
};

enum StationListError {
    STATIONS_OK = 0,
    STATIONS_BAD_JSON,    // not JSON, or cut short
    STATIONS_NOT_ARRAY,   // JSON, but not an array
};

struct StationListResult {
    int error;      // a StationListError
    int errorAt;    // byte offset of a JSON error
    int read;       // stations handed to the visitor
    int invalid;    // elements left out: not an object, a field of the wrong kind or out of range,
                    // or stationuuid, name or url missing
};

typedef void (*StationVisitor)(void *context, const DirectoryStation *station);

// Reads length bytes of an answer and calls visit for each usable station, in order. The answer
// is wholly checked first: a broken one gives its error and no station. Returns result->error.
// Fields other than the ones of DirectoryStation are passed over; null counts as absent.
int ReadStationList(const char *text, int length, StationVisitor visit, void *context, StationListResult *result);

#endif
