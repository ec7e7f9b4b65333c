// The behaviour tests' bed: a freshly loaded module (every test starts from one), the windows a
// test needs, and short words for the module's state, lamps, needles, buses and sounds.
#pragma once

#include "host/k7host.h"
#include "host/model.h"
#include "platform/sound_device_log.h"

#include <gtest/gtest.h>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>

// A copy of a field of a record laid out with the simulator's 4-byte packing: on 64-bit its
// pointers may sit at addresses that a reference (as the test macros take) must not bind to.
#define K7_COPY(field) (static_cast<std::remove_cvref_t<decltype(field)>>(field))

namespace k7test {

// Windows of the panels under test.
enum Window : std::uint32_t {
  THROTTLES = 10040,
  HYDRAULICS = 10060,
  SERVOS = 10070,
  ELECTRICAL = 10080,
  START = 10090,
  COMMUTATOR = 10100,
  FUEL = 10110,
  CABIN_CALL = 10120,
};

inline std::unique_ptr<k7host::Sim> fresh(const std::string& panel_cfg = {}) {
  k7host::Options options;
  options.panel_cfg = panel_cfg;
  return std::make_unique<k7host::Sim>(options);
}

inline double state(const k7host::Sim& sim, const std::string& name) {
  auto v = sim.state(name);
  EXPECT_TRUE(v.has_value()) << "no state variable " << name;
  return v.value_or(-12345.0);
}

struct Bed {
  std::unique_ptr<k7host::Sim> sim = fresh();

  Bed(std::initializer_list<std::uint32_t> windows = {}) {
    for (std::uint32_t w : windows)
      sim->open_window(w);
  }
  k7host::Sim* operator->() const { return sim.get(); }

  double state(const std::string& name) const { return k7test::state(*sim, name); }
  void set(const std::string& name, double v) {
    EXPECT_TRUE(sim->set_state(name, v)) << "no state variable " << name;
  }
  bool visible(const std::string& gauge, int element) const {
    auto e = sim->element(gauge, element);
    EXPECT_TRUE(e.has_value()) << "no element " << element << " in " << gauge;
    return e && !e->hidden;
  }
  double value(const std::string& gauge, int element) const {
    auto e = sim->element(gauge, element);
    EXPECT_TRUE(e.has_value()) << "no element " << element << " in " << gauge;
    return e ? e->value : -12345.0;
  }
  void frames(int n = 1) { sim->frames(n); }
  // Frames until `done` holds, at most `limit`; returns the number run.
  template <typename Done> int frames_until(int limit, Done done) {
    int n = 0;
    for (; n < limit && !done(); ++n)
      sim->frame();
    return n;
  }
  // Key events of one id sent since a frame (`since`: the frame count before the action).
  std::size_t keys(std::uint32_t id, std::uint64_t since = 0) const {
    return sim->key_count(id, since);
  }

  // The bus flags the systems read, set directly: the network's own gauges stay in their closed
  // window, so nothing recomputes them.
  void power(bool ess = true, bool main = true, bool ac = true) {
    set("elec_bus_ess", ess);
    set("elec_bus_ess_hyd", ess);
    set("elec_bus_main", main);
    set("elec_ac_instr", ac);
  }
  // Panel night lighting selected and lit. The panel-lighting gauge on the main panel recomputes
  // the flag every update from its own state and the essential bus, so both are set.
  void night(bool on = true) {
    if (on) set("elec_bus_ess", 1);
    set("elec_panlight_state", on ? 5 : 0);
    set("elec_panel_night", on);
  }
  void ground_power(bool on = true) {
    set("elec_extpwr_connected", on);
    set("elec_extpwr_feeding", on);
  }
  // Holds the engines' speeds where the test puts them (N2 tokens 0x271 and 0x284).
  void pin_engines(double n2_1, double n2_2) {
    k7host::engines_hold(*sim, true);
    engines(n2_1, n2_2);
  }
  void engines(double n2_1, double n2_2) {
    sim->set_token(0x271, n2_1);
    sim->set_token(0x284, n2_2);
  }

