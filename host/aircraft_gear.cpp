// The stand-in's aircraft: what the fuel gauges, pedestal levers, gear and door panels and
// exterior lights rely on in the simulator. Two tanks a side with the fuel weight, fuel flow from
// the engines' N2 emptying them, oil temperatures warming with N2, the air brakes, the standby flap
// value, the gear handle (the gear travel and the flap detents are the hydraulics part's), the
// parking brake toggle, the exit, and the six exterior lights with their events.
//
// A small "other module" stands beside the cockpit: the door module opens the exit while the
// shared "forward_door_open" reads above 0. Scenario steps that set a light's token or a shared
// named variable play another module changing things behind the cockpit's back.
#include "host/model.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace k7host {

namespace {

enum : std::uint32_t {
  TOKEN_SECOND_NAV_LIGHT = 0x00B,
  TOKEN_LANDING_LIGHT = 0x00E,
  TOKEN_FURTHER_LEVEL = 0x121,
  TOKEN_FURTHER_CAPACITY = 0x122,
  TOKEN_FUEL_WEIGHT = 0x132,
  TOKEN_PARKING_BRAKE = 0x143,
  TOKEN_SPOILER_HANDLE = 0x145,
  TOKEN_SPOILERS_LEFT = 0x146,
  TOKEN_SPOILERS_RIGHT = 0x147,
  TOKEN_GEAR_HANDLE = 0x14B,
  TOKEN_BEACON = 0x170,
  TOKEN_TAXI = 0x171,
  TOKEN_OIL_1 = 0x231,
  TOKEN_OIL_2 = 0x23B,
  TOKEN_NAV_LIGHTS = 0x26B,
  TOKEN_NACELLE = 0x26D,
  TOKEN_N2_1 = 0x271,
  TOKEN_N2_2 = 0x284,
  TOKEN_SIM_TIME = 0x25F,
  TOKEN_FLOW_1 = 0x27E,
  TOKEN_FLOW_2 = 0x291,
  TOKEN_FLAP_STANDBY = 0x338,
  TOKEN_EXIT = 0x364,
};

constexpr double LEVEL_PER_PERCENT = 83886.08;
constexpr double FUEL_WEIGHT = 6.7;   // pounds per gallon
constexpr double OIL_COLD = 518.67;   // Rankine, 15 deg C
constexpr double OIL_PER_N2 = 0.99;   // Rankine of warming per percent N2
constexpr double OIL_RATE = 0.004;    // of the difference per frame
constexpr double STANDBY_STEP = 0.01; // the standby flap value, per frame
constexpr double EXIT_STEP = 0.5 / kFramesPerSecond;
constexpr double SPOILERS_OUT = 16383.0;
constexpr double PARKING_BRAKE_SET = 32767.0;

// One side's tanks: the main (larger) and the auxiliary (smaller) as tank 1 and tank 2.
struct Tank {
  std::uint32_t capacity;
  std::uint32_t level;
  double gallons;
  double percent;
};
constexpr Tank tanks_at_rest[] = {
    {0x124, 0x123, 1800.0, 80.0},
    {0x126, 0x125, 350.0, 30.0}, // left
    {0x12A, 0x129, 1800.0, 80.0},
    {0x12C, 0x12B, 350.0, 30.0}, // right
};

struct Engine {
  std::uint32_t n2, flow, oil;
  std::size_t first_tank; // index into tanks_at_rest of its side's main tank
};
constexpr Engine engines[] = {{TOKEN_N2_1, TOKEN_FLOW_1, TOKEN_OIL_1, 0},
                              {TOKEN_N2_2, TOKEN_FLOW_2, TOKEN_OIL_2, 2}};

// Pounds per hour for an N2: about 1200 at idle, 7000 at full thrust, none below light-off.
double flow_for(double n2) {
  if (!std::isfinite(n2) || n2 < 15.0) return 0.0;
  if (n2 <= 62.0) return (n2 - 15.0) / 47.0 * 1200.0;
  return 1200.0 + (std::min(n2, 105.0) - 62.0) / 38.0 * 5800.0;
}

double finite(double v, double fallback = 0.0) {
  return std::isfinite(v) ? v : fallback;
}

// Takes the fuel burnt this frame from the side's main tank, then from its auxiliary tank.
void burn(Sim& sim, std::size_t first_tank, double pounds) {
  double gallons = pounds / finite(sim.token(TOKEN_FUEL_WEIGHT), FUEL_WEIGHT);
  for (std::size_t i = first_tank; i < first_tank + 2 && gallons > 0.0; ++i) {
    const Tank& t = tanks_at_rest[i];
    const double capacity = finite(sim.token(t.capacity));
    if (capacity <= 0.0) continue;
    const double in_tank = finite(sim.token(t.level)) / LEVEL_PER_PERCENT / 100.0 * capacity;
    const double taken = std::clamp(gallons, 0.0, std::max(in_tank, 0.0));
    sim.set_token(t.level, (in_tank - taken) / capacity * 100.0 * LEVEL_PER_PERCENT);
    gallons -= taken;
  }
}

double toward(double value, double target, double step) {
  value = finite(value, target);
  if (target > value + step) return value + step;
  if (target < value - step) return value - step;
  return target;
}

void toggle(Sim& sim, std::uint32_t token) {
  sim.set_token(token, sim.token(token) == 0.0 ? 1.0 : 0.0);
}

// What moves over time, one record per simulator.
struct Moving {
  double standby_target = 0.0; // the standby flap value heads for 0 or 1
  double exit_target = 0.0;
  double door_seen = 0.0;    // the door module's last look at "forward_door_open"
  double clock_offset = 0.0; // seconds the clock has been set back
  // The flows and oil temperatures the model last wrote: one written from outside (a test, a
  // scenario) stays where it was put.
  double flow_written[2] = {0.0, 0.0};
  double oil_written[2] = {OIL_COLD, OIL_COLD};
};
std::map<const Sim*, Moving> moving;

struct LightKey {
  std::uint32_t id;
  std::uint32_t token;
  int action; // -1 off, 0 toggle, 1 on
};
constexpr LightKey light_keys[] = {
    {0x1034A, TOKEN_NACELLE, 0},          {0x102C0, TOKEN_TAXI, 0},
    {0x102BF, TOKEN_BEACON, 0},           {0x1034B, TOKEN_NAV_LIGHTS, 0},
    {0x10204, TOKEN_SECOND_NAV_LIGHT, 1}, {0x10205, TOKEN_SECOND_NAV_LIGHT, -1},
    {0x1020B, TOKEN_LANDING_LIGHT, 1},    {0x1020C, TOKEN_LANDING_LIGHT, -1},
};

} // namespace

