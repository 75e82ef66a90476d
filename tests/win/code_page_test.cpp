// code_page_test.cpp: the window's UTF-8 conversion gives the bytes of the shared table.
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "tests/utf8_cases.h"
#include "winkit/code_page.h"

TEST(WindowCodePage, Utf8BecomesTheTablesBytes)
{
    char out[64];
    for (const Utf8Case &c : kUtf8Cases) {
        int n = Utf8ToCodePage949(c.utf8, (int)strlen(c.utf8), out, sizeof out);
        EXPECT_EQ(std::string(c.expected949), std::string(out, n > 0 ? n : 0)) << c.what;
    }
}