  // How often a sound has been asked to play since load (every call, also on a playing sound).
  unsigned calls(const char* sound) const {
    const auto* log = static_cast<const K7SoundDeviceLog*>(sim->sound_device());
    unsigned n = 0;
    for (std::uint32_t i = 0; log && i < log->buffer_count && i < K7_SOUND_LOG_BUFFERS; ++i)
      if (std::strcmp(log->buffers[i].name, sound) == 0) n += log->buffers[i].play_calls;
    return n;
  }
};

// Windows of the clock (with the engine 1 nozzle lamp) and of the autopilot (engine 2's).
enum InstrumentWindow : std::uint32_t { CLOCK = 10130, AUTOPILOT = 10050 };

// Windows of the environment panels.
constexpr std::uint32_t AIR_CONDITIONING = FUEL; // shared with the fuel panel
constexpr std::uint32_t ICE_PROTECTION = CABIN_CALL;
constexpr std::uint32_t CABIN_PRESSURE = 10160;

} // namespace k7test

namespace k7test {

// ---- the autopilot and flight director panels (main panel, always open)
constexpr const char* AP_PANEL = "kestovil ap_k7";
constexpr const char* AP_READY = "kestovil ap_ready_k7";
constexpr const char* FD_SELECTOR = "kestovil fd_frs_k7";

// Supplies and hydraulics that make the autopilot ready once its READY switch is on, airborne at
// 5000 ft. The network and hydraulic gauges stay in their closed windows.
inline void autopilot_supplies(Bed& bed) {
  for (const char* flag : {"elec_bus_gen_c", "elec_ac_main", "elec_ac_main_b", "elec_ac_ess"})
    bed.set(flag, 1);
  bed.set("hydrau_press_green", 3000);
  bed->set_token(0x3c, 0.0);
  bed->set_token(0x4a, 5000.0);
}

// The value of the last key event of an id, as the signed number it carries; -99999 if none.
inline double last_key_value(const Bed& bed, std::uint32_t id) {
  const auto& events = bed->key_events();
  for (auto it = events.rbegin(); it != events.rend(); ++it)
    if (it->id == id) return static_cast<std::int32_t>(it->value);
  return -99999;
}

// Windows of the fuel gauges, pedestal levers, lights, doors and gear panels.
enum GearWindow : std::uint32_t {
  PEDESTAL = 10040,
  UPPER_FUEL = 10110,
  LIGHTS = 10120,
  DOORS = 10140,
  GEAR_INDICATOR = 10150,
};

// The last value a moving image's vertical callback gave.
inline double value_y(const k7host::Sim& sim, const std::string& gauge, int element) {
  auto e = sim.element(gauge, element);
  EXPECT_TRUE(e.has_value()) << "no element " << element << " in " << gauge;
  return e ? e->value_y : -12345.0;
}

} // namespace k7test

namespace k7test {

// The elements of a gauge that `lit` names show and those `dark` names are hidden.
inline void shows(const Bed& bed, const std::string& gauge, std::initializer_list<int> lit,
                  std::initializer_list<int> dark = {}) {
  for (int e : lit)
    EXPECT_TRUE(bed.visible(gauge, e)) << gauge << " element " << e << " should show";
  for (int e : dark)
    EXPECT_FALSE(bed.visible(gauge, e)) << gauge << " element " << e << " should be hidden";
}

} // namespace k7test

namespace k7test {

// The instrument buses up, as the electrical network gives them with the engines running (set
// directly: the network's own gauges stay in their closed window).
inline void instruments_powered(Bed& bed) {
  for (const char* bus : {"elec_ac_main", "elec_ac_ess", "elec_ac_ess_b", "elec_tadg_on",
                          "elec_bus_gen", "elec_bus_radio1", "elec_bus_radio2"})
    bed.set(bus, 1);
}

} // namespace k7test

namespace k7test {

// ---- the failures and easy-start panel (window 10170)
constexpr std::uint32_t FAILURES = 10170;
constexpr const char* FAILURES_PANEL = "kestovil failures_k7";
// Points inside its buttons: validate, and an item's arm button from its place in the panel.
constexpr int VALIDATE_X = 950, VALIDATE_Y = 700;
inline bool validate_failures(Bed& bed) {
  return bed->click(FAILURES_PANEL, VALIDATE_X, VALIDATE_Y, MOUSE_LEFTSINGLE);
}

} // namespace k7test
