// texts_test.cpp: the Korean user texts reach the program as code page 949 bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/platform.h"
#include "ui/texts.h"

namespace {

// The text decoded from code page 949; empty when a byte sequence is not valid there.
std::wstring FromCp949(const char *text)
{
    wchar_t wide[256];
    int n = MultiByteToWideChar(949, MB_ERR_INVALID_CHARS, text, -1, wide, 256);
    return n > 0 ? std::wstring(wide, n - 1) : std::wstring();
}

}  // namespace

TEST(Texts, SavedIsItsCodePage949Bytes)
{
    const unsigned char expected[] = {0xC0, 0xFA, 0xC0, 0xE5, 0xB5, 0xC7, 0xBE, 0xFA,
                                      0xBD, 0xC0, 0xB4, 0xCF, 0xB4, 0xD9, 0x00};
    ASSERT_EQ(sizeof expected, sizeof TEXT_SAVED);
    EXPECT_EQ(0, memcmp(expected, TEXT_SAVED, sizeof expected));
}

TEST(Texts, MixedAsciiAndHangulBytes)
{
    const unsigned char close[] = {0xB4, 0xDD, 0xB1, 0xE2, 0x00};  // the close button's label
    ASSERT_EQ(sizeof close, sizeof TEXT_CLOSE_BUTTON);
    EXPECT_EQ(0, memcmp(close, TEXT_CLOSE_BUTTON, sizeof close));
    const unsigned char winsock[] = {'W', 'i', 'n', 'S', 'o', 'c', 'k', 0xC0, 0xBB, ' ', 0xC3, 0xCA};
    EXPECT_EQ(0, memcmp(winsock, TEXT_WINSOCK_FAILED, sizeof winsock));
}

