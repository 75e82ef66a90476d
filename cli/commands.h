// commands.h: the commands of setradio-cli; each returns the program's exit code.
#ifndef SETRADIO_CLI_COMMANDS_H
#define SETRADIO_CLI_COMMANDS_H

#include "cli/cli_options.h"

int RunFind(const CliOptions *options);
int RunGet(const CliOptions *options);
int RunSet(const CliOptions *options);
int RunCheck(const CliOptions *options);
int RunSearch(const CliOptions *options);

#endif
