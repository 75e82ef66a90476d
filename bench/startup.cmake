# Start-up benchmark (Windows build): startup_bench.exe times SetRadio.exe against startup_minimal.exe.
# Run: scripts/wine-run.sh <build>/startup_bench.exe [runs] [steps]
# With "steps" it also times startup_step1.exe and startup_step2.exe (see startup_minimal.cpp), which
# share the gap out between DLLs, the main dialog template and SetRadio's own initialisation.
if(WIN32)
  set(_sr_startup_flags -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
      -ffreestanding -fno-stack-protector -fno-tree-loop-distribute-patterns)
  add_executable(startup_minimal WIN32 ${SR_ROOT}/bench/startup_minimal.cpp ${SR_ROOT}/app/memory_routines.cpp)
  target_compile_options(startup_minimal PRIVATE ${_sr_startup_flags})
  set_target_properties(startup_minimal PROPERTIES LINK_FLAGS "")
  target_link_options(startup_minimal PRIVATE -nostartfiles -nostdlib -Wl,-e,MinimalEntry -mwindows -s)
  target_link_libraries(startup_minimal PRIVATE kernel32 user32 gcc)
  add_executable(startup_step1 WIN32 ${SR_ROOT}/bench/startup_minimal.cpp ${SR_ROOT}/app/memory_routines.cpp)
  add_executable(startup_step2 WIN32 ${SR_ROOT}/bench/startup_minimal.cpp ${SR_ROOT}/app/memory_routines.cpp
      ${SR_ROOT}/res/setradio.rc)
  target_compile_definitions(startup_step1 PRIVATE STARTUP_STEP=1)
  target_compile_definitions(startup_step2 PRIVATE STARTUP_STEP=2)
  foreach(_sr_step startup_step1 startup_step2)
    target_include_directories(${_sr_step} PRIVATE ${SR_ROOT})
    target_compile_options(${_sr_step} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${_sr_startup_flags}>)
    set_target_properties(${_sr_step} PROPERTIES LINK_FLAGS "")
    target_link_options(${_sr_step} PRIVATE -nostartfiles -nostdlib -Wl,-e,MinimalEntry -mwindows -s)
    target_link_libraries(${_sr_step} PRIVATE kernel32 user32 gdi32 comctl32 ws2_32 gcc)
  endforeach()
  add_executable(startup_bench ${SR_ROOT}/bench/startup_bench.cpp)
  add_dependencies(startup_bench startup_minimal startup_step1 startup_step2 SetRadio)
endif()
