// playlist_export.h: writing the channel list as a .pls or .m3u playlist in UTF-8.
#ifndef SETRADIO_FILES_PLAYLIST_EXPORT_H
#define SETRADIO_FILES_PLAYLIST_EXPORT_H

#include "device/message.h"
#include "files/text_encoding.h"

enum PlaylistFormat { PLAYLIST_PLS = 0, PLAYLIST_M3U = 1 };

// M3U for a file name ending in ".m3u" or ".m3u8" (any case), otherwise PLS.
int PlaylistFormatForName(const char *fileName);
// Bytes that always hold the playlist of count channels (cells read through 128 bytes).
int PlaylistCapacity(int count);
// The channels (readCell: column 1 title, column 2 address, as the SETT composer reads them) as a
// playlist with CR LF line ends, every cell converted by toUtf8 (null: bytes taken as they are).
// Returns the text length (a NUL follows), or -1 when it does not fit or a conversion fails.
int WritePlaylist(int format, int count, ChannelCellReader readCell, void *context, char *out, int capacity,
                  TextConverter toUtf8);

#endif
