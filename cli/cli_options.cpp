// cli_options.cpp: reads setradio-cli's command line into CliOptions, with a clear reason for every refusal.
#include "cli/cli_options.h"
#include "cli/cli_texts.h"

#include <stdio.h>
#include <string.h>

// Options each command accepts; a value follows those marked with '='.
static const char *const kFindOptions[] = {"--wait=", "--json", 0};
static const char *const kGetOptions[] = {"--wait=", "-o=", 0};
static const char *const kSetOptions[] = {"--wait=", "--no-check", 0};
static const char *const kCheckOptions[] = {"--json", "--trace", "--jobs=", "--file=", 0};
static const char *const kSearchOptions[] = {"--country=", "--tag=", "--limit=", "--check", "--jobs=", "--json",
                                            "-o=", "--directory=", 0};
static const char *const kNoOptions[] = {0};

static int Fail(char *error, int size, const char *what, const char *detail)
{
    snprintf(error, (size_t)size, "%s%s", what, detail ? detail : "");
    return 0;
}

unsigned ParseWaitSeconds(const char *text)
{
    unsigned long long ms = 0;
    int i = 0, digits = 0;
    for (; text[i] >= '0' && text[i] <= '9'; i++, digits++) {
        ms = ms * 10 + (unsigned)(text[i] - '0');
        if (ms > CLI_MAX_WAIT_MS) return 0;
    }
    ms *= 1000;
    if (text[i] == '.') {
        unsigned scale = 100;
        for (i++; text[i] >= '0' && text[i] <= '9'; i++, digits++) {
            ms += (unsigned)(text[i] - '0') * scale;
            scale /= 10;
        }
    }
    if (text[i] != 0 || digits == 0 || ms == 0 || ms > CLI_MAX_WAIT_MS) return 0;
    return (unsigned)ms;
}

// Whether the option (without any "=value") is in the command's list; *takesValue tells if it needs one.
static int KnownOption(const char *const *list, const char *name, int nameLength, int *takesValue)
{
    for (int i = 0; list[i]; i++) {
        int length = (int)strlen(list[i]);
        int valued = list[i][length - 1] == '=';
        if (valued) length--;
        if (length == nameLength && strncmp(list[i], name, (size_t)length) == 0) {
            *takesValue = valued;
            return 1;
        }
    }
    return 0;
}

// Parses a count within 1..max; 0 when it is not one.
static int ParseCount(const char *value, int max)
{
    int n = 0, i = 0;
    for (; value[i] >= '0' && value[i] <= '9' && n <= max; i++) n = n * 10 + (value[i] - '0');
    return i == 0 || value[i] || n < 1 || n > max ? 0 : n;
}

// Applies an option of search: 1 when it was one, -1 when it was not, 0 with the reason on a bad value.
static int ApplySearchOption(SearchOptions *s, const char *name, const char *value, char *error, int size)
{
    if (!strcmp(name, "--check")) s->check = 1;
    else if (!strcmp(name, "--tag")) s->tag = value;
    else if (!strcmp(name, "--directory")) s->directory = value;
    else if (!strcmp(name, "--limit")) {
        s->limit = ParseCount(value, CLI_MAX_LIMIT);
        if (!s->limit) return Fail(error, size, CLI_ERROR_BAD_LIMIT, value);
    } else if (!strcmp(name, "--country")) {
        int letters = 0;
        while (((value[letters] | 0x20) >= 'a' && (value[letters] | 0x20) <= 'z')) letters++;
        if (letters != 2 || value[2]) return Fail(error, size, CLI_ERROR_BAD_COUNTRY, value);
        s->country = value;
    } else return -1;
    return 1;
}

// Applies one option and its value (null for a flag); 0 with the reason on a bad value.
static int ApplyOption(CliOptions *o, const char *name, const char *value, char *error, int size)
{
    int searchOption = ApplySearchOption(&o->search, name, value, error, size);
    if (searchOption >= 0) return searchOption;
    if (!strcmp(name, "--json")) o->json = 1;
    else if (!strcmp(name, "--trace")) o->trace = 1;
    else if (!strcmp(name, "--no-check")) o->noCheck = 1;
    else if (!strcmp(name, "-o")) o->output = value;
    else if (!strcmp(name, "--file")) o->file = value;
    else if (!strcmp(name, "--wait")) {
        o->waitMs = ParseWaitSeconds(value);
        if (!o->waitMs) return Fail(error, size, CLI_ERROR_BAD_WAIT, value);
    } else if (!strcmp(name, "--jobs")) {
        int jobs = 0, i = 0;
        for (; value[i] >= '0' && value[i] <= '9' && jobs <= CLI_MAX_JOBS; i++) jobs = jobs * 10 + (value[i] - '0');
        if (i == 0 || value[i] || jobs < 1 || jobs > CLI_MAX_JOBS) return Fail(error, size, CLI_ERROR_BAD_JOBS, value);
        o->jobs = jobs;
    }
    return 1;
}

