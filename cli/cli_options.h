// cli_options.h: the command line of setradio-cli: commands, options and their checks.
#ifndef SETRADIO_CLI_CLI_OPTIONS_H
#define SETRADIO_CLI_CLI_OPTIONS_H

#include <vector>

enum CliCommand { CLI_NONE = 0, CLI_FIND, CLI_GET, CLI_SET, CLI_CHECK, CLI_SEARCH };

#define CLI_DEFAULT_WAIT_MS 3000
#define CLI_MAX_WAIT_MS 3600000u
#define CLI_DEFAULT_JOBS 8
#define CLI_MAX_JOBS 64
#define CLI_DEFAULT_LIMIT 100
#define CLI_MAX_LIMIT 1000

// search: what the station directory is asked, and what is done with the answer.
struct SearchOptions {
    const char *name;        // NAME, or null
    const char *country;     // --country CC
    const char *tag;         // --tag TAG
    int limit;               // --limit N, 1..1000
    int check;               // --check: probe every offered address
    const char *directory;   // --directory URL (wins over SETRADIO_DIRECTORY)
};

struct CliOptions {
    int command;                    // CLI_NONE with help or version alone
    int help;                       // --help: the program's help, or the command's
    int version;                    // --version
    unsigned waitMs;                // --wait SECONDS, in milliseconds
    int json;                       // --json: one JSON object per line
    int trace;                      // --trace (check)
    int noCheck;                    // --no-check (set)
    int jobs;                       // --jobs N (check)
    const char *mac;                // get, set: the radio's MAC as typed
    const char *file;               // set: the settings file; check: --file
    const char *output;             // get: -o FILE
    std::vector<const char *> urls; // check: the addresses, in order
    SearchOptions search;           // search
};

// Reads argv into options. Returns 1 when they are usable; 0 with a one-line reason in error
// (size bytes, code page 949) for a usage error. --help and --version win over missing arguments.
int ParseCliArguments(int argc, char **argv, CliOptions *options, char *error, int size);

// Seconds as typed ("3", "0.5", "10.25") in milliseconds; 0 when not such a number or above the maximum.
unsigned ParseWaitSeconds(const char *text);

#endif
