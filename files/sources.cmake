# Portable core sources of files/ (settings files and playlists).
file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/files/*.cpp)
list(APPEND SR_CORE_SOURCES ${_sr_files})
