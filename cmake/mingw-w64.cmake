# Cross-compiling for Windows with Debian's MinGW-w64, for the target K7_MINGW_TRIPLE set by the
# toolchain file that includes this one (packages g++-mingw-w64-<arch>-posix and
# binutils-mingw-w64-<arch>). The posix-threads variant is used: its libstdc++ is complete
# (std::mutex and friends), and with -static the runtime, libgcc and winpthread are linked in, so
# the DLL imports system libraries only.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${K7_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${K7_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${K7_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${K7_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