bool gear_key_event(Sim& sim, std::uint32_t id, std::uint32_t) {
  for (const LightKey& k : light_keys)
    if (k.id == id) {
      if (k.action == 0)
        toggle(sim, k.token);
      else
        sim.set_token(k.token, k.action > 0 ? 1.0 : 0.0);
      return true;
    }
  Moving& m = moving[&sim];
  switch (id) {
  case 0x10210: // air brakes out
  case 0x10211: {
    const double out = id == 0x10210 ? SPOILERS_OUT : 0.0;
    for (std::uint32_t t : {TOKEN_SPOILER_HANDLE, TOKEN_SPOILERS_LEFT, TOKEN_SPOILERS_RIGHT})
      sim.set_token(t, out);
    return true;
  }
  case 0x10305: m.standby_target = m.standby_target > 0.5 ? 0.0 : 1.0; return true;
  case 0x100D8:
    sim.set_token(TOKEN_PARKING_BRAKE,
                  sim.token(TOKEN_PARKING_BRAKE) > 0.0 ? 0.0 : PARKING_BRAKE_SET);
    return true;
  case 0x10355: m.exit_target = m.exit_target > 0.5 ? 0.0 : 1.0; return true;
  // The gear handle moves here; the gear itself travels in the hydraulics part.
  case 0x1021F: sim.set_token(TOKEN_GEAR_HANDLE, 0.0); return false;
  case 0x10220: sim.set_token(TOKEN_GEAR_HANDLE, 1.0); return false;
  default: return false;
  }
}

void gear_reset(Sim& sim) {
  moving[&sim] = Moving{};
  for (const Tank& t : tanks_at_rest) {
    sim.set_token(t.capacity, t.gallons);
    sim.set_token(t.level, t.percent * LEVEL_PER_PERCENT);
  }
  sim.set_token(TOKEN_FURTHER_CAPACITY, 0.0);
  sim.set_token(TOKEN_FURTHER_LEVEL, 0.0);
  sim.set_token(TOKEN_FUEL_WEIGHT, FUEL_WEIGHT);
  for (const Engine& e : engines) {
    sim.set_token(e.flow, 0.0);
    sim.set_token(e.oil, OIL_COLD);
  }
  for (std::uint32_t t :
       {TOKEN_SPOILER_HANDLE, TOKEN_SPOILERS_RIGHT, TOKEN_FLAP_STANDBY, TOKEN_EXIT, TOKEN_NACELLE,
        TOKEN_TAXI, TOKEN_BEACON, TOKEN_NAV_LIGHTS, TOKEN_SECOND_NAV_LIGHT, TOKEN_LANDING_LIGHT})
    sim.set_token(t, 0.0);
  sim.set_token(TOKEN_GEAR_HANDLE, 1.0); // at rest: gear down
  sim.set_token(TOKEN_SIM_TIME, 0.0);
}

void gear_frame(Sim& sim) {
  Moving& m = moving[&sim];
  const double now = finite(sim.token(TOKEN_ELAPSED_SECONDS)) - m.clock_offset;
  if (m.clock_offset != 0.0) {
    sim.set_token(TOKEN_ELAPSED_SECONDS, now);
    sim.set_token(TOKEN_TICK18, std::round(now * kFramesPerSecond));
  }
  sim.set_token(TOKEN_SIM_TIME, now);

  for (std::size_t i = 0; i < 2; ++i) {
    const Engine& e = engines[i];
    const double n2 = sim.token(e.n2);
    if (sim.token(e.flow) == m.flow_written[i]) {
      m.flow_written[i] = flow_for(n2);
      sim.set_token(e.flow, m.flow_written[i]);
    }
    burn(sim, e.first_tank, std::max(finite(sim.token(e.flow)), 0.0) / 3600.0 / kFramesPerSecond);
    if (sim.token(e.oil) == m.oil_written[i]) {
      const double oil_target = OIL_COLD + OIL_PER_N2 * std::clamp(finite(n2), 0.0, 110.0);
      m.oil_written[i] += (oil_target - m.oil_written[i]) * OIL_RATE;
      sim.set_token(e.oil, m.oil_written[i]);
    }
  }

  sim.set_token(TOKEN_FLAP_STANDBY,
                toward(sim.token(TOKEN_FLAP_STANDBY), m.standby_target, STANDBY_STEP));

  // The door module: it opens the exit when the cockpit (or anyone) opens the shared door.
  const double door = sim.named("forward_door_open");
  if (door != m.door_seen) {
    m.door_seen = door;
    m.exit_target = door > 0.0 ? 1.0 : 0.0;
  }
  sim.set_token(TOKEN_EXIT, toward(sim.token(TOKEN_EXIT), m.exit_target, EXIT_STEP));
}

void clock_set_back(Sim& sim, double seconds) {
  moving[&sim].clock_offset += seconds;
}

} // namespace k7host
