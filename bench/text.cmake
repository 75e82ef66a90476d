# text_bench: figures of key lookup, loading and SETT composing on full-size device texts (native).
if(NOT WIN32 AND NOT SR_FUZZ)
  add_executable(text_bench ${SR_ROOT}/bench/text_bench.cpp)
  target_link_libraries(text_bench PRIVATE srcore)
  target_compile_options(text_bench PRIVATE ${SR_WARNINGS})
endif()
