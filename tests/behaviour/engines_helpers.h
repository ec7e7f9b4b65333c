// Shared set-up of the fuel, throttle and engine-start tests: windows, bus flags, element places.
#pragma once

#include "host/model.h"
#include "k7test.h"
#include "platform/sound_device_log.h"

#include <cstring>
#include <string>

namespace enginetest {

constexpr std::uint32_t WINDOW_THROTTLES = 10040;
constexpr std::uint32_t WINDOW_ELECTRICAL = 10080;
constexpr std::uint32_t WINDOW_START = 10090;
constexpr std::uint32_t WINDOW_COMMUTATOR = 10100;
constexpr std::uint32_t WINDOW_FUEL = 10110;

const std::string PUMPS_LH = "kestovil fuel_pumps_lh_k7";
const std::string PUMPS_RH = "kestovil fuel_pumps_rh_k7";
const std::string VALVES_LH = "kestovil fuel_valves_lh_k7";
const std::string VALVES_RH = "kestovil fuel_valves_rh_k7";
const std::string CROSSFEED = "kestovil fuel_crossfeed_k7";
const std::string PRESSURE = "kestovil fuel_press_k7";
const std::string THROTTLE_L = "kestovil thr_hpbp_left_k7";
const std::string THROTTLE_R = "kestovil thr_hpbp_right_k7";
const std::string START = "kestovil engstart_k7";
const std::string START_LAMPS = "kestovil engstart_lights_k7";
const std::string START_VOLTS = "kestovil engstart_volt_k7";
const std::string RELIGHT_FACE = "kestovil eng_relight_k7";

// Simulator tokens and key events the cockpit uses.
constexpr std::uint32_t N1_1 = 0x270, N2_1 = 0x271, N1_2 = 0x283, N2_2 = 0x284;
constexpr std::uint32_t SELECTOR_1 = 0x133, SELECTOR_2 = 0x38A;
constexpr std::uint32_t FUEL_VALVE_1 = 0x37F, FUEL_VALVE_2 = 0x380;
constexpr std::uint32_t THROTTLE_1 = 0x22E, THROTTLE_2 = 0x238;
constexpr std::uint32_t FUEL_LEVER_1 = 0x230, FUEL_LEVER_2 = 0x23A;
constexpr std::uint32_t ALTITUDE = 0x4A, AIRSPEED = 0x3D, NAV_LIGHTS = 0x26B, TICK = 0x1;
constexpr std::uint32_t CRANK_1 = 0x102FC, CRANK_2 = 0x102FD;

inline double st(const k7host::Sim& sim, const std::string& name) {
  return k7test::state(sim, name);
}
inline void set(k7host::Sim& sim, const std::string& name, double value) {
  EXPECT_TRUE(sim.set_state(name, value)) << "no state variable " << name;
}

// The bus flags a system needs, set directly: the network's own gauges stay in their closed
// window, so nothing recomputes them.
inline void power(k7host::Sim& sim, bool ess = true, bool main = true, bool ac = true) {
  set(sim, "elec_bus_ess", ess);
  set(sim, "elec_bus_main", main);
  set(sim, "elec_ac_instr", ac);
}

// Panel night lighting lit. Where the panel-lighting gauge runs (it sits on the main panel) it
// recomputes the flag every update from its own state and the essential bus, so that state is
// put at "night lit" too and the bus powered.
inline void night_lighting(k7host::Sim& sim) {
  set(sim, "elec_bus_ess", 1);
  set(sim, "elec_panel_night", 1);
  if (sim.state("elec_panlight_state")) set(sim, "elec_panlight_state", 5);
}

// Ground power feeding the network and the start panel.
inline void ground_power(k7host::Sim& sim, bool on = true) {
  set(sim, "elec_extpwr_connected", on);
  set(sim, "elec_extpwr_feeding", on);
}

// How often the switch click has been played.
inline std::uint32_t clicks(const k7host::Sim& sim) {
  const auto* log = static_cast<const K7SoundDeviceLog*>(sim.sound_device());
  if (log == nullptr) return 0;
  for (std::uint32_t i = 0; i < log->buffer_count && i < K7_SOUND_LOG_BUFFERS; ++i)
    if (std::strcmp(log->buffers[i].name, "CLICK") == 0) return log->buffers[i].play_calls;
  return 0;
}

// Frames until `done` holds, at most `limit`; returns the number run.
template <typename Done> int frames_until(k7host::Sim& sim, int limit, Done done) {
  int n = 0;
  while (n < limit && !done()) {
    sim.frame();
    ++n;
  }
  return n;
}

// Holds an engine's speed where a test puts it.
inline void pin_engines(k7host::Sim& sim, double n2_1, double n2_2) {
  k7host::engines_hold(sim, true);
  sim.set_token(N2_1, n2_1);
  sim.set_token(N2_2, n2_2);
}

} // namespace enginetest
