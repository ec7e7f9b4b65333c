// Presets of the failures panel: easy start (every system set for running engines, both engines
// started on ground power), cold and dark, and three partial presets. They write the switch
// positions that the owning systems act on in their own updates.
#include "warnings/failure_presets.h"

#include "autopilot/autopilot.h"
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "environment/environment.h"
#include "gear/gear.h"
#include "hydraulics/hydraulics.h"
#include "instruments/instruments.h"
#include "module/services.h"
#include "warnings/warnings.h"

#include <initializer_list>

namespace {

constexpr u8 ITEM_ACTIVE = 1;

constexpr u32 KEY_TOGGLE_EXIT = 0x10355;
constexpr u32 KEY_SELECT_1 = 0x10002;
constexpr u32 KEY_STARTER_1 = 0x102FC;
constexpr u32 KEY_STARTER_2 = 0x102FD;

// The starter is kept running up to this N2; the HP cock opens from the lower figure.
constexpr double STARTER_CUT_N2 = 25.0;
constexpr double HP_COCK_N2 = 20.0;
// Engine 1 is started once engine 2's fan turns above this.
constexpr double OTHER_FAN_UP = 15.0;
// Both fans at this speed: the engines have started.
constexpr double STARTED_FAN = 20.0;

MODULE_VAR exit_var = sim::token(0x364);
MODULE_VAR fan1_var = sim::token(0x270);
MODULE_VAR fan2_var = sim::token(0x283);
MODULE_VAR n2_1_var = sim::token(0x271);
MODULE_VAR n2_2_var = sim::token(0x284);

bool active(u8 item) {
  return item == ITEM_ACTIVE;
}

// The failure items (not the presets) off, and a fire they lit put out.
void failure_items_off() {
  for (u8* item :
       {&fail_eng1, &fail_eng2, &fail_eng1_fire, &fail_gen1, &fail_gen2, &fail_hyd_level})
    *item = 0;
  eng1_fire = 0;
}

// Main door shut (the simulator's exit toggled while it reads open), stairs and door requests off.
void doors_closed() {
  if (sim::read(exit_var) == 1.0) {
    sim::key_event(KEY_TOGGLE_EXIT, 0);
    sim::key_event(KEY_SELECT_1, 0);
  }
  if (door_fwd_value > 0.0) door_fwd_req = 0;
  stairs_req = 0;
}

// Essential feed, ground power and master on ground power, gyro supply, converters and both
// generators on, their guards closed.
void electrical_running() {
  elec_ess_feed_sw = 1;
  elec_extpwr_request = 1;
  elec_master_sw = 1;
  elec_tadg_guard_open = 0;
  elec_tadg_sw = 1;
  elec_conv_sel_stby = 1;
  elec_conv_sel_1 = 1;
  elec_conv_sel_2 = 1;
  elec_gen1_guard_open = 0;
  elec_gen2_guard_open = 0;
  elec_gen1_sw = 1;
  elec_gen2_sw = 1;
}

void fuel_running() {
  fuel_valve_lh_a = fuel_valve_lh_b = fuel_valve_rh_a = fuel_valve_rh_b = 1;
  fuel_pump_lh1_sw = fuel_pump_lh2_sw = fuel_pump_rh1_sw = fuel_pump_rh2_sw = 2;
  fuel_pump_lh3_sw = fuel_pump_rh3_sw = 0;
  fuel_pump_lh4_sw = fuel_pump_rh4_sw = 1;
}

void hydraulics_running() {
  hydrau_valve_g1 = hydrau_valve_g2 = hydrau_valve_b1 = hydrau_valve_b2 = 1;
  hydrau_servo_mode = 0;
}

// Engine 2 on ground power first, then engine 1 once engine 2's fan turns. Returns whether both
// fans have come up.
bool engines_started() {
  const double fan1 = sim::read_finite(fan1_var);
  const double fan2 = sim::read_finite(fan2_var);
  const double n2_1 = sim::read_finite(n2_1_var);
  const double n2_2 = sim::read_finite(n2_2_var);
  if (n2_2 <= STARTER_CUT_N2 && elec_extpwr_feeding == 1) sim::key_event(KEY_STARTER_2, 0);
  if (n2_2 >= HP_COCK_N2) eng2_hp_cock_open = 1;
  if (fan2 > OTHER_FAN_UP) {
    if (n2_1 <= STARTER_CUT_N2 && elec_extpwr_feeding == 1) sim::key_event(KEY_STARTER_1, 0);
    if (n2_1 >= HP_COCK_N2) eng1_hp_cock_open = 1;
  }
  return fan1 >= STARTED_FAN && fan2 >= STARTED_FAN;
}

void easy_start() {
  doors_closed();
  failure_items_off();
  preset_cold_dark = 0;
  preset_3 = 0;
  electrical_running();
  fuel_running();
  hydraulics_running();
  cabin_call_hi = 1;
  cabin_call_lo = 1;
  vent_indiv_sw = 1;
  lights_nav_sw = 1;
  lights_beacon_sw = 1;
  deice_pitot1_sw = deice_pitot2_sw = deice_probe3_sw = 1;
  if (!engines_started()) return;
  elec_master_sw = 2;
  airc_valve_lh_sw = airc_valve_rh_sw = 1;
  synch_on = 1;
  ralt_on = 1;
  ap_ready_sw = 1;
  preset_easy_start = 0;
}

// Easy start's systems and engine start only; it stays on until easy start replaces it. Once the
// engines run the master goes to the battery, as easy start leaves it.
void preset_systems_and_start() {
  failure_items_off();
  electrical_running();
  fuel_running();
  hydraulics_running();
  if (engines_started()) elec_master_sw = 2;
}

void cold_and_dark() {
  ralt_on = 0;
  eng1_hp_cock_open = eng2_hp_cock_open = 0;
  fuel_pump_lh1_sw = fuel_pump_lh2_sw = fuel_pump_lh3_sw = fuel_pump_lh4_sw = 0;
  fuel_pump_rh1_sw = fuel_pump_rh2_sw = fuel_pump_rh3_sw = fuel_pump_rh4_sw = 0;
  elec_ess_feed_sw = 1;
  elec_master_sw = 0;
  elec_gen1_guard_open = elec_gen2_guard_open = 0;
  elec_gen1_sw = elec_gen2_sw = 1;
  elec_conv_sel_stby = elec_conv_sel_1 = elec_conv_sel_2 = 0;
  elec_tadg_guard_open = 1;
  elec_tadg_sw = 0;
  vent_indiv_sw = 0;
  fuel_valve_lh_a = fuel_valve_lh_b = fuel_valve_rh_a = fuel_valve_rh_b = 1;
  hydrau_valve_g1 = hydrau_valve_g2 = hydrau_valve_b1 = hydrau_valve_b2 = 1;
  hydrau_servo_mode = 0;
  airc_valve_lh_sw = airc_valve_rh_sw = 0;
  synch_on = 0;
  ap_ready_sw = 0;
  cabin_call_hi = cabin_call_lo = 0;
  preset_cold_dark = 0;
}

// Generators on ground power, their failure items off.
void generators_on_ground_power() {
  fail_gen1 = fail_gen2 = 0;
  elec_ess_feed_sw = 1;
  elec_extpwr_request = 1;
  elec_master_sw = 1;
  elec_gen1_guard_open = elec_gen2_guard_open = 0;
  elec_gen1_sw = elec_gen2_sw = 1;
}

} // namespace

void failure_presets_update() {
  // An active failure that the preset would undo wins: the preset goes off first.
  const bool scripted = active(fail_random) || active(fail_takeoff);
  if (scripted || active(fail_gen1) || active(fail_gen2)) preset_4 = 0;
  if (scripted || active(fail_hyd_level)) preset_5 = 0;

  if (active(preset_cold_dark)) cold_and_dark();
  if (active(preset_easy_start)) easy_start();
  if (active(preset_3)) preset_systems_and_start();
  if (active(preset_4)) generators_on_ground_power();
  if (active(preset_5) && fail_hyd_level != 0) hydrau_red_sw = 1;
}
