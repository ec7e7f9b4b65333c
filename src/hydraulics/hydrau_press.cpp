// "kestovil hydrau_press_green_k7", "..._blue_k7", "..._yellow_k7" and "..._red_k7": the four
// circuit pressure gauges. No gauge callback: the needle reads the pressure, the face icon picks
// its day or night image.
#include "module/daynight.h"
#include "hydraulics/hydraulics.h"

namespace {

const NONLINEARITY main_scale[] = {
    {{133, 49}, 0, 0},    {{122, 111}, 1000, 0}, {{66, 138}, 2000, 0},
    {{11, 105}, 3000, 0}, {{7, 41}, 4000, 0},    {{53, 3}, 5000, 0},
};
const NONLINEARITY red_scale[] = {
    {{119, 22}, 0, 0},    {{138, 84}, 1000, 0}, {{97, 134}, 2000, 0},
    {{33, 129}, 3000, 0}, {{0, 72}, 4000, 0},   {{29, 15}, 5000, 0},
};

// Chain: 0 bezel, 1 face (day and night images: bitmaps art(1) and art(1) + 1), 2 needle.
template <GAUGEHDR& Gauge, int Index, u16& Pressure, const NONLINEARITY (&Scale)[6]>
struct PressureGauge {
  static constexpr ID art(int n) { return k7::bitmap_id(Index, n); }
  static ELEMENT_STATIC_IMAGE bezel;
  static ELEMENT_ICON face;
  static ELEMENT_NEEDLE needle;
  static MOUSERECT mouse[3];
  static FLOAT64 FSAPI pressure(ELEMENT_NEEDLE*) { return Pressure; }
};
template <GAUGEHDR& G, int I, u16& P, const NONLINEARITY (&S)[6]>
ELEMENT_STATIC_IMAGE PressureGauge<G, I, P, S>::bezel = k7::static_image(&G, art(0), {0, 0},
                                                                         k7::ART_DAY,
                                                                         K7_NEXT(face));
template <GAUGEHDR& G, int I, u16& P, const NONLINEARITY (&S)[6]>
ELEMENT_ICON PressureGauge<G, I, P, S>::face = k7::icon(&G, art(1), {0, 0}, k7::ART_DAY,
                                                        K7_NEXT(needle), k7::day_or_night_image, 2);
template <GAUGEHDR& G, int I, u16& P, const NONLINEARITY (&S)[6]>
ELEMENT_NEEDLE PressureGauge<G, I, P, S>::needle = k7::needle(&G, art(3), {70, 70}, {5, 5},
                                                              k7::NEEDLE_DAY, pressure, S, 20,
                                                              K7_END);
template <GAUGEHDR& G, int I, u16& P, const NONLINEARITY (&S)[6]>
MOUSERECT PressureGauge<G, I, P, S>::mouse[3] = {k7::mouse_parent(), K7_MOUSE_END};

using Green = PressureGauge<gauge_hydrau_press_green, GAUGE_INDEX_hydrau_press_green,
                            hydrau_press_green, main_scale>;
using Blue = PressureGauge<gauge_hydrau_press_blue, GAUGE_INDEX_hydrau_press_blue,
                           hydrau_press_blue, main_scale>;
using Yellow = PressureGauge<gauge_hydrau_press_yellow, GAUGE_INDEX_hydrau_press_yellow,
                             hydrau_press_yellow, main_scale>;
using Red = PressureGauge<gauge_hydrau_press_red, GAUGE_INDEX_hydrau_press_red, hydrau_press_red,
                          red_scale>;

} // namespace

K7_GAUGE_HEADER(hydrau_press_green, Green::bezel, Green::mouse, nullptr);
K7_GAUGE_HEADER(hydrau_press_blue, Blue::bezel, Blue::mouse, nullptr);
K7_GAUGE_HEADER(hydrau_press_yellow, Yellow::bezel, Yellow::mouse, nullptr);
K7_GAUGE_HEADER(hydrau_press_red, Red::bezel, Red::mouse, nullptr);
