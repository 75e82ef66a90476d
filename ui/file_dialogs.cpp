// file_dialogs.cpp: the system's open and save dialogs for settings files and playlists.
#include "ui/file_dialogs.h"
#include <commdlg.h>
#include "common/text.h"
#include "ui/texts.h"

static const char kFilters[] = TEXT_FILE_FILTERS;

static void PrepareDialog(OPENFILENAMEA *info, HWND window, int filter, char *path, int size)
{
    ZeroBytes(info, sizeof *info);
    info->lStructSize = sizeof *info;
    info->hwndOwner = window;
    info->lpstrFilter = kFilters;
    info->nFilterIndex = (DWORD)filter;
    info->lpstrFile = path;
    info->nMaxFile = (DWORD)size;
    path[0] = 0;
}

int AskFileToOpen(HWND window, int filter, char *path, int size)
{
    OPENFILENAMEA info;
    PrepareDialog(&info, window, filter, path, size);
    info.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetOpenFileNameA(&info) != 0;
}

int AskFileToSave(HWND window, int filter, const char *defaultExtension, char *path, int size)
{
    OPENFILENAMEA info;
    PrepareDialog(&info, window, filter, path, size);
    info.lpstrDefExt = defaultExtension;
    info.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetSaveFileNameA(&info) != 0;
}
