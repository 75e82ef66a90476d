// json_line.h: one JSON object per output line, built field by field (texts given as 949 bytes).
#ifndef SETRADIO_CLI_JSON_LINE_H
#define SETRADIO_CLI_JSON_LINE_H

#include <stdio.h>
#include <string>

struct JsonLine {
    std::string text;   // "{" and the fields so far
};

void JsonBegin(JsonLine *line);
void JsonText(JsonLine *line, const char *name, const char *text949);  // converted to UTF-8 and escaped
void JsonRawText(JsonLine *line, const char *name, const char *utf8);  // already UTF-8 (or ASCII)
void JsonNumber(JsonLine *line, const char *name, long long value);
void JsonBool(JsonLine *line, const char *name, int value);
void JsonArray(JsonLine *line, const char *name, const std::string &elements);  // elements already JSON
// The object closed, on its own line of stream.
void JsonPrint(JsonLine *line, FILE *stream);
// A UTF-8 text as a JSON string with its quotes.
std::string JsonQuote(const char *utf8);

#endif
