# Cross-compiling for x86_64 Windows (see mingw-w64.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(K7_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
