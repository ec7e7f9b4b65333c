// The landing-aid annunciators that supervise a coupled approach: the flashing autopilot-disconnect
// lamp, the approach flag, the localizer and glide deviation lamps, the coupling-lost lamp, the
// autothrottle-idle lamp, the test reminder, and the test push-button. Each gauge runs the part of
// the supervision it shows; a lamp's visibility is its state. Every lamp needs the essential bus.
#include "autopilot/ap_units.h"
#include "autopilot/autopilot.h"
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "hydraulics/hydraulics.h"
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/gauge.h"
#include "module/services.h"
#include "panels/panels.h"

#include <cmath>

namespace {

MODULE_VAR master_var = sim::token(0x67);
MODULE_VAR sim_approach_var = sim::token(0x6f);
MODULE_VAR loc_dev_var = sim::token(0x28);
MODULE_VAR glide_dev_var = sim::token(0x29);
MODULE_VAR glide_received_var = sim::token(0x2c);
MODULE_VAR signal_var = sim::token(0x31);
MODULE_VAR throttle1_var = sim::token(0x80);
MODULE_VAR throttle2_var = sim::token(0xa3);
MODULE_VAR autothrottle_var = sim::token(0x73);
MODULE_VAR engine1_var = sim::token(0x270);
MODULE_VAR engine2_var = sim::token(0x283);
MODULE_VAR height_var = sim::token(0x266);
MODULE_VAR tick_var = sim::token(0x1);

constexpr u32 ALARM_PERIOD = 77;       // ticks of coupling alarm, and of the flag's test
constexpr u32 FLASHING = 80;           // ticks of flashing
constexpr u32 BLINK_OFF = 4;           // ticks after a blink the lamp goes dark
constexpr u32 BLINK_ON = 8;            // ticks after a blink it lights again
constexpr u8 ALARM_COUPLING = 9;       // the coupling alarm's number in the chime
constexpr double THRUST_CLIMB = 12800; // throttle position of a go-around, whole units

bool bus() {
  return elec_bus_ess != 0;
}
bool master_on() {
  return sim::read_finite(master_var) == 1.0;
}
bool test_running() {
  return land_test == 1;
}
u32 tick() {
  return k7::sat_cast<u32>(sim::read_finite(tick_var));
}
double height_ft() {
  return ap::read_within(height_var, 0, 20000) * ap::FEET_PER_METRE;
}
// Tick moments are met when reached or passed: a slow frame, or a closed window, may skip one.
bool reached(u32 moment) {
  return tick() >= moment;
}

// The approach cannot be flown coupled: above 100 ft, below go-around thrust, without a receiver
// signal or without the glide slope.
bool approach_not_valid() {
  const bool below_climb_thrust = sim::read_finite(throttle1_var) < THRUST_CLIMB ||
                                  sim::read_finite(throttle2_var) < THRUST_CLIMB;
  const bool no_guidance =
      sim::read_finite(signal_var) == 0.0 || sim::read_finite(glide_received_var) == 0.0;
  return ap_appr == 0 || (height_ft() > 100.0 && below_climb_thrust && no_guidance);
}

// Deviation lamps watch the deviations only while the simulator flies the approach or the flight
// director is in APPROACH; during a test they are lit.
bool deviation_lamp(bool excess) {
  if (!bus()) return false;
  if (test_running()) return true;
  return (sim::read_finite(sim_approach_var) == 1.0 || fd_mode_sel == 4) && excess;
}

// ---- a lamp gauge: a dark face, the lit lamp over all of it

template <GAUGEHDR& Gauge, int Index> struct Lamp {
  static ELEMENT_STATIC_IMAGE lit;
  static ELEMENT_STATIC_IMAGE face;
};
template <GAUGEHDR& Gauge, int Index>
ELEMENT_STATIC_IMAGE Lamp<Gauge, Index>::lit = k7::static_image(&Gauge, k7::bitmap_id(Index, 1),
                                                                {0, 0}, k7::HIDDEN, K7_END);
template <GAUGEHDR& Gauge, int Index>
ELEMENT_STATIC_IMAGE Lamp<Gauge, Index>::face = k7::static_image(
    &Gauge, k7::bitmap_id(Index, 0), {0, 0}, k7::TRANSPARENT, K7_NEXT((Lamp<Gauge, Index>::lit)));

#define K7_LAMP(ident) Lamp<gauge_##ident, GAUGE_INDEX_##ident>

// Lamps whose only area covers all of them (the gauge's width, as high as wide).
template <int Size, PMOUSE_FUNCTION Handler> struct WholeArea { static MOUSERECT mouse[4]; };
template <int Size, PMOUSE_FUNCTION Handler>
MOUSERECT WholeArea<Size, Handler>::mouse[4] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, Size, Size}, CURSOR_HAND, MOUSE_LEFTSINGLE, Handler),
    K7_MOUSE_END,
};
MOUSERECT no_areas[] = {k7::mouse_parent(), K7_MOUSE_END};

