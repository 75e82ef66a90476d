# Check of every channel benchmark: SetRadio.exe under Wine against 100 channels in a private
# network, and check_all_baseline.exe, the same addresses probed one at a time. Run (root):
#   SR_BUILD=build bench/check_all_bench.sh      (build/native and build/win built)
if(WIN32 AND NOT SR_FUZZ)
  add_executable(check_all_baseline ${SR_ROOT}/bench/check_all_baseline.cpp)
  target_link_libraries(check_all_baseline PRIVATE srcore ws2_32)
  target_include_directories(check_all_baseline PRIVATE ${SR_ROOT})
endif()
