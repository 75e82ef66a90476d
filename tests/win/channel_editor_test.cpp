// channel_editor_test.cpp: adding, changing, deleting and reordering channels in the ChannelList.
// Stream addresses are checked against a live loopback server thread; nothing searches or sends.
#include "tests/win/ui_test_helpers.h"
#include "tests/win/live_stream_server.h"
#include <thread>
#include "ui/channel_editor.h"
#include "ui/texts.h"
#include "ui/main_state.h"

using namespace uitest;

namespace {

class ChannelEditorTest : public WindowTest {
protected:
    LiveServer server;
    HWND list = 0;

    void SetUp() override
    {
        WindowTest::SetUp();
        server.Start();
        list = Item(IDC_CHANNEL_LIST);
    }
    void TearDown() override
    {
        server.Stop();
        if (GetCapture()) ReleaseCapture();
        WindowTest::TearDown();
    }

    // A device with rows channels T1.. and http://h/1.. is loaded, so the editor is enabled.
    void LoadChannels(int rows)
    {
        std::string text = "OpCode=IMIN\r\nDhcpMode=1\r\nNumberOfEntries=" + std::to_string(rows) + "\r\n";
        for (int n = 1; n <= rows; n++)
            text += "Title" + std::to_string(n) + "=T" + std::to_string(n) + "\r\nFile" + std::to_string(n) +
                    "=http://h/" + std::to_string(n) + "\r\n";
        AddDeviceRow(window, text.c_str(), "m");
        ClickDeviceRow(window, GetListRowCount(window, IDC_DEVICE_LIST) - 1);
        ASSERT_EQ(rows, GetListRowCount(window, IDC_CHANNEL_LIST));
        ASSERT_TRUE(Enabled(window, IDC_CHANNEL_NAME));
    }
    void Select(int row)
    {
        ClearListSelection(window, IDC_CHANNEL_LIST);
        SetListRowState(window, IDC_CHANNEL_LIST, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    // "T1|T2|..." of column 1, or of any column.
    std::string Column(int column)
    {
        std::string s;
        for (int row = 0; row < GetListRowCount(window, IDC_CHANNEL_LIST); row++)
            s += (row ? "|" : "") + Cell(window, IDC_CHANNEL_LIST, row, column);
        return s;
    }
    void SetFields(const std::string &title, const std::string &url)
    {
        SetText949(window, IDC_CHANNEL_NAME, title.c_str());
        SetText949(window, IDC_CHANNEL_URL, url.c_str());
    }
    POINT RowPoint(int row)
    {
        RECT r;
        r.left = LVIR_BOUNDS;
        SendMessageA(list, LVM_GETITEMRECT, row, (LPARAM)&r);
        POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        return p;
    }
    void MouseMove(POINT p) { SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); }
    void BeginDrag(int row)
    {
        NMLISTVIEW info;
        memset(&info, 0, sizeof info);
        info.hdr.hwndFrom = list;
        info.hdr.idFrom = IDC_CHANNEL_LIST;
        info.hdr.code = LVN_BEGINDRAG;
        info.iItem = row;
        EXPECT_EQ(TRUE, MainDialogProc(window, WM_NOTIFY, IDC_CHANNEL_LIST, (LPARAM)&info));
    }
    int DragIndex() { return (int)(INT_PTR)GetPropA(list, MAKEINTATOM(g_atomUserPrm1)); }
    void AltKey(int key) { SendMessageA(list, WM_SYSKEYDOWN, key, 0x20000001); }
};

TEST_F(ChannelEditorTest, BlankTitleOrUrlIsRefusedWithFocusOnTheEmptyField)
{
    LoadChannels(1);
    SetFields(" \t  ", server.Url());
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_ADD);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(TEXT_ENTER_CHANNEL_NAME, BoxText(0));
    EXPECT_EQ(Item(IDC_CHANNEL_NAME), GetFocus());

