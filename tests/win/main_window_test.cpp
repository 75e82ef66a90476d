// main_window_test.cpp: the main window's controls, its state after creation, routing and the close command.
#include "tests/win/ui_test_helpers.h"
#include "winkit/show_message.h"
#include "ui/texts.h"
#include "winkit/settings_file.h"
#include "ui/channel_editor.h"
#include "ui/main_state.h"

using namespace uitest;

namespace {

// One row of the dialog template: id (-1 for unnamed labels), class, text, style bits checked, rectangle in DLU.
struct ControlRow {
    int id;
    const char *cls;
    const char *text;
    DWORD style;   // compared under kStyleMask
    int x, y, w, h;
};

const DWORD kStyleMask = WS_TABSTOP | WS_GROUP | WS_BORDER | WS_VISIBLE | 0xFFFF;
const DWORD kList = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP | WS_GROUP;
const DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD kPush = BS_PUSHBUTTON | BS_CENTER;

const ControlRow kControls[] = {
    {IDC_WINDOW_NAME, "Static", "SetRadio", SS_LEFT | WS_GROUP, -2, -22, 50, 8},
    {IDC_SEARCH, "Button", TEXT_SEARCH_BUTTON, kPush | WS_TABSTOP | WS_GROUP, 4, 5, 45, 13},
    {IDC_SEARCH_PROGRESS, "msctls_progress32", "", WS_BORDER, 57, 7, 112, 10},
    {IDC_DEVICE_LIST, "SysListView32", "", kList, 4, 21, 166, 55},
    {IDC_MODE_STATIC, "Button", "Static", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 188, 8, 32, 10},
    {IDC_MODE_DHCP, "Button", "DHCP", BS_AUTORADIOBUTTON, 224, 8, 32, 10},
    {IDC_MODE_PPPOE, "Button", "PPPoE", BS_AUTORADIOBUTTON, 260, 8, 36, 10},
    {IDC_LOCALIP_LABEL, "Static", "Local IP", SS_RIGHT, 172, 24, 32, 8},
    {IDC_LOCALIP, "Edit", 0, kEdit | WS_GROUP, 208, 22, 86, 12},
    {IDC_SUBNET_LABEL, "Static", "Subnet", SS_RIGHT, 172, 38, 32, 8},
    {IDC_SUBNET, "Edit", 0, kEdit, 208, 36, 86, 12},
    {IDC_GATEWAY_LABEL, "Static", "Gateway", SS_RIGHT, 172, 52, 32, 8},
    {IDC_GATEWAY, "Edit", 0, kEdit | WS_GROUP, 208, 50, 86, 12},
    {IDC_DNS_LABEL, "Static", "DNS", SS_RIGHT, 172, 66, 32, 8},
    {IDC_DNS, "Edit", 0, kEdit | WS_GROUP, 208, 64, 86, 12},
    {IDC_PPPOE_ID_LABEL, "Static", "ID", SS_RIGHT, 172, 24, 32, 8},
    {IDC_PPPOE_ID, "Edit", "", kEdit | WS_GROUP, 208, 22, 86, 12},
    {IDC_PPPOE_PSW_LABEL, "Static", "Psw", SS_RIGHT, 172, 38, 32, 8},
    {IDC_PPPOE_PSW, "Edit", "", kEdit | ES_PASSWORD, 208, 36, 86, 12},
    {-1, "Static", TEXT_PLS_URL1_LABEL, SS_RIGHT, 54, 255, 30, 10},
    {IDC_PLS_URL1, "Edit", "", kEdit | WS_GROUP, 86, 253, 208, 12},
    {-1, "Static", TEXT_PLS_URL2_LABEL, SS_RIGHT, 54, 269, 30, 10},
    {IDC_PLS_URL2, "Edit", "", kEdit | WS_GROUP, 86, 267, 208, 12},
    {-1, "Static", TEXT_CHANNEL_LIST_LABEL, SS_LEFT, 5, 82, 51, 8},
    {IDC_CHANNEL_LIST, "SysListView32", "", kList, 4, 90, 290, 96},
    {-1, "Static", TEXT_CHANNEL_NAME_LABEL, SS_RIGHT, 3, 194, 28, 8},
    {IDC_CHANNEL_NAME, "Edit", "", kEdit | WS_GROUP, 33, 192, 102, 12},
    {-1, "Static", TEXT_SERVER_URL_LABEL, SS_RIGHT, 3, 208, 28, 8},
    {IDC_CHANNEL_URL, "Edit", "", kEdit | WS_GROUP, 33, 206, 102, 12},
    {IDC_CHANNEL_ADD, "Button", TEXT_CHANNEL_ADD_BUTTON, kPush | WS_TABSTOP | WS_GROUP, 140, 191, 36, 14},
    {IDC_CHANNEL_MODIFY, "Button", TEXT_CHANNEL_MODIFY_BUTTON, kPush, 140, 205, 36, 14},
    {IDC_CHANNEL_DELETE, "Button", TEXT_CHANNEL_DELETE_BUTTON, kPush, 178, 191, 36, 14},
    {IDC_CHANNEL_DELETE_ALL, "Button", TEXT_CHANNEL_DELETE_ALL_BUTTON, kPush, 178, 205, 36, 14},
    {IDC_SEND, "Button", TEXT_SEND_BUTTON, BS_OWNERDRAW | WS_TABSTOP | WS_GROUP, 230, 191, 30, 28},
    {IDCANCEL, "Button", TEXT_CLOSE_BUTTON, BS_OWNERDRAW, 263, 191, 30, 28},
};
const int kControlCount = sizeof kControls / sizeof kControls[0];

// Template styles as the window holds them. The dialog manager turns a border into a sunken client
// edge, and a radio button's tab stop follows its check mark, so both are compared apart.
DWORD TemplateStyle(HWND child)
{
    DWORD style = (DWORD)GetWindowLongA(child, GWL_STYLE) & kStyleMask & ~WS_VISIBLE;
    if (GetWindowLongA(child, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) style |= WS_BORDER;
    if ((style & 0xF) == BS_AUTORADIOBUTTON) style &= ~WS_TABSTOP;
    return style;
}

// Where the layout puts a template rectangle once the client area has grown by dx, dy: controls right
// of or below the anchor move, those across it stretch.
RECT LaidOut(RECT r, POINT anchor, int dx, int dy)
{
    if (r.left > anchor.x) OffsetRect(&r, dx, 0);
    else if (r.right > anchor.x) r.right += dx;
    if (r.top > anchor.y) OffsetRect(&r, 0, dy);
    else if (r.bottom > anchor.y) r.bottom += dy;
    return r;
}

RECT TemplateRect(HWND window, const ControlRow &row)
{
    // Position and size are converted apart, as the dialog manager does.
    RECT place = {row.x, row.y, row.w, row.h};
    MapDialogRect(window, &place);
    RECT r = {place.left, place.top, place.left + place.right, place.top + place.bottom};
    return r;
}

class MainWindowTest : public WindowTest {
protected:
    // What a command without a handler must leave alone: enabled and shown state, texts, rows, the flag.
    std::string Snapshot()
    {
        std::string s;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char text[256];
            GetWindowText949(child, text, sizeof text);
            s += std::to_string(GetDlgCtrlID(child)) + (IsWindowEnabled(child) ? "e" : "d") +
                 (IsWindowVisible(child) ? "v" : "h") + text + "|";
        }
        s += std::to_string(GetListRowCount(window, IDC_DEVICE_LIST)) + "/" +
             std::to_string(GetListRowCount(window, IDC_CHANNEL_LIST)) + "/" + std::to_string(g_main.changedFlag) +
             "/" + std::to_string(GetCheckedRadio(window, IDC_MODE_STATIC, 3));
        return s;
    }

    // Triggers one way of closing; with ChangedFlag set, Cancel keeps the window, OK closes it.
    void CheckCloseRoute(void (*route)(HWND), const char *name)
    {
        std::string before = FileBytes(SettingsPath949().c_str());
        g_main.changedFlag = 1;
        QueueBoxAnswer(IDCANCEL);
        route(window);
        PumpMessages(window, 50);
        ASSERT_EQ(1, BoxCount()) << name;
        EXPECT_STREQ(TEXT_CONFIRM_QUIT, BoxText(0)) << name;
        EXPECT_STREQ(TEXT_MAIN_CAPTION, BoxCaption(0)) << name;
        EXPECT_TRUE(IsWindow(window)) << name;
        EXPECT_NE(NO_SOCKET, DeviceLinkSocket()) << name << ": the device socket must stay open";
        EXPECT_TRUE(g_main.sendImage != 0 && g_main.closeImage != 0) << name;
        EXPECT_EQ(before, FileBytes(SettingsPath949().c_str())) << name << ": no column widths may be written";

        QueueBoxAnswer(IDOK);
        route(window);
        PumpMessages(window, 50);
        EXPECT_EQ(2, BoxCount()) << name;
        EXPECT_FALSE(IsWindow(window)) << name;
        EXPECT_EQ(NO_SOCKET, DeviceLinkSocket()) << name;
        EXPECT_TRUE(g_main.sendImage == 0 && g_main.closeImage == 0) << name;
        EXPECT_EQ(0, UnexpectedBoxCount()) << name;
    }
};

void PressEscape(HWND window)
{
    MSG msg;
    memset(&msg, 0, sizeof msg);
    msg.hwnd = window;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    msg.lParam = 1;
    IsDialogMessageA(window, &msg);
}
void PressCloseBox(HWND window) { SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }
void PressCloseButton(HWND window) { SendMessageA(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0); }
void SendCommandTwo(HWND window) { SendMessageA(window, WM_COMMAND, IDCANCEL, 0); }

TEST_F(MainWindowTest, ControlsFollowTheTemplateInClassTextStyleAndPlace)
{
    // The minimum size may have widened the window beyond the template at creation.
    RECT client, templ = {0, 0, 299, 224};
    GetClientRect(window, &client);
    MapDialogRect(window, &templ);
    int dx = client.right - templ.right;
    int dy = client.bottom - templ.bottom;
    POINT anchor = {TemplateRect(window, kControls[20]).left + 1, TemplateRect(window, kControls[24]).top + 1};
    ASSERT_EQ(IDC_PLS_URL1, kControls[20].id);
    ASSERT_EQ(IDC_CHANNEL_LIST, kControls[24].id);
    HWND child = GetWindow(window, GW_CHILD);
    for (int i = 0; i < kControlCount; i++) {
        while (child && GetDlgCtrlID(child) == IDC_SIZE_GRIP) child = GetWindow(child, GW_HWNDNEXT);
        ASSERT_TRUE(child != 0) << "control " << i << " missing";
        const ControlRow &row = kControls[i];
        char cls[64];
        GetClassNameA(child, cls, sizeof cls);
        EXPECT_EQ(row.id, (int)(short)GetDlgCtrlID(child)) << "control " << i;
        EXPECT_STREQ(row.cls, cls) << "control " << i;
        if (row.text) {
            char text[128];
            GetWindowText949(child, text, sizeof text);
            EXPECT_STREQ(row.text, text) << "control " << i;
        }
        DWORD style = row.style;
        if ((style & 0xF) == BS_AUTORADIOBUTTON) style &= ~WS_TABSTOP;
        DWORD actualStyle = TemplateStyle(child);
        // The progress bar draws its own frame and drops the border style when it is created.
        if (lstrcmpA(cls, "msctls_progress32") == 0) {
            style &= ~WS_BORDER;
            actualStyle &= ~WS_BORDER;
        }
        EXPECT_EQ(style, actualStyle) << "control " << i << " id " << row.id;
        if ((row.style & 0xF) == BS_AUTORADIOBUTTON) {
            EXPECT_EQ(IsDlgButtonChecked(window, row.id) == BST_CHECKED,
                      (GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) != 0) << "radio " << row.id;
        }
        RECT expected = LaidOut(TemplateRect(window, row), anchor, dx, dy);
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(0, window, (POINT *)&actual, 2);
        EXPECT_EQ(expected.left, actual.left) << "control " << i;
        EXPECT_EQ(expected.top, actual.top) << "control " << i;
        EXPECT_EQ(expected.right, actual.right) << "control " << i;
        EXPECT_EQ(expected.bottom, actual.bottom) << "control " << i;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    char caption[128];
    GetWindowText949(window, caption, sizeof caption);
    EXPECT_STREQ(TEXT_MAIN_CAPTION, caption);
    char cls[64];
    GetClassNameA(window, cls, sizeof cls);
    EXPECT_STREQ("RecordMainDlg", cls);
}

TEST_F(MainWindowTest, RightAfterCreationDhcpIsCheckedAndDeviceControlsAreOff)
{
    EXPECT_EQ(1, GetCheckedRadio(window, IDC_MODE_STATIC, 3));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(window, IDC_MODE_DHCP));
    const int address[] = {IDC_LOCALIP_LABEL, IDC_SUBNET_LABEL, IDC_GATEWAY_LABEL, IDC_DNS_LABEL,
                           IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY, IDC_DNS};
    for (int id : address) EXPECT_TRUE(Shown(window, id)) << id;
    for (int id : {IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY, IDC_DNS}) EXPECT_FALSE(Enabled(window, id)) << id;
    for (int id : {IDC_PPPOE_ID_LABEL, IDC_PPPOE_ID, IDC_PPPOE_PSW_LABEL, IDC_PPPOE_PSW})
        EXPECT_FALSE(Shown(window, id)) << id;
    for (int id : {IDC_SEND, IDC_MODE_STATIC, IDC_MODE_DHCP, IDC_MODE_PPPOE, IDC_PLS_URL1, IDC_PLS_URL2,
                   IDC_CHANNEL_LIST, IDC_CHANNEL_ADD, IDC_CHANNEL_MODIFY, IDC_CHANNEL_DELETE,
                   IDC_CHANNEL_DELETE_ALL, IDC_CHANNEL_NAME, IDC_CHANNEL_URL})
        EXPECT_FALSE(Enabled(window, id)) << id;
    EXPECT_TRUE(Enabled(window, IDC_SEARCH));
    EXPECT_TRUE(Enabled(window, IDC_DEVICE_LIST));
    EXPECT_TRUE(Enabled(window, IDCANCEL));
    EXPECT_EQ(0, g_main.changedFlag);
    EXPECT_TRUE(g_main.sendImage != 0);
    EXPECT_TRUE(g_main.closeImage != 0);
    EXPECT_NE(NO_SOCKET, DeviceLinkSocket());
    EXPECT_EQ(-1, (int)(INT_PTR)GetPropA(Item(IDC_CHANNEL_LIST), MAKEINTATOM(g_atomUserPrm1)));
    EXPECT_TRUE(GetPropA(Item(IDC_CHANNEL_LIST), "OrgWndProc") != 0);
    EXPECT_EQ(0, BoxCount());
}

TEST_F(MainWindowTest, ListColumnsHaveTheirTitlesWidthsAndFullRowSelection)
{
    struct Column { int list, column; const char *title; int dlu; };
    const Column columns[] = {
        {IDC_DEVICE_LIST, 0, "Mac Addr", 100}, {IDC_DEVICE_LIST, 1, "F/W Ver", 43},
        {IDC_CHANNEL_LIST, 0, TEXT_COLUMN_NUMBER, 20}, {IDC_CHANNEL_LIST, 1, TEXT_COLUMN_TITLE, 80},
        {IDC_CHANNEL_LIST, 2, TEXT_COLUMN_SERVER, 152},
    };
    for (const Column &c : columns) {
        WCHAR wideTitle[64] = L"";
        LVCOLUMNW info;
        memset(&info, 0, sizeof info);
        info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        info.pszText = wideTitle;
        info.cchTextMax = 64;
        ASSERT_TRUE(SendDlgItemMessageW(window, c.list, LVM_GETCOLUMNW, c.column, (LPARAM)&info)) << c.title;
        char title[64] = "";
        WideCharToMultiByte(949, 0, wideTitle, -1, title, sizeof title, 0, 0);
        EXPECT_STREQ(c.title, title);
        EXPECT_EQ(DialogUnitsToPixelsX(c.dlu), info.cx) << c.title;
        EXPECT_EQ(LVCFMT_LEFT, info.fmt & LVCFMT_JUSTIFYMASK) << c.title;
    }
    EXPECT_EQ(-1, GetListColumnWidth(window, IDC_DEVICE_LIST, 2));
    EXPECT_EQ(-1, GetListColumnWidth(window, IDC_CHANNEL_LIST, 3));
    for (int list : {IDC_DEVICE_LIST, IDC_CHANNEL_LIST})
        EXPECT_EQ(LVS_EX_FULLROWSELECT, (int)SendDlgItemMessageA(window, list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

TEST_F(MainWindowTest, TabOrderFollowsTheTemplateSkippingHiddenAndDisabledControls)
{
    // A device selected in Static mode: every device-dependent control and the address edits take part.
    AddDeviceRow(window, "OpCode=IMIN\r\nDhcpMode=0\r\nNumberOfEntries=0\r\n", "m");
    ClickDeviceRow(window, 0);
    ASSERT_EQ(0, GetCheckedRadio(window, IDC_MODE_STATIC, 3));
    const int order[] = {IDC_SEARCH, IDC_DEVICE_LIST, IDC_MODE_STATIC, IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY,
                         IDC_DNS, IDC_PLS_URL1, IDC_PLS_URL2, IDC_CHANNEL_LIST, IDC_CHANNEL_NAME,
                         IDC_CHANNEL_URL, IDC_CHANNEL_ADD, IDC_SEND, IDC_SEARCH};
    HWND at = Item(order[0]);
    for (size_t i = 1; i < sizeof order / sizeof order[0]; i++) {
        at = GetNextDlgTabItem(window, at, FALSE);
        ASSERT_EQ(order[i], GetDlgCtrlID(at)) << "step " << i;
    }
    // Without a device the disabled controls drop out.
    ClearListSelection(window, IDC_DEVICE_LIST);
    SendClick(window, IDC_DEVICE_LIST);
    EXPECT_EQ(IDC_SEARCH, GetDlgCtrlID(GetNextDlgTabItem(window, Item(IDC_DEVICE_LIST), FALSE)));
}

TEST_F(MainWindowTest, EscapeEndsInTheCloseCommand) { CheckCloseRoute(PressEscape, "Esc"); }
TEST_F(MainWindowTest, CloseBoxEndsInTheCloseCommand) { CheckCloseRoute(PressCloseBox, "close box"); }
TEST_F(MainWindowTest, CloseButtonEndsInTheCloseCommand) { CheckCloseRoute(PressCloseButton, "close button"); }
TEST_F(MainWindowTest, CommandTwoEndsInTheCloseCommand) { CheckCloseRoute(SendCommandTwo, "command 2"); }

TEST_F(MainWindowTest, CloseWithoutChangesAsksNothingAndStoresColumnWidths)
{
    SetListColumnWidth(window, IDC_CHANNEL_LIST, 1, 77);
    SendCommandTwo(window);
    EXPECT_EQ(0, BoxCount());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(NO_SOCKET, DeviceLinkSocket());
    // The next window takes the stored width.
    window = CreateMainWindow();
    ASSERT_TRUE(window != 0);
    EXPECT_EQ(77, GetListColumnWidth(window, IDC_CHANNEL_LIST, 1));
}

TEST_F(MainWindowTest, CloseRequestArrivingWhileTheQuestionIsOpenIsIgnored)
{
    g_main.changedFlag = 1;
    QueueBoxAnswer(IDOK);
    // Dispatched by the question's own message loop.
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    SendCommandTwo(window);
    PumpMessages(0, 50);
    EXPECT_EQ(1, BoxCount());
    EXPECT_EQ(0, UnexpectedBoxCount());
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MainWindowTest, CommandsWithoutHandlerChangeNothing)
{
    AddDeviceRow(window, "OpCode=IMIN\r\nDhcpMode=2\r\nPPPoEID=u\r\nNumberOfEntries=1\r\nTitle1=t\r\nFile1=f\r\n", "m");
    ClickDeviceRow(window, 0);
    std::string before = Snapshot();
    for (int id : {1, IDM_HELP, 0, 999, 0xFFFF}) {
        EXPECT_EQ(TRUE, MainDialogProc(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0)) << id;
        EXPECT_EQ(TRUE, MainDialogProc(window, WM_COMMAND, MAKEWPARAM(id, 1), 0)) << id;
    }
    PumpMessages(window, 20);
    EXPECT_EQ(before, Snapshot());
    EXPECT_EQ(0, BoxCount());
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(MainWindowTest, ResultsFollowTheRoutingTable)
{
    // Mode radios: any notification code runs the form update.
    CheckRadio(window, IDC_MODE_STATIC, 3, 2);
    EXPECT_EQ(TRUE, MainDialogProc(window, WM_COMMAND, MAKEWPARAM(IDC_MODE_PPPOE, BN_DOUBLECLICKED), 0));
    EXPECT_TRUE(Shown(window, IDC_PPPOE_ID));
    EXPECT_FALSE(Shown(window, IDC_LOCALIP));

    DRAWITEMSTRUCT draw;
    memset(&draw, 0, sizeof draw);
    draw.CtlType = ODT_BUTTON;
    draw.CtlID = 5;
    EXPECT_EQ(TRUE, MainDialogProc(window, WM_DRAWITEM, 5, (LPARAM)&draw));
    EXPECT_EQ(FALSE, MainDialogProc(window, WM_TIMER, 7, 0));
    EXPECT_EQ(FALSE, MainDialogProc(window, WM_USER + 50, 0, 0));

    NMLVKEYDOWN key;
    memset(&key, 0, sizeof key);
    key.hdr.hwndFrom = Item(IDC_CHANNEL_LIST);
    key.hdr.idFrom = IDC_CHANNEL_LIST;
    key.hdr.code = LVN_KEYDOWN;
    key.wVKey = 'A';
    EXPECT_EQ(TRUE, MainDialogProc(window, WM_NOTIFY, IDC_CHANNEL_LIST, (LPARAM)&key));
    // The same code from the DeviceList is not handled, and no delete is posted for other keys.
    key.hdr.hwndFrom = Item(IDC_DEVICE_LIST);
    key.hdr.idFrom = IDC_DEVICE_LIST;
    key.wVKey = VK_DELETE;
    EXPECT_EQ(FALSE, MainDialogProc(window, WM_NOTIFY, IDC_DEVICE_LIST, (LPARAM)&key));
    NMHDR click;
    memset(&click, 0, sizeof click);
    click.hwndFrom = Item(IDC_CHANNEL_LIST);
    click.idFrom = IDC_CHANNEL_LIST;
    click.code = NM_CLICK;
    EXPECT_EQ(FALSE, MainDialogProc(window, WM_NOTIFY, IDC_CHANNEL_LIST, (LPARAM)&click));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
    EXPECT_EQ(0, BoxCount());
}

TEST_F(MainWindowTest, MessageCaptionIsTheOwnersTitleCutTo79Characters)
{
    std::string title(100, 'T');
    title[78] = 'x';
    title[79] = 'y';
    SetText949(window, 0, title.c_str());
    QueueBoxAnswer(IDOK);
    EXPECT_EQ(IDOK, ShowMessage(window, "hello", MB_OK));
    ASSERT_EQ(1, BoxCount());
    EXPECT_EQ(title.substr(0, 79), std::string(BoxCaption(0)));
    EXPECT_STREQ("hello", BoxText(0));
    QueueBoxAnswer(IDCANCEL);
    EXPECT_EQ(IDCANCEL, ShowMessage(window, "question", MB_OKCANCEL));
    // Without an owner the box has the system's own caption, not some window's title.
    QueueBoxAnswer(IDOK);
    EXPECT_EQ(IDOK, ShowMessage(0, "alone", MB_OK));
    ASSERT_EQ(3, BoxCount());
    EXPECT_STRNE("", BoxCaption(2));
    EXPECT_EQ(std::string::npos, std::string(BoxCaption(2)).find("TTT"));
    EXPECT_EQ(0, UnexpectedBoxCount());
}

}  // namespace
