// "kestovil hydrau_level_k7": the green and blue reservoir levels with their needles, level
// switches and low-level alarms, and the green level itself (gear legs, leak).
#include "electrical/electrical.h"
#include "module/daynight.h"
#include "hydraulics/hyd_logic.h"
#include "hydraulics/hyd_sim.h"
#include "hydraulics/hydraulics.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_hydrau_level, n);
}

FLOAT64 FSAPI green_level_shown(ELEMENT_NEEDLE*) {
  return hydrau_level_green_ind;
}
FLOAT64 FSAPI blue_level_shown(ELEMENT_NEEDLE*) {
  return hydrau_level_blue_ind;
}

const NONLINEARITY green_table[] = {
    {{142, 40}, 70, 0}, {{158, 50}, 60, 0},  {{163, 63}, 50, 0},
    {{163, 73}, 20, 0}, {{153, 114}, 10, 0}, {{141, 126}, 0, 0},
};
const NONLINEARITY blue_table[] = {
    {{189, 126}, 0, 0}, {{171, 106}, 10, 0}, {{167, 73}, 20, 0},
    {{176, 52}, 60, 0}, {{188, 40}, 70, 0},
};
constexpr PIXPOINT GREEN_PIVOT = {115, 81};
constexpr PIXPOINT BLUE_PIVOT = {218, 83};
constexpr PIXPOINT NEEDLE_PIVOT = {5, 5};
constexpr SINT32 NEEDLE_SPEED = 10;

// Chain: 0 face, 1 night face, 2-3 green needle day/night, 4-5 blue needle day/night, 6-9 green
// switch off and on (day, night), 10-13 blue switch off and on.
extern ELEMENT_ICON face_night;
extern ELEMENT_NEEDLE green_day, green_night, blue_day, blue_night;
extern ELEMENT_ICON green_off_day, green_off_night, green_on_day, green_on_night;
extern ELEMENT_ICON blue_off_day, blue_off_night, blue_on_day, blue_on_night;

constexpr PGAUGEHDR g = &gauge_hydrau_level;
ELEMENT_STATIC_IMAGE face = k7::static_image(g, art(0), {0, 0}, k7::ART_DAY, K7_NEXT(face_night));
ELEMENT_ICON face_night =
    k7::icon(g, art(1), {0, 0}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(green_day));
ELEMENT_NEEDLE green_day =
    k7::needle(g, art(2), GREEN_PIVOT, NEEDLE_PIVOT, k7::NEEDLE_DAY, green_level_shown, green_table,
               NEEDLE_SPEED, K7_NEXT(green_night));
ELEMENT_NEEDLE green_night =
    k7::needle(g, art(3), GREEN_PIVOT, NEEDLE_PIVOT, k7::NEEDLE_NIGHT | IMAGE_HIDDEN,
               green_level_shown, green_table, NEEDLE_SPEED, K7_NEXT(blue_day));
ELEMENT_NEEDLE blue_day =
    k7::needle(g, art(4), BLUE_PIVOT, NEEDLE_PIVOT, k7::NEEDLE_DAY, blue_level_shown, blue_table,
               NEEDLE_SPEED, K7_NEXT(blue_night));
ELEMENT_NEEDLE blue_night =
    k7::needle(g, art(5), BLUE_PIVOT, NEEDLE_PIVOT, k7::NEEDLE_NIGHT | IMAGE_HIDDEN,
               blue_level_shown, blue_table, NEEDLE_SPEED, K7_NEXT(green_off_day));
ELEMENT_ICON green_off_day = k7::icon(g, art(6), {40, 34}, k7::ART_DAY, K7_NEXT(green_off_night));
ELEMENT_ICON green_off_night =
    k7::icon(g, art(7), {40, 34}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(green_on_day));
ELEMENT_ICON green_on_day =
    k7::icon(g, art(8), {40, 34}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(green_on_night));
ELEMENT_ICON green_on_night =
    k7::icon(g, art(9), {40, 34}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(blue_off_day));