// Every Korean text of the window, written down as its code page 949 bytes (worked out once from
// the texts the window must show, not from this header), equals the header's text byte for byte:
// a changed letter in ui/texts.h fails here even though tests that compare with the macro still pass.
TEST(Texts, EveryWindowTextIsItsCodePage949Bytes)
{
    struct Expected { const char *name; const char *text; size_t size; const char *bytes; } texts[] = {
        {"TEXT_MAIN_CAPTION", TEXT_MAIN_CAPTION, sizeof TEXT_MAIN_CAPTION, "\xC0\xCE\xC5\xCD\xB3\xDD\xB6\xF3\xB5\xF0\xBF\xC0\x20\xC3\xA4\xB3\xCE\xB5\xEE\xB7\xCF"},
        {"TEXT_FONT_GULIM", TEXT_FONT_GULIM, sizeof TEXT_FONT_GULIM, "\xB1\xBC\xB8\xB2"},
        {"TEXT_SEARCH_BUTTON", TEXT_SEARCH_BUTTON, sizeof TEXT_SEARCH_BUTTON, "\xB6\xF3\xB5\xF0\xBF\xC0\xB0\xCB\xBB\xF6"},
        {"TEXT_PLS_URL1_LABEL", TEXT_PLS_URL1_LABEL, sizeof TEXT_PLS_URL1_LABEL, "\x50\x6C\x73\xC1\xD6\xBC\xD2\x31"},
        {"TEXT_PLS_URL2_LABEL", TEXT_PLS_URL2_LABEL, sizeof TEXT_PLS_URL2_LABEL, "\x50\x6C\x73\xC1\xD6\xBC\xD2\x32"},
        {"TEXT_CHANNEL_LIST_LABEL", TEXT_CHANNEL_LIST_LABEL, sizeof TEXT_CHANNEL_LIST_LABEL, "\xBB\xE7\xBF\xEB\xC0\xDA\xC3\xA4\xB3\xCE\xB8\xF1\xB7\xCF"},
        {"TEXT_CHANNEL_NAME_LABEL", TEXT_CHANNEL_NAME_LABEL, sizeof TEXT_CHANNEL_NAME_LABEL, "\xC3\xA4\xB3\xCE\xC0\xCC\xB8\xA7"},
        {"TEXT_SERVER_URL_LABEL", TEXT_SERVER_URL_LABEL, sizeof TEXT_SERVER_URL_LABEL, "\xBC\xAD\xB9\xF6\x55\x52\x4C"},
        {"TEXT_CHANNEL_ADD_BUTTON", TEXT_CHANNEL_ADD_BUTTON, sizeof TEXT_CHANNEL_ADD_BUTTON, "\xC3\xA4\xB3\xCE\xC3\xDF\xB0\xA1"},
        {"TEXT_CHANNEL_MODIFY_BUTTON", TEXT_CHANNEL_MODIFY_BUTTON, sizeof TEXT_CHANNEL_MODIFY_BUTTON, "\xC3\xA4\xB3\xCE\xBC\xF6\xC1\xA4"},
        {"TEXT_CHANNEL_DELETE_BUTTON", TEXT_CHANNEL_DELETE_BUTTON, sizeof TEXT_CHANNEL_DELETE_BUTTON, "\xC3\xA4\xB3\xCE\xBB\xE8\xC1\xA6"},
        {"TEXT_CHANNEL_DELETE_ALL_BUTTON", TEXT_CHANNEL_DELETE_ALL_BUTTON, sizeof TEXT_CHANNEL_DELETE_ALL_BUTTON, "\xC0\xFC\xC3\xBC\xBB\xE8\xC1\xA6"},
        {"TEXT_SEND_BUTTON", TEXT_SEND_BUTTON, sizeof TEXT_SEND_BUTTON, "\xC0\xFC\xBC\xDB"},
        {"TEXT_CLOSE_BUTTON", TEXT_CLOSE_BUTTON, sizeof TEXT_CLOSE_BUTTON, "\xB4\xDD\xB1\xE2"},
        {"TEXT_COLUMN_NUMBER", TEXT_COLUMN_NUMBER, sizeof TEXT_COLUMN_NUMBER, "\xB9\xF8\xC8\xA3"},
        {"TEXT_COLUMN_TITLE", TEXT_COLUMN_TITLE, sizeof TEXT_COLUMN_TITLE, "\xC5\xB8\xC0\xCC\xC6\xB2"},
        {"TEXT_COLUMN_SERVER", TEXT_COLUMN_SERVER, sizeof TEXT_COLUMN_SERVER, "\xBC\xAD\xB9\xF6\xC1\xD6\xBC\xD2"},
        {"TEXT_CONFIRM_QUIT", TEXT_CONFIRM_QUIT, sizeof TEXT_CONFIRM_QUIT, "\xBA\xAF\xB0\xE6\xB5\xC8\x20\xB3\xBB\xBF\xEB\xC0\xCC\x20\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9\x2E\x20\xC1\xBE\xB7\xE1\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE\x3F"},
        {"TEXT_SAVED", TEXT_SAVED, sizeof TEXT_SAVED, "\xC0\xFA\xC0\xE5\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9"},
        {"TEXT_SELECT_DEVICE", TEXT_SELECT_DEVICE, sizeof TEXT_SELECT_DEVICE, "\x56\x65\x6C\x6D\x69\x6F\xB8\xA6\x20\xBC\xB1\xC5\xC3\xC7\xD8\xBE\xDF\x20\xC7\xD5\xB4\xCF\xB4\xD9"},
        {"TEXT_ENTER_PLS", TEXT_ENTER_PLS, sizeof TEXT_ENTER_PLS, "\x50\x6C\x73\xC1\xD6\xBC\xD2\xB8\xA6\x20\xC0\xD4\xB7\xC2\xC7\xCF\xBC\xBC\xBF\xE4"},
        {"TEXT_CONFIRM_APPLY", TEXT_CONFIRM_APPLY, sizeof TEXT_CONFIRM_APPLY, "\xBA\xAF\xB0\xE6\xB3\xBB\xBF\xEB\xC0\xBB\x20\xC0\xFB\xBF\xEB\xC7\xD5\xB4\xCF\xB4\xD9"},
        {"TEXT_ENTER_CHANNEL_NAME", TEXT_ENTER_CHANNEL_NAME, sizeof TEXT_ENTER_CHANNEL_NAME, "\xC3\xA4\xB3\xCE\xC0\xCC\xB8\xA7\xC0\xBB\x20\xC0\xD4\xB7\xC2\xC7\xCF\xBC\xBC\xBF\xE4"},
        {"TEXT_ENTER_SERVER_URL", TEXT_ENTER_SERVER_URL, sizeof TEXT_ENTER_SERVER_URL, "\xB9\xE6\xBC\xDB\xBC\xAD\xB9\xF6\x55\x52\x4C\xC0\xBB\x20\xC0\xD4\xB7\xC2\xC7\xCF\xBC\xBC\xBF\xE4"},
        {"TEXT_SELECT_CHANNEL_TO_MODIFY", TEXT_SELECT_CHANNEL_TO_MODIFY, sizeof TEXT_SELECT_CHANNEL_TO_MODIFY, "\xB8\xD5\xC0\xFA\x20\xBC\xF6\xC1\xA4\xC7\xD2\x20\xC3\xA4\xB3\xCE\xB8\xA6\x20\xBC\xB1\xC5\xC3\xC7\xCF\xBC\xBC\xBF\xE4"},
        {"TEXT_SELECT_CHANNEL_TO_DELETE", TEXT_SELECT_CHANNEL_TO_DELETE, sizeof TEXT_SELECT_CHANNEL_TO_DELETE, "\xB8\xD5\xC0\xFA\x20\xBB\xE8\xC1\xA6\xC7\xD2\x20\xC3\xA4\xB3\xCE\xB8\xA6\x20\xBC\xB1\xC5\xC3\xC7\xCF\xBC\xBC\xBF\xE4"},
        {"TEXT_CONFIRM_DELETE", TEXT_CONFIRM_DELETE, sizeof TEXT_CONFIRM_DELETE, "\xBC\xB1\xC5\xC3\xC7\xD1\x20\xC3\xA4\xB3\xCE\xC0\xBB\x20\xBB\xE8\xC1\xA6\xC7\xD5\xB4\xCF\xB4\xD9"},
        {"TEXT_CONFIRM_DELETE_ALL", TEXT_CONFIRM_DELETE_ALL, sizeof TEXT_CONFIRM_DELETE_ALL, "\xB8\xF0\xB5\xE7\x20\xC3\xA4\xB3\xCE\xC0\xBB\x20\xBB\xE8\xC1\xA6\xC7\xD5\xB4\xCF\xB4\xD9"},
        {"TEXT_STREAM_NOT_LIVE", TEXT_STREAM_NOT_LIVE, sizeof TEXT_STREAM_NOT_LIVE, "\xB9\xE6\xBC\xDB\xC1\xDF\xC0\xCC\x20\xBE\xC6\xB4\xCF\xB0\xC5\xB3\xAA\x20\xC1\xA4\xC8\xAE\xC7\xD1\x20\xB9\xE6\xBC\xDB\xC1\xD6\xBC\xD2\xB0\xA1\x20\xBE\xC6\xB4\xD5\xB4\xCF\xB4\xD9\x2E\x20\xB0\xE8\xBC\xD3\x20\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE\x3F"},
        {"TEXT_WINSOCK_FAILED", TEXT_WINSOCK_FAILED, sizeof TEXT_WINSOCK_FAILED, "\x57\x69\x6E\x53\x6F\x63\x6B\xC0\xBB\x20\xC3\xCA\xB1\xE2\xC8\xAD\xC7\xD2\x20\xBC\xF6\x20\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9\x0A\xB3\xD7\xC6\xAE\xBF\xF7\x20\xBC\xB3\xC1\xA4\x28\x54\x43\x50\x2F\x49\x50\x29\xC0\xBB\x20\xC1\xA1\xB0\xCB\xC7\xCF\xBC\xBC\xBF\xE4"},
    };
    for (const Expected &t : texts) {
        EXPECT_EQ(strlen(t.bytes) + 1, t.size) << t.name;
        EXPECT_EQ(0, memcmp(t.bytes, t.text, t.size < strlen(t.bytes) + 1 ? t.size : strlen(t.bytes) + 1)) << t.name;
    }
}

