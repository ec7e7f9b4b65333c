// Second copies of captain's instruments for the pedestal: "kestovil fdadimini_k7" (the attitude
// director, without its night layer) and "kestovil land_coupl_lightmini_k7" (the coupled-approach
// lamp). The attitude copy shows the attitude director's own state: the full-size gauge must be
// running for it to move.
#include "autopilot/autopilot.h"
#include "electrical/electrical.h"
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/gauge.h"

namespace {

// ---- attitude director copy
// ---------------------------------------------------------------------------

constexpr double SPHERE_PITCH_LIMIT = 43.0;
constexpr FLAGS LIT = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS;

FAILURE_RECORD attitude_failure[] = {{FAIL_GAUGE_ATTITUDE, FAIL_ACTION_NONE, 0},
                                     {FAIL_NONE, FAIL_ACTION_NONE, 0}};

// The same values, and the same holds on the dial, as the full-size instrument's elements.
FLOAT64 FSAPI sphere_pitch(ELEMENT_SPRITE*) {
  adi_pitch_ind = k7::clamp(adi_pitch_ind, -SPHERE_PITCH_LIMIT, SPHERE_PITCH_LIMIT);
  return adi_pitch_ind;
}
FLOAT64 FSAPI sphere_bank(ELEMENT_SPRITE*) {
  return adi_bank_ind;
}
FLOAT64 FSAPI left_index(ELEMENT_MOVING_IMAGE*) {
  return adi_speed_index;
}
FLOAT64 FSAPI pitch_bar(ELEMENT_MOVING_IMAGE*) {
  return fd_pitch_bar;
}
FLOAT64 FSAPI roll_bar(ELEMENT_MOVING_IMAGE*) {
  return fd_roll_bar;
}
FLOAT64 FSAPI left_pointer(ELEMENT_NEEDLE*) {
  adi_speed_dev = k7::clamp<i32>(adi_speed_dev, -10, 20);
  return adi_speed_dev;
}
FLOAT64 FSAPI no_shift(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}

constexpr NONLINEARITY left_pointer_table[] = {
    {{28, 280}, -10, 0}, {{20, 271}, -5, 0}, {{15, 256}, 0, 0},  {{21, 242}, 5, 0},
    {{31, 233}, 10, 0},  {{47, 231}, 15, 0}, {{60, 238}, 20, 0},
};

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
K7_GAUGE_HEADER(land_coupl_lightmini, coupl_lamp, coupl_mouse, coupl_callback);
