// program_module.cpp: the program's own module, whose resources the building blocks load.
#include "winkit/program_module.h"

HINSTANCE g_instance = 0;
