# make_images: host tool that draws the button strips and the icon (scripts/make_images.sh runs it).
if(NOT WIN32 AND NOT SR_FUZZ)
  add_executable(make_images ${SR_ROOT}/tools/make_images.cpp)
  target_compile_options(make_images PRIVATE ${SR_WARNINGS})
endif()
