// json_line.cpp: JSON objects written one per line, with strings escaped as JSON requires.
#include "cli/json_line.h"
#include "cli/terminal_text.h"

std::string JsonQuote(const char *utf8)
{
    std::string out = "\"";
    for (const unsigned char *p = (const unsigned char *)(utf8 ? utf8 : ""); *p; p++) {
        unsigned char c = *p;
        if (c == '"') out += "\\\"";
        else if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else out += (char)c;
    }
    return out + "\"";
}

static void JsonName(JsonLine *line, const char *name)
{
    if (line->text.size() > 1) line->text += ",";
    line->text += JsonQuote(name);
    line->text += ":";
}

void JsonBegin(JsonLine *line)
{
    line->text = "{";
}

void JsonText(JsonLine *line, const char *name, const char *text949)
{
    JsonRawText(line, name, ToUtf8Text(text949).c_str());
}

void JsonRawText(JsonLine *line, const char *name, const char *utf8)
{
    JsonName(line, name);
    line->text += JsonQuote(utf8);
}

void JsonNumber(JsonLine *line, const char *name, long long value)
{
    char number[32];
    snprintf(number, sizeof number, "%lld", value);
    JsonName(line, name);
    line->text += number;
}

void JsonBool(JsonLine *line, const char *name, int value)
{
    JsonName(line, name);
    line->text += value ? "true" : "false";
}

void JsonArray(JsonLine *line, const char *name, const std::string &elements)
{
    JsonName(line, name);
    line->text += "[" + elements + "]";
}

void JsonPrint(JsonLine *line, FILE *stream)
{
    line->text += "}\n";
    fputs(line->text.c_str(), stream);
}
