file(READ ${IN} K7_PANEL_TEXT)
file(WRITE ${OUT} "// Generated from panel/panel.cfg.\n#include \"host/k7host.h\"\n\nnamespace k7host {\nconst std::string& default_panel_cfg() {\n  static const std::string text = R\"K7PANEL(${K7_PANEL_TEXT})K7PANEL\";\n  return text;\n}\n} // namespace k7host\n")
