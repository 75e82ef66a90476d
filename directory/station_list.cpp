// station_list.cpp: the station directory's search answer (a JSON array of stations) read into records.
#include "directory/station_list.h"
#include "directory/json_reader.h"
#include "common/text.h"

#define KEY_SIZE 32

enum StationField { FIELD_UUID = 1, FIELD_NAME = 2, FIELD_URL = 4 };
#define REQUIRED_FIELDS (FIELD_UUID | FIELD_NAME | FIELD_URL)

// A number field: an integer within 0..2147483647, or (hls, lastcheckok) a boolean.
static int ReadCount(JsonReader *r, int *out, int booleanToo)
{
    if (booleanToo && (JsonPeek(r) == JSON_TRUE || JsonPeek(r) == JSON_FALSE)) return JsonReadBool(r, out);
    long long value;
    if (!JsonReadInteger(r, &value) || value < 0 || value > STATION_NUMBER_MAX) return 0;
    *out = (int)value;
    return 1;
}

// Reads one member's value into the station; 0 when it has the wrong kind. *seen gains its field.
static int ReadField(JsonReader *r, const char *key, DirectoryStation *s, int *seen)
{
    if (JsonPeek(r) == JSON_NULL) return JsonSkipValue(r);
    if (TextEquals(key, "stationuuid")) { *seen |= FIELD_UUID; return JsonReadString(r, s->uuid, sizeof s->uuid, 0); }
    if (TextEquals(key, "name")) { *seen |= FIELD_NAME; return JsonReadString(r, s->name, sizeof s->name, 0); }
    if (TextEquals(key, "url")) { *seen |= FIELD_URL; return JsonReadString(r, s->url, sizeof s->url, &s->urlLength); }
    if (TextEquals(key, "url_resolved"))
        return JsonReadString(r, s->urlResolved, sizeof s->urlResolved, &s->urlResolvedLength);
    if (TextEquals(key, "countrycode")) return JsonReadString(r, s->country, sizeof s->country, 0);
    if (TextEquals(key, "tags")) return JsonReadString(r, s->tags, sizeof s->tags, 0);
    if (TextEquals(key, "codec")) return JsonReadString(r, s->codec, sizeof s->codec, 0);
    if (TextEquals(key, "bitrate")) return ReadCount(r, &s->bitrate, 0);
    if (TextEquals(key, "votes")) return ReadCount(r, &s->votes, 0);
    if (TextEquals(key, "hls")) return ReadCount(r, &s->hls, 1);
    if (TextEquals(key, "lastcheckok")) return ReadCount(r, &s->lastCheckOk, 1);
    return JsonSkipValue(r);
}

// Reads the element at the reader; 1 when it is a usable station.
static int ReadStation(JsonReader *r, DirectoryStation *s)
{
    ZeroBytes(s, (int)sizeof *s);
    if (!JsonEnterObject(r)) {
        JsonSkipValue(r);
        return 0;
    }
    int count = 0, seen = 0, usable = 1;
    char key[KEY_SIZE];
    while (JsonNextMember(r, &count, key, sizeof key))
        if (!ReadField(r, key, s, &seen)) usable = 0;
    return usable && (seen & REQUIRED_FIELDS) == REQUIRED_FIELDS && !r->error;
}

int ReadStationList(const char *text, int length, StationVisitor visit, void *context, StationListResult *result)
{
    result->error = STATIONS_OK;
    result->errorAt = result->read = result->invalid = 0;
    // The whole answer is checked first, so no station of a broken answer is handed on.
    JsonReader r;
    JsonStart(&r, text, length);
    if (!JsonSkipValue(&r) || !JsonFinish(&r)) {
        result->error = STATIONS_BAD_JSON;
        result->errorAt = r.errorAt;
        return result->error;
    }
    JsonStart(&r, text, length);
    if (!JsonEnterArray(&r)) {
        result->error = STATIONS_NOT_ARRAY;
        return result->error;
    }
    int count = 0;
    DirectoryStation station;
    while (JsonNextElement(&r, &count)) {
        if (ReadStation(&r, &station)) {
            result->read++;
            if (visit) visit(context, &station);
        } else {
            result->invalid++;
        }
    }
    return result->error;
}
