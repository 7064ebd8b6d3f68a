# Cross-compiles for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix
# and binutils-mingw-w64-x86-64). Use through the "windows" preset or with
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVROSSIMER_MINGW_PREFIX x86_64-w64-mingw32)

# The posix thread model is the one Debian ships as the default g++; prefer its
# explicit name so a switched alternative cannot pick the win32 one by accident.
find_program(CMAKE_CXX_COMPILER NAMES ${TAVROSSIMER_MINGW_PREFIX}-g++-posix ${TAVROSSIMER_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${TAVROSSIMER_MINGW_PREFIX}-gcc-posix ${TAVROSSIMER_MINGW_PREFIX}-gcc)
find_program(CMAKE_AR NAMES ${TAVROSSIMER_MINGW_PREFIX}-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES ${TAVROSSIMER_MINGW_PREFIX}-ranlib REQUIRED)
find_program(TAVROSSIMER_DLLTOOL NAMES ${TAVROSSIMER_MINGW_PREFIX}-dlltool REQUIRED)
find_program(TAVROSSIMER_OBJDUMP NAMES ${TAVROSSIMER_MINGW_PREFIX}-objdump REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVROSSIMER_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
