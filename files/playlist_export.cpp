// playlist_export.cpp: writing the channel list as a .pls or .m3u playlist in UTF-8.
#include "files/playlist_export.h"
#include "common/text.h"

// A converted cell: code page 949 needs at most 3 UTF-8 bytes per byte.
enum { CELL_UTF8_MAX = 3 * (DEVICE_VALUE_SIZE - 1) + 1, ROW_BYTES_MAX = 2 * CELL_UTF8_MAX + 64 };

static int EndsWithNoCase(const char *text, const char *suffix)
{
    int n = TextLength(text), m = TextLength(suffix);
    if (m > n) return 0;
    for (int i = 0; i < m; i++) {
        char a = text[n - m + i];
        if (a >= 'A' && a <= 'Z') a = (char)(a + 32);
        if (a != suffix[i]) return 0;
    }
    return 1;
}

int PlaylistFormatForName(const char *fileName)
{
    if (!fileName) return PLAYLIST_PLS;
    return EndsWithNoCase(fileName, ".m3u") || EndsWithNoCase(fileName, ".m3u8") ? PLAYLIST_M3U : PLAYLIST_PLS;
}

int PlaylistCapacity(int count)
{
    if (count < 0) count = 0;
    return 64 + count * ROW_BYTES_MAX;
}

// Appends one cell of row, read through 128 bytes and converted. 0 when the conversion failed.
static int AppendCell(TextBuilder *b, int row, int column, ChannelCellReader readCell, void *context,
                      TextConverter toUtf8)
{
    char cell[DEVICE_VALUE_SIZE];
    cell[0] = 0;
    if (readCell) readCell(context, row, column, cell, sizeof cell);
    cell[DEVICE_VALUE_SIZE - 1] = 0;
    if (!toUtf8) {
        BuilderAppend(b, cell);
        return 1;
    }
    char converted[CELL_UTF8_MAX];
    int length = TextLength(cell);
    int n = length ? toUtf8(cell, length, converted, sizeof converted - 1) : 0;
    if (n < 0 || n > (int)sizeof converted - 1) return 0;
    converted[n] = 0;
    BuilderAppend(b, converted);
    return 1;
}

int WritePlaylist(int format, int count, ChannelCellReader readCell, void *context, char *out, int capacity,
                  TextConverter toUtf8)
{
    TextBuilder b;
    BuilderInit(&b, out, capacity);
    if (count < 0) count = 0;
    int ok = 1;
    BuilderAppend(&b, format == PLAYLIST_M3U ? "#EXTM3U\r\n" : "[playlist]\r\n");
    for (int row = 0; row < count && ok && !b.overflow; row++) {
        if (format == PLAYLIST_M3U) {
            BuilderAppend(&b, "#EXTINF:-1,");
            ok = AppendCell(&b, row, 1, readCell, context, toUtf8);
            BuilderAppend(&b, "\r\n");
            ok = ok && AppendCell(&b, row, 2, readCell, context, toUtf8);
            BuilderAppend(&b, "\r\n");
        } else {
            BuilderAppend(&b, "File");
            BuilderAppendNumber(&b, row + 1);
            BuilderAppend(&b, "=");
            ok = AppendCell(&b, row, 2, readCell, context, toUtf8);
            BuilderAppend(&b, "\r\nTitle");
            BuilderAppendNumber(&b, row + 1);
            BuilderAppend(&b, "=");
            ok = ok && AppendCell(&b, row, 1, readCell, context, toUtf8);
            BuilderAppend(&b, "\r\nLength");
            BuilderAppendNumber(&b, row + 1);
            BuilderAppend(&b, "=-1\r\n");
        }
    }
    if (format != PLAYLIST_M3U) {
        BuilderAppend(&b, "NumberOfEntries=");
        BuilderAppendNumber(&b, count);
        BuilderAppend(&b, "\r\nVersion=2\r\n");
    }
    if (!ok || b.overflow) {
        if (capacity >= 1) out[0] = 0;
        return -1;
    }
    return b.length;
}
