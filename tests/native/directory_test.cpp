// directory_test.cpp: the station directory: the JSON reader, the station list, the station rule
// with its 949 title, and server discovery and failover through the network seam.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "directory/directory_search.h"
#include "directory/json_reader.h"
#include "directory/station_list.h"
#include "directory/station_rule.h"
#include "tests/native/code_page_seam.h"

namespace {

// Every string of a JSON text, read by walking it (objects' keys as "key:"), or "ERROR".
void Walk(JsonReader *r, std::vector<std::string> *out)
{
    char text[64];
    int count = 0;
    long long number;
    switch (JsonPeek(r)) {
    case JSON_ARRAY:
        JsonEnterArray(r);
        while (JsonNextElement(r, &count)) Walk(r, out);
        break;
    case JSON_OBJECT:
        JsonEnterObject(r);
        while (JsonNextMember(r, &count, text, sizeof text)) {
            out->push_back(std::string(text) + ":");
            Walk(r, out);
        }
        break;
    case JSON_STRING:
        if (JsonReadString(r, text, sizeof text, 0)) out->push_back(text);
        break;
    case JSON_NUMBER:
        if (JsonReadInteger(r, &number)) out->push_back(std::to_string(number));
        else out->push_back("not-integer");
        break;
    default:
        JsonSkipValue(r);
    }
}

std::string WalkAll(const std::string &json)
{
    JsonReader r;
    JsonStart(&r, json.data(), (int)json.size());
    std::vector<std::string> parts;
    Walk(&r, &parts);
    if (!JsonFinish(&r)) return "ERROR";
    std::string all;
    for (const std::string &p : parts) all += p + "|";
    return all;
}

TEST(JsonReader, NestingEscapesNumbersAndBrokenTexts)
{
    EXPECT_EQ("a:|1|b:|x|y:|-7|", WalkAll(" {\"a\": [1, {\"b\": \"x\"}], \"y\": -7} "));
    // Escapes: quotes, slash, control letters, BMP and a surrogate pair (U+1F600), lone surrogates.
    EXPECT_EQ("q\"/\\\n\t|", WalkAll("[\"q\\\"\\/\\\\\\n\\t\"]"));
    EXPECT_EQ("\xed\x95\x9c\xf0\x9f\x98\x80|", WalkAll("[\"\\uD55C\\uD83D\\uDE00\"]"));
    EXPECT_EQ("?x|?|??|", WalkAll("[\"\\uD83Dx\", \"\\uDE00\", \"\\u0000\\uDBFF\"]"));
    // Raw UTF-8 is kept; a byte that is not UTF-8 becomes '?'.
    EXPECT_EQ("\xc3\xa9|a?b|", WalkAll("[\"\xc3\xa9\", \"a\xff" "b\"]"));
    EXPECT_EQ("0|not-integer|not-integer|not-integer|999999999999999999|",
              WalkAll("[0, 1.5, 2e3, 12345678901234567890, 999999999999999999]"));
    // Skipped values of every kind, deep nesting within the limit.
    EXPECT_EQ("", WalkAll("[true, false, null, [[[]]], {}]"));
    std::string deep = std::string(JSON_DEPTH_MAX, '[') + std::string(JSON_DEPTH_MAX, ']');
    JsonReader r;
    JsonStart(&r, deep.data(), (int)deep.size());
    EXPECT_TRUE(JsonSkipValue(&r) && JsonFinish(&r));
    deep = "[" + deep + "]";
    JsonStart(&r, deep.data(), (int)deep.size());
    EXPECT_FALSE(JsonSkipValue(&r));
    EXPECT_EQ(JSON_TOO_DEEP, r.error);
    for (const char *bad : {"", "[", "[1,]", "{\"a\" 1}", "{\"a\":1,}", "[01]", "[1.]", "[-]", "[\"a]", "[\"\\x\"]",
                            "[\"\\u12G4\"]", "[tru]", "[1] x", "{1:2}", "[\"a\nb\"]", "[1 2]", "{\"a\":}"})
        EXPECT_EQ("ERROR", WalkAll(bad)) << bad;
}

TEST(JsonReader, WrongKindsAreSkippedAndCutsKeepWholeCharacters)
{
    JsonReader r;
    std::string json = "[7, \"s\", {\"k\": [1]}, true, \"\xea\xb0\x80\xea\xb0\x80\"]";
    JsonStart(&r, json.data(), (int)json.size());
    char text[5];
    long long number;
    int flag, count = 0, full = 0;
    ASSERT_TRUE(JsonEnterArray(&r));
    ASSERT_TRUE(JsonNextElement(&r, &count));
    EXPECT_FALSE(JsonReadString(&r, text, sizeof text, &full));   // a number
    ASSERT_TRUE(JsonNextElement(&r, &count));
    EXPECT_FALSE(JsonReadInteger(&r, &number));                  // a string
    ASSERT_TRUE(JsonNextElement(&r, &count));
    EXPECT_FALSE(JsonReadBool(&r, &flag));                       // an object, skipped whole
    ASSERT_TRUE(JsonNextElement(&r, &count));
    EXPECT_TRUE(JsonReadBool(&r, &flag) && flag);
    ASSERT_TRUE(JsonNextElement(&r, &count));
    // Two 3-byte characters into 4 bytes of room: the first alone, the whole length still known.
    EXPECT_TRUE(JsonReadString(&r, text, sizeof text, &full));
    EXPECT_EQ("\xea\xb0\x80", std::string(text));
    EXPECT_EQ(6, full);
    EXPECT_FALSE(JsonNextElement(&r, &count));
    EXPECT_TRUE(JsonFinish(&r));

    // A string that breaks off still leaves a terminated text behind.
    std::string cut = "\"abc\x01";
    char filled[16];
    memset(filled, 'x', sizeof filled);
    JsonStart(&r, cut.data(), (int)cut.size());
    EXPECT_FALSE(JsonReadString(&r, filled, sizeof filled, &full));
    EXPECT_EQ("abc", std::string(filled));
}

// Stations of an answer, in order.
void Collect(void *context, const DirectoryStation *s)
{
    static_cast<std::vector<DirectoryStation> *>(context)->push_back(*s);
}

StationListResult ReadList(const std::string &json, std::vector<DirectoryStation> *stations)
{
    StationListResult result;
    ReadStationList(json.data(), (int)json.size(), Collect, stations, &result);
    return result;
}

TEST(StationList, FieldsKindsAndBrokenAnswers)
{
    std::vector<DirectoryStation> got;
    std::string long_url = "http://x/" + std::string(300, 'a');
    StationListResult res = ReadList(
        "[{\"changeuuid\":\"c\",\"stationuuid\":\"u1\",\"name\":\"One\",\"url\":\"http://a/\","
        "\"url_resolved\":\"" + long_url + "\",\"countrycode\":\"KR\",\"tags\":\"pop,rock\",\"codec\":\"MP3\","
        "\"bitrate\":128,\"votes\":42,\"hls\":0,\"lastcheckok\":1,\"geo_lat\":null,\"extra\":{\"a\":[1,2]}},"
        "{\"stationuuid\":\"u2\",\"name\":\"Two\",\"url\":\"http://b/\",\"bitrate\":\"128\"},"   // wrong kind
        "{\"stationuuid\":\"u3\",\"name\":\"Three\",\"url\":\"http://c/\",\"votes\":99999999999},"  // too large
        "{\"stationuuid\":\"u4\",\"url\":\"http://d/\"},"                                          // no name
        "{\"stationuuid\":\"u5\",\"name\":\"Five\",\"url\":\"http://e/\",\"hls\":true,\"codec\":null},"
        "[1], \"text\"]", &got);
    EXPECT_EQ(STATIONS_OK, res.error);
    EXPECT_EQ(2, res.read);
    EXPECT_EQ(5, res.invalid);
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ("u1", std::string(got[0].uuid));
    EXPECT_EQ((int)long_url.size(), got[0].urlResolvedLength);
    EXPECT_EQ(STATION_URL_SIZE - 1, (int)strlen(got[0].urlResolved));
    EXPECT_EQ("KR pop,rock MP3", std::string(got[0].country) + " " + got[0].tags + " " + got[0].codec);
    EXPECT_EQ(128, got[0].bitrate);
    EXPECT_EQ(42, got[0].votes);
    EXPECT_EQ(1, got[0].lastCheckOk);
    EXPECT_EQ(1, got[1].hls);
    EXPECT_EQ("", std::string(got[1].codec));

    got.clear();
    EXPECT_EQ(STATIONS_NOT_ARRAY, ReadList("{\"a\":1}", &got).error);
    // A broken answer gives no station at all, even the ones before the fault.
    EXPECT_EQ(STATIONS_BAD_JSON, ReadList("[{\"stationuuid\":\"u\",\"name\":\"n\",\"url\":\"http://a/\"}, {", &got).error);
    EXPECT_EQ(STATIONS_BAD_JSON, ReadList("<html>", &got).error);
    EXPECT_TRUE(got.empty());
}

DirectoryStation Station(const std::string &name, const std::string &url, const std::string &resolved, int hls = 0)
{
    DirectoryStation s = {};
    snprintf(s.name, sizeof s.name, "%s", name.c_str());
    snprintf(s.url, sizeof s.url, "%s", url.c_str());
    s.urlLength = (int)url.size();
    snprintf(s.urlResolved, sizeof s.urlResolved, "%s", resolved.c_str());
    s.urlResolvedLength = (int)resolved.size();
    s.hls = hls;
    return s;
}

#ifdef _WIN32
// The conversion the rule is meant to get on Windows: no look-alike for a character 949 lacks.
int NoBestFit949(const char *in, int length, char *out, int capacity)
{
    wchar_t wide[1024];
    int n = MultiByteToWideChar(CP_UTF8, 0, in, length, wide, 1024);
    if (n <= 0) return -1;
    n = WideCharToMultiByte(949, WC_NO_BEST_FIT_CHARS, wide, n, out, capacity, "?", 0);
    return n > 0 ? n : -1;
}
#else
#define NoBestFit949 TestUtf8To949
#endif

// The verdict, and "title|address" when offered.
std::string Rule(const DirectoryStation &s)
{
    StationChannel c;
    int verdict = StationToChannel(&s, NoBestFit949, &c);
    return verdict == STATION_OFFERED ? std::string(c.title) + "|" + c.address : std::to_string(verdict);
}

TEST(StationRule, AddressChoiceHlsAndKeyTexts)
{
    std::string at127 = "http://h/" + std::string(127 - 9, 'a'), at128 = at127 + "a";
    EXPECT_EQ("A|http://r/", Rule(Station("A", "http://u/", "http://r/")));
    EXPECT_EQ("A|http://u/", Rule(Station("A", "http://u/", "https://r/")));
    EXPECT_EQ("A|" + at127, Rule(Station("A", "http://u/", at127)));
    EXPECT_EQ("A|http://u/", Rule(Station("A", "http://u/", at128)));
    EXPECT_EQ("A|http://u/", Rule(Station("A", "http://u/", "http://r/\r\nFile2=x")));
    EXPECT_EQ(std::to_string(STATION_NO_ADDRESS), Rule(Station("A", "https://u/", "")));
    EXPECT_EQ(std::to_string(STATION_NO_ADDRESS), Rule(Station("A", at128, "https://r/")));
    EXPECT_EQ(std::to_string(STATION_HLS), Rule(Station("A", "http://u/", "http://r/x.m3u8", 1)));
    EXPECT_EQ(std::to_string(STATION_HOLDS_KEY), Rule(Station("x File2=http://evil/", "http://u/", "")));
    EXPECT_EQ(std::to_string(STATION_HOLDS_KEY), Rule(Station("A", "http://u/?PlsUrl1=x", "")));
    EXPECT_EQ("A|http://u/?type=.mp3&sid=1", Rule(Station("A", "http://u/?type=.mp3&sid=1", "")));
}

TEST(StationRule, TitleIn949CutAtACharacterAndHostForEmptyNames)
{
    // 한국 방송: Hangul becomes two bytes each.
    EXPECT_EQ("\xc7\xd1\xb1\xb9 \xb9\xe6\xbc\xdb|http://u/",
              Rule(Station("  \xed\x95\x9c\xea\xb5\xad \xeb\xb0\xa9\xec\x86\xa1\t", "http://u/", "")));
    // A character 949 lacks is one '?', never a look-alike; an emoji (outside the BMP) is one too.
    EXPECT_EQ("Caf? ?|http://u/", Rule(Station("Caf\xc3\xa9 \xf0\x9f\x98\x80", "http://u/", "")));
    // Line ends become blanks; a blank or empty name becomes the host name.
    EXPECT_EQ("a  b|http://u/", Rule(Station("a\r\nb", "http://u/", "")));
    EXPECT_EQ("radio.example|http://radio.example:8000/x", Rule(Station(" \t ", "http://radio.example:8000/x", "")));
    // 31 bytes: 15 Hangul (30 bytes) and then a 16th does not fit; ASCII fills to 31.
    std::string hangul;
    for (int i = 0; i < 16; i++) hangul += "\xea\xb0\x80";   // 가
    std::string title = Rule(Station(hangul, "http://u/", ""));
    EXPECT_EQ(30u, title.find('|'));
    EXPECT_EQ(31u, Rule(Station("x" + hangul, "http://u/", "")).find('|'));
    EXPECT_EQ(31u, Rule(Station(std::string(40, 'z'), "http://u/", "")).find('|'));
    // A cut that leaves a blank at the end drops it.
    EXPECT_EQ(29u, Rule(Station(std::string(29, 'z') + "  " + "\xea\xb0\x80", "http://u/", "")).find('|'));
}

TEST(StationRule, OfferedChannelsJoinAListByTheImportRules)
{
    // A list that holds one address and has room for two more short rows.
    std::vector<char> block(4096);
    AddressSet known;
    AddressSetInit(&known, block.data(), (int)block.size());
    AddressSetAdd(&known, "http://a/");
    std::vector<std::string> rows;
    PlaylistImport im = {};
    im.known = &known;
    im.nextNumber = 2;
    im.roomBytes = 2 * SettRowCost(9, 9, 1);
    im.addRow = [](void *c, const char *title, const char *url) {
        static_cast<std::vector<std::string> *>(c)->push_back(std::string(title) + "|" + url);
    };
    im.context = &rows;
    StationChannel c;
    const char *names[] = {"A", "B", "C", "D", "E"};
    const char *urls[] = {"http://a/", "http://b/", "http://b/", "http://c/", "http://d/"};
    int results[5];
    for (int i = 0; i < 5; i++) {
        DirectoryStation s = Station(names[i], urls[i], "");
        ASSERT_EQ(STATION_OFFERED, StationToChannel(&s, NoBestFit949, &c));
        results[i] = ImportEntry(&im, c.address, c.title);
    }
    EXPECT_EQ((std::vector<std::string>{"B|http://b/", "D|http://c/"}), rows);
    EXPECT_EQ(2, im.added);
    EXPECT_EQ(2, im.skipped);   // already in the list, or added a moment before
    EXPECT_EQ(SKIP_DUPLICATE, im.reasons[0]);
    EXPECT_STREQ("http://a/", im.skippedAddresses[0]);
    EXPECT_TRUE(im.stopped);    // the fifth no longer fits
    EXPECT_EQ(0, results[4]);
}

// A network for the search: names, reverse names and answers from tables; a clock that each
// lookup or request moves on by its cost.
struct FakeNet {
    std::vector<unsigned> addresses;
    std::map<unsigned, std::string> names;
    std::map<std::string, std::string> answers;      // url prefix -> body ("" : unreachable)
    std::map<std::string, unsigned> costs;           // url prefix or name -> milliseconds spent
    std::vector<std::string> asked;                  // every GET, in order
    std::vector<unsigned> randoms;
    unsigned now = 1000;
    size_t nextRandom = 0;
    DirectoryNet net;
    FakeNet()
    {
        net.lookupAddresses = [](void *c, const char *name, unsigned *out, int max, unsigned limit) {
            FakeNet *f = static_cast<FakeNet *>(c);
            f->now += f->costs.count(name) ? f->costs[name] : 5;
            int n = 0;
            for (unsigned a : f->addresses) if (n < max) out[n++] = a;
            return n;
        };
        net.lookupName = [](void *c, unsigned address, char *out, int size, unsigned limit) {
            FakeNet *f = static_cast<FakeNet *>(c);
            f->now += 2;
            if (!f->names.count(address)) return 0;
            snprintf(out, (size_t)size, "%s", f->names[address].c_str());
            return 1;
        };
        net.get = [](void *c, const char *url, unsigned limit, char *body, int capacity, int *length) {
            FakeNet *f = static_cast<FakeNet *>(c);
            f->asked.push_back(url);
            for (auto &cost : f->costs)
                if (std::string(url).rfind(cost.first, 0) == 0) {
                    f->now += cost.second < limit ? cost.second : limit;
                    if (cost.second >= limit) return (int)DIRECTORY_TIMED_OUT;
                }
            for (auto &a : f->answers)
                if (std::string(url).rfind(a.first, 0) == 0) {
                    if (a.second.empty()) return (int)DIRECTORY_UNREACHABLE;
                    if ((int)a.second.size() > capacity) return (int)DIRECTORY_TOO_LARGE;
                    memcpy(body, a.second.data(), a.second.size());
                    *length = (int)a.second.size();
                    return (int)DIRECTORY_DONE;
                }
            return (int)DIRECTORY_UNREACHABLE;
        };
        net.random = [](void *c) {
            FakeNet *f = static_cast<FakeNet *>(c);
            return f->nextRandom < f->randoms.size() ? f->randoms[f->nextRandom++] : 0u;
        };
        net.tick = [](void *c) { return static_cast<FakeNet *>(c)->now; };
        net.context = this;
    }
};

const char kOneStation[] = "[{\"stationuuid\":\"u\",\"name\":\"n\",\"url\":\"http://a/\"}]";

struct Search {
    std::vector<char> body = std::vector<char>(4096);
    std::vector<DirectoryStation> stations;
    DirectorySearch s = {};
    Search(FakeNet *f, const char *base)
    {
        s.net = &f->net;
        s.baseUrl = base;
        s.limitMs = DIRECTORY_SEARCH_MS;
        s.body = body.data();
        s.capacity = (int)body.size();
        s.visit = Collect;
        s.context = &stations;
    }
    int Run(const char *name = "a b/é")
    {
        DirectoryQuery q = {name, "KR", 0, 100};
        return RunDirectorySearch(&s, &q);
    }
};

TEST(DirectoryDiscovery, ReverseNamesInRandomOrderAndTheNextServerOnFailure)
{
    FakeNet f;
    f.addresses = {1, 2, 3, 4};
    f.names = {{1, "de1.api.radio-browser.info"}, {2, "nl1.api.radio-browser.info"},
               {3, "de1.api.radio-browser.info"}, {5, "never"}};   // 3 repeats 1; 4 has no name
    f.randoms = {0};   // the last of two changes place with the first
    DirectoryServers servers;
    ASSERT_EQ(2, DiscoverDirectoryServers(&f.net, DIRECTORY_SEARCH_MS, &servers));
    EXPECT_EQ("nl1.api.radio-browser.info", std::string(servers.names[0]));
    EXPECT_EQ("de1.api.radio-browser.info", std::string(servers.names[1]));

    // The first server cannot be reached: the search goes on to the next and reads its answer.
    f.nextRandom = 0;
    f.answers = {{"https://nl1.", ""}, {"https://de1.", kOneStation}};
    Search search(&f, nullptr);
    EXPECT_EQ(DIRECTORY_DONE, search.Run());
    ASSERT_EQ(2u, f.asked.size());
    EXPECT_EQ("https://nl1.api.radio-browser.info/json/stations/search?name=a%20b%2F%C3%A9&countrycode=KR"
              "&hidebroken=true&is_https=false&order=votes&reverse=true&limit=100", f.asked[0]);
    EXPECT_EQ("https://de1.api.radio-browser.info", std::string(search.s.server));
    EXPECT_EQ(1u, search.stations.size());

    // An invalid answer also moves on; the last server's fault is the search's.
    f.asked.clear();
    f.nextRandom = 0;
    f.answers = {{"https://nl1.", kOneStation}, {"https://de1.", "[{"}};
    f.randoms = {1};   // the order stays as found: de1 first
    Search broken(&f, nullptr);
    EXPECT_EQ(DIRECTORY_DONE, broken.Run());
    EXPECT_EQ(2u, f.asked.size());
    f.answers = {{"https://nl1.", "<html>"}, {"https://de1.", "[{"}};
    f.nextRandom = 0;
    EXPECT_EQ(DIRECTORY_BAD_ANSWER, broken.Run());
    EXPECT_TRUE(broken.stations.size() == 1u);   // only the earlier search's station

    // No server names at all: unreachable, nothing asked.
    f.names.clear();
    f.asked.clear();
    EXPECT_EQ(DIRECTORY_UNREACHABLE, Search(&f, nullptr).Run());
    EXPECT_TRUE(f.asked.empty());
}

TEST(DirectoryDiscovery, TheWholeSearchEndsWithinItsTimeAndAnOverrideNeedsNoDns)
{
    FakeNet f;
    f.addresses = {1, 2, 3};
    f.names = {{1, "a.api"}, {2, "b.api"}, {3, "c.api"}};
    f.costs = {{DIRECTORY_DNS_NAME, 6000}, {"https://", 7000}};   // slow DNS, every server slow
    f.answers = {{"https://", ""}};
    unsigned start = f.now;
    Search search(&f, nullptr);
    EXPECT_EQ(DIRECTORY_TIMED_OUT, search.Run());
    EXPECT_LE(f.now - start, DIRECTORY_SEARCH_MS);
    EXPECT_EQ(2, search.s.tried);   // 6 s of DNS, 7 s on the first, the rest of the time on the second

    // With the directory's address set, no lookup happens and that server alone is asked.
    FakeNet g;
    g.net.lookupAddresses = nullptr;
    g.net.lookupName = nullptr;
    g.answers = {{"http://10.77.0.1:8090/json/stations/search?name=x&", kOneStation}};
    Search direct(&g, "http://10.77.0.1:8090/");
    EXPECT_EQ(DIRECTORY_DONE, direct.Run("x"));
    EXPECT_EQ(1u, g.asked.size());
    EXPECT_EQ("http://10.77.0.1:8090/", std::string(direct.s.server));
    char click[128];
    ASSERT_TRUE(BuildClickUrl(direct.s.server, "96ec-11e9", click, sizeof click));
    EXPECT_EQ("http://10.77.0.1:8090/json/url/96ec-11e9", std::string(click));
    EXPECT_FALSE(BuildClickUrl(direct.s.server, "../x?y", click, sizeof click));
}

}  // namespace