    SetFields("Title", "   ");
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_ADD);
    ASSERT_EQ(2, BoxCount());
    EXPECT_STREQ(TEXT_ENTER_SERVER_URL, BoxText(1));
    EXPECT_EQ(Item(IDC_CHANNEL_URL), GetFocus());

    // Modify reads the fields the same way.
    Select(0);
    SetFields("", "");
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_MODIFY);
    ASSERT_EQ(3, BoxCount());
    EXPECT_STREQ(TEXT_ENTER_CHANNEL_NAME, BoxText(2));

    EXPECT_EQ("T1", Column(1));
    EXPECT_EQ(0, g_main.changedFlag);
    EXPECT_EQ(0, UnexpectedBoxCount());
}

TEST_F(ChannelEditorTest, LongTitleAndUrlAreCutAndBlanksTrimmed)
{
    LoadChannels(0);
    std::string title(40, 'n');
    for (int i = 0; i < 40; i++) title[i] = (char)('A' + i % 26);
    std::string url = server.Url() + "?";
    url += std::string(200 - url.size(), 'q');
    ASSERT_EQ(200u, url.size());
    SetFields(title, url);
    Command(window, IDC_CHANNEL_ADD);
    EXPECT_EQ(0, BoxCount());
    ASSERT_EQ(1, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ(title.substr(0, 31), Cell(window, IDC_CHANNEL_LIST, 0, 1));
    EXPECT_EQ(url.substr(0, 127), Cell(window, IDC_CHANNEL_LIST, 0, 2));

    SetFields("  Radio  One \t", "  " + server.Url() + "  ");
    Command(window, IDC_CHANNEL_ADD);
    ASSERT_EQ(2, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ("Radio  One", Cell(window, IDC_CHANNEL_LIST, 1, 1));
    EXPECT_EQ(server.Url(), Cell(window, IDC_CHANNEL_LIST, 1, 2));
}

TEST_F(ChannelEditorTest, AddAppendsANumberedRowEmptiesTheEditsAndMarksAChange)
{
    LoadChannels(3);
    Select(1);
    SetFields("Four", server.Url());
    Command(window, IDC_CHANNEL_ADD);
    EXPECT_EQ(0, BoxCount());
    ASSERT_EQ(4, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ("1.|2.|3.|4.", Column(0));
    EXPECT_EQ("T1|T2|T3|Four", Column(1));
    EXPECT_EQ(server.Url(), Cell(window, IDC_CHANNEL_LIST, 3, 2));
    EXPECT_EQ(0, GetListRowData(window, IDC_CHANNEL_LIST, 3, -1));
    EXPECT_EQ("", Text(window, IDC_CHANNEL_NAME));
    EXPECT_EQ("", Text(window, IDC_CHANNEL_URL));
    EXPECT_EQ(1, g_main.changedFlag);
    EXPECT_EQ(1, GetSelectedListRow(window, IDC_CHANNEL_LIST, -1)) << "the new row is not selected";
    EXPECT_EQ(-1, GetSelectedListRow(window, IDC_CHANNEL_LIST, 1));
}

TEST_F(ChannelEditorTest, RefusedAddressChangesNothing)
{
    LoadChannels(2);
    Select(0);
    std::string dead = DeadUrl();
    SetFields("Dead", dead);
    QueueBoxAnswer(IDCANCEL);
    Command(window, IDC_CHANNEL_ADD);
    QueueBoxAnswer(IDCANCEL);
    Command(window, IDC_CHANNEL_MODIFY);
    EXPECT_EQ(2, BoxCount());
    EXPECT_EQ(0, UnexpectedBoxCount());
    EXPECT_EQ("T1|T2", Column(1));
    EXPECT_EQ("Dead", Text(window, IDC_CHANNEL_NAME));
    EXPECT_EQ(dead, Text(window, IDC_CHANNEL_URL));
    EXPECT_EQ(0, g_main.changedFlag);
    // Going on after the question keeps the address.
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_ADD);
    EXPECT_EQ("T1|T2|Dead", Column(1));
    EXPECT_EQ(1, g_main.changedFlag);
}

TEST_F(ChannelEditorTest, ModifyChangesOnlyTheSelectedRowsTitleAndUrl)
{
    LoadChannels(3);
    SetFields("New", server.Url());
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_MODIFY);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(TEXT_SELECT_CHANNEL_TO_MODIFY, BoxText(0));
    EXPECT_EQ(0, g_main.changedFlag);

    Select(1);
    Command(window, IDC_CHANNEL_MODIFY);
    EXPECT_EQ(1, BoxCount());
    EXPECT_EQ("1.|2.|3.", Column(0));
    EXPECT_EQ("T1|New|T3", Column(1));
    EXPECT_EQ("http://h/1|" + server.Url() + "|http://h/3", Column(2));
    EXPECT_EQ("New", Text(window, IDC_CHANNEL_NAME));
    EXPECT_EQ(server.Url(), Text(window, IDC_CHANNEL_URL));
    EXPECT_EQ(1, g_main.changedFlag);
}

TEST_F(ChannelEditorTest, DeleteAsksRemovesRenumbersAndSelectsTheNextRow)
{
    LoadChannels(5);
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_DELETE);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(TEXT_SELECT_CHANNEL_TO_DELETE, BoxText(0));

    Select(4);
    QueueBoxAnswer(IDCANCEL);
    Command(window, IDC_CHANNEL_DELETE);
    EXPECT_STREQ(TEXT_CONFIRM_DELETE, BoxText(1));
    EXPECT_EQ(5, GetListRowCount(window, IDC_CHANNEL_LIST));

    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_DELETE);
    EXPECT_EQ("1.|2.|3.|4.", Column(0));
    EXPECT_EQ("T1|T2|T3|T4", Column(1));
    EXPECT_EQ(3, GetSelectedListRow(window, IDC_CHANNEL_LIST, -1));
    EXPECT_EQ(3, (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED));

    Select(1);
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_DELETE);
    EXPECT_EQ("1.|2.|3.", Column(0));
    EXPECT_EQ("T1|T3|T4", Column(1));
    EXPECT_EQ(1, GetSelectedListRow(window, IDC_CHANNEL_LIST, -1));
    EXPECT_EQ(0, g_main.changedFlag) << "deleting is not an unsaved change";
    EXPECT_EQ(0, UnexpectedBoxCount());
}

