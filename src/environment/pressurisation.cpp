// The cabin pressurisation: the controller ("kestovil pressu_cabinctrl_k7"), the cabin altimeter
// ("kestovil pressu_alti_k7"), the cabin climb indicator ("kestovil pressu_vsi_k7"), the
// differential gauge ("kestovil pressu_psi_k7"), the excess panel with the ground/flight and valve
// test indicators ("kestovil pressu_cabinxs_k7"), the night overlay and the three placards.
//
// The cabin altitude moves at a commanded rate while an air line feeds it; safety valves hold the
// differential below its limit; without feed the cabin returns to the aircraft at 500 ft/min.
#include "electrical/electrical.h"
#include "environment/env_kit.h"
#include "instruments/instruments.h"
#include "module/services.h"

#include <cmath>

namespace {

using namespace env;

// The cabin is fed while an air line delivers and the essential bus drives the controller: without
// the bus the differential reads 0 and nothing may command the cabin away from the aircraft.
bool fed_and_powered() {
  return cabin_fed() && elec_bus_ess != 0;
}
bool flying_sealed() {
  return !on_ground() && !exit_open();
}

// ---- differential gauge
// -------------------------------------------------------------------------------

constexpr double DIFF_PER_FOOT = 0.000381, DIFF_FALL_PER_FOOT_ABOVE = 6.95e-9;
constexpr double DIFF_BREAK_FEET = 21000.0;
constexpr double DIFF_LIMIT = 30.0;

FLOAT64 FSAPI diff_shown(ELEMENT_NEEDLE*) {
  return pressu_diff_ind;
}
constexpr NONLINEARITY diff_table[] = {
    {{96, 15}, 0, 0}, {{114, 102}, 5000, 0}, {{23, 102}, 10000, 0}, {{43, 14}, 15000, 0}};
ELEMENT_NEEDLE diff_needle = k7::needle(&gauge_pressu_psi, 26192, {68, 62}, {4, 4}, k7::NEEDLE_DAY,
                                        diff_shown, diff_table, 0, K7_END);
ELEMENT_STATIC_IMAGE diff_face =
    k7::static_image(&gauge_pressu_psi, 26224, {0, 0}, k7::TRANSPARENT, K7_NEXT(diff_needle));
MOUSERECT plain_mouse_psi[] = {k7::mouse_parent(), K7_MOUSE_END};

void FSAPI psi_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  if (elec_bus_ess != 0) {
    const double altitude = aircraft_altitude();
    const double k = altitude <= DIFF_BREAK_FEET
                         ? DIFF_PER_FOOT
                         : DIFF_PER_FOOT - (altitude - DIFF_BREAK_FEET) * DIFF_FALL_PER_FOOT_ABOVE;
    pressu_diff = k7::clamp((altitude - pressu_cabin_alt) * k, -DIFF_LIMIT, DIFF_LIMIT);
  } else {
    pressu_diff = 0.0;
  }
  pressu_diff_ind = static_cast<u16>(pressu_diff >= 0.0 ? pressu_diff * 1000.0 : 0.0);
}

// ---- climb indicator: safety valves and commanded rate
// ------------------------------------------------

enum ValveState : u8 {
  NORMAL = 0,
  RELIEF_OVER = 1,
  HOLD_HIGH = 2,
  RELIEF_NEGATIVE = 3,
  HOLD_LOW = 4
};
constexpr double DIFF_HIGH_START = 8.08, DIFF_HIGH_HOLD = 8.09, DIFF_HIGH_RELIEF = 8.11;
constexpr double DIFF_LOW_START = 0.08, DIFF_LOW_RELIEF = 0.1;
constexpr u32 VALVE_WAIT_TICKS = 36;
constexpr double VS_LIMIT = 2000.0;
constexpr i16 RETURN_RATE = 500;
constexpr double CABIN_AT_TARGET_FEET = 1.0;

