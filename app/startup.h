// startup.h: process-wide state set at start-up, the main routine and its steps.
#ifndef SETRADIO_APP_STARTUP_H
#define SETRADIO_APP_STARTUP_H

#include "common/platform.h"

extern HINSTANCE g_instance;      // the program's own module
extern char g_iniPath[260];       // SettingsFile: the module path with the extension "ini"
extern ATOM g_atomCurrWndSize;    // property name atoms, added by InitApplication
extern ATOM g_atomUserPrm1;

int MainRoutine(HINSTANCE instance, HINSTANCE previous, const char *arguments, int showMode);
void InitApplication(void);
int StartWinSock(WSADATA *info);  // 1 when WinSock 1.1 is ready
void ExitApplication(void);
void ReplaceExtension(char *path, const char *extension);
const char *SkipProgramName(const char *commandLine);
int RegisterMainWindowClass(HINSTANCE instance);

#endif