TEST_F(ChannelEditorTest, DeletingTheOnlyRowLeavesNothingSelected)
{
    LoadChannels(1);
    Select(0);
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_DELETE);
    EXPECT_EQ(0, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ(-1, GetSelectedListRow(window, IDC_CHANNEL_LIST, -1));
}

TEST_F(ChannelEditorTest, DeleteAllAsksEvenWhenEmpty)
{
    LoadChannels(0);
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_DELETE_ALL);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(TEXT_CONFIRM_DELETE_ALL, BoxText(0));

    ReleaseDeviceRows(window);
    LoadChannels(3);
    SetFields("kept", "kept too");
    QueueBoxAnswer(IDCANCEL);
    Command(window, IDC_CHANNEL_DELETE_ALL);
    EXPECT_EQ(3, GetListRowCount(window, IDC_CHANNEL_LIST));
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_DELETE_ALL);
    EXPECT_EQ(3, BoxCount());
    EXPECT_EQ(0, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ("kept", Text(window, IDC_CHANNEL_NAME));
    EXPECT_EQ(0, g_main.changedFlag);
}

TEST_F(ChannelEditorTest, DeleteKeyPostsTheDeleteCommand)
{
    LoadChannels(3);
    Select(0);
    QueueBoxAnswer(IDOK);
    SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(0, BoxCount()) << "posted, not run inside the notification";
    PumpMessages(0, 50);
    ASSERT_EQ(1, BoxCount());
    EXPECT_STREQ(TEXT_CONFIRM_DELETE, BoxText(0));
    EXPECT_EQ("T2|T3", Column(1));
    EXPECT_EQ("1.|2.", Column(0));

    // Without a selection the key gets the same answer as the button.
    ClearListSelection(window, IDC_CHANNEL_LIST);
    QueueBoxAnswer(IDOK);
    SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
    PumpMessages(0, 50);
    ASSERT_EQ(2, BoxCount());
    EXPECT_STREQ(TEXT_SELECT_CHANNEL_TO_DELETE, BoxText(1));
    EXPECT_EQ(0, UnexpectedBoxCount());
}

