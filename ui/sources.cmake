# Win32 sources of ui/ (the main window and its handlers).
if(WIN32)
  file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/ui/*.cpp)
  # The station search reaches the directory through the system's own HTTP client.
  list(APPEND SR_WIN_SOURCES ${_sr_files} ${SR_ROOT}/webget/winhttp_get.cpp)
endif()
