// playlist_import.cpp: reading .pls and .m3u playlists into channel rows under the import rules.
#include "files/playlist_import.h"
#include "common/text.h"
#include "device/message.h"

// A piece of the text: start and length, not NUL-terminated.
struct Span {
    const char *start;
    int length;
};

static int IsBlank(char c) { return c == ' ' || c == '\t'; }
static int IsLineEnd(char c) { return c == '\r' || c == '\n'; }
static char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? (char)(c + 32) : c; }

static Span Trimmed(Span s)
{
    while (s.length > 0 && IsBlank(s.start[0])) { s.start++; s.length--; }
    while (s.length > 0 && IsBlank(s.start[s.length - 1])) s.length--;
    return s;
}

// The rest of the line from p.
static Span LineFrom(const char *p)
{
    Span s = {p, 0};
    while (p[s.length] && !IsLineEnd(p[s.length])) s.length++;
    return s;
}

static const char *NextLine(const char *p)
{
    while (*p && !IsLineEnd(*p)) p++;
    while (IsLineEnd(*p)) p++;
    return p;
}

static int StartsWithNoCase(const char *text, const char *prefix)
{
    for (int i = 0; prefix[i]; i++)
        if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return 0;
    return 1;
}

void AddressSetInit(AddressSet *set, char *buffer, int capacity)
{
    set->buffer = buffer;
    set->capacity = capacity;
    set->length = 0;
}

int AddressSetAdd(AddressSet *set, const char *address)
{
    int n = TextLength(address) + 1;
    if (!set->buffer || n > set->capacity - set->length) return 0;
    CopyBytes(set->buffer + set->length, address, n);
    set->length += n;
    return 1;
}

int AddressSetHas(const AddressSet *set, const char *address)
{
    for (int at = 0; at < set->length;) {
        const char *known = set->buffer + at;
        if (TextEquals(known, address)) return 1;
        at += TextLength(known) + 1;
    }
    return 0;
}

int CutDoubleByteText(char *out, int size, const char *text, int length, int maxBytes)
{
    if (!out || size <= 0) return 0;
    if (maxBytes > size - 1) maxBytes = size - 1;
    const unsigned char *p = (const unsigned char *)text;
    int n = 0;
    while (n < length) {
        // A lead byte of code page 949 (0x81..0xFE) starts a two-byte character.
        int step = p[n] >= 0x81 && p[n] <= 0xFE && n + 1 < length ? 2 : 1;
        if (n + step > maxBytes) break;
        n += step;
    }
    CopyBytes(out, text, n);
    out[n] = 0;
    return n;
}

void AddressHostName(const char *url, char *out, int size)
{
    if (!out || size <= 0) return;
    out[0] = 0;
    const char *host = url;
    if (StartsWithNoCase(host, "http://")) host += 7;
    // A user name ends with '@' before the path starts.
    for (const char *p = host; *p && *p != '/' && *p != '?' && *p != '#'; p++)
        if (*p == '@') host = p + 1;
    int n = 0;
    if (host[0] == '[') {
        while (host[n] && host[n] != ']') n++;
        if (host[n] == ']') n++;
    } else {
        while (host[n] && host[n] != ':' && host[n] != '/' && host[n] != '?' && host[n] != '#') n++;
    }
    CutDoubleByteText(out, size, host, n, size - 1);
}

int MakeChannelTitle(char *out, int size, const char *title, int length, const char *address)
{
    Span s = {title, title ? length : 0};
    s = Trimmed(s);
    if (!s.length) {
        AddressHostName(address, out, size);
        return TextLength(out);
    }
    // A cut can leave a blank at the end, which the title edit would not keep either.
    int n = CutDoubleByteText(out, size, s.start, s.length, PLAYLIST_TITLE_MAX);
    while (n > 0 && IsBlank(out[n - 1])) out[--n] = 0;
    return n;
}

static int DigitCount(int n)
{
    int digits = 1;
    while (n >= 10) { n /= 10; digits++; }
    return digits;
}

int SettRowCost(int n, int urlLength, int titleLength)
{
    // "File<n>=" url CR LF "Title<n>=" title CR LF, and NumberOfEntries growing by a digit.
    int grow = n > 1 ? DigitCount(n) - DigitCount(n - 1) : 0;
    return 4 + 5 + 2 * (DigitCount(n) + 3) + urlLength + titleLength + grow;
}

static void NoteSkip(PlaylistImport *im, int reason, Span url, Span title)
{
    im->skipped++;
    if (im->onSkip) im->onSkip(im->context, reason, url.start, url.length, title.start, title.length);
    if (im->reasonCount >= IMPORT_REASONS_KEPT) return;
    im->reasons[im->reasonCount] = reason;
    char *shown = im->skippedAddresses[im->reasonCount];
    int n = CutDoubleByteText(shown, IMPORT_SHOWN_ADDRESS, url.start, url.length, IMPORT_SHOWN_ADDRESS - 4);
    if (n < url.length) {
        shown[n] = shown[n + 1] = shown[n + 2] = '.';
        shown[n + 3] = 0;
    }
    im->reasonCount++;
}