TEST_F(ChannelEditorTest, SecondDeleteDispatchedDuringTheQuestionDeletesTheNextSelectedRow)
{
    LoadChannels(4);
    Select(3);
    QueueBoxAnswer(IDOK);
    QueueBoxAnswer(IDOK);
    PostMessageA(window, WM_COMMAND, IDC_CHANNEL_DELETE, 0);
    Command(window, IDC_CHANNEL_DELETE);
    PumpMessages(0, 50);
    EXPECT_EQ(2, BoxCount());
    EXPECT_EQ(0, UnexpectedBoxCount());
    EXPECT_EQ("T1|T2", Column(1));
    EXPECT_EQ("1.|2.", Column(0));
    EXPECT_EQ(1, GetSelectedListRow(window, IDC_CHANNEL_LIST, -1));
}

TEST_F(ChannelEditorTest, ClickCopiesTheSelectedRowIntoTheEdits)
{
    LoadChannels(3);
    SetFields("before", "before url");
    SendClick(window, IDC_CHANNEL_LIST);
    EXPECT_EQ("before", Text(window, IDC_CHANNEL_NAME));
    Select(2);
    SendClick(window, IDC_CHANNEL_LIST);
    EXPECT_EQ("T3", Text(window, IDC_CHANNEL_NAME));
    EXPECT_EQ("http://h/3", Text(window, IDC_CHANNEL_URL));
    EXPECT_EQ(0, g_main.changedFlag);
}

TEST_F(ChannelEditorTest, AltArrowsMoveTheSelectedRowWithinTheList)
{
    LoadChannels(3);
    AltKey(VK_DOWN);   // nothing selected
    EXPECT_EQ("T1|T2|T3", Column(1));
    Select(0);
    AltKey(VK_UP);
    EXPECT_EQ("T1|T2|T3", Column(1));
    Select(2);
    AltKey(VK_DOWN);
    EXPECT_EQ("T1|T2|T3", Column(1));

    AltKey(VK_UP);
    EXPECT_EQ("T1|T3|T2", Column(1));
    EXPECT_EQ("http://h/1|http://h/3|http://h/2", Column(2));
    EXPECT_EQ("1.|2.|3.", Column(0));
    EXPECT_EQ(1, GetSelectedListRow(window, IDC_CHANNEL_LIST, -1));
    EXPECT_EQ(-1, GetSelectedListRow(window, IDC_CHANNEL_LIST, 1));
    AltKey(VK_DOWN);
    EXPECT_EQ("T1|T2|T3", Column(1));
    EXPECT_EQ(2, GetSelectedListRow(window, IDC_CHANNEL_LIST, -1));
    EXPECT_EQ(0, g_main.changedFlag) << "reordering is not an unsaved change";
}

