// directory_search.h: one search of the station directory: its servers found through DNS (or one
// address set by the user), the search sent to each in turn, the answer read into stations.
// Everything network goes through a seam, so tests and each platform give their own.
#ifndef SETRADIO_DIRECTORY_DIRECTORY_SEARCH_H
#define SETRADIO_DIRECTORY_DIRECTORY_SEARCH_H

#include "directory/station_list.h"

#define DIRECTORY_DNS_NAME "all.api.radio-browser.info"
#define DIRECTORY_SERVERS_MAX 16
#define DIRECTORY_HOST_SIZE 256
#define DIRECTORY_URL_SIZE 1024
#define DIRECTORY_SEARCH_MS 15000u                   // a whole search, discovery and retries included
#define DIRECTORY_ANSWER_MAX (4 * 1024 * 1024)      // a larger answer is refused
#define DIRECTORY_LIMIT_DEFAULT 100
#define DIRECTORY_LIMIT_MAX 1000

enum DirectoryStatus {
    DIRECTORY_DONE = 0,
    DIRECTORY_UNREACHABLE,   // no server found, or none could be reached
    DIRECTORY_TIMED_OUT,     // the time of the search ran out
    DIRECTORY_HTTP_ERROR,    // the server answered with a status other than 200
    DIRECTORY_TOO_LARGE,     // the answer was larger than DIRECTORY_ANSWER_MAX
    DIRECTORY_BAD_ANSWER,    // the answer was not a JSON array of stations
};

// What a search needs of the network. Each call is bounded by limitMs.
struct DirectoryNet {
    // IPv4 addresses of name, at most max; returns how many (0: none, or not in time).
    int (*lookupAddresses)(void *context, const char *name, unsigned *addresses, int max, unsigned limitMs);
    // The name of an address, looked up in reverse, into out (size bytes); 1 when found.
    int (*lookupName)(void *context, unsigned address, char *out, int size, unsigned limitMs);
    // GET url into body (capacity bytes); *length gets the answer's size. A DirectoryStatus: an
    // answer longer than capacity is DIRECTORY_TOO_LARGE. Certificates are always verified.
    int (*get)(void *context, const char *url, unsigned limitMs, char *body, int capacity, int *length);
    unsigned (*random)(void *context);
    unsigned (*tick)(void *context);   // milliseconds, for the time of the search
    void *context;
};

struct DirectoryServers {
    int count;
    char names[DIRECTORY_SERVERS_MAX][DIRECTORY_HOST_SIZE];
};

// The directory's servers: the addresses of DIRECTORY_DNS_NAME, each named in reverse (an address
// without a name is passed over, a name given twice kept once), in random order. Stops looking
// when limitMs have passed. Returns out->count.
int DiscoverDirectoryServers(const DirectoryNet *net, unsigned limitMs, DirectoryServers *out);

struct DirectoryQuery {
    const char *name;      // UTF-8; null or empty: not sent
    const char *country;   // two letters, or null
    const char *tag;
    int limit;             // 1..1000
};

// "/json/stations/search?..." with the query's texts percent-encoded and the fixed filters
// (hidebroken, is_https=false, order by votes, highest first). 0 when it does not fit.
int BuildSearchPath(const DirectoryQuery *query, char *out, int size);
// The click address of a station: base "/json/url/" uuid. 0 when it does not fit.
int BuildClickUrl(const char *base, const char *uuid, char *out, int size);

struct DirectorySearch {
    // Set by the caller.
    const DirectoryNet *net;
    const char *baseUrl;      // the directory's address set by the user ("http://host:port"), or null
    unsigned limitMs;         // DIRECTORY_SEARCH_MS
    char *body;               // the answer's storage, capacity bytes (DIRECTORY_ANSWER_MAX + 1)
    int capacity;
    StationVisitor visit;     // each station of the answer that is read, in the directory's order
    void *context;
    // Results.
    int status;                   // a DirectoryStatus
    int tried;                    // servers asked
    char server[DIRECTORY_URL_SIZE];   // the base address that answered (for the click)
    StationListResult list;
};

// Runs the search: with baseUrl that server alone, otherwise the discovered servers as
// "https://NAME" one after another until one gives a valid answer or the time is up.
// Returns search->status.
int RunDirectorySearch(DirectorySearch *search, const DirectoryQuery *query);

// The platform's own lookups and clock for a DirectoryNet (get and random are the caller's):
// each lookup runs on a helper thread that is left behind when it does not end in time.
int LookupAddressesWithin(void *context, const char *name, unsigned *addresses, int max, unsigned limitMs);
int LookupNameWithin(void *context, unsigned address, char *out, int size, unsigned limitMs);
unsigned DirectoryTick(void *context);

#endif
