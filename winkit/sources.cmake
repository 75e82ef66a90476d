# winkit/: Win32 building blocks that know nothing of radios: image buttons, anchored layout, window
# placement and column widths, code page conversion, message box, file dialogs and writing, list views.
# Files listed in _sr_portable are pure logic built into the portable core.
set(_sr_portable anchor_rule.cpp)
foreach(f ${_sr_portable})
  list(APPEND SR_CORE_SOURCES ${SR_ROOT}/winkit/${f})
endforeach()
if(WIN32)
  file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/winkit/*.cpp)
  foreach(f ${_sr_portable})
    list(REMOVE_ITEM _sr_files ${SR_ROOT}/winkit/${f})
  endforeach()
  list(APPEND SR_WIN_SOURCES ${_sr_files})
endif()
