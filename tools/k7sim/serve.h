// `k7sim serve`: the cockpit in a web browser. The module runs in the stand-in in real time; a
// page (web/, built into k7sim) draws its windows from the draw lists and the module's bitmaps,
// sends clicks to its click areas, plays its sounds, and drives the simulator's side, the state
// and scenarios through a small JSON interface.
#pragma once

#include "host/k7host.h"

#include <string>

namespace k7sim {

struct ServeOptions {
  k7host::Options sim;
  int port = 8718; // 0: any free port (the one taken is printed)
  std::string bind = "127.0.0.1";
};

// Serves until the process is stopped; returns non-zero when it cannot listen.
int serve(const ServeOptions& options);

} // namespace k7sim