FLOAT64 FSAPI rate_shown(ELEMENT_NEEDLE*) {
  return pressu_cabin_rate;
}
constexpr NONLINEARITY rate_table[] = {
    {{130, 66}, -2000, 0}, {{114, 99}, -1500, 0}, {{92, 118}, -1000, 0},
    {{38, 112}, -500, 0},  {{10, 66}, 0, 0},      {{37, 18}, 500, 0},
    {{92, 13}, 1000, 0},   {{115, 32}, 1500, 0},  {{130, 66}, 2000, 0}};
ELEMENT_NEEDLE rate_needle = k7::needle(&gauge_pressu_vsi, 26368, {70, 66}, {4, 4}, k7::NEEDLE_DAY,
                                        rate_shown, rate_table, 0, K7_END);
ELEMENT_STATIC_IMAGE rate_face =
    k7::static_image(&gauge_pressu_vsi, 26400, {0, 0}, k7::TRANSPARENT, K7_NEXT(rate_needle));
MOUSERECT plain_mouse_vsi[] = {k7::mouse_parent(), K7_MOUSE_END};

// The safety valves decide after the differential has stayed beyond a threshold for 36 ticks.
void run_safety_valves(bool fed, u32 now) {
  const bool high = fed && pressu_diff > DIFF_HIGH_START;
  const bool low = fed && pressu_diff < DIFF_LOW_START;
  if (!high && !low) {
    pressu_valve_state = NORMAL;
    pressu_valve_timer_on = 0;
    return;
  }
  if (pressu_valve_timer_on == 0) {
    pressu_valve_timer_on = 1;
    pressu_valve_timer = now;
  }
  if (!wait_over(pressu_valve_timer, now, VALVE_WAIT_TICKS)) return;
  if (high)
    pressu_valve_state = pressu_diff > DIFF_HIGH_RELIEF ? RELIEF_OVER
                         : pressu_diff > DIFF_HIGH_HOLD ? HOLD_HIGH
                                                        : NORMAL;
  else
    pressu_valve_state = pressu_diff < DIFF_LOW_RELIEF ? RELIEF_NEGATIVE : HOLD_LOW;
  pressu_valve_timer_on = 0;
}

i16 commanded_rate(bool fed) {
  const double cabin = pressu_cabin_alt;
  if (flying_sealed() && fed) {
    const double vs = k7::clamp(k7::finite_or(vsi_ind, 0.0), -VS_LIMIT, VS_LIMIT);
    switch (pressu_valve_state) {
    case NORMAL:
      if (cabin < pressu_alt_sel - CABIN_AT_TARGET_FEET) return pressu_rate_sel;
      if (cabin > pressu_alt_sel + CABIN_AT_TARGET_FEET) return static_cast<i16>(-pressu_rate_sel);
      return 0;
    case RELIEF_OVER: return static_cast<i16>(std::fmax(vs, pressu_rate_sel));
    case RELIEF_NEGATIVE: return static_cast<i16>(std::fmin(vs, -pressu_rate_sel));
    default: return 0;
    }
  }
  const double altitude = aircraft_altitude();
  if (pressu_was_pressurised != 0 && cabin > altitude + CABIN_AT_TARGET_FEET) return -RETURN_RATE;
  if (pressu_was_pressurised != 0 && cabin < altitude - CABIN_AT_TARGET_FEET) return RETURN_RATE;
  return 0;
}

void FSAPI vsi_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool fed = fed_and_powered();
  run_safety_valves(fed, tick_now());
  pressu_cabin_rate = commanded_rate(fed);
}

// ---- cabin altimeter
// ----------------------------------------------------------------------------------

constexpr double RATE_TO_FEET_PER_FRAME = 0.001;
constexpr double BARO_LOWEST = 950.0, BARO_HIGHEST = 1050.0, BARO_STEP = 0.5;
constexpr u32 BARO_LIT_TICKS = 100;
constexpr double RADIANS_PER_DEGREE = 3.14159265358979323846 / 180.0;