TEST_F(ChannelEditorTest, DraggingTheFirstRowOntoTheFourthShiftsTheOthersUp)
{
    LoadChannels(5);
    Select(0);
    BeginDrag(0);
    EXPECT_EQ(list, GetCapture());
    EXPECT_EQ(0, DragIndex());
    MouseMove(RowPoint(3));
    EXPECT_EQ(3, DragIndex());
    EXPECT_EQ("T2|T3|T4|T1|T5", Column(1));
    EXPECT_EQ("http://h/2|http://h/3|http://h/4|http://h/1|http://h/5", Column(2));
    EXPECT_EQ("1.|2.|3.|4.|5.", Column(0));
    EXPECT_EQ(3, GetSelectedListRow(window, IDC_CHANNEL_LIST, -1));
    EXPECT_EQ(-1, GetSelectedListRow(window, IDC_CHANNEL_LIST, 3));
    EXPECT_EQ(3, (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED));

    // Back up one row: the row follows the mouse.
    MouseMove(RowPoint(2));
    EXPECT_EQ("T2|T3|T1|T4|T5", Column(1));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(RowPoint(2).x, RowPoint(2).y));
    EXPECT_EQ(-1, DragIndex());
    EXPECT_NE(list, GetCapture());
    // After the drag, moving the mouse moves nothing.
    MouseMove(RowPoint(0));
    EXPECT_EQ("T2|T3|T1|T4|T5", Column(1));
    EXPECT_EQ(0, g_main.changedFlag);
}

TEST_F(ChannelEditorTest, MovesOverTheDraggedRowOrOutsideAllRowsChangeNothing)
{
    LoadChannels(4);
    BeginDrag(1);
    MouseMove(RowPoint(1));
    SendMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(-4, -4));   // left of and above the list
    RECT client;
    GetClientRect(list, &client);
    POINT below = {RowPoint(0).x, client.bottom - 2};
    MouseMove(below);
    EXPECT_EQ("T1|T2|T3|T4", Column(1));
    EXPECT_EQ(1, DragIndex());
    SendMessageA(list, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(-1, DragIndex());
}

TEST_F(ChannelEditorTest, DragIndexLeftBehindByDeletedRowsMovesNothing)
{
    LoadChannels(5);
    BeginDrag(4);
    Select(0);
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_DELETE);
    QueueBoxAnswer(IDOK);
    Command(window, IDC_CHANNEL_DELETE);
    ASSERT_EQ(3, GetListRowCount(window, IDC_CHANNEL_LIST));
    MouseMove(RowPoint(1));
    EXPECT_EQ("T3|T4|T5", Column(1));
    EXPECT_EQ("http://h/3|http://h/4|http://h/5", Column(2));
    SendMessageA(list, WM_LBUTTONUP, 0, 0);
}

TEST_F(ChannelEditorTest, WithoutItsAtomTheDragRowIsKeptByName)
{
    ATOM saved = g_atomUserPrm1;
    g_atomUserPrm1 = 0;
    LoadChannels(3);
    SetDragRow(list, -1);
    MouseMove(RowPoint(2));
    EXPECT_EQ("T1|T2|T3", Column(1)) << "no drag in progress: a mouse move moves nothing";
    BeginDrag(0);
    MouseMove(RowPoint(1));
    EXPECT_EQ("T2|T1|T3", Column(1));
    SendMessageA(list, WM_LBUTTONUP, 0, 0);
    MouseMove(RowPoint(2));
    EXPECT_EQ("T2|T1|T3", Column(1));
    g_atomUserPrm1 = saved;
}

TEST_F(ChannelEditorTest, MoveListRowCarriesLongCellsAndLeavesColumnZero)
{
    LoadChannels(3);
    std::string longText(300, 'L');
    SetListCellText(window, IDC_CHANNEL_LIST, 2, 2, longText.c_str());
    MoveListRow(list, 2, 0, 3);
    EXPECT_EQ(longText, Cell(window, IDC_CHANNEL_LIST, 0, 2));
    EXPECT_EQ("T3|T1|T2", Column(1));
    EXPECT_EQ("1.|2.|3.", Column(0));
    MoveListRow(list, 1, 1, 3);
    EXPECT_EQ("T3|T1|T2", Column(1));
    MoveListRow(list, 0, 7, 3);
    MoveListRow(list, -1, 0, 3);
    EXPECT_EQ("T3|T1|T2", Column(1));
}

}  // namespace
