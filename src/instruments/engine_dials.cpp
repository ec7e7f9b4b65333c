// The engine dials of the main panel, each written once for both engines: thrust indicator with its
// reference index, two-hand tachometer, exhaust temperature, fuel flow, oil pressure and oil
// temperature. Thrust, tachometer and exhaust temperature read the simulator without power; the
// other three run down to their rest positions when their supply goes.
#include "instruments/engine_twins.h"
#include "module/named_var.h"
#include "module/services.h"

#include <cmath>

namespace {

using k7::EngineTwin;

constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

template <auto& Value> FLOAT64 FSAPI degrees_value(ELEMENT_SPRITE*) {
  return static_cast<FLOAT64>(Value);
}

// ---- thrust indicator
// ---------------------------------------------------------------------------------

constexpr NONLINEARITY thrust_dial[] = {
    {{87, 87}, 0, 0}, {{80, 94}, 55, 0}, {{62, 102}, 60, 0}, {{26, 96}, 70, 0}, {{3, 69}, 80, 0},
    {{3, 35}, 90, 0}, {{23, 6}, 100, 0}, {{58, 0}, 110, 0},  {{77, 5}, 115, 0},
};
constexpr int THRUST_INDEX_TOP = 90;

template <const EngineTwin& E, GAUGEHDR& G> struct Thrust {
  static FLOAT64 FSAPI needle_value(ELEMENT_NEEDLE*) { return k7::on_dial(E.thrust_ind, 0, 115); }
  static FLOAT64 FSAPI index_angle(ELEMENT_SPRITE*) { return E.thrust_index_angle; }

  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_SPRITE index;
  static ELEMENT_NEEDLE needle;
  static ELEMENT_ICON night_face;
  static ELEMENT_SPRITE night_index;
  static ELEMENT_NEEDLE night_needle;

  static ELEMENT_SPRITE index_sprite(ID bitmap, FLAGS flags, PELEMENT_HEADER* next) {
    return k7::sprite(&G, bitmap, {70, 23}, {51, 51}, 2.51f, flags, {nullptr, 0.0}, {nullptr, 0.0},
                      {index_angle, 1.0}, next);
  }
  static ELEMENT_NEEDLE thrust_needle(ID bitmap, FLAGS flags, PELEMENT_HEADER* next) {
    return k7::needle(&G, bitmap, {51, 51}, {16, 10}, flags, needle_value, thrust_dial, 0, next);
  }

  static BOOL FSAPI index_down(PPIXPOINT, FLAGS32) {
    if (E.thrust_index > 0) --E.thrust_index;
    return 0;
  }
  static BOOL FSAPI index_up(PPIXPOINT, FLAGS32) {
    if (E.thrust_index < THRUST_INDEX_TOP) ++E.thrust_index;
    return 0;
  }
  static MOUSERECT mouse[];

  static void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
    static MODULE_VAR fan_speed = sim::token(E.fan_speed_token);
    if (service != PANEL_SERVICE_PRE_UPDATE) return;
    E.thrust_ind = k7::clamp(sim::read_finite(fan_speed), 0.0, 115.0);
    E.thrust_index_angle = 3.0 * E.thrust_index;
    k7::draw_night_layer({&night_face.header, &night_index.header, &night_needle.header});
  }
};

