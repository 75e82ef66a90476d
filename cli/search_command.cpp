// search_command.cpp: "search": the station directory searched, the stations a radio can take listed,
// optionally probed and written as a playlist. Nothing goes to a radio, so no click is counted.
#include "cli/commands.h"
#include "cli/cli_texts.h"
#include "cli/directory_http.h"
#include "cli/exit_codes.h"
#include "cli/file_io.h"
#include "cli/json_line.h"
#include "cli/stream_checks.h"
#include "cli/terminal_text.h"
#include "directory/directory_search.h"
#include "directory/station_rule.h"
#include "files/playlist_export.h"

#include <stdlib.h>
#include <string.h>
#include <random>
#include <string>
#include <vector>

#ifndef SETRADIO_VERSION
#define SETRADIO_VERSION "0.0.0"
#endif

enum { EXIT_NONE_OFFERED = 1, EXIT_DIRECTORY = 3 };

// One offered station: what the directory said, and the channel it becomes.
struct OfferedStation {
    std::string uuid, name, country, codec;   // UTF-8
    int bitrate, votes;
    StationChannel channel;                   // 949 title and address
};

struct SearchRun {
    std::vector<OfferedStation> offered;
    int leftOut;      // read, but not offered by the rule
    const CliOptions *options;
    std::mt19937 random;
    DirectoryHttp http;
};

// The rule applied to each station of the answer, in the directory's order.
static void TakeStation(void *context, const DirectoryStation *s)
{
    SearchRun *run = (SearchRun *)context;
    OfferedStation o;
    // The UTF-8 to 949 conversion the titles of file imports use too.
    if (StationToChannel(s, ConvertUtf8To949, &o.channel) != STATION_OFFERED) {
        run->leftOut++;
        return;
    }
    o.uuid = s->uuid;
    o.name = s->name;
    o.country = s->country;
    o.codec = s->codec;
    o.bitrate = s->bitrate;
    o.votes = s->votes;
    run->offered.push_back(o);
}

// The search's network calls all get the run as their context.
static unsigned RandomNumber(void *context)
{
    return (unsigned)((SearchRun *)context)->random();
}

static int GetFromDirectory(void *context, const char *url, unsigned limitMs, char *body, int capacity, int *length)
{
    return DirectoryHttpGet(&((SearchRun *)context)->http, url, limitMs, body, capacity, length);
}

static const char *DirectoryError(int status)
{
    switch (status) {
    case DIRECTORY_TIMED_OUT: return CLI_ERROR_DIRECTORY_TIMED_OUT;
    case DIRECTORY_HTTP_ERROR: return CLI_ERROR_DIRECTORY_HTTP;
    case DIRECTORY_TOO_LARGE: return CLI_ERROR_DIRECTORY_TOO_LARGE;
    case DIRECTORY_BAD_ANSWER: return CLI_ERROR_DIRECTORY_BAD_ANSWER;
    default: return CLI_ERROR_DIRECTORY_UNREACHABLE;
    }
}

// A directory text (UTF-8) for one line of people's output: in 949, control characters as blanks.
static std::string Line949(const std::string &utf8)
{
    std::vector<char> out(utf8.size() + 1);
    int n = utf8.empty() ? 0 : ConvertUtf8To949(utf8.data(), (int)utf8.size(), out.data(), (int)out.size() - 1);
    std::string text(out.data(), n > 0 ? (size_t)n : 0);
    for (size_t i = 0; i < text.size(); i++)
        if ((unsigned char)text[i] < 0x20 || text[i] == 0x7F) text[i] = ' ';
    return text;
}

static void PrintStation(const SearchRun *run, const OfferedStation &o, const StreamCheck *check)
{
    if (run->options->json) {
        JsonLine line;
        JsonBegin(&line);
        JsonRawText(&line, "uuid", o.uuid.c_str());
        JsonRawText(&line, "name", o.name.c_str());
        JsonText(&line, "title", o.channel.title);
        JsonRawText(&line, "country", o.country.c_str());
        JsonRawText(&line, "codec", o.codec.c_str());
        JsonNumber(&line, "bitrate", o.bitrate);
        JsonNumber(&line, "votes", o.votes);
        JsonRawText(&line, "url", o.channel.address);
        if (check) {
            JsonBool(&line, "live", check->live);
            JsonRawText(&line, "reason", ReasonWord(check->reason));
        }
        JsonPrint(&line, stdout);
    } else {
        // A blank name shows as the title it becomes (the host name).
        std::string name = Line949(o.name);
        if (name.find_first_not_of(' ') == std::string::npos) name = o.channel.title;
        std::string text = name + "  " + Line949(o.country) + "  " + Line949(o.codec) + "  " +
                           std::to_string(o.bitrate) + " kbps  " + CLI_TEXT_VOTES + std::to_string(o.votes) + "  " +
                           o.channel.address;
        if (check) text += std::string("  ") + (check->live ? CLI_TEXT_LIVE : CLI_TEXT_NOT_LIVE + ("  " + ReasonText(check)));
        PrintTerminalLine(stdout, text.c_str());
    }
    fflush(stdout);
}

