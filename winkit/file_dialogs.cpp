// file_dialogs.cpp: the system's open and save dialogs.
#include "winkit/file_dialogs.h"
#include <commdlg.h>
#include "common/system_library.h"
#include "common/text.h"
#include "winkit/code_page.h"

// Bytes of a filter list up to and with the empty string that ends it.
static int FilterListLength(const char *filters)
{
    int n = 0;
    while (filters[n] || filters[n + 1]) n++;
    return n + 2;
}

// The filter list in UTF-16, NULs and all, in a heap block (PlatFree it); null when memory runs out.
static WCHAR *WideFilters(const char *filters)
{
    int length = FilterListLength(filters);
    WCHAR *wide = (WCHAR *)PlatAlloc(length * (int)sizeof(WCHAR));
    if (!wide) return 0;
    int n = MultiByteToWideChar(949, 0, filters, length, wide, length);
    if (n <= 0) wide[0] = wide[1] = 0;
    return wide;
}

static void PrepareDialog(OPENFILENAMEW *info, HWND window, const WCHAR *filters, int filter, WCHAR *path, int size)
{
    ZeroBytes(info, sizeof *info);
    info->lStructSize = sizeof *info;
    info->hwndOwner = window;
    info->lpstrFilter = filters;
    info->nFilterIndex = (DWORD)filter;
    info->lpstrFile = path;
    info->nMaxFile = (DWORD)size;
    path[0] = 0;
}

int AskFileToOpen(HWND window, const char *filters, int filter, WCHAR *path, int size)
{
    WCHAR *wide = WideFilters(filters);
    if (!wide) return 0;
    OPENFILENAMEW info;
    PrepareDialog(&info, window, wide, filter, path, size);
    info.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // The common dialogs' library is loaded when a dialog is first asked for.
    auto open = SYSTEM_CALL(L"comdlg32.dll", GetOpenFileNameW);
    int chosen = open && open(&info) != 0;
    PlatFree(wide);
    return chosen;
}

int AskFileToSave(HWND window, const char *filters, int filter, const WCHAR *defaultExtension, WCHAR *path, int size)
{
    WCHAR *wide = WideFilters(filters);
    if (!wide) return 0;
    OPENFILENAMEW info;
    PrepareDialog(&info, window, wide, filter, path, size);
    info.lpstrDefExt = defaultExtension;
    info.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    auto save = SYSTEM_CALL(L"comdlg32.dll", GetSaveFileNameW);
    int chosen = save && save(&info) != 0;
    PlatFree(wide);
    return chosen;
}
