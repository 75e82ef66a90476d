// main_state.cpp: the main window's state that its features share.
#include "ui/main_state.h"

MainWindowState g_main;
