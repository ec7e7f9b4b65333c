// Reads a panel configuration in the simulator's own panel.cfg format.
#include "host/k7host.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace k7host {

namespace {

std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  const auto e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool to_int(const std::string& text, int& out) {
  const std::string t = trim(text);
  if (t.empty()) return false;
  char* end = nullptr;
  const long v = std::strtol(t.c_str(), &end, 10);
  if (end == nullptr || *end != '\0' || v < -1000000 || v > 1000000) return false;
  out = static_cast<int>(v);
  return true;
}

// gaugeNN=module!gauge name, x, y[, w[, h]]
bool parse_gauge(const std::string& value, PanelGauge& g) {
  const auto bang = value.find('!');
  if (bang == std::string::npos) return false;
  g.module = trim(value.substr(0, bang));
  std::vector<std::string> fields;
  std::stringstream rest(value.substr(bang + 1));
  std::string field;
  while (std::getline(rest, field, ','))
    fields.push_back(field);
  if (fields.size() < 3 || fields.size() > 5) return false;
  g.name = trim(fields[0]);
  if (g.name.empty() || !to_int(fields[1], g.x) || !to_int(fields[2], g.y)) return false;
  if (fields.size() > 3 && !to_int(fields[3], g.w)) return false;
  if (fields.size() > 4 && !to_int(fields[4], g.h)) return false;
  return true;
}

} // namespace

PanelConfig parse_panel_cfg(const std::string& text) {
  PanelConfig cfg;
  std::map<std::string, std::string> titles;
  std::stringstream in(text);
  std::string line;
  std::string section;
  PanelWindow* window = nullptr;
  int line_no = 0;
  while (std::getline(in, line)) {
    ++line_no;
    line = trim(line);
    if (line.empty() || line[0] == ';' || line.rfind("//", 0) == 0) continue;
    if (line[0] == '[') {
      const auto close = line.find(']');
      section =
          lower(trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
      window = nullptr;
      if (section.rfind("window", 0) == 0 && section != "window titles") {
        cfg.windows.emplace_back();
        window = &cfg.windows.back();
        window->section = section;
      }
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string::npos) {
      cfg.problems.push_back("line " + std::to_string(line_no) + ": " + line);
      continue;
    }
    const std::string key = lower(trim(line.substr(0, eq)));
    const std::string value = trim(line.substr(eq + 1));
    if (section == "window titles") {
      titles[key] = value;
    } else if (window != nullptr) {
      if (key == "ident") {
        if (lower(value) == "main_panel") {
          window->main_panel = true;
        } else {
          int id = 0;
          if (to_int(value, id) && id >= 0)
            window->ident = static_cast<std::uint32_t>(id);
          else
            cfg.problems.push_back("line " + std::to_string(line_no) + ": ident " + value);
        }
      } else if (key == "visible") {
        window->visible = value == "1";
      } else if (key == "size_mm" || key == "background_color") {
        // "w,h" in panel pixels; "r,g,b"
        std::vector<int> parts;
        std::stringstream fields(value);
        for (std::string field; std::getline(fields, field, ',');) {
          int v = 0;
          if (to_int(field, v)) parts.push_back(v);
        }
        if (key == "size_mm" && parts.size() == 2) {
          window->size_x = parts[0];
          window->size_y = parts[1];
        } else if (key == "background_color" && parts.size() == 3) {
          window->background_color = static_cast<std::uint32_t>(
              (std::clamp(parts[0], 0, 255) << 16) | (std::clamp(parts[1], 0, 255) << 8) |
              std::clamp(parts[2], 0, 255));
        }
      } else if (key.rfind("gauge", 0) == 0) {
        PanelGauge g;
        if (parse_gauge(value, g))
          window->gauges.push_back(g);
        else
          cfg.problems.push_back("line " + std::to_string(line_no) + ": " + line);
      }
    }
  }
  for (PanelWindow& w : cfg.windows) {
    auto it = titles.find(w.section); // "window03" in both places
    if (it != titles.end()) w.title = it->second;
  }
  return cfg;
}

} // namespace k7host
