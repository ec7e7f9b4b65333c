# Cross-compiling for x86_64 Windows with Debian's MinGW-w64 (packages g++-mingw-w64-x86-64-posix and
# binutils-mingw-w64-x86-64). The posix-threads variant is used: its libstdc++ is complete
# (std::mutex and friends), and with -static the runtime, libgcc and winpthread are linked in, so
# the DLL imports system libraries only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(K7_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${K7_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${K7_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${K7_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${K7_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
