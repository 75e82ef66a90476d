// program_module.h: the program's own module, whose resources the building blocks load.
#ifndef SETRADIO_WINKIT_PROGRAM_MODULE_H
#define SETRADIO_WINKIT_PROGRAM_MODULE_H

#include "common/platform.h"

extern HINSTANCE g_instance;   // set once by the start-up, before any window exists

#endif
