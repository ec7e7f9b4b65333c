// Scenario scripts: steps that act on the simulator and expectations that check it.
#include "host/scenario_steps.h"
#include "host/k7host.h"
#include "host/render.h"
#include "host/sound_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <algorithm>

namespace k7host {

namespace {

std::vector<std::string> split_words(const std::string& line, bool& ok) {
  std::vector<std::string> words;
  ok = true;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
      ++i;
    if (i >= line.size() || line[i] == '#') break;
    if (line[i] == '"') {
      const auto close = line.find('"', i + 1);
      if (close == std::string::npos) {
        ok = false;
        return words;
      }
      words.push_back(line.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      std::size_t j = i;
      while (j < line.size() && line[j] != ' ' && line[j] != '\t' && line[j] != '\r')
        ++j;
      words.push_back(line.substr(i, j - i));
      i = j;
    }
  }
  return words;
}

// Gauge pixels and element places a script may name: far beyond any gauge, well within an int.
constexpr double kFarPixels = 1e6;

bool parse_number(const std::string& text, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0) {
    out = static_cast<double>(std::strtoull(text.c_str() + 2, &end, 16));
  } else if (text.rfind("-0x", 0) == 0) {
    out = -static_cast<double>(std::strtoull(text.c_str() + 3, &end, 16));
  } else {
    out = std::strtod(text.c_str(), &end);
  }
  return end != nullptr && *end == '\0';
}

bool compare(double actual, const std::string& op, double expected) {
  const double tolerance = 1e-6 * std::max(1.0, std::fabs(expected));
  if (op == "==") return std::fabs(actual - expected) <= tolerance;
  if (op == "!=") return std::fabs(actual - expected) > tolerance;
  if (op == "<") return actual < expected;
  if (op == "<=") return actual <= expected + tolerance;
  if (op == ">") return actual > expected;
  if (op == ">=") return actual >= expected - tolerance;
  return false;
}

bool valid_op(const std::string& op) {
  return op == "==" || op == "!=" || op == "<" || op == "<=" || op == ">" || op == ">=";
}

bool mouse_flags(const std::string& text, FLAGS32& flags) {
  if (text == "left")
    flags = MOUSE_LEFTSINGLE;
  else if (text == "right")
    flags = MOUSE_RIGHTSINGLE;
  else if (text == "move")
    flags = MOUSE_MOVE;
  else if (text == "repeat")
    flags = MOUSE_DOWN_REPEAT;
  else {
    double v = 0;
    if (!parse_number(text, v) || v < 0 || v > 4294967295.0) return false;
    flags = static_cast<FLAGS32>(v);
  }
  return true;
}

std::string format(double v) {
  char buf[64];
  if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15)
    std::snprintf(buf, sizeof buf, "%.0f", v);
  else
    std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

constexpr std::uint32_t LOAD_PANEL_WINDOW = 10520;

struct Runner {
  Runner(Sim& s, const std::string& f, std::FILE* o, bool n)
      : sim(s), file(f), out(o), narrate(n) {}
  Sim& sim;
  const std::string& file;
  std::FILE* out;
  bool narrate;
  ScenarioResult result;
  std::size_t mark = 0;         // key events before this place in the log are not looked at
  std::uint32_t sound_mark = 0; // nor sound operations up to this one
  bool listening = false;       // narrate what sounds
  std::uint32_t heard = 0;
  bool last_click_taken = false;
  std::vector<std::string> watched;
  std::vector<double> watched_values; // as last reported: the value, or its band's lower edge
  std::vector<double> watched_steps;  // band width ("hydrau_press_green/100"), 0 for every change
  // Watched tokens ("0x271/10"): reported when the value moves into another band of the step's
  // width (every change without a step).
  struct WatchedToken {
    std::string name;
    std::uint32_t id;
    double step;
    double band;
  };
  std::vector<WatchedToken> watched_tokens;
  // `watch windows`: the pop-up windows open after the last frame, reported as they change.
  bool watching_windows = false;
  std::vector<std::uint32_t> windows_seen;
  int line_no = 0;

