// The stand-in's aircraft: what the hydraulics of the cockpit rely on in the simulator. The
// brakes and the parking brake, the flap handle with its detents and the flaps following it, the
// gear extension; the spoilers (0x146) and the gear position (0x14D) otherwise stay as set.
#include "host/model.h"

#include <cmath>
#include <map>

namespace k7host {

namespace {

enum : std::uint32_t {
  TOKEN_BRAKE_LEFT = 0x140,
  TOKEN_BRAKE_RIGHT = 0x141,
  TOKEN_PARKING_BRAKE = 0x143,
  TOKEN_SPOILERS_LEFT = 0x146,
  TOKEN_FLAPS_HANDLE = 0x148,
  TOKEN_GEAR_NOSE = 0x14C,
  TOKEN_GEAR_LEFT = 0x14D,
  TOKEN_GEAR_RIGHT = 0x14E,
  TOKEN_FLAPS_LEFT_ANGLE = 0x38B,
  TOKEN_FLAPS_RIGHT_ANGLE = 0x38C,
};

enum : std::uint32_t {
  KEY_FLAPS_UP = 0x1003B,
  KEY_FLAPS_DOWN = 0x10043,
  KEY_FLAPS_INCR = 0x100DE,
  KEY_FLAPS_DECR = 0x100DF,
  KEY_GEAR_UP = 0x1021F,
  KEY_GEAR_DOWN = 0x10220,
  KEY_PARKING_BRAKES = 0x10306,
};

constexpr double PARKING_BRAKE_SET = 32767.0;
constexpr double GEAR_DOWN = 16383.0;
constexpr double GEAR_STEP = GEAR_DOWN / (8.0 * kFramesPerSecond); // eight seconds of travel
constexpr double FLAPS_STEP = 0.1;                                 // degrees per frame

// The flap handle's detents and the flap angle each one sets.
struct Detent {
  double handle;
  double angle;
};
constexpr Detent detents[] = {
    {0.0, 0.0},
    {16384.0 / 9.0, 5.0},
    {16384.0 * 0.4, 10.0},
    {16384.0 * 0.6, 20.0},
    {16384.0 * 0.8, 32.0},
    {16384.0, 45.0},
};
constexpr int DETENT_COUNT = sizeof detents / sizeof detents[0];
constexpr double DETENT_TOLERANCE = 0.5;

// The handle one detent further down (direction +1) or back (-1), from wherever it stands.
double next_detent(double handle, int direction) {
  if (!std::isfinite(handle)) handle = 0.0;
  if (direction > 0) {
    for (const Detent& d : detents)
      if (d.handle > handle + DETENT_TOLERANCE) return d.handle;
    return detents[DETENT_COUNT - 1].handle;
  }
  for (int i = DETENT_COUNT - 1; i >= 0; --i)
    if (detents[i].handle < handle - DETENT_TOLERANCE) return detents[i].handle;
  return detents[0].handle;
}

// The flap angle the handle calls for, between detents by proportion.
double flap_angle_for(double handle) {
  if (!std::isfinite(handle) || handle <= detents[0].handle) return detents[0].angle;
  for (int i = 1; i < DETENT_COUNT; ++i)
    if (handle <= detents[i].handle) {
      const Detent& a = detents[i - 1];
      const Detent& b = detents[i];
      return a.angle + (b.angle - a.angle) * ((handle - a.handle) / (b.handle - a.handle));
    }
  return detents[DETENT_COUNT - 1].angle;
}

double toward(double value, double target, double step) {
  if (!std::isfinite(value)) return target;
  if (target > value + step) return value + step;
  if (target < value - step) return value - step;
  return target;
}

// The gear moves only after a gear key event, until it has arrived; otherwise its tokens stay as
// a test or scenario set them. One record per simulator (reset when it loads).
struct GearTransit {
  bool moving = false;
  double target = GEAR_DOWN;
  bool held = false; // the gear stays where a test puts it
};
std::map<const Sim*, GearTransit> gear_transits;

} // namespace

bool hydraulics_key_event(Sim& sim, std::uint32_t id, std::uint32_t) {
  switch (id) {
  case KEY_PARKING_BRAKES:
    sim.set_token(TOKEN_PARKING_BRAKE,
                  sim.token(TOKEN_PARKING_BRAKE) > 0.0 ? 0.0 : PARKING_BRAKE_SET);
    return true;
  case KEY_FLAPS_INCR:
    sim.set_token(TOKEN_FLAPS_HANDLE, next_detent(sim.token(TOKEN_FLAPS_HANDLE), +1));
    return true;
  case KEY_FLAPS_DECR:
    sim.set_token(TOKEN_FLAPS_HANDLE, next_detent(sim.token(TOKEN_FLAPS_HANDLE), -1));
    return true;
  case KEY_FLAPS_UP: sim.set_token(TOKEN_FLAPS_HANDLE, detents[0].handle); return true;
  case KEY_FLAPS_DOWN:
    sim.set_token(TOKEN_FLAPS_HANDLE, detents[DETENT_COUNT - 1].handle);
    return true;
  case KEY_GEAR_DOWN:
    gear_transits[&sim].moving = true;
    gear_transits[&sim].target = GEAR_DOWN;
    return true;
  case KEY_GEAR_UP:
    gear_transits[&sim].moving = true;
    gear_transits[&sim].target = 0.0;
    return true;
  default: return false;
  }
}

void hydraulics_reset(Sim& sim) {
  sim.set_token(TOKEN_BRAKE_LEFT, 0.0);
  sim.set_token(TOKEN_BRAKE_RIGHT, 0.0);
  sim.set_token(TOKEN_PARKING_BRAKE, 0.0);
  sim.set_token(TOKEN_SPOILERS_LEFT, 0.0);
  sim.set_token(TOKEN_FLAPS_HANDLE, 0.0);
  sim.set_token(TOKEN_FLAPS_LEFT_ANGLE, 0.0);
  sim.set_token(TOKEN_FLAPS_RIGHT_ANGLE, 0.0);
  for (std::uint32_t leg : {TOKEN_GEAR_NOSE, TOKEN_GEAR_LEFT, TOKEN_GEAR_RIGHT})
    sim.set_token(leg, GEAR_DOWN);
  gear_transits[&sim] = {};
}

void hydraulics_frame(Sim& sim) {
  const double angle = toward(sim.token(TOKEN_FLAPS_LEFT_ANGLE),
                              flap_angle_for(sim.token(TOKEN_FLAPS_HANDLE)), FLAPS_STEP);
  sim.set_token(TOKEN_FLAPS_LEFT_ANGLE, angle);
  sim.set_token(TOKEN_FLAPS_RIGHT_ANGLE, angle);

  GearTransit& gear_transit = gear_transits[&sim];
  if (gear_transit.moving && !gear_transit.held) {
    bool arrived = true;
    for (std::uint32_t leg : {TOKEN_GEAR_NOSE, TOKEN_GEAR_LEFT, TOKEN_GEAR_RIGHT}) {
      const double position = toward(sim.token(leg), gear_transit.target, GEAR_STEP);
      sim.set_token(leg, position);
      arrived = arrived && position == gear_transit.target;
    }
    gear_transit.moving = !arrived;
  }
}

void gear_hold(Sim& sim, bool hold) {
  gear_transits[&sim].held = hold;
}

} // namespace k7host
