# Test stream server (library for the core tests, and a process), and the probe driver program.
# Native Linux only: the Windows test of the stream check has its own small Winsock server.
if(NOT WIN32)
  find_package(Threads REQUIRED)
  add_library(sr_stream_server STATIC ${SR_ROOT}/tests/helpers/stream_server.cpp)
  target_include_directories(sr_stream_server PUBLIC ${SR_ROOT}/tests/helpers)
  target_link_libraries(sr_stream_server PUBLIC Threads::Threads)
  target_compile_options(sr_stream_server PRIVATE ${SR_WARNINGS})
  target_link_libraries(core_tests PRIVATE sr_stream_server)

  add_executable(stream_server ${SR_ROOT}/tests/helpers/stream_server_main.cpp)
  target_link_libraries(stream_server PRIVATE sr_stream_server)

  add_executable(probe_url ${SR_ROOT}/tests/helpers/probe_url.cpp)
  target_link_libraries(probe_url PRIVATE srcore)
endif()
