// app_template_test.cpp: the main window as dialog template 6 builds it: class, caption, controls, tab order.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "common/platform.h"
#include <commctrl.h>
#include "app/startup.h"
#include "res/resource.h"
#include "tests/win/test_support.h"
#include "ui/texts.h"
#include "winkit/program_module.h"

namespace {

// One control as the resource holds it.
struct ControlRow {
    int id;
    const char *className;
    DWORD style;           // exact style, WS_CHILD | WS_VISIBLE included
    short x, y, cx, cy;    // dialog units
};

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kList = kChild | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_BORDER |
                    WS_TABSTOP | WS_GROUP;
const DWORD kEdit = kChild | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD kLabel = kChild | SS_RIGHT;
const DWORD kPush = kChild | BS_PUSHBUTTON | BS_CENTER;

// Template order, which is the tab order; unnumbered labels have id -1 (0xFFFF).
const ControlRow kRows[] = {
    {IDC_WINDOW_NAME, "Static", kChild | SS_LEFT | WS_GROUP, -2, -22, 50, 8},
    {IDC_SEARCH, "Button", kPush | WS_TABSTOP | WS_GROUP, 4, 5, 45, 13},
    {IDC_SEARCH_PROGRESS, "msctls_progress32", kChild | WS_BORDER, 57, 7, 112, 10},
    {IDC_DEVICE_LIST, "SysListView32", kList, 4, 21, 166, 55},
    {IDC_MODE_STATIC, "Button", kChild | BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 188, 8, 32, 10},
    {IDC_MODE_DHCP, "Button", kChild | BS_AUTORADIOBUTTON, 224, 8, 32, 10},
    {IDC_MODE_PPPOE, "Button", kChild | BS_AUTORADIOBUTTON, 260, 8, 36, 10},
    {IDC_LOCALIP_LABEL, "Static", kLabel, 172, 24, 32, 8},
    {IDC_LOCALIP, "Edit", kEdit | WS_GROUP, 208, 22, 86, 12},
    {IDC_SUBNET_LABEL, "Static", kLabel, 172, 38, 32, 8},
    {IDC_SUBNET, "Edit", kEdit, 208, 36, 86, 12},
    {IDC_GATEWAY_LABEL, "Static", kLabel, 172, 52, 32, 8},
    {IDC_GATEWAY, "Edit", kEdit | WS_GROUP, 208, 50, 86, 12},
    {IDC_DNS_LABEL, "Static", kLabel, 172, 66, 32, 8},
    {IDC_DNS, "Edit", kEdit | WS_GROUP, 208, 64, 86, 12},
    {IDC_PPPOE_ID_LABEL, "Static", kLabel, 172, 24, 32, 8},
    {IDC_PPPOE_ID, "Edit", kEdit | WS_GROUP, 208, 22, 86, 12},
    {IDC_PPPOE_PSW_LABEL, "Static", kLabel, 172, 38, 32, 8},
    {IDC_PPPOE_PSW, "Edit", kEdit | ES_PASSWORD, 208, 36, 86, 12},
    {0xFFFF, "Static", kLabel, 54, 255, 30, 10},
    {IDC_PLS_URL1, "Edit", kEdit | WS_GROUP, 86, 253, 208, 12},
    {0xFFFF, "Static", kLabel, 54, 269, 30, 10},
    {IDC_PLS_URL2, "Edit", kEdit | WS_GROUP, 86, 267, 208, 12},
    {0xFFFF, "Static", kChild | SS_LEFT, 5, 82, 51, 8},
    {IDC_CHANNEL_LIST, "SysListView32", kList, 4, 90, 290, 96},
    {0xFFFF, "Static", kLabel, 3, 194, 28, 8},
    {IDC_CHANNEL_NAME, "Edit", kEdit | WS_GROUP, 33, 192, 102, 12},
    {0xFFFF, "Static", kLabel, 3, 208, 28, 8},
    {IDC_CHANNEL_URL, "Edit", kEdit | WS_GROUP, 33, 206, 102, 12},
    {IDC_CHANNEL_ADD, "Button", kPush | WS_TABSTOP | WS_GROUP, 140, 191, 36, 14},
    {IDC_CHANNEL_MODIFY, "Button", kPush, 140, 205, 36, 14},
    {IDC_CHANNEL_DELETE, "Button", kPush, 178, 191, 36, 14},
    {IDC_CHANNEL_DELETE_ALL, "Button", kPush, 178, 205, 36, 14},
    {IDC_SEND, "Button", kChild | BS_OWNERDRAW | WS_TABSTOP | WS_GROUP, 230, 191, 30, 28},
    {IDCANCEL, "Button", kChild | BS_OWNERDRAW, 263, 191, 30, 28},
};
const size_t kRowCount = sizeof kRows / sizeof kRows[0];

// Reads a name-or-ordinal field of a dialog template; ordinals of the predefined classes become names.
const WORD *ReadField(const WORD *p, std::string *out)
{
    out->clear();
    if (*p == 0xFFFF) {
        const char *known[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
        WORD ordinal = p[1];
        *out = ordinal >= 0x80 && ordinal <= 0x85 ? known[ordinal - 0x80] : "#" + std::to_string(ordinal);
        return p + 2;
    }
    while (*p) {
        char c[4];
        int n = WideCharToMultiByte(949, 0, (const WCHAR *)p, 1, c, sizeof c, 0, 0);
        out->append(c, n);
        ++p;
    }
    return p + 1;
}

const WORD *AlignDword(const WORD *p)
{
    return (const WORD *)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
}

// The resource exactly as stored: every control's id, class, text-independent style and rectangle.
TEST(DialogTemplate, ResourceMatchesTheMainWindowTable)
{
    HRSRC found = FindResourceA(g_instance, MAKEINTRESOURCEA(IDD_MAIN), (LPCSTR)RT_DIALOG);
    ASSERT_TRUE(found != 0);
    const DLGTEMPLATE *t = (const DLGTEMPLATE *)LockResource(LoadResource(g_instance, found));
    ASSERT_TRUE(t != 0);
    ASSERT_NE(0xFFFF0001u, *(const DWORD *)t) << "expected a classic template";
    const DWORD windowStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                              WS_MAXIMIZEBOX | DS_3DLOOK | DS_SETFONT;
    EXPECT_EQ(windowStyle, t->style);
    EXPECT_EQ(10, t->x);
    EXPECT_EQ(1, t->y);
    EXPECT_EQ(299, t->cx);
    EXPECT_EQ(224, t->cy);
    ASSERT_EQ(kRowCount, (size_t)t->cdit);
    std::string menu, cls, caption, font;
    const WORD *p = (const WORD *)(t + 1);
    p = ReadField(p, &menu);
    p = ReadField(p, &cls);
    p = ReadField(p, &caption);
    EXPECT_EQ("", menu);
    EXPECT_EQ(0, lstrcmpiA("RecordMainDlg", cls.c_str())) << cls;  // class names ignore case
    EXPECT_EQ("인터넷라디오 채널등록", caption);
    EXPECT_EQ(9, *p++);
    p = ReadField(p, &font);
    EXPECT_EQ("굴림", font);
    for (size_t i = 0; i < kRowCount; ++i) {
        p = AlignDword(p);
        const DLGITEMTEMPLATE *item = (const DLGITEMTEMPLATE *)p;
        const ControlRow &row = kRows[i];
        EXPECT_EQ(row.id, item->id) << "position " << i;
        EXPECT_EQ(row.style, item->style) << "position " << i << " id " << row.id;
        EXPECT_EQ(0u, item->dwExtendedStyle) << "position " << i;
        EXPECT_EQ(row.x, item->x) << "position " << i;
        EXPECT_EQ(row.y, item->y) << "position " << i;
        EXPECT_EQ(row.cx, item->cx) << "position " << i;
        EXPECT_EQ(row.cy, item->cy) << "position " << i;
        p = (const WORD *)(item + 1);
        std::string itemClass, text;
        p = ReadField(p, &itemClass);
        p = ReadField(p, &text);
        EXPECT_EQ(0, lstrcmpiA(row.className, itemClass.c_str())) << "position " << i << " " << itemClass;
        WORD extra = *p++;
        p = (const WORD *)((const BYTE *)p + extra);
    }
}

class TemplateTest : public testing::Test {
protected:
    WCHAR saved_[MAX_PATH];
    HWND w_ = 0;
    void SetUp() override
    {
        UsePrivateSettingsFile("h4_template.ini", saved_);
        w_ = CreateMainWindow();
    }
    void TearDown() override
    {
        DestroyMainWindow(w_);
        RestoreSettingsFile(saved_);
    }
};

TEST_F(TemplateTest, WindowClassCaptionAndStyle)
{
    ASSERT_TRUE(w_ != 0);
    char text[64];
    GetClassNameA(w_, text, sizeof text);
    EXPECT_STREQ("RecordMainDlg", text);
    GetWindowText949(w_, text, sizeof text);
    EXPECT_STREQ("인터넷라디오 채널등록", text);
    LONG style = GetWindowLongA(w_, GWL_STYLE);
    const LONG wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    EXPECT_EQ(wanted, style & wanted);
    GetText949(w_, IDC_WINDOW_NAME, text, sizeof text);
    EXPECT_STREQ("SetRadio", text);
}

TEST_F(TemplateTest, WindowHasTheControlsInTemplateOrder)
{
    std::vector<HWND> children;
    for (HWND c = GetWindow(w_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (GetDlgCtrlID(c) != IDC_SIZE_GRIP) children.push_back(c);
    const size_t count = sizeof kRows / sizeof kRows[0];
    ASSERT_EQ(count, children.size());
    for (size_t i = 0; i < count; ++i) {
        HWND c = children[i];
        EXPECT_EQ(kRows[i].id, GetDlgCtrlID(c) & 0xFFFF) << "position " << i;
        char cls[64];
        GetClassNameA(c, cls, sizeof cls);
        EXPECT_EQ(0, lstrcmpiA(kRows[i].className, cls)) << "position " << i << " " << cls;
    }
}

TEST_F(TemplateTest, TextsAndRectanglesInDialogUnits)
{
    char text[64];
    GetText949(w_, IDC_SEARCH, text, sizeof text);
    EXPECT_STREQ("라디오검색", text);
    GetText949(w_, IDC_SEND, text, sizeof text);
    EXPECT_STREQ("전송", text);
    GetText949(w_, IDCANCEL, text, sizeof text);
    EXPECT_STREQ("닫기", text);
    GetText949(w_, IDC_CHANNEL_DELETE_ALL, text, sizeof text);
    EXPECT_STREQ("전체삭제", text);
    // The PPPoE pairs lie exactly over the Local IP and Subnet pairs.
    const int pairs[4][2] = {{IDC_PPPOE_ID, IDC_LOCALIP}, {IDC_PPPOE_PSW, IDC_SUBNET},
                             {IDC_PPPOE_ID_LABEL, IDC_LOCALIP_LABEL}, {IDC_PPPOE_PSW_LABEL, IDC_SUBNET_LABEL}};
    for (const auto &p : pairs) {
        RECT a, b;
        GetWindowRect(GetDlgItem(w_, p[0]), &a);
        GetWindowRect(GetDlgItem(w_, p[1]), &b);
        EXPECT_TRUE(EqualRect(&a, &b)) << p[0];
    }
    // The search button, which never moves, at 4, 5, 45 x 13 dialog units of the dialog's font.
    RECT expected = {4, 5, 4 + 45, 5 + 13};
    MapDialogRect(w_, &expected);
    RECT button;
    GetWindowRect(GetDlgItem(w_, IDC_SEARCH), &button);
    MapWindowPoints(HWND_DESKTOP, w_, (POINT *)&button, 2);
    EXPECT_TRUE(EqualRect(&expected, &button));
}

}  // namespace
