// "kestovil horiz_sec_k7": the standby horizon. Its gyro needs the essential AC buses and the
// TADG; without them it topples to 30 degrees left bank and level pitch and raises its flag, and
// with them back it erects at one degree per update. A knob sets the pitch reference index.
#include "electrical/electrical.h"
#include "instruments/gyro.h"
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/services.h"

namespace {

constexpr double TOPPLED_BANK = -30.0;
constexpr double SPHERE_PITCH_LIMIT = 43.0;
constexpr i32 KNOB_LIMIT = 10;

MODULE_VAR bank_token = sim::token(0x50);
MODULE_VAR pitch_token = sim::token(0x4E);
MODULE_VAR attitude_failed_a = sim::token(0x120);
MODULE_VAR attitude_failed_b = sim::token(0x114);

// Unpowered: the display drifts toward -30 degrees, the long way over 180 when it stands beyond
// 150 (wrapping from 179.9 to -180).
double toppled(double shown) {
  if (shown > -28.0 && shown <= 150.0) return shown - 1.0;
  if (shown >= 179.9) return -180.0;
  if (shown > 150.0 && shown < 180.0) return shown + 1.0;
  if (shown >= -180.0 && shown < -32.0) return shown + 1.0;
  return TOPPLED_BANK;
}

// Powered again: the display turns toward the true bank at 1 degree per update and snaps to it
// when close, clearing `erecting`.
double erected(double shown, double bank, u8& erecting) {
  if (bank >= -180.0 && bank < -32.5) {
    if (shown < bank - 2.0) return shown + 1.0;
  } else if (bank >= 150.0 && bank < 180.0) {
    if (shown <= -180.0) return 179.9;
    if (shown < 150.0) return shown - 1.0;
  } else if (bank > -27.5 && bank < 150.0) {
    if (shown < bank - 2.0) return shown + 1.0;
  }
  erecting = 0;
  return bank;
}

// ---- elements
// ------------------------------------------------------------------------------------------

constexpr NONLINEARITY knob_dial[] = {
    {{300, 243}, -10, 0},
    {{258, 261}, 0, 0},
    {{242, 301}, 10, 0},
};
constexpr PIXPOINT SPHERE_CENTRE{169, 172};
constexpr PIXPOINT KNOB_PIVOT{300, 301};
constexpr PIXPOINT KNOB_NEEDLE_PIVOT{-39, 6};
constexpr PIXPOINT INDEX_AT{90, 141};
constexpr PIXPOINT FLAG_AT{243, 111};
constexpr PIXPOINT KNOB_FACE_AT{241, 243};
constexpr FLAGS NEEDLE_NIGHT_HIDDEN = k7::NEEDLE_NIGHT | IMAGE_HIDDEN;

FLOAT64 FSAPI sphere_pitch(ELEMENT_SPRITE*) {
  return k7::clamp(hsec_pitch_ind, -SPHERE_PITCH_LIMIT, SPHERE_PITCH_LIMIT);
}
FLOAT64 FSAPI sphere_bank(ELEMENT_SPRITE*) {
  return hsec_bank_ind;
}
FLOAT64 FSAPI no_shift(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}
FLOAT64 FSAPI index_position(ELEMENT_MOVING_IMAGE*) {
  hsec_ref_index = k7::clamp(hsec_ref_index, 0.0, 20.0);
  return hsec_ref_index;
}
FLOAT64 FSAPI knob_value(ELEMENT_NEEDLE*) {
  hsec_knob = k7::clamp(hsec_knob, -KNOB_LIMIT, KNOB_LIMIT);
  return hsec_knob;
}

// Day and night copies of the seven parts (face, sphere, ring, index, flag, knob face, knob
// needle). Chain: 0..6 day, 7..13 night.
extern ELEMENT_SPRITE sphere, ring, night_sphere, night_ring;
extern ELEMENT_MOVING_IMAGE index_day, night_index;
extern ELEMENT_ICON flag, knob_face, night_face, night_flag, night_knob_face;
extern ELEMENT_NEEDLE knob, night_knob;

ELEMENT_STATIC_IMAGE face =
    k7::static_image(&gauge_horiz_sec, 9024, {0, 0}, k7::TRANSPARENT, K7_NEXT(sphere));
ELEMENT_SPRITE sphere =
    k7::sprite(&gauge_horiz_sec, 9040, {0, 0}, SPHERE_CENTRE, 0.5f, k7::ART_DAY, {nullptr, 0.0},
               {sphere_pitch, 2.0}, {sphere_bank, -1.0}, K7_NEXT(ring));
ELEMENT_SPRITE ring =
    k7::sprite(&gauge_horiz_sec, 9056, {0, 0}, SPHERE_CENTRE, 1.0f, k7::ART_DAY, {nullptr, 0.0},
               {nullptr, 0.0}, {sphere_bank, -1.0}, K7_NEXT(index_day));
ELEMENT_MOVING_IMAGE index_day =
    k7::moving_image(&gauge_horiz_sec, 9072, INDEX_AT, k7::ART_DAY, {no_shift, 0, 0},
                     {index_position, 0, 20}, K7_NEXT(flag));
ELEMENT_ICON flag = k7::icon(&gauge_horiz_sec, 9088, FLAG_AT, k7::DAY_HIDDEN, K7_NEXT(knob_face));
ELEMENT_ICON knob_face = k7::icon(&gauge_horiz_sec, 9216, KNOB_FACE_AT, k7::ART_DAY, K7_NEXT(knob));
ELEMENT_NEEDLE knob = k7::needle(&gauge_horiz_sec, 9232, KNOB_PIVOT, KNOB_NEEDLE_PIVOT,
                                 k7::NEEDLE_DAY, knob_value, knob_dial, 0, K7_NEXT(night_face));
ELEMENT_ICON night_face =
    k7::icon(&gauge_horiz_sec, 9248, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(night_sphere));
ELEMENT_SPRITE night_sphere =
    k7::sprite(&gauge_horiz_sec, 9264, {0, 0}, SPHERE_CENTRE, 0.5f, k7::NIGHT_HIDDEN,
               {nullptr, 0.0}, {sphere_pitch, 2.0}, {sphere_bank, -1.0}, K7_NEXT(night_ring));
ELEMENT_SPRITE night_ring =
    k7::sprite(&gauge_horiz_sec, 9280, {0, 0}, SPHERE_CENTRE, 1.0f, k7::NIGHT_HIDDEN,
               {nullptr, 0.0}, {nullptr, 0.0}, {sphere_bank, -1.0}, K7_NEXT(night_index));
ELEMENT_MOVING_IMAGE night_index =
    k7::moving_image(&gauge_horiz_sec, 9296, INDEX_AT, k7::NIGHT_HIDDEN, {no_shift, 0, 0},
                     {index_position, 0, 20}, K7_NEXT(night_flag));
ELEMENT_ICON night_flag =
    k7::icon(&gauge_horiz_sec, 9568, FLAG_AT, k7::NIGHT_HIDDEN, K7_NEXT(night_knob_face));
ELEMENT_ICON night_knob_face =
    k7::icon(&gauge_horiz_sec, 8752, KNOB_FACE_AT, k7::NIGHT_HIDDEN, K7_NEXT(night_knob));
ELEMENT_NEEDLE night_knob = k7::needle(&gauge_horiz_sec, 8768, KNOB_PIVOT, KNOB_NEEDLE_PIVOT,
                                       NEEDLE_NIGHT_HIDDEN, knob_value, knob_dial, 0, K7_END);

// ---- knob
// ----------------------------------------------------------------------------------------------

BOOL FSAPI on_knob_up(PPIXPOINT, FLAGS32) {
  if (hsec_knob < KNOB_LIMIT) ++hsec_knob;
  return FALSE_K7;
}
BOOL FSAPI on_knob_down(PPIXPOINT, FLAGS32) {
  if (hsec_knob > -KNOB_LIMIT) --hsec_knob;
  return FALSE_K7;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({260, 243, 40, 101}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_knob_up),
    k7::mouse_area({300, 243, 40, 101}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_knob_down),
    K7_MOUSE_END,
};

// ---- update
// ------------------------------------------------------------------------------------------------

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool powered = elec_ac_ess == 1 && elec_ac_ess_b == 1 && elec_tadg_on == 1;
  hsec_knob = k7::clamp(hsec_knob, -KNOB_LIMIT, KNOB_LIMIT);
  hsec_ref_index = hsec_knob + 10.0;