static int CommandOf(const char *word)
{
    if (!strcmp(word, "find")) return CLI_FIND;
    if (!strcmp(word, "get")) return CLI_GET;
    if (!strcmp(word, "set")) return CLI_SET;
    if (!strcmp(word, "check")) return CLI_CHECK;
    if (!strcmp(word, "search")) return CLI_SEARCH;
    return CLI_NONE;
}

static const char *const *OptionsOf(int command)
{
    switch (command) {
    case CLI_FIND: return kFindOptions;
    case CLI_GET: return kGetOptions;
    case CLI_SET: return kSetOptions;
    case CLI_CHECK: return kCheckOptions;
    case CLI_SEARCH: return kSearchOptions;
    default: return kNoOptions;
    }
}

// Places a word that is not an option: MAC, FILE or URL by the command's order.
static int TakeOperand(CliOptions *o, const char *word, char *error, int size)
{
    if ((o->command == CLI_GET || o->command == CLI_SET) && !o->mac) o->mac = word;
    else if (o->command == CLI_SET && !o->file) o->file = word;
    else if (o->command == CLI_CHECK) o->urls.push_back(word);
    else if (o->command == CLI_SEARCH && !o->search.name) o->search.name = word;
    else return Fail(error, size, CLI_ERROR_EXTRA_ARGUMENT, word);
    return 1;
}

// What each command needs once every word has been read.
static int CheckComplete(const CliOptions *o, char *error, int size)
{
    if (o->command == CLI_NONE) return Fail(error, size, CLI_ERROR_NO_COMMAND, 0);
    if ((o->command == CLI_GET || o->command == CLI_SET) && !o->mac) return Fail(error, size, CLI_ERROR_NEED_MAC, 0);
    if (o->command == CLI_SET && !o->file) return Fail(error, size, CLI_ERROR_NEED_FILE, 0);
    if (o->command == CLI_CHECK && o->urls.empty() && !o->file) return Fail(error, size, CLI_ERROR_NEED_URL, 0);
    if (o->command == CLI_CHECK && !o->urls.empty() && o->file) return Fail(error, size, CLI_ERROR_URLS_AND_FILE, 0);
    return 1;
}

int ParseCliArguments(int argc, char **argv, CliOptions *o, char *error, int size)
{
    o->command = CLI_NONE;
    o->help = o->version = o->json = o->trace = o->noCheck = 0;
    o->waitMs = CLI_DEFAULT_WAIT_MS;
    o->jobs = CLI_DEFAULT_JOBS;
    o->mac = o->file = o->output = 0;
    o->urls.clear();
    o->search.name = o->search.country = o->search.tag = o->search.directory = 0;
    o->search.limit = CLI_DEFAULT_LIMIT;
    o->search.check = 0;
    error[0] = 0;

    int ok = 1;          // the first usage error is kept; --help and --version still win over it
    int optionsEnd = 0;  // after "--" every word is an operand
    for (int i = 1; i < argc; i++) {
        const char *word = argv[i];
        if (!optionsEnd && (!strcmp(word, "--help") || !strcmp(word, "-h"))) { o->help = 1; continue; }
        if (!optionsEnd && !strcmp(word, "--version") && o->command == CLI_NONE) { o->version = 1; continue; }
        if (!ok) continue;
        if (!optionsEnd && !strcmp(word, "--")) { optionsEnd = 1; continue; }
        if (o->command == CLI_NONE) {
            o->command = CommandOf(word);
            if (o->command == CLI_NONE)
                ok = Fail(error, size, word[0] == '-' ? CLI_ERROR_UNKNOWN_OPTION : CLI_ERROR_UNKNOWN_COMMAND, word);
            continue;
        }
        if (optionsEnd || word[0] != '-' || word[1] == 0) {
            ok = TakeOperand(o, word, error, size);
            continue;
        }
        const char *equals = strchr(word, '=');
        int nameLength = equals ? (int)(equals - word) : (int)strlen(word);
        int takesValue = 0;
        if (!KnownOption(OptionsOf(o->command), word, nameLength, &takesValue)) {
            ok = Fail(error, size, CLI_ERROR_UNKNOWN_OPTION, word);
            continue;
        }
        char name[16];
        snprintf(name, sizeof name, "%.*s", nameLength, word);
        const char *value = 0;
        if (takesValue) {
            if (equals) value = equals + 1;
            else if (i + 1 < argc) value = argv[++i];
            else { ok = Fail(error, size, CLI_ERROR_MISSING_VALUE, name); continue; }
        } else if (equals) {
            ok = Fail(error, size, CLI_ERROR_UNKNOWN_OPTION, word);
            continue;
        }
        ok = ApplyOption(o, name, value, error, size);
    }
    if (o->help || o->version) return 1;
    return ok && CheckComplete(o, error, size);
}
