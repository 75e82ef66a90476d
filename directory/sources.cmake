# Portable core sources of directory/ (the station directory: JSON answers, the station rule, servers).
file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/directory/*.cpp)
list(APPEND SR_CORE_SOURCES ${_sr_files})
