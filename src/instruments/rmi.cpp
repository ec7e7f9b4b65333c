// "kestovil vor_k7" and "kestovil adf_k7": the two radio magnetic indicators. Each has a compass
// card driven by the gyro heading, a heading marker set with its own knob, a heading flag and two
// bearing pointers: the VOR one for the two NAV receivers (parked on a localizer or glide slope
// station), the ADF one for the two ADF receivers.
#include "electrical/electrical.h"
#include "instruments/airdata_kit.h"
#include "instruments/gyro.h"
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "radios/radios.h"

#include <numbers>

namespace {

MODULE_VAR heading = sim::token(0x54);
MODULE_VAR heading_failed = sim::token(0x11A);
MODULE_VAR panel_power_failed = sim::token(0x117);
MODULE_VAR nav1_bearing = sim::token(0x226);
MODULE_VAR nav2_bearing = sim::token(0x3B);
MODULE_VAR nav1_code = sim::token(0x2E);
MODULE_VAR nav2_code = sim::token(0x37);
MODULE_VAR adf1_bearing = sim::token(0x27);

constexpr u32 LOCALIZER_OR_GLIDE_SLOPE = 0x80 | 0x40;

// A pointer shows the bearing turned back a quarter, kept within 0..360.
double pointer_angle(double bearing) {
  const double b = k7::compass_degrees(bearing);
  return b < 90.0 ? b - 90.0 + 360.0 : b - 90.0;
}

struct Rmi {
  f64& card;
  u32& selection;
  f64& marker;
  f64& pointer1;
  f64& pointer2;
  u16& knob;
  u8& pointer_supply; // the AC bus the bearing pointers need
};

constexpr Rmi vor{rmi_vor_card, rmi_vor_sel,  rmi_vor_marker, rmi_vor_ptr1,
                  rmi_vor_ptr2, rmi_vor_knob, elec_ac_ess};
constexpr Rmi adf{rmi_adf_card, rmi_adf_sel,  rmi_adf_marker, rmi_adf_ptr1,
                  rmi_adf_ptr2, rmi_adf_knob, elec_ac_ess_b};

// Card, marker and heading flag, the same on both; returns whether the flag shows.
bool update_heading(const Rmi& r) {
  const double hdg = k7::compass_degrees(sim::read(heading));
  if (elec_ac_ess == 1 && elec_tadg_on == 1) r.marker = 360.0 - hdg + r.selection;
  if (elec_ac_main == 1 && elec_tadg_on == 1) r.card = hdg;
  return sim::read(heading_failed) == 1.0 || elec_ac_main == 0 ||
         sim::read_u32(panel_power_failed) == 1 || elec_tadg_on == 0;
}

double vor_pointer(MODULE_VAR& code, MODULE_VAR& bearing, u8 radio_bus, u8 selector) {
  if (elec_ac_ess != 1 || radio_bus != 1 || selector < 1) return 0.0;
  if ((sim::read_u32(code) & LOCALIZER_OR_GLIDE_SLOPE) != 0) return 0.0;
  return pointer_angle(sim::read_finite(bearing));
}

double adf_pointer(double bearing, u8 radio_bus, u8 mode) {
  if (elec_ac_ess_b != 1 || radio_bus != 1 || mode < 1) return 0.0;
  return pointer_angle(bearing);
}

// ---- elements
// ------------------------------------------------------------------------------------------

template <const Rmi& R> FLOAT64 FSAPI card_rotation(ELEMENT_SPRITE*) {
  return R.card;
}
template <const Rmi& R> FLOAT64 FSAPI marker_angle(ELEMENT_NEEDLE*) {
  return R.marker;
}
template <const Rmi& R> FLOAT64 FSAPI pointer1_angle(ELEMENT_NEEDLE*) {
  return R.pointer1;
}
template <const Rmi& R> FLOAT64 FSAPI pointer2_angle(ELEMENT_NEEDLE*) {
  return R.pointer2;
}
template <const Rmi& R> FLOAT64 FSAPI knob_angle(ELEMENT_NEEDLE*) {
  return R.knob;
}

constexpr PIXPOINT CENTRE{100, 100};
constexpr PIXPOINT KNOB_PIVOT{22, 176};
constexpr PIXPOINT KNOB_BITMAP_PIVOT{10, 10};
constexpr FLAGS NEEDLE = IMAGE_USE_TRANSPARENCY | IMAGE_BILINEAR_COLOR;
constexpr FLAGS KNOB_NIGHT_HIDDEN = k7::NEEDLE_NIGHT | IMAGE_HIDDEN;

// One instrument's chain: 0 face, 1 card, 2 heading marker, 3 pointer 2, 4 pointer 1, 5 heading
// flag, 6 knob, 7 night knob.
template <GAUGEHDR& Gauge, const Rmi& R, ID NightKnob> struct Elements {
  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_SPRITE card;
  static ELEMENT_NEEDLE marker, pointer2, pointer1, knob, night_knob;
  static ELEMENT_ICON flag;
};

template <GAUGEHDR& G, const Rmi& R, ID N>
ELEMENT_NEEDLE
    Elements<G, R, N>::night_knob = k7::needle_degrees(&G, N, KNOB_PIVOT, KNOB_BITMAP_PIVOT,
                                                       KNOB_NIGHT_HIDDEN, knob_angle<R>, 0, K7_END);
template <GAUGEHDR& G, const Rmi& R, ID N>
ELEMENT_NEEDLE Elements<G, R, N>::knob = k7::needle_degrees(&G, 30576, KNOB_PIVOT,
                                                            KNOB_BITMAP_PIVOT, k7::NEEDLE_DAY,
                                                            knob_angle<R>, 0, K7_NEXT(night_knob));
template <GAUGEHDR& G, const Rmi& R, ID N>
ELEMENT_ICON Elements<G, R, N>::flag = k7::icon(&G, 8832, {137, 127}, k7::HIDDEN, K7_NEXT(knob));
template <GAUGEHDR& G, const Rmi& R, ID N>
ELEMENT_NEEDLE Elements<G, R, N>::pointer1 = k7::needle_degrees(&G, 9008, CENTRE, {85, 10}, NEEDLE,
                                                                pointer1_angle<R>, 0,
                                                                K7_NEXT(flag));
template <GAUGEHDR& G, const Rmi& R, ID N>
ELEMENT_NEEDLE Elements<G, R, N>::pointer2 = k7::needle_degrees(&G, 8992, CENTRE, {85, 19}, NEEDLE,
                                                                pointer2_angle<R>, 0,
                                                                K7_NEXT(pointer1));
template <GAUGEHDR& G, const Rmi& R, ID N>
ELEMENT_NEEDLE Elements<G, R, N>::marker = k7::needle_degrees(&G, 8816, CENTRE, {16, 91}, NEEDLE,
                                                              marker_angle<R>, 0,
                                                              K7_NEXT(pointer2));
template <GAUGEHDR& G, const Rmi& R, ID N>
ELEMENT_SPRITE Elements<G, R, N>::card = k7::sprite(&G, 8976, {0, 0}, CENTRE, 1.0f,
                                                    IMAGE_USE_TRANSPARENCY, {nullptr, 0.0},
                                                    {nullptr, 0.0}, {card_rotation<R>, 1.0},
                                                    K7_NEXT(marker));
template <GAUGEHDR& G, const Rmi& R, ID N>
ELEMENT_STATIC_IMAGE Elements<G, R, N>::face = k7::static_image(&G, 8960, {0, 0}, k7::TRANSPARENT,
                                                                K7_NEXT(card));

using VorElements = Elements<gauge_vor, vor, 30720>;
using AdfElements = Elements<gauge_adf, adf, 30592>;

// ---- knob
// ----------------------------------------------------------------------------------------------

template <const Rmi& R, int Step> BOOL FSAPI on_knob(PPIXPOINT, FLAGS32) {
  R.selection = static_cast<u32>(k7::heading_knob_step(static_cast<i32>(R.selection), Step));
  R.knob = k7::knob_image_step(R.knob, Step);
  return FALSE_K7;
}

constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

template <const Rmi& R> struct KnobAreas { static MOUSERECT mouse[7]; };
template <const Rmi& R>
MOUSERECT KnobAreas<R>::mouse[7] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 159, 22, 21}, CURSOR_DOWNARROW, HELD, on_knob<R, -1>),
    k7::mouse_area({22, 159, 22, 21}, CURSOR_UPARROW, HELD, on_knob<R, 1>),
    k7::mouse_area({0, 180, 22, 21}, CURSOR_DOWNARROW, HELD, on_knob<R, -10>),
    k7::mouse_area({22, 180, 22, 21}, CURSOR_UPARROW, HELD, on_knob<R, 10>),
    K7_MOUSE_END,
};

