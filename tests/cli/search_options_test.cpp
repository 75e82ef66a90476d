// search_options_test.cpp: the command line of setradio-cli search: operand, options, defaults, ranges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_options.h"

static int ParseSearch(std::vector<const char *> words, CliOptions *o)
{
    std::vector<char *> argv = {(char *)"setradio-cli", (char *)"search"};
    for (const char *w : words) argv.push_back((char *)w);
    char error[256];
    return ParseCliArguments((int)argv.size(), argv.data(), o, error, sizeof error);
}

TEST(SearchArguments, OperandOptionsDefaultsAndRanges)
{
    CliOptions o;
    ASSERT_TRUE(ParseSearch({}, &o));
    EXPECT_EQ(CLI_SEARCH, o.command);
    EXPECT_EQ(nullptr, o.search.name);
    EXPECT_EQ(100, o.search.limit);
    EXPECT_FALSE(o.search.check);
    ASSERT_TRUE(ParseSearch({"jazz", "--country", "kr", "--tag=smooth", "--limit", "1000", "--check", "--jobs", "3",
                             "--json", "-o", "x.m3u", "--directory", "http://127.0.0.1:8090"}, &o));
    EXPECT_STREQ("jazz", o.search.name);
    EXPECT_STREQ("kr", o.search.country);
    EXPECT_STREQ("smooth", o.search.tag);
    EXPECT_EQ(1000, o.search.limit);
    EXPECT_TRUE(o.search.check && o.json);
    EXPECT_EQ(3, o.jobs);
    EXPECT_STREQ("x.m3u", o.output);
    EXPECT_STREQ("http://127.0.0.1:8090", o.search.directory);
    EXPECT_TRUE(ParseSearch({"--limit", "1"}, &o));
    for (std::vector<const char *> bad : std::vector<std::vector<const char *>>{
             {"--limit", "0"}, {"--limit", "1001"}, {"--limit", "9x"}, {"--country", "K"}, {"--country", "KOR"},
             {"--country", "k1"}, {"a", "b"}, {"--trace"}, {"--directory"}, {"--wait", "1"}})
        EXPECT_FALSE(ParseSearch(bad, &o)) << bad[0];
    // Options of search belong to it alone.
    std::vector<char *> argv = {(char *)"setradio-cli", (char *)"check", (char *)"--limit", (char *)"5", (char *)"http://a/"};
    char error[256];
    EXPECT_FALSE(ParseCliArguments((int)argv.size(), argv.data(), &o, error, sizeof error));
}
