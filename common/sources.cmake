list(APPEND SR_CORE_SOURCES ${SR_ROOT}/common/text.cpp)
