// entry.cpp: the program's own entry point (no C run-time start-up code).
#include "app/startup.h"

extern "C" {

// Entry point: show mode from the start-up information, then the main routine; never returns.
void SetRadioEntry(void)
{
    STARTUPINFOW info;
    info.dwFlags = 0;
    GetStartupInfoW(&info);
    int showMode = (info.dwFlags & STARTF_USESHOWWINDOW) ? info.wShowWindow : SW_SHOWDEFAULT;
    ExitProcess((UINT)MainRoutine(GetModuleHandleW(0), 0, SkipProgramName(GetCommandLineW()), showMode));
}

}
