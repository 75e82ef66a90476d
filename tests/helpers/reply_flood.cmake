# Misbehaving replies for the end-to-end tests and the benchmark of an unresponsive window (Linux only).
if(NOT WIN32)
  add_executable(reply_flood ${SR_ROOT}/tests/helpers/reply_flood.cpp)
  target_compile_options(reply_flood PRIVATE ${SR_WARNINGS})
endif()
