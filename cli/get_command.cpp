// get_command.cpp: "get": the settings file the window's save writes right after loading that radio.
#include "cli/commands.h"
#include "cli/cli_texts.h"
#include "cli/exit_codes.h"
#include "cli/file_io.h"
#include "cli/radio_lookup.h"
#include "cli/radio_settings.h"
#include "cli/terminal_text.h"
#include "device/message.h"

#include <stdio.h>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int RunGet(const CliOptions *options)
{
    ReplyReader reader;
    RadioReply radio;
    int code = LookUpRadio(&reader, options->mac, options->waitMs, &radio);
    if (code != EXIT_DONE) return code;
    CloseReplyReader(&reader);

    // The row's text loaded into the form, then composed as a send would, with the radio's own MAC text.
    char mac[DEVICE_VALUE_SIZE], firmware[DEVICE_VALUE_SIZE];
    ReadDeviceIdentity(radio.text.c_str(), mac, sizeof mac, firmware, sizeof firmware);
    RadioSettings values;
    LoadRadioSettings(&values, radio.text.c_str());
    std::vector<char> sett(DEVICE_MESSAGE_MAX);
    int length = ComposeSettFor(&values, mac, sett.data(), DEVICE_MESSAGE_MAX);
    if (length < 0) {
        PrintError(CLI_ERROR_TOO_LONG_SETT, 0);
        return EXIT_FILE;
    }
    if (RefuseSettHoldingKey(sett.data())) return EXIT_FILE;
    if (options->output) {
        if (!WriteFileReplacing(options->output, sett.data(), length)) {
            PrintError(CLI_ERROR_WRITE_FILE, options->output);
            return EXIT_FILE;
        }
        return EXIT_DONE;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);   // the file's CR LF exactly, with no added CR
#endif
    if (fwrite(sett.data(), 1, (size_t)length, stdout) != (size_t)length || fflush(stdout) != 0) {
        PrintError(CLI_ERROR_WRITE_FILE, "stdout");
        return EXIT_FILE;
    }
    return EXIT_DONE;
}