// ---- 1, 2: coupling supervision and the coupling-lost lamp

void coupling_supervision() {
  if (ap_coupled != 0 && !test_running()) {
    if (!master_on() || !bus() || hydrau_press_green <= 1400 || hydrau_press_blue <= 1400)
      land_coupl_mode = 1;
    else if (ap_appr_lamp != 0 && approach_not_valid())
      land_coupl_mode = 2;
  }
  if (test_running()) land_coupl_mode = ralt_valid != 0 ? 1 : 3;
  if (master_on() && !test_running()) {
    ap_coupled = 1;
    if (land_flag == 0) land_coupl_mode = 0;
  }
  if (land_coupl_mode == 2) land_coupl_state = 1;
  if (land_coupl_mode != 0 && bus() && land_coupl_timer_on == 0) {
    land_coupl_timer = tick() + ALARM_PERIOD;
    land_coupl_timer_on = 1;
  }
  if (land_coupl_timer_on == 0) return;
  land_coupl_state = 1;
  if (reached(land_coupl_timer)) {
    land_coupl_timer_on = 0;
    land_coupl_state = 0;
    land_coupl_mode = 0;
    land_test = ap_appr != 0 ? 2 : 0;
    ap_coupled = 0;
    ap_appr_lamp = 0;
  }
}

void FSAPI coupling_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  coupling_supervision();
  bool lit = false;
  if (land_coupl_state != 0 && bus()) {
    // The alarm sounds for a real loss, not for the test.
    if (warn_req_coupl == 0 && land_test == 0) warn_req_coupl = 1;
    lit = !(ralt_valid == 0 && land_test != 0);
  }
  if (land_coupl_state == 0) {
    if (warn_req_coupl == 2) warn_req_coupl = 0;
    if (warn_chime_id == ALARM_COUPLING) warn_chime_id = 0;
  }
  k7::show(K7_LAMP(land_coupl_light)::lit, lit);
}

// ---- 3: the flashing autopilot-disconnect lamp

void FSAPI flash_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  if (land_coupl_mode == 1 || land_coupl_mode == 2 ||
      (ap_attphase == 2 && ap_appr != 0 && height_ft() <= 50.0))
    land_flash_req = 1;
  if (!bus()) {
    land_flash_req = land_flash_run = land_flash_alt = 0;
  } else if (land_flash_run == 0) {
    if (land_flash_req != 0) {
      land_flash_run = land_flash_alt = 1;
      land_flash_start = land_flash_phase = tick();
    }
  } else if (reached(land_flash_start + FLASHING)) {
    land_flash_run = land_flash_alt = land_flash_req = 0;
  } else if (reached(land_flash_phase + BLINK_ON)) {
    land_flash_alt = 1;
    land_flash_phase = tick();
  } else if (reached(land_flash_phase + BLINK_OFF)) {
    land_flash_alt = 0;
  }
  k7::show(K7_LAMP(land_flash_ap_light)::lit, land_flash_run != 0 && land_flash_alt != 0);
}

BOOL FSAPI on_flash_lamp(PPIXPOINT, FLAGS32) {
  blink_phase = blink_phase != 0 ? 0 : 1;
  if (panel_overview_lock == 0) panel_overview_lock = 1;
  return FALSE_K7;
}

// ---- 4: the approach flag

