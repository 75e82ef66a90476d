// system_library.cpp: system libraries loaded on first use, by their full path in the system folder
// (never from the program's folder or the current one, where another file of that name may lie).
#include "common/system_library.h"

#ifdef _WIN32
FARPROC PlatSystemProc(const WCHAR *library, const char *name)
{
    HMODULE module = GetModuleHandleW(library);
    if (!module) {
        WCHAR path[MAX_PATH];
        UINT folder = GetSystemDirectoryW(path, MAX_PATH);
        int length = lstrlenW(library);
        if (folder == 0 || folder + 1 + length >= MAX_PATH) return 0;
        path[folder] = '\\';
        lstrcpynW(path + folder + 1, library, length + 1);
        module = LoadLibraryW(path);   // kept loaded: its functions are used until the program ends
        if (!module) return 0;
    }
    return GetProcAddress(module, name);
}
#endif
