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

static void ReportCheck(const StreamCheck *check, int index, void *context)
{
    CheckReport *report = (CheckReport *)context;
    if (!check->live) report->notLive++;
    if (report->options->json) {
        JsonLine line;
        JsonBegin(&line);
        JsonText(&line, "url", check->url.c_str());
        if (report->fromFile) {
            JsonNumber(&line, "channel", index + 1);
            JsonText(&line, "title", check->title.c_str());
        }
        JsonBool(&line, "live", check->live);
        JsonRawText(&line, "reason", check->reason.c_str());
        JsonPrint(&line, stdout);
    } else {
        std::string text;
        if (report->fromFile) text = std::to_string(index + 1) + ". ";
        text += check->live ? CLI_TEXT_LIVE : CLI_TEXT_NOT_LIVE;
        text += "  " + check->url;
        if (report->fromFile && !check->title.empty()) text += "  [" + check->title + "]";
        if (!check->live) text += std::string("  ") + ReasonText(check->reason);
        PrintTerminalLine(stdout, text.c_str());
        if (!check->trace.empty()) fputs(ToTerminalText(check->trace.c_str()).c_str(), stdout);
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
            check.live = 0;
            checks.push_back(check);
        }
    }
    RunStreamChecks(&checks, options->jobs, options->trace, ReportCheck, &report);
    return report.notLive ? EXIT_NOT_LIVE : EXIT_DONE;
}