// ---- update
// ------------------------------------------------------------------------------------------------

template <typename E> void draw(const Rmi&, bool flag) {
  k7::show(E::flag, flag);
  k7::draw({&E::knob.header, &E::night_knob.header});
}

void FSAPI vor_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool flag = update_heading(vor);
  vor.pointer1 = vor_pointer(nav1_code, nav1_bearing, elec_bus_radio1, radio_vordme_sel1);
  vor.pointer2 = vor_pointer(nav2_code, nav2_bearing, elec_bus_radio2, radio_vordme_sel2);
  draw<VorElements>(vor, flag);
}

void FSAPI adf_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool flag = update_heading(adf);
  const double adf2_degrees =
      k7::finite_or(sim::calc("(A:ADF Radial:2,radians)"), 0.0) * 180.0 / std::numbers::pi;
  adf.pointer1 = adf_pointer(sim::read_finite(adf1_bearing), elec_bus_radio1, radio_adf_mode1);
  adf.pointer2 = adf_pointer(adf2_degrees, elec_bus_radio2, radio_adf_mode2);
  draw<AdfElements>(adf, flag);
}

} // namespace

K7_GAUGE_HEADER(vor, VorElements::face, KnobAreas<vor>::mouse, vor_callback);
K7_GAUGE_HEADER(adf, AdfElements::face, KnobAreas<adf>::mouse, adf_callback);
