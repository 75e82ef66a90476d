# Portable core sources of common/.
file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/common/*.cpp)
list(APPEND SR_CORE_SOURCES ${_sr_files})
