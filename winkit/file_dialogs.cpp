// file_dialogs.cpp: the system's open and save dialogs.
#include "winkit/file_dialogs.h"
#include <commdlg.h>
#include "common/text.h"

static void PrepareDialog(OPENFILENAMEA *info, HWND window, const char *filters, int filter, char *path, int size)
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

int AskFileToOpen(HWND window, const char *filters, int filter, char *path, int size)
{
    OPENFILENAMEA info;
    PrepareDialog(&info, window, filters, filter, path, size);
    info.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetOpenFileNameA(&info) != 0;
}

int AskFileToSave(HWND window, const char *filters, int filter, const char *defaultExtension, char *path,
                  int size)
{
    OPENFILENAMEA info;
    PrepareDialog(&info, window, filters, filter, path, size);
    info.lpstrDefExt = defaultExtension;
    info.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetSaveFileNameA(&info) != 0;
}
