# Stream probe benchmark (native only: it uses the loopback test server and Debian's curl).
if(NOT WIN32 AND NOT SR_FUZZ)
  add_executable(probe_bench ${SR_ROOT}/bench/probe_bench.cpp)
  target_link_libraries(probe_bench PRIVATE srcore sr_stream_server)
endif()
