// main.cpp: setradio-cli's entry: reads the command line, answers --help and --version, runs a command.
#include "cli/cli_options.h"
#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/terminal_text.h"
#include "common/platform.h"

#include <stdio.h>
#include <string>
#include <vector>

#ifndef SETRADIO_VERSION
#define SETRADIO_VERSION "0.0.0"
#endif

static const char *HelpOf(int command)
{
    switch (command) {
    case CLI_FIND: return CLI_HELP_FIND;
    case CLI_GET: return CLI_HELP_GET;
    case CLI_SET: return CLI_HELP_SET;
    case CLI_CHECK: return CLI_HELP_CHECK;
    case CLI_SEARCH: return CLI_HELP_SEARCH;
    default: return CLI_HELP_PROGRAM;
    }
}

static int RunCommand(const CliOptions *options)
{
    switch (options->command) {
    case CLI_FIND: return RunFind(options);
    case CLI_GET: return RunGet(options);
    case CLI_SET: return RunSet(options);
    case CLI_SEARCH: return RunSearch(options);
    default: return RunCheck(options);
    }
}

static int RunProgram(int argc, char **argv)
{
    InitTerminalText();
    CliOptions options;
    char error[256];
    if (!ParseCliArguments(argc, argv, &options, error, sizeof error)) {
        PrintError(error, 0);
        return EXIT_USAGE;
    }
    if (options.help) {
        fputs(ToTerminalText(HelpOf(options.command)).c_str(), stdout);
        return EXIT_DONE;
    }
    if (options.version) {
        printf("setradio-cli %s\n", SETRADIO_VERSION);
        return EXIT_DONE;
    }
#ifdef _WIN32
    WSADATA data;
    WSAStartup(0x0101, &data);
#endif
    int code = RunCommand(&options);
    fflush(stdout);
#ifdef _WIN32
    WSACleanup();
#endif
    return code;
}

#ifdef _WIN32
// The Windows build takes its arguments in UTF-16 (wmain, linked with -municode), so that a file
// name any code page cannot spell still arrives; they go on in UTF-8, and the file functions turn
// the names back into UTF-16.
int wmain(int argc, wchar_t **wideArguments)
{
    std::vector<std::string> words((size_t)argc);
    std::vector<char *> argv((size_t)argc + 1, (char *)0);
    for (int i = 0; i < argc; i++) {
        int n = WideCharToMultiByte(CP_UTF8, 0, wideArguments[i], -1, 0, 0, 0, 0);
        if (n > 0) {
            std::vector<char> bytes((size_t)n);
            WideCharToMultiByte(CP_UTF8, 0, wideArguments[i], -1, bytes.data(), n, 0, 0);
            words[(size_t)i] = bytes.data();
        }
        argv[(size_t)i] = &words[(size_t)i][0];
    }
    return RunProgram(argc, argv.data());
}
#else
int main(int argc, char **argv)
{
    return RunProgram(argc, argv);
}
#endif
