// form_fields.cpp: the form's text fields in code page 949: their byte limits while the user types,
// and the refusal of a character 949 cannot hold before anything is sent or saved.
#include "ui/form_fields.h"
#include "device/message.h"
#include "res/resource.h"
#include "winkit/dialog_items.h"
#include "winkit/show_message.h"
#include "ui/texts.h"

enum { TITLE_BYTES = 31, VALUE_BYTES = DEVICE_VALUE_SIZE - 1, FIELD_COUNT = 10, CHANNEL_FIELDS = 8 };

struct FormField {
    unsigned short id;
    unsigned short maxBytes;   // the longest 949 form the radio and the files take
    const char *name;          // as the refusal names it
};

// The settings fields in the order they are sent, then the channel's two edits.
static const FormField kFields[FIELD_COUNT] = {
    {IDC_LOCALIP, VALUE_BYTES, TEXT_FIELD_LOCALIP},
    {IDC_SUBNET, VALUE_BYTES, TEXT_FIELD_SUBNET},
    {IDC_GATEWAY, VALUE_BYTES, TEXT_FIELD_GATEWAY},
    {IDC_DNS, VALUE_BYTES, TEXT_FIELD_DNS},
    {IDC_PPPOE_ID, VALUE_BYTES, TEXT_FIELD_PPPOE_ID},
    {IDC_PPPOE_PSW, VALUE_BYTES, TEXT_FIELD_PPPOE_PSW},
    {IDC_PLS_URL1, VALUE_BYTES, TEXT_PLS_URL1_LABEL},
    {IDC_PLS_URL2, VALUE_BYTES, TEXT_PLS_URL2_LABEL},
    {IDC_CHANNEL_NAME, TITLE_BYTES, TEXT_CHANNEL_NAME_LABEL},
    {IDC_CHANNEL_URL, VALUE_BYTES, TEXT_SERVER_URL_LABEL},
};

void OnFieldUpdate(HWND window, int id)
{
    for (int i = 0; i < FIELD_COUNT; i++)
        if (kFields[i].id == id) LimitControlText(window, id, kFields[i].maxBytes);
}

// Fields first .. end-1: 0 after naming the first one 949 cannot hold.
static int CheckFields(HWND window, int first, int end)
{
    for (int i = first; i < end; i++) {
        if (ControlTextFits949(window, kFields[i].id)) continue;
        char text[256];
        wsprintfA(text, TEXT_FIELD_NOT_949, kFields[i].name);
        ShowMessage(window, text, MB_OK);
        FocusControl(window, kFields[i].id);
        return 0;
    }
    return 1;
}

int CheckFormFields(HWND window) { return CheckFields(window, 0, CHANNEL_FIELDS); }
int CheckChannelFields(HWND window) { return CheckFields(window, CHANNEL_FIELDS, FIELD_COUNT); }
