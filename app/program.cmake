# SetRadio.exe: the program itself, with its own entry point and no C run-time.
set(SR_PROGRAM_FLAGS -Oz -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -ffreestanding
    -fno-stack-protector -fno-threadsafe-statics -fno-tree-loop-distribute-patterns -flto -ffat-lto-objects)
add_executable(SetRadio WIN32 ${SR_CORE_SOURCES} ${SR_WIN_SOURCES} ${SR_ENTRY_SOURCES} ${SR_ROOT}/res/setradio.rc)
target_include_directories(SetRadio PRIVATE ${SR_ROOT})
target_compile_definitions(SetRadio PRIVATE SETRADIO_VERSION="${PROJECT_VERSION}")
target_compile_options(SetRadio PRIVATE ${SR_WARNINGS} $<$<COMPILE_LANGUAGE:CXX>:${SR_PROGRAM_FLAGS} ${SR_CP949}>)
# Optimised as one unit at link time, which needs the object files on the command line: the usual
# rule hides them in an archive, where the linker (without its plugin, which crashes here) sees no
# link-time code. The rule applies to every program of this build; the tests link the same way.
set(CMAKE_CXX_LINK_EXECUTABLE
    "<CMAKE_CXX_COMPILER> <FLAGS> <CMAKE_CXX_LINK_FLAGS> <LINK_FLAGS> <OBJECTS> -o <TARGET> <LINK_LIBRARIES>")
# The toolchain's default -static-libstdc++ etc. would pull the run-time back in: link by hand.
set_target_properties(SetRadio PROPERTIES LINK_FLAGS "" OUTPUT_NAME SetRadio)
target_link_options(SetRadio PRIVATE -nostartfiles -nostdlib -Wl,-e,SetRadioEntry -mwindows -s
    -Wl,--gc-sections -flto -fno-use-linker-plugin -Oz)
target_link_libraries(SetRadio PRIVATE kernel32 user32 gdi32 comctl32 ws2_32 gcc)
# Imports and size of the program, checked without Wine.
add_test(NAME SetRadio_imports COMMAND sh ${SR_ROOT}/scripts/check_imports.sh $<TARGET_FILE:SetRadio>)
