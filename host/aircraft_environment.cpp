// The stand-in's aircraft: what the air conditioning, pressurisation and ice protection read of
// the simulator. The outside air (token 0x155 in degrees, 0x15E in 1/256 degree), the main exit,
// the pitot heat, the engine anti-ice and the structural de-ice switched by the cockpit's key
// events, the pitot failure and the icing detector's height all stay as set.
//
// A simple climb and descent profile moves the altitude (0x4A), the icing height (0x49) and the
// vertical speed (0x41, 1/256 m/s) only while a scenario asks for it: the named variable
// "k7host_profile_rate" (ft/min, above 0) sends the aircraft toward "k7host_profile_to" (ft). It
// leaves the ground when it climbs from it and lands when it reaches 0 ft; on arrival it stops and
// sets the rate back to 0. Otherwise the model moves nothing.
#include "host/model.h"

#include <algorithm>
#include <cmath>

namespace k7host {

namespace {

enum : std::uint32_t {
  TOKEN_PITOT_HEAT = 0x00D,
  TOKEN_VERTICAL_SPEED = 0x041,
  TOKEN_ICING_HEIGHT = 0x049,
  TOKEN_ALTITUDE = 0x04A,
  TOKEN_PITOT_FAILURE = 0x11E,
  TOKEN_OUTSIDE_AIR = 0x155,
  TOKEN_OUTSIDE_TEMP_256 = 0x15E,
  TOKEN_MAIN_EXIT = 0x364,
  TOKEN_ANTI_ICE_1 = 0x373,
  TOKEN_ANTI_ICE_2 = 0x374,
  TOKEN_STRUCTURAL_DEICE = 0x389,
};

enum : std::uint32_t {
  KEY_PITOT_HEAT_ON = 0x10218,
  KEY_PITOT_HEAT_OFF = 0x10219,
  KEY_ANTI_ICE_SET_1 = 0x103B8,
  KEY_ANTI_ICE_SET_2 = 0x103B9,
  KEY_STRUCTURAL_DEICE_TOGGLE = 0x10321,
};

const char* const PROFILE_RATE = "k7host_profile_rate";
const char* const PROFILE_TO = "k7host_profile_to";

constexpr double FEET_PER_METRE = 3.281;
constexpr double GROUND_FEET = 0.0;
constexpr double OUTSIDE_AIR_AT_REST = 15.0;

double finite(double v) {
  return std::isfinite(v) ? v : 0.0;
}

void set_vertical_speed(Sim& sim, double fpm) {
  sim.set_token(TOKEN_VERTICAL_SPEED, fpm / 60.0 / FEET_PER_METRE * 256.0);
}

} // namespace

bool environment_key_event(Sim& sim, std::uint32_t id, std::uint32_t value) {
  switch (id) {
  case KEY_PITOT_HEAT_ON: sim.set_token(TOKEN_PITOT_HEAT, 1.0); return true;
  case KEY_PITOT_HEAT_OFF: sim.set_token(TOKEN_PITOT_HEAT, 0.0); return true;
  case KEY_ANTI_ICE_SET_1: sim.set_token(TOKEN_ANTI_ICE_1, value != 0 ? 1.0 : 0.0); return true;
  case KEY_ANTI_ICE_SET_2: sim.set_token(TOKEN_ANTI_ICE_2, value != 0 ? 1.0 : 0.0); return true;
  case KEY_STRUCTURAL_DEICE_TOGGLE:
    sim.set_token(TOKEN_STRUCTURAL_DEICE, sim.token(TOKEN_STRUCTURAL_DEICE) > 0.0 ? 0.0 : 1.0);
    return true;
  default: return false;
  }
}

void environment_reset(Sim& sim) {
  sim.set_token(TOKEN_OUTSIDE_AIR, OUTSIDE_AIR_AT_REST);
  sim.set_token(TOKEN_OUTSIDE_TEMP_256, OUTSIDE_AIR_AT_REST / 256.0);
  for (std::uint32_t token : {TOKEN_PITOT_HEAT, TOKEN_VERTICAL_SPEED, TOKEN_ICING_HEIGHT,
                              TOKEN_ALTITUDE, TOKEN_PITOT_FAILURE, TOKEN_MAIN_EXIT,
                              TOKEN_ANTI_ICE_1, TOKEN_ANTI_ICE_2, TOKEN_STRUCTURAL_DEICE})
    sim.set_token(token, 0.0);
}

void environment_frame(Sim& sim) {
  const double rate = finite(sim.named(PROFILE_RATE));
  if (!(rate > 0.0)) return;
  const double altitude = finite(sim.token(TOKEN_ALTITUDE));
  const double target = std::max(GROUND_FEET, finite(sim.named(PROFILE_TO)));
  const double step = rate / 60.0 / kFramesPerSecond;
  double next = altitude;
  double fpm = 0.0;
  if (target > altitude) {
    next = std::min(target, altitude + step);
    fpm = rate;
    sim.set_token(TOKEN_AIRCRAFT_ON_GROUND, 0.0);
  } else if (target < altitude) {
    next = std::max(target, altitude - step);
    fpm = -rate;
  }
  sim.set_token(TOKEN_ALTITUDE, next);
  sim.set_token(TOKEN_ICING_HEIGHT, next);
  if (next == target) {
    fpm = 0.0;
    sim.set_named(PROFILE_RATE, 0.0);
    if (target <= GROUND_FEET) sim.set_token(TOKEN_AIRCRAFT_ON_GROUND, 1.0);
  }
  set_vertical_speed(sim, fpm);
}

} // namespace k7host
