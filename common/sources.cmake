# Portable core sources of common/.
file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/common/*.cpp)
# Windows reads its interface list in hostnet/; this one is the getifaddrs reader.
if(WIN32)
  list(REMOVE_ITEM _sr_files ${SR_ROOT}/common/host_interfaces.cpp)
endif()
list(APPEND SR_CORE_SOURCES ${_sr_files})
