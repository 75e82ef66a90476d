// startup.h: the main routine and its steps: settings path, atoms, WinSock, window class, message loop.
#ifndef SETRADIO_APP_STARTUP_H
#define SETRADIO_APP_STARTUP_H

#include "common/platform.h"

int MainRoutine(HINSTANCE instance, HINSTANCE previous, const WCHAR *arguments, int showMode);
void InitApplication(void);
int StartWinSock(WSADATA *info);  // 1 when WinSock 1.1 is ready
void ExitApplication(void);
void ReplaceExtension(WCHAR *path, const WCHAR *extension);
const WCHAR *SkipProgramName(const WCHAR *commandLine);
int RegisterMainWindowClass(HINSTANCE instance);

#endif
