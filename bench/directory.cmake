# directory_bench: figures of reading the largest station directory answer (native).
if(NOT WIN32 AND NOT SR_FUZZ)
  add_executable(directory_bench ${SR_ROOT}/bench/directory_bench.cpp)
  target_link_libraries(directory_bench PRIVATE srcore)
  target_compile_options(directory_bench PRIVATE ${SR_WARNINGS})
endif()
