# The fake station directory the CLI's end-to-end test searches; built for the host only.
if(NOT WIN32)
  add_executable(fake_directory ${SR_ROOT}/tests/helpers/fake_directory.cpp)
  target_compile_options(fake_directory PRIVATE ${SR_WARNINGS})
endif()
