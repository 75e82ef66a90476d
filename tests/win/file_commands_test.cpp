// file_commands_test.cpp: commands 2001-2004 with their dialogs answered, the context menus, the
// accelerators and dropped files, on the main window.
#include "tests/win/ui_test_helpers.h"
#include <shellapi.h>
#include <shlobj.h>
#include "files/file_replace.h"
#include "ui/texts.h"
#include "winkit/program_module.h"
#include "ui/main_state.h"

using namespace uitest;

namespace {

// The device's channel title is Korean: this source is compiled to code page 949 bytes.
const char kDevice[] =
    "OpCode=IMIN\r\nMacAddr=AA\r\nFW_Ver=1\r\nDhcpMode=2\r\nLocalIP=10.0.0.5\r\nSubnetMask=255.0.0.0\r\n"
    "PPPoEID=kim\r\nPPPoEPsw=pw\r\nPlsUrl1=http://a/1.pls\r\nPlsUrl2=http://a/2.pls\r\nNumberOfEntries=2\r\n"
    "File1=http://s/one\r\nTitle1=한국 방송\r\nFile2=http://s/two\r\nTitle2=Two\r\n";
const char kOtherDevice[] = "OpCode=IMIN\r\nMacAddr=BB\r\nDhcpMode=0\r\nLocalIP=192.168.7.7\r\nNumberOfEntries=0\r\n";

// The hand-written playlist, as a Windows path (the file dialog takes no forward slashes).
std::string Playlist()
{
    std::string path = SR_TEST_FILES "/korean_stations.m3u8";
    for (char &c : path)
        if (c == '/') c = '\\';
    return path;
}

class FileCommandsTest : public WindowTest {
protected:
    std::string dir;
    void SetUp() override
    {
        WindowTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        dir = std::string(temp) + "sr_files_test\\";
        CreateDirectoryA(dir.c_str(), 0);
        // Files of an earlier run would bring the save dialog's "replace?" question.
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::string name = dir + found.cFileName;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveDirectoryA(name.c_str());
                else DeleteFileA(name.c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        AddDeviceRow(window, kDevice, "AA");
        AddDeviceRow(window, kOtherDevice, "BB");
    }
    std::string Path(const char *name) { return dir + name; }
    void Write(const std::string &path, const std::string &bytes)
    {
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
        DWORD n = 0;
        WriteFile(f, bytes.data(), (DWORD)bytes.size(), &n, 0);
        CloseHandle(f);
    }
    // A command whose dialog is answered with path.
    void CommandWithFile(int id, const std::string &path)
    {
        QueueFileAnswer(path.c_str());
        Command(window, id);
    }
    // Everything the form and the ChannelList show, for before-and-after comparisons.
    std::string FormPicture()
    {
        std::string s = std::to_string(GetCheckedRadio(window, IDC_MODE_STATIC, 3));
        for (int id : {IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY, IDC_DNS, IDC_PPPOE_ID, IDC_PPPOE_PSW, IDC_PLS_URL1, IDC_PLS_URL2})
            s += "|" + Text(window, id);
        for (int row = 0; row < GetListRowCount(window, IDC_CHANNEL_LIST); row++)
            s += "|" + Cell(window, IDC_CHANNEL_LIST, row, 0) + Cell(window, IDC_CHANNEL_LIST, row, 1) + Cell(window, IDC_CHANNEL_LIST, row, 2);
        return s;
    }
};

TEST_F(FileCommandsTest, SaveOpenSaveGivesTheSameBytesAndOpenLoadsLikeADeviceRow)
{
    ClickDeviceRow(window, 0);
    std::string loaded = FormPicture();
    CommandWithFile(IDM_SAVE_SETTINGS, Path("first.txt"));
    std::string first = FileBytes(Path("first.txt").c_str());
    EXPECT_EQ(0u, first.find("OpCode=SETT\r\nDhcpMode=2\r\nMacAddr=AA\r\nLocalIP=10.0.0.5\r\n")) << first;
    EXPECT_NE(std::string::npos, first.find("\r\nNumberOfEntries=2\r\nFile1=http://s/one\r\nTitle1=한국 방송\r\n"));
    EXPECT_EQ(0, g_main.changedFlag) << "the device has received nothing";

    // Another device's settings, then the file: the form takes the file's settings.
    ClickDeviceRow(window, 1);
    ASSERT_NE(loaded, FormPicture());
    ClickDeviceRow(window, 0);
    SetText949(window, IDC_LOCALIP, "1.2.3.4");
    DeleteAllListRows(window, IDC_CHANNEL_LIST);
    CommandWithFile(IDM_OPEN_SETTINGS, Path("first.txt"));
    EXPECT_EQ(loaded, FormPicture());
    EXPECT_EQ(1, g_main.changedFlag);
    EXPECT_TRUE(Enabled(window, IDC_PPPOE_ID)) << "the form state follows the file's mode";
    CommandWithFile(IDM_SAVE_SETTINGS, Path("second.txt"));
    EXPECT_EQ(first, FileBytes(Path("second.txt").c_str()));
    // With the flag set, clicking a row keeps the opened settings.
    ClickDeviceRow(window, 1);
    EXPECT_EQ(loaded, FormPicture());

    // Notepad's UTF-8 with a byte-order mark opens with its Korean title in code page 949.
    std::string utf8 = "\xEF\xBB\xBF" "DhcpMode=0\r\nNumberOfEntries=1\r\nFile1=http://u/\r\nTitle1=\xED\x95\x9C\xEA\xB5\xAD\r\n";
    Write(Path("notepad.txt"), utf8);
    QueueBoxAnswer(IDOK);   // replace the unsaved changes
    CommandWithFile(IDM_OPEN_SETTINGS, Path("notepad.txt"));
    EXPECT_EQ("한국", Cell(window, IDC_CHANNEL_LIST, 0, 1));
    EXPECT_EQ(TEXT_CONFIRM_REPLACE_CHANGES, std::string(BoxText(0)));
    EXPECT_EQ(4, FileDialogCount());
    EXPECT_EQ(0, UnexpectedBoxCount());
}

TEST_F(FileCommandsTest, BadFilesAndCancelledQuestionsLeaveTheFormUntouched)
{
    // Open and import need a device row; no dialog opens without one.
    QueueBoxAnswer(IDOK);
    QueueBoxAnswer(IDOK);
    Command(window, IDM_OPEN_SETTINGS);
    Command(window, IDM_IMPORT_PLAYLIST);
    EXPECT_EQ(0, FileDialogCount());
    ASSERT_EQ(2, BoxCount());
    EXPECT_STREQ(TEXT_SELECT_DEVICE, BoxText(1));

    ClickDeviceRow(window, 0);
    std::string before = FormPicture();
    struct Bad { const char *name; std::string bytes; const char *why; };
    Bad bad[] = {
        {"with-zero.txt", std::string("DhcpMode=1\r\n\0\r\n", 15), TEXT_FILE_NOT_TEXT},
        {"other.txt", "just some words\r\n", TEXT_FILE_NOT_RECOGNIZED},
        {"huge.txt", "DhcpMode=1\r\n" + std::string(65791 - 11, 'x'), TEXT_FILE_TOO_LARGE},
    };
    int boxes = BoxCount();
    for (const Bad &b : bad) {
        Write(Path(b.name), b.bytes);
        QueueBoxAnswer(IDOK);
        CommandWithFile(IDM_OPEN_SETTINGS, Path(b.name));
        EXPECT_EQ("'" + Path(b.name) + "'\n" + b.why, std::string(BoxText(boxes++)));
        EXPECT_EQ(before, FormPicture()) << b.name;
        EXPECT_EQ(0, g_main.changedFlag) << b.name;
    }
    // Unsaved changes and Cancel at the new question: nothing changes.
    Write(Path("good.txt"), "DhcpMode=0\r\nLocalIP=9.9.9.9\r\nNumberOfEntries=0\r\n");
    g_main.changedFlag = 1;
    QueueBoxAnswer(IDCANCEL);
    CommandWithFile(IDM_OPEN_SETTINGS, Path("good.txt"));
    EXPECT_STREQ(TEXT_CONFIRM_REPLACE_CHANGES, BoxText(boxes));
    EXPECT_EQ(before, FormPicture());
    // A cancelled dialog does nothing at all.
    int dialogs = FileDialogCount();
    CommandWithFile(IDM_OPEN_SETTINGS, "");
    EXPECT_EQ(dialogs + 1, FileDialogCount()) << "the dialog opened and was cancelled";
    EXPECT_EQ(before, FormPicture());
    EXPECT_EQ(0, UnexpectedBoxCount());
}

// The new file's name and bytes when the save was made to fail after writing it.
std::string g_newName, g_newBytes;

int FailTheSaveAfterWriting(const char *temporary)
{
    g_newName = temporary;
    g_newBytes = FileBytes(temporary);
    return 0;
}

TEST_F(FileCommandsTest, SaveKeepsNeighboursAndAFailedSaveKeepsTheOldFile)
{
    ClickDeviceRow(window, 0);
    std::string path = Path("keep.txt");
    Write(path, "old content");
    Write(path + ".new~", "a file of the user's");
    // A failure once the new file is written in full: the old file stays and the new one goes.
    g_beforeFileReplace = FailTheSaveAfterWriting;
    QueueBoxAnswer(IDOK);   // the dialog's own "replace?" question
    QueueBoxAnswer(IDOK);   // the failure report
    CommandWithFile(IDM_SAVE_SETTINGS, path);
    g_beforeFileReplace = 0;
    EXPECT_EQ(0u, g_newBytes.find("OpCode=SETT\r\nDhcpMode=2\r\n")) << g_newBytes;
    EXPECT_EQ(dir, g_newName.substr(0, g_newName.rfind('\\') + 1)) << "written beside the target";
    EXPECT_EQ("(none)", FileBytes(g_newName.c_str()));
    EXPECT_EQ("old content", FileBytes(path.c_str()));
    ASSERT_EQ(2, BoxCount());
    EXPECT_EQ("'" + path + "'\n" + TEXT_FILE_WRITE_FAILED, std::string(BoxText(1)));
    // Then the save succeeds, and a file of the user's named like the old fixed name survives it.
    QueueBoxAnswer(IDOK);
    CommandWithFile(IDM_SAVE_SETTINGS, path);
    EXPECT_EQ(g_newBytes, FileBytes(path.c_str()));
    EXPECT_EQ("a file of the user's", FileBytes((path + ".new~").c_str()));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*.*").c_str(), &found);
    int files = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(2, files) << "nothing is left beside the file";
    EXPECT_EQ(0, UnexpectedBoxCount());
}

TEST_F(FileCommandsTest, ImportTheHandWrittenPlaylistThenExportIt)
{
    ClickDeviceRow(window, 0);
    QueueBoxAnswer(IDOK);
    CommandWithFile(IDM_IMPORT_PLAYLIST, Playlist());
    ASSERT_EQ(6, GetListRowCount(window, IDC_CHANNEL_LIST));
    const char *expected[4][3] = {
        {"3.", "KBS 클래식 FM", "http://radio.example.kr:8000/kbs1fm"},
        {"4.", "MBC 표준FM", "http://radio.example.kr:8000/mbcsfm"},
        {"5.", "7번 아주 긴 방송이름은 서른한", "http://radio.example.kr:8000/long-title"},
        {"6.", "plain.example.kr", "http://plain.example.kr/no-title"},
    };
    for (int i = 0; i < 4; i++)
        for (int c = 0; c < 3; c++) EXPECT_EQ(expected[i][c], Cell(window, IDC_CHANNEL_LIST, i + 2, c)) << i << c;
    EXPECT_EQ(std::string("채널 4개를 추가했습니다. 건너뛴 주소: 3개\n"
                          "http:// 주소가 아닙니다: https://secure.example.kr/stream\n"
                          "주소가 127바이트보다 깁니다: http://long.example.kr/aaaaaaaaaaaaaaaaaaaaa...\n"
                          "이미 목록에 있는 주소입니다: http://radio.example.kr:8000/kbs1fm"),
              BoxText(0));
    EXPECT_EQ(1, g_main.changedFlag);

    // Exported in UTF-8, M3U or PLS by the name's extension.
    CommandWithFile(IDM_EXPORT_PLAYLIST, Path("out.m3u8"));
    std::string m3u = FileBytes(Path("out.m3u8").c_str());
    EXPECT_EQ(0u, m3u.find("#EXTM3U\r\n#EXTINF:-1,\xED\x95\x9C\xEA\xB5\xAD \xEB\xB0\xA9\xEC\x86\xA1\r\nhttp://s/one\r\n"));
    EXPECT_NE(std::string::npos, m3u.find("#EXTINF:-1,plain.example.kr\r\nhttp://plain.example.kr/no-title\r\n"));
    CommandWithFile(IDM_EXPORT_PLAYLIST, Path("out"));
    std::string pls = FileBytes(Path("out.pls").c_str());
    EXPECT_EQ(0u, pls.find("[playlist]\r\nFile1=http://s/one\r\n"));
    EXPECT_NE(std::string::npos, pls.find("NumberOfEntries=6\r\n"));

    // Importing the export again adds nothing: every address is already there.
    QueueBoxAnswer(IDOK);
    CommandWithFile(IDM_IMPORT_PLAYLIST, Path("out.pls"));
    EXPECT_EQ(6, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ(0u, std::string(BoxText(1)).find("채널 0개를 추가했습니다. 건너뛴 주소: 6개"));
    EXPECT_EQ(0, UnexpectedBoxCount());
}

// ---- context menus: the menu opened is read and closed by a hook on this thread ----

HHOOK g_menuHook;
std::vector<std::vector<UINT>> g_menus;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(0, timer);
    EndMenu();
}

LRESULT CALLBACK MenuHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *m = (const CWPSTRUCT *)lParam;
    if (code == HC_ACTION && m->message == WM_INITMENUPOPUP) {
        HMENU menu = (HMENU)m->wParam;
        std::vector<UINT> ids;
        for (int i = 0; i < GetMenuItemCount(menu); i++) ids.push_back(GetMenuItemID(menu, i));
        g_menus.push_back(ids);
        SetTimer(0, 0, 30, CloseMenu);
    }
    return CallNextHookEx(g_menuHook, code, wParam, lParam);
}

TEST_F(FileCommandsTest, ContextMenusOpenFromTheMouseAndTheKeysOnBothLists)
{
    g_menus.clear();
    g_menuHook = SetWindowsHookExA(WH_CALLWNDPROC, MenuHook, 0, GetCurrentThreadId());
    ClickDeviceRow(window, 0);
    const std::vector<UINT> four = {IDM_OPEN_SETTINGS, IDM_SAVE_SETTINGS, IDM_IMPORT_PLAYLIST, IDM_EXPORT_PLAYLIST};
    for (int id : {IDC_DEVICE_LIST, IDC_CHANNEL_LIST}) {
        HWND list = Item(id);
        size_t before = g_menus.size();
        PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
        PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(20, 30));
        PumpMessages(window, 300);
        EXPECT_EQ(before + 1, g_menus.size()) << "right click";
        SetFocus(list);
        PostMessageA(list, WM_KEYDOWN, VK_APPS, 1);
        PostMessageA(list, WM_KEYUP, VK_APPS, (LPARAM)(1 | (1u << 30) | (1u << 31)));
        PumpMessages(window, 300);
        EXPECT_EQ(before + 2, g_menus.size()) << "menu key";
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = 0x80;
        SetKeyboardState(keys);
        PostMessageA(list, WM_SYSKEYDOWN, VK_F10, 1);
        PostMessageA(list, WM_SYSKEYUP, VK_F10, (LPARAM)(1 | (1u << 30) | (1u << 31)));
        PumpMessages(window, 300);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        ASSERT_EQ(before + 3, g_menus.size()) << "right click, menu key and Shift+F10 on list " << id << " got " << g_menus.size() - before;
        std::vector<UINT> want = four;
        if (id == IDC_CHANNEL_LIST) want.push_back(IDM_CHECK_ALL);   // the check of every channel
        if (id == IDC_CHANNEL_LIST) want.insert(want.end(), {IDM_FIND_STATIONS, IDM_FIND_OTHER_ADDRESS});
        for (size_t i = before; i < g_menus.size(); i++) EXPECT_EQ(want, g_menus[i]) << id;
    }
    // Elsewhere the window keeps its ordinary handling: no menu.
    size_t before = g_menus.size();
    SendMessageA(window, WM_CONTEXTMENU, (WPARAM)Item(IDC_LOCALIP), MAKELPARAM(10, 10));
    PumpMessages(window, 100);
    EXPECT_EQ(before, g_menus.size());
    UnhookWindowsHookEx(g_menuHook);
    EXPECT_EQ(0, BoxCount());
}

