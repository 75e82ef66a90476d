// context_menu.cpp: the context menus of the DeviceList and the ChannelList.
#include "ui/context_menu.h"
#include <commctrl.h>
#include "res/resource.h"
#include "ui/channel_check.h"
#include "winkit/code_page.h"
#include "winkit/dialog_items.h"
#include "ui/texts.h"

enum { MENU_TEXT_UNITS = 64 };

// One menu line: a command id and its text; id 0 is a separator.
struct ContextMenuItem {
    unsigned short id;
    const char *text;
};

static const ContextMenuItem kDeviceListMenu[] = {
    {IDM_OPEN_SETTINGS, TEXT_MENU_OPEN_SETTINGS},
    {IDM_SAVE_SETTINGS, TEXT_MENU_SAVE_SETTINGS},
    {IDM_IMPORT_PLAYLIST, TEXT_MENU_IMPORT_PLAYLIST},
    {IDM_EXPORT_PLAYLIST, TEXT_MENU_EXPORT_PLAYLIST},
};

// Commands on the channels join this table; the check of every channel (F5) is one.
static const ContextMenuItem kChannelListMenu[] = {
    {IDM_OPEN_SETTINGS, TEXT_MENU_OPEN_SETTINGS},
    {IDM_SAVE_SETTINGS, TEXT_MENU_SAVE_SETTINGS},
    {IDM_IMPORT_PLAYLIST, TEXT_MENU_IMPORT_PLAYLIST},
    {IDM_EXPORT_PLAYLIST, TEXT_MENU_EXPORT_PLAYLIST},
    {IDM_CHECK_ALL, TEXT_MENU_CHECK_ALL},
    {IDM_FIND_STATIONS, TEXT_MENU_FIND_STATIONS},
    {IDM_FIND_OTHER_ADDRESS, TEXT_MENU_FIND_OTHER_ADDRESS},
};

static HMENU BuildMenu(const ContextMenuItem *items, int count)
{
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    for (int i = 0; i < count; i++) {
        WCHAR text[MENU_TEXT_UNITS];
        WideFrom949(items[i].text, -1, text, MENU_TEXT_UNITS);
        if (items[i].id) AppendMenuW(menu, MF_STRING, items[i].id, text);
        else AppendMenuW(menu, MF_SEPARATOR, 0, 0);
    }
    return menu;
}

// Where a menu asked for by the keyboard opens: below the list's selected row, or at its corner.
static POINT KeyboardMenuPoint(HWND list)
{
    POINT point = {4, 4};
    int row = GetSelectedListRow(list, 0, -1);
    RECT r;
    r.left = LVIR_LABEL;
    if (row >= 0 && SendMessageW(list, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)&r)) {
        point.x = r.left;
        point.y = r.bottom;
    }
    ClientToScreen(list, &point);
    return point;
}

// While every channel is checked the ChannelList is disabled, so a click on it reaches the window
// itself: its menu still opens there (and from the keyboard), to stop the check.
static int IsOnCheckedChannelList(HWND window, HWND target, LPARAM point)
{
    if (!target || target != window || !IsChannelCheckRunning()) return 0;
    if (point == (LPARAM)-1) return 1;
    RECT r;
    GetWindowRect(GetDlgItem(window, IDC_CHANNEL_LIST), &r);
    POINT p;
    p.x = (short)LOWORD(point);
    p.y = (short)HIWORD(point);
    return PtInRect(&r, p);
}

// During the check only its own item works, and it reads as the stop command.
static void MarkCheckRunning(HMENU menu, const ContextMenuItem *items, int count)
{
    if (!IsChannelCheckRunning()) return;
    for (int i = 0; i < count; i++)
        if (items[i].id && items[i].id != IDM_CHECK_ALL) EnableMenuItem(menu, items[i].id, MF_BYCOMMAND | MF_GRAYED);
    WCHAR text[MENU_TEXT_UNITS];
    WideFrom949(TEXT_MENU_CHECK_STOP, -1, text, MENU_TEXT_UNITS);
    ModifyMenuW(menu, IDM_CHECK_ALL, MF_BYCOMMAND | MF_STRING, IDM_CHECK_ALL, text);
}

int ShowListContextMenu(HWND window, HWND target, LPARAM point)
{
    const ContextMenuItem *items;
    int count;
    if (IsOnCheckedChannelList(window, target, point)) target = GetDlgItem(window, IDC_CHANNEL_LIST);
    if (target && target == GetDlgItem(window, IDC_DEVICE_LIST)) {
        items = kDeviceListMenu;
        count = (int)(sizeof kDeviceListMenu / sizeof kDeviceListMenu[0]);
    } else if (target && target == GetDlgItem(window, IDC_CHANNEL_LIST)) {
        items = kChannelListMenu;
        count = (int)(sizeof kChannelListMenu / sizeof kChannelListMenu[0]);
    } else {
        return 0;
    }
    POINT at;
    if (point == (LPARAM)-1) {
        at = KeyboardMenuPoint(target);
    } else {
        at.x = (short)LOWORD(point);
        at.y = (short)HIWORD(point);
    }
    HMENU menu = BuildMenu(items, count);
    if (!menu) return 1;
    MarkCheckRunning(menu, items, count);
    // The choice is posted to the window as WM_COMMAND and routed like any other command.
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window, 0);
    DestroyMenu(menu);
    return 1;
}