// The needles: below 10000 ft the short one shows thousands and the long one hundreds; beyond,
// the short one shows tens of thousands. One dial of ten divisions a turn, from -10 to 10.
double altimeter_scale() {
  return std::fabs(pressu_cabin_alt) < 10000.0 ? 1000.0 : 10000.0;
}
FLOAT64 FSAPI short_needle(ELEMENT_NEEDLE*) {
  return pressu_cabin_alt / altimeter_scale();
}
FLOAT64 FSAPI long_needle(ELEMENT_NEEDLE*) {
  return pressu_cabin_alt / 100.0 - 10.0 * std::trunc(pressu_cabin_alt / altimeter_scale());
}
constexpr NONLINEARITY alti_table[] = {{{99, 7}, -10, 0},   {{153, 25}, -9, 0},  {{186, 71}, -8, 0},
                                       {{186, 127}, -7, 0}, {{153, 173}, -6, 0}, {{99, 191}, -5, 0},
                                       {{45, 173}, -4, 0},  {{12, 127}, -3, 0},  {{12, 71}, -2, 0},
                                       {{45, 25}, -1, 0},   {{99, 7}, 0, 0},     {{153, 25}, 1, 0},
                                       {{186, 71}, 2, 0},   {{186, 127}, 3, 0},  {{153, 173}, 4, 0},
                                       {{99, 191}, 5, 0},   {{45, 173}, 6, 0},   {{12, 127}, 7, 0},
                                       {{12, 71}, 8, 0},    {{45, 25}, 9, 0},    {{99, 7}, 10, 0}};
FLOAT64 FSAPI baro_scale_turn(ELEMENT_SPRITE*) {
  return (pressu_baro - 1013.0) * 20.0 * 4.25 - 2.0;
}

// Chain: 0 face, 1 night face, 2 setting scale, 3 its lit copy by day, 4 at night, 5 short needle,
// 6 its night copy, 7 long needle, 8 its night copy.
constexpr PIXPOINT ALTI_PIVOT{99, 99}, ALTI_NEEDLE_PIVOT{4, 4};
extern ELEMENT_ICON alti_face_night;
extern ELEMENT_SPRITE baro_scale, baro_lit_day, baro_lit_night;
extern ELEMENT_NEEDLE short_day, short_night, long_day, long_night;
ELEMENT_STATIC_IMAGE alti_face =
    k7::static_image(&gauge_pressu_alti, 25856, {0, 0}, k7::ART_DAY, K7_NEXT(alti_face_night));
ELEMENT_ICON alti_face_night =
    k7::icon(&gauge_pressu_alti, 25872, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(baro_scale));
ELEMENT_SPRITE baro_scale =
    k7::sprite(&gauge_pressu_alti, 25888, {0, 0}, ALTI_PIVOT, 1.0f, k7::ART_DAY, {nullptr, 0.0},
               {nullptr, 0.0}, {baro_scale_turn, RADIANS_PER_DEGREE}, K7_NEXT(baro_lit_day));
ELEMENT_SPRITE baro_lit_day =
    k7::sprite(&gauge_pressu_alti, 25920, {0, 0}, ALTI_PIVOT, 1.0f, k7::DAY_HIDDEN, {nullptr, 0.0},
               {nullptr, 0.0}, {baro_scale_turn, RADIANS_PER_DEGREE}, K7_NEXT(baro_lit_night));
ELEMENT_SPRITE baro_lit_night = k7::sprite(
    &gauge_pressu_alti, 25936, {0, 0}, ALTI_PIVOT, 1.0f, k7::NIGHT_HIDDEN, {nullptr, 0.0},
    {nullptr, 0.0}, {baro_scale_turn, RADIANS_PER_DEGREE}, K7_NEXT(short_day));
ELEMENT_NEEDLE short_day = k7::needle(&gauge_pressu_alti, k7::bitmap_id(GAUGE_INDEX_pressu_alti, 1),
                                      ALTI_PIVOT, ALTI_NEEDLE_PIVOT, k7::NEEDLE_DAY, short_needle,
                                      alti_table, 0, K7_NEXT(short_night));
ELEMENT_NEEDLE short_night =
    k7::needle(&gauge_pressu_alti, 25728, ALTI_PIVOT, ALTI_NEEDLE_PIVOT,
               k7::NEEDLE_NIGHT | IMAGE_HIDDEN, short_needle, alti_table, 0, K7_NEXT(long_day));
