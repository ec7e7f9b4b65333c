// "kestovil toggle_pan_fail": the pop-up toggle of the failures and easy-start window, and the
// start-up sequence run after the flight is loaded. A system runs only while its gauge is in an
// open window, so the sequence opens every window for a few updates, lets the pilot choose on the
// load panel (or chooses itself when the panel has none), then sets the cockpit cold and dark or,
// airborne or when asked, starts the easy start, and closes the windows again.
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "environment/environment.h"
#include "gear/gear.h"
#include "hydraulics/hydraulics.h"
#include "module/services.h"
#include "panels/panels.h"
#include "panels/windows.h"
#include "warnings/warnings.h"

namespace panels {

namespace {

enum StartState : u8 {
  CHOOSING = 0,
  FIRST_SETTING = 1,
  LAST_OPENING = 8,
  LAST_SETTING = 9,
  CLOSING = 10,
  DONE = 11
};
enum LoadChoice : u8 { NO_CHOICE = 0, COLD_AND_DARK = 1, RUNNING = 2 };
constexpr u8 COUNT_FROM = 15; // without a load panel: the choice counts down from here
constexpr u8 COUNT_END = 4;   // and below this becomes cold and dark

constexpr double AIRBORNE_START = 100.0; // radio height above which the flight starts running
constexpr u32 KEY_AP_SPEED_SET = 0x101F5;
constexpr u32 COLD_SPEED_REF = 125; // knots

// Opened at once after loading: every window whose gauges must initialise.
constexpr u32 windows_at_load[] = {
    WIN_PEDESTAL,     WIN_AUTOPILOT,      WIN_HYDRAULICS, WIN_SERVOS, WIN_ELECTRICAL,
    WIN_ENGINE_START, WIN_COMMUTATOR,     WIN_UPPER2,     WIN_UPPER3, WIN_CLOCK,
    WIN_GEAR,         WIN_CABIN_PRESSURE, WIN_GPS,
};
// Held open while a running start sets itself up: the failures window too, which runs the easy
// start.
constexpr u32 windows_running[] = {
    WIN_PEDESTAL,     WIN_AUTOPILOT,      WIN_HYDRAULICS, WIN_SERVOS, WIN_ELECTRICAL,
    WIN_ENGINE_START, WIN_COMMUTATOR,     WIN_UPPER2,     WIN_UPPER3, WIN_CLOCK,
    WIN_GEAR,         WIN_CABIN_PRESSURE, WIN_FAILURES,   WIN_GPS,
};
// Closed at the end; the electrical panel stays for the pilot of a cold-and-dark start.
constexpr u32 windows_closed_at_end[] = {
    WIN_PEDESTAL,   WIN_AUTOPILOT,      WIN_HYDRAULICS, WIN_SERVOS, WIN_ENGINE_START,
    WIN_COMMUTATOR, WIN_UPPER2,         WIN_UPPER3,     WIN_CLOCK,  WIN_DOORS,
    WIN_GEAR,       WIN_CABIN_PRESSURE, WIN_FAILURES,   WIN_GPS,
};

MODULE_VAR radio_height = sim::token(0x266);

template <std::size_t N> void open_all(const u32 (&ids)[N]) {
  for (u32 id : ids)
    sim::window_open(id);
}

// State 0: the windows open; the load panel, when the panel has one, shows itself (its callback
// sets panel_load_present) and waits for the pilot; without one the choice counts down to cold
// and dark.
void choosing() {
  if (panel_load_choice == NO_CHOICE) {
    open_all(windows_at_load);
    sim::window_open(WIN_LOAD); // nothing opens when the panel defines no load panel
    panel_load_choice = COUNT_FROM;
    return;
  }
  if (panel_load_present != 0) {
    if (panel_load_choice == COLD_AND_DARK || panel_load_choice == RUNNING)
      panel_start_state = FIRST_SETTING;
    return;
  }
  if (panel_load_choice < COUNT_END) {
    panel_load_choice = COLD_AND_DARK;
    panel_start_state = FIRST_SETTING;
  } else {
    --panel_load_choice;
  }
}

// Airborne: the air conditioning and pressurisation as in flight.
void running_in_flight() {
  airc_valve_lh_pos = 255;
  airc_valve_rh_pos = 255;
  air_mainvalve_lh_pos = 100;
  air_mainvalve_rh_pos = 100;
  air_eng_running_lh = 1;
  air_eng_running_rh = 1;
  pressu_cabin_alt = 0;
}

void running_start(bool airborne) {
  if (panel_start_state <= LAST_OPENING)
    open_all(windows_running);
  else
    sim::window_close(WIN_ELECTRICAL);
  if (airborne) running_in_flight();
  lights_nav_sw = 1;
  lights_beacon_sw = 1;
  preset_easy_start = 1;
}

void cold_and_dark() {
  sim::key_event(KEY_AP_SPEED_SET, COLD_SPEED_REF);
  eng1_hp_cock_open = eng2_hp_cock_open = 0;
  fuel_pump_lh1_sw = fuel_pump_lh2_sw = fuel_pump_lh3_sw = fuel_pump_lh4_sw = 0;
  fuel_pump_rh1_sw = fuel_pump_rh2_sw = fuel_pump_rh3_sw = fuel_pump_rh4_sw = 0;
  elec_ess_feed_sw = 1;
  elec_master_sw = 0;
  elec_tadg_guard_open = 1;
  elec_tadg_sw = 0;
  elec_conv_sel_stby = elec_conv_sel_1 = elec_conv_sel_2 = 0;
  elec_gen1_guard_open = elec_gen2_guard_open = 0;
  elec_gen1_sw = elec_gen2_sw = 1;
  fuel_valve_lh_a = fuel_valve_lh_b = fuel_valve_rh_a = fuel_valve_rh_b = 1;
  hydrau_valve_g1 = hydrau_valve_g2 = hydrau_valve_b1 = hydrau_valve_b2 = 1;
  hydrau_servo_mode = 0;
  cabin_call_hi = cabin_call_lo = 0;
  airc_valve_lh_sw = airc_valve_rh_sw = vent_indiv_sw = 0;
  synch_on = 0;
  deice_pitot1_sw = deice_pitot2_sw = deice_probe3_sw = 0;
}

// States 1 to 9, one per update.
void setting() {
  const double height = sim::read_finite(radio_height);
  if (height > AIRBORNE_START || panel_load_choice == RUNNING)
    running_start(height > AIRBORNE_START);
  else
    cold_and_dark();
  ++panel_start_state;
}

// State 10. The failures window runs the easy start: it stays open until the preset has finished.
void closing() {
  for (u32 id : windows_closed_at_end) {
    if (id == WIN_FAILURES && preset_easy_start != 0) {
      panel_fail_held_open = 1;
      continue;
    }
    sim::window_close(id);
  }
  if (panel_load_present != 0) sim::window_close(WIN_LOAD);
  panel_start_state = DONE;
}

void release_failures_window() {
  if (panel_fail_held_open != 0 && preset_easy_start == 0) {
    sim::window_close(WIN_FAILURES);
    panel_fail_held_open = 0;
  }
}

void start_up_sequence() {
  if (panel_start_state == CHOOSING)
    choosing();
  else if (panel_start_state <= LAST_SETTING)
    setting();
  else if (panel_start_state == CLOSING)
    closing();
  else
    release_failures_window();
}

void failures_toggle_work(SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) start_up_sequence();
}

constexpr char fail_tip[] = "display/hide failures & easy start panel";

using Fail = Toggle<gauge_toggle_pan_fail, GAUGE_INDEX_toggle_pan_fail, 70, 70, fail_tip,
                    toggle_click<WIN_FAILURES>, failures_toggle_work>;

} // namespace

} // namespace panels

K7_GAUGE_HEADER(toggle_pan_fail, panels::Fail::background, panels::Fail::mouse,
                panels::Fail::callback);
