# Cross-builds for 64-bit Windows with Debian's mingw-w64 GCC (posix threads).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake
# QV_WIN_PREFIX names a folder with the engine and its libraries built for
# Windows (include/, lib/, bin/); tools/build-windows fills it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QV_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QV_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${QV_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${QV_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

set(QV_WIN_PREFIX "$ENV{QV_WIN_PREFIX}" CACHE PATH "Engine and libraries built for Windows")
set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW_TRIPLE} ${QV_WIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs and the engine carry the GCC, C++ and thread runtimes inside
# them, so that the folder needs only Irrlicht.dll besides the system's
# DLLs. Numbers print through mingw's own printf, not msvcrt's, so that they
# read as on Linux; no multiply-add is fused, so that float arithmetic goes
# step for step as in the Linux build.
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1 -ffp-contract=off")
set(CMAKE_C_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1 -ffp-contract=off")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s") # what ships carries no symbols

# Tests built for Windows run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