  void error(const std::string& what) {
    std::fprintf(out, "%s:%d: %s\n", file.c_str(), line_no, what.c_str());
    result.error = true;
  }

  void check(bool ok, const std::string& what, const std::string& expected,
             const std::string& actual) {
    ++result.expectations;
    if (ok) return;
    ++result.failures;
    std::fprintf(out, "%s:%d: expectation failed: %s\n    expected %s\n    actual   %s\n",
                 file.c_str(), line_no, what.c_str(), expected.c_str(), actual.c_str());
  }

  static double band_of(double value, double step) {
    return step > 0 ? std::floor(value / step) : value;
  }
  // A watched value as reported: the lower edge of its band when watched by band.
  static double shown(double value, double step) {
    return step > 0 && std::isfinite(value) ? band_of(value, step) * step : value;
  }

  // "name" or "name/step"; false when the step is not a positive number.
  bool watch_state(const std::string& word) {
    const auto slash = word.find('/');
    double step = 0;
    if (slash != std::string::npos && (!parse_number(word.substr(slash + 1), step) || step <= 0)) {
      error("a watch step must be a positive number: " + word);
      return false;
    }
    const std::string name = word.substr(0, slash);
    const auto value = sim.state(name);
    if (!value) {
      error("no state variable " + name);
      return false;
    }
    watched.push_back(name);
    watched_steps.push_back(step);
    watched_values.push_back(shown(*value, step));
    return true;
  }

  bool watch_token(const std::string& word) {
    if (word.rfind("0x", 0) != 0) return false;
    const auto slash = word.find('/');
    double id = 0, step = 0;
    if (!parse_number(word.substr(0, slash), id) || id < 0 || id >= 65536) return false;
    if (slash != std::string::npos && (!parse_number(word.substr(slash + 1), step) || step <= 0))
      return false;
    const auto token = static_cast<std::uint32_t>(id);
    watched_tokens.push_back(
        {"token " + word.substr(0, slash), token, step, band_of(sim.token(token), step)});
    return true;
  }

  void report(const std::string& name, double before, double now) {
    if (narrate)
      std::fprintf(out, "  t=%7.2fs  %-28s %s -> %s\n",
                   static_cast<double>(sim.frame_count()) / kFramesPerSecond, name.c_str(),
                   format(before).c_str(), format(now).c_str());
  }

  void tell_sounds() {
    if (!listening) return;
    const std::uint32_t now = sound_op_count(sim);
    if (narrate)
      for (const std::string& e : sound_events(sim, heard))
        std::fprintf(out, "  t=%7.2fs  sound %s\n",
                     static_cast<double>(sim.frame_count()) / kFramesPerSecond, e.c_str());
    heard = now;
  }

  static std::string window_list(const std::vector<std::uint32_t>& from,
                                 const std::vector<std::uint32_t>& without) {
    std::string text;
    for (std::uint32_t id : from)
      if (std::find(without.begin(), without.end(), id) == without.end())
        text += " " + std::to_string(id);
    return text;
  }

  void tell_windows() {
    if (!watching_windows) return;
    const std::vector<std::uint32_t> now = sim.open_windows();
    const std::string opened = window_list(now, windows_seen);
    const std::string closed = window_list(windows_seen, now);
    const double t = static_cast<double>(sim.frame_count()) / kFramesPerSecond;
    if (narrate && !opened.empty())
      std::fprintf(out, "  t=%7.2fs  windows opened:%s\n", t, opened.c_str());
    if (narrate && !closed.empty())
      std::fprintf(out, "  t=%7.2fs  windows closed:%s\n", t, closed.c_str());
    windows_seen = now;
  }

  void run_frames(int count) {
    for (int i = 0; i < count; ++i) {
      sim.frame();
      tell_windows();
      for (WatchedToken& t : watched_tokens) {
        const double now = sim.token(t.id);
        const double band = band_of(now, t.step);
        if (band != t.band && !(std::isnan(band) && std::isnan(t.band))) {
          report(t.name, t.step > 0 && std::isfinite(t.band) ? t.band * t.step : t.band,
                 t.step > 0 && std::isfinite(band) ? band * t.step : band);
          t.band = band;
        }
      }
      tell_sounds();
      for (std::size_t w = 0; w < watched.size(); ++w) {
        const double now = shown(sim.state(watched[w]).value_or(std::nan("")), watched_steps[w]);
        const double before = watched_values[w];
        if (now != before && !(std::isnan(now) && std::isnan(before))) {
          report(watched[w], before, now);
          watched_values[w] = now;
        }
      }
    }
  }

