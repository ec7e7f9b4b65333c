// Second copies of captain's instruments for the pedestal: "kestovil fdadimini_k7" (the attitude
// director, without its night layer), "kestovil iasmini_k7" (the airspeed pointers and speed
// markers, with the markers' click areas), "kestovil raltmini_k7" (the radio altimeter, taking the
// radio altimeter's own clicks) and "kestovil land_coupl_lightmini_k7" (the coupled-approach
// lamp). The attitude and radio altimeter copies show their twins' state: the full-size gauges
// must be running for them to move.
#include "autopilot/autopilot.h"
#include "electrical/electrical.h"
#include "instruments/ias_shared.h"
#include "instruments/adi_shared.h"
#include "instruments/instruments.h"
#include "instruments/ralt_shared.h"
#include "module/daynight.h"
#include "module/gauge.h"

namespace {

using namespace k7::adi_draw;

FAILURE_RECORD attitude_failure[] = {{FAIL_GAUGE_ATTITUDE, FAIL_ACTION_NONE, 0},
                                     {FAIL_NONE, FAIL_ACTION_NONE, 0}};

// ---- attitude director copy
// ---------------------------------------------------------------------------

template <typename Element> constexpr Element failing(Element e) {
  e.header.failure_systems = attitude_failure;
  return e;
}

// Chain: 0 face, 1 sphere, 2 roll ring, 3 left index, 4 FD flag, 5 attitude flag, 6 pitch bar,
// 7 roll bar, 8 left pointer.
extern ELEMENT_SPRITE sphere, roll_ring;
extern ELEMENT_MOVING_IMAGE index_left, bar_pitch, bar_roll;
extern ELEMENT_ICON flag_fd, flag_att;
extern ELEMENT_NEEDLE pointer;

ELEMENT_STATIC_IMAGE adi_face =
    failing(k7::static_image(&gauge_fdadimini, 5488, {0, 0}, k7::TRANSPARENT, K7_NEXT(sphere)));
ELEMENT_SPRITE sphere =
    failing(k7::sprite(&gauge_fdadimini, 5504, {0, 0}, {163, 146}, 0.33f, LIT, {nullptr, 0.0},
                       {sphere_pitch, 1.0}, {sphere_bank, -1.0}, K7_NEXT(roll_ring)));
ELEMENT_SPRITE roll_ring =
    failing(k7::sprite(&gauge_fdadimini, 5632, {0, 0}, {161, 148}, 1.0f, LIT, {nullptr, 0.0},
                       {nullptr, 0.0}, {sphere_bank, -1.0}, K7_NEXT(index_left)));
ELEMENT_MOVING_IMAGE index_left = k7::moving_image(
    &gauge_fdadimini, 5648, {26, 36}, LIT, {no_shift, 0, 0}, {left_index, 0, 20}, K7_NEXT(flag_fd));
ELEMENT_ICON flag_fd = k7::icon(&gauge_fdadimini, 5664, {57, 188}, k7::HIDDEN, K7_NEXT(flag_att));
ELEMENT_ICON flag_att =
    k7::icon(&gauge_fdadimini, 5680, {193, 199}, k7::HIDDEN, K7_NEXT(bar_pitch));
ELEMENT_MOVING_IMAGE bar_pitch = k7::moving_image(
    &gauge_fdadimini, 5696, {27, 12}, LIT, {no_shift, 0, 0}, {pitch_bar, 0, 12}, K7_NEXT(bar_roll));
ELEMENT_MOVING_IMAGE bar_roll = k7::moving_image(
    &gauge_fdadimini, 5712, {27, 12}, LIT, {roll_bar, 0, 12}, {no_shift, 0, 0}, K7_NEXT(pointer));
ELEMENT_NEEDLE pointer = k7::needle(&gauge_fdadimini, 5728, {42, 260}, {4, 3}, k7::NEEDLE_DAY,
                                    left_pointer, left_pointer_table, 0, K7_END);

constexpr MOUSERECT adi_parent() {
  MOUSERECT r = k7::mouse_parent();
  r.help_id = 43789;
  return r;
}
MOUSERECT adi_mouse[] = {adi_parent(), K7_MOUSE_END};

void FSAPI adi_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::show(flag_fd, adi_flag_fd_shown == 1);
  k7::show(flag_att, adi_flag_att_shown == 1);
}

// ---- radio altimeter copy
// ----------------------------------------------------------------------------

