# Sources of setradio-cli (cli/): every file but the entry point, so the argument tests can link them.
file(GLOB _sr_files CONFIGURE_DEPENDS ${SR_ROOT}/cli/*.cpp)
list(REMOVE_ITEM _sr_files ${SR_ROOT}/cli/main.cpp)
list(APPEND SR_CLI_SOURCES ${_sr_files})