// Each narrow text decodes from code page 949 to exactly the characters of its source
// (the wide literal of the same source text), so no character was lost in the build.
TEST(Texts, EveryTextDecodesToItsSource)
{
#define TEXT_PAIR(name) {#name, name, L"" name}
    struct Pair { const char *name; const char *narrow; const wchar_t *wide; } texts[] = {
        TEXT_PAIR(TEXT_MAIN_CAPTION), TEXT_PAIR(TEXT_SEARCH_BUTTON), TEXT_PAIR(TEXT_PLS_URL1_LABEL),
        TEXT_PAIR(TEXT_PLS_URL2_LABEL), TEXT_PAIR(TEXT_CHANNEL_LIST_LABEL), TEXT_PAIR(TEXT_CHANNEL_NAME_LABEL),
        TEXT_PAIR(TEXT_SERVER_URL_LABEL), TEXT_PAIR(TEXT_CHANNEL_ADD_BUTTON), TEXT_PAIR(TEXT_CHANNEL_MODIFY_BUTTON),
        TEXT_PAIR(TEXT_CHANNEL_DELETE_BUTTON), TEXT_PAIR(TEXT_CHANNEL_DELETE_ALL_BUTTON), TEXT_PAIR(TEXT_SEND_BUTTON),
        TEXT_PAIR(TEXT_CLOSE_BUTTON), TEXT_PAIR(TEXT_FONT_GULIM), TEXT_PAIR(TEXT_WINSOCK_FAILED),
        TEXT_PAIR(TEXT_CONFIRM_QUIT), TEXT_PAIR(TEXT_COLUMN_NUMBER), TEXT_PAIR(TEXT_COLUMN_TITLE),
        TEXT_PAIR(TEXT_COLUMN_SERVER), TEXT_PAIR(TEXT_SAVED), TEXT_PAIR(TEXT_SELECT_DEVICE),
        TEXT_PAIR(TEXT_ENTER_PLS), TEXT_PAIR(TEXT_CONFIRM_APPLY), TEXT_PAIR(TEXT_SETT_TOO_LONG), TEXT_PAIR(TEXT_ENTER_CHANNEL_NAME),
        TEXT_PAIR(TEXT_ENTER_SERVER_URL), TEXT_PAIR(TEXT_SELECT_CHANNEL_TO_MODIFY),
        TEXT_PAIR(TEXT_SELECT_CHANNEL_TO_DELETE), TEXT_PAIR(TEXT_CONFIRM_DELETE), TEXT_PAIR(TEXT_CONFIRM_DELETE_ALL),
        TEXT_PAIR(TEXT_STREAM_NOT_LIVE),
    };
#undef TEXT_PAIR
    for (const Pair &t : texts) {
        std::wstring decoded = FromCp949(t.narrow);
        EXPECT_FALSE(decoded.empty()) << t.name;
        EXPECT_TRUE(decoded == t.wide) << t.name;
    }
}

// The Win32 tests run twice, in the Korean locale (ANSI code page 949) and in C.UTF-8 (1252):
// the window must not depend on it, and each run must really have the code page it stands for.
TEST(Texts, AnsiCodePageFollowsTheTestLocale)
{
    char lang[64] = "";
    GetEnvironmentVariableA("LANG", lang, sizeof lang);
    EXPECT_EQ(strncmp(lang, "ko_KR", 5) == 0 ? 949u : 1252u, GetACP()) << lang;
}
