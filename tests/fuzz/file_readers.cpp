// file_readers.cpp: libFuzzer target: hostile files through the settings and playlist readers,
// with a stand-in conversion, tight SETT room and a small address block; exported rows read back.
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/text.h"
#include "device/message.h"
#include "files/text_encoding.h"
#include "files/file_kind.h"
#include "files/playlist_export.h"
#include "files/playlist_import.h"
#include "files/settings_values.h"

namespace {

// Stand-in for the system conversion: ASCII kept, every other byte one '?'.
int Flatten(const char *in, int length, char *out, int capacity)
{
    if (length > capacity) return -1;
    for (int i = 0; i < length; i++) out[i] = (unsigned char)in[i] < 0x80 ? in[i] : '?';
    return length;
}

struct Rows {
    char cells[64][2][DEVICE_VALUE_SIZE];
    int count;
};

void Collect(void *context, const char *title, const char *url)
{
    Rows *rows = static_cast<Rows *>(context);
    if (TextLength(title) > PLAYLIST_TITLE_MAX || TextLength(url) > PLAYLIST_ADDRESS_MAX) __builtin_trap();
    if (HoldsDeviceKey(title, -1) || HoldsDeviceKey(url, -1)) __builtin_trap();   // would move another channel
    if (rows->count >= 64) return;
    CopyText(rows->cells[rows->count][0], DEVICE_VALUE_SIZE, title);
    CopyText(rows->cells[rows->count][1], DEVICE_VALUE_SIZE, url);
    rows->count++;
}

void ReadCell(void *context, int row, int column, char *buffer, int size)
{
    CopyText(buffer, size, static_cast<Rows *>(context)->cells[row][column == 2 ? 1 : 0]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > FILE_TEXT_MAX + 16) return 0;
    std::vector<char> text(FILE_TEXT_MAX + 1);
    // Odd sizes go through the shared UTF-8 rule, even ones through the stand-in.
    int kind = ReadFileText((const char *)data, (int)size, text.data(), (int)text.size(), size % 2 ? Utf8To949 : Flatten);
    // The playlist reader also meets texts that were not classified as playlists.
    static Rows rows;
    rows.count = 0;
    std::vector<char> block(4096);
    AddressSet known;
    AddressSetInit(&known, block.data(), (int)block.size());
    PlaylistImport im = {};
    im.known = &known;
    im.nextNumber = 1 + (size % 7);
    im.roomBytes = size ? data[0] * 40 : 0;
    im.addRow = Collect;
    im.context = &rows;
    const char *input = kind == FILE_SETTINGS || kind == FILE_PLAYLIST || kind == FILE_OTHER ? text.data() : "";
    ImportPlaylist(input, &im);
    if (im.added < 0 || im.roomBytes < 0 || im.reasonCount > IMPORT_REASONS_KEPT)
        __builtin_trap();

    char key[32];
    FindValueHoldingKey(input, key, sizeof key);
    SettingsValues values;
    ReadSettingsValues(input, &values);
    for (int n = 1; n <= values.channelCount && n <= 50; n++) {
        char title[32], url[DEVICE_VALUE_SIZE];
        ReadChannelEntry(input, n, title, sizeof title, url, sizeof url);
    }

    int count = rows.count;
    std::vector<char> out(PlaylistCapacity(count));
    for (int format : {PLAYLIST_PLS, PLAYLIST_M3U}) {
        int n = WritePlaylist(format, count, ReadCell, &rows, out.data(), (int)out.size(), Flatten);
        if (n < 0) __builtin_trap();   // the capacity always suffices
    }
    return 0;
}
