// channel_file.cpp: settings files and playlists read for set and check --file.
#include "cli/channel_file.h"
#include "cli/cli_texts.h"
#include "cli/exit_codes.h"
#include "cli/file_io.h"
#include "cli/terminal_text.h"
#include "common/text.h"
#include "device/message.h"

// A text holding NumberOfEntries= or DhcpMode= at the start of a line.
static int IsSettingsText(const char *text)
{
    for (const char *line = text; *line;) {
        if (ComparePrefix(line, "NumberOfEntries=") == 0 || ComparePrefix(line, "DhcpMode=") == 0) return 1;
        int end = FindChar(line, '\n');
        if (end < 0) break;
        line += end + 1;
    }
    return 0;
}

int ReadSettingsFileFor(const char *path, std::string *text)
{
    int result = ReadWholeFile(path, DEVICE_MESSAGE_MAX - 1, text);
    if (result != FILE_READ_OK) {
        PrintError(FileReadError(result), path);
        return EXIT_FILE;
    }
    if (!IsSettingsText(text->c_str())) {
        PrintError(CLI_ERROR_NOT_SETTINGS, path);
        return EXIT_FILE;
    }
    return EXIT_DONE;
}

int ReadChannelFile(const char *path, std::vector<StreamCheck> *checks)
{
    std::string text;
    int code = ReadSettingsFileFor(path, &text);
    if (code != EXIT_DONE) return code;
    int count = ReadEntryCount(text.c_str());
    char key[32], value[DEVICE_VALUE_SIZE];
    for (int n = 1; n <= count; n++) {
        StreamCheck check;
        MakeNumberedKey(key, sizeof key, "File", n);
        GetKeyValue(key, value, sizeof value, text.c_str());
        check.url = value;
        MakeNumberedKey(key, sizeof key, "Title", n);
        GetKeyValue(key, value, sizeof value, text.c_str());
        check.title = value;
        check.live = 0;
        checks->push_back(check);
    }
    return EXIT_DONE;
}
