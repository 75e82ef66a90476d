# Win32 sources of ui/ (the main window and its handlers).
if(WIN32)
  file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/ui/*.cpp)
  list(APPEND SR_WIN_SOURCES ${_sr_files})
endif()
