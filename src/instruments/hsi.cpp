// "kestovil hsi_k7": the captain's horizontal situation indicator. A compass card with the NAV 1
// course pointer, deviation bar, TO/FROM arrows and flags, the glide slope pointer, the heading
// marker, drums for the selected course, the DME distance and (for a while after the heading knob
// turns) the selected heading, and two knobs: the course knob sets the simulator's NAV 1 course,
// the heading knob the selected heading that the flight director and autopilot fly.
#include "electrical/electrical.h"
#include "instruments/gyro.h"
#include "instruments/hsi_dial.h"
#include "instruments/hsi_shared.h"
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/drum.h"
#include "module/gauge.h"
#include "module/services.h"
#include "radios/radios.h"

#include <cmath>
#include <initializer_list>

namespace {

using namespace k7::hsi_draw;

// ---- conditions
// -----------------------------------------------------------------------------------------

bool nav1_alive() {
  return gyro() && elec_bus_radio1 == 1 && radio_vordme_sel1 >= 1;
}

// A heading or course from the simulator brought into 0..360 (360 itself reads as 0).
double compass_degrees(double angle) {
  if (!std::isfinite(angle)) return 0.0;
  const double a = std::fmod(angle, 360.0);
  return a < 0 ? (a + 360.0 < 360.0 ? a + 360.0 : 0.0) : a;
}

// ---- elements
// -------------------------------------------------------------------------------------------

constexpr PIXPOINT KNOB_BITMAP_PIVOT{25, 24};
// The knobs are not drawn lit, not even their night copies.
constexpr FLAGS KNOB_NIGHT = k7::NEEDLE_DAY | IMAGE_HIDDEN;

extern ELEMENT_NEEDLE knob_course_day;
using Readout = k7::HsiReadout<gauge_hsi>;
using Dial = k7::HsiDial<gauge_hsi, K7_NEXT(knob_course_day)>;

ELEMENT_NEEDLE knob_heading_night =
    k7::needle_degrees(&gauge_hsi, 8800, k7::HSI_HEADING_KNOB_PIVOT, KNOB_BITMAP_PIVOT, KNOB_NIGHT,
                       needle_value<hsi_knob_hdg_angle>, 0, K7_NEXT(Readout::heading_flag));
ELEMENT_NEEDLE knob_course_night =
    k7::needle_degrees(&gauge_hsi, 8784, k7::HSI_COURSE_KNOB_PIVOT, KNOB_BITMAP_PIVOT, KNOB_NIGHT,
                       needle_value<hsi_knob_course_angle>, 0, K7_NEXT(knob_heading_night));
ELEMENT_NEEDLE knob_heading_day = k7::needle_degrees(
    &gauge_hsi, 6272, k7::HSI_HEADING_KNOB_PIVOT, KNOB_BITMAP_PIVOT, k7::NEEDLE_DAY,
    needle_value<hsi_knob_hdg_angle>, 0, K7_NEXT(knob_course_night));
ELEMENT_NEEDLE knob_course_day = k7::needle_degrees(
    &gauge_hsi, 6224, k7::HSI_COURSE_KNOB_PIVOT, KNOB_BITMAP_PIVOT, k7::NEEDLE_DAY,
    needle_value<hsi_knob_course_angle>, 0, K7_NEXT(knob_heading_day));

// ---- knobs
// ----------------------------------------------------------------------------------------------

// The knob's image turns 5 degrees a fine click and 50 a coarse one, back to the start of its
// travel at the ends.
u16 knob_turn(u16 angle, int step) {
  switch (step) {
  case -1: return angle <= 5 ? 360 : static_cast<u16>(angle - 5);
  case 1: return angle >= 355 ? 0 : static_cast<u16>(angle + 5);
  case -10: return angle <= 50 ? 360 : static_cast<u16>(angle - 50);
  case 10: return angle >= 300 ? 0 : static_cast<u16>(angle + 50);
  default: return angle;
  }
}

// The course the course knob asks for: one or ten degrees from the whole-degree course last
// read, round north either way.
i32 course_step(i32 course, int step) {
  switch (step) {
  case -1: return course <= 0 ? 359 : course - 1;
  case 1: return course >= 359 ? 0 : course + 1;
  case -10: return course < 10 ? 350 + course : course - 10;
  case 10: return course > 350 ? course - 350 : course + 10;
  default: return course;
  }
}

constexpr u32 KEY_NAV1_COURSE_SET = 0x100B4;

template <int Step> BOOL FSAPI on_course(PPIXPOINT, FLAGS32) {
  hsi_knob_course_angle = knob_turn(hsi_knob_course_angle, Step);
  sim::key_event(KEY_NAV1_COURSE_SET, static_cast<u32>(course_step(hsi_course_int, Step)));
  return 0;
}

template <int Step> BOOL FSAPI on_heading(PPIXPOINT, FLAGS32) {
  hsi_hdg_readout_req = 1;
  hsi_knob_hdg_angle = knob_turn(hsi_knob_hdg_angle, Step);
  hsi_heading_sel =
      static_cast<u32>(k7::heading_knob_step(static_cast<i32>(hsi_heading_sel), Step));
  return 0;
}

BOOL FSAPI on_dme_source(PPIXPOINT, FLAGS32) {
  hsi_dme_src = hsi_dme_src <= 1 ? 2 : 1;
  return 0;
}

constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({9, 203, 42, 42}, CURSOR_DOWNARROW, HELD, on_course<-1>),
    k7::mouse_area({51, 203, 42, 42}, CURSOR_UPARROW, HELD, on_course<1>),
    k7::mouse_area({9, 245, 42, 42}, CURSOR_DOWNARROW, HELD, on_course<-10>),
    k7::mouse_area({51, 245, 42, 42}, CURSOR_UPARROW, HELD, on_course<10>),
    k7::mouse_area({256, 203, 42, 42}, CURSOR_DOWNARROW, HELD, on_heading<-1>),
    k7::mouse_area({298, 203, 42, 42}, CURSOR_UPARROW, HELD, on_heading<1>),
    k7::mouse_area({256, 245, 42, 42}, CURSOR_DOWNARROW, HELD, on_heading<-10>),
    k7::mouse_area({298, 245, 42, 42}, CURSOR_UPARROW, HELD, on_heading<10>),
    k7::mouse_area({217, 13, 85, 60}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_dme_source),
    K7_MOUSE_END,
};

