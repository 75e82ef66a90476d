// file_kind.h: which files count as settings files or playlists, and reading one file's bytes as text.
#ifndef SETRADIO_FILES_FILE_KIND_H
#define SETRADIO_FILES_FILE_KIND_H

#include "files/text_encoding.h"

// Longest file taken: a settings text and its NUL fill at most one device message.
#define FILE_TEXT_MAX 65791

enum FileKind {
    FILE_OTHER = 0,      // neither a settings text nor a playlist
    FILE_SETTINGS = 1,
    FILE_PLAYLIST = 2,
    FILE_TOO_LARGE = 3,  // over FILE_TEXT_MAX bytes
    FILE_HAS_NUL = 4,    // a NUL byte: not a text
    FILE_UNREADABLE = 5  // the text could not be converted
};

// Kind of a code-page text: a playlist when it starts with "[playlist]" or "#EXTM3U" or its first
// non-blank line starts with "http://"; otherwise a settings text when a line starts with
// "NumberOfEntries=" or "DhcpMode="; otherwise FILE_OTHER. Leading blank lines are skipped.
int ClassifyFileText(const char *text);

// A file's whole content checked and decoded (DecodeFileText) into out, which needs at least
// FILE_TEXT_MAX + 1 bytes. Returns a FileKind; out holds the text for FILE_SETTINGS and FILE_PLAYLIST.
int ReadFileText(const char *bytes, int length, char *out, int capacity, TextConverter toLocal);

#endif