static void ReportChecked(const StreamCheck *check, int index, void *context)
{
    SearchRun *run = (SearchRun *)context;
    PrintStation(run, run->offered[(size_t)index], check);
}

static void ReadOfferedCell(void *context, int row, int column, char *buffer, int size)
{
    const StationChannel &c = ((const SearchRun *)context)->offered[(size_t)row].channel;
    snprintf(buffer, (size_t)size, "%s", column == 2 ? c.address : c.title);
}

// The playlist export's converter: 949 cells into UTF-8.
static int Convert949ToUtf8(const char *in, int length, char *out, int capacity)
{
    std::string utf8 = ToUtf8Text(std::string(in, (size_t)length).c_str());
    if ((int)utf8.size() > capacity) return -1;
    memcpy(out, utf8.data(), utf8.size());
    return (int)utf8.size();
}

static int WriteOffered(const SearchRun *run, const char *path)
{
    int count = (int)run->offered.size();
    std::vector<char> text((size_t)PlaylistCapacity(count));
    int n = WritePlaylist(PlaylistFormatForName(path), count, ReadOfferedCell, (void *)run, text.data(),
                          (int)text.size(), Convert949ToUtf8);
    if (n < 0 || !WriteFileReplacing(path, text.data(), n)) {
        PrintError(CLI_ERROR_WRITE_FILE, path);
        return EXIT_FILE;
    }
    return EXIT_DONE;
}

// The directory address as given: --directory, else SETRADIO_DIRECTORY; null when neither.
static const char *DirectoryOverride(const SearchOptions *s)
{
    const char *url = s->directory;
    if (!url) url = getenv("SETRADIO_DIRECTORY");
    return url && url[0] ? url : 0;
}

// A search text from the command line as UTF-8 (Windows gives the ANSI code page's bytes).
static std::string QueryText(const char *typed)
{
    if (!typed) return std::string();
#ifdef _WIN32
    return ToUtf8Text(typed);
#else
    return typed;
#endif
}

int RunSearch(const CliOptions *options)
{
    const SearchOptions *so = &options->search;
    const char *base = DirectoryOverride(so);
    if (base && strncmp(base, "http://", 7) != 0 && strncmp(base, "https://", 8) != 0) {
        PrintError(CLI_ERROR_BAD_DIRECTORY, base);
        return EXIT_USAGE;
    }
    SearchRun run;
    run.leftOut = 0;
    run.options = options;
    run.random.seed(std::random_device()());

    std::string agent = std::string("setradio-cli/") + SETRADIO_VERSION;
    run.http.userAgent = agent.c_str();
    run.http.error[0] = 0;
    DirectoryNet net = {LookupAddressesWithin, LookupNameWithin, GetFromDirectory, RandomNumber, DirectoryTick, &run};

    std::vector<char> body(DIRECTORY_ANSWER_MAX);
    DirectorySearch search;
    memset(&search, 0, sizeof search);
    search.net = &net;
    search.baseUrl = base;
    search.limitMs = DIRECTORY_SEARCH_MS;
    search.body = body.data();
    search.capacity = (int)body.size();
    search.visit = TakeStation;
    search.context = &run;
    std::string name = QueryText(so->name), tag = QueryText(so->tag), country = QueryText(so->country);
    for (size_t i = 0; i < country.size(); i++)
        if (country[i] >= 'a' && country[i] <= 'z') country[i] = (char)(country[i] - 32);
    DirectoryQuery query = {name.c_str(), country.c_str(), tag.c_str(), so->limit};
    if (RunDirectorySearch(&search, &query) != DIRECTORY_DONE) {
        PrintError(DirectoryError(search.status), run.http.error[0] ? (std::string(": ") + run.http.error).c_str() : 0);
        return EXIT_DIRECTORY;
    }
    int leftOut = run.leftOut + search.list.invalid;
    std::string summary = CLI_TEXT_STATIONS_FOUND + std::to_string(run.offered.size()) + CLI_TEXT_STATIONS_LEFT_OUT +
                          std::to_string(leftOut);
    if (run.offered.empty()) {
        PrintError(summary.c_str(), 0);
        return EXIT_NONE_OFFERED;
    }
    if (so->check) {
        std::vector<StreamCheck> checks(run.offered.size());
        for (size_t i = 0; i < checks.size(); i++) {
            checks[i].url = run.offered[i].channel.address;
            checks[i].channelRule = 1;
            checks[i].live = 0;
        }
        RunStreamChecks(&checks, options->jobs, 0, ReportChecked, &run);
    } else {
        for (size_t i = 0; i < run.offered.size(); i++) PrintStation(&run, run.offered[i], 0);
    }
    PrintError(summary.c_str(), 0);
    if (options->output) {
        int code = WriteOffered(&run, options->output);
        if (code != EXIT_DONE) return code;
        PrintError(CLI_TEXT_PLAYLIST_WRITTEN, options->output);
    }
    return EXIT_DONE;
}
