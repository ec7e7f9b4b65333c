// libFuzzer target for the panel.cfg reader: any text is read without a fault, and every window
// and gauge it yields is made of what the text held (names within the text's size, sizes sane).
#include "host/k7host.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// The reader's default panel is not needed here.
const std::string& k7host::default_panel_cfg() {
  static const std::string none;
  return none;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const k7host::PanelConfig cfg = k7host::parse_panel_cfg(text);
  std::size_t gauges = 0;
  for (const auto& w : cfg.windows) {
    if (w.title.size() > size || w.section.size() > size) std::abort();
    for (const auto& g : w.gauges) {
      if (g.name.size() + g.module.size() > size) std::abort();
      ++gauges;
    }
  }
  if (gauges > size) std::abort(); // every placed gauge costs at least a line
  return 0;
}