// ---- the update
// -----------------------------------------------------------------------------------------

MODULE_VAR heading_var = sim::token(0x54);
MODULE_VAR course_var = sim::token(0x2D);
MODULE_VAR lateral_dev_var = sim::token(0x28);
MODULE_VAR gs_dev_var = sim::token(0x29);
MODULE_VAR to_from_var = sim::token(0x2B);
MODULE_VAR gs_valid_var = sim::token(0x2C);
MODULE_VAR station_code_var = sim::token(0x2E);
MODULE_VAR nav1_signal_var = sim::token(0x31);
MODULE_VAR dme1_var = sim::token(0x1F);
MODULE_VAR dme2_var = sim::token(0x23);
MODULE_VAR gps_drives_nav_var = sim::token(0x350);
MODULE_VAR panel_power_fail_var = sim::token(0x117);
MODULE_VAR heading_fail_var = sim::token(0x11A);
MODULE_VAR tick_var = sim::token(0x1);

constexpr int HEADING_READOUT_TICKS = 30;
constexpr double DME_LIMIT = 9999.0;

// The angle on the dial of a direction seen from the aircraft's heading.
i32 dial_angle(double heading, double direction) {
  return static_cast<i32>(360.0 - heading + direction);
}

// The value for a ten-degree step across north: the other side of the dial.
i32 across_north(i32 value, i32 previous) {
  if (value < 10) return 350 + value;
  if (value > 350) return value - 350;
  return previous;
}

