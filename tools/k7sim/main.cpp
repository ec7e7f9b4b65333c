// k7sim: runs the gauge module without the simulator.
//   k7sim                      the demonstration
//   k7sim gauges [--plain]     the gauge catalogue
//   k7sim state [PATTERN]      the module's state variables (names containing PATTERN)
//   k7sim run FILE... [--render WINDOW OUT.png [night]]
//                              scenario files; exits non-zero when an expectation fails; then
//                              draws a window as the scenario left it
//   k7sim render WINDOW OUT.png [night]
//                              draws a window (0: the main panel) after the start of the
//                              demonstration
//   k7sim hostile [FRAMES] [SEED]
//                              the randomized host (host/hostile.h); non-zero on a finding
//   k7sim serve [--port N] [--bind ADDR] [--panel FILE]
//                              the cockpit in a web browser at http://127.0.0.1:8718/
// Options before the command: --module PATH (libk7gauges.so), --panel FILE (panel.cfg),
// --audio OUT.wav (mix what the cockpit sounded into a WAV file; the demonstration or one
// scenario).
#include "host/hostile.h"
#include "host/k7host.h"
#include "host/render.h"
#include "host/sound_view.h"
#include "tools/k7sim/serve.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern const char* const k7sim_demo_script;

namespace {

std::string audio_path;

// `k7sim render` draws the cockpit as the demonstration's start leaves it: three seconds of
// frames after loading.
constexpr double start_seconds = 3.0;

// A window to draw at the end: its ident (0: the main panel), the PNG file, day or night.
struct RenderRequest {
  bool wanted = false;
  std::uint32_t window = 0;
  std::string path;
  bool night = false;
};

// WINDOW OUT.png [night] from args[i...]; advances i past them.
bool read_render_request(const std::vector<std::string>& args, std::size_t& i, RenderRequest& r) {
  if (i + 2 > args.size()) return false;
  char* end = nullptr;
  const unsigned long id = std::strtoul(args[i].c_str(), &end, 10);
  if (end == args[i].c_str() || *end != '\0' || id > 0xFFFFFFFFul) return false;
  r.wanted = true;
  r.window = static_cast<std::uint32_t>(id);
  r.path = args[i + 1];
  i += 2;
  if (i < args.size() && args[i] == "night") {
    r.night = true;
    ++i;
  }
  return true;
}

int draw(k7host::Sim& sim, const RenderRequest& r) {
  if (r.window != 0 && !sim.window_known(r.window)) {
    std::fprintf(stderr, "k7sim: no window %u in the panel configuration\n", r.window);
    return 2;
  }
  std::string error;
  if (!k7host::render_window(sim, r.window, r.path, r.night, error)) {
    std::fprintf(stderr, "k7sim: %s\n", error.c_str());
    return 2;
  }
  std::printf("window %u drawn to %s\n", r.window, r.path.c_str());
  return 0;
}

void write_audio(const k7host::Sim& sim) {
  if (audio_path.empty()) return;
  const double end = static_cast<double>(sim.frame_count()) / k7host::kFramesPerSecond;
  if (k7host::sound_mix(sim, audio_path, 0.0, end))
    std::printf("sound of %.1f s written to %s\n", end, audio_path.c_str());
  else
    std::fprintf(stderr, "k7sim: could not write %s\n", audio_path.c_str());
}

int usage() {
  std::fprintf(
      stderr,
      "usage: k7sim [--module PATH] [--panel FILE] [--audio OUT.wav] [gauges [--plain] | state "
      "[PATTERN] | run FILE... [--render WINDOW OUT.png [night]] | render WINDOW OUT.png "
      "[night] | hostile [FRAMES] [SEED] | serve [--port N] [--bind ADDR] [--panel FILE]]\n");
  return 2;
}

// Reads a whole file; on failure `why` says what went wrong.
bool read_file(const std::string& path, std::string& text, std::string& why) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    why = "cannot read a directory";
    return false;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    why = errno != 0 ? std::strerror(errno) : "cannot open";
    return false;
  }
  std::stringstream s;
  s << in.rdbuf();
  if (in.bad()) {
    why = "cannot read";
    return false;
  }
  text = s.str();
  return true;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "k7sim: %s\n", message.c_str());
  return 2;
}