  bool step(const std::vector<std::string>& w);
  bool expect(const std::vector<std::string>& w);
};

bool Runner::step(const std::vector<std::string>& w) {
  const std::string& cmd = w[0];
  double v = 0, v2 = 0;
  if (cmd == "say") {
    if (narrate) {
      std::string text;
      for (std::size_t i = 1; i < w.size(); ++i)
        text += (i > 1 ? " " : "") + w[i];
      std::fprintf(out, "%s\n", text.c_str());
    }
    return true;
  }
  if ((cmd == "frames" || cmd == "seconds") && w.size() == 2 && parse_number(w[1], v) && v >= 0 &&
      v <= 1e7) {
    run_frames(cmd == "frames" ? static_cast<int>(v)
                               : static_cast<int>(std::lround(v * kFramesPerSecond)));
    return true;
  }
  if (cmd == "set" && w.size() == 4) {
    if (!parse_number(w[3], v2)) return false;
    if (w[1] == "token" && parse_number(w[2], v) && v >= 0 && v < 65536) {
      sim.set_token(static_cast<std::uint32_t>(v), v2);
      return true;
    }
    if (w[1] == "named") {
      sim.set_named(w[2], v2);
      return true;
    }
    if (w[1] == "calc") {
      sim.set_calc(w[2], v2);
      return true;
    }
    if (w[1] == "state") {
      if (!sim.set_state(w[2], v2)) error("no state variable " + w[2]);
      return true;
    }
    return false;
  }
  if (cmd == "click" && (w.size() == 4 || w.size() == 5)) {
    double x = 0, y = 0;
    FLAGS32 flags = MOUSE_LEFTSINGLE;
    if (!parse_number(w[2], x) || !parse_number(w[3], y) || !(std::fabs(x) <= kFarPixels) ||
        !(std::fabs(y) <= kFarPixels))
      return false;
    if (w.size() == 5 && !mouse_flags(w[4], flags)) return false;
    if (sim.gauge(w[1]) == nullptr) {
      error("no gauge " + w[1]);
      return true;
    }
    last_click_taken = sim.click(w[1], static_cast<int>(x), static_cast<int>(y), flags);
    tell_sounds();
    return true;
  }
  if ((cmd == "open" || cmd == "close" || cmd == "toggle") && w.size() == 2 &&
      parse_number(w[1], v) && v >= 0 && v < 4294967296.0) {
    const auto id = static_cast<std::uint32_t>(v);
    if (!sim.window_known(id)) error("no window " + w[1] + " in the panel configuration");
    if (cmd == "open") sim.open_window(id);
    if (cmd == "close") sim.close_window(id);
    if (cmd == "toggle") sim.toggle_window(id);
    return true;
  }
  // The cockpit's start-up sequence from its beginning, as after loading; `noload`: on a panel
  // without the load panel's window.
  if (cmd == "startup" && (w.size() == 1 || (w.size() == 2 && w[1] == "noload"))) {
    if (w.size() == 2) sim.drop_window(LOAD_PANEL_WINDOW);
    for (const char* name : {"panel_start_state", "panel_load_choice", "panel_load_present"})
      if (!sim.set_state(name, 0)) error(std::string("no state variable ") + name);
    return true;
  }
  if (cmd == "mark" && w.size() == 1) {
    mark = sim.key_events().size();
    sound_mark = sound_op_count(sim);
    return true;
  }
  if (cmd == "listen" && w.size() == 1) {
    listening = true;
    heard = sound_op_count(sim);
    return true;
  }
  if (cmd == "watch") {
    for (std::size_t i = 1; i < w.size(); ++i) {
      if (w[i] == "windows") {
        watching_windows = true;
        windows_seen = sim.open_windows();
        continue;
      }
      if (watch_token(w[i])) continue;
      watch_state(w[i]);
    }
    return true;
  }
  if (cmd == "unwatch") {
    watching_windows = false;
    watched.clear();
    watched_values.clear();
    watched_steps.clear();
    watched_tokens.clear();
    return true;
  }
  if (cmd == "print" && w.size() >= 2) {
    for (std::size_t i = 1; i < w.size(); ++i) {
      double id = 0;
      if (w[i].rfind("0x", 0) == 0 && parse_number(w[i], id) && id >= 0 && id < 65536) {
        if (narrate)
          std::fprintf(out, "  %-28s %s\n", ("token " + w[i]).c_str(),
                       format(sim.token(static_cast<std::uint32_t>(id))).c_str());
        continue;
      }
      auto s = sim.state(w[i]);
      if (narrate)
        std::fprintf(out, "  %-28s %s\n", w[i].c_str(), s ? format(*s).c_str() : "(unknown)");
    }
    return true;
  }
  if (cmd == "render" && (w.size() == 3 || (w.size() == 4 && w[3] == "night")) &&
      parse_number(w[1], v) && v >= 0 && v < 4294967296.0) {
    const auto id = static_cast<std::uint32_t>(v);
    if (id != 0 && !sim.window_known(id)) {
      error("no window " + w[1] + " in the panel configuration");
      return true;
    }
    std::string problem;
    if (!render_window(sim, id, w[2], w.size() == 4, problem))
      error("render: " + problem);
    else if (narrate)
      std::fprintf(out, "window %s drawn to %s\n", w[1].c_str(), w[2].c_str());
    return true;
  }
  if (cmd == "expect") return expect(w);
  return false;
}

bool Runner::expect(const std::vector<std::string>& w) {
  if (w.size() < 2) return false;
  const std::string& what = w[1];
  double v = 0, expected = 0;
  std::string line;
  for (std::size_t i = 1; i < w.size(); ++i)
    line += (i > 1 ? " " : "") + w[i];

  if ((what == "state" || what == "named" || what == "token") && w.size() == 5) {
    if (!valid_op(w[3]) || !parse_number(w[4], expected)) return false;
    double actual = 0;
    if (what == "state") {
      auto s = sim.state(w[2]);
      if (!s) {
        error("no state variable " + w[2]);
        return true;
      }
      actual = *s;
    } else if (what == "named") {
      actual = sim.named(w[2]);
    } else {
      if (!parse_number(w[2], v) || v < 0 || v >= 65536) return false;
      actual = sim.token(static_cast<std::uint32_t>(v));
    }
    check(compare(actual, w[3], expected), line, w[3] + " " + w[4], format(actual));
    return true;
  }
  if ((what == "visible" || what == "hidden") && w.size() >= 4) {
    // One element or several of one gauge: "expect hidden GAUGE 2 4 5".
    for (std::size_t i = 3; i < w.size(); ++i)
      if (!parse_number(w[i], v) || !(v >= 0 && v <= kFarPixels)) return false;
    for (std::size_t i = 3; i < w.size(); ++i) {
      parse_number(w[i], v);
      auto e = sim.element(w[2], static_cast<int>(v));
      if (!e) {
        error("no element " + w[i] + " in " + w[2] + " (or the gauge is not placed)");
        return true;
      }
      const std::string one = what + " \"" + w[2] + "\" " + w[i];
      check(e->hidden == (what == "hidden"), w.size() == 4 ? line : one, what,
            e->hidden ? "hidden" : "visible");
    }
    return true;
  }
  if (what == "value" && w.size() == 6) {
    if (!parse_number(w[3], v) || !(v >= 0 && v <= kFarPixels) || !valid_op(w[4]) ||
        !parse_number(w[5], expected))
      return false;
    auto e = sim.element(w[2], static_cast<int>(v));
    if (!e) {
      error("no element " + w[3] + " in " + w[2]);
      return true;
    }
    check(compare(e->value, w[4], expected), line, w[4] + " " + w[5], format(e->value));
    return true;
  }
  if ((what == "key" || what == "nokey") && (w.size() == 3 || w.size() == 4)) {
    if (!parse_number(w[2], v) || v < 0 || v > 4294967295.0) return false;
    const auto id = static_cast<std::uint32_t>(v);
    bool value_given = w.size() == 4;
    double want = 0;
    if (value_given && !parse_number(w[3], want)) return false;
    std::size_t count = 0;
    const auto& log = sim.key_events();
    for (std::size_t i = mark; i < log.size(); ++i)
      if (const KeyEvent& k = log[i];
          k.id == id &&
          (!value_given || static_cast<double>(static_cast<std::int32_t>(k.value)) == want ||
           static_cast<double>(k.value) == want))
        ++count;
    if (what == "key")
      check(count > 0, line, "sent since the last mark", "not sent");
    else
      check(count == 0, line, "not sent since the last mark",
            "sent " + std::to_string(count) + " times");
    return true;
  }
  if (what == "keycount" && w.size() == 5) {
    if (!parse_number(w[2], v) || !(v >= 0 && v <= 4294967295.0) || !valid_op(w[3]) ||
        !parse_number(w[4], expected))
      return false;
    double count = 0;
    const auto& log = sim.key_events();
    for (std::size_t i = mark; i < log.size(); ++i)
      if (log[i].id == static_cast<std::uint32_t>(v)) ++count;
    check(compare(count, w[3], expected), line, w[3] + " " + w[4], format(count));
    return true;
  }
  if (what == "window" && w.size() == 4 && (w[3] == "open" || w[3] == "closed")) {
    if (!parse_number(w[2], v) || v < 0 || v > 4294967295.0) return false;
    const bool open = sim.window_open(static_cast<std::uint32_t>(v));
    check(open == (w[3] == "open"), line, w[3], open ? "open" : "closed");
    return true;
  }
  if ((what == "clicked" || what == "unclicked") && w.size() == 2) {
    check(last_click_taken == (what == "clicked"), line, what,
          last_click_taken ? "clicked" : "unclicked");
    return true;
  }
  if (what == "tooltip" && w.size() == 4) {
    const std::string actual = sim.tooltip(w[2]);
    check(actual == w[3], line, "\"" + w[3] + "\"", "\"" + actual + "\"");
    return true;
  }
  if (what == "sound" && w.size() == 4) {
    const std::string& state = w[3];
    if (state == "played" || state == "notplayed") {
      const int plays = sound_plays(sim, w[2], sound_mark);
      check((plays > 0) == (state == "played"), line,
            state == "played" ? "played since the last mark" : "not played since the last mark",
            "played " + std::to_string(plays) + " times");
      return true;
    }
    const auto s = sound_state(sim, w[2]);
    std::string actual = !s           ? "unknown to the sound device"
                         : !s->loaded ? "released"
                         : s->playing ? (s->looping ? "looping" : "playing")
                                      : "stopped";
    bool ok = false;
    if (state == "playing")
      ok = s && s->loaded && s->playing;
    else if (state == "looping")
      ok = s && s->loaded && s->playing && s->looping;
    else if (state == "stopped")
      ok = !s || !s->loaded || !s->playing;
    else if (state == "loaded")
      ok = s && s->loaded;
    else if (state == "released")
      ok = !s || !s->loaded;
    else
      return false;
    check(ok, line, state, actual);
    return true;
  }
  if (what == "soundvolume" && w.size() == 5) {
    if (!valid_op(w[3]) || !parse_number(w[4], expected)) return false;
    const auto s = sound_state(sim, w[2]);
    if (!s) {
      check(false, line, w[3] + " " + w[4], "unknown to the sound device");
      return true;
    }
    check(compare(s->volume, w[3], expected), line, w[3] + " " + w[4], format(s->volume));
    return true;
  }
  return false;
}

} // namespace

