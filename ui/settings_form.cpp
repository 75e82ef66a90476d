// settings_form.cpp: the network settings form: shown, hidden and enabled controls, loading a device's text.
#include "ui/settings_form.h"
#include "res/resource.h"
#include "ui/main_state.h"
#include "winkit/dialog_items.h"
#include "ui/channel_editor.h"
#include "common/text.h"
#include "device/message.h"
#include "files/settings_values.h"

enum { ADDRESS_SET_COUNT = 8, FORM_SET_COUNT = 12, DEVICE_CONTROL_COUNT = 13 };

// The address set (labels, then edits) followed by the PPPoE set.
static const unsigned short kFormSets[FORM_SET_COUNT] = {
    IDC_LOCALIP_LABEL, IDC_SUBNET_LABEL, IDC_GATEWAY_LABEL, IDC_DNS_LABEL,
    IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY, IDC_DNS,
    IDC_PPPOE_ID_LABEL, IDC_PPPOE_ID, IDC_PPPOE_PSW_LABEL, IDC_PPPOE_PSW,
};

// Controls that work only while a DeviceList row is selected, in the order they are enabled.
static const unsigned short kDeviceControls[DEVICE_CONTROL_COUNT] = {
    IDC_SEND, IDC_MODE_STATIC, IDC_MODE_DHCP, IDC_MODE_PPPOE, IDC_PLS_URL1, IDC_PLS_URL2,
    IDC_CHANNEL_LIST, IDC_CHANNEL_ADD, IDC_CHANNEL_MODIFY, IDC_CHANNEL_DELETE, IDC_CHANNEL_DELETE_ALL,
    IDC_CHANNEL_NAME, IDC_CHANNEL_URL,
};

void UpdateFormState(HWND window)
{
    int mode = GetCheckedRadio(window, IDC_MODE_STATIC, 3);
    for (int i = 0; i < ADDRESS_SET_COUNT; i++) ShowControl(window, kFormSets[i], mode != 2);
    for (int i = ADDRESS_SET_COUNT; i < FORM_SET_COUNT; i++) ShowControl(window, kFormSets[i], mode == 2);
    int selected = GetSelectedListRow(window, IDC_DEVICE_LIST, -1) >= 0;
    EnableControl(window, IDC_PPPOE_ID, selected && mode == 2);
    EnableControl(window, IDC_PPPOE_PSW, selected && mode == 2);
    EnableControl(window, IDC_LOCALIP, selected && mode == 0);
    EnableControl(window, IDC_SUBNET, selected && mode == 0);
    EnableControl(window, IDC_GATEWAY, selected && mode == 0);
    EnableControl(window, IDC_DNS, selected && mode == 0);
    for (int i = 0; i < DEVICE_CONTROL_COUNT; i++) EnableControl(window, kDeviceControls[i], selected);
}

int OnDeviceRowClick(HWND window)
{
    int row = GetSelectedListRow(window, IDC_DEVICE_LIST, -1);
    if (row < 0) {
        UpdateFormState(window);
        return 0;
    }
    if (g_main.changedFlag) return 0;
    const char *text = (const char *)GetListRowData(window, IDC_DEVICE_LIST, row, 0);
    if (!text) return 0;
    LoadSettingsText(window, text);
    UpdateFormState(window);
    return 1;
}

// The form's edits in the order the values are read.
static const unsigned short kFieldEdits[SETT_FIELD_COUNT] = {
    IDC_LOCALIP, IDC_SUBNET, IDC_GATEWAY, IDC_DNS, IDC_PPPOE_ID, IDC_PPPOE_PSW, IDC_PLS_URL1, IDC_PLS_URL2,
};

// The ChannelList rebuilt from the NumberOfEntries, Title<n> and File<n> values.
static void LoadChannelRows(HWND window, const char *text, int count)
{
    HWND list = GetDlgItem(window, IDC_CHANNEL_LIST);
    // Hundreds of rows: draw once at the end instead of after every insert.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    DeleteAllListRows(window, IDC_CHANNEL_LIST);
    char title[DEVICE_VALUE_SIZE];
    char url[DEVICE_VALUE_SIZE];
    char number[16];
    for (int n = 1; n <= count; n++) {
        FormatChannelNumber(number, n);
        int row = InsertListRow(window, IDC_CHANNEL_LIST, n - 1, number, 0);
        if (row < 0) break;
        ReadChannelEntry(text, n, title, sizeof title, url, sizeof url);
        SetListCellText(window, IDC_CHANNEL_LIST, row, 1, title);
        SetListCellText(window, IDC_CHANNEL_LIST, row, 2, url);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, 0, TRUE);
}

void LoadSettingsText(HWND window, const char *text)
{
    if (!text) return;
    SettingsValues values;
    ReadSettingsValues(text, &values);
    CheckRadio(window, IDC_MODE_STATIC, 3, values.mode);
    for (int i = 0; i < SETT_FIELD_COUNT; i++) SetControlText(window, kFieldEdits[i], values.fields[i]);
    LoadChannelRows(window, text, values.channelCount);
}
