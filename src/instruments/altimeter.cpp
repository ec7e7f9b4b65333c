// "kestovil alti_main_k7": the drum altimeter. A hundreds pointer turns once per thousand feet
// over a four-drum counter; below sea level the counter shows the depth with a flag; two baro
// windows show the setting in inches and in hectopascals, set by the four baro areas. Without
// its AC supply, or failed, it freezes behind its shutters.
#include "electrical/electrical.h"
#include "instruments/airdata_kit.h"
#include "instruments/instruments.h"
#include "module/runs.h"

namespace {

constexpr double POINTER_LIMIT = 100.0;
constexpr u32 KEY_BARO_SET = 0x101F8; // value in 1/16 hPa
constexpr double ALTITUDE_MAX = 99999.0;
constexpr double BARO_HPA_MAX = 1100.0; // the simulator's highest setting

MODULE_VAR altitude = sim::token(0x4A);
MODULE_VAR baro_inhg = sim::token(0x4C);
MODULE_VAR baro_hpa_token = sim::token(0x4B);
MODULE_VAR altimeter_failed = sim::token(0x113);

// What the counter shows for an altitude: below sea level it counts the depth down from 1000
// (from 3000 below -1000 ft), with the negative flag beside it.
double drum_value(double a) {
  if (a >= 1.0) return a < ALTITUDE_MAX ? a : ALTITUDE_MAX;
  if (a > -1000.0 && a <= -1.0) return 1000.0 + a;
  if (a > -2000.0 && a <= -1000.0) return 3000.0 + a;
  return 0.0;
}

// ---- elements
// ------------------------------------------------------------------------------------------

// One turn per 100 units, both ways round from 0 at the top.
constexpr NONLINEARITY dial[] = {
    {{90, 6}, -100, 0},   {{140, 22}, -90, 0}, {{170, 64}, -80, 0}, {{170, 117}, -70, 0},
    {{140, 159}, -60, 0}, {{90, 175}, -50, 0}, {{40, 158}, -40, 0}, {{9, 117}, -30, 0},
    {{10, 64}, -20, 0},   {{41, 22}, -10, 0},  {{90, 6}, 0, 0},     {{140, 22}, 10, 0},
    {{170, 64}, 20, 0},   {{170, 117}, 30, 0}, {{140, 159}, 40, 0}, {{90, 175}, 50, 0},
    {{40, 158}, 60, 0},   {{9, 117}, 70, 0},   {{10, 64}, 80, 0},   {{41, 22}, 90, 0},
    {{90, 6}, 100, 0},
};

FLOAT64 FSAPI pointer_value(ELEMENT_NEEDLE*) {
  alt_hundreds_ind = k7::clamp(alt_hundreds_ind, -POINTER_LIMIT, POINTER_LIMIT);
  return alt_hundreds_ind;
}
FLOAT64 FSAPI no_shift(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}
// The altitude strips carry their digits downward: a drum shows 10 - its position.
FLOAT64 FSAPI drum_10000(ELEMENT_MOVING_IMAGE*) {
  return 10.0 - alt_drum_10000;
}
FLOAT64 FSAPI drum_1000(ELEMENT_MOVING_IMAGE*) {
  return 10.0 - alt_drum_1000;
}
FLOAT64 FSAPI drum_100(ELEMENT_MOVING_IMAGE*) {
  return 10.0 - alt_drum_100;
}
FLOAT64 FSAPI drum_10(ELEMENT_MOVING_IMAGE*) {
  return 10.0 - alt_drum_10;
}
template <f64& Reading, int Place> FLOAT64 FSAPI baro_drum(ELEMENT_MOVING_IMAGE*) {
  return k7::odometer_digit(Reading, Place);
}

constexpr FLAGS SHOWN = IMAGE_USE_TRANSPARENCY;
constexpr FLAGS NEEDLE = IMAGE_USE_TRANSPARENCY | IMAGE_BILINEAR_COLOR;
constexpr ID ALT_DRUM = k7::bitmap_id(GAUGE_INDEX_alti_main, 2); // masks at id + 1
constexpr ID BARO_DRUM = k7::bitmap_id(GAUGE_INDEX_alti_main, 4);

// Chain: 0 face, 1..4 altitude drums, 5 striped cover, 6 negative flag, 7..10 shutters,
// 11..14 inches drums, 15..18 hectopascal drums, 19 hundreds pointer.
constexpr k7::SlideEntry altitude_drums[] = {
    {ALT_DRUM, {54, 48}, SHOWN, no_shift, drum_10000, 0, 10},
    {ALT_DRUM, {72, 48}, SHOWN, no_shift, drum_1000, 0, 10},
    {ALT_DRUM, {90, 48}, SHOWN, no_shift, drum_100, 0, 10},
    {ALT_DRUM, {108, 48}, SHOWN, no_shift, drum_10, 0, 10},
};
constexpr k7::ImageEntry flags_table[] = {
    {8304, {54, 48}, k7::HIDDEN}, {8320, {54, 48}, k7::HIDDEN}, {8448, {54, 48}, k7::HIDDEN},
    {8448, {72, 48}, k7::HIDDEN}, {8448, {90, 48}, k7::HIDDEN}, {8448, {108, 48}, k7::HIDDEN},
};
enum : std::size_t { COVER, NEGATIVE_FLAG, SHUTTER_FIRST };
constexpr k7::SlideEntry baro_drums[] = {
    {BARO_DRUM, {112, 140}, SHOWN, no_shift, baro_drum<baro_inhg_x100, 1000>, 0, 10},
    {BARO_DRUM, {124, 140}, SHOWN, no_shift, baro_drum<baro_inhg_x100, 100>, 0, 10},
    {BARO_DRUM, {136, 140}, SHOWN, no_shift, baro_drum<baro_inhg_x100, 10>, 0, 10},
    {BARO_DRUM, {148, 140}, SHOWN, no_shift, baro_drum<baro_inhg_x100, 1>, 0, 10},
    {BARO_DRUM, {36, 140}, SHOWN, no_shift, baro_drum<baro_hpa, 1000>, 0, 10},
    {BARO_DRUM, {48, 140}, SHOWN, no_shift, baro_drum<baro_hpa, 100>, 0, 10},
    {BARO_DRUM, {60, 140}, SHOWN, no_shift, baro_drum<baro_hpa, 10>, 0, 10},
    {BARO_DRUM, {72, 140}, SHOWN, no_shift, baro_drum<baro_hpa, 1>, 0, 10},
};

extern ELEMENT_NEEDLE pointer;
using Baro = k7::Run<gauge_alti_main, baro_drums, K7_NEXT(pointer)>;
using Flags = k7::Run<gauge_alti_main, flags_table, Baro::head>;
using Drums = k7::Run<gauge_alti_main, altitude_drums, Flags::head>;

ELEMENT_STATIC_IMAGE face =
    k7::static_image(&gauge_alti_main, k7::bitmap_id(GAUGE_INDEX_alti_main, 0), {0, 0},
                     k7::TRANSPARENT, Drums::head);
ELEMENT_NEEDLE pointer =
    k7::needle(&gauge_alti_main, 8464, {90, 90}, {-7, 5}, NEEDLE, pointer_value, dial, 0, K7_END);

// ---- baro areas
// -------------------------------------------------------------------------------------------

// Each area reads the setting afresh and, with the altimeter powered and the setting inside its
// limit, sends the new setting in sixteenths of a hectopascal. A reading the simulator cannot
// hold (beyond 0..1100 hPa, or not a number) is not stepped from: nothing is sent.
template <int Step, int Limit> BOOL FSAPI on_baro(PPIXPOINT, FLAGS32) {
  const double hpa = sim::read(baro_hpa_token);
  if (elec_ac_ess_b != 1 || !(hpa >= 0.0 && hpa <= BARO_HPA_MAX)) return FALSE_K7;
  const bool inside = Step < 0 ? hpa > Limit : hpa < Limit;
  if (inside) sim::key_event(KEY_BARO_SET, k7::sat_cast<u32>(hpa * 16.0 + Step));
  return FALSE_K7;
}

constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 137, 16, 22}, CURSOR_DOWNARROW, HELD, on_baro<-1, 739>),
    k7::mouse_area({16, 137, 16, 22}, CURSOR_UPARROW, HELD, on_baro<1, 1053>),
    k7::mouse_area({0, 159, 16, 22}, CURSOR_DOWNARROW, HELD, on_baro<-10, 749>),
    k7::mouse_area({16, 159, 16, 22}, CURSOR_UPARROW, HELD, on_baro<10, 1043>),
    K7_MOUSE_END,
};

