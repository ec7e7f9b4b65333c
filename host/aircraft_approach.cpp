// The stand-in's aircraft: the simulator's autothrottle as the cockpit's autothrottle uses it. Its
// arm and disarm events set the armed flag, the speed reference and the flag needed before arming
// are set by their events, and the second engine's throttle lever is set like the first one's
// (position in 1/16384 of full travel, the whole-unit token beside it).
#include "host/model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace k7host {

namespace {

enum : std::uint32_t {
  TOKEN_AUTOTHROTTLE_ARMED = 0x73,
  TOKEN_SPEED_REF = 0x74,
  TOKEN_BEFORE_ARMING = 0x7b,
  TOKEN_THROTTLE2 = 0x238,
  TOKEN_THROTTLE2_UNITS = 0xa3,
};

enum : std::uint32_t {
  KEY_THROTTLE2_SET = 0x1011D,
  KEY_BEFORE_ARMING = 0x10144,
  KEY_SPEED_REF = 0x101F5,
  KEY_ARM = 0x1022D,
  KEY_DISARM = 0x1022E,
};

double as_signed(std::uint32_t value) {
  return static_cast<double>(static_cast<std::int32_t>(value));
}

} // namespace

// The simulator's speed reference starts at the autothrottle's own selection.
void approach_reset(Sim& sim) {
  sim.set_token(TOKEN_SPEED_REF, 145.0);
  sim.set_token(TOKEN_AUTOTHROTTLE_ARMED, 0.0);
}

bool approach_key_event(Sim& sim, std::uint32_t id, std::uint32_t value) {
  switch (id) {
  case KEY_ARM: sim.set_token(TOKEN_AUTOTHROTTLE_ARMED, 1.0); return true;
  case KEY_DISARM: sim.set_token(TOKEN_AUTOTHROTTLE_ARMED, 0.0); return true;
  case KEY_BEFORE_ARMING: sim.set_token(TOKEN_BEFORE_ARMING, as_signed(value)); return true;
  case KEY_SPEED_REF: sim.set_token(TOKEN_SPEED_REF, as_signed(value)); return true;
  case KEY_THROTTLE2_SET: {
    const double position = std::clamp(as_signed(value) / 16384.0, 0.0, 1.0);
    sim.set_token(TOKEN_THROTTLE2, position);
    sim.set_token(TOKEN_THROTTLE2_UNITS, position * 16384.0);
    return true;
  }
  default: return false;
  }
}

} // namespace k7host
