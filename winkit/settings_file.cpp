// settings_file.cpp: the INI file beside the program: window placement and list column widths.
#include "winkit/settings_file.h"
#include "common/text.h"
#include "winkit/code_page.h"
#include "winkit/dialog_items.h"
#include "winkit/resize_layout.h"

WCHAR g_iniPath[MAX_PATH] = {0};

// Position read when none is stored: far off screen, so the window is centred.
enum { POSITION_MARKER = 30000 };

// Sections, keys and values are short 949 texts (in practice ASCII), handed to the W functions.
enum { SETTING_UNITS = 260 };

int ReadSetting(const char *section, const char *key, char *out, int size)
{
    if (!out || size <= 0) return 0;
    out[0] = 0;
    if (!g_iniPath[0]) return 0;  // no usable settings path: nothing is kept
    WCHAR wideSection[SETTING_UNITS], wideKey[SETTING_UNITS], value[SETTING_UNITS];
    WideFrom949(section, -1, wideSection, SETTING_UNITS);
    WideFrom949(key, -1, wideKey, SETTING_UNITS);
    value[0] = 0;
    GetPrivateProfileStringW(wideSection, wideKey, L"", value, SETTING_UNITS, g_iniPath);
    value[SETTING_UNITS - 1] = 0;
    return WideTo949(value, out, size);
}

void WriteSetting(const char *section, const char *key, const char *text)
{
    if (!g_iniPath[0]) return;
    WCHAR wideSection[SETTING_UNITS], wideKey[SETTING_UNITS], value[SETTING_UNITS];
    WideFrom949(section, -1, wideSection, SETTING_UNITS);
    WideFrom949(key, -1, wideKey, SETTING_UNITS);
    WideFrom949(text, -1, value, SETTING_UNITS);
    WritePrivateProfileStringW(wideSection, wideKey, text ? value : 0, g_iniPath);
}

void WriteSettingNumbers(const char *section, const char *key, int a, int b, int c, int d)
{
    char text[64];
    wsprintfA(text, "%d %d %d %d", a, b, c, d);
    WriteSetting(section, key, text);
}

// The dialog's WindowName (text of its hidden control WINDOW_NAME_ID); 0 when it has none.
static int ReadWindowName(HWND window, char *name, int size)
{
    name[0] = 0;
    if (!GetDlgItem(window, WINDOW_NAME_ID)) return 0;
    return GetControlText(window, WINDOW_NAME_ID, name, size) > 0;
}

// A stored width or height the window could never have been dragged to (below its minimum or above
// its maximum tracking size) is damage and replaced by the fallback. The result is raised to the
// minimum, as the system does when the window is moved, so that centring uses the real size.
static int SaneLength(int stored, int minimum, int maximum, int fallback)
{
    int length = stored < minimum || stored > maximum ? fallback : stored;
    return length < minimum ? minimum : length;
}

// The window's own tracking limits, as its WM_GETMINMAXINFO handling gives them.
static void TrackingLimits(HWND window, MINMAXINFO *info)
{
    ZeroBytes(info, sizeof *info);
    info->ptMinTrackSize.x = GetSystemMetrics(SM_CXMINTRACK);
    info->ptMinTrackSize.y = GetSystemMetrics(SM_CYMINTRACK);
    info->ptMaxTrackSize.x = GetSystemMetrics(SM_CXMAXTRACK);
    info->ptMaxTrackSize.y = GetSystemMetrics(SM_CYMAXTRACK);
    SendMessageW(window, WM_GETMINMAXINFO, 0, (LPARAM)info);
}

