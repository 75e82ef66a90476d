// app_startup_test.cpp: start-up steps: settings path, command line, WinSock, window class, template 6.
#include <gtest/gtest.h>
#include <string>
#include "common/platform.h"
#include "app/startup.h"
#include "res/resource.h"
#include "tests/win/test_support.h"
#include "ui/texts.h"
#include "winkit/program_module.h"
#include "winkit/settings_file.h"
#include "winkit/resize_layout.h"
#include "ui/channel_editor.h"

namespace {

std::wstring Replaced(const wchar_t *path, const wchar_t *extension)
{
    WCHAR buffer[64];
    lstrcpynW(buffer, path, 64);
    ReplaceExtension(buffer, extension);
    return buffer;
}

TEST(ReplaceExtension, ReplacesAfterLastDotOrAppends)
{
    EXPECT_EQ(L"C:\\tools\\SetRadio.ini", Replaced(L"C:\\tools\\SetRadio.exe", L"ini"));
    EXPECT_EQ(L"C:\\tools\\a.b.ini", Replaced(L"C:\\tools\\a.b.exe", L"ini"));
    EXPECT_EQ(L"C:\\tools\\SetRadio.ini", Replaced(L"C:\\tools\\SetRadio", L"ini"));
    EXPECT_EQ(L"prog.ini", Replaced(L"prog.", L"ini"));
    // The last dot counts even inside a folder name.
    EXPECT_EQ(L"C:\\my.ini", Replaced(L"C:\\my.tools\\SetRadio", L"ini"));
}

TEST(SkipProgramName, QuotedAndPlainNames)
{
    EXPECT_STREQ(L"word", SkipProgramName(L"\"C:\\Program Files\\SetRadio.exe\"  word"));
    EXPECT_STREQ(L"", SkipProgramName(L"\"C:\\Program Files\\SetRadio.exe word"));
    EXPECT_STREQ(L"a  b", SkipProgramName(L"SetRadio.exe \t a  b"));
    EXPECT_STREQ(L"", SkipProgramName(L"SetRadio.exe"));
    EXPECT_STREQ(L"", SkipProgramName(L"SetRadio.exe   "));
    EXPECT_STREQ(L"", SkipProgramName(L""));
    // Characters of any script are name characters.
    EXPECT_STREQ(L"x", SkipProgramName(L"C:\\\uB77C\uB514\uC624.exe x"));
    EXPECT_STREQ(L"b c", SkipProgramName(L"\"a\"b c"));
}

TEST(StartWinSock, AgreesOnVersionOneOne)
{
    WSADATA info = {};
    ASSERT_EQ(1, StartWinSock(&info));
    EXPECT_EQ(0x0101, info.wVersion);
    WSACleanup();
    EXPECT_EQ(1, StartWinSock(0));
    WSACleanup();
}

TEST(InitApplication, SettingsPathBesideProgramAndMadeWritable)
{
    char module[MAX_PATH];
    GetModuleFileNameA(0, module, sizeof module);
    std::string expected = module;
    expected = expected.substr(0, expected.rfind('.')) + ".ini";
    WCHAR saved[MAX_PATH];
    lstrcpynW(saved, g_iniPath, MAX_PATH);

    DWORD before = GetFileAttributesA(expected.c_str());
    if (before == INVALID_FILE_ATTRIBUTES) {
        HANDLE f = CreateFileA(expected.c_str(), GENERIC_WRITE, 0, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, 0);
        ASSERT_NE(INVALID_HANDLE_VALUE, f);
        CloseHandle(f);
    }
    SetFileAttributesA(expected.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    InitApplication();
    EXPECT_STREQ(expected.c_str(), SettingsPath949().c_str());
    DWORD after = GetFileAttributesA(expected.c_str());
    EXPECT_EQ(0u, after & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_NE(0, g_atomCurrWndSize);
    EXPECT_NE(0, g_atomUserPrm1);
    char name[32];
    GetAtomNameA(g_atomCurrWndSize, name, sizeof name);
    EXPECT_STREQ("CurrWndSize", name);
    GetAtomNameA(g_atomUserPrm1, name, sizeof name);
    EXPECT_STREQ("UserPrm1", name);
    if (before == INVALID_FILE_ATTRIBUTES) DeleteFileA(expected.c_str());
    lstrcpynW(g_iniPath, saved, MAX_PATH);
}

TEST(RegisterMainWindowClass, DialogClassWithIconAndFaceBackground)
{
    WNDCLASSW wc = {};
    ASSERT_TRUE(GetClassInfoW(g_instance, L"RecordMainDlg", &wc));
    EXPECT_TRUE(wc.lpfnWndProc == DefDlgProcW);   // a Unicode window class
    EXPECT_EQ(DLGWINDOWEXTRA, wc.cbWndExtra);
    EXPECT_EQ(30, wc.cbWndExtra);
    EXPECT_EQ(0, wc.cbClsExtra);
    EXPECT_EQ(0u, wc.style);
    EXPECT_EQ((HBRUSH)(COLOR_BTNFACE + 1), wc.hbrBackground);
    EXPECT_TRUE(wc.hIcon != 0);
    EXPECT_TRUE(wc.hCursor != 0);
}

TEST(Accelerators, AltXClosesAndF1IsCommand1000)
{
    HACCEL table = LoadAcceleratorsA(g_instance, MAKEINTRESOURCEA(IDR_ACCEL));
    ASSERT_TRUE(table != 0);
    ACCEL entries[16] = {};
    // The two keys stay first; the file commands' four keys, F5 and Ctrl+F follow them.
    int count = CopyAcceleratorTableA(table, entries, 16);
    ASSERT_EQ(8, count);
    EXPECT_EQ(0x58, entries[0].key);
    EXPECT_EQ(IDCANCEL, entries[0].cmd);
    EXPECT_EQ(FVIRTKEY | FALT, entries[0].fVirt & (FVIRTKEY | FALT | FSHIFT | FCONTROL));
    EXPECT_EQ(VK_F1, entries[1].key);
    EXPECT_EQ(1000, entries[1].cmd);
    EXPECT_EQ(FVIRTKEY, entries[1].fVirt & (FVIRTKEY | FALT | FSHIFT | FCONTROL));
    // Further keys reach the commands without a control; F5 checks every channel.
    int f5 = 0;
    for (int i = 2; i < count; i++)
        if (entries[i].key == VK_F5 && (entries[i].fVirt & (FVIRTKEY | FALT | FSHIFT | FCONTROL)) == FVIRTKEY)
            f5 = entries[i].cmd;
    EXPECT_EQ(IDM_CHECK_ALL, f5);
    DestroyAcceleratorTable(table);
}

TEST(MainWindowIcon, BothSizesPresent)
{
    HICON big = (HICON)LoadImageA(g_instance, MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, 32, 32, 0);
    HICON small = (HICON)LoadImageA(g_instance, MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, 16, 16, 0);
    ASSERT_TRUE(big != 0);
    ASSERT_TRUE(small != 0);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(small, &info));
    BITMAP b;
    GetObjectA(info.hbmMask, sizeof b, &b);
    EXPECT_EQ(16, b.bmWidth);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DestroyIcon(big);
    DestroyIcon(small);
}

}  // namespace
