// The control surface position indicators ("kestovil surf_elev_k7" with the pitch-trim index,
// "kestovil surf_ail_k7", "kestovil surf_rud_k7"), shown and hidden together by a click on any of
// them, and the flap position indicator ("kestovil flapsind_k7") showing the flap angles that the
// TAT dial keeps. The surface needles need the instrument AC bus and the flight-control
// hydraulics; without them they stay where they were.
#include "instruments/engine_twins.h"
#include "module/named_var.h"
#include "module/services.h"
#include "panels/panels.h"

#include <initializer_list>

namespace {

// ---- the three surface indicators
// ---------------------------------------------------------------------

constexpr PIXPOINT SURFACE_PIVOT{60, 60}, SURFACE_NEEDLE_PIVOT{8, 4};

// Calibration tables run in rising order of value (the needle interpolates between neighbouring
// rows): the elevator's nose-down points come first.
constexpr NONLINEARITY elevator_dial[] = {
    {{116, 60}, -12000, 0}, {{112, 42}, -10000, 0}, {{96, 17}, -5000, 0}, {{60, 3}, 0, 0},
    {{20, 16}, 5000, 0},    {{25, 42}, 10000, 0},   {{7, 78}, 15000, 0},  {{24, 102}, 20000, 0},
    {{50, 114}, 25000, 0},  {{79, 112}, 30000, 0},
};
constexpr NONLINEARITY aileron_dial[] = {
    {{43, 113}, -25000, 0}, {{26, 102}, -20000, 0}, {{8, 78}, -15000, 0},  {{7, 42}, -10000, 0},
    {{26, 15}, -5000, 0},   {{60, 6}, 0, 0},        {{96, 17}, 5000, 0},   {{112, 43}, 10000, 0},
    {{112, 77}, 15000, 0},  {{95, 103}, 20000, 0},  {{79, 112}, 25000, 0},
};
constexpr NONLINEARITY rudder_dial[] = {
    {{29, 106}, -25000, 0}, {{10, 84}, -20000, 0}, {{5, 60}, -15000, 0},  {{12, 32}, -10000, 0},
    {{31, 12}, -5000, 0},   {{60, 3}, 0, 0},       {{88, 11}, 5000, 0},   {{108, 32}, 10000, 0},
    {{116, 60}, 15000, 0},  {{110, 85}, 20000, 0}, {{90, 107}, 25000, 0},
};

bool surfaces_alive() {
  return elec_ac_instr == 1 && hyd_flight_ctl_lost == 0;
}

BOOL FSAPI on_surface_click(PPIXPOINT, FLAGS32) {
  surf_ind_shown = surf_ind_shown == 0;
  return 0;
}

constexpr MOUSERECT surface_parent() {
  MOUSERECT r = k7::mouse_parent();
  r.help_id = 43575;
  return r;
}

template <GAUGEHDR&>
MOUSERECT surface_mouse[] = {
    surface_parent(),
    k7::mouse_area({0, 0, 121, 121}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_surface_click),
    K7_MOUSE_END,
};

// What differs between the three: the token, how the raw position becomes the needle value, the
// dial, the state kept, and the needle bitmaps.
struct Surface {
  ENUM token;
  double factor_down, factor_up; // for positions below and from 0
  double low, high;
  f64& shown;
  ID face_day, face_night, needle_day, needle_night;
};

template <int GaugeIndex> constexpr ID own_bitmap(int n) {
  return k7::bitmap_id(GaugeIndex, n);
}

constexpr Surface elevator{0x13D,
                           0.75,
                           1.875,
                           -12000,
                           30000,
                           surf_elev_ind,
                           own_bitmap<GAUGE_INDEX_surf_elev>(0),
                           own_bitmap<GAUGE_INDEX_surf_elev>(1),
                           26496,
                           26624};
constexpr Surface aileron{0x139,
                          1.375,
                          1.375,
                          -25000,
                          25000,
                          surf_ail_ind,
                          own_bitmap<GAUGE_INDEX_surf_ail>(0),
                          own_bitmap<GAUGE_INDEX_surf_ail>(1),
                          own_bitmap<GAUGE_INDEX_surf_ail>(2),
                          own_bitmap<GAUGE_INDEX_surf_ail>(3)};
constexpr Surface rudder{0x13C,
                         1.5625,
                         1.5625,
                         -25000,
                         25000,
                         surf_rud_ind,
                         own_bitmap<GAUGE_INDEX_surf_rud>(0),
                         own_bitmap<GAUGE_INDEX_surf_rud>(1),
                         own_bitmap<GAUGE_INDEX_surf_rud>(2),
                         own_bitmap<GAUGE_INDEX_surf_rud>(3)};

// A surface indicator's day face and needle and their night copies (chain 0-3); the elevator's
// trim index follows them (4 day, 5 night).
template <const Surface& S, const auto& Table, GAUGEHDR& G, ELEMENT_HEADER* Tail = nullptr>
struct SurfaceGauge {
  static FLOAT64 FSAPI needle_value(ELEMENT_NEEDLE*) { return k7::on_dial(S.shown, S.low, S.high); }
  static ELEMENT_NEEDLE make_needle(ID bitmap, FLAGS flags, PELEMENT_HEADER* next) {
    return k7::needle(&G, bitmap, SURFACE_PIVOT, SURFACE_NEEDLE_PIVOT, flags, needle_value, Table,
                      0, next);
  }
  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_NEEDLE needle, night_needle;
  static ELEMENT_ICON night_face;
  static PELEMENT_HEADER tail[2];

