// file_io_test.cpp: setradio-cli's file writing: a neighbouring file is never touched, the replaced
// file's mode is kept (0600 for a new one), and a failure after the new file was written keeps the
// old file and leaves nothing behind.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "cli/file_io.h"
#include "common/platform.h"
#include "files/file_replace.h"

namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return "(none)";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Put(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// What the hook saw: the new file's name and its bytes at that moment.
std::string g_seenName, g_seenBytes;

int FailAfterWriting(const char *temporary)
{
    g_seenName = temporary;
    g_seenBytes = Bytes(temporary);
    return 0;
}

class CliFileWrite : public testing::Test {
protected:
    fs::path dir;
    void SetUp() override
    {
#ifdef _WIN32
        unsigned id = (unsigned)GetCurrentProcessId();
#else
        unsigned id = (unsigned)getpid();
#endif
        dir = fs::temp_directory_path() / ("sr_cli_write_" + std::to_string(id));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        g_beforeFileReplace = nullptr;
        fs::remove_all(dir);
    }
    int Write(const char *name, const std::string &bytes)
    {
        return WriteFileReplacing((dir / name).string().c_str(), bytes.data(), (int)bytes.size());
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(CliFileWrite, NeighboursStayModesAreKeptAndAFailureLeavesTheOldFile)
{
    Put(dir / "backup.txt", "old");
    Put(dir / "backup.txt.new", "a file of the user's");
    Put(dir / "backup.txt.new~", "another one");
#ifndef _WIN32
    fs::permissions(dir / "backup.txt", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    ASSERT_EQ(1, Write("backup.txt", "PPPoEPsw=secret\r\n"));
    EXPECT_EQ("PPPoEPsw=secret\r\n", Bytes(dir / "backup.txt"));
    EXPECT_EQ("a file of the user's", Bytes(dir / "backup.txt.new"));
    EXPECT_EQ("another one", Bytes(dir / "backup.txt.new~"));
    ASSERT_EQ(1, Write("fresh.txt", "new"));
    EXPECT_EQ((std::vector<std::string>{"backup.txt", "backup.txt.new", "backup.txt.new~", "fresh.txt"}), Names());
#ifndef _WIN32
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
              fs::status(dir / "backup.txt").permissions() & fs::perms::mask) << "the replaced file's mode";
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write, fs::status(dir / "fresh.txt").permissions() & fs::perms::mask)
        << "a new file may hold a password: its owner's alone";
#endif

    // A failure once the new file is complete and flushed: the old file stays, the new one goes.
    g_beforeFileReplace = FailAfterWriting;
    EXPECT_EQ(0, Write("backup.txt", "never seen"));
    EXPECT_EQ("never seen", g_seenBytes) << "the new file was written in full before it was to take the old one's place";
    EXPECT_EQ(dir, fs::path(g_seenName).parent_path()) << "beside the target";
    EXPECT_EQ("PPPoEPsw=secret\r\n", Bytes(dir / "backup.txt"));
    EXPECT_EQ("(none)", Bytes(g_seenName));
    EXPECT_EQ(0, Write("other.txt", "never seen"));
    EXPECT_EQ((std::vector<std::string>{"backup.txt", "backup.txt.new", "backup.txt.new~", "fresh.txt"}), Names());
}

}  // namespace
