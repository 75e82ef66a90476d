// ui_dialog_items_test.cpp: the dialog item and list view helpers on the real main window's controls.
#include "tests/win/ui_test_helpers.h"

using namespace uitest;

namespace {

class DialogItemsTest : public WindowTest {};

TEST_F(DialogItemsTest, ControlTextIsCutToTheBufferAndTrimmed)
{
    SetText949(window, IDC_CHANNEL_URL, "  \t abc def \t ");
    char buffer[128];
    EXPECT_EQ(7, GetControlText(window, IDC_CHANNEL_URL, buffer, sizeof buffer));
    EXPECT_STREQ("abc def", buffer);

    // Cut first, trimmed afterwards: the blank at the cut goes too.
    SetText949(window, IDC_CHANNEL_URL, "abcd efgh");
    char small[6];
    memset(small, 'x', sizeof small);
    EXPECT_EQ(4, GetControlText(window, IDC_CHANNEL_URL, small, sizeof small));
    EXPECT_STREQ("abcd", small);

    SetText949(window, IDC_CHANNEL_URL, "     ");
    EXPECT_EQ(0, GetControlText(window, IDC_CHANNEL_URL, buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
    // A missing control reads as empty.
    strcpy(buffer, "stale");
    EXPECT_EQ(0, GetControlText(window, 4242, buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
}

TEST_F(DialogItemsTest, CellTextStopsAtTheBufferAndNeverWritesPastIt)
{
    InsertListRow(window, IDC_CHANNEL_LIST, 0, "1.", 0);
    SetListCellText(window, IDC_CHANNEL_LIST, 0, 1, "abcdefghij");
    char buffer[8];
    memset(buffer, '#', sizeof buffer);
    GetListCellText(window, IDC_CHANNEL_LIST, 0, 1, buffer, 5);
    EXPECT_STREQ("abcd", buffer);
    EXPECT_EQ('#', buffer[5]);
    EXPECT_EQ('#', buffer[7]);
    // A missing row or column empties the buffer.
    strcpy(buffer, "stale");
    GetListCellText(window, IDC_CHANNEL_LIST, 3, 1, buffer, sizeof buffer);
    EXPECT_STREQ("", buffer);
    // Id 0: the window given is the list itself.
    GetListCellText(Item(IDC_CHANNEL_LIST), 0, 0, 0, buffer, sizeof buffer);
    EXPECT_STREQ("1.", buffer);
    EXPECT_EQ(1, GetListRowCount(Item(IDC_CHANNEL_LIST), 0));
}

TEST_F(DialogItemsTest, RowDataFallsBackWhenTheRowIsMissing)
{
    InsertListRow(window, IDC_DEVICE_LIST, 0, "a", 0x1234);
    EXPECT_EQ(0x1234, GetListRowData(window, IDC_DEVICE_LIST, 0, -7));
    SetListRowData(window, IDC_DEVICE_LIST, 0, 0x55);
    EXPECT_EQ(0x55, GetListRowData(window, IDC_DEVICE_LIST, 0, -7));
    EXPECT_EQ(-7, GetListRowData(window, IDC_DEVICE_LIST, 1, -7));
    EXPECT_EQ("a", Cell(window, IDC_DEVICE_LIST, 0, 0));
    DeleteAllListRows(window, IDC_DEVICE_LIST);
}

TEST_F(DialogItemsTest, SelectListRowClampsTheIndex)
{
    for (int i = 0; i < 3; i++) InsertListRow(window, IDC_CHANNEL_LIST, i, "r", 0);
    SelectListRow(window, IDC_CHANNEL_LIST, 10);
    EXPECT_EQ(2, GetSelectedListRow(window, IDC_CHANNEL_LIST, -1));
    SelectListRow(window, IDC_CHANNEL_LIST, -5);
    EXPECT_EQ(0, GetSelectedListRow(window, IDC_CHANNEL_LIST, -1));
    EXPECT_EQ(0, (int)SendDlgItemMessageA(window, IDC_CHANNEL_LIST, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED));
    DeleteAllListRows(window, IDC_CHANNEL_LIST);
    SelectListRow(window, IDC_CHANNEL_LIST, 0);   // empty list: nothing to select
    EXPECT_EQ(-1, GetSelectedListRow(window, IDC_CHANNEL_LIST, -1));
}

TEST_F(DialogItemsTest, HitTestReportsNoRowOutsideTheRows)
{
    InsertListRow(window, IDC_CHANNEL_LIST, 0, "r", 0);
    RECT r;
    r.left = LVIR_BOUNDS;
    SendDlgItemMessageA(window, IDC_CHANNEL_LIST, LVM_GETITEMRECT, 0, (LPARAM)&r);
    UINT flags = 0;
    EXPECT_EQ(0, HitTestList(window, IDC_CHANNEL_LIST, r.left + 2, (r.top + r.bottom) / 2, &flags));
    EXPECT_NE(0u, flags & LVHT_ONITEM);
    EXPECT_EQ(-1, HitTestList(window, IDC_CHANNEL_LIST, r.left + 2, r.bottom + 40, 0));
    EXPECT_EQ(-1, HitTestList(Item(IDC_CHANNEL_LIST), 0, 65531, 65531, &flags));
}

TEST_F(DialogItemsTest, RadioHelpersFollowTheLastCheckedButton)
{
    CheckRadio(window, IDC_MODE_STATIC, 3, 2);
    EXPECT_EQ(2, GetCheckedRadio(window, IDC_MODE_STATIC, 3));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(window, IDC_MODE_DHCP));
    // Position count or more: nothing changes.
    CheckRadio(window, IDC_MODE_STATIC, 3, 3);
    EXPECT_EQ(2, GetCheckedRadio(window, IDC_MODE_STATIC, 3));
    // Negative: all unchecked.
    CheckRadio(window, IDC_MODE_STATIC, 3, -1);
    EXPECT_EQ(-1, GetCheckedRadio(window, IDC_MODE_STATIC, 3));
    for (int id = IDC_MODE_STATIC; id <= IDC_MODE_PPPOE; id++) EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(window, id));
    // Two checked at once (set by hand): the last one counts.
    CheckDlgButton(window, IDC_MODE_STATIC, BST_CHECKED);
    CheckDlgButton(window, IDC_MODE_DHCP, BST_CHECKED);
    EXPECT_EQ(1, GetCheckedRadio(window, IDC_MODE_STATIC, 3));
    EXPECT_EQ(0, GetCheckedRadio(window, IDC_MODE_STATIC, 1));
}

TEST_F(DialogItemsTest, DialogUnitsUseTheSystemBaseUnitsRounded)
{
    LONG base = GetDialogBaseUnits();
    int bx = LOWORD(base), by = HIWORD(base);
    EXPECT_EQ(bx, DialogUnitsToPixelsX(4));
    EXPECT_EQ(by, DialogUnitsToPixelsY(8));
    EXPECT_EQ(-25 * bx, DialogUnitsToPixelsX(-100));
    EXPECT_EQ(0, DialogUnitsToPixelsX(0));
    // Halves round away from zero, not down.
    EXPECT_EQ((bx + 1) / 2, DialogUnitsToPixelsX(2));
    EXPECT_EQ((by + 1) / 2, DialogUnitsToPixelsY(4));
    // No overflow in the product.
    EXPECT_EQ(25000000 * bx, DialogUnitsToPixelsX(100000000));
}

TEST_F(DialogItemsTest, ColumnsAndRowsThroughTheListHelpers)
{
    EXPECT_EQ(-1, GetListColumnWidth(window, IDC_CHANNEL_LIST, 5));
    SetListColumnWidth(window, IDC_CHANNEL_LIST, 2, 61);
    EXPECT_EQ(61, GetListColumnWidth(Item(IDC_CHANNEL_LIST), 0, 2));
    EXPECT_EQ(0, InsertListRow(window, IDC_CHANNEL_LIST, 0, "b", 0));
    EXPECT_EQ(0, InsertListRow(window, IDC_CHANNEL_LIST, 0, "a", 0));
    EXPECT_EQ(2, InsertListRow(window, IDC_CHANNEL_LIST, 9, "c", 0)) << "past the end goes to the end";
    DeleteListRow(window, IDC_CHANNEL_LIST, 1);
    EXPECT_EQ("a", Cell(window, IDC_CHANNEL_LIST, 0, 0));
    EXPECT_EQ("c", Cell(window, IDC_CHANNEL_LIST, 1, 0));
    SetListRowState(Item(IDC_CHANNEL_LIST), 0, 1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(1, GetSelectedListRow(Item(IDC_CHANNEL_LIST), 0, -1));
    EXPECT_EQ(-1, GetSelectedListRow(window, IDC_CHANNEL_LIST, 1));
}

TEST_F(DialogItemsTest, EnableShowAndFocusAddressOneControl)
{
    EnableControl(window, IDC_CHANNEL_NAME, 1);
    EXPECT_TRUE(Enabled(window, IDC_CHANNEL_NAME));
    FocusControl(window, IDC_CHANNEL_NAME);
    EXPECT_EQ(Item(IDC_CHANNEL_NAME), GetFocus());
    EnableControl(window, IDC_CHANNEL_NAME, 0);
    EXPECT_FALSE(Enabled(window, IDC_CHANNEL_NAME));
    ShowControl(window, IDC_SEARCH, 0);
    EXPECT_FALSE(Shown(window, IDC_SEARCH));
    ShowControl(window, IDC_SEARCH, 7);
    EXPECT_TRUE(Shown(window, IDC_SEARCH));
    RECT a, b;
    GetControlRect(window, IDC_SEARCH, &a);
    GetWindowRect(Item(IDC_SEARCH), &b);
    EXPECT_TRUE(EqualRect(&a, &b));
}

}  // namespace
