// libFuzzer target for the scenario reader: any script is read and run against one loaded module
// without a fault; an unreadable step is a script error, never a crash.
#include "host/k7host.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

namespace {

// The script without the steps that only cost time (frames beyond 6 in all) and without drawing
// a window, which writes a picture to any path the script names.
std::string quick_steps(const std::string& text) {
  std::istringstream in(text);
  std::string line, kept;
  double frames = 0;
  while (std::getline(in, line)) {
    if (line.find("render") != std::string::npos) continue;
    std::istringstream words(line);
    std::string cmd, count;
    words >> cmd >> count;
    std::erase(cmd, '"'); // the reader takes a quoted word as the word
    std::erase(count, '"');
    if (cmd == "frames" || cmd == "seconds") {
      const double n = std::strtod(count.c_str(), nullptr);
      const double more = cmd == "frames" ? n : n * 18.0;
      if (!(more >= 0 && frames + more <= 6.0)) continue;
      frames += more;
    }
    kept += line;
    kept += '\n';
  }
  return kept;
}

std::FILE* sink() {
  static std::FILE* f = std::fopen("/dev/null", "w");
  return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::unique_ptr<k7host::Sim> sim;
  static unsigned runs = 0;
  const std::string text = quick_steps(std::string(reinterpret_cast<const char*>(data), size));
  // A fresh module now and then, so that the logs do not grow without end.
  if (sim == nullptr || ++runs % 5000 == 0) sim = std::make_unique<k7host::Sim>();
  sim->reset_state();
  const auto r = k7host::run_scenario(*sim, text, "fuzz", sink(), true);
  if (r.failures > r.expectations) std::abort();
  return 0;
}