template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_STATIC_IMAGE Thrust<E, G>::face = k7::static_image(&G, 12864, {0, 0}, k7::TRANSPARENT,
                                                           K7_NEXT((Thrust<E, G>::index)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_SPRITE Thrust<E, G>::index = index_sprite(12896, k7::ART_DAY,
                                                  K7_NEXT((Thrust<E, G>::needle)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_NEEDLE Thrust<E, G>::needle = thrust_needle(12832, k7::NEEDLE_DAY,
                                                    K7_NEXT((Thrust<E, G>::night_face)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_ICON Thrust<E, G>::night_face = k7::icon(&G, 12880, {0, 0}, k7::NIGHT_HIDDEN,
                                                 K7_NEXT((Thrust<E, G>::night_index)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_SPRITE Thrust<E, G>::night_index = index_sprite(12912, k7::NIGHT_HIDDEN,
                                                        K7_NEXT((Thrust<E, G>::night_needle)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_NEEDLE Thrust<E, G>::night_needle = thrust_needle(12848, k7::NEEDLE_NIGHT | IMAGE_HIDDEN,
                                                          K7_END);
template <const EngineTwin& E, GAUGEHDR& G>
MOUSERECT Thrust<E, G>::mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({84, 82, 16, 34}, CURSOR_DOWNARROW, HELD, index_down),
    k7::mouse_area({100, 82, 16, 34}, CURSOR_UPARROW, HELD, index_up),
    K7_MOUSE_END,
};

// ---- tachometer
// ---------------------------------------------------------------------------------------

// Both hands turn over the same ten dial points: the long hand once per 1000 rpm, the short hand
// once per 10 000.
template <int Scale> struct TurnDial {
  static constexpr NONLINEARITY table[] = {
      {{56, 4}, 0, 0},           {{87, 15}, Scale, 0},     {{105, 40}, 2 * Scale, 0},
      {{109, 72}, 3 * Scale, 0}, {{87, 99}, 4 * Scale, 0}, {{56, 108}, 5 * Scale, 0},
      {{25, 98}, 6 * Scale, 0},  {{6, 72}, 7 * Scale, 0},  {{7, 40}, 8 * Scale, 0},
      {{26, 14}, 9 * Scale, 0},  {{56, 4}, 10 * Scale, 0},
  };
};
constexpr double RPM_TOP = 10000.0;

template <const EngineTwin& E, GAUGEHDR& G> struct Tachometer {
  static FLOAT64 FSAPI long_hand(ELEMENT_NEEDLE*) { return k7::on_dial(E.rpm_units, 0, 1000); }
  static FLOAT64 FSAPI short_hand(ELEMENT_NEEDLE*) { return k7::on_dial(E.rpm_ind, 0, RPM_TOP); }

  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_NEEDLE long_day, short_day, long_night, short_night;
  static ELEMENT_ICON night_face;

  template <int Scale>
  static ELEMENT_NEEDLE hand(ID bitmap, FLAGS flags, PNEEDLE_UPDATE_CB value,
                             PELEMENT_HEADER* next) {
    return k7::needle(&G, bitmap, {56, 56}, {19, 6}, flags, value, TurnDial<Scale>::table, 0, next);
  }

  static void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
    if (service != PANEL_SERVICE_PRE_UPDATE) return;
    // Asked again every update: the publishing module may load after this one.
    double rpm = 0.0;
    k7::named_read(E.turbine_rpm, rpm);
    E.rpm_ind = k7::clamp(rpm, 0.0, RPM_TOP);
    E.rpm_thousands = static_cast<i32>(E.rpm_ind / 1000);
    E.rpm_units = E.rpm_ind - 1000.0 * E.rpm_thousands;
    k7::draw_night_layer({&night_face.header, &long_night.header, &short_night.header});
  }
};

template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_STATIC_IMAGE Tachometer<E, G>::face =
    k7::static_image(&G, 12624, {0, 0}, k7::TRANSPARENT, K7_NEXT((Tachometer<E, G>::long_day)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_NEEDLE Tachometer<E, G>::long_day = hand<100>(12592, k7::NEEDLE_DAY, long_hand,
                                                      K7_NEXT((Tachometer<E, G>::short_day)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_NEEDLE Tachometer<E, G>::short_day = hand<1000>(12560, k7::NEEDLE_DAY, short_hand,
                                                        K7_NEXT((Tachometer<E, G>::night_face)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_ICON Tachometer<E, G>::night_face = k7::icon(&G, 12640, {0, 0}, k7::NIGHT_HIDDEN,
                                                     K7_NEXT((Tachometer<E, G>::long_night)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_NEEDLE Tachometer<E, G>::long_night = hand<100>(12608, k7::NEEDLE_NIGHT | IMAGE_HIDDEN,
                                                        long_hand,
                                                        K7_NEXT((Tachometer<E, G>::short_night)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_NEEDLE Tachometer<E, G>::short_night = hand<1000>(12576, k7::NEEDLE_NIGHT | IMAGE_HIDDEN,
                                                          short_hand, K7_END);

// ---- one-needle dials: exhaust temperature, fuel flow, oil pressure, oil temperature
// ---------------

struct Needle {
  ID day, night;
  PIXPOINT pivot, bitmap_pivot;
};

// A face and one needle, with their night copies; `Dial` gives the artwork, the calibration
// table, the needle's value and the update of the shown value.
template <typename Dial, const EngineTwin& E, GAUGEHDR& G> struct OneNeedle {
  static FLOAT64 FSAPI value(ELEMENT_NEEDLE*) { return Dial::needle_value(E); }

  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_NEEDLE needle, night_needle;
  static ELEMENT_ICON night_face;

  static ELEMENT_NEEDLE make_needle(ID bitmap, FLAGS flags, PELEMENT_HEADER* next) {
    return k7::needle(&G, bitmap, Dial::needle.pivot, Dial::needle.bitmap_pivot, flags, value,
                      Dial::table, 0, next);
  }

  static void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
    static MODULE_VAR input = sim::token(Dial::token(E));
    if (service != PANEL_SERVICE_PRE_UPDATE) return;
    Dial::update(E, sim::read_finite(input));
    k7::draw_night_layer({&night_face.header, &night_needle.header});
  }
};

template <typename Dial, const EngineTwin& E, GAUGEHDR& G>
ELEMENT_STATIC_IMAGE
    OneNeedle<Dial, E, G>::face = k7::static_image(&G, Dial::face_day, {0, 0}, k7::TRANSPARENT,
                                                   K7_NEXT((OneNeedle<Dial, E, G>::needle)));
template <typename Dial, const EngineTwin& E, GAUGEHDR& G>
ELEMENT_NEEDLE OneNeedle<Dial, E, G>::needle =
    make_needle(Dial::needle.day, k7::NEEDLE_DAY, K7_NEXT((OneNeedle<Dial, E, G>::night_face)));
template <typename Dial, const EngineTwin& E, GAUGEHDR& G>
ELEMENT_ICON
    OneNeedle<Dial, E, G>::night_face = k7::icon(&G, Dial::face_night(E), {0, 0}, k7::NIGHT_HIDDEN,
                                                 K7_NEXT((OneNeedle<Dial, E, G>::night_needle)));
template <typename Dial, const EngineTwin& E, GAUGEHDR& G>
ELEMENT_NEEDLE OneNeedle<Dial, E, G>::night_needle = make_needle(Dial::needle.night,
                                                                 k7::NEEDLE_NIGHT | IMAGE_HIDDEN,
                                                                 K7_END);

struct ExhaustTemp {
  static constexpr ID face_day = 10256;
  static constexpr ID face_night(const EngineTwin&) { return 10272; }
  static constexpr Needle needle{10112, 10240, {56, 56}, {19, 6}};
  static constexpr NONLINEARITY table[] = {
      {{17, 90}, 0, 0},    {{5, 64}, 100, 0},   {{8, 35}, 200, 0},
      {{27, 12}, 300, 0},  {{56, 5}, 400, 0},   {{84, 12}, 500, 0},
      {{103, 35}, 600, 0}, {{108, 64}, 700, 0}, {{95, 91}, 800, 0},
  };
  static constexpr ENUM token(const EngineTwin& e) { return e.exhaust_token; }
  // No power needed, no smoothing; the needle is not held on the dial (the table ends hold it).
  static void update(const EngineTwin& e, double rankine) {
    e.egt_ind = k7::clamp(k7::celsius(rankine), -300.0, 3000.0);
  }
  static FLOAT64 needle_value(const EngineTwin& e) { return e.egt_ind; }
};

struct FuelFlow {
  static constexpr ID face_day = 10528;
  static constexpr ID face_night(const EngineTwin&) { return 10544; }
  static constexpr Needle needle{10496, 10512, {51, 50}, {-9, 4}};
  static constexpr NONLINEARITY table[] = {
      {{88, 14}, 0, 0},    {{101, 50}, 1000, 0}, {{87, 87}, 2000, 0}, {{51, 101}, 3000, 0},
      {{13, 87}, 4000, 0}, {{0, 50}, 5000, 0},   {{14, 13}, 6000, 0},
  };
  static constexpr double TOP = 6000, STEP = 100;
  static constexpr ENUM token(const EngineTwin& e) { return e.fuel_flow_token; }
  static void update(const EngineTwin& e, double pounds_per_hour) {
    const double target = k7::clamp(pounds_per_hour * 0.453, 0.0, TOP); // kg/h
    e.ff_ind = elec_ac_main_b == 1 && elec_bus_gen == 1 ? k7::slew(e.ff_ind, target, STEP)
                                                        : k7::run_down(e.ff_ind, STEP, 0.0);
  }
  static FLOAT64 needle_value(const EngineTwin& e) { return k7::on_dial(e.ff_ind, 0, TOP); }
};

struct OilPress {
  static constexpr ID face_day = 12304;
  static constexpr ID face_night(const EngineTwin& e) { return e.oil_press_night_face; }
  static constexpr Needle needle{10624, 12288, {54, 54}, {-18, 4}};
  static constexpr NONLINEARITY table[] = {
      {{16, 91}, 0, 0}, {{17, 16}, 20, 0}, {{90, 17}, 40, 0}, {{92, 93}, 60, 0}};
  static constexpr double TOP = 60, STEP = 5;
  static constexpr ENUM token(const EngineTwin& e) { return e.oil_press_token; }
  static void update(const EngineTwin& e, double raw) {
    const double target = k7::clamp(raw / 200.0, 0.0, TOP);
    e.oilp_ind = elec_ac_instr == 1 ? k7::slew(e.oilp_ind, target, STEP)
                                    : k7::run_down(e.oilp_ind, STEP, 0.0);
  }
  static FLOAT64 needle_value(const EngineTwin& e) { return k7::on_dial(e.oilp_ind, 0, TOP); }
};

// The oil temperature dial's needle passes under a fixed cover; both have night copies. Written
// out rather than through OneNeedle because of the cover.
struct OilTemp {
  static constexpr NONLINEARITY table[] = {
      {{0, 46}, -50, 0},  {{27, 28}, 0, 0},    {{54, 23}, 50, 0},
      {{82, 28}, 100, 0}, {{107, 46}, 150, 0},
  };
  static constexpr double BOTTOM = -50, TOP = 150, STEP = 20;
  static void update(const EngineTwin& e, double rankine) {
    const double target = k7::clamp(k7::celsius(rankine), BOTTOM, TOP);
    e.oilt_ind = elec_bus_main == 1 ? k7::slew(e.oilt_ind, target, STEP)
                                    : k7::run_down(e.oilt_ind, STEP, BOTTOM);
  }
};

template <const EngineTwin& E, GAUGEHDR& G> struct OilTempGauge {
  static FLOAT64 FSAPI value(ELEMENT_NEEDLE*) {
    return k7::on_dial(E.oilt_ind, OilTemp::BOTTOM, OilTemp::TOP);
  }
  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_NEEDLE needle, night_needle;
  static ELEMENT_ICON cover, night_face, night_cover;

  static ELEMENT_NEEDLE make_needle(ID bitmap, FLAGS flags, PELEMENT_HEADER* next) {
    return k7::needle(&G, bitmap, {54, 80}, {-20, 4}, flags, value, OilTemp::table, 0, next);
  }

  static void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
    static MODULE_VAR input = sim::token(E.oil_temp_token);
    if (service != PANEL_SERVICE_PRE_UPDATE) return;
    OilTemp::update(E, sim::read_finite(input));
    k7::draw_night_layer({&night_face.header, &night_needle.header, &night_cover.header});
  }
};

template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_STATIC_IMAGE OilTempGauge<E, G>::face =
    k7::static_image(&G, 12384, {0, 0}, k7::TRANSPARENT, K7_NEXT((OilTempGauge<E, G>::needle)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_NEEDLE OilTempGauge<E, G>::needle = make_needle(12352, k7::NEEDLE_DAY,
                                                        K7_NEXT((OilTempGauge<E, G>::cover)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_ICON OilTempGauge<E, G>::cover = k7::icon(&G, 12416, {3, 57}, k7::ART_DAY,
                                                  K7_NEXT((OilTempGauge<E, G>::night_face)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_ICON OilTempGauge<E, G>::night_face = k7::icon(&G, 12400, {0, 0}, k7::NIGHT_HIDDEN,
                                                       K7_NEXT((OilTempGauge<E, G>::night_needle)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_NEEDLE OilTempGauge<E, G>::night_needle =
    make_needle(12368, k7::NEEDLE_NIGHT | IMAGE_HIDDEN, K7_NEXT((OilTempGauge<E, G>::night_cover)));
template <const EngineTwin& E, GAUGEHDR& G>
ELEMENT_ICON OilTempGauge<E, G>::night_cover = k7::icon(&G, 12544, {3, 57}, k7::NIGHT_HIDDEN,
                                                        K7_END);

// ---- the twelve gauges
// --------------------------------------------------------------------------------

using Thrust1 = Thrust<k7::engine_1, gauge_thrust_1>;
using Thrust2 = Thrust<k7::engine_2, gauge_thrust_2>;
using Rpm1 = Tachometer<k7::engine_1, gauge_rpm_1>;
using Rpm2 = Tachometer<k7::engine_2, gauge_rpm_2>;
using Egt1 = OneNeedle<ExhaustTemp, k7::engine_1, gauge_engtemp_1>;
using Egt2 = OneNeedle<ExhaustTemp, k7::engine_2, gauge_engtemp_2>;
using Ff1 = OneNeedle<FuelFlow, k7::engine_1, gauge_fuelflow_1>;
using Ff2 = OneNeedle<FuelFlow, k7::engine_2, gauge_fuelflow_2>;
using OilP1 = OneNeedle<OilPress, k7::engine_1, gauge_oilpress_1>;
using OilP2 = OneNeedle<OilPress, k7::engine_2, gauge_oilpress_2>;
using OilT1 = OilTempGauge<k7::engine_1, gauge_oiltemp_1>;
using OilT2 = OilTempGauge<k7::engine_2, gauge_oiltemp_2>;

// Dials without click areas: an empty list each.
template <GAUGEHDR&> MOUSERECT no_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

} // namespace

K7_GAUGE_HEADER(thrust_1, Thrust1::face, Thrust1::mouse, Thrust1::callback);
K7_GAUGE_HEADER(thrust_2, Thrust2::face, Thrust2::mouse, Thrust2::callback);
K7_GAUGE_HEADER(rpm_1, Rpm1::face, no_mouse<gauge_rpm_1>, Rpm1::callback);
K7_GAUGE_HEADER(rpm_2, Rpm2::face, no_mouse<gauge_rpm_2>, Rpm2::callback);
K7_GAUGE_HEADER(engtemp_1, Egt1::face, no_mouse<gauge_engtemp_1>, Egt1::callback);
K7_GAUGE_HEADER(engtemp_2, Egt2::face, no_mouse<gauge_engtemp_2>, Egt2::callback);
K7_GAUGE_HEADER(fuelflow_1, Ff1::face, no_mouse<gauge_fuelflow_1>, Ff1::callback);
K7_GAUGE_HEADER(fuelflow_2, Ff2::face, no_mouse<gauge_fuelflow_2>, Ff2::callback);
K7_GAUGE_HEADER(oilpress_1, OilP1::face, no_mouse<gauge_oilpress_1>, OilP1::callback);
K7_GAUGE_HEADER(oilpress_2, OilP2::face, no_mouse<gauge_oilpress_2>, OilP2::callback);
K7_GAUGE_HEADER(oiltemp_1, OilT1::face, no_mouse<gauge_oiltemp_1>, OilT1::callback);
K7_GAUGE_HEADER(oiltemp_2, OilT2::face, no_mouse<gauge_oiltemp_2>, OilT2::callback);