void update_pointers(double heading, double course) {
  if (gyro()) {
    hsi_course_ptr = dial_angle(heading, course);
    hsi_marker_angle = dial_angle(heading, static_cast<double>(hsi_heading_sel));
  }
  hsi_hdg_wrap = across_north(static_cast<i32>(hsi_heading_sel), hsi_hdg_wrap);
  hsi_course_int = static_cast<i32>(course);
  hsi_course_wrap = across_north(hsi_course_int, hsi_course_wrap);
}

void update_nav(double heading) {
  const bool alive = nav1_alive();
  if (alive) {
    const double to_from = sim::read_finite(to_from_var);
    if (to_from == 0.0 || to_from == 1.0 || to_from == 2.0) {
      hsi_to_shown = to_from == 1.0;
      hsi_from_shown = to_from == 2.0;
    }
  }

  const u32 code = k7::sat_cast<u32>(sim::read_finite(station_code_var));
  hsi_nav1_gs_avail = (code & 0x40) != 0;
  hsi_nav1_loc = (code & 0x80) != 0;

  const double gs_valid = sim::read_finite(gs_valid_var);
  hsi_gs_scale_shown = gs_valid == 1.0 && alive;
  hsi_gs_flag_shown = !hsi_gs_scale_shown && gs_valid == 0.0 && hsi_nav1_gs_avail && gyro();

  hsi_nav_flag_shown = !(sim::read_finite(nav1_signal_var) > 0.0 && alive);

  // The pointer steps one unit an update toward the deviation, within its travel.
  if (hsi_nav1_gs_avail && alive) {
    const double target = k7::clamp((sim::read_finite(gs_dev_var) + 120.0) / 20.0, 0.0, 11.0);
    if (hsi_gs_ptr > target + 1)
      hsi_gs_ptr -= 1;
    else if (hsi_gs_ptr < target - 1)
      hsi_gs_ptr += 1;
    else
      hsi_gs_ptr = target;
  } else {
    hsi_gs_ptr = hsi_gs_ptr - 1 <= -1 ? -1.0 : hsi_gs_ptr - 1;
  }

  if (gyro()) {
    hsi_card_heading = heading;
    if (elec_bus_radio1 == 1 && radio_vordme_sel1 >= 1)
      hsi_cdi = k7::clamp(sim::read_finite(lateral_dev_var), -127.0, 127.0);
  }
}

// The DME distance of the selected receiver, or the shutter when it has no distance to give.
void update_dme() {
  if (!gyro()) {
    hsi_dme_src = 1;
    return;
  }
  const bool nav2 = hsi_dme_src == 2;
  const double distance = sim::read_finite(nav2 ? dme2_var : dme1_var);
  const bool supplied = nav2 ? elec_bus_radio2 == 1 && radio_vordme_sel2 >= 2
                             : elec_bus_radio1 == 1 && radio_vordme_sel1 >= 2;
  const bool reading = distance >= 0 && supplied;
  hsi_dme_shutter_shown = !reading;
  hsi_dme_dist = reading ? k7::clamp(distance, 0.0, DME_LIMIT) : 0.0;
}

// An odometer digit: it shows `digit` until the value below it passes `from` of its turn, then
// rolls on to the next digit over the rest.
double odometer(double fraction, double digit, double from) {
  if (fraction > 9.999) return 0.0;
  const double past = fraction - digit - from;
  return past <= 0 ? digit : digit + past / (1.0 - from);
}

