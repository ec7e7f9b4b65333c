# The Windows builds, made by the native build from the same source tree with the two MinGW-w64
# toolchains (binary trees under cross/), and the tests that check them:
#   cross/i686/k7gauges.gau     the module for the simulator (also copied to k7gauges.gau here)
#   cross/x86_64/k7gauges.gau   the same module for 64-bit Windows, with the PE test host
#                               cross/x86_64/tests/pe_host/pe_host.exe, which runs under wine64
# Included by the root CMakeLists.txt when K7_CROSS is ON; configure with -DK7_CROSS=OFF to skip.
include(ExternalProject)

set(K7_CROSS_BUILD_TYPE Release CACHE STRING "Build type of the MinGW-w64 builds of the module")

set(k7_cross_missing "")
foreach(tool i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix i686-w64-mingw32-objdump
             x86_64-w64-mingw32-objdump)
  string(MAKE_C_IDENTIFIER "K7_TOOL_${tool}" var)
  find_program(${var} ${tool})
  if(NOT ${var})
    list(APPEND k7_cross_missing ${tool})
  endif()
endforeach()
# Debian installs the 64-bit loader as /usr/lib/wine/wine64, outside PATH.
find_program(K7_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine /opt/wine-stable/bin)
find_program(K7_WINESERVER NAMES wineserver wineserver64
             PATHS /usr/lib/wine /usr/lib64/wine /opt/wine-stable/bin)
foreach(var K7_WINE64 K7_WINESERVER)
  if(NOT ${var})
    list(APPEND k7_cross_missing ${var})
  endif()
endforeach()
if(k7_cross_missing)
  message(FATAL_ERROR "The Windows builds need MinGW-w64 and wine64; missing: ${k7_cross_missing}. "
                      "Run scripts/setup, or configure with -DK7_CROSS=OFF.")
endif()

set(K7_CROSS_DIR ${CMAKE_BINARY_DIR}/cross)

function(k7_cross_build arch)
  set(bin ${K7_CROSS_DIR}/${arch})
  if(arch STREQUAL "i686")
    # The module a simulator user installs, next to the native library.
    set(install_command ${CMAKE_COMMAND} -E copy_if_different ${bin}/k7gauges.gau
                        ${CMAKE_BINARY_DIR}/k7gauges.gau)
  else()
    set(install_command "")
  endif()
  ExternalProject_Add(
    k7gauges_${arch}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${bin}
    PREFIX ${K7_CROSS_DIR}/${arch}-ep
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${arch}-w64-mingw32.cmake
               -DCMAKE_BUILD_TYPE=${K7_CROSS_BUILD_TYPE} -DK7_CROSS=OFF -DK7_SANITIZE=OFF
               -DK7_ART_DIR=${K7_ART_DIR}
    DEPENDS k7art
    BUILD_ALWAYS ON
    INSTALL_COMMAND "${install_command}"
    BUILD_BYPRODUCTS ${bin}/k7gauges.gau ${bin}/tests/pe_host/pe_host.exe)
endfunction()

k7_cross_build(i686)
k7_cross_build(x86_64)

# ---- tests ---------------------------------------------------------------------------------------
set(k7_pe_dir ${CMAKE_SOURCE_DIR}/tests/pe_host)

add_test(NAME gau_exports
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${K7_TOOL_i686_w64_mingw32_objdump}
                 -DGAU=${K7_CROSS_DIR}/i686/k7gauges.gau -DFORMAT=pei-i386 -P
                 ${k7_pe_dir}/check_pe.cmake)
add_test(NAME gau_exports_x86_64
         COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${K7_TOOL_x86_64_w64_mingw32_objdump}
                 -DGAU=${K7_CROSS_DIR}/x86_64/k7gauges.gau -DFORMAT=pei-x86-64 -P
                 ${k7_pe_dir}/check_pe.cmake)

# Every bitmap the element records name is a BITMAP resource of the .gau.
add_test(NAME gau_bitmaps
         COMMAND ${K7_PYTHON} ${CMAKE_SOURCE_DIR}/tests/art/check_art.py ${K7_ART_DIR}/records.json
                 --gau ${K7_CROSS_DIR}/i686/k7gauges.gau)

# One wine prefix for all wine tests: made (slowly, the first time) by a fixture, its wineserver
# stopped by another.
set(k7_wine_prefix ${K7_CROSS_DIR}/wineprefix)
add_test(NAME wine_prefix
         COMMAND ${CMAKE_COMMAND} -DMODE=init -DWINE=${K7_WINE64} -DPREFIX=${k7_wine_prefix} -P
                 ${k7_pe_dir}/wine.cmake)
add_test(NAME wine_stop
         COMMAND ${CMAKE_COMMAND} -DMODE=stop -DWINESERVER=${K7_WINESERVER}
                 -DPREFIX=${k7_wine_prefix} -P ${k7_pe_dir}/wine.cmake)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP k7_wine TIMEOUT 600)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP k7_wine)

add_test(NAME pe_host_wine64
         COMMAND ${CMAKE_COMMAND} -DMODE=listing -DWINE=${K7_WINE64} -DPREFIX=${k7_wine_prefix}
                 -DHOST=${K7_CROSS_DIR}/x86_64/tests/pe_host/pe_host.exe
                 -DGAU=${K7_CROSS_DIR}/x86_64/k7gauges.gau
                 -DK7SIM=$<TARGET_FILE:k7sim> -P ${k7_pe_dir}/wine.cmake)
set_tests_properties(pe_host_wine64 PROPERTIES FIXTURES_REQUIRED k7_wine TIMEOUT 300)

# Sound through wine's real DirectSound, played into ALSA's null device (the home folder given to
# wine holds only the .asoundrc that says so), and the same module without any sound device.
set(k7_sound_home ${K7_CROSS_DIR}/wine-home)
configure_file(${k7_pe_dir}/asoundrc ${k7_sound_home}/.asoundrc COPYONLY)
foreach(check sound silent)
  if(check STREQUAL "sound")
    set(home -DSOUND_HOME=${k7_sound_home})
  else()
    set(home "")
  endif()
  add_test(NAME pe_host_${check}
           COMMAND ${CMAKE_COMMAND} -DMODE=checks -DWINE=${K7_WINE64} -DPREFIX=${k7_wine_prefix}
                   -DHOST=${K7_CROSS_DIR}/x86_64/tests/pe_host/pe_host.exe
                   -DGAU=${K7_CROSS_DIR}/x86_64/k7gauges.gau -DCHECKS=${check} ${home} -P
                   ${k7_pe_dir}/wine.cmake)
  set_tests_properties(pe_host_${check} PROPERTIES FIXTURES_REQUIRED k7_wine TIMEOUT 300
                                                   RESOURCE_LOCK k7_wine_run)
endforeach()
