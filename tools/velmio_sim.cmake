# Device simulator (native Linux only): plays Velmio devices for the e2e tests, the demo and the benchmark.
if(NOT WIN32)
  add_executable(velmio_sim ${SR_ROOT}/tools/velmio_sim.cpp)
  target_compile_options(velmio_sim PRIVATE ${SR_WARNINGS})
endif()
