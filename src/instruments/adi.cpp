// "kestovil fdadi_k7": the captain's attitude director. Its update runs the flight director
// computer first, then the attitude display: a sphere that follows the true attitude while the
// TADG supplies the gyro, topples toward 60 degrees of bank and level pitch when it does not,
// and erects again at one degree per update when the supply returns.
#include "autopilot/autopilot.h"
#include "autopilot/flight_director.h"
#include "electrical/electrical.h"
#include "instruments/gyro.h"
#include "instruments/adi_shared.h"
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/gauge.h"
#include "module/services.h"

#include <cmath>

namespace {

using namespace k7::adi_draw;

FAILURE_RECORD attitude_failure[] = {{FAIL_GAUGE_ATTITUDE, FAIL_ACTION_NONE, 0},
                                     {FAIL_NONE, FAIL_ACTION_NONE, 0}};

// ---- the bank display
// ---------------------------------------------------------------------------------

// A bank angle from the simulator brought into -180..180.
double signed_degrees(double angle) {
  if (!std::isfinite(angle)) return 0.0;
  return std::remainder(angle, 360.0);
}

// One update of the bank display. Toppling, the gyro drifts toward 60 degrees right wing down;
// erecting, it turns back the shorter way and snaps once within 2 degrees. An aircraft banked
// beyond -120 is reached by turning on over 180 rather than back through level.
double bank_step(double shown, double bank, bool powered, u8& erecting) {
  if (!powered) {
    erecting = 1;
    if (shown >= -120 && shown < 58) return shown + 1;
    if (shown > 62 && shown < 180) return shown - 1;
    if (shown >= -180 && shown < -120) shown -= 1;
    if (shown < -180) return 179.9; // past -180 it carries on from the other side
    return shown < -120 ? shown : 60.0;
  }
  if (!erecting) return bank;
  if (bank > 62 && bank < 180) {
    if (shown < bank - 2) return shown + 1;
  } else if (bank >= -180 && bank < -120) {
    if (shown > 0 && shown < 179.9) return shown + 1;
    if (shown >= 179.9) return -180.0;
    if (shown >= -180 && shown < bank - 2) return shown + 1;
  } else if (bank >= -120 && bank < 58) {
    if (shown > bank + 2) return shown - 1;
  }
  erecting = 0;
  return bank;
}

// ---- elements
// -------------------------------------------------------------------------------------------

constexpr PIXPOINT LEFT_POINTER_PIVOT{42, 260};
constexpr PIXPOINT LEFT_POINTER_BITMAP_PIVOT{4, 3};

extern ELEMENT_SPRITE sphere, roll_ring;
extern ELEMENT_MOVING_IMAGE index_left, bar_pitch, bar_roll;
extern ELEMENT_ICON flag_fd, flag_att, face_night;
extern ELEMENT_NEEDLE pointer_day, pointer_night;

ELEMENT_STATIC_IMAGE face_day = [] {
  auto e = k7::static_image(&gauge_fdadi, 5488, {0, 0}, k7::TRANSPARENT, K7_NEXT(sphere));
  e.header.failure_systems = attitude_failure;
  return e;
}();
ELEMENT_SPRITE sphere = [] {
  auto e = k7::sprite(&gauge_fdadi, 5504, {0, 0}, {163, 146}, 0.33f, LIT, {nullptr, 0.0},
                      {sphere_pitch, 1.0}, {sphere_bank, -1.0}, K7_NEXT(roll_ring));
  e.header.failure_systems = attitude_failure;
  return e;
}();
ELEMENT_SPRITE roll_ring = [] {
  auto e = k7::sprite(&gauge_fdadi, 5632, {0, 0}, {161, 148}, 1.0f, LIT, {nullptr, 0.0},
                      {nullptr, 0.0}, {sphere_bank, -1.0}, K7_NEXT(index_left));
  e.header.failure_systems = attitude_failure;
  return e;
}();
ELEMENT_MOVING_IMAGE index_left = k7::moving_image(
    &gauge_fdadi, 5648, {26, 36}, LIT, {no_shift, 0, 0}, {left_index, 0, 20}, K7_NEXT(flag_fd));
ELEMENT_ICON flag_fd = k7::icon(&gauge_fdadi, 5664, {57, 188}, k7::HIDDEN, K7_NEXT(flag_att));
ELEMENT_ICON flag_att = k7::icon(&gauge_fdadi, 5680, {193, 199}, k7::HIDDEN, K7_NEXT(bar_pitch));
ELEMENT_MOVING_IMAGE bar_pitch = k7::moving_image(
    &gauge_fdadi, 5696, {27, 12}, LIT, {no_shift, 0, 0}, {pitch_bar, 0, 12}, K7_NEXT(bar_roll));
ELEMENT_MOVING_IMAGE bar_roll = k7::moving_image(
    &gauge_fdadi, 5712, {27, 12}, LIT, {roll_bar, 0, 12}, {no_shift, 0, 0}, K7_NEXT(pointer_day));
ELEMENT_NEEDLE pointer_day =
    k7::needle(&gauge_fdadi, 5728, LEFT_POINTER_PIVOT, LEFT_POINTER_BITMAP_PIVOT, k7::NEEDLE_DAY,
               left_pointer, left_pointer_table, 0, K7_NEXT(face_night));
ELEMENT_ICON face_night =
    k7::icon(&gauge_fdadi, 8720, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(pointer_night));
ELEMENT_NEEDLE pointer_night =
    k7::needle(&gauge_fdadi, 8736, LEFT_POINTER_PIVOT, LEFT_POINTER_BITMAP_PIVOT,
               k7::NEEDLE_NIGHT | IMAGE_HIDDEN, left_pointer, left_pointer_table, 0, K7_END);

// The whole dial carries the instrument's help id; it answers no click.
MOUSERECT mouse[] = {
    [] {
      auto r = k7::mouse_parent();
      r.help_id = 43789;
      return r;
    }(),
    k7::mouse_tooltip("Attitude director"),
    K7_MOUSE_END,
};

// ---- the update
// -----------------------------------------------------------------------------------------

MODULE_VAR bank_var = sim::token(0x50);
MODULE_VAR pitch_var = sim::token(0x4E);
MODULE_VAR attitude_fail_a_var = sim::token(0x114);
MODULE_VAR attitude_fail_b_var = sim::token(0x120);

void update_attitude() {
  const bool attitude_failed =
      sim::read_finite(attitude_fail_a_var) == 1.0 || sim::read_finite(attitude_fail_b_var) == 1.0;
  const bool powered = elec_tadg_on == 1;
  if (attitude_failed) {
    adi_flag_att_shown = adi_flag_fd_shown = 1;
  } else if (powered) {
    adi_flag_att_shown = 0;
  }

  const double bank = signed_degrees(sim::read(bank_var));
  adi_bank_ind = bank_step(adi_bank_ind, bank, powered, adi_bank_erecting);
  const double pitch = k7::clamp(sim::read_finite(pitch_var), -90.0, 90.0);
  adi_pitch_ind = k7::gyro_pitch_step(adi_pitch_ind, pitch, powered, adi_pitch_erecting);

  adi_speed_index = 10.0 - 0.5 * adi_speed_dev;
}

void draw() {
  k7::show(flag_fd, adi_flag_fd_shown != 0);
  k7::show(flag_att, adi_flag_att_shown != 0);
  k7::draw({&face_day.header, &face_night.header});
  k7::draw({&pointer_day.header, &pointer_night.header});
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  fd_computer_update();
  update_attitude();
  draw();
}

} // namespace

K7_GAUGE_HEADER(fdadi, face_day, mouse, callback);