ScenarioResult run_scenario(Sim& sim, const std::string& text, const std::string& file_name,
                            std::FILE* out, bool echo_narration) {
  Runner r{sim, file_name, out, echo_narration};
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    ++r.line_no;
    bool ok = true;
    const auto words = split_words(line, ok);
    if (!ok) {
      r.error("unclosed quote");
      continue;
    }
    if (words.empty()) continue;
    if (!r.step(words)) r.error("cannot read this step: " + line);
  }
  return r.result;
}

} // namespace k7host

// ---- a scenario a line at a time

namespace k7host {

namespace {

// Whether a step other than an expectation can be read, and what it names exists.
std::string step_problem(const Sim& sim, const std::vector<std::string>& w, bool allow_files) {
  const std::string& cmd = w[0];
  const std::size_t n = w.size();
  double v = 0, v2 = 0;
  auto window_ok = [&](const std::string& id) {
    return parse_number(id, v) && v >= 0 && v < 4294967296.0;
  };
  if (cmd == "say" || cmd == "watch") return {};
  if (cmd == "frames" || cmd == "seconds")
    return n == 2 && parse_number(w[1], v) && v >= 0 && v <= 1e7 ? "" : "needs a count 0..1e7";
  if (cmd == "mark" || cmd == "listen" || cmd == "unwatch") return n == 1 ? "" : "takes nothing";
  if (cmd == "print") return n >= 2 ? "" : "needs something to print";
  if (cmd == "set") {
    if (n != 4 || !parse_number(w[3], v2)) return "set token|named|calc|state NAME VALUE";
    if (w[1] == "token") return parse_number(w[2], v) && v >= 0 && v < 65536 ? "" : "bad token id";
    if (w[1] == "state") return sim.state(w[2]) ? "" : "no state variable " + w[2];
    return w[1] == "named" || w[1] == "calc" ? "" : "set token|named|calc|state NAME VALUE";
  }
  if (cmd == "click") {
    FLAGS32 flags = 0;
    if ((n != 4 && n != 5) || !parse_number(w[2], v) || !parse_number(w[3], v2) ||
        !(std::fabs(v) <= kFarPixels) || !(std::fabs(v2) <= kFarPixels) ||
        (n == 5 && !mouse_flags(w[4], flags)))
      return "click GAUGE X Y [left|right|move|repeat|FLAGS]";
    return sim.gauge(w[1]) != nullptr ? "" : "no gauge " + w[1];
  }
  if (cmd == "open" || cmd == "close" || cmd == "toggle") {
    if (n != 2 || !window_ok(w[1])) return cmd + " WINDOW";
    return sim.window_known(static_cast<std::uint32_t>(v)) ? ""
                                                           : "no window " + w[1] + " in the panel";
  }
  if (cmd == "render") {
    if (!allow_files) return "render writes files: not available here";
    return (n == 3 || (n == 4 && w[3] == "night")) && window_ok(w[1])
               ? ""
               : "render WINDOW FILE [night]";
  }
  return "unknown step " + cmd;
}

} // namespace

const char* status_name(ScenarioLine::Status s) {
  switch (s) {
  case ScenarioLine::WAITING: return "waiting";
  case ScenarioLine::RUNNING: return "running";
  case ScenarioLine::RAN: return "ran";
  case ScenarioLine::PASSED: return "passed";
  case ScenarioLine::FAILED: return "failed";
  case ScenarioLine::ERROR: return "error";
  }
  return "?";
}

std::vector<std::string> scenario_problems(const Sim& sim, const std::string& text,
                                           bool allow_files) {
  std::vector<std::string> problems;
  // Expectations only read the simulator; their runner writes what it finds into `sink`.
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* sink = open_memstream(&buffer, &size);
  if (sink == nullptr) return {"cannot check the scenario (out of memory)"};
  const std::string file = "scenario";
  Runner r{const_cast<Sim&>(sim), file, sink, false};
  std::stringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    ++r.line_no;
    bool ok = true;
    const auto words = split_words(line, ok);
    std::string why;
    if (!ok) {
      why = "unclosed quote";
    } else if (words.empty()) {
      continue;
    } else if (words[0] == "expect") {
      r.result.error = false;
      if (!r.expect(words))
        why = "cannot read this expectation";
      else if (r.result.error)
        why = "names something this cockpit does not have";
    } else {
      why = step_problem(sim, words, allow_files);
    }
    if (!why.empty())
      problems.push_back("line " + std::to_string(r.line_no) + ": " + why + ": " + line);
  }
  std::fclose(sink);
  std::free(buffer);
  return problems;
}