ELEMENT_NEEDLE long_day =
    k7::needle(&gauge_pressu_alti, k7::bitmap_id(GAUGE_INDEX_pressu_alti, 2), ALTI_PIVOT,
               ALTI_NEEDLE_PIVOT, k7::NEEDLE_DAY, long_needle, alti_table, 0, K7_NEXT(long_night));
ELEMENT_NEEDLE long_night =
    k7::needle(&gauge_pressu_alti, 25696, ALTI_PIVOT, ALTI_NEEDLE_PIVOT,
               k7::NEEDLE_NIGHT | IMAGE_HIDDEN, long_needle, alti_table, 0, K7_END);

void light_baro_scale() {
  pressu_baro_lit = 1;
  pressu_baro_lit_tick = tick_now();
}
BOOL FSAPI on_baro_down(PPIXPOINT, FLAGS32) {
  if (pressu_baro > BARO_LOWEST) pressu_baro = std::fmax(BARO_LOWEST, pressu_baro - BARO_STEP);
  light_baro_scale();
  return FALSE_K7;
}
BOOL FSAPI on_baro_up(PPIXPOINT, FLAGS32) {
  if (pressu_baro < BARO_HIGHEST) pressu_baro = std::fmin(BARO_HIGHEST, pressu_baro + BARO_STEP);
  light_baro_scale();
  return FALSE_K7;
}
constexpr FLAGS32 KNOB = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;
MOUSERECT alti_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 164, 19, 34}, CURSOR_DOWNARROW, KNOB, on_baro_down),
    k7::mouse_area({19, 164, 19, 34}, CURSOR_UPARROW, KNOB, on_baro_up),
    K7_MOUSE_END,
};

void move_cabin() {
  const double altitude = aircraft_altitude();
  const double step = pressu_cabin_rate * RATE_TO_FEET_PER_FRAME;
  if (flying_sealed() && elec_bus_ess != 0 && cabin_fed()) {
    pressu_was_pressurised = 1;
    if (pressu_valve_state == NORMAL) {
      pressu_cabin_alt += step;
      if (std::fabs(pressu_cabin_alt - pressu_alt_sel) <= CABIN_AT_TARGET_FEET)
        pressu_cabin_alt = pressu_alt_sel;
    } else if (k7::finite_or(vsi_ind, 0.0) != 0.0) {
      pressu_cabin_alt += step;
    }
  } else {
    if (exit_open()) pressu_was_pressurised = 0;
    if (std::fabs(pressu_cabin_alt - altitude) <= CABIN_AT_TARGET_FEET ||
        pressu_was_pressurised == 0) {
      pressu_cabin_alt = altitude;
      pressu_was_pressurised = 0;
    } else {
      pressu_cabin_alt += step;
    }
  }
  pressu_cabin_alt = k7::clamp(pressu_cabin_alt, -2000.0, 60000.0);
}

void FSAPI alti_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  move_cabin();
  if (pressu_baro_lit != 0 && wait_over(pressu_baro_lit_tick, tick_now(), BARO_LIT_TICKS))
    pressu_baro_lit = 0;
  k7::draw(k7::DayNight{&alti_face.header, &alti_face_night.header});
  k7::draw(k7::DayNight{&baro_lit_day.header, &baro_lit_night.header}, pressu_baro_lit != 0);
  k7::draw(k7::DayNight{&short_day.header, &short_night.header});
  k7::draw(k7::DayNight{&long_day.header, &long_night.header});
}

// ---- controller
// ---------------------------------------------------------------------------------------

constexpr i16 ALT_SEL_LOWEST = -1000, ALT_SEL_HIGHEST = 10000, ALT_SEL_STEP = 100;
constexpr i16 RATE_SEL_LOWEST = 50, RATE_SEL_HIGHEST = 2000, RATE_SEL_STEP = 50;
constexpr u32 SCALE_LIT_TICKS = 50;
constexpr double SCALE_X_LOWEST = 170.0, SCALE_X_HIGHEST = 390.0;

