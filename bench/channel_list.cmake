# ChannelList benchmark (Windows build): loading device texts of many entries and moving rows end to end.
# Run: scripts/wine-run.sh <build>/channel_list_bench.exe
if(WIN32 AND NOT SR_FUZZ AND SR_WIN_SOURCES)
  add_executable(channel_list_bench ${SR_ROOT}/bench/channel_list_bench.cpp ${SR_WIN_SOURCES} ${SR_ROOT}/res/setradio.rc)
  target_link_libraries(channel_list_bench PRIVATE srcore comctl32 gdi32 user32 ws2_32 winhttp)
  target_include_directories(channel_list_bench PRIVATE ${SR_ROOT})
  target_compile_options(channel_list_bench PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${SR_CP949}>)
endif()
