// system_library.h: functions of system libraries loaded when they are first needed, so that the
// program does not load them (and everything they bring) while it starts. Windows only.
#ifndef SETRADIO_COMMON_SYSTEM_LIBRARY_H
#define SETRADIO_COMMON_SYSTEM_LIBRARY_H

#include "common/platform.h"

#ifdef _WIN32
// The address of the exported function name of library (e.g. L"winhttp.dll"), loaded from the
// system folder only; null when it cannot be loaded.
FARPROC PlatSystemProc(const WCHAR *library, const char *name);
// The same typed as the function itself: SYSTEM_CALL(L"shell32.dll", DragFinish).
#define SYSTEM_CALL(library, function) ((decltype(&function))(void *)PlatSystemProc(library, #function))
#endif

#endif
