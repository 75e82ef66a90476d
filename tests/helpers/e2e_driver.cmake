# End-to-end helpers: the window driver (Windows, runs beside SetRadio.exe under Wine) and the
# datagram capture (Linux, records replies on a test network's interface).
if(WIN32)
  add_executable(e2e_driver ${SR_ROOT}/tests/e2e/driver.cpp)
  target_compile_options(e2e_driver PRIVATE ${SR_WARNINGS})
  target_link_libraries(e2e_driver PRIVATE comctl32 user32 psapi)
else()
  if(EXISTS ${SR_ROOT}/tests/e2e/driver_capture.cpp)
    add_executable(driver_capture ${SR_ROOT}/tests/e2e/driver_capture.cpp)
    target_compile_options(driver_capture PRIVATE ${SR_WARNINGS})
  endif()
endif()
