// The stand-in's aircraft: what the start panel's hydraulic-loss automation relies on in the
// simulator besides the parking brake (the hydraulics part), the air brakes out and in (the gear
// part) and the autopilot speed reference (the approach part): the air brakes set to a position,
// and the controls centred (aileron and rudder together, or the rudder alone).
#include "host/model.h"

#include <algorithm>
#include <cstdint>

namespace k7host {

namespace {

enum : std::uint32_t {
  TOKEN_AILERON = 0x139,
  TOKEN_RUDDER = 0x13C,
  TOKEN_SPOILER_HANDLE = 0x145,
  TOKEN_SPOILERS_LEFT = 0x146,
  TOKEN_SPOILERS_RIGHT = 0x147,
};

enum : std::uint32_t {
  KEY_CENTER_AILERON_RUDDER = 0x1004C,
  KEY_RUDDER_CENTER = 0x10099,
  KEY_SPOILERS_SET = 0x100FA,
};

constexpr double SPOILERS_OUT = 16383.0;

} // namespace

bool panels_key_event(Sim& sim, std::uint32_t id, std::uint32_t value) {
  switch (id) {
  case KEY_CENTER_AILERON_RUDDER:
    sim.set_token(TOKEN_AILERON, 0.0);
    sim.set_token(TOKEN_RUDDER, 0.0);
    return true;
  case KEY_RUDDER_CENTER: sim.set_token(TOKEN_RUDDER, 0.0); return true;
  case KEY_SPOILERS_SET: {
    const double position =
        std::clamp(static_cast<double>(static_cast<std::int32_t>(value)), 0.0, SPOILERS_OUT);
    for (std::uint32_t t : {TOKEN_SPOILER_HANDLE, TOKEN_SPOILERS_LEFT, TOKEN_SPOILERS_RIGHT})
      sim.set_token(t, position);
    return true;
  }
  default: return false;
  }
}

} // namespace k7host
