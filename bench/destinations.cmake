# destinations_bench: what reading the device link's destination list costs (the interface list and
# the primary address, read at each search and each send). Natively with getifaddrs; the Windows
# build reads the WinSock list. Run: build/native/destinations_bench [reads], or under Wine
# scripts/wine-run.sh build/win/destinations_bench.exe [reads]; inside a test network to see several subnets.
if(WIN32)
  add_executable(destinations_bench ${SR_ROOT}/bench/destinations_bench.cpp
      ${SR_ROOT}/hostnet/host_interfaces.cpp ${SR_ROOT}/hostnet/interface_query.cpp)
  target_link_libraries(destinations_bench PRIVATE srcore ws2_32)
else()
  add_executable(destinations_bench ${SR_ROOT}/bench/destinations_bench.cpp)
  target_link_libraries(destinations_bench PRIVATE srcore)
endif()
target_include_directories(destinations_bench PRIVATE ${SR_ROOT})
target_compile_options(destinations_bench PRIVATE ${SR_WARNINGS})
