// The stand-in's aircraft: the simulator's starters as the failures panel's easy start relies on
// them. A starter key event (0x102FC, 0x102FD) engages the starter; once the engine has lit
// (fuel on, past light-off speed) the simulator keeps its starter engaged, without further
// events, until the engine runs by itself. An engine without fuel or below light-off speed turns
// only while the events keep coming, as the engine model has it.
#include "host/model.h"

#include <cmath>
#include <map>

namespace k7host {

namespace {

constexpr std::uint32_t KEY_STARTER[2] = {0x102FC, 0x102FD};

struct StarterTokens {
  std::uint32_t n2;
  std::uint32_t selector;
  std::uint32_t valve;
  std::uint32_t fuel_lever;
  std::uint32_t failed;
};
constexpr StarterTokens starter_tokens[2] = {
    {0x271, 0x133, 0x37F, 0x230, 0x234},
    {0x284, 0x38A, 0x380, 0x23A, 0x23E},
};

// The same speeds as the engine model's.
constexpr double LIGHT_OFF_N2 = 15.0;
constexpr double SELF_SUSTAIN_N2 = 30.0;

struct Starters {
  bool engaged[2] = {false, false};
};
std::map<const Sim*, Starters> starters;

bool has_fuel(const Sim& sim, const StarterTokens& t) {
  const double selector = sim.token(t.selector);
  const double lever = sim.token(t.fuel_lever);
  return std::isfinite(selector) && selector != 0.0 && sim.token(t.valve) == 1.0 &&
         std::isfinite(lever) && lever >= 0.5 && sim.token(t.failed) != 1.0;
}

} // namespace

bool failures_key_event(Sim& sim, std::uint32_t id, std::uint32_t) {
  for (int i = 0; i < 2; ++i)
    if (id == KEY_STARTER[i]) starters[&sim].engaged[i] = true;
  return false; // the engine model turns the engine on the same event
}

void failures_reset(Sim& sim) {
  starters[&sim] = Starters{};
}

void failures_frame(Sim& sim) {
  Starters& s = starters[&sim];
  for (int i = 0; i < 2; ++i) {
    if (!s.engaged[i]) continue;
    const StarterTokens& t = starter_tokens[i];
    const double n2 = sim.token(t.n2);
    const bool lighting =
        std::isfinite(n2) && n2 >= LIGHT_OFF_N2 && n2 < SELF_SUSTAIN_N2 && has_fuel(sim, t);
    if (lighting)
      engines_key_event(sim, KEY_STARTER[i], 0);
    else
      s.engaged[i] = false;
  }
}

} // namespace k7host
