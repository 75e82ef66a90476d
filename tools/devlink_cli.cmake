# devlink_cli: one message out through the real DeviceLink, replies collected (native and Windows).
add_executable(devlink_cli ${SR_ROOT}/tools/devlink_cli.cpp)
target_link_libraries(devlink_cli PRIVATE srcore)
target_compile_options(devlink_cli PRIVATE ${SR_WARNINGS})
