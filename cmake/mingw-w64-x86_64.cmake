# Cross-building Tb58Wk31.dll with MinGW-w64 (Debian: g++-mingw-w64-x86-64).
# The C and C++ runtimes are linked statically, so the DLL and the test
# programs depend on system DLLs only.  Test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TB58_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX thread model gives the tests std::thread; it is linked statically.
find_program(CMAKE_C_COMPILER NAMES ${TB58_MINGW_PREFIX}-gcc-posix ${TB58_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TB58_MINGW_PREFIX}-g++-posix ${TB58_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TB58_MINGW_PREFIX}-windres REQUIRED)
find_program(TB58_OBJDUMP NAMES ${TB58_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${TB58_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(TB58_WINE NAMES wine wine64)
if(TB58_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TB58_WINE})
endif()
