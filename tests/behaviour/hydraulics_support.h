// Shared set-up of the hydraulic behaviour tests: a fresh module with the hydraulic, servo and
// cabin-call panels open, the electrical supply given or taken, the engines turning or not.
#pragma once

#include "host/sound_view.h"
#include "k7test.h"

#include <string>

namespace hydtest {

constexpr std::uint32_t WINDOW_HYDRAULICS = 10060;
constexpr std::uint32_t WINDOW_SERVOS = 10070;
constexpr std::uint32_t WINDOW_CABIN_CALL = 10120;

constexpr std::uint32_t TOKEN_ON_GROUND = 0x3C;
constexpr std::uint32_t TOKEN_AIRSPEED = 0x3D;
constexpr std::uint32_t TOKEN_BRAKE_LEFT = 0x140;
constexpr std::uint32_t TOKEN_BRAKE_RIGHT = 0x141;
constexpr std::uint32_t TOKEN_PARK_BRAKE = 0x143;
constexpr std::uint32_t TOKEN_SPOILERS = 0x146;
constexpr std::uint32_t TOKEN_FLAP_HANDLE = 0x148;
constexpr std::uint32_t TOKEN_GEAR = 0x14D;
constexpr std::uint32_t TOKEN_ENG1_N2 = 0x271;
constexpr std::uint32_t TOKEN_ENG2_N2 = 0x284;
constexpr std::uint32_t TOKEN_FLAP_ANGLE = 0x38B;

constexpr std::uint32_t KEY_FLAPS_UP = 0x1003B;
constexpr std::uint32_t KEY_FLAPS_DOWN = 0x10043;
constexpr std::uint32_t KEY_FLAPS_INCR = 0x100DE;
constexpr std::uint32_t KEY_FLAPS_DECR = 0x100DF;
constexpr std::uint32_t KEY_GEAR_DOWN = 0x10220;
constexpr std::uint32_t KEY_PARKING_BRAKES = 0x10306;

// Flap handle detents of the simulator stand-in.
constexpr double HANDLE_5 = 16384.0 / 9.0;
constexpr double HANDLE_10 = 16384.0 * 0.4;
constexpr double HANDLE_20 = 16384.0 * 0.6;
constexpr double HANDLE_32 = 16384.0 * 0.8;
constexpr double HANDLE_45 = 16384.0;

const char* const GBVALVES = "kestovil hydrau_gbvalves_k7";
const char* const LEVEL = "kestovil hydrau_level_k7";
const char* const LOWFLOW_G = "kestovil hydrau_lowflow_g_k7";
const char* const LOWFLOW_B = "kestovil hydrau_lowflow_b_k7";
const char* const PUMP_YELLOW = "kestovil hydrau_pump_yellow_k7";
const char* const PUMP_RED = "kestovil hydrau_pump_red_k7";
const char* const PRESS_GREEN = "kestovil hydrau_press_green_k7";
const char* const PRESS_RED = "kestovil hydrau_press_red_k7";
const char* const BRAKES_NORM = "kestovil hydrau_brakes_norm_k7";
const char* const BRAKES_STBY = "kestovil hydrau_brakes_stby_k7";
const char* const SERVOS = "kestovil servos_k7";
const char* const EMERG_LEV = "kestovil emerg_lev_k7";
const char* const CALLSIGNS = "kestovil callsigns_k7";

// The buses these panels read, and the electrical controls that give them: ground power through
// the master switch in its ground-power position, generators on their switches. Until the
// electrical network is loaded the flags stand as set; once it is, the controls produce them.
const char* const BUSES[] = {"elec_bus_ess", "elec_bus_ess_hyd", "elec_bus_main", "elec_bus_batt",
                             "elec_bus_gen", "elec_ac_main",     "elec_ac_instr", "elec_ac_ess"};

struct Cockpit {
  std::unique_ptr<k7host::Sim> sim = k7test::fresh();
  int powered = -1; // -1: buses left to the module, 0 or 1: held by the test

  explicit Cockpit(bool open_panels = true) {
    if (open_panels) {
      sim->open_window(WINDOW_HYDRAULICS);
      sim->open_window(WINDOW_SERVOS);
      sim->open_window(WINDOW_CABIN_CALL);
    }
  }

  void power(bool on) {
    powered = on ? 1 : 0;
    sim->set_state("elec_master_sw", on ? 1 : 0);
    sim->set_state("elec_extpwr_request", on ? 1 : 0);
    sim->set_state("elec_gen1_sw", on ? 1 : 0);
    sim->set_state("elec_gen2_sw", on ? 1 : 0);
    hold_buses();
  }
  void hold_buses() {
    if (powered < 0) return;
    for (const char* bus : BUSES)
      sim->set_state(bus, powered);
  }
  void bus(const char* name, bool on) {
    powered = -1;
    sim->set_state(name, on ? 1 : 0);
  }

  // Panel night lighting, selected and lit (the lighting needs the buses powered).
  void night(bool on) {
    sim->set_state("elec_panlight_state", on ? 5 : 0);
    sim->set_state("elec_panel_night", on ? 1 : 0);
  }

  void engines(double n2_1, double n2_2) {
    sim->set_token(TOKEN_ENG1_N2, n2_1);
    sim->set_token(TOKEN_ENG2_N2, n2_2);
  }

  void frames(int n) {
    for (int i = 0; i < n; ++i) {
      hold_buses();
      sim->frame();
    }
  }

  double state(const std::string& name) const { return k7test::state(*sim, name); }
  void set(const std::string& name, double v) { ASSERT_TRUE(sim->set_state(name, v)) << name; }
  bool visible(const char* gauge, int element) const {
    return k7test::visible(*sim, gauge, element);
  }
  double value(const char* gauge, int element) const {
    auto e = sim->element(gauge, element);
    EXPECT_TRUE(e.has_value()) << gauge << " " << element;
    return e ? e->value : -12345.0;
  }
  bool click(const char* gauge, int x, int y) { return sim->click(gauge, x, y); }
  std::size_t keys(std::uint32_t id, std::uint64_t since) const {
    return sim->key_count(id, since);
  }
  std::uint64_t now() const { return sim->frame_count(); }

  // Sounds: a mark in the sound device's record, plays since a mark, a sound looping now.
  std::uint32_t sound_mark() const { return k7host::sound_op_count(*sim); }
  int played(const char* sound, std::uint32_t since) const {
    return k7host::sound_plays(*sim, sound, since);
  }
  // Lets one-shot sounds run out, so that the next play starts them afresh.
  void quiet() { frames(36); }
  bool looping(const char* sound) const {
    auto s = k7host::sound_state(*sim, sound);
    return s && s->loaded && s->playing && s->looping;
  }
};

} // namespace hydtest