TEST_F(FileCommandsTest, AcceleratorsAndDroppedFiles)
{
    HACCEL table = LoadAcceleratorsA(g_instance, MAKEINTRESOURCEA(IDR_ACCEL));
    ACCEL entries[16];
    int n = CopyAcceleratorTableA(table, entries, 16);
    ASSERT_EQ(8, n) << "the two old keys, the four new ones, F5 and Ctrl+F";
    const struct { WORD key, cmd; } keys[] = {{'O', IDM_OPEN_SETTINGS}, {'S', IDM_SAVE_SETTINGS},
                                               {'I', IDM_IMPORT_PLAYLIST}, {'E', IDM_EXPORT_PLAYLIST},
                                               {'F', IDM_FIND_STATIONS}};
    for (auto k : keys) {
        bool found = false;
        for (int i = 0; i < n; i++)
            found |= entries[i].key == k.key && entries[i].cmd == k.cmd && (entries[i].fVirt & (FCONTROL | FVIRTKEY)) == (FCONTROL | FVIRTKEY);
        EXPECT_TRUE(found) << k.cmd;
    }

    // A settings file and a playlist dropped together: opened, then imported.
    Write(Path("drop.txt"), "DhcpMode=0\r\nLocalIP=9.9.9.9\r\nNumberOfEntries=1\r\nFile1=http://d/1\r\nTitle1=D\r\n");
    std::string names = Path("drop.txt") + '\0' + Playlist() + '\0' + '\0';
    auto drop = [&] {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
        DROPFILES *files = (DROPFILES *)GlobalLock(block);
        files->pFiles = sizeof(DROPFILES);
        memcpy((char *)files + sizeof(DROPFILES), names.data(), names.size());
        GlobalUnlock(block);
        SendMessageA(window, WM_DROPFILES, (WPARAM)block, 0);
    };
    QueueBoxAnswer(IDOK);
    drop();
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(TEXT_SELECT_DEVICE, BoxText(0)) << "one answer for the whole drop";
    ClickDeviceRow(window, 0);
    QueueBoxAnswer(IDOK);
    drop();
    EXPECT_EQ("9.9.9.9", Text(window, IDC_LOCALIP));
    EXPECT_EQ(5, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ("http://d/1", Cell(window, IDC_CHANNEL_LIST, 0, 2));
    EXPECT_EQ(1, g_main.changedFlag);
    EXPECT_EQ(0, UnexpectedBoxCount());
}

}  // namespace
