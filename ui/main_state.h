// main_state.h: the main window's state that its features share.
#ifndef SETRADIO_UI_MAIN_STATE_H
#define SETRADIO_UI_MAIN_STATE_H

#include "common/platform.h"

struct MainWindowState {
    int changedFlag;      // unsaved channel edits: set by add and modify, cleared by a send
    int deviceRowCount;   // DeviceList rows added since the last search: index of the next row
    int searchTicks;      // SEARCH_TIMER ticks of the running search, 0 to 99
    int searchRunning;    // 1 from the search command until its last tick (the button tells nothing:
                          // the check of every channel disables it too)
    HBITMAP sendImage;    // bitmap strip of IDC_SEND, or null
    HBITMAP closeImage;   // bitmap strip of IDCANCEL, or null
};
extern MainWindowState g_main;

#endif