struct ScenarioSteps::Impl {
  Impl(Sim& sim, const std::string& file) : file_name(file), runner(sim, file_name, stdout, true) {}
  std::string file_name;
  Runner runner;
  std::vector<ScenarioLine> lines;
  std::vector<std::vector<std::string>> words;
  std::size_t current = 0;
  long pending = 0; // frames the running line has left
  ScenarioResult total;

  // Runs `what` with the runner's printing and outcome caught into the current line.
  template <typename Fn> void on_current_line(Fn what) {
    ScenarioLine& line = lines[current];
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* sink = open_memstream(&buffer, &size);
    if (sink == nullptr) return;
    runner.out = sink;
    runner.line_no = line.number;
    runner.result = {};
    what();
    std::fclose(sink);
    runner.out = stdout;
    line.output.append(buffer, size);
    std::free(buffer);
    const ScenarioResult& r = runner.result;
    total.expectations += r.expectations;
    total.failures += r.failures;
    total.error = total.error || r.error;
    if (r.error)
      line.status = ScenarioLine::ERROR;
    else if (r.failures > 0)
      line.status = ScenarioLine::FAILED;
    else if (r.expectations > 0 && line.status != ScenarioLine::FAILED)
      line.status = ScenarioLine::PASSED;
  }

  void start_line() {
    const auto& w = words[current];
    double v = 0;
    if ((w[0] == "frames" || w[0] == "seconds") && w.size() == 2 && parse_number(w[1], v) &&
        v >= 0 && v <= 1e7) {
      pending = w[0] == "frames" ? static_cast<long>(v) : std::lround(v * kFramesPerSecond);
      lines[current].status = pending > 0 ? ScenarioLine::RUNNING : ScenarioLine::RAN;
      if (pending == 0) ++current;
      return;
    }
    lines[current].status = ScenarioLine::RAN;
    on_current_line([&] {
      if (!runner.step(w)) runner.error("cannot read this step: " + lines[current].text);
    });
    ++current;
  }

