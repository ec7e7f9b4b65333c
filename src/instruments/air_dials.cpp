// "kestovil vsi_k7", "kestovil mach_k7" and "kestovil aoa_k7": the three plain air data dials.
// The vertical speed needle follows the simulator at once; the Mach pointer climbs at most 10 per
// update and runs down when its sensor fails; the angle-of-attack vane freezes, with its flag,
// without the generator bus.
#include "electrical/electrical.h"
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/services.h"

namespace {

constexpr FLAGS NEEDLE_NIGHT_HIDDEN = k7::NEEDLE_NIGHT | IMAGE_HIDDEN;

// A dial with its face and needle in a day and a night copy: face, needle, night face, night
// needle in the chain.
void draw_dial(ELEMENT_NEEDLE& needle, ELEMENT_ICON& night_face, ELEMENT_NEEDLE& night_needle) {
  const bool night = k7::panel_night();
  k7::show(needle, !night);
  k7::show(night_face, night);
  k7::show(night_needle, night);
}

// ---- vertical speed
// ------------------------------------------------------------------------------------

constexpr double VSI_LIMIT = 6000.0;
MODULE_VAR vertical_speed = sim::token(0x41); // 1/256 m/s

constexpr NONLINEARITY vsi_dial[] = {
    {{164, 101}, -6000, 0}, {{162, 116}, -5000, 0}, {{149, 138}, -4000, 0}, {{122, 160}, -3000, 0},
    {{83, 166}, -2000, 0},  {{35, 141}, -1000, 0},  {{16, 90}, 0, 0},       {{33, 39}, 1000, 0},
    {{82, 15}, 2000, 0},    {{121, 21}, 3000, 0},   {{149, 43}, 4000, 0},   {{161, 64}, 5000, 0},
    {{166, 79}, 6000, 0},
};

FLOAT64 FSAPI vsi_value(ELEMENT_NEEDLE*) {
  vsi_ind = k7::clamp(vsi_ind, -VSI_LIMIT, VSI_LIMIT);
  return vsi_ind;
}

extern ELEMENT_NEEDLE vsi_needle, vsi_night_needle;
extern ELEMENT_ICON vsi_night_face;
ELEMENT_STATIC_IMAGE vsi_face =
    k7::static_image(&gauge_vsi, 9584, {0, 0}, k7::TRANSPARENT, K7_NEXT(vsi_needle));
ELEMENT_NEEDLE vsi_needle = k7::needle(&gauge_vsi, 9600, {90, 90}, {27, 7}, k7::NEEDLE_DAY,
                                       vsi_value, vsi_dial, 0, K7_NEXT(vsi_night_face));
ELEMENT_ICON vsi_night_face =
    k7::icon(&gauge_vsi, 9728, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(vsi_night_needle));
ELEMENT_NEEDLE vsi_night_needle = k7::needle(&gauge_vsi, 9744, {90, 90}, {27, 7},
                                             NEEDLE_NIGHT_HIDDEN, vsi_value, vsi_dial, 0, K7_END);

void FSAPI vsi_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  vsi_ind =
      k7::clamp(sim::read_finite(vertical_speed) / 256.0 * 3.281 * 60.0, -VSI_LIMIT, VSI_LIMIT);
  draw_dial(vsi_needle, vsi_night_face, vsi_night_needle);
}

MOUSERECT vsi_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

// ---- Mach
// ----------------------------------------------------------------------------------------------

constexpr double MACH_MAX = 1000.0;
constexpr double MACH_STEP = 10.0;
MODULE_VAR mach_raw = sim::token(0x40);
MODULE_VAR mach_failed = sim::token(0x112);

constexpr NONLINEARITY mach_dial[] = {
    {{93, 3}, 0, 0},      {{93, 3}, 150, 0},    {{127, 12}, 300, 0}, {{175, 60}, 400, 0},
    {{175, 129}, 500, 0}, {{127, 176}, 600, 0}, {{59, 177}, 700, 0}, {{10, 128}, 800, 0},
    {{10, 60}, 900, 0},   {{59, 11}, 1000, 0},
};

FLOAT64 FSAPI mach_value(ELEMENT_NEEDLE*) {
  mach_ind = k7::clamp(mach_ind, 0.0, MACH_MAX);
  return mach_ind;
}

extern ELEMENT_NEEDLE mach_needle, mach_night_needle;
extern ELEMENT_ICON mach_night_face;
ELEMENT_STATIC_IMAGE mach_face =
    k7::static_image(&gauge_mach, 10592, {0, 0}, k7::TRANSPARENT, K7_NEXT(mach_needle));
