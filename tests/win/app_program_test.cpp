// app_program_test.cpp: SetRadio.exe itself, started as a separate process: show mode, keys, exit code.
#include <gtest/gtest.h>
#include <string>
#include "common/platform.h"

namespace {

// A private copy of the program in a temporary folder, so its settings file is its own.
class ProgramTest : public testing::Test {
protected:
    std::string dir_, exe_, ini_;
    PROCESS_INFORMATION process_ = {};
    HWND window_ = 0;

    void SetUp() override
    {
        char module[MAX_PATH];
        GetModuleFileNameA(0, module, sizeof module);
        std::string built = module;
        built = built.substr(0, built.rfind('\\') + 1) + "SetRadio.exe";
        if (GetFileAttributesA(built.c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "SetRadio.exe is not built beside the tests";
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        dir_ = std::string(temp) + "h4_program_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir_.c_str(), 0);
        exe_ = dir_ + "\\SetRadio.exe";
        ini_ = dir_ + "\\SetRadio.ini";
        ASSERT_TRUE(CopyFileA(built.c_str(), exe_.c_str(), FALSE));
        SetFileAttributesA(ini_.c_str(), 0);
        DeleteFileA(ini_.c_str());
    }
    void TearDown() override
    {
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 1);
                WaitForSingleObject(process_.hProcess, 5000);
            }
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        if (!dir_.empty()) {
            SetFileAttributesA(ini_.c_str(), 0);
            DeleteFileA(ini_.c_str());
            DeleteFileA(exe_.c_str());
            RemoveDirectoryA(dir_.c_str());
        }
    }

    struct Search {
        DWORD pid;
        HWND found;
        int visibleCount;
    };
    static BOOL CALLBACK Visit(HWND w, LPARAM lParam)
    {
        Search *s = (Search *)lParam;
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid != s->pid || !IsWindowVisible(w)) return TRUE;
        s->visibleCount++;
        char cls[32];
        GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpA(cls, "RecordMainDlg") == 0) s->found = w;
        return TRUE;
    }
    Search Look()
    {
        Search s = {process_.dwProcessId, 0, 0};
        EnumWindows(Visit, (LPARAM)&s);
        return s;
    }

    // Starts the copy, optionally with a show mode; waits until its main window is visible.
    bool Start(int showMode)
    {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        if (showMode >= 0) {
            si.dwFlags = STARTF_USESHOWWINDOW;
            si.wShowWindow = (WORD)showMode;
        }
        std::string line = "\"" + exe_ + "\"  ignored words";
        if (!CreateProcessA(exe_.c_str(), &line[0], 0, 0, FALSE, 0, 0, dir_.c_str(), &si, &process_)) return false;
        for (int i = 0; i < 200 && !window_; ++i) {
            Sleep(50);
            window_ = Look().found;
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) return false;
        }
        return window_ != 0;
    }

    DWORD WaitExit(int ms)
    {
        if (WaitForSingleObject(process_.hProcess, ms) != WAIT_OBJECT_0) return 0xFFFFFFFF;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    static void Keys(const WORD *keys, int count)
    {
        INPUT input[8] = {};
        for (int i = 0; i < count; ++i) {
            input[i].type = INPUT_KEYBOARD;
            input[i].ki.wVk = keys[i] & 0xFF;
            input[i].ki.dwFlags = (keys[i] & 0x100) ? KEYEVENTF_KEYUP : 0;
        }
        SendInput((UINT)count, input, sizeof(INPUT));
    }
};

const WORD UP = 0x100;

TEST_F(ProgramTest, StartsMinimisedWhenAskedAndClosesWithExitCodeZero)
{
    ASSERT_TRUE(Start(SW_SHOWMINNOACTIVE));
    // The template makes the window visible at creation; the show mode follows right after.
    for (int i = 0; i < 60 && !IsIconic(window_); ++i) Sleep(50);
    EXPECT_TRUE(IsIconic(window_));
    PostMessageA(window_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(0u, WaitExit(10000));
}

TEST_F(ProgramTest, StartsNormalAndWritesItsPlacement)
{
    ASSERT_TRUE(Start(-1));
    EXPECT_FALSE(IsIconic(window_));
    char value[80];
    GetPrivateProfileStringA("DlgPos", "SetRadio", "", value, sizeof value, ini_.c_str());
    RECT r;
    GetWindowRect(window_, &r);
    char expected[80];
    wsprintfA(expected, "%d %d %d %d", r.left, r.top, r.right - r.left, r.bottom - r.top);
    EXPECT_STREQ(expected, value);
    PostMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitExit(10000));
}

TEST_F(ProgramTest, ReadOnlySettingsFileBecomesWritable)
{
    WritePrivateProfileStringA("DlgPos", "SetRadio", "100 50 700 560", ini_.c_str());
    SetFileAttributesA(ini_.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(Start(-1));
    EXPECT_EQ(0u, GetFileAttributesA(ini_.c_str()) & FILE_ATTRIBUTE_READONLY);
    RECT r;
    GetWindowRect(window_, &r);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(560, r.bottom - r.top);
    PostMessageA(window_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(0u, WaitExit(10000));
}

TEST_F(ProgramTest, F1DoesNothingAndAltXCloses)
{
    ASSERT_TRUE(Start(-1));
    SetForegroundWindow(window_);
    Sleep(200);
    const WORD f1[] = {VK_F1, VK_F1 | UP};
    Keys(f1, 2);
    Sleep(500);
    Search s = Look();
    EXPECT_EQ(window_, s.found);
    EXPECT_EQ(1, s.visibleCount);   // no box, no other window
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(process_.hProcess, 0));
    SetForegroundWindow(window_);
    const WORD altX[] = {VK_MENU, 'X', 'X' | UP, VK_MENU | UP};
    Keys(altX, 4);
    EXPECT_EQ(0u, WaitExit(10000));
}

}  // namespace

// The longest program path the platform gives whole: 259 characters. Its settings file has the
// same length, so placement is still kept.
TEST_F(ProgramTest, ProgramAtTheLongestPathStillKeepsItsSettings)
{
    std::string outer = dir_;
    const std::string name = "\\SetRadio.exe";
    int room = MAX_PATH - 1 - (int)outer.size() - 1 - (int)name.size();
    ASSERT_GT(room, 0);
    std::string inner = outer + "\\" + std::string(room, 'p');
    ASSERT_TRUE(CreateDirectoryA(inner.c_str(), 0));
    std::string longExe = inner + name;
    ASSERT_EQ((size_t)MAX_PATH - 1, longExe.size());
    ASSERT_TRUE(CopyFileA(exe_.c_str(), longExe.c_str(), FALSE));
    DeleteFileA(exe_.c_str());
    exe_ = longExe;
    ini_ = inner + "\\SetRadio.ini";
    dir_ = inner;
    bool started = Start(-1);
    if (started) {
        PostMessageA(window_, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(0u, WaitExit(10000));
    }
    char value[80];
    GetPrivateProfileStringA("DlgPos", "SetRadio", "", value, sizeof value, ini_.c_str());
    EXPECT_TRUE(started);
    EXPECT_NE('\0', value[0]) << "no placement kept beside " << exe_;
    // TearDown removes the inner folder; the outer one is removed here after it.
    SetFileAttributesA(ini_.c_str(), 0);
    DeleteFileA(ini_.c_str());
    DeleteFileA(exe_.c_str());
    RemoveDirectoryA(inner.c_str());
    dir_ = outer;
    exe_ = outer + name;
    ini_ = outer + "\\SetRadio.ini";
}
