// find_command.cpp: "find": every radio that answers a FIND, one line (or JSON object) each.
#include "cli/commands.h"
#include "cli/cli_texts.h"
#include "cli/exit_codes.h"
#include "cli/json_line.h"
#include "cli/radio_replies.h"
#include "cli/radio_settings.h"
#include "cli/terminal_text.h"
#include "common/socket.h"
#include "common/text.h"
#include "device/message.h"

#include <stdio.h>

static const char *ModeLabel(int mode)
{
    switch (mode) {
    case 0: return "static";
    case 1: return "DHCP";
    case 2: return "PPPoE";
    default: return "-";
    }
}

// Prints one radio as soon as it is found (context: the options).
static void PrintRadio(const RadioReply *radio, void *context)
{
    int json = ((const CliOptions *)context)->json;
    const char *text = radio->text.c_str();
    char mac[DEVICE_VALUE_SIZE], firmware[DEVICE_VALUE_SIZE], value[DEVICE_VALUE_SIZE], localIp[DEVICE_VALUE_SIZE];
    char from[16];
    ReadDeviceIdentity(text, mac, sizeof mac, firmware, sizeof firmware);
    GetKeyValue("DhcpMode=", value, sizeof value, text);
    int mode = value[0] ? ParseNumber(value, 0) : -1;
    GetKeyValue("LocalIP=", localIp, sizeof localIp, text);
    FormatDottedQuad(from, radio->address);
    int channels = ReadEntryCount(text);
    if (json) {
        JsonLine line;
        JsonBegin(&line);
        JsonText(&line, "mac", mac);
        JsonText(&line, "firmware", firmware);
        JsonRawText(&line, "from", from);
        JsonNumber(&line, "port", radio->port);
        JsonRawText(&line, "mode", ModeName(mode));
        JsonText(&line, "address", localIp);
        JsonNumber(&line, "channels", channels);
        JsonPrint(&line, stdout);
        fflush(stdout);
        return;
    }
    char fromPort[32];
    snprintf(fromPort, sizeof fromPort, "%s:%d", from, radio->port);
    char line[4 * DEVICE_VALUE_SIZE + 96];
    snprintf(line, sizeof line, "%-17s  %-12s  %-21s  %-6s  %-15s  %d", mac, firmware, fromPort, ModeLabel(mode),
             localIp[0] ? localIp : "-", channels);
    PrintTerminalLine(stdout, line);
    fflush(stdout);
}

int RunFind(const CliOptions *options)
{
    ReplyReader reader;
    if (!OpenReplyReader(&reader)) {
        PrintError(CLI_ERROR_NO_SOCKET, 0);
        CloseReplyReader(&reader);
        return EXIT_NO_RADIO;
    }
    std::vector<RadioReply> radios;
    CollectRadios(&reader, options->waitMs, 0, &radios, PrintRadio, (void *)options);
    CloseReplyReader(&reader);
    if (radios.empty()) {
        PrintError(CLI_ERROR_NO_RADIOS, 0);
        return EXIT_NO_RADIO;
    }
    return EXIT_DONE;
}
