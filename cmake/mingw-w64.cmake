# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads, the compiler the
# prebuilt Qt for Windows was made with). Chained behind Qt's own toolchain file: see
# scripts/windows.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests and hexbench run where they were built, under Wine (ctest and test discovery alike).
# The 64-bit loader itself: the `wine` launcher prefers a 32-bit Wine when one is installed.
find_program(HX_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(HX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${HX_WINE})
endif()