  // Reads the surface (frozen while its indication is dead) and draws the copy the lighting
  // calls for, or nothing while the indicators are put away.
  static void update() {
    static MODULE_VAR position = sim::token(S.token);
    const double p = sim::read_finite(position);
    if (surfaces_alive())
      S.shown = k7::clamp(p * (p < 0 ? S.factor_down : S.factor_up), S.low, S.high);
    const bool shown = surf_ind_shown == 1;
    k7::draw({&face.header, &night_face.header}, shown);
    k7::draw({&needle.header, &night_needle.header}, shown);
  }
  static void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
    if (service == PANEL_SERVICE_PRE_UPDATE) update();
  }
};

template <const Surface& S, const auto& Table, GAUGEHDR& G, ELEMENT_HEADER* Tail>
PELEMENT_HEADER SurfaceGauge<S, Table, G, Tail>::tail[2] = {Tail, nullptr};
template <const Surface& S, const auto& Table, GAUGEHDR& G, ELEMENT_HEADER* Tail>
ELEMENT_STATIC_IMAGE SurfaceGauge<S, Table, G, Tail>::face = k7::static_image(
    &G, S.face_day, {0, 0}, k7::DAY_HIDDEN, K7_NEXT((SurfaceGauge<S, Table, G, Tail>::needle)));
template <const Surface& S, const auto& Table, GAUGEHDR& G, ELEMENT_HEADER* Tail>
ELEMENT_NEEDLE SurfaceGauge<S, Table, G, Tail>::needle =
    make_needle(S.needle_day, k7::NEEDLE_DAY | IMAGE_HIDDEN,
                K7_NEXT((SurfaceGauge<S, Table, G, Tail>::night_face)));
template <const Surface& S, const auto& Table, GAUGEHDR& G, ELEMENT_HEADER* Tail>
ELEMENT_ICON SurfaceGauge<S, Table, G, Tail>::night_face =
    k7::icon(&G, S.face_night, {0, 0}, k7::NIGHT_HIDDEN,
             K7_NEXT((SurfaceGauge<S, Table, G, Tail>::night_needle)));
template <const Surface& S, const auto& Table, GAUGEHDR& G, ELEMENT_HEADER* Tail>
ELEMENT_NEEDLE SurfaceGauge<S, Table, G, Tail>::night_needle =
    make_needle(S.needle_night, k7::NEEDLE_NIGHT | IMAGE_HIDDEN, Tail ? tail : K7_END);

// ---- pitch-trim index
// ---------------------------------------------------------------------------------

constexpr double TRIM_CENTRE = 8, TRIM_CORRECTION = 1.5, TRIM_CORRECTED_TOP = 15, TRIM_TOP = 16;

FLOAT64 FSAPI no_shift(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}
FLOAT64 FSAPI trim_value(ELEMENT_MOVING_IMAGE*) {
  return surf_trim_ind;
}
extern ELEMENT_MOVING_IMAGE trim_night;
ELEMENT_MOVING_IMAGE trim_day =
    k7::moving_image(&gauge_surf_elev, 26672, {78, 65}, k7::DAY_HIDDEN, {no_shift, 0, 0},
                     {trim_value, 0, TRIM_TOP}, K7_NEXT(trim_night));
