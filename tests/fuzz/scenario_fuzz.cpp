// libFuzzer target for the scenario reader: any script is read and run against one loaded module
// without a fault; an unreadable step is a script error, never a crash. Scripts that would run
// for long (more than 3 frames in one step) are left out, as they only cost time.
#include "host/k7host.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

namespace {

bool runs_long(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string cmd, count;
    words >> cmd >> count;
    if (cmd != "frames" && cmd != "seconds") continue;
    const double n = std::strtod(count.c_str(), nullptr);
    if (!(n <= (cmd == "frames" ? 3.0 : 0.2))) return true;
  }
  return false;
}

std::FILE* sink() {
  static std::FILE* f = std::fopen("/dev/null", "w");
  return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::unique_ptr<k7host::Sim> sim;
  static unsigned runs = 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (runs_long(text)) return 0;
  // A fresh module now and then, so that the logs do not grow without end.
  if (sim == nullptr || ++runs % 5000 == 0) sim = std::make_unique<k7host::Sim>();
  sim->reset_state();
  const auto r = k7host::run_scenario(*sim, text, "fuzz", sink(), true);
  if (r.failures > r.expectations) std::abort();
  return 0;
}
