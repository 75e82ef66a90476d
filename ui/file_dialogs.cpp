// file_dialogs.cpp: the system's open and save dialogs for settings files and playlists.
#include "ui/file_dialogs.h"
#include <commdlg.h>
#include "common/text.h"
#include "ui/code_page.h"
#include "ui/texts.h"

static const char kFilters[] = TEXT_FILE_FILTERS;
enum { FILTERS_UNITS = sizeof kFilters };

// filters receives the filter pairs in UTF-16, NULs and all (FILTERS_UNITS units).
static void PrepareDialog(OPENFILENAMEW *info, HWND window, int filter, WCHAR *filters, WCHAR *path, int size)
{
    ZeroBytes(info, sizeof *info);
    int n = MultiByteToWideChar(949, 0, kFilters, (int)sizeof kFilters, filters, FILTERS_UNITS);
    if (n <= 0) filters[0] = filters[1] = 0;
    info->lStructSize = sizeof *info;
    info->hwndOwner = window;
    info->lpstrFilter = filters;
    info->nFilterIndex = (DWORD)filter;
    info->lpstrFile = path;
    info->nMaxFile = (DWORD)size;
    path[0] = 0;
}

int AskFileToOpen(HWND window, int filter, WCHAR *path, int size)
{
    OPENFILENAMEW info;
    WCHAR filters[FILTERS_UNITS];
    PrepareDialog(&info, window, filter, filters, path, size);
    info.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetOpenFileNameW(&info) != 0;
}

int AskFileToSave(HWND window, int filter, const WCHAR *defaultExtension, WCHAR *path, int size)
{
    OPENFILENAMEW info;
    WCHAR filters[FILTERS_UNITS];
    PrepareDialog(&info, window, filter, filters, path, size);
    info.lpstrDefExt = defaultExtension;
    info.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetSaveFileNameW(&info) != 0;
}