  void run_pending(long budget) {
    const long n = std::min(pending, budget);
    on_current_line([&] { runner.run_frames(static_cast<int>(n)); });
    pending -= n;
    if (pending == 0) {
      if (lines[current].status == ScenarioLine::RUNNING) lines[current].status = ScenarioLine::RAN;
      ++current;
    }
  }
};

ScenarioSteps::ScenarioSteps(Sim& sim, const std::string& text, const std::string& file_name)
    : impl_(std::make_unique<Impl>(sim, file_name)) {
  std::stringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    bool ok = true;
    auto words = split_words(line, ok);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!ok) words = {"#unclosed"};
    if (words.empty()) continue;
    ScenarioLine l;
    l.number = number;
    l.text = line;
    impl_->lines.push_back(l);
    impl_->words.push_back(std::move(words));
  }
}

ScenarioSteps::~ScenarioSteps() = default;

const std::vector<ScenarioLine>& ScenarioSteps::lines() const {
  return impl_->lines;
}
std::size_t ScenarioSteps::current() const {
  return impl_->current;
}
bool ScenarioSteps::finished() const {
  return impl_->current >= impl_->lines.size();
}
long ScenarioSteps::pending_frames() const {
  return impl_->pending;
}
const ScenarioResult& ScenarioSteps::result() const {
  return impl_->total;
}

void ScenarioSteps::advance(long frame_budget) {
  if (finished()) return;
  if (impl_->pending > 0) {
    impl_->run_pending(std::max(1L, frame_budget));
    return;
  }
  impl_->start_line();
  if (impl_->pending > 0) impl_->run_pending(std::max(1L, frame_budget));
}

void ScenarioSteps::finish_line() {
  if (finished()) return;
  if (impl_->pending == 0) impl_->start_line();
  if (impl_->pending > 0) impl_->run_pending(impl_->pending);
}

} // namespace k7host
