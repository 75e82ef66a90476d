# setradio-cli: the command-line program over the same core, natively and as a Windows console program.
# It may use the C and C++ run-time and threads; SetRadio.exe is built apart and stays as it is.
find_package(Threads REQUIRED)
# The PC's interface list: Windows reads it in hostnet/ (the window's own reader), Linux in the core.
set(SR_CLI_PLATFORM_SOURCES)
if(WIN32)
  set(SR_CLI_PLATFORM_SOURCES ${SR_ROOT}/hostnet/host_interfaces.cpp ${SR_ROOT}/hostnet/interface_query.cpp
      ${SR_ROOT}/webget/winhttp_get.cpp)
endif()
add_library(srcli STATIC ${SR_CLI_SOURCES} ${SR_CLI_PLATFORM_SOURCES})
target_link_libraries(srcli PUBLIC srcore Threads::Threads)
# The station directory's HTTP client: WinHTTP on Windows, libcurl (a dependency of the package) on Linux.
if(WIN32)
  target_link_libraries(srcli PUBLIC winhttp)
else()
  find_package(CURL REQUIRED)
  target_link_libraries(srcli PUBLIC CURL::libcurl)
endif()
target_compile_options(srcli PRIVATE ${SR_WARNINGS} -finput-charset=UTF-8 -fexec-charset=CP949)
target_compile_definitions(srcli PRIVATE SETRADIO_VERSION="${PROJECT_VERSION}")

add_executable(setradio-cli ${SR_ROOT}/cli/main.cpp)
target_link_libraries(setradio-cli PRIVATE srcli)
target_compile_options(setradio-cli PRIVATE ${SR_WARNINGS} -finput-charset=UTF-8 -fexec-charset=CP949)
target_compile_definitions(setradio-cli PRIVATE SETRADIO_VERSION="${PROJECT_VERSION}")
if(WIN32)
  # File names arrive in UTF-16 through wmain.
  target_link_options(setradio-cli PRIVATE -municode)
endif()
install(TARGETS setradio-cli RUNTIME DESTINATION bin)

if(TARGET gtest)
  file(GLOB SR_CLI_TEST_SOURCES CONFIGURE_DEPENDS ${SR_ROOT}/tests/cli/*.cpp)
  add_executable(cli_tests ${SR_CLI_TEST_SOURCES})
  target_link_libraries(cli_tests PRIVATE srcli gtest gtest_main)
  target_include_directories(cli_tests PRIVATE ${SR_ROOT} ${SR_ROOT}/tests)
  target_compile_options(cli_tests PRIVATE ${SR_WARNINGS} -finput-charset=UTF-8 -fexec-charset=CP949)
  add_test(NAME cli_tests COMMAND cli_tests --gtest_brief=1)
endif()
