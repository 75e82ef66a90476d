# link_bench: DeviceLink figures with many simulated devices (native; run by bench/link_bench.sh).
if(NOT WIN32)
  add_executable(link_bench ${SR_ROOT}/bench/link_bench.cpp)
  target_link_libraries(link_bench PRIVATE srcore)
  target_compile_options(link_bench PRIVATE ${SR_WARNINGS})
endif()
