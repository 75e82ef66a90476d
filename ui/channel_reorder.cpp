// channel_reorder.cpp: reordering ChannelList rows by mouse drag and Alt+Up/Alt+Down, through a subclass.
#include "ui/channel_editor.h"
#include "winkit/dialog_items.h"
#include "common/text.h"

ATOM g_atomUserPrm1 = 0;

static const char kOrgWndProc[] = "OrgWndProc";
enum { CELL_READ_SIZE = 4096, MOVE_COLUMNS = 3 };

// One column's text, in a heap block sized to it; nodes are chained in column order.
struct TextNode {
    TextNode *next;
    char text[1];
};

static void FreeTextList(TextNode *head)
{
    while (head) {
        TextNode *next = head->next;
        PlatFree(head);
        head = next;
    }
}

// The texts of columns 1 .. columnCount-1 of a row. Short of memory, the list holds fewer texts.
static TextNode *CopyRowTexts(HWND list, int row, int columnCount)
{
    char *buffer = (char *)PlatAlloc(CELL_READ_SIZE);
    if (!buffer) return 0;
    TextNode *head = 0;
    TextNode *tail = 0;
    for (int column = 1; column < columnCount; column++) {
        GetListCellText(list, 0, row, column, buffer, CELL_READ_SIZE);
        int length = TextLength(buffer);
        TextNode *node = (TextNode *)PlatAlloc((int)sizeof(TextNode) + length);
        if (!node) break;
        CopyBytes(node->text, buffer, length + 1);
        if (tail) tail->next = node;
        else head = node;
        tail = node;
    }
    PlatFree(buffer);
    return head;
}

// Writes the texts into columns 1, 2, ... of a row, up to the end of the list or the last column.
static void WriteRowTexts(HWND list, int row, const TextNode *texts, int columnCount)
{
    int column = 1;
    for (const TextNode *node = texts; node && column < columnCount; node = node->next, column++)
        SetListCellText(list, 0, row, column, node->text);
}

// Property that holds the dragged row: by atom, or by its text when the atom could not be made
// (atom 0 names no property, and every mouse move would then drag row 0).
static const char *DragPropertyName(void)
{
    return g_atomUserPrm1 ? MAKEINTATOM(g_atomUserPrm1) : "UserPrm1";
}

static int DragRow(HWND list)
{
    return (int)(INT_PTR)GetPropA(list, DragPropertyName());
}

void SetDragRow(HWND list, int row)
{
    SetPropA(list, DragPropertyName(), (HANDLE)(INT_PTR)row);
}

void MoveListRow(HWND list, int from, int to, int columnCount)
{
    if (from == to) return;
    // A drag index can outlive its row (rows deleted during the drag): never move from or to nothing.
    int count = GetListRowCount(list, 0);
    if (from < 0 || to < 0 || from >= count || to >= count) return;
    SetListRowState(list, 0, from, 0, LVIS_SELECTED | LVIS_FOCUSED);
    TextNode *saved = CopyRowTexts(list, from, columnCount);
    int step = from > to ? -1 : 1;
    for (int i = from; i != to; i += step) {
        TextNode *texts = CopyRowTexts(list, i + step, columnCount);
        WriteRowTexts(list, i, texts, columnCount);
        FreeTextList(texts);
    }
    WriteRowTexts(list, to, saved, columnCount);
    FreeTextList(saved);
    SetListRowState(list, 0, to, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureListRowVisible(list, 0, to, 0);
}

void SubclassWindow(HWND window, WNDPROC procedure)
{
    LONG_PTR previous = GetWindowLongPtrW(window, GWLP_WNDPROC);
    SetPropA(window, kOrgWndProc, (HANDLE)previous);
    SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)procedure);
}

LRESULT CallOriginalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC original = (WNDPROC)GetPropA(window, kOrgWndProc);
    if (!original) return DefWindowProcW(window, message, wParam, lParam);
    return CallWindowProcW(original, window, message, wParam, lParam);
}

LRESULT CALLBACK ChannelListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE: {
        int dragged = DragRow(list);
        if (dragged >= 0) {
            // Unsigned coordinates: a point left of or above the list hits no row.
            int hit = HitTestList(list, 0, (int)LOWORD(lParam), (int)HIWORD(lParam), 0);
            if (hit >= 0 && hit != dragged) {
                SetDragRow(list, hit);
                MoveListRow(list, dragged, hit, MOVE_COLUMNS);
                return 0;
            }
        }
        break;
    }
    case WM_LBUTTONUP:
        if (DragRow(list) >= 0) {
            SetDragRow(list, -1);
            ReleaseCapture();
            return 0;
        }
        break;
    case WM_SYSKEYDOWN: {
        int selected = GetSelectedListRow(list, 0, -1);
        if (wParam == VK_UP) {
            if (selected >= 1) MoveListRow(list, selected, selected - 1, MOVE_COLUMNS);
        } else if (wParam == VK_DOWN) {
            int count = GetListRowCount(list, 0);
            if (count >= 2 && selected >= 0 && selected < count - 1)
                MoveListRow(list, selected, selected + 1, MOVE_COLUMNS);
        }
        break;
    }
    case WM_NCDESTROY: {
        // The list's own procedure finishes the destruction; the properties go with the subclass.
        WNDPROC original = (WNDPROC)GetPropA(list, kOrgWndProc);
        RemovePropA(list, kOrgWndProc);
        RemovePropA(list, DragPropertyName());
        if (original) {
            SetWindowLongPtrW(list, GWLP_WNDPROC, (LONG_PTR)original);
            return CallWindowProcW(original, list, message, wParam, lParam);
        }
        return DefWindowProcW(list, message, wParam, lParam);
    }
    default:
        break;
    }
    return CallOriginalProc(list, message, wParam, lParam);
}
