# Portable core sources of device/.
file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/device/*.cpp)
list(APPEND SR_CORE_SOURCES ${_sr_files})
