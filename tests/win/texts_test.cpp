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

// The program's ANSI calls show these bytes as Hangul only where the ANSI code page is 949.
TEST(Texts, AnsiCodePageIsKorean)
{
    EXPECT_EQ(949u, GetACP());
}
