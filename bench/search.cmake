# Search benchmark: SetRadio.exe under Wine against 200 simulated devices in a private network.
# Needs root and both builds side by side (build/native and build/win); run by hand:
#   cmake --build build/native --target bench_search      or      SR_BUILD=build bench/search_bench.sh
if(NOT WIN32)
  get_filename_component(_sr_bench_build ${CMAKE_BINARY_DIR} DIRECTORY)
  add_custom_target(bench_search
    COMMAND ${CMAKE_COMMAND} -E env SR_BUILD=${_sr_bench_build} bash ${SR_ROOT}/bench/search_bench.sh
    USES_TERMINAL)
endif()