static void RestorePlacement(HWND window)
{
    char name[20];
    if (!ReadWindowName(window, name, sizeof name)) return;
    char value[80];
    ReadSetting(SETTINGS_SECTION, name, value, sizeof value);

    RECT r;
    GetWindowRect(window, &r);
    int currentWidth = r.right - r.left, currentHeight = r.bottom - r.top;
    int x = POSITION_MARKER, y = POSITION_MARKER, width = currentWidth, height = currentHeight;
    ScanText(value, "%d %d %d %d", &x, &y, &width, &height);

    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int caption = GetSystemMetrics(SM_CYCAPTION);
    MINMAXINFO limits;
    TrackingLimits(window, &limits);
    width = SaneLength(width, limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x, currentWidth);
    height = SaneLength(height, limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y, currentHeight);

    // Only the right and bottom edges of the primary screen are tested (compared without overflow);
    // a window whose caption lies wholly left of or above every screen cannot be reached: centred too.
    int onScreen = x < screenWidth - caption && y < screenHeight - caption;
    long long rightEdge = (long long)x + width, captionBottom = (long long)y + caption;
    if (rightEdge <= GetSystemMetrics(SM_XVIRTUALSCREEN) || captionBottom <= GetSystemMetrics(SM_YVIRTUALSCREEN))
        onScreen = 0;
    if (!onScreen) {
        x = (screenWidth - width) >> 1;
        y = (screenHeight - height) >> 1;
    }
    MoveWindow(window, x, y, width, height, FALSE);
}

static void RecordPlacement(HWND window)
{
    if (IsIconic(window) || IsZoomed(window)) return;
    char name[20];
    if (!ReadWindowName(window, name, sizeof name)) return;
    char value[80];
    ReadSetting(SETTINGS_SECTION, name, value, sizeof value);
    int x = 0, y = 0, width = 0, height = 0;
    ScanText(value, "%d %d %d %d", &x, &y, &width, &height);
    RECT r;
    GetWindowRect(window, &r);
    if (r.left == x && r.top == y && r.right - r.left == width && r.bottom - r.top == height) return;
    WriteSettingNumbers(SETTINGS_SECTION, name, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TrackWindowPlacement(HWND window, UINT message, WPARAM wParam)
{
    if (message == WM_INITDIALOG) {
        PrepareResizing(window);
        RestorePlacement(window);
    } else if (message == WM_MOVE || message == WM_SIZE) {
        RecordPlacement(window);
    }
}

// Key of a list's widths: the WindowName followed by the list's id; 0 without a WindowName.
static int ColumnKey(HWND window, int controlId, char *key)
{
    char name[130];
    if (!ReadWindowName(window, name, sizeof name)) return 0;
    wsprintfA(key, "%s%d", name, controlId);
    return 1;
}

// A stored width is used only when it reads as a number of at most this many pixels.
enum { MAX_COLUMN_WIDTH = 10000 };

static int IsNumberToken(const char *p)
{
    if (*p == '-' || *p == '+') ++p;
    return *p >= '0' && *p <= '9';
}

void RestoreColumnWidths(HWND window, int controlId, int count)
{
    char key[160];
    if (!ColumnKey(window, controlId, key)) return;
    char value[260];
    if (!ReadSetting(SETTINGS_SECTION, key, value, sizeof value)) return;
    const char *p = value;
    for (int column = 0; column < count && *p; ++column) {
        int width = 0;
        int usable = IsNumberToken(p);
        ScanText(p, "%d", &width);
        p = SkipTokens(p, 1);
        // Garbage, negative or absurd widths keep the column's template width.
        if (usable && width >= 0 && width <= MAX_COLUMN_WIDTH) SetListColumnWidth(window, controlId, column, width);
    }
}

void SaveColumnWidths(HWND window, int controlId, int count)
{
    char key[160];
    if (!ColumnKey(window, controlId, key)) return;
    char value[260];
    if (ReadSetting(SETTINGS_SECTION, key, value, sizeof value)) {
        // A missing number compares as a repeat of the last one read.
        const char *p = value;
        int stored = -1, same = 1;
        for (int column = 0; column < count; ++column) {
            ScanText(p, "%d", &stored);
            p = SkipTokens(p, 1);
            if (stored != GetListColumnWidth(window, controlId, column)) {
                same = 0;
                break;
            }
        }
        if (same) return;
    }
    char line[260];
    TextBuilder b;
    BuilderInit(&b, line, sizeof line);
    for (int column = 0; column < count; ++column) {
        if (column) BuilderAppend(&b, " ");
        BuilderAppendNumber(&b, GetListColumnWidth(window, controlId, column));
    }
    WriteSetting(SETTINGS_SECTION, key, line);
}
