// The stand-in's aircraft: what the engines of the cockpit rely on in the simulator. Two jet
// engines whose N2 turns over while the starter event keeps coming, lights when the engine has
// fuel (fuel selector not off, engine fuel valve open, fuel control lever up), spools to idle and
// follows the throttle, and runs down when its fuel is cut; the fuel selectors, engine fuel valves,
// fuel control levers and throttles move by the key events the cockpit sends.
//
// An engine speed set from outside the model (a test or a scenario writing token 0x271 or 0x284)
// pins that engine there, N1 following, until its next starter event hands it back to the model.
#include "host/model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace k7host {

namespace {

struct EngineTokens {
  std::uint32_t n1;
  std::uint32_t n2;
  std::uint32_t selector;   // fuel selector: 0 off, else the tank drawn from
  std::uint32_t valve;      // engine fuel valve, 0.0 closed / 1.0 open
  std::uint32_t fuel_lever; // fuel control lever, fuel on at 0.5 or more
  std::uint32_t throttle;   // throttle lever 0.0 .. 1.0 (below 0 in reverse)
  std::uint32_t throttle_k; // the same in 1/16384
  std::uint32_t failed;     // engine failure, 1.0 failed (toggled by the failure key events)
};

constexpr EngineTokens engine_tokens[2] = {
    {0x270, 0x271, 0x133, 0x37F, 0x230, 0x22E, 0x080, 0x234},
    {0x283, 0x284, 0x38A, 0x380, 0x23A, 0x238, 0x0A3, 0x23E},
};

// ---- key events
// ---------------------------------------------------------------------------------------

enum class Act {
  Select,
  ValveToggle,
  Starter,
  ThrottleUp,
  ThrottleDown,
  ThrottleMin,
  FuelOn,
  FuelOff,
  ThrottleSet
};

struct EngineKey {
  std::uint32_t id;
  int engine;
  Act act;
  double value; // selector value for Select
};

const EngineKey engine_keys[] = {
    {0x101A3, 0, Act::Select, 0},       {0x101A5, 0, Act::Select, 2},
    {0x101A6, 0, Act::Select, 3},       {0x101A7, 0, Act::Select, 4},
    {0x101A8, 0, Act::Select, 5},       {0x103D4, 1, Act::Select, 0},
    {0x103D6, 1, Act::Select, 2},       {0x103D7, 1, Act::Select, 3},
    {0x103D8, 1, Act::Select, 4},       {0x103D9, 1, Act::Select, 5},
    {0x103BE, 0, Act::ValveToggle, 0},  {0x103BF, 1, Act::ValveToggle, 0},
    {0x102FC, 0, Act::Starter, 0},      {0x102FD, 1, Act::Starter, 0},
    {0x101AC, 0, Act::ThrottleUp, 0},   {0x101B1, 1, Act::ThrottleUp, 0},
    {0x101AE, 0, Act::ThrottleDown, 0}, {0x101B3, 1, Act::ThrottleDown, 0},
    {0x101AF, 0, Act::ThrottleMin, 0},  {0x101B4, 1, Act::ThrottleMin, 0},
    {0x101BF, 0, Act::FuelOn, 0},       {0x101C4, 1, Act::FuelOn, 0},
    {0x101C3, 0, Act::FuelOff, 0},      {0x101C8, 1, Act::FuelOff, 0},
    {0x1011C, 0, Act::ThrottleSet, 0},
};

constexpr double THROTTLE_STEP = 0.025; // per increase or decrease event

// ---- the engine model, per frame
// ----------------------------------------------------------------------

constexpr double LIGHT_OFF_N2 = 15.0;    // the igniters light the fuel from here, with the starter
constexpr double SELF_SUSTAIN_N2 = 30.0; // below this a lit engine needs its starter
constexpr double IDLE_N2 = 62.0;

// How N2 moves in each regime: toward a target, in percent per second.
struct Regime {
  double up;
  double down;
};
constexpr Regime running{4.0, 3.0};  // lit: toward idle plus throttle
constexpr Regime cranking{2.5, 3.0}; // starter alone: toward the starter's top speed
constexpr Regime run_down{1.0, 3.0}; // neither: toward the windmilling speed
constexpr double STARTER_TOP_N2 = 28.0;

// N1 follows N2.
constexpr double n1_table[][2] = {{0.0, 0.0}, {20.0, 4.0}, {IDLE_N2, 24.0}, {100.0, 100.0}};

double n1_of(double n2) {
  for (std::size_t i = 1; i < std::size(n1_table); ++i)
    if (n2 <= n1_table[i][0]) {
      const double* a = n1_table[i - 1];
      const double* b = n1_table[i];
      return a[1] + (b[1] - a[1]) * (n2 - a[0]) / (b[0] - a[0]);
    }
  return 100.0;
}

struct EngineState {
  int starter_events = 0; // since the last frame
  bool lit = false;
  bool pinned = false;     // speed set from outside: left where it was put
  double n1_written = 0.0; // the values the model last wrote, to see outside writes
  double n2_written = 0.0;
};

struct Engines {
  std::array<EngineState, 2> engine{};
  bool hold = false;
};

// One model per simulator (several live in one test process).
std::map<const Sim*, Engines> models;

double finite(double v, double fallback = 0.0) {
  return std::isfinite(v) ? v : fallback;
}

bool same(double a, double b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

void write_speeds(Sim& sim, const EngineTokens& t, EngineState& e, double n2) {
  e.n2_written = n2;
  sim.set_token(t.n2, n2);
  if (!e.pinned || same(sim.token(t.n1), e.n1_written)) {
    e.n1_written = n1_of(std::clamp(finite(n2), 0.0, 110.0));
    sim.set_token(t.n1, e.n1_written);
  }
}

void set_throttle(Sim& sim, const EngineTokens& t, double value) {
  const double v = std::clamp(finite(value), 0.0, 1.0);
  sim.set_token(t.throttle, v);
  sim.set_token(t.throttle_k, v * 16384.0);
}

void step_engine(Sim& sim, const EngineTokens& t, EngineState& e) {
  const bool has_fuel = finite(sim.token(t.selector)) != 0.0 && sim.token(t.valve) == 1.0 &&
                        finite(sim.token(t.fuel_lever)) >= 0.5 && sim.token(t.failed) != 1.0;
  const bool starter = e.starter_events > 0;
  e.starter_events = 0;
  const double set_n2 = sim.token(t.n2);
  if (!same(set_n2, e.n2_written)) e.pinned = true;
  if (starter) e.pinned = false;
  if (e.pinned) {
    e.lit = has_fuel && finite(set_n2) >= SELF_SUSTAIN_N2;
    write_speeds(sim, t, e, set_n2);
    return;
  }
  double n2 = std::clamp(finite(set_n2), 0.0, 110.0);

  if (!has_fuel || (n2 < SELF_SUSTAIN_N2 && !starter))
    e.lit = false;
  else if (starter && n2 >= LIGHT_OFF_N2)
    e.lit = true;

  double target = 0.0;
  Regime regime = run_down;
  if (e.lit) {
    regime = running;
    target = IDLE_N2 + (100.0 - IDLE_N2) * std::clamp(finite(sim.token(t.throttle)), 0.0, 1.0);
  } else if (starter) {
    regime = cranking;
    target = STARTER_TOP_N2;
  } else {
    // Windmilling in the airflow: about 12 % at 150 knots.
    target = std::clamp(finite(sim.token(TOKEN_AIRSPEED)) * 0.08, 0.0, 25.0);
  }
  const double up = regime.up / kFramesPerSecond;
  const double down = regime.down / kFramesPerSecond;
  n2 = n2 < target ? std::min(target, n2 + up) : std::max(target, n2 - down);
  write_speeds(sim, t, e, n2);
}

} // namespace

bool engines_key_event(Sim& sim, std::uint32_t id, std::uint32_t value) {
  for (const EngineKey& k : engine_keys) {
    if (k.id != id) continue;
    const EngineTokens& t = engine_tokens[k.engine];
    switch (k.act) {
    case Act::Select: sim.set_token(t.selector, k.value); break;
    case Act::ValveToggle: sim.set_token(t.valve, sim.token(t.valve) == 1.0 ? 0.0 : 1.0); break;
    case Act::Starter:
      ++models[&sim].engine[static_cast<std::size_t>(k.engine)].starter_events;
      break;
    case Act::ThrottleUp:
      set_throttle(sim, t, finite(sim.token(t.throttle)) + THROTTLE_STEP);
      break;
    case Act::ThrottleDown:
      set_throttle(sim, t, finite(sim.token(t.throttle)) - THROTTLE_STEP);
      break;
    case Act::ThrottleMin: set_throttle(sim, t, 0.0); break;
    case Act::FuelOn: sim.set_token(t.fuel_lever, 1.0); break;
    case Act::FuelOff: sim.set_token(t.fuel_lever, 0.0); break;
    case Act::ThrottleSet:
      set_throttle(sim, t, static_cast<double>(static_cast<std::int32_t>(value)) / 16384.0);
      break;
    }
    return true;
  }
  return false;
}

void engines_reset(Sim& sim) {
  models[&sim] = Engines{};
  for (const EngineTokens& t : engine_tokens) {
    sim.set_token(t.n1, 0.0);
    sim.set_token(t.n2, 0.0);
    sim.set_token(t.selector, 0.0);
    sim.set_token(t.valve, 1.0);
    sim.set_token(t.fuel_lever, 1.0);
    set_throttle(sim, t, 0.0);
  }
}

void engines_frame(Sim& sim) {
  Engines& m = models[&sim];
  if (m.hold) {
    for (EngineState& e : m.engine)
      e.starter_events = 0;
    return;
  }
  for (std::size_t i = 0; i < 2; ++i)
    step_engine(sim, engine_tokens[i], m.engine[i]);
}

void engines_hold(Sim& sim, bool hold) {
  models[&sim].hold = hold;
}

} // namespace k7host
