// exit_codes.h: the exit codes of setradio-cli, as documented in its help and the README.
#ifndef SETRADIO_CLI_EXIT_CODES_H
#define SETRADIO_CLI_EXIT_CODES_H

enum CliExitCode {
    EXIT_DONE = 0,        // done; for check: every address is live
    EXIT_NOT_LIVE = 1,    // a check found addresses that are not live (also a set refused by its Pls check)
    EXIT_USAGE = 2,       // unknown command or option, missing or bad argument
    EXIT_NO_RADIO = 3,    // no radio answered, no radio with that MAC, or no confirmation within the wait
    EXIT_FILE = 4,        // a file could not be read or written, or is not a settings file
};

#endif
