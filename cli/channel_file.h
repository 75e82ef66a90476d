// channel_file.h: the channels of a settings file or a playlist, as addresses to check.
#ifndef SETRADIO_CLI_CHANNEL_FILE_H
#define SETRADIO_CLI_CHANNEL_FILE_H

#include <string>
#include <vector>

#include "cli/stream_checks.h"

// Reads a settings file (FILE_SETTINGS) for set. Returns EXIT_DONE with its 949 text, or the exit
// code after saying why on stderr.
int ReadSettingsFileFor(const char *path, std::string *text);

// Reads every channel of a settings file or a playlist into checks (address and title).
// Returns EXIT_DONE, or the exit code after saying why on stderr.
int ReadChannelFile(const char *path, std::vector<StreamCheck> *checks);

#endif