ELEMENT_NEEDLE mach_needle = k7::needle(&gauge_mach, 10560, {93, 93}, {29, 10}, k7::NEEDLE_DAY,
                                        mach_value, mach_dial, 0, K7_NEXT(mach_night_face));
ELEMENT_ICON mach_night_face =
    k7::icon(&gauge_mach, 10608, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(mach_night_needle));
ELEMENT_NEEDLE mach_night_needle = k7::needle(
    &gauge_mach, 10576, {93, 93}, {29, 10}, NEEDLE_NIGHT_HIDDEN, mach_value, mach_dial, 0, K7_END);

void FSAPI mach_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double raw = sim::read_finite(mach_raw);
  mach_target = raw <= 3000.0 ? 0.0 : k7::clamp(raw / 20.0 - 5.0, 0.0, MACH_MAX);
  if (sim::read(mach_failed) == 1.0)
    mach_ind = mach_ind <= MACH_STEP ? 0.0 : mach_ind - MACH_STEP;
  else
    mach_ind = mach_ind < mach_target - MACH_STEP ? mach_ind + MACH_STEP : mach_target;
  mach_ind = k7::clamp(mach_ind, 0.0, MACH_MAX);
  draw_dial(mach_needle, mach_night_face, mach_night_needle);
}

MOUSERECT mach_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

// ---- angle of attack
// -----------------------------------------------------------------------------------

constexpr double AOA_MAX = 32767.0;
MODULE_VAR angle_of_attack = sim::token(0x15D);
MODULE_VAR angle_of_attack_other = sim::token(0x15E); // looked up with it, not shown

constexpr NONLINEARITY aoa_dial[] = {
    {{143, 29}, 0, 0},        {{166, 59}, 3510.75, 0}, {{166, 121}, 9362, 0},
    {{122, 165}, 15213.2, 0}, {{59, 166}, 21064.5, 0}, {{16, 121}, 26915.8, 0},
    {{16, 59}, 32767, 0},
};

FLOAT64 FSAPI aoa_value(ELEMENT_NEEDLE*) {
  aoa_ind = k7::clamp(aoa_ind, 0.0, AOA_MAX);
  return aoa_ind;
}

// Chain: 0 face, 1 needle, 2 power flag, 3 night face, 4 night needle, 5 night power flag.
extern ELEMENT_NEEDLE aoa_needle, aoa_night_needle;
extern ELEMENT_ICON aoa_flag, aoa_night_face, aoa_night_flag;
ELEMENT_STATIC_IMAGE aoa_face =
    k7::static_image(&gauge_aoa, 10016, {0, 0}, k7::TRANSPARENT, K7_NEXT(aoa_needle));
ELEMENT_NEEDLE aoa_needle = k7::needle(&gauge_aoa, 10048, {90, 90}, {24, 5}, k7::NEEDLE_DAY,
                                       aoa_value, aoa_dial, 0, K7_NEXT(aoa_flag));
ELEMENT_ICON aoa_flag =
    k7::icon(&gauge_aoa, 10032, {109, 85}, k7::ART_DAY, K7_NEXT(aoa_night_face));
ELEMENT_ICON aoa_night_face =
    k7::icon(&gauge_aoa, 10064, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(aoa_night_needle));
ELEMENT_NEEDLE aoa_night_needle =
    k7::needle(&gauge_aoa, 10096, {90, 90}, {24, 5}, NEEDLE_NIGHT_HIDDEN, aoa_value, aoa_dial, 0,
               K7_NEXT(aoa_night_flag));
ELEMENT_ICON aoa_night_flag = k7::icon(&gauge_aoa, 10080, {109, 85}, k7::NIGHT_HIDDEN, K7_END);

void FSAPI aoa_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double vane = sim::read_finite(angle_of_attack);
  sim::read(angle_of_attack_other);
  const bool powered = elec_bus_gen == 1;
  if (powered) aoa_ind = k7::clamp(vane, 0.0, AOA_MAX);
  draw_dial(aoa_needle, aoa_night_face, aoa_night_needle);
  k7::draw({&aoa_flag.header, &aoa_night_flag.header}, !powered);
}

MOUSERECT aoa_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

} // namespace

K7_GAUGE_HEADER(vsi, vsi_face, vsi_mouse, vsi_callback);
K7_GAUGE_HEADER(mach, mach_face, mach_mouse, mach_callback);
K7_GAUGE_HEADER(aoa, aoa_face, aoa_mouse, aoa_callback);
