// "kestovil hydrau_pump_red_k7": the red standby pump with its switch and lamp. It regulates the
// red circuit (2500 psi, 1500 during an emergency gear extension, 1000 while the emergency flap
// lever moves the flaps), and the standby brakes draw on it.
#include "electrical/electrical.h"
#include "module/daynight.h"
#include "hydraulics/hyd_logic.h"
#include "hydraulics/hyd_sim.h"
#include "hydraulics/hydraulics.h"
#include "module/kit.h"

#include <cmath>

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_hydrau_pump_red, n);
}

// Chain: 0 face, 1 night face, 2-3 lamp (day, night), 4-9 switch at 0, 1 and 2 (day, night).
extern ELEMENT_ICON face_night, lamp_day, lamp_night;
extern ELEMENT_ICON sw0_day, sw0_night, sw1_day, sw1_night, sw2_day, sw2_night;

constexpr PGAUGEHDR g = &gauge_hydrau_pump_red;
ELEMENT_STATIC_IMAGE face = k7::static_image(g, art(0), {0, 0}, k7::ART_DAY, K7_NEXT(face_night));
ELEMENT_ICON face_night =
    k7::icon(g, art(1), {0, 0}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(lamp_day));
ELEMENT_ICON lamp_day =
    k7::icon(g, art(2), {64, 20}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(lamp_night));
ELEMENT_ICON lamp_night =
    k7::icon(g, art(3), {64, 20}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(sw0_day));
ELEMENT_ICON sw0_day = k7::icon(g, art(4), {54, 107}, k7::ART_DAY, K7_NEXT(sw0_night));
ELEMENT_ICON sw0_night =
    k7::icon(g, art(5), {54, 107}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(sw1_day));
ELEMENT_ICON sw1_day =
    k7::icon(g, art(6), {54, 107}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(sw1_night));
ELEMENT_ICON sw1_night =
    k7::icon(g, art(7), {54, 107}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(sw2_day));
ELEMENT_ICON sw2_day =
    k7::icon(g, art(8), {54, 107}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(sw2_night));
ELEMENT_ICON sw2_night = k7::icon(g, art(9), {54, 107}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_END);

const k7::DayNight face_art = {&face.header, &face_night.header};
const k7::DayNight lamp_art = {&lamp_day.header, &lamp_night.header};
const k7::DayNight switch_art[3] = {{&sw0_day.header, &sw0_night.header},
                                    {&sw1_day.header, &sw1_night.header},
                                    {&sw2_day.header, &sw2_night.header}};

MODULE_VAR tick_var = sim::token(hyd::TOKEN_TICK);
MODULE_VAR on_ground_var = sim::token(hyd::TOKEN_ON_GROUND);
MODULE_VAR park_var = sim::token(hyd::TOKEN_PARK_BRAKE);
MODULE_VAR brake_left_var = sim::token(hyd::TOKEN_BRAKE_LEFT);
MODULE_VAR gear_var = sim::token(hyd::TOKEN_GEAR);
MODULE_VAR flaps_var = sim::token(hyd::TOKEN_FLAP_ANGLE);

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({54, 107, 26, 50}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<hydrau_red_sw, 1>),
    k7::mouse_area({82, 107, 26, 50}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<hydrau_red_sw, 0>),
    k7::mouse_area({108, 107, 26, 50}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<hydrau_red_sw, 2>),
    K7_MOUSE_END,
};

// Whether the flaps are moving under the emergency flap lever: every 30 ticks the flap angle is
// compared with the one noted 30 ticks before.
void flap_movement_update() {
  if (emerg_flap_lev == 0) {
    hydrau_flap_moving = 0;
    hydrau_flap_noted = 0;
    return;
  }
  // A tick count is a 32-bit counter and a flap angle a fraction of a turn: anything else the
  // simulator gives is noise, held at the nearest value that makes sense.
  const double tick = k7::clamp(sim::read_finite(tick_var), 0.0, 4294967295.0);
  const double angle = k7::clamp(sim::read_finite(flaps_var), -180.0, 180.0);
  if (hydrau_flap_noted != 0 && tick > hydrau_flap_note_tick)
    hydrau_flap_moving = std::fabs(angle - hydrau_flap_note_angle) > 0.1;
  if (hydrau_flap_noted == 0 || tick > hydrau_flap_note_tick) {
    hydrau_flap_noted = 1;
    hydrau_flap_note_angle = angle;
    hydrau_flap_note_tick = tick + 30.0;
  }
}

// Brake applications on the ground take fluid from the red circuit while the green one is low.
void brake_applications_update() {
  const double left = sim::read_finite(brake_left_var);
  if (left <= 8000.0) {
    hydrau_red_brake_applied = 0;
    return;
  }
  if (hydrau_red_brake_applied != 0) return;
  if (sim::read_finite(on_ground_var) == 1.0 && sim::read_finite(park_var) == 0.0) {
    hydrau_red_brake_applied = 1;
    if (hydrau_press_green < hyd::GREEN_LOADS_ON_YELLOW)
      hydrau_press_red = hyd::red_after_brake_application(hydrau_press_red);
  }
}

hyd::RedTarget red_target() {
  const double gear = sim::read_finite(gear_var);
  if (gear > 10.0 && gear < 16100.0 && emerg_gear_lev == 1) return hyd::RED_GEAR;
  return hydrau_flap_moving != 0 ? hyd::RED_FLAPS : hyd::RED_NORMAL;
}

void update() {
  if (hydrau_red_sw == 0) {
    if (hydrau_red_spool > 0) --hydrau_red_spool;
  } else if (elec_bus_main != 0 && hydrau_red_spool < 30) {
    ++hydrau_red_spool;
  }
  flap_movement_update();
  brake_applications_update();
  const bool runs = hydrau_red_spool >= 25 && hydrau_level_red >= 20;
  hyd::red_pump_step(hydrau_press_red, hydrau_red_running, hydrau_red_runup_done, runs,
                     red_target());

  const bool lit = elec_bus_main != 0 && hydrau_red_sw != 0 &&
                   ((hydrau_press_red < 2000 && hydrau_red_running == 2) ||
                    (hydrau_press_red < 2500 && hydrau_red_running == 1));
  k7::draw(face_art);
  k7::draw(lamp_art, lit);
  k7::draw_position(switch_art, hydrau_red_sw);
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) update();
}

} // namespace

K7_GAUGE_HEADER(hydrau_pump_red, face, mouse, callback);
