file(READ ${IN} K7_DEMO_TEXT)
file(WRITE ${OUT} "// Generated from demo.k7s.\nextern const char* const k7sim_demo_script;\nconst char* const k7sim_demo_script = R\"K7DEMO(${K7_DEMO_TEXT})K7DEMO\";\n")
