# app/: Win32 application frame; entry.cpp (the program's own entry point) and memory_routines.cpp
# (memset and the like, in place of a run-time library) go into SetRadio.exe only;
# files listed in _sr_portable are pure logic built into the portable core.
set(_sr_portable anchor_rule.cpp)
foreach(f ${_sr_portable})
  list(APPEND SR_CORE_SOURCES ${SR_ROOT}/app/${f})
endforeach()
if(WIN32)
  file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/app/*.cpp)
  list(REMOVE_ITEM _sr_files ${SR_ROOT}/app/entry.cpp ${SR_ROOT}/app/memory_routines.cpp)
  foreach(f ${_sr_portable})
    list(REMOVE_ITEM _sr_files ${SR_ROOT}/app/${f})
  endforeach()
  list(APPEND SR_WIN_SOURCES ${_sr_files})
  if(EXISTS ${SR_ROOT}/app/entry.cpp)
    list(APPEND SR_ENTRY_SOURCES ${SR_ROOT}/app/entry.cpp ${SR_ROOT}/app/memory_routines.cpp)
  endif()
endif()
