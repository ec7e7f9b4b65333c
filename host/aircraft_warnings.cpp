// The stand-in's aircraft: what the warning lamps, fires and engine auxiliaries rely on in the
// simulator. The engine-failure tokens that 0x10309 and 0x1030A toggle (a failed engine is
// starved of fuel by the engine model), and oil pressures that follow N2. An oil pressure set from
// outside (a test or a scenario writing token 0x232 or 0x23C) stays where it was put until the
// aircraft is reset. The stall (0x43), token 0x40, the marker (0x162), the right air brake (0x147)
// and the engine-failure tokens otherwise stay as set.
#include "host/model.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace k7host {

namespace {

enum : std::uint32_t {
  TOKEN_TOKEN_40 = 0x040,
  TOKEN_STALL = 0x043,
  TOKEN_AIRBRAKE_RIGHT = 0x147,
  TOKEN_MARKER = 0x162,
  TOKEN_OIL_PRESS_1 = 0x232,
  TOKEN_ENGINE_FAILED_1 = 0x234,
  TOKEN_OIL_PRESS_2 = 0x23C,
  TOKEN_ENGINE_FAILED_2 = 0x23E,
};

enum : std::uint32_t {
  KEY_ENGINE_FAILURE_1 = 0x10309,
  KEY_ENGINE_FAILURE_2 = 0x1030A,
};

struct OilTokens {
  std::uint32_t n2;
  std::uint32_t pressure;
};
constexpr OilTokens oil_tokens[2] = {{0x271, TOKEN_OIL_PRESS_1}, {0x284, TOKEN_OIL_PRESS_2}};

// Oil pressure of a turning engine: nothing at rest, 4800 at idle N2 (62 %), 6000 at full.
double oil_pressure_at(double n2) {
  if (!std::isfinite(n2) || n2 <= 0.0) return 0.0;
  return n2 <= 62.0 ? 4800.0 * n2 / 62.0 : 4800.0 + 1200.0 * std::min(1.0, (n2 - 62.0) / 38.0);
}

struct OilPump {
  bool pinned = false;
  double written = 0.0;
};
std::map<const Sim*, OilPump[2]> oil_pumps;

void toggle(Sim& sim, std::uint32_t token) {
  sim.set_token(token, sim.token(token) == 1.0 ? 0.0 : 1.0);
}

} // namespace

bool warnings_key_event(Sim& sim, std::uint32_t id, std::uint32_t) {
  switch (id) {
  case KEY_ENGINE_FAILURE_1: toggle(sim, TOKEN_ENGINE_FAILED_1); return true;
  case KEY_ENGINE_FAILURE_2: toggle(sim, TOKEN_ENGINE_FAILED_2); return true;
  default: return false;
  }
}

void warnings_reset(Sim& sim) {
  for (std::uint32_t token :
       {TOKEN_TOKEN_40, TOKEN_STALL, TOKEN_AIRBRAKE_RIGHT, TOKEN_MARKER, TOKEN_OIL_PRESS_1,
        TOKEN_OIL_PRESS_2, TOKEN_ENGINE_FAILED_1, TOKEN_ENGINE_FAILED_2})
    sim.set_token(token, 0.0);
  OilPump* pumps = oil_pumps[&sim];
  pumps[0] = pumps[1] = OilPump{};
}

void warnings_frame(Sim& sim) {
  OilPump* pumps = oil_pumps[&sim];
  for (int i = 0; i < 2; ++i) {
    OilPump& pump = pumps[i];
    const double now = sim.token(oil_tokens[i].pressure);
    if (now != pump.written) pump.pinned = true;
    if (pump.pinned) continue;
    pump.written = oil_pressure_at(sim.token(oil_tokens[i].n2));
    sim.set_token(oil_tokens[i].pressure, pump.written);
  }
}

} // namespace k7host