// Why a panel configuration cannot serve, or empty: unreadable lines, no window, a gauge of this
// module that the module does not have, or no gauge of this module placed at all.
std::string panel_fault(const k7host::Sim& sim, const std::string& path) {
  const k7host::PanelConfig& cfg = sim.panel();
  for (const std::string& p : cfg.problems)
    if (p.rfind("line ", 0) == 0) return path + ": " + p;
  if (cfg.windows.empty()) return path + ": no window (no [WindowNN] section)";
  std::size_t placed = 0;
  for (const auto& w : cfg.windows)
    for (const auto& g : w.gauges) {
      if (g.module != "k7gauges") continue;
      if (sim.gauge(g.name) == nullptr)
        return path + ": [" + w.section + "] places k7gauges!" + g.name +
               ", which this module does not have";
      ++placed;
    }
  if (placed == 0) return path + ": no gauge of this module (k7gauges!...) is placed";
  return {};
}

const char* type_name(StateType t) {
  switch (t) {
  case StateType::U8: return "u8";
  case StateType::I8: return "i8";
  case StateType::U16: return "u16";
  case StateType::I16: return "i16";
  case StateType::U32: return "u32";
  case StateType::I32: return "i32";
  case StateType::F64: return "f64";
  }
  return "?";
}

std::string window_name(const k7host::Sim& sim, std::uint32_t ident) {
  if (ident == ~0u) return "(not placed)";
  if (ident == 0) return "main panel";
  for (const auto& w : sim.panel().windows)
    if (!w.main_panel && w.ident == ident)
      return std::to_string(ident) + (w.title.empty() ? "" : " " + w.title);
  return std::to_string(ident);
}

int cmd_gauges(k7host::Sim& sim, bool plain) {
  for (const auto& g : sim.gauges()) {
    if (plain)
      std::printf("%d|%s|%u|%d\n", g.table_index, g.name.c_str(), g.size_mm,
                  g.has_callback ? 1 : 0);
    else
      std::printf("%3d  %-40s %5u mm  %-12s %s\n", g.table_index, g.name.c_str(), g.size_mm,
                  g.has_callback ? "" : "no callback", window_name(sim, g.window).c_str());
  }
  return 0;
}

int cmd_state(k7host::Sim& sim, const char* pattern) {
  for (const StateEntry* e : sim.state_entries()) {
    if (pattern != nullptr && std::strstr(e->name, pattern) == nullptr) continue;
    if (e->count == 1) {
      std::printf("%-32s %-4s %12g  %g..%g  %s\n", e->name, type_name(e->type), *sim.state(e->name),
                  e->lowest, e->highest, e->comment);
    } else {
      std::printf("%-32s %-4s [%zu]  %g..%g  %s\n", e->name, type_name(e->type), e->count,
                  e->lowest, e->highest, e->comment);
      for (std::size_t i = 0; i < e->count; ++i) {
        const std::string n = std::string(e->name) + "[" + std::to_string(i) + "]";
        std::printf("  %-30s      %12g\n", n.c_str(), *sim.state(n));
      }
    }
  }
  return 0;
}

int cmd_run(const k7host::Options& options, const std::vector<std::string>& files,
            const RenderRequest& render) {
  int failed_files = 0;
  for (const std::string& file : files) {
    std::string text, why;
    if (!read_file(file, text, why)) {
      std::fprintf(stderr, "k7sim: %s: %s\n", file.c_str(), why.c_str());
      ++failed_files;
      continue;
    }
    k7host::Sim sim(options);
    const auto r = k7host::run_scenario(sim, text, file, stdout);
    std::printf("%s: %d expectations, %d failed%s\n", file.c_str(), r.expectations, r.failures,
                r.error ? " (script errors)" : "");
    if (r.failures > 0 || r.error) ++failed_files;
    if (files.size() == 1) write_audio(sim);
    if (render.wanted && draw(sim, render) != 0) ++failed_files;
  }
  return failed_files == 0 ? 0 : 1;
}

int cmd_demo(const k7host::Options& options) {
  k7host::Sim sim(options);
  std::printf("k7sim: %zu gauges loaded, %zu state variables, panel with %zu windows\n",
              sim.gauges().size(), sim.state_entries().size(), sim.panel().windows.size());
  const auto r = k7host::run_scenario(sim, k7sim_demo_script, "demonstration", stdout);
  std::printf("\n%.1f s simulated in %llu frames; %zu key events sent to the simulator.\n",
              static_cast<double>(sim.frame_count()) / k7host::kFramesPerSecond,
              static_cast<unsigned long long>(sim.frame_count()), sim.key_events().size());
  write_audio(sim);
  if (r.failures > 0 || r.error) {
    std::printf("the demonstration did not go as expected (%d failures)\n", r.failures);
    return 1;
  }
  return 0;
}

bool whole_number(const char* text, unsigned long long& value) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoull(text, &end, 10);
  return errno == 0 && *end == '\0';
}