FLOAT64 FSAPI alt_sel_shown(ELEMENT_NEEDLE*) {
  return pressu_alt_sel;
}
FLOAT64 FSAPI rate_sel_shown(ELEMENT_NEEDLE*) {
  return pressu_rate_sel;
}
FLOAT64 FSAPI scale_turn(ELEMENT_SPRITE*) {
  return pressu_scale_angle;
}
constexpr NONLINEARITY alt_sel_table[] = {
    {{79, 139}, -1000, 0}, {{70, 106}, 0, 0},    {{74, 73}, 1000, 0},   {{93, 42}, 2000, 0},
    {{121, 21}, 3000, 0},  {{158, 13}, 4000, 0}, {{194, 20}, 5000, 0},  {{222, 42}, 6000, 0},
    {{238, 66}, 7000, 0},  {{244, 96}, 8000, 0}, {{241, 122}, 9000, 0}, {{230, 146}, 10000, 0}};
constexpr NONLINEARITY rate_sel_table[] = {
    {{22, 188}, 50, 0}, {{43, 138}, 500, 0}, {{63, 188}, 2000, 0}};

// Chain: 0 face, 1 scale, 2 its lit copy, 3 altitude needle, 4 rate pointer.
extern ELEMENT_SPRITE ctrl_scale, ctrl_scale_lit;
extern ELEMENT_NEEDLE alt_sel_needle, rate_sel_pointer;
constexpr PIXPOINT CTRL_PIVOT{155, 100};
ELEMENT_STATIC_IMAGE ctrl_face =
    k7::static_image(&gauge_pressu_cabinctrl, 25968, {0, 0}, k7::TRANSPARENT, K7_NEXT(ctrl_scale));
ELEMENT_SPRITE ctrl_scale = k7::sprite(&gauge_pressu_cabinctrl, 25984, {0, 0}, CTRL_PIVOT, 1.0f,
                                       k7::ART_DAY, {nullptr, 0.0}, {nullptr, 0.0},
                                       {scale_turn, RADIANS_PER_DEGREE}, K7_NEXT(ctrl_scale_lit));
ELEMENT_SPRITE ctrl_scale_lit =
    k7::sprite(&gauge_pressu_cabinctrl, 26112, {0, 0}, CTRL_PIVOT, 1.0f, k7::HIDDEN, {nullptr, 0.0},
               {nullptr, 0.0}, {scale_turn, RADIANS_PER_DEGREE}, K7_NEXT(alt_sel_needle));
ELEMENT_NEEDLE alt_sel_needle =
    k7::needle(&gauge_pressu_cabinctrl, 25952, CTRL_PIVOT, {4, 4}, k7::NEEDLE_DAY, alt_sel_shown,
               alt_sel_table, 0, K7_NEXT(rate_sel_pointer));
ELEMENT_NEEDLE rate_sel_pointer =
    k7::needle(&gauge_pressu_cabinctrl, 26128, {43, 167}, {4, 4}, k7::NEEDLE_DAY, rate_sel_shown,
               rate_sel_table, 0, K7_END);

void light_ctrl_scale() {
  pressu_scale_lit = 1;
  pressu_scale_lit_tick = tick_now();
}
BOOL FSAPI on_alt_down(PPIXPOINT, FLAGS32) {
  if (pressu_alt_sel > ALT_SEL_LOWEST)
    pressu_alt_sel = static_cast<i16>(pressu_alt_sel - ALT_SEL_STEP);
  light_ctrl_scale();
  return FALSE_K7;
}
BOOL FSAPI on_alt_up(PPIXPOINT, FLAGS32) {
  if (pressu_alt_sel < ALT_SEL_HIGHEST)
    pressu_alt_sel = static_cast<i16>(pressu_alt_sel + ALT_SEL_STEP);
  light_ctrl_scale();
  return FALSE_K7;
}
BOOL FSAPI on_rate_down(PPIXPOINT, FLAGS32) {
  if (pressu_rate_sel > RATE_SEL_LOWEST)
    pressu_rate_sel = static_cast<i16>(pressu_rate_sel - RATE_SEL_STEP);
  return FALSE_K7;
}
BOOL FSAPI on_rate_up(PPIXPOINT, FLAGS32) {
  if (pressu_rate_sel < RATE_SEL_HIGHEST)
    pressu_rate_sel = static_cast<i16>(pressu_rate_sel + RATE_SEL_STEP);
  return FALSE_K7;
}
BOOL FSAPI on_ctrl_centre(PPIXPOINT, FLAGS32) {
  light_ctrl_scale();
  return FALSE_K7;
}
MOUSERECT ctrl_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({225, 131, 40, 73}, CURSOR_DOWNARROW, KNOB, on_alt_down),
    k7::mouse_area({265, 131, 40, 73}, CURSOR_UPARROW, KNOB, on_alt_up),
    k7::mouse_area({3, 131, 40, 73}, CURSOR_DOWNARROW, KNOB, on_rate_down),
    k7::mouse_area({43, 131, 40, 73}, CURSOR_UPARROW, KNOB, on_rate_up),
    k7::mouse_area({115, 118, 80, 80}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_ctrl_centre),
    K7_MOUSE_END,
};

