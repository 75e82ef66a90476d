// check_command.cpp: "check": stream addresses probed in parallel, live or not live with the reason.
#include "cli/commands.h"
#include "cli/channel_file.h"
#include "cli/cli_texts.h"
#include "cli/exit_codes.h"
#include "cli/json_line.h"
#include "cli/stream_checks.h"
#include "cli/terminal_text.h"

#include <stdio.h>

struct CheckReport {
    const CliOptions *options;
    int fromFile;      // numbers and titles are shown for a file's channels
    int notLive;       // checks that were not live so far
};

// The hops as a JSON array's elements.
static std::string JsonHops(const std::vector<TraceHop> &hops)
{
    std::string elements;
    for (size_t i = 0; i < hops.size(); i++) {
        const TraceHop &hop = hops[i];
        JsonLine line;
        JsonBegin(&line);
        JsonText(&line, "host", hop.host.c_str());
        JsonNumber(&line, "port", hop.port);
        JsonBool(&line, "connected", hop.connected);
        JsonNumber(&line, "connect_ms", hop.connectMs);
        JsonText(&line, "status", hop.status.c_str());
        if (!hop.location.empty()) JsonText(&line, "location", hop.location.c_str());
        if (!hop.entry.empty()) JsonText(&line, "entry", hop.entry.c_str());
        if (i) elements += ",";
        elements += line.text + "}";
    }
    return elements;
}

// One line per hop for people, under the address's line.
static void PrintHops(const std::vector<TraceHop> &hops)
{
    for (size_t i = 0; i < hops.size(); i++) {
        const TraceHop &hop = hops[i];
        std::string line = "    -> " + hop.host + ":" + std::to_string(hop.port) + "  ";
        line += (hop.connected ? CLI_TEXT_CONNECTED : CLI_TEXT_CONNECT_FAILED) + std::string(" ") +
                std::to_string(hop.connectMs) + " ms";
        if (!hop.status.empty()) line += "  " + hop.status;
        if (!hop.location.empty()) line += "  Location: " + hop.location;
        if (!hop.entry.empty()) line += "  File1=" + hop.entry;
        PrintTerminalLine(stdout, line.c_str());
    }
}

static void ReportCheck(const StreamCheck *check, int index, void *context)
{
    CheckReport *report = (CheckReport *)context;
    if (!check->live) report->notLive++;
    if (report->options->json) {
        JsonLine line;
        JsonBegin(&line);
        JsonText(&line, "url", check->url.c_str());
        if (report->fromFile) {
            JsonNumber(&line, "channel", check->number);
            JsonText(&line, "title", check->title.c_str());
        }
        JsonBool(&line, "live", check->live);
        JsonRawText(&line, "reason", ReasonWord(check->reason));
        if (check->httpCode) JsonNumber(&line, "http_code", check->httpCode);
        if (report->options->trace) JsonArray(&line, "hops", JsonHops(check->hops));
        JsonPrint(&line, stdout);
    } else {
        std::string text;
        if (report->fromFile) text = std::to_string(check->number) + ". ";
        text += check->live ? CLI_TEXT_LIVE : CLI_TEXT_NOT_LIVE;
        text += "  " + check->url;
        if (report->fromFile && !check->title.empty()) text += "  [" + check->title + "]";
        if (!check->live) text += "  " + ReasonText(check);
        PrintTerminalLine(stdout, text.c_str());
        PrintHops(check->hops);
    }
    fflush(stdout);
}

int RunCheck(const CliOptions *options)
{
    std::vector<StreamCheck> checks;
    CheckReport report;
    report.options = options;
    report.fromFile = options->file != 0;
    report.notLive = 0;
    if (options->file) {
        int code = ReadChannelFile(options->file, &checks);
        if (code != EXIT_DONE) return code;
    } else {
        for (size_t i = 0; i < options->urls.size(); i++) {
            StreamCheck check;
            check.url = options->urls[i];
            check.channelRule = 1;
            check.live = 0;
            checks.push_back(check);
        }
    }
    RunStreamChecks(&checks, options->jobs, options->trace, ReportCheck, &report);
    return report.notLive ? EXIT_NOT_LIVE : EXIT_DONE;
}
