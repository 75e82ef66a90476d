# app/: the program on top: entry point, start-up and message loop. entry.cpp (the program's own
# entry point) and memory_routines.cpp (memset and the like, in place of a run-time library) go into
# SetRadio.exe only.
if(WIN32)
  file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/app/*.cpp)
  list(REMOVE_ITEM _sr_files ${SR_ROOT}/app/entry.cpp ${SR_ROOT}/app/memory_routines.cpp)
  list(APPEND SR_WIN_SOURCES ${_sr_files})
  if(EXISTS ${SR_ROOT}/app/entry.cpp)
    list(APPEND SR_ENTRY_SOURCES ${SR_ROOT}/app/entry.cpp ${SR_ROOT}/app/memory_routines.cpp)
  endif()
endif()
