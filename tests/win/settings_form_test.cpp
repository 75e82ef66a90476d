// settings_form_test.cpp: the form's shown, hidden and enabled controls, and loading a device's text.
#include "tests/win/ui_test_helpers.h"
#include "ui/settings_form.h"
#include "ui/main_state.h"

using namespace uitest;

namespace {

const int kAddressSet[] = {IDC_LOCALIP_LABEL, IDC_SUBNET_LABEL, IDC_GATEWAY_LABEL, IDC_DNS_LABEL,
                           IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY, IDC_DNS};
const int kAddressEdits[] = {IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY, IDC_DNS};
const int kPppoeSet[] = {IDC_PPPOE_ID_LABEL, IDC_PPPOE_ID, IDC_PPPOE_PSW_LABEL, IDC_PPPOE_PSW};
const int kPppoeEdits[] = {IDC_PPPOE_ID, IDC_PPPOE_PSW};
const int kDeviceControls[] = {IDC_SEND, IDC_MODE_STATIC, IDC_MODE_DHCP, IDC_MODE_PPPOE, IDC_PLS_URL1,
                               IDC_PLS_URL2, IDC_CHANNEL_LIST, IDC_CHANNEL_ADD, IDC_CHANNEL_MODIFY,
                               IDC_CHANNEL_DELETE, IDC_CHANNEL_DELETE_ALL, IDC_CHANNEL_NAME, IDC_CHANNEL_URL};

const char kDeviceA[] =
    "OpCode=IMIN\r\nMacAddr=AA\r\nFW_Ver=1\r\nDhcpMode=2\r\nLocalIP=10.0.0.5\r\nSubnetMask=255.0.0.0\r\n"
    "GatewayIP=10.0.0.1\r\nDNS_IP= 10.0.0.2\r\nPPPoEID=alice\r\nPPPoEPsw=secret\r\nPlsUrl1=http://a/1.pls\r\n"
    "PlsUrl2=http://a/2.pls\r\nNumberOfEntries=3\r\nFile1=http://s/one\r\nTitle1=One\r\n";
const char kDeviceB[] =
    "OpCode=IMIN\nMacAddr=BB\nDhcpMode=0\nLocalIP=192.168.7.7\nNumberOfEntries=2\n"
    "Title1=First\nFile1=http://b/1\nTitle2=Second\nFile2=http://b/2\n";

class SettingsFormTest : public WindowTest {
protected:
    // Checks the form against one row of the state table.
    void ExpectState(bool selected, int mode)
    {
        SCOPED_TRACE(testing::Message() << "selected " << selected << " mode " << mode);
        for (int id : kAddressSet) EXPECT_EQ(mode != 2, Shown(window, id)) << id;
        for (int id : kPppoeSet) EXPECT_EQ(mode == 2, Shown(window, id)) << id;
        for (int id : kAddressEdits) EXPECT_EQ(selected && mode == 0, Enabled(window, id)) << id;
        for (int id : kPppoeEdits) EXPECT_EQ(selected && mode == 2, Enabled(window, id)) << id;
        for (int id : kDeviceControls) EXPECT_EQ(selected, Enabled(window, id)) << id;
        // Labels are shown and hidden but never disabled; the search and the DeviceList stay as they are.
        for (int id : {IDC_LOCALIP_LABEL, IDC_PPPOE_ID_LABEL, IDC_SEARCH, IDC_DEVICE_LIST, IDCANCEL})
            EXPECT_TRUE(Enabled(window, id)) << id;
    }
};

TEST_F(SettingsFormTest, StateFollowsModeAndDeviceSelection)
{
    AddDeviceRow(window, kDeviceB, "BB");
    for (int selected = 0; selected <= 1; selected++) {
        ClearListSelection(window, IDC_DEVICE_LIST);
        if (selected) SetListRowState(window, IDC_DEVICE_LIST, 0, LVIS_SELECTED, LVIS_SELECTED);
        for (int mode = -1; mode <= 2; mode++) {
            CheckRadio(window, IDC_MODE_STATIC, 3, mode);
            Command(window, mode < 0 ? IDC_MODE_STATIC : IDC_MODE_STATIC + mode);
            ExpectState(selected != 0, mode);
        }
    }
    EXPECT_EQ(0, BoxCount());
}

TEST_F(SettingsFormTest, ChoosingPppoeShowsItsEditsInThePlaceOfLocalIpAndSubnet)
{
    AddDeviceRow(window, kDeviceB, "BB");
    ClickDeviceRow(window, 0);
    SendMessageA(Item(IDC_MODE_PPPOE), BM_CLICK, 0, 0);
    EXPECT_EQ(2, GetCheckedRadio(window, IDC_MODE_STATIC, 3));
    ExpectState(true, 2);
    RECT id, local;
    GetWindowRect(Item(IDC_PPPOE_ID), &id);
    GetWindowRect(Item(IDC_LOCALIP), &local);
    EXPECT_TRUE(EqualRect(&id, &local));
    SendMessageA(Item(IDC_MODE_DHCP), BM_CLICK, 0, 0);
    ExpectState(true, 1);
}

TEST_F(SettingsFormTest, RowClickLoadsModeTextsAndChannelRows)
{
    AddDeviceRow(window, kDeviceA, "AA");
    SetText949(window, IDC_CHANNEL_NAME, "typed");
    ClickDeviceRow(window, 0);

    EXPECT_EQ(2, GetCheckedRadio(window, IDC_MODE_STATIC, 3));
    EXPECT_EQ("10.0.0.5", Text(window, IDC_LOCALIP));
    EXPECT_EQ("255.0.0.0", Text(window, IDC_SUBNET));
    EXPECT_EQ("10.0.0.1", Text(window, IDC_GATEWAY));
    EXPECT_EQ(" 10.0.0.2", Text(window, IDC_DNS)) << "values go into the form unchanged";
    EXPECT_EQ("alice", Text(window, IDC_PPPOE_ID));
    EXPECT_EQ("secret", Text(window, IDC_PPPOE_PSW));
    EXPECT_EQ("http://a/1.pls", Text(window, IDC_PLS_URL1));
    EXPECT_EQ("http://a/2.pls", Text(window, IDC_PLS_URL2));
    EXPECT_EQ("typed", Text(window, IDC_CHANNEL_NAME)) << "the channel edits are not part of a device";

    // Three entries announced, one present: three rows, the last two empty.
    ASSERT_EQ(3, GetListRowCount(window, IDC_CHANNEL_LIST));
    const char *numbers[] = {"1.", "2.", "3."};
    for (int row = 0; row < 3; row++) {
        EXPECT_EQ(numbers[row], Cell(window, IDC_CHANNEL_LIST, row, 0));
        EXPECT_EQ(0, GetListRowData(window, IDC_CHANNEL_LIST, row, -1));
    }
    EXPECT_EQ("One", Cell(window, IDC_CHANNEL_LIST, 0, 1));
    EXPECT_EQ("http://s/one", Cell(window, IDC_CHANNEL_LIST, 0, 2));
    for (int row = 1; row < 3; row++) {
        EXPECT_EQ("", Cell(window, IDC_CHANNEL_LIST, row, 1));
        EXPECT_EQ("", Cell(window, IDC_CHANNEL_LIST, row, 2));
    }
    ExpectState(true, 2);
    EXPECT_EQ(ES_PASSWORD, GetWindowLongA(Item(IDC_PPPOE_PSW), GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(0, g_main.changedFlag);
}

TEST_F(SettingsFormTest, LoadingReplacesEveryValueAndEmptiesMissingKeys)
{
    AddDeviceRow(window, kDeviceA, "AA");
    AddDeviceRow(window, kDeviceB, "BB");
    ClickDeviceRow(window, 0);
    ClickDeviceRow(window, 1);
    EXPECT_EQ(0, GetCheckedRadio(window, IDC_MODE_STATIC, 3));
    EXPECT_EQ("192.168.7.7", Text(window, IDC_LOCALIP));
    for (int id : {IDC_SUBNET, IDC_GATEWAY, IDC_DNS, IDC_PPPOE_ID, IDC_PPPOE_PSW, IDC_PLS_URL1, IDC_PLS_URL2})
        EXPECT_EQ("", Text(window, id)) << id;
    ASSERT_EQ(2, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ("Second", Cell(window, IDC_CHANNEL_LIST, 1, 1));
    EXPECT_EQ("http://b/2", Cell(window, IDC_CHANNEL_LIST, 1, 2));
    ExpectState(true, 0);
}

TEST_F(SettingsFormTest, ModeValuesOutsideTheRadioRange)
{
    struct Case { const char *text; int before; int after; };
    const Case cases[] = {
        {"OpCode=IMIN\r\nDhcpMode=1\r\n", 0, 1},
        {"OpCode=IMIN\r\nDhcpMode=-1\r\n", 1, -1},   // none checked
        {"OpCode=IMIN\r\nDhcpMode=3\r\n", 2, 2},     // left as it was
        {"OpCode=IMIN\r\nDhcpMode=77\r\n", 1, 1},
        {"OpCode=IMIN\r\nDhcpMode=x\r\n", 2, 0},     // not a number: Static
        {"OpCode=IMIN\r\n", 1, 0},                   // missing: Static
    };
    for (const Case &c : cases) {
        ReleaseDeviceRows(window);
        AddDeviceRow(window, c.text, "m");
        CheckRadio(window, IDC_MODE_STATIC, 3, c.before);
        ClickDeviceRow(window, 0);
        EXPECT_EQ(c.after, GetCheckedRadio(window, IDC_MODE_STATIC, 3)) << c.text;
        EXPECT_EQ(0, GetListRowCount(window, IDC_CHANNEL_LIST)) << c.text;
        if (c.after == -1) ExpectState(true, -1);
    }
}

TEST_F(SettingsFormTest, WithUnsavedChannelEditsAnotherRowDoesNotReload)
{
    AddDeviceRow(window, kDeviceA, "AA");
    AddDeviceRow(window, kDeviceB, "BB");
    ClickDeviceRow(window, 0);
    g_main.changedFlag = 1;
    SetText949(window, IDC_LOCALIP, "edited");
    ClickDeviceRow(window, 1);
    EXPECT_EQ(1, GetSelectedListRow(window, IDC_DEVICE_LIST, -1));
    EXPECT_EQ(2, GetCheckedRadio(window, IDC_MODE_STATIC, 3));
    EXPECT_EQ("edited", Text(window, IDC_LOCALIP));
    EXPECT_EQ("alice", Text(window, IDC_PPPOE_ID));
    EXPECT_EQ(3, GetListRowCount(window, IDC_CHANNEL_LIST));
    ExpectState(true, 2);
    EXPECT_EQ(1, g_main.changedFlag);
}

TEST_F(SettingsFormTest, ClickOnEmptySpaceDisablesButKeepsTexts)
{
    AddDeviceRow(window, kDeviceB, "BB");
    ClickDeviceRow(window, 0);
    ExpectState(true, 0);
    ClearListSelection(window, IDC_DEVICE_LIST);
    SendClick(window, IDC_DEVICE_LIST);
    ExpectState(false, 0);
    EXPECT_EQ("192.168.7.7", Text(window, IDC_LOCALIP));
    EXPECT_EQ(2, GetListRowCount(window, IDC_CHANNEL_LIST));
    // Even with unsaved edits an empty click updates the state.
    ClickDeviceRow(window, 0);
    g_main.changedFlag = 1;
    ClearListSelection(window, IDC_DEVICE_LIST);
    SendClick(window, IDC_DEVICE_LIST);
    ExpectState(false, 0);
}

TEST_F(SettingsFormTest, RowWithoutTextDoesNothing)
{
    InsertListRow(window, IDC_DEVICE_LIST, 0, "bare", 0);
    SetText949(window, IDC_LOCALIP, "kept");
    ClickDeviceRow(window, 0);
    EXPECT_EQ("kept", Text(window, IDC_LOCALIP));
    EXPECT_EQ(1, GetCheckedRadio(window, IDC_MODE_STATIC, 3));
    ExpectState(false, 1);   // not even the state is updated
}

TEST_F(SettingsFormTest, PlsEditsFollowTheSelectionAndTakeTheFocusByTab)
{
    AddDeviceRow(window, kDeviceB, "BB");
    ClickDeviceRow(window, 0);
    EXPECT_TRUE(Enabled(window, IDC_PLS_URL1));
    EXPECT_TRUE(Enabled(window, IDC_PLS_URL2));
    // Out of sight below the client area, yet next after DNS in the tab order.
    RECT client, pls;
    GetClientRect(window, &client);
    GetWindowRect(Item(IDC_PLS_URL1), &pls);
    MapWindowPoints(0, window, (POINT *)&pls, 2);
    EXPECT_GE(pls.top, client.bottom);
    EXPECT_EQ(Item(IDC_PLS_URL1), GetNextDlgTabItem(window, Item(IDC_DNS), FALSE));
    EXPECT_EQ(Item(IDC_PLS_URL2), GetNextDlgTabItem(window, Item(IDC_PLS_URL1), FALSE));
}

TEST_F(SettingsFormTest, HundredsOfEntriesLoadInOrder)
{
    std::string text = "OpCode=IMIN\r\nDhcpMode=1\r\nNumberOfEntries=300\r\n";
    for (int n = 1; n <= 300; n++)
        text += "Title" + std::to_string(n) + "=T" + std::to_string(n) + "\r\nFile" + std::to_string(n) +
                "=http://h/" + std::to_string(n) + "\r\n";
    AddDeviceRow(window, text.c_str(), "m");
    ClickDeviceRow(window, 0);
    ASSERT_EQ(300, GetListRowCount(window, IDC_CHANNEL_LIST));
    EXPECT_EQ("300.", Cell(window, IDC_CHANNEL_LIST, 299, 0));
    EXPECT_EQ("T10", Cell(window, IDC_CHANNEL_LIST, 9, 1)) << "Title1= must not match Title10=";
    EXPECT_EQ("http://h/300", Cell(window, IDC_CHANNEL_LIST, 299, 2));
}

TEST_F(SettingsFormTest, HugeEntryCountIsBounded)
{
    AddDeviceRow(window, "OpCode=IMIN\r\nNumberOfEntries=2000000000\r\nTitle1=x\r\n", "m");
    ClickDeviceRow(window, 0);
    int rows = GetListRowCount(window, IDC_CHANNEL_LIST);
    EXPECT_GE(rows, 1);
    EXPECT_LE(rows, 65792);
    EXPECT_EQ("x", Cell(window, IDC_CHANNEL_LIST, 0, 1));
}

}  // namespace
