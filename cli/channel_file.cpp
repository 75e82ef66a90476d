// channel_file.cpp: settings files and playlists read for set and check --file, with the window's readers.
#include "cli/channel_file.h"
#include "cli/cli_texts.h"
#include "cli/exit_codes.h"
#include "cli/file_io.h"
#include "cli/terminal_text.h"
#include "files/file_kind.h"
#include "files/playlist_import.h"
#include "files/settings_values.h"

#include <set>
#include <stdio.h>
#include <vector>

// The file's text as the window's open reads it (UTF-8 converted to 949). Returns its FileKind,
// or -1 after saying why the file could not be read.
static int ReadKindOfFile(const char *path, std::vector<char> *text)
{
    std::string bytes;
    // One byte over the bound is enough to tell a file that is too long.
    int result = ReadWholeFile(path, FILE_TEXT_MAX + 1, &bytes);
    if (result == WHOLE_FILE_FAILED) {
        PrintError(CLI_ERROR_READ_FILE, path);
        return -1;
    }
    text->assign(FILE_TEXT_MAX + 1, 0);
    if (result == WHOLE_FILE_TOO_LONG) return FILE_TOO_LARGE;
    if (result == WHOLE_FILE_HAS_NUL) return FILE_HAS_NUL;
    return ReadFileText(bytes.data(), (int)bytes.size(), text->data(), FILE_TEXT_MAX + 1, ConvertUtf8To949);
}

// Says why a file of this kind is refused; the exit code.
static int RefuseFile(int kind, const char *path, const char *otherText)
{
    switch (kind) {
    case FILE_TOO_LARGE: PrintError(CLI_ERROR_FILE_TOO_LONG, path); break;
    case FILE_HAS_NUL: PrintError(CLI_ERROR_FILE_HAS_NUL, path); break;
    case FILE_UNREADABLE: PrintError(CLI_ERROR_READ_FILE, path); break;
    default: PrintError(otherText, path); break;
    }
    return EXIT_FILE;
}

// A settings text with a value that holds a key's text reads back other values than it says: refused.
static int RefuseHeldKey(const char *text, const char *path)
{
    char key[32];
    if (!FindValueHoldingKey(text, key, sizeof key)) return 0;
    PrintError(CLI_ERROR_FILE_HOLDS_KEY, path);
    return 1;
}

int ReadSettingsFileFor(const char *path, std::string *text)
{
    std::vector<char> decoded;
    int kind = ReadKindOfFile(path, &decoded);
    if (kind < 0) return EXIT_FILE;
    if (kind != FILE_SETTINGS) return RefuseFile(kind, path, CLI_ERROR_NOT_SETTINGS);
    if (RefuseHeldKey(decoded.data(), path)) return EXIT_FILE;
    *text = decoded.data();
    return EXIT_DONE;
}

// One playlist row taken by the import (context: the checks), numbered in the file's order.
static void AddImportedRow(void *context, const char *title, const char *url)
{
    std::vector<StreamCheck> *checks = (std::vector<StreamCheck> *)context;
    StreamCheck check;
    check.url = url;
    check.title = title;
    check.channelRule = 1;
    check.live = 0;
    check.number = (int)checks->size() + 1;
    checks->push_back(check);
}

// An entry the import left out for its address or title: reported as not live, never probed. A
// repeated address was checked at its first entry and is not reported again.
static void AddSkippedRow(void *context, int reason, const char *url, int urlLength, const char *title, int titleLength)
{
    if (reason == SKIP_DUPLICATE) return;
    std::string address(url, (size_t)urlLength), name(title, (size_t)titleLength);
    AddImportedRow(context, name.c_str(), address.c_str());
    StreamCheck &check = ((std::vector<StreamCheck> *)context)->back();
    check.leftOut = reason == SKIP_TOO_LONG ? CHECK_TOO_LONG : reason == SKIP_NOT_HTTP ? (int)PROBE_NOT_HTTP : (int)CHECK_HOLDS_KEY;
}

int ReadChannelFile(const char *path, std::vector<StreamCheck> *checks)
{
    std::vector<char> decoded;
    int kind = ReadKindOfFile(path, &decoded);
    if (kind < 0) return EXIT_FILE;
    if (kind == FILE_SETTINGS) {
        if (RefuseHeldKey(decoded.data(), path)) return EXIT_FILE;
        SettingsValues values;
        ReadSettingsValues(decoded.data(), &values);
        char title[DEVICE_VALUE_SIZE], url[DEVICE_VALUE_SIZE];
        std::set<std::string> seen;
        for (int n = 1; n <= values.channelCount; n++) {
            ReadChannelEntry(decoded.data(), n, title, sizeof title, url, sizeof url);
            if (!seen.insert(url).second) continue;   // checked once, at its first channel
            AddImportedRow(checks, title, url);
            checks->back().number = n;
        }
        if (values.channelCount <= 0) {
            PrintError(CLI_ERROR_NO_ADDRESSES, path);
            return EXIT_FILE;
        }
        return EXIT_DONE;
    }
    if (kind != FILE_PLAYLIST) return RefuseFile(kind, path, CLI_ERROR_NOT_CHANNELS);
    // The import's rules (addresses that are too long, not http:// or repeated are left out), with
    // no limit from a SETT: the list is only checked, never sent.
    std::vector<char> known(FILE_TEXT_MAX + 1);
    AddressSet set;
    AddressSetInit(&set, known.data(), (int)known.size());
    PlaylistImport import;
    import.known = &set;
    import.nextNumber = 1;
    import.roomBytes = 0x3FFFFFFF;
    import.addRow = AddImportedRow;
    import.onSkip = AddSkippedRow;
    import.context = checks;
    ImportPlaylist(decoded.data(), &import);
    if (checks->empty() && !import.skipped) {
        PrintError(CLI_ERROR_NO_ADDRESSES, path);
        return EXIT_FILE;
    }
    if (import.skipped) {
        char count[32];
        snprintf(count, sizeof count, "%d", import.skipped);
        PrintError(CLI_TEXT_PLAYLIST_SKIPPED, count);
    }
    return EXIT_DONE;
}
