# The demonstration is the demo/*.k7s files in the order of their names.
file(GLOB K7_DEMO_FILES ${DIR}/*.k7s)
list(SORT K7_DEMO_FILES)
set(K7_DEMO_TEXT "")
foreach(f ${K7_DEMO_FILES})
  file(READ ${f} part)
  string(APPEND K7_DEMO_TEXT "${part}")
endforeach()
file(WRITE ${OUT} "// Generated from demo/*.k7s.\nextern const char* const k7sim_demo_script;\nconst char* const k7sim_demo_script = R\"K7DEMO(${K7_DEMO_TEXT})K7DEMO\";\n")