void FSAPI ctrl_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  // The scale shows the aircraft altitude at the limit differential for the selected cabin; it
  // turns only over the part of the selector's range that it covers.
  const double x = 210.0 + pressu_alt_sel / 50.0;
  if (x >= SCALE_X_LOWEST && x <= SCALE_X_HIGHEST) pressu_scale_angle = (x - 210.0) * 1.4372;
  if (pressu_scale_lit != 0 && wait_over(pressu_scale_lit_tick, tick_now(), SCALE_LIT_TICKS))
    pressu_scale_lit = 0;
  k7::show(ctrl_scale_lit, pressu_scale_lit != 0);
}

// ---- excess panel: excess altitude, ground/flight and valve test indicators, test switch
// -----------

constexpr double EXCESS_ABOVE_FEET = 10500.0;
constexpr double TAKE_OFF_THROTTLE = 0.95;
constexpr u32 MODE_CHANGE_TICKS = 150;
constexpr u8 XS_UP = 100, XS_CENTRE = 0, XS_DOWN = 10;
enum GroundMode : u8 { GROUND = 0, FLIGHT = 1, CHANGING = 2 };

// Chain: 0 face, 1 excess lamp, 2 ground lamp, 3 flight lamp, 4 valve test lamp at 0, 5 at 1,
// 6 switch up, 7 centre, 8 down.
enum XsImage { XS_LAMP, GROUND_LAMP, FLIGHT_LAMP, TEST_OFF_LAMP, TEST_ON_LAMP, XS_SWITCH };
constexpr k7::ImageEntry xs_images[] = {
    {LAMP_RED, {129, 152}, k7::HIDDEN},     {25408, {28, 113}, k7::HIDDEN},
    {25424, {28, 113}, k7::HIDDEN},         {25440, {220, 113}, k7::HIDDEN},
    {25456, {220, 113}, k7::HIDDEN},        {SWITCH_UP, {227, 44}, k7::TRANSPARENT},
    {SWITCH_CENTRE, {227, 54}, k7::HIDDEN}, {SWITCH_DOWN, {227, 58}, k7::HIDDEN},
};
using XsImages = k7::Run<gauge_pressu_cabinxs, xs_images>;
ELEMENT_STATIC_IMAGE xs_face =
    k7::static_image(&gauge_pressu_cabinxs, k7::bitmap_id(GAUGE_INDEX_pressu_cabinxs, 0), {0, 0},
                     k7::TRANSPARENT, XsImages::head);

BOOL FSAPI on_xs_down(PPIXPOINT, FLAGS32) {
  if (pressu_xs_sw == XS_UP || pressu_xs_sw == XS_CENTRE) k7::switch_to(pressu_xs_sw, XS_DOWN);
  return FALSE_K7;
}
MOUSERECT xs_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({214, 30, 37, 20}, CURSOR_UPARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<pressu_xs_sw, XS_UP>),
    k7::mouse_area({214, 50, 37, 20}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<pressu_xs_sw, XS_CENTRE>),
    k7::mouse_area({214, 70, 37, 20}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_xs_down),
    K7_MOUSE_END,
};