int cmd_hostile(const k7host::Options& options, int argc, char** argv, int i) {
  k7host::HostileOptions h;
  h.sim = options;
  h.log = stdout;
  unsigned long long n = 0;
  if (i < argc) {
    if (!whole_number(argv[i], n) || n == 0)
      return fail(std::string("hostile: FRAMES must be a positive whole number, not '") + argv[i] +
                  "'");
    h.frames = n;
    ++i;
  }
  if (i < argc) {
    if (!whole_number(argv[i], n))
      return fail(std::string("hostile: SEED must be a whole number, not '") + argv[i] + "'");
    h.seed = n;
    ++i;
  }
  if (i < argc) return fail(std::string("hostile: unexpected argument '") + argv[i] + "'");
  const auto r = k7host::run_hostile(h);
  if (!r.finding.empty())
    std::printf("repeat with: k7sim hostile %llu %llu\n", static_cast<unsigned long long>(h.frames),
                static_cast<unsigned long long>(h.seed));
  return r.finding.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
  k7host::Options options;
  std::string panel_path;
  int i = 1;
  for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
    const std::string option = argv[i];
    if (option != "--module" && option != "--audio" && option != "--panel")
      return fail("unknown option " + option);
    if (i + 1 >= argc) return fail(option + " needs a path");
    const std::string value = argv[++i];
    if (option == "--module") {
      options.module_path = value;
    } else if (option == "--audio") {
      audio_path = value;
    } else {
      std::string why;
      if (!read_file(value, options.panel_cfg, why)) return fail(value + ": " + why);
      panel_path = value;
    }
  }
  const std::string cmd = i < argc ? argv[i++] : "";
  if (!cmd.empty() && cmd != "gauges" && cmd != "state" && cmd != "run" && cmd != "render" &&
      cmd != "hostile" && cmd != "serve")
    return fail("unknown command " + cmd + " (gauges, state, run, render, hostile, serve)");
  k7sim::ServeOptions serving;
  if (cmd == "serve") {
    for (; i < argc; ++i) {
      const std::string option = argv[i];
      if (option != "--port" && option != "--bind" && option != "--panel")
        return fail("serve: unknown option " + option);
      if (i + 1 >= argc) return fail("serve: " + option + " needs a value");
      const std::string value = argv[++i];
      unsigned long long port = 0;
      if (option == "--port") {
        if (!whole_number(value.c_str(), port) || port > 65535)
          return fail("serve: --port takes 0..65535, not '" + value + "'");
        serving.port = static_cast<int>(port);
      } else if (option == "--bind") {
        serving.bind = value;
      } else {
        std::string why;
        if (!read_file(value, options.panel_cfg, why)) return fail(value + ": " + why);
        panel_path = value;
      }
    }
  }
  if (cmd == "run" && i == argc) return fail("run needs at least one scenario file");
  try {
    {
      // The module and the panel are checked before anything runs.
      k7host::Options check = options;
      check.install = false;
      k7host::Sim sim(check);
      if (!panel_path.empty())
        if (const std::string fault = panel_fault(sim, panel_path); !fault.empty())
          return fail(fault);
    }
    if (cmd.empty()) return cmd_demo(options);
    if (cmd == "gauges") {
      k7host::Sim sim(options);
      return cmd_gauges(sim, i < argc && std::strcmp(argv[i], "--plain") == 0);
    }
    if (cmd == "state") {
      k7host::Sim sim(options);
      return cmd_state(sim, i < argc ? argv[i] : nullptr);
    }
    if (cmd == "run") {
      std::vector<std::string> files;
      RenderRequest render;
      const std::vector<std::string> args(argv + i, argv + argc);
      for (std::size_t a = 0; a < args.size();) {
        if (args[a] == "--render") {
          ++a;
          if (!read_render_request(args, a, render)) return usage();
        } else {
          files.push_back(args[a++]);
        }
      }
      if (files.empty()) return fail("run needs at least one scenario file");
      // Every file is read before the first one runs.
      for (const std::string& f : files) {
        std::string text, why;
        if (!read_file(f, text, why)) return fail(f + ": " + why);
      }
      return cmd_run(options, files, render);
    }
    if (cmd == "render") {
      RenderRequest render;
      const std::vector<std::string> args(argv + i, argv + argc);
      std::size_t a = 0;
      if (!read_render_request(args, a, render) || a != args.size()) return usage();
      // The cockpit freshly loaded and left a few seconds (its start-up sequence counted done).
      k7host::Sim sim(options);
      sim.seconds(start_seconds);
      return draw(sim, render);
    }
    if (cmd == "hostile") return cmd_hostile(options, argc, argv, i);
    if (cmd == "serve") {
      serving.sim = options;
      return k7sim::serve(serving);
    }
    return usage();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "k7sim: %s\n", e.what());
    return 2;
  }
}
