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
// Options before the command: --module PATH (libk7gauges.so), --panel FILE (panel.cfg),
// --audio OUT.wav (mix what the cockpit sounded into a WAV file; the demonstration or one
// scenario).
#include "host/k7host.h"
#include "host/render.h"
#include "host/sound_view.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
      "[night]]\n");
  return 2;
}

bool read_file(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
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
    std::string text;
    if (!read_file(file, text)) {
      std::fprintf(stderr, "%s: cannot read\n", file.c_str());
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

} // namespace

int main(int argc, char** argv) {
  k7host::Options options;
  int i = 1;
  for (; i < argc; ++i) {
    if (std::strcmp(argv[i], "--module") == 0 && i + 1 < argc) {
      options.module_path = argv[++i];
    } else if (std::strcmp(argv[i], "--audio") == 0 && i + 1 < argc) {
      audio_path = argv[++i];
    } else if (std::strcmp(argv[i], "--panel") == 0 && i + 1 < argc) {
      if (!read_file(argv[++i], options.panel_cfg)) {
        std::fprintf(stderr, "%s: cannot read\n", argv[i]);
        return 2;
      }
    } else {
      break;
    }
  }
  try {
    if (i == argc) return cmd_demo(options);
    const std::string cmd = argv[i++];
    if (cmd == "gauges") {
      k7host::Sim sim(options);
      return cmd_gauges(sim, i < argc && std::strcmp(argv[i], "--plain") == 0);
    }
    if (cmd == "state") {
      k7host::Sim sim(options);
      return cmd_state(sim, i < argc ? argv[i] : nullptr);
    }
    if (cmd == "run" && i < argc) {
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
      if (files.empty()) return usage();
      return cmd_run(options, files, render);
    }
    if (cmd == "render") {
      RenderRequest render;
      const std::vector<std::string> args(argv + i, argv + argc);
      std::size_t a = 0;
      if (!read_render_request(args, a, render) || a != args.size()) return usage();
      // The cockpit as the demonstration finds it: loaded, the start-up sequence run.
      k7host::Sim sim(options);
      sim.seconds(start_seconds);
      return draw(sim, render);
    }
    return usage();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "k7sim: %s\n", e.what());
    return 2;
  }
}
