# Cross-compiling for i686 Windows (see mingw-w64.cmake).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(K7_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
