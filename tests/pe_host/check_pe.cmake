# Checks a built k7gauges.gau with objdump -p: the PE format, exactly the two exported records
# the simulator looks up, and imports from system DLLs only (the C/C++ runtime is linked in).
#
#   cmake -DOBJDUMP=<objdump> -DGAU=<file> -DFORMAT=pei-i386 -P check_pe.cmake
cmake_minimum_required(VERSION 3.25)

foreach(var OBJDUMP GAU FORMAT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_pe.cmake: ${var} not given")
  endif()
endforeach()
if(NOT EXISTS "${GAU}")
  message(FATAL_ERROR "${GAU} was not built")
endif()

# DLLs that every Windows installation has, and the sound and multimedia ones the module uses.
set(allowed_imports KERNEL32.dll msvcrt.dll USER32.dll GDI32.dll ADVAPI32.dll DSOUND.dll
                    WINMM.dll ole32.dll)
set(expected_exports ImportTable Linkage)

execute_process(COMMAND "${OBJDUMP}" -p "${GAU}" OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${GAU} failed (${rc})")
endif()

set(failures "")

if(NOT dump MATCHES "file format ${FORMAT}\n")
  string(REGEX MATCH "file format [^\n]*" found "${dump}")
  list(APPEND failures "expected file format ${FORMAT}, found '${found}'")
endif()

# The export names follow the "[Ordinal/Name Pointer] Table" heading, one "[ n] name" a line,
# up to the next blank line.
string(REPLACE "\n" ";" lines "${dump}")
set(exports "")
set(in_names OFF)
foreach(line IN LISTS lines)
  if(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
    set(in_names ON)
  elseif(in_names AND line MATCHES "^[ \t]*\\[ *[0-9]+\\] ([^ \t]+)$")
    list(APPEND exports "${CMAKE_MATCH_1}")
  elseif(in_names)
    set(in_names OFF)
  endif()
endforeach()
list(SORT exports)
if(NOT exports STREQUAL expected_exports)
  list(APPEND failures "exports are [${exports}], expected exactly [${expected_exports}]")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${dump}")
set(imports "")
foreach(line IN LISTS import_lines)
  string(REGEX REPLACE "^DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  list(APPEND imports "${dll}")
  string(TOUPPER "${dll}" dll_upper)
  set(known OFF)
  foreach(ok IN LISTS allowed_imports)
    string(TOUPPER "${ok}" ok_upper)
    if(dll_upper STREQUAL ok_upper)
      set(known ON)
    endif()
  endforeach()
  if(NOT known)
    list(APPEND failures "imports ${dll}, which a simulator installation does not have")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "${GAU}:\n  ${text}")
endif()
message(STATUS "${GAU}: ${FORMAT}, exports [${exports}], imports [${imports}]")
