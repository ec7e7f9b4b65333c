# Runs the Windows test host under wine64, headless, in a wine prefix of the build tree.
#
#   cmake -DMODE=init    -DWINE=<wine64> -DPREFIX=<dir> -P wine.cmake
#         creates or updates the prefix (the first start takes a while); a test fixture
#   cmake -DMODE=stop    -DWINESERVER=<wineserver> -DPREFIX=<dir> -P wine.cmake
#         stops the prefix's wineserver
#   cmake -DMODE=listing -DWINE=<wine64> -DPREFIX=<dir> -DHOST=<pe_host.exe> -DGAU=<module>
#         -DK7SIM=<k7sim> -P wine.cmake
#         runs the host on the module and compares its gauge listing with the native module's
#         (`k7sim gauges --plain`)
#   cmake -DMODE=checks -DWINE=<wine64> -DPREFIX=<dir> -DHOST=<pe_host.exe> -DGAU=<module>
#         -DCHECKS=<check;...> [-DSOUND_HOME=<dir>] -P wine.cmake
#         runs the host's checks; with SOUND_HOME (a folder holding an .asoundrc that makes ALSA's
#         null device the default) wine's ALSA driver is allowed and DirectSound plays into it
cmake_minimum_required(VERSION 3.25)

# Headless and quiet: no display, no debug channels, no Mono or Gecko install prompts. No audio
# driver either, whatever the machine has: DirectSound then fails to create a device on every
# machine alike (the module must carry on silently). The sound checks alone get ALSA, pointed at
# its null device through their own home folder, never the user's.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
set(ENV{WINEDEBUG} "-all")
if(DEFINED SOUND_HOME)
  set(ENV{HOME} "${SOUND_HOME}")
  set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=;winepulse.drv,wineoss.drv=")
else()
  set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv=")
endif()
set(ENV{WINEPREFIX} "${PREFIX}")
if(DEFINED WINE)
  set(ENV{WINELOADER} "${WINE}")
endif()

# A Windows path for a file of this machine: wine maps the root directory to drive Z:.
function(windows_path out path)
  string(REPLACE "/" "\\" p "${path}")
  set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()

if(MODE STREQUAL "init")
  file(MAKE_DIRECTORY "${PREFIX}")
  execute_process(COMMAND "${WINE}" wineboot --init RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE out TIMEOUT 600)
  if(NOT rc EQUAL 0 OR NOT EXISTS "${PREFIX}/system.reg")
    message(FATAL_ERROR "wineboot in ${PREFIX} failed (${rc}):\n${out}")
  endif()
  message(STATUS "wine prefix ready: ${PREFIX}")

elseif(MODE STREQUAL "stop")
  execute_process(COMMAND "${WINESERVER}" -k RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  message(STATUS "wineserver for ${PREFIX} stopped")

elseif(MODE STREQUAL "listing")
  foreach(var WINE HOST GAU K7SIM)
    if(NOT EXISTS "${${var}}")
      message(FATAL_ERROR "${var} (${${var}}) does not exist")
    endif()
  endforeach()

  # What the native build says the gauge table is.
  execute_process(COMMAND "${K7SIM}" gauges --plain RESULT_VARIABLE rc OUTPUT_VARIABLE native
                  ERROR_VARIABLE err TIMEOUT 120)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${K7SIM} gauges --plain failed (${rc}):\n${err}")
  endif()
  set(source "k7sim gauges --plain")

  get_filename_component(dir "${GAU}" DIRECTORY)
  windows_path(gau_win "${GAU}")
  execute_process(COMMAND "${WINE}" "${HOST}" "${gau_win}" WORKING_DIRECTORY "${dir}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 300)
  message("${out}")
  if(err)
    message("stderr:\n${err}")
  endif()
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pe_host exited with ${rc}")
  endif()

  # Compare the listing lines ("index|name|size|callback"), in order.
  string(REGEX MATCHALL "(^|\n)[0-9]+\\|[^\n\r]*" got "${out}")
  string(REGEX MATCHALL "(^|\n)[0-9]+\\|[^\n\r]*" want "${native}")
  list(TRANSFORM got STRIP)
  list(TRANSFORM want STRIP)
  list(LENGTH got n_got)
  list(LENGTH want n_want)
  if(n_want EQUAL 0)
    message(FATAL_ERROR "no gauge listing from ${source}")
  endif()
  set(diffs 0)
  set(report "")
  math(EXPR last "${n_got} - 1")
  if(n_want GREATER n_got)
    math(EXPR last "${n_want} - 1")
  endif()
  foreach(i RANGE ${last})
    set(a "(missing)")
    set(b "(missing)")
    if(i LESS n_got)
      list(GET got ${i} a)
    endif()
    if(i LESS n_want)
      list(GET want ${i} b)
    endif()
    if(NOT a STREQUAL b)
      math(EXPR diffs "${diffs} + 1")
      if(diffs LESS_EQUAL 10)
        string(APPEND report "  line ${i}: windows '${a}', native '${b}'\n")
      endif()
    endif()
  endforeach()
  if(diffs GREATER 0)
    message(FATAL_ERROR "gauge listing of ${GAU} differs from ${source} in ${diffs} lines "
                        "(${n_got} against ${n_want}):\n${report}")
  endif()
  message(STATUS "${n_got} gauges listed by the Windows module match ${source}")

elseif(MODE STREQUAL "checks")
  foreach(var WINE HOST GAU)
    if(NOT EXISTS "${${var}}")
      message(FATAL_ERROR "${var} (${${var}}) does not exist")
    endif()
  endforeach()
  if(DEFINED SOUND_HOME AND NOT EXISTS "${SOUND_HOME}/.asoundrc")
    message(FATAL_ERROR "no .asoundrc in ${SOUND_HOME}")
  endif()
  get_filename_component(dir "${GAU}" DIRECTORY)
  windows_path(gau_win "${GAU}")
  execute_process(COMMAND "${WINE}" "${HOST}" "${gau_win}" ${CHECKS} WORKING_DIRECTORY "${dir}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 300)
  # The sound log and the verdicts; the key events the cockpit sends meanwhile are left out.
  string(REGEX REPLACE "(^|\n)key\\|[^\n]*" "" shown "${out}")
  message("${shown}")
  if(NOT rc EQUAL 0)
    if(err)
      message("stderr:\n${err}")
    endif()
    message(FATAL_ERROR "pe_host ${CHECKS} exited with ${rc}")
  endif()
  foreach(check ${CHECKS})
    if(NOT out MATCHES "check\\|${check}\\|ok")
      message(FATAL_ERROR "check ${check} did not pass")
    endif()
  endforeach()

else()
  message(FATAL_ERROR "wine.cmake: unknown MODE '${MODE}'")
endif()
