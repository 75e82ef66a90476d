// startup.h: process-wide state set at start-up, the main routine and its steps.
#ifndef SETRADIO_APP_STARTUP_H
#define SETRADIO_APP_STARTUP_H

#include "common/platform.h"

extern HINSTANCE g_instance;      // the program's own module
extern WCHAR g_iniPath[MAX_PATH]; // SettingsFile: the module path with the extension "ini"
extern ATOM g_atomCurrWndSize;    // property name atoms, added by InitApplication
extern ATOM g_atomUserPrm1;

int MainRoutine(HINSTANCE instance, HINSTANCE previous, const WCHAR *arguments, int showMode);
void InitApplication(void);
int StartWinSock(WSADATA *info);  // 1 when WinSock 1.1 is ready
void ExitApplication(void);
void ReplaceExtension(WCHAR *path, const WCHAR *extension);
const WCHAR *SkipProgramName(const WCHAR *commandLine);
int RegisterMainWindowClass(HINSTANCE instance);

#endif
