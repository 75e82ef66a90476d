// directory_bench.cpp: prints how long reading a station directory answer of nearly 4 MB takes
// (about 3,800 stations with every field the directory sends), with and without the station rule.
// Run: <native build>/directory_bench
#include <chrono>
#include <cstdio>
#include <string>

#include "directory/directory_search.h"
#include "directory/station_list.h"
#include "directory/station_rule.h"

namespace {

double NowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Stand-in conversion: bytes as they are (the system's own costs apart).
int Copy(const char *in, int length, char *out, int capacity)
{
    if (length > capacity) return -1;
    for (int i = 0; i < length; i++) out[i] = in[i];
    return length;
}

void Offer(void *context, const DirectoryStation *s)
{
    StationChannel c;
    if (StationToChannel(s, Copy, &c) == STATION_OFFERED) ++*static_cast<int *>(context);
}

}  // namespace

int main()
{
    std::string answer = "[";
    for (int i = 0; answer.size() < DIRECTORY_ANSWER_MAX - 2000; i++) {
        char station[1200];
        snprintf(station, sizeof station,
                 "%s{\"changeuuid\":\"%08d-0601-11e8-ae97-52543be04c81\",\"stationuuid\":\"%08d-0601-11e8-ae97-52543be04c81\","
                 "\"name\":\"Station %d \\ud55c\\uad6d \\ubc29\\uc1a1\",\"url\":\"http://stream%d.example.com:8000/live.pls\","
                 "\"url_resolved\":\"http://stream%d.example.com:8000/live\",\"homepage\":\"https://www.example.com/radio/%d\","
                 "\"favicon\":\"https://www.example.com/radio/%d/favicon.png\",\"tags\":\"pop,rock,jazz,news,talk,classic hits\","
                 "\"country\":\"The Republic of Korea\",\"countrycode\":\"KR\",\"iso_3166_2\":null,\"state\":\"Seoul\","
                 "\"language\":\"korean\",\"languagecodes\":\"ko\",\"votes\":%d,\"lastchangetime\":\"2024-01-01 00:00:00\","
                 "\"lastchangetime_iso8601\":\"2024-01-01T00:00:00Z\",\"codec\":\"MP3\",\"bitrate\":128,\"hls\":%d,"
                 "\"lastcheckok\":1,\"clickcount\":%d,\"clicktrend\":-1,\"ssl_error\":0,\"geo_lat\":37.56,\"geo_long\":126.97,"
                 "\"has_extended_info\":false}",
                 i ? "," : "", i, i, i, i, i, i, i, 100000 - i, i % 10 == 0, i * 7);
        answer += station;
    }
    answer += "]";
    int rounds = 20, offered = 0;
    StationListResult result;
    double start = NowMs();
    for (int r = 0; r < rounds; r++) ReadStationList(answer.data(), (int)answer.size(), 0, 0, &result);
    double readMs = (NowMs() - start) / rounds;
    start = NowMs();
    for (int r = 0; r < rounds; r++) ReadStationList(answer.data(), (int)answer.size(), Offer, &offered, &result);
    double ruleMs = (NowMs() - start) / rounds;
    printf("answer: %zu bytes, %d stations, %d offered by the rule\n", answer.size(), result.read, offered / rounds);
    printf("read (checked, then every station): %.1f ms (%.0f MB/s)\n", readMs, answer.size() / readMs / 1000.0);
    printf("read and the station rule:          %.1f ms\n", ruleMs);
    return result.error;
}