constexpr NONLINEARITY ralt_dial[] = {
    {{105, 14}, 0, 0},    {{142, 23}, 50, 0},   {{171, 53}, 100, 0},  {{180, 93}, 150, 0},
    {{157, 142}, 200, 0}, {{134, 157}, 250, 0}, {{105, 163}, 300, 0}, {{66, 153}, 500, 0},
    {{51, 140}, 600, 0},  {{41, 127}, 700, 0},  {{34, 114}, 800, 0},  {{31, 101}, 900, 0},
    {{30, 88}, 1000, 0},  {{43, 46}, 1500, 0},  {{72, 21}, 2000, 0},  {{96, 14}, 2750, 0},
};
constexpr PIXPOINT RALT_PIVOT{105, 88};
constexpr FLAGS RALT_NEEDLE = IMAGE_USE_TRANSPARENCY | IMAGE_BILINEAR_COLOR;

FLOAT64 FSAPI ralt_pointer(ELEMENT_NEEDLE*) {
  ralt_ind = k7::clamp(ralt_ind, 0.0, 2750.0);
  return ralt_ind;
}
FLOAT64 FSAPI ralt_dh_index(ELEMENT_NEEDLE*) {
  if (ralt_dh > 2500) ralt_dh = 2500;
  return ralt_dh;
}

// Chain: 0 face, 1 fixed icon, 2 decision height index, 3 pointer, 4 OFF flag, 5 warm-up light,
// 6 pressed test button, 7 decision height lamp.
extern ELEMENT_ICON ralt_fixed, ralt_off, ralt_warm_light, ralt_test_img, ralt_dh_lamp;
extern ELEMENT_NEEDLE ralt_dh_needle, ralt_needle;
ELEMENT_STATIC_IMAGE ralt_face =
    k7::static_image(&gauge_raltmini, k7::bitmap_id(GAUGE_INDEX_ralt, 0), {0, 0}, k7::TRANSPARENT,
                     K7_NEXT(ralt_fixed));
ELEMENT_ICON ralt_fixed =
    k7::icon(&gauge_raltmini, 6528, {94, 16}, k7::TRANSPARENT, K7_NEXT(ralt_dh_needle));
ELEMENT_NEEDLE ralt_dh_needle = k7::needle(&gauge_raltmini, 6480, RALT_PIVOT, {-62, 8}, RALT_NEEDLE,
                                           ralt_dh_index, ralt_dial, 0, K7_NEXT(ralt_needle));
ELEMENT_NEEDLE ralt_needle = k7::needle(&gauge_raltmini, 6496, RALT_PIVOT, {-13, 5}, RALT_NEEDLE,
                                        ralt_pointer, ralt_dial, 0, K7_NEXT(ralt_off));
ELEMENT_ICON ralt_off =
    k7::icon(&gauge_raltmini, 6512, {111, 33}, k7::TRANSPARENT, K7_NEXT(ralt_warm_light));
ELEMENT_ICON ralt_warm_light =
    k7::icon(&gauge_raltmini, 8224, {165, 8}, k7::HIDDEN, K7_NEXT(ralt_test_img));
ELEMENT_ICON ralt_test_img =
    k7::icon(&gauge_raltmini, 8208, {165, 8}, k7::HIDDEN, K7_NEXT(ralt_dh_lamp));
ELEMENT_ICON ralt_dh_lamp = k7::icon(&gauge_raltmini, 8192, {24, 148}, k7::HIDDEN, K7_END);

// The radio altimeter's own areas, handlers and all.
MOUSERECT ralt_mouse[] = {
    k7::mouse_parent(),     k7::ralt_click_area(0), k7::ralt_click_area(1),
    k7::ralt_click_area(2), k7::ralt_click_area(3), k7::ralt_click_area(4),
    k7::ralt_click_area(5), k7::ralt_click_area(6), K7_MOUSE_END,
};

void FSAPI ralt_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::show(ralt_warm_light, ralt_warm_shown == 1);
  k7::show(ralt_off, ralt_off_shown == 1);
  k7::show(ralt_dh_lamp, ralt_dh_lamp_shown == 1);
  k7::show(ralt_test_img, ralt_test_img_shown == 1);
}

// ---- airspeed copy
// ----------------------------------------------------------------------------------------

constexpr NONLINEARITY ias_dial[] = {
    {{165, 40}, 0, 0},    {{177, 55}, 60, 0},   {{185, 72}, 70, 0},   {{190, 97}, 80, 0},
    {{181, 141}, 100, 0}, {{150, 175}, 120, 0}, {{127, 187}, 130, 0}, {{102, 191}, 140, 0},
    {{55, 178}, 160, 0},  {{39, 163}, 170, 0},  {{26, 147}, 180, 0},  {{18, 132}, 190, 0},
    {{14, 118}, 200, 0},  {{17, 70}, 250, 0},   {{49, 30}, 300, 0},   {{94, 13}, 350, 0},
    {{141, 23}, 400, 0},
};
constexpr NONLINEARITY ias_marker_dial[] = {
    {{190, 97}, 80, 0},   {{181, 141}, 100, 0}, {{150, 175}, 120, 0}, {{127, 187}, 130, 0},
    {{102, 191}, 140, 0}, {{55, 178}, 160, 0},  {{39, 163}, 170, 0},  {{26, 147}, 180, 0},
    {{18, 132}, 190, 0},  {{14, 118}, 200, 0},  {{17, 70}, 250, 0},
};
constexpr PIXPOINT IAS_PIVOT{103, 101};

