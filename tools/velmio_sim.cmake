# Device simulator: plays Velmio devices for the e2e tests, the demo and the benchmark (native Linux),
# and as velmio_sim.exe in the Windows build, run under Wine.
add_executable(velmio_sim ${SR_ROOT}/tools/velmio_sim.cpp)
target_compile_options(velmio_sim PRIVATE ${SR_WARNINGS})
if(WIN32)
  target_link_libraries(velmio_sim PRIVATE ws2_32)
endif()
# Its loopback test client (Linux), used by tests/e2e/sim_wine.sh.
if(NOT WIN32)
  add_executable(velmio_sim_probe ${SR_ROOT}/tools/velmio_sim_probe.cpp)
  target_compile_options(velmio_sim_probe PRIVATE ${SR_WARNINGS})
endif()
