# Start-up benchmark (Windows build): startup_bench.exe times SetRadio.exe against startup_minimal.exe.
# Run: scripts/wine-run.sh <build>/startup_bench.exe [runs]
if(WIN32)
  add_executable(startup_minimal WIN32 ${SR_ROOT}/bench/startup_minimal.cpp)
  target_compile_options(startup_minimal PRIVATE -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
      -ffreestanding -fno-stack-protector -fno-tree-loop-distribute-patterns)
  set_target_properties(startup_minimal PROPERTIES LINK_FLAGS "")
  target_link_options(startup_minimal PRIVATE -nostartfiles -nostdlib -Wl,-e,MinimalEntry -mwindows -s)
  target_link_libraries(startup_minimal PRIVATE kernel32 user32 gcc)
  add_executable(startup_bench ${SR_ROOT}/bench/startup_bench.cpp)
  add_dependencies(startup_bench startup_minimal SetRadio)
endif()
