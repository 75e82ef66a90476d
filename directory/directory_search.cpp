// directory_search.cpp: one search of the station directory, servers found through the seam.
#include "directory/directory_search.h"
#include "common/text.h"

#define SEARCH_PATH "/json/stations/search"

// Milliseconds left of a time that started at start.
static unsigned TimeLeft(const DirectoryNet *net, unsigned start, unsigned limitMs)
{
    unsigned spent = net->tick(net->context) - start;
    return spent >= limitMs ? 0 : limitMs - spent;
}

static int KnownName(const DirectoryServers *servers, const char *name)
{
    for (int i = 0; i < servers->count; i++)
        if (TextEquals(servers->names[i], name)) return 1;
    return 0;
}

// A host name goes into "https://NAME" only when it holds letters, digits, '-' and '.' alone.
static int PlainHostName(const char *name)
{
    if (!name[0]) return 0;
    for (const char *p = name; *p; p++) {
        char c = *p;
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'))
            return 0;
    }
    return 1;
}

int DiscoverDirectoryServers(const DirectoryNet *net, unsigned limitMs, DirectoryServers *out)
{
    out->count = 0;
    unsigned start = net->tick(net->context);
    unsigned addresses[DIRECTORY_SERVERS_MAX];
    int found = net->lookupAddresses(net->context, DIRECTORY_DNS_NAME, addresses, DIRECTORY_SERVERS_MAX, limitMs);
    if (found > DIRECTORY_SERVERS_MAX) found = DIRECTORY_SERVERS_MAX;
    for (int i = 0; i < found; i++) {
        unsigned left = TimeLeft(net, start, limitMs);
        if (!left) break;
        char name[DIRECTORY_HOST_SIZE];
        name[0] = 0;
        if (!net->lookupName(net->context, addresses[i], name, sizeof name, left)) continue;
        name[DIRECTORY_HOST_SIZE - 1] = 0;
        if (!PlainHostName(name) || KnownName(out, name)) continue;
        CopyText(out->names[out->count++], DIRECTORY_HOST_SIZE, name);
    }
    // Random order, so that every program does not ask the same server first.
    for (int i = out->count - 1; i > 0; i--) {
        int j = (int)(net->random(net->context) % (unsigned)(i + 1));
        if (j == i) continue;
        char held[DIRECTORY_HOST_SIZE];
        CopyText(held, sizeof held, out->names[i]);
        CopyText(out->names[i], DIRECTORY_HOST_SIZE, out->names[j]);
        CopyText(out->names[j], DIRECTORY_HOST_SIZE, held);
    }
    return out->count;
}

static int Unreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

// "&key=" and the value percent-encoded, when the value is not empty.
static void AppendParameter(TextBuilder *b, const char *key, const char *value)
{
    if (!value || !value[0]) return;
    static const char hex[] = "0123456789ABCDEF";
    BuilderAppend(b, b->length && b->buffer[b->length - 1] != '?' ? "&" : "");
    BuilderAppend(b, key);
    BuilderAppend(b, "=");
    for (const unsigned char *p = (const unsigned char *)value; *p; p++) {
        char piece[4] = {(char)*p, 0, 0, 0};
        if (!Unreserved(*p)) {
            piece[0] = '%';
            piece[1] = hex[*p >> 4];
            piece[2] = hex[*p & 15];
        }
        BuilderAppend(b, piece);
    }
}

int BuildSearchPath(const DirectoryQuery *q, char *out, int size)
{
    TextBuilder b;
    BuilderInit(&b, out, size);
    BuilderAppend(&b, SEARCH_PATH "?");
    AppendParameter(&b, "name", q->name);
    AppendParameter(&b, "countrycode", q->country);
    AppendParameter(&b, "tag", q->tag);
    AppendParameter(&b, "hidebroken", "true");
    AppendParameter(&b, "is_https", "false");
    AppendParameter(&b, "order", "votes");
    AppendParameter(&b, "reverse", "true");
    BuilderAppend(&b, "&limit=");
    BuilderAppendNumber(&b, q->limit);
    return !b.overflow;
}

// base without a closing '/' and then path.
static int JoinUrl(const char *base, const char *path, char *out, int size)
{
    TextBuilder b;
    BuilderInit(&b, out, size);
    int n = TextLength(base);
    while (n > 0 && base[n - 1] == '/') n--;
    BuilderAppendCut(&b, base, n);
    BuilderAppend(&b, path);
    return !b.overflow;
}

int BuildClickUrl(const char *base, const char *uuid, char *out, int size)
{
    char path[DIRECTORY_HOST_SIZE];
    TextBuilder b;
    BuilderInit(&b, path, sizeof path);
    BuilderAppend(&b, "/json/url/");
    // The uuid goes into the path as it is only when it holds nothing that would change the path.
    for (const char *p = uuid; *p; p++)
        if (!Unreserved((unsigned char)*p)) return 0;
    BuilderAppend(&b, uuid);
    return !b.overflow && uuid[0] && JoinUrl(base, path, out, size);
}

// Asks one server; DIRECTORY_DONE when it gave a valid list of stations.
static int AskServer(DirectorySearch *s, const char *base, const char *path, unsigned limitMs)
{
    char url[DIRECTORY_URL_SIZE];
    if (!JoinUrl(base, path, url, sizeof url)) return DIRECTORY_UNREACHABLE;
    int length = 0;
    s->tried++;
    int status = s->net->get(s->net->context, url, limitMs, s->body, s->capacity, &length);
    if (status != DIRECTORY_DONE) return status;
    if (length < 0 || length > s->capacity) return DIRECTORY_TOO_LARGE;
    if (ReadStationList(s->body, length, s->visit, s->context, &s->list) != STATIONS_OK) return DIRECTORY_BAD_ANSWER;
    CopyText(s->server, sizeof s->server, base);
    return DIRECTORY_DONE;
}

int RunDirectorySearch(DirectorySearch *s, const DirectoryQuery *query)
{
    const DirectoryNet *net = s->net;
    unsigned start = net->tick(net->context);
    s->status = DIRECTORY_UNREACHABLE;
    s->tried = 0;
    s->server[0] = 0;
    ZeroBytes(&s->list, (int)sizeof s->list);
    char path[DIRECTORY_URL_SIZE];
    if (!BuildSearchPath(query, path, sizeof path)) return s->status;
    if (s->baseUrl && s->baseUrl[0]) {
        s->status = AskServer(s, s->baseUrl, path, s->limitMs);
        return s->status;
    }
    DirectoryServers servers;
    DiscoverDirectoryServers(net, s->limitMs, &servers);
    for (int i = 0; i < servers.count; i++) {
        unsigned left = TimeLeft(net, start, s->limitMs);
        if (!left) {
            s->status = DIRECTORY_TIMED_OUT;
            break;
        }
        char base[DIRECTORY_HOST_SIZE + 8];
        TextBuilder b;
        BuilderInit(&b, base, sizeof base);
        BuilderAppend(&b, "https://");
        BuilderAppend(&b, servers.names[i]);
        s->status = AskServer(s, base, path, left);
        if (s->status == DIRECTORY_DONE) break;
    }
    if (s->status != DIRECTORY_DONE && !TimeLeft(net, start, s->limitMs)) s->status = DIRECTORY_TIMED_OUT;
    return s->status;
}
