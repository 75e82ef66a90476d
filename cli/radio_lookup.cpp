// radio_lookup.cpp: one radio found by its MAC text for get and set.
#include "cli/radio_lookup.h"
#include "cli/cli_texts.h"
#include "cli/exit_codes.h"
#include "cli/terminal_text.h"

int LookUpRadio(ReplyReader *reader, const char *mac, unsigned waitMs, RadioReply *radio)
{
    if (!OpenReplyReader(reader)) {
        PrintError(CLI_ERROR_NO_SOCKET, 0);
        CloseReplyReader(reader);
        return EXIT_NO_RADIO;
    }
    std::vector<RadioReply> radios;
    CollectRadios(reader, waitMs, mac, &radios, 0, 0);
    if (radios.empty()) {
        PrintError(CLI_ERROR_NO_SUCH_RADIO, mac);
        CloseReplyReader(reader);
        return EXIT_NO_RADIO;
    }
    *radio = radios[0];
    return EXIT_DONE;
}
