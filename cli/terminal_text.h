// terminal_text.h: code page 949 texts (the radios' titles, the program's own texts) turned into the
// terminal's encoding for people and into UTF-8 for JSON. Files keep their 949 bytes.
#ifndef SETRADIO_CLI_TERMINAL_TEXT_H
#define SETRADIO_CLI_TERMINAL_TEXT_H

#include <stdio.h>
#include <string>

// Takes the terminal's encoding from the environment (Linux: the locale, where the C locale counts
// as UTF-8; Windows: the console's output code page, or the ANSI code page when not a console).
void InitTerminalText(void);

// Bytes that cannot be converted become '?'.
std::string ToTerminalText(const char *text949);
std::string ToUtf8Text(const char *text949);
// ToTerminalText for a line people read: control characters (C0 but the tab, DEL, C1) decided by
// code point and shown as escapes such as "\x1b", so no byte from a radio or server drives the terminal.
std::string ToVisibleText(const char *text949);

// length bytes of UTF-8 in as code page 949 in out (capacity bytes) by the rule the window shares
// (Utf8To949). Returns the bytes written (no NUL), or -1 when they do not fit.
int ConvertUtf8To949(const char *in, int length, char *out, int capacity);

// Writes text949 converted for the terminal with control characters shown (ToVisibleText), then a line end.
void PrintTerminalLine(FILE *stream, const char *text949);
// "setradio-cli: " and the 949 text with an optional detail taken as it was typed, on stderr.
void PrintError(const char *text949, const char *detail);

#endif