// The ground/flight indicator takes 150 ticks to change over, both lamps dark meanwhile; a change
// of mind during the change starts it again toward the new value.
void run_ground_mode(bool ess, u32 now) {
  const bool ground =
      on_ground() || throttle(0) >= TAKE_OFF_THROTTLE || throttle(1) >= TAKE_OFF_THROTTLE || !ess;
  const u8 wanted = ground ? GROUND : FLIGHT;
  if (pressu_ground_mode != CHANGING) {
    if (pressu_ground_mode == wanted) return;
    pressu_ground_mode = CHANGING;
  } else if (pressu_mode_target == wanted) {
    if (wait_over(pressu_mode_timer, now, MODE_CHANGE_TICKS)) pressu_ground_mode = wanted;
    return;
  }
  pressu_mode_target = wanted;
  pressu_mode_timer = now;
}

void FSAPI xs_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool ess = elec_bus_ess != 0;
  ELEMENT_ICON* image = XsImages::element;

  pressu_cabin_excess = ess && pressu_cabin_alt > EXCESS_ABOVE_FEET;
  if (pressu_cabin_excess != 0) {
    if (warn_req_cabinxs == 0) warn_req_cabinxs = 1;
  } else if (warn_req_cabinxs == 2) {
    warn_req_cabinxs = 0;
  }
  k7::show(image[XS_LAMP], pressu_cabin_excess != 0);

  run_ground_mode(ess, tick_now());
  k7::show(image[GROUND_LAMP], ess && pressu_ground_mode == GROUND);
  k7::show(image[FLIGHT_LAMP], ess && pressu_ground_mode == FLIGHT);

  // The test switch held down springs back to the centre.
  if (pressu_xs_sw >= 1 && pressu_xs_sw <= XS_DOWN) --pressu_xs_sw;
  std::size_t position = 1; // centre
  if (pressu_xs_sw == XS_UP) {
    position = 0;
    if (ess) pressu_valve_test = 0;
  } else if (pressu_xs_sw != XS_CENTRE) {
    position = 2;
    if (ess) pressu_valve_test = 1;
  }
  k7::show_position(image + XS_SWITCH, 3, position);
  k7::show(image[TEST_OFF_LAMP], ess && pressu_valve_test == 0);
  k7::show(image[TEST_ON_LAMP], ess && pressu_valve_test == 1);
}

// ---- night overlay and placards
// -----------------------------------------------------------------------

ELEMENT_STATIC_IMAGE night_overlay =
    k7::static_image(&gauge_pressunight, k7::bitmap_id(GAUGE_INDEX_pressunight, 0), {0, 0},
                     k7::NIGHT_HIDDEN, K7_END);
MOUSERECT night_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};
void FSAPI night_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) k7::show(night_overlay, k7::panel_night());
}

using Light1 = Placard<gauge_pressu_light1, k7::bitmap_id(GAUGE_INDEX_pressu_light1, 0)>;
using Light2 = Placard<gauge_pressu_light2, k7::bitmap_id(GAUGE_INDEX_pressu_light2, 0)>;
using Light3 = Placard<gauge_pressu_light3, k7::bitmap_id(GAUGE_INDEX_pressu_light3, 0)>;

} // namespace

K7_GAUGE_HEADER(pressu_psi, diff_face, plain_mouse_psi, psi_callback);
K7_GAUGE_HEADER(pressu_vsi, rate_face, plain_mouse_vsi, vsi_callback);
K7_GAUGE_HEADER(pressu_alti, alti_face, alti_mouse, alti_callback);
K7_GAUGE_HEADER(pressu_cabinctrl, ctrl_face, ctrl_mouse, ctrl_callback);
K7_GAUGE_HEADER(pressu_cabinxs, xs_face, xs_mouse, xs_callback);
K7_GAUGE_HEADER(pressunight, night_overlay, night_mouse, night_callback);
K7_GAUGE_HEADER(pressu_light1, Light1::image, Light1::mouse, nullptr);
K7_GAUGE_HEADER(pressu_light2, Light2::image, Light2::mouse, nullptr);
K7_GAUGE_HEADER(pressu_light3, Light3::image, Light3::mouse, nullptr);