void update_readouts(double course) {
  const double d = hsi_dme_dist;
  const double hundreds = std::trunc(d / 100);
  const double tens = std::trunc((d - 100 * hundreds) / 10);
  const double units = d - 100 * hundreds - 10 * tens;
  hsi_dme_drum_hundreds = odometer(d / 100, hundreds, 0.99);
  hsi_dme_drum_tens = odometer((d - 100 * hundreds) / 10, tens, 0.9);
  hsi_dme_drum_units = units > 9.999 ? 0.0 : units;

  const double c_hundreds = std::trunc(course / 100);
  const double c_tens = std::trunc((course - 100 * c_hundreds) / 10);
  const double c_units = course - 100 * c_hundreds - 10 * c_tens;
  hsi_crs_drum_hundreds = k7::drum_roll(hsi_crs_drum_hundreds, c_hundreds, 4);
  hsi_crs_drum_tens = k7::drum_roll(hsi_crs_drum_tens, c_tens, 10);
  hsi_crs_drum_units = k7::drum_roll(hsi_crs_drum_units, c_units, 10);

  // Each heading-knob click (re)starts the readout for 30 ticks; a click while it shows ends the
  // running period here and starts a new one on the next update.
  const i32 tick = k7::sat_cast<i32>(sim::read_finite(tick_var));
  if (hsi_hdg_readout_req == 1 && hsi_hdg_readout_on == 0) {
    hsi_hdg_readout_shown = 1;
    hsi_hdg_readout_on = 1;
    hsi_hdg_readout_t0 = tick < 0 ? 0 : tick;
    hsi_hdg_readout_req = 0;
  } else if (hsi_hdg_readout_req == 1) {
    hsi_hdg_readout_on = 0;
  } else if (hsi_hdg_readout_on == 1 &&
             static_cast<i64>(tick) >=
                 static_cast<i64>(hsi_hdg_readout_t0) + HEADING_READOUT_TICKS) {
    hsi_hdg_readout_shown = 0;
    hsi_hdg_readout_on = 0;
  }
}

void update_failures() {
  const bool panel_power_failed = sim::read_u32(panel_power_fail_var) == 1;
  const bool heading_lost = elec_ac_ess == 0 || panel_power_failed || elec_tadg_on == 0;
  if (heading_lost) {
    hsi_hdg_readout_shown = 0;
    hsi_to_shown = hsi_from_shown = hsi_gs_scale_shown = 0;
    hsi_gs_flag_shown = hsi_nav_flag_shown = hsi_dme_shutter_shown = 1;
  }
  hsi_hdg_flag_shown = sim::read_finite(heading_fail_var) == 1.0 || heading_lost;
  k7::show(Readout::gps_annunciator, k7::hsi_gps_annunciator());
}

void draw() {
  k7::show(Dial::to_arrow, hsi_to_shown != 0);
  k7::show(Dial::from_arrow, hsi_from_shown != 0);
  k7::show(Dial::gs_scale, hsi_gs_scale_shown != 0);
  k7::show(Dial::gs_flag, hsi_gs_flag_shown != 0);
  k7::show(Dial::nav_flag, hsi_nav_flag_shown != 0);
  k7::show(Dial::dme_src2, hsi_dme_src == 2 && gyro());
  k7::show(Dial::dme_shutter, hsi_dme_shutter_shown != 0);
  k7::show(Readout::heading_flag, hsi_hdg_flag_shown != 0);
  for (ELEMENT_MOVING_IMAGE* digit : Readout::heading_digits)
    k7::show(*digit, hsi_hdg_readout_shown != 0);
  k7::draw({&knob_course_day.header, &knob_course_night.header});
  k7::draw({&knob_heading_day.header, &knob_heading_night.header});
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double heading = compass_degrees(sim::read(heading_var));
  const double course = compass_degrees(sim::read(course_var));
  update_pointers(heading, course);
  update_nav(heading);
  update_dme();
  if (gyro()) update_readouts(course);
  update_failures();
  draw();
}

} // namespace

bool k7::hsi_gps_annunciator() {
  const bool panel_power_failed = sim::read_u32(panel_power_fail_var) == 1;
  return sim::read_finite(gps_drives_nav_var) == 1.0 && elec_tadg_on == 1 &&
         (elec_ac_ess == 1 || !panel_power_failed);
}

MOUSERECT k7::hsi_click_area(int i) {
  return i >= 0 && i < HSI_CLICK_AREAS ? mouse[1 + i] : k7::mouse_end(MOUSE_RECT_EOL);
}

K7_GAUGE_HEADER(hsi, Dial::face, mouse, callback);