  const double bank = sim::read_finite(bank_token);
  if (!powered) {
    hsec_bank_erecting = 1;
    hsec_bank_ind = toppled(hsec_bank_ind);
  } else if (hsec_bank_erecting == 1) {
    hsec_bank_ind = erected(hsec_bank_ind, bank, hsec_bank_erecting);
  } else {
    hsec_bank_ind = bank;
  }
  hsec_bank_ind = k7::clamp(hsec_bank_ind, -181.0, 181.0);
  hsec_pitch_ind = k7::clamp(k7::gyro_pitch_step(hsec_pitch_ind, sim::read_finite(pitch_token),
                                                 powered, hsec_pitch_erecting),
                             -90.0, 90.0);

  const bool flag_up =
      sim::read(attitude_failed_a) == 1.0 || sim::read(attitude_failed_b) == 1.0 || !powered;
  k7::draw({&sphere.header, &night_sphere.header});
  k7::draw({&ring.header, &night_ring.header});
  k7::draw({&index_day.header, &night_index.header});
  k7::draw({&flag.header, &night_flag.header}, flag_up);
  k7::draw({&knob_face.header, &night_knob_face.header});
  k7::draw({&knob.header, &night_knob.header});
  k7::show(night_face, k7::panel_night());
}

} // namespace

K7_GAUGE_HEADER(horiz_sec, face, mouse, callback);