ELEMENT_ICON blue_off_day = k7::icon(g, art(10), {245, 34}, k7::ART_DAY, K7_NEXT(blue_off_night));
ELEMENT_ICON blue_off_night =
    k7::icon(g, art(11), {245, 34}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(blue_on_day));
ELEMENT_ICON blue_on_day =
    k7::icon(g, art(12), {245, 34}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(blue_on_night));
ELEMENT_ICON blue_on_night = k7::icon(g, art(13), {245, 34}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_END);

const k7::DayNight face_art = {&face.header, &face_night.header};
const k7::DayNight green_needle_art = {&green_day.header, &green_night.header};
const k7::DayNight blue_needle_art = {&blue_day.header, &blue_night.header};
const k7::DayNight green_switch_art[2] = {{&green_off_day.header, &green_off_night.header},
                                          {&green_on_day.header, &green_on_night.header}};
const k7::DayNight blue_switch_art[2] = {{&blue_off_day.header, &blue_off_night.header},
                                         {&blue_on_day.header, &blue_on_night.header}};

MODULE_VAR gear_var = sim::token(hyd::TOKEN_GEAR);
MODULE_VAR spoilers_var = sim::token(hyd::TOKEN_SPOILERS);
MODULE_VAR flaps_var = sim::token(hyd::TOKEN_FLAP_ANGLE);
constexpr double FLAPS_FULL_DEG = 90.0; // beyond any flap: the leak's angle stays an angle

// The level switches; switching one on also clears its circuit's leak flag.
BOOL FSAPI on_green_on(PPIXPOINT, FLAGS32) {
  if (k7::switch_to(hydrau_level_sw_green, 1)) hydrau_leak_green = 0;
  return FALSE_K7;
}
BOOL FSAPI on_blue_on(PPIXPOINT, FLAGS32) {
  if (k7::switch_to(hydrau_level_sw_blue, 1)) hydrau_leak_blue = 0;
  return FALSE_K7;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({40, 34, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<hydrau_level_sw_green, 0>),
    k7::mouse_area({40, 79, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_green_on),
    k7::mouse_area({245, 34, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<hydrau_level_sw_blue, 0>),
    k7::mouse_area({245, 79, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_blue_on),
    K7_MOUSE_END,
};

// The green reservoir: the gear legs hold up to 10 % of it; a leak loses 3 % for every degree the
// flaps extend, and fully raised spoilers leave 15 %.
void green_level_update() {
  const double gear = sim::read_finite(gear_var);
  if (hydrau_leak_green == 0) {
    hydrau_leak_reserve = 60;
    hydrau_level_green = hyd::green_level_normal(hydrau_fail_level_green != 0, gear);
    return;
  }
  const double flaps = k7::clamp(sim::read_finite(flaps_var), 0.0, FLAPS_FULL_DEG);
  if (flaps == 0.0) hydrau_leak_angle = 0;
  if (flaps > hydrau_leak_angle + 1.0) {
    hydrau_leak_reserve = hydrau_leak_reserve > 3 ? static_cast<u16>(hydrau_leak_reserve - 3) : 0;
    hydrau_leak_angle = k7::sat_cast<u16>(flaps);
  }
  hydrau_level_green =
      hyd::green_level_leaking(hydrau_leak_reserve, gear, sim::read_finite(spoilers_var));
}

void update() {
  green_level_update();
  if (elec_bus_ess_hyd != 0) hydrau_level_green_ind = hydrau_level_green;
  if (elec_ac_instr != 0) hydrau_level_blue_ind = hydrau_level_blue;
  hydrau_low_level_green =
      elec_bus_ess_hyd != 0 && (hydrau_level_green < 20 || hydrau_leak_green != 0);
  hydrau_low_level_blue =
      elec_bus_ess_hyd != 0 && (hydrau_level_blue < 20 || hydrau_leak_blue != 0);

  k7::draw(face_art);
  k7::draw(green_needle_art);
  k7::draw(blue_needle_art);
  k7::draw_position(green_switch_art, hydrau_level_sw_green);
  k7::draw_position(blue_switch_art, hydrau_level_sw_blue);
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) update();
}

} // namespace

K7_GAUGE_HEADER(hydrau_level, face, mouse, callback);