FLOAT64 FSAPI ias_pointer(ELEMENT_NEEDLE*) {
  ias_ind = k7::clamp(ias_ind, 0.0, 400.0);
  return ias_ind;
}
FLOAT64 FSAPI ias_second_pointer(ELEMENT_NEEDLE*) {
  ias_second_ind = k7::clamp(ias_second_ind, 0.0, 400.0);
  return ias_second_ind;
}
FLOAT64 FSAPI ias_upper_marker(ELEMENT_NEEDLE*) {
  ias_marker_high = k7::clamp<u32>(ias_marker_high, 80, 250);
  return ias_marker_high;
}
FLOAT64 FSAPI ias_lower_marker(ELEMENT_NEEDLE*) {
  ias_marker_low = k7::clamp<u32>(ias_marker_low, 80, 250);
  return ias_marker_low;
}

// Chain: 0 face, 1 pointer, 2 second pointer, 3 upper marker, 4 lower marker.
extern ELEMENT_NEEDLE ias_needle, ias_second, ias_upper, ias_lower;
ELEMENT_STATIC_IMAGE ias_face =
    k7::static_image(&gauge_iasmini, 5392, {0, 0}, k7::TRANSPARENT, K7_NEXT(ias_needle));
ELEMENT_NEEDLE ias_needle = k7::needle(&gauge_iasmini, 5424, IAS_PIVOT, {30, 10}, RALT_NEEDLE,
                                       ias_pointer, ias_dial, 0, K7_NEXT(ias_second));
ELEMENT_NEEDLE ias_second = k7::needle(&gauge_iasmini, 5408, IAS_PIVOT, {42, 10}, RALT_NEEDLE,
                                       ias_second_pointer, ias_dial, 0, K7_NEXT(ias_upper));
ELEMENT_NEEDLE ias_upper = k7::needle(&gauge_iasmini, 5440, IAS_PIVOT, {-70, 4}, RALT_NEEDLE,
                                      ias_upper_marker, ias_marker_dial, 0, K7_NEXT(ias_lower));
ELEMENT_NEEDLE ias_lower = k7::needle(&gauge_iasmini, 5440, IAS_PIVOT, {-70, 4}, RALT_NEEDLE,
                                      ias_lower_marker, ias_marker_dial, 0, K7_END);

// The airspeed indicator's marker areas and buttons, handlers and all (no readout area).
MOUSERECT ias_mouse[] = {
    k7::mouse_parent(),     k7::ias_marker_area(0), k7::ias_marker_area(1), k7::ias_marker_area(2),
    k7::ias_marker_area(3), k7::ias_marker_area(4), k7::ias_marker_area(5), K7_MOUSE_END,
};

void FSAPI ias_callback(PGAUGEHDR, SINT32, GAUGE_EXTRA) {}

// ---- coupled-approach lamp copy
// -----------------------------------------------------------------------

ELEMENT_STATIC_IMAGE coupl_lamp =
    k7::static_image(&gauge_land_coupl_lightmini, 21536, {0, 0}, k7::HIDDEN, K7_END);
MOUSERECT coupl_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

// The coupled-approach lamp's rule (the full-size lamp's): while coupling is called for on the
// essential bus it raises its alarm once and lights, except during a landing-aid test without a
// valid radio altitude; the accepted alarm clears when coupling ends.
bool coupl_lamp_lit() {
  bool lit = false;
  if (land_coupl_state == 1 && elec_bus_ess == 1) {
    if (warn_req_coupl == 0 && land_test == 0) warn_req_coupl = 1;
    lit = !(ralt_valid == 0 && land_test >= 1);
  }
  if (warn_req_coupl == 2 && land_coupl_state == 0) warn_req_coupl = 0;
  return lit;
}

void FSAPI coupl_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::show(coupl_lamp, coupl_lamp_lit());
}

} // namespace

K7_GAUGE_HEADER(fdadimini, adi_face, adi_mouse, adi_callback);
K7_GAUGE_HEADER(iasmini, ias_face, ias_mouse, ias_callback);
K7_GAUGE_HEADER(raltmini, ralt_face, ralt_mouse, ralt_callback);
K7_GAUGE_HEADER(land_coupl_lightmini, coupl_lamp, coupl_mouse, coupl_callback);
