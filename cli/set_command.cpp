// set_command.cpp: "set": a settings file sent to one radio, after the window's Pls checks, confirmed by SETC.
#include "cli/commands.h"
#include "cli/channel_file.h"
#include "cli/cli_texts.h"
#include "cli/exit_codes.h"
#include "cli/radio_lookup.h"
#include "cli/radio_settings.h"
#include "cli/stream_checks.h"
#include "cli/terminal_text.h"
#include "device/link.h"
#include "device/message.h"

#include <stdio.h>
#include <vector>

// Both Pls addresses must be present and live, as the send button requires; each failure is told.
static int CheckPlsAddresses(const RadioSettings *values)
{
    std::vector<StreamCheck> checks(2);
    for (int i = 0; i < 2; i++) {
        checks[i].url = values->fields[SETT_PLS_URL1 + i];
        checks[i].channelRule = 0;   // the send probes its Pls addresses as they are
        checks[i].live = 0;
        if (checks[i].url.empty()) {
            PrintError(CLI_ERROR_PLS_EMPTY, i == 0 ? "PlsUrl1" : "PlsUrl2");
            return 0;
        }
    }
    RunStreamChecks(&checks, 2, 0, 0, 0);
    int ok = 1;
    for (int i = 0; i < 2; i++) {
        if (checks[i].live) continue;
        std::string detail = ToVisibleText(checks[i].url.c_str()) + " (" + ToVisibleText(ReasonText(&checks[i]).c_str()) + ")";
        PrintError(CLI_ERROR_PLS_NOT_LIVE, detail.c_str());
        ok = 0;
    }
    return ok;
}

int RunSet(const CliOptions *options)
{
    std::string text;
    int code = ReadSettingsFileFor(options->file, &text);
    if (code != EXIT_DONE) return code;
    RadioSettings values;
    LoadRadioSettings(&values, text.c_str());
    // Checked before anything goes out: a refused file sends no FIND and no SETT.
    if (!options->noCheck && !CheckPlsAddresses(&values)) return EXIT_NOT_LIVE;

    ReplyReader reader;
    RadioReply radio;
    code = LookUpRadio(&reader, options->mac, options->waitMs, &radio);
    if (code != EXIT_DONE) return code;
    char mac[DEVICE_VALUE_SIZE], firmware[DEVICE_VALUE_SIZE];
    ReadDeviceIdentity(radio.text.c_str(), mac, sizeof mac, firmware, sizeof firmware);
    std::vector<char> sett(DEVICE_MESSAGE_MAX);
    if (ComposeSettFor(&values, mac, sett.data(), DEVICE_MESSAGE_MAX) < 0) {
        PrintError(CLI_ERROR_TOO_LONG_SETT, 0);
        CloseReplyReader(&reader);
        return EXIT_FILE;
    }
    if (RefuseSettHoldingKey(sett.data())) {   // the radio's own MacAddr text, say
        CloseReplyReader(&reader);
        return EXIT_FILE;
    }
    SendDeviceMessage(reader.socket, sett.data(), DEVICE_WAIT_MS);
    int confirmed = WaitForConfirmation(&reader, options->waitMs, radio.address);
    CloseReplyReader(&reader);
    if (!confirmed) {
        PrintError(CLI_ERROR_NO_CONFIRMATION, 0);
        return EXIT_NO_RADIO;
    }
    std::string line = std::string(mac) + ": " + CLI_TEXT_SAVED;
    PrintTerminalLine(stdout, line.c_str());
    return EXIT_DONE;
}
