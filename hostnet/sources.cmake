# hostnet/: Win32 host network readings;
# files listed in _sr_portable are pure logic built into the portable core.
set(_sr_portable block_bounds.cpp interface_list.cpp vnbt_reply.cpp)
foreach(f ${_sr_portable})
  list(APPEND SR_CORE_SOURCES ${SR_ROOT}/hostnet/${f})
endforeach()
if(WIN32)
  file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/hostnet/*.cpp)
  foreach(f ${_sr_portable})
    list(REMOVE_ITEM _sr_files ${SR_ROOT}/hostnet/${f})
  endforeach()
  list(APPEND SR_WIN_SOURCES ${_sr_files})
endif()
