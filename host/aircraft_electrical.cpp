// The stand-in's aircraft: what the cockpit's electrical system relies on in the simulator. The
// simulator's own battery, alternator, avionics and generator switches, which the module's
// key events toggle; the panel, cabin and two other lights; the heading gyro that the TADG keeps
// aligned. Engine speeds (tokens 0x271, 0x284), on-ground (0x3C), speed (0x266), ground
// velocities (0x227, 0x228) and the panel-circuit token (0x117) are plain tokens, set by
// scenarios and by the other parts of the model.
#include "host/model.h"

namespace k7host {

namespace {

constexpr std::uint32_t TOKEN_PANEL_LIGHT = 0x00A;
constexpr std::uint32_t TOKEN_GYRO_DRIFT = 0x055;
constexpr std::uint32_t TOKEN_MASTER_ALTERNATOR = 0x16B;
constexpr std::uint32_t TOKEN_MASTER_BATTERY = 0x16C;
constexpr std::uint32_t TOKEN_GENERATOR1_SWITCH = 0x235;
constexpr std::uint32_t TOKEN_GENERATOR2_SWITCH = 0x23F;
constexpr std::uint32_t TOKEN_LIGHT_26C = 0x26C;
constexpr std::uint32_t TOKEN_LIGHT_26E = 0x26E;
constexpr std::uint32_t TOKEN_AVIONICS_MASTER = 0x2E4;

const char* const CABIN_LIGHT = "(A:Light cabin,bool)";

void toggle(Sim& sim, std::uint32_t token) {
  sim.set_token(token, sim.token(token) == 0.0 ? 1.0 : 0.0);
}

struct Effect {
  std::uint32_t key;
  void (*apply)(Sim& sim);
};

const Effect effects[] = {
    {0x102C1, [](Sim& s) { toggle(s, TOKEN_MASTER_BATTERY); }},
    {0x102F5, [](Sim& s) { toggle(s, TOKEN_AVIONICS_MASTER); }},
    {0x102C2, [](Sim& s) { toggle(s, TOKEN_MASTER_ALTERNATOR); }},
    {0x1033B, [](Sim& s) { toggle(s, TOKEN_GENERATOR1_SWITCH); }},
    {0x1033C, [](Sim& s) { toggle(s, TOKEN_GENERATOR2_SWITCH); }},
    {0x10208, [](Sim& s) { s.set_token(TOKEN_PANEL_LIGHT, 1.0); }},
    {0x10209, [](Sim& s) { s.set_token(TOKEN_PANEL_LIGHT, 0.0); }},
    {0x10348, [](Sim& s) { toggle(s, TOKEN_LIGHT_26C); }},
    {0x10349, [](Sim& s) { toggle(s, TOKEN_LIGHT_26E); }},
    {0x10413, [](Sim& s) { s.set_calc(CABIN_LIGHT, 0.0); }},
    {0x10020, [](Sim& s) { s.set_token(TOKEN_GYRO_DRIFT, 0.0); }}, // heading gyro set
};

} // namespace

bool electrical_key_event(Sim& sim, std::uint32_t id, std::uint32_t) {
  for (const Effect& e : effects)
    if (e.key == id) {
      e.apply(sim);
      return true;
    }
  return false;
}

void electrical_reset(Sim& sim) {
  for (std::uint32_t token :
       {TOKEN_PANEL_LIGHT, TOKEN_GYRO_DRIFT, TOKEN_MASTER_ALTERNATOR, TOKEN_MASTER_BATTERY,
        TOKEN_GENERATOR1_SWITCH, TOKEN_GENERATOR2_SWITCH, TOKEN_LIGHT_26C, TOKEN_LIGHT_26E,
        TOKEN_AVIONICS_MASTER, std::uint32_t{TOKEN_PP_ELECT}})
    sim.set_token(token, 0.0);
  sim.set_calc(CABIN_LIGHT, 0.0);
}

void electrical_frame(Sim&) {}

} // namespace k7host