void FSAPI flag_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  if (ap_appr_lamp != 0 && !test_running() && approach_not_valid()) land_flag = 1;
  if (!master_on()) land_flag = ap_appr_lamp = 0;
  if (!test_running() && ap_appr != 0 && sim::read_finite(glide_received_var) != 0.0) land_flag = 0;
  bool lit = land_flag != 0;
  if (!test_running()) {
    land_flag_timer_on = 0;
  } else if (land_flag_timer_on == 0) {
    land_flag_timer = tick() + ALARM_PERIOD;
    land_flag_timer_on = 1;
  }
  if (land_flag_timer_on == 1) {
    lit = true;
    if (reached(land_flag_timer)) {
      land_flag = 0;
      land_flag_timer_on = 2;
      lit = false;
    }
  }
  k7::show(K7_LAMP(land_flag_light)::lit, lit && bus());
}

// ---- 5, 6: deviation lamps

void FSAPI loc_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double deviation = std::fabs(sim::read_finite(loc_dev_var));
  k7::show(K7_LAMP(land_dev_loc_light)::lit,
           deviation_lamp(fd_loc_captured != 0 && deviation > 12.0));
}

void FSAPI glide_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double deviation = std::fabs(sim::read_finite(glide_dev_var)), h = height_ft();
  const bool excess = fd_gs_state == 2 && ((h > 100.0 && deviation > 22.0) ||
                                           (h > 60.0 && h <= 100.0 && deviation > 40.0));
  k7::show(K7_LAMP(land_dev_glide_light)::lit, deviation_lamp(excess));
}

// ---- 7: autothrottle with an engine at idle

void FSAPI thr_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  if (sim::read_finite(autothrottle_var) == 0.0)
    land_thr_latch = 0;
  else if (sim::read_finite(engine1_var) < 10.0 || sim::read_finite(engine2_var) < 10.0)
    land_thr_latch = 1;
  k7::show(K7_LAMP(land_thr_light)::lit, land_thr_latch != 0 && bus());
}

// ---- 8: test reminder

void FSAPI testrem_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  land_testrem_lit =
      land_test == 0 && ap_appr != 0 && height_ft() <= 300.0 && bus() && land_test_ack == 0;
  k7::show(K7_LAMP(land_testrem_light)::lit, land_testrem_lit != 0);
}

BOOL FSAPI on_testrem(PPIXPOINT, FLAGS32) {
  if (land_testrem_lit != 0) land_test_ack = 1;
  return FALSE_K7;
}

// ---- 9: test push-button

void FSAPI test_sw_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  if (!master_on()) {
    if (land_test == 2) land_test = 0;
    land_test_ack = 0;
  }
}

BOOL FSAPI on_test(PPIXPOINT, FLAGS32) {
  if (bus()) land_test = 1;
  return FALSE_K7;
}

ELEMENT_STATIC_IMAGE background_test_sw =
    k7::static_image(&gauge_land_test_sw, k7::bitmap_id(GAUGE_INDEX_land_test_sw, 0), {0, 0},
                     k7::TRANSPARENT, K7_END);
MOUSERECT test_sw_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 93, 40}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_test),
    K7_MOUSE_END,
};

} // namespace

K7_GAUGE_HEADER(land_flash_ap_light, K7_LAMP(land_flash_ap_light)::face,
                (WholeArea<28, on_flash_lamp>::mouse), flash_callback);
K7_GAUGE_HEADER(land_flag_light, K7_LAMP(land_flag_light)::face, no_areas, flag_callback);
K7_GAUGE_HEADER(land_dev_loc_light, K7_LAMP(land_dev_loc_light)::face, no_areas, loc_callback);
K7_GAUGE_HEADER(land_dev_glide_light, K7_LAMP(land_dev_glide_light)::face, no_areas,
                glide_callback);
K7_GAUGE_HEADER(land_coupl_light, K7_LAMP(land_coupl_light)::face, no_areas, coupling_callback);
K7_GAUGE_HEADER(land_thr_light, K7_LAMP(land_thr_light)::face, no_areas, thr_callback);
K7_GAUGE_HEADER(land_testrem_light, K7_LAMP(land_testrem_light)::face,
                (WholeArea<25, on_testrem>::mouse), testrem_callback);
K7_GAUGE_HEADER(land_test_sw, background_test_sw, test_sw_mouse, test_sw_callback);