// ---- update
// ------------------------------------------------------------------------------------------------

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double a = k7::clamp(sim::read_finite(altitude), -1.0e6, 1.0e6);
  const bool powered = elec_ac_ess_b == 1;
  if (powered) {
    alt_hundreds_ind = a / 10.0 - 100.0 * std::trunc(a / 1000.0);
    alt_drum_value = drum_value(a);
    const double v = alt_drum_value;
    alt_drum_10000 = k7::odometer_digit(v, 10000);
    alt_drum_1000 = k7::odometer_digit(v, 1000);
    alt_drum_100 = k7::odometer_digit(v, 100);
    alt_drum_10 = std::fmod(v, 100.0) / 10.0;
  }
  baro_inhg_x100 = k7::clamp(sim::read_finite(baro_inhg) * 100.0, 0.0, 9999.0);
  baro_hpa = k7::clamp(sim::read_finite(baro_hpa_token), 0.0, 9999.0);

  ELEMENT_ICON* flag = Flags::element;
  const bool shuttered = !powered || sim::read(altimeter_failed) == 1.0;
  for (std::size_t i = SHUTTER_FIRST; i < Flags::size; ++i)
    k7::show(flag[i], shuttered);
  if (!shuttered) {
    if (a <= -1.0) {
      k7::show(flag[NEGATIVE_FLAG], true);
    } else if (a < 10000.0) {
      k7::show(flag[NEGATIVE_FLAG], false);
      k7::show(flag[COVER], true);
    } else {
      k7::show(flag[NEGATIVE_FLAG], false);
      k7::show(flag[COVER], false);
    }
  }

  const bool night = elec_panel_night == 1;
  k7::lit(face, night);
  k7::lit(pointer, night);
  for (auto& e : Drums::element)
    k7::lit(e, night);
  for (auto& e : Flags::element)
    k7::lit(e, night);
  for (auto& e : Baro::element)
    k7::lit(e, night);
}

} // namespace

K7_GAUGE_HEADER(alti_main, face, mouse, callback);