ELEMENT_MOVING_IMAGE trim_night =
    k7::moving_image(&gauge_surf_elev, 26688, {78, 65}, k7::NIGHT_HIDDEN, {no_shift, 0, 0},
                     {trim_value, 0, TRIM_TOP}, K7_END);

MODULE_VAR trim_var = sim::token(0x13E);

void update_trim() {
  const double base = sim::read_finite(trim_var) / 2000 + TRIM_CENTRE;
  double corr = 0.0;
  k7::named_read("TRIM_CORR", corr);
  surf_trim_corr = k7::clamp(corr, -1e6, 1e6);
  const double index =
      corr == 1.0 ? k7::clamp(base + TRIM_CORRECTION, 0.0, TRIM_CORRECTED_TOP) : base;
  surf_trim_ind = k7::clamp(index, 0.0, TRIM_TOP);
  k7::draw({&trim_day.header, &trim_night.header}, surf_ind_shown == 1);
}

using Elevator = SurfaceGauge<elevator, elevator_dial, gauge_surf_elev, &trim_day.header>;
using Aileron = SurfaceGauge<aileron, aileron_dial, gauge_surf_ail>;
using Rudder = SurfaceGauge<rudder, rudder_dial, gauge_surf_rud>;

void FSAPI elevator_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  Elevator::update();
  update_trim();
}

// ---- flap position indicator
// --------------------------------------------------------------------------

constexpr NONLINEARITY flap_dial[] = {
    {{12, 113}, 0, 0},   {{109, 11}, 5, 0},  {{167, 64}, 10, 0},
    {{151, 152}, 20, 0}, {{71, 172}, 35, 0},
};
FLOAT64 FSAPI flap_left(ELEMENT_NEEDLE*) {
  return k7::on_dial(flaps_ind_left, 0, 35);
}
FLOAT64 FSAPI flap_right(ELEMENT_NEEDLE*) {
  return k7::on_dial(flaps_ind_right, 0, 35);
}
ELEMENT_NEEDLE flap_needle(ID bitmap, FLAGS flags, PNEEDLE_UPDATE_CB value, PELEMENT_HEADER* next) {
  return k7::needle(&gauge_flapsind, bitmap, {90, 90}, {-13, 7}, flags, value, flap_dial, 0, next);
}

// Chain: 0 face, 1 left needle, 2 right needle, 3 night face, 4-5 night needles.
extern ELEMENT_NEEDLE flaps_left, flaps_right, flaps_left_night, flaps_right_night;
extern ELEMENT_ICON flaps_night_face;
ELEMENT_STATIC_IMAGE flaps_face =
    k7::static_image(&gauge_flapsind, 10352, {0, 0}, k7::TRANSPARENT, K7_NEXT(flaps_left));
ELEMENT_NEEDLE flaps_left = flap_needle(10288, k7::NEEDLE_DAY, flap_left, K7_NEXT(flaps_right));
ELEMENT_NEEDLE flaps_right =
    flap_needle(10320, k7::NEEDLE_DAY, flap_right, K7_NEXT(flaps_night_face));
ELEMENT_ICON flaps_night_face =
    k7::icon(&gauge_flapsind, 26176, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(flaps_left_night));
ELEMENT_NEEDLE flaps_left_night =
    flap_needle(26144, k7::NEEDLE_NIGHT | IMAGE_HIDDEN, flap_left, K7_NEXT(flaps_right_night));
ELEMENT_NEEDLE flaps_right_night =
    flap_needle(26160, k7::NEEDLE_NIGHT | IMAGE_HIDDEN, flap_right, K7_END);

void FSAPI flaps_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::draw_night_layer(
      {&flaps_night_face.header, &flaps_left_night.header, &flaps_right_night.header});
}

MOUSERECT flaps_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

} // namespace

K7_GAUGE_HEADER(surf_elev, Elevator::face, surface_mouse<gauge_surf_elev>, elevator_callback);
K7_GAUGE_HEADER(surf_ail, Aileron::face, surface_mouse<gauge_surf_ail>, Aileron::callback);
K7_GAUGE_HEADER(surf_rud, Rudder::face, surface_mouse<gauge_surf_rud>, Rudder::callback);
K7_GAUGE_HEADER(flapsind, flaps_face, flaps_mouse, flaps_callback);