// Applies the rules to one entry. Returns 0 when the import must stop.
static int TakeEntry(PlaylistImport *im, Span url, Span title)
{
    url = Trimmed(url);
    title = Trimmed(title);
    if (url.length == 0) return 1;
    if (url.length > PLAYLIST_ADDRESS_MAX) {
        NoteSkip(im, SKIP_TOO_LONG, url, title);
        return 1;
    }
    char address[PLAYLIST_ADDRESS_MAX + 1];
    CopyBytes(address, url.start, url.length);
    address[url.length] = 0;
    if (ComparePrefix(address, "http://")) {
        NoteSkip(im, SKIP_NOT_HTTP, url, title);
        return 1;
    }
    char name[PLAYLIST_TITLE_MAX + 1];
    MakeChannelTitle(name, sizeof name, title.start, title.length, address);
    if (HoldsDeviceKey(address, -1) || HoldsDeviceKey(name, -1)) {
        NoteSkip(im, SKIP_HOLDS_KEY, url, title);
        return 1;
    }
    if (im->known && AddressSetHas(im->known, address)) {
        NoteSkip(im, SKIP_DUPLICATE, url, title);
        return 1;
    }
    int cost = SettRowCost(im->nextNumber, url.length, TextLength(name));
    if (cost > im->roomBytes || (im->known && !AddressSetAdd(im->known, address))) {
        im->stopped = 1;
        return 0;
    }
    if (im->addRow) im->addRow(im->context, name, address);
    im->roomBytes -= cost;
    im->nextNumber++;
    im->added++;
    return 1;
}

// The title after "#EXTINF:duration[ attributes],": the first comma outside double quotes.
static Span ExtinfTitle(Span line)
{
    int quoted = 0;
    for (int i = 0; i < line.length; i++) {
        if (line.start[i] == '"') quoted = !quoted;
        else if (line.start[i] == ',' && !quoted) {
            Span s = {line.start + i + 1, line.length - i - 1};
            return s;
        }
    }
    Span none = {line.start, 0};
    return none;
}

static void ImportM3u(const char *text, PlaylistImport *im)
{
    Span title = {text, 0};
    for (const char *p = text; *p; p = NextLine(p)) {
        Span line = Trimmed(LineFrom(p));
        if (!line.length) continue;
        if (StartsWithNoCase(line.start, "#EXTINF:")) {
            title = ExtinfTitle(line);
        } else if (line.start[0] != '#') {
            if (!TakeEntry(im, line, title)) return;
            title.length = 0;
        }
    }
}

// When the line at p is "<name><n>=" (name any case, n decimal), returns n and sets *value; else -1.
static int NumberedKeyAt(const char *p, const char *name, const char **value)
{
    if (!StartsWithNoCase(p, name)) return -1;
    p += TextLength(name);
    int n = 0, digits = 0;
    while (*p >= '0' && *p <= '9') {
        if (++digits > 6) return -1;   // beyond any list a device can hold
        n = n * 10 + (*p++ - '0');
    }
    if (!digits || *p != '=') return -1;
    *value = p + 1;
    return n;
}

// The value of the line "<name><n>=" searched from hint to the end, then from the start.
static const char *FindNumberedLine(const char *text, const char *hint, const char *name, int n)
{
    for (int pass = 0; pass < 2; pass++) {
        const char *p = pass ? text : hint;
        const char *end = pass ? hint : 0;
        for (; *p && p != end; p = NextLine(p)) {
            const char *value;
            if (NumberedKeyAt(p, name, &value) == n) return value;
        }
    }
    return 0;
}

// Smallest File number above after, or -1.
static int NextFileNumber(const char *text, int after)
{
    int best = -1;
    for (const char *p = text; *p; p = NextLine(p)) {
        const char *value;
        int n = NumberedKeyAt(p, "File", &value);
        if (n > after && (best < 0 || n < best)) best = n;
    }
    return best;
}

static void ImportPls(const char *text, PlaylistImport *im)
{
    const char *hint = text;
    int n = NextFileNumber(text, 0);
    while (n > 0) {
        const char *file = FindNumberedLine(text, hint, "File", n);
        if (!file) break;
        hint = NextLine(file);
        const char *titleValue = FindNumberedLine(text, hint, "Title", n);
        Span title = {text, 0};
        if (titleValue) title = LineFrom(titleValue);
        if (!TakeEntry(im, LineFrom(file), title)) return;
        // Files keep their numbers in order: the next number is usually on a following line.
        n = FindNumberedLine(text, hint, "File", n + 1) ? n + 1 : NextFileNumber(text, n);
    }
}

int ImportEntry(PlaylistImport *im, const char *url, const char *title)
{
    if (im->stopped) return 0;
    Span address = {url ? url : "", url ? TextLength(url) : 0};
    Span name = {title ? title : "", title ? TextLength(title) : 0};
    return TakeEntry(im, address, name);
}

int ImportPlaylist(const char *text, PlaylistImport *im)
{
    im->added = im->skipped = im->stopped = im->reasonCount = 0;
    if (!text) return 0;
    const char *first = text;
    while (IsBlank(*first) || IsLineEnd(*first)) first++;
    if (StartsWithNoCase(first, "[playlist]")) ImportPls(text, im);
    else ImportM3u(text, im);
    return im->added;
}
