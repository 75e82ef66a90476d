# Portable core sources of stream/.
file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/stream/*.cpp)
list(APPEND SR_CORE_SOURCES ${_sr_files})
