// playlist_import.h: reading .pls and .m3u playlists into channel rows under the import rules.
#ifndef SETRADIO_FILES_PLAYLIST_IMPORT_H
#define SETRADIO_FILES_PLAYLIST_IMPORT_H

#define PLAYLIST_TITLE_MAX 31     // bytes of an imported title, as the title edit takes it
#define PLAYLIST_ADDRESS_MAX 127  // bytes of an address a channel can hold
#define IMPORT_REASONS_KEPT 3     // skipped entries reported by name
#define IMPORT_SHOWN_ADDRESS 48   // bytes of a skipped address kept for the report, NUL included

// SKIP_HOLDS_KEY: the address or title holds a key's text (HoldsDeviceKey), which would change
// another channel when the list is read back.
enum ImportSkip { SKIP_TOO_LONG = 1, SKIP_NOT_HTTP = 2, SKIP_DUPLICATE = 3, SKIP_HOLDS_KEY = 4 };

// Addresses one after another, each with its NUL, in a block the caller owns.
struct AddressSet {
    char *buffer;
    int capacity;
    int length;
};
void AddressSetInit(AddressSet *set, char *buffer, int capacity);
int AddressSetAdd(AddressSet *set, const char *address);        // 0 when the block is full
int AddressSetHas(const AddressSet *set, const char *address);  // exact, byte for byte

// Receives one accepted row: a title of at most 31 bytes and an address of at most 127.
typedef void (*ImportRowWriter)(void *context, const char *title, const char *url);
// Told of each entry left out (an ImportSkip), with its address and title as the playlist holds
// them (not NUL-terminated; the title may be empty).
typedef void (*ImportSkipListener)(void *context, int reason, const char *url, int urlLength, const char *title,
                                   int titleLength);

struct PlaylistImport {
    // Set by the caller.
    AddressSet *known;       // addresses already in the list; every added one joins it
    int nextNumber;          // channel number of the first added row (rows so far plus 1)
    int roomBytes;           // bytes the list's SETT text can still grow by and fit one message
    ImportRowWriter addRow;
    ImportSkipListener onSkip;   // optional
    void *context;
    // Results.
    int added;
    int skipped;
    int stopped;             // 1 when a row would no longer have fit: the rest was not read
    int reasonCount;         // first skipped entries: reason and the start of the address
    int reasons[IMPORT_REASONS_KEPT];
    char skippedAddresses[IMPORT_REASONS_KEPT][IMPORT_SHOWN_ADDRESS];
};

// Reads a playlist text (code-page bytes): "[playlist]" files by FileN/TitleN in N order, anything
// else as M3U (#EXTINF titles, other '#' lines and blank lines skipped). Titles are cut to 31
// bytes, never inside a double-byte character; a missing title becomes the address's host name.
// Addresses over 127 bytes, not starting with "http://", holding a key's text (or with such a title),
// or already known are skipped. Returns added.
int ImportPlaylist(const char *text, PlaylistImport *import);

// One entry (an address and its title, code-page texts) under the same rules, for entries that come
// from elsewhere (the station directory); the results add up over calls (start from a zeroed record).
// Returns 0 once the list is full: that entry and every later one are not added.
int ImportEntry(PlaylistImport *import, const char *url, const char *title);

// Copies at most maxBytes bytes of text into out (size bytes), never cutting a code page 949
// double-byte character in two. Returns the bytes copied.
int CutDoubleByteText(char *out, int size, const char *text, int length, int maxBytes);
// The host part of an http:// address (no user, port or path), cut to size - 1 bytes.
void AddressHostName(const char *url, char *out, int size);
// A channel's title from length bytes of a code-page title: blanks trimmed, cut to 31 bytes at a
// character boundary; an empty one becomes the address's host name. Returns its length.
int MakeChannelTitle(char *out, int size, const char *title, int length, const char *address);
// Bytes a row numbered n adds to a SETT text: its File and Title lines, and a longer count.
int SettRowCost(int n, int urlLength, int titleLength);

#endif
