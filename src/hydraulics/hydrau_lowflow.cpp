// "kestovil hydrau_lowflow_g_k7" and "kestovil hydrau_lowflow_b_k7": the low-flow lamps of the two
// engine-driven pumps of the green and of the blue circuit, one lamp per pump, lit below 1400 psi
// while the hydraulic indicator supply is powered.
#include "electrical/electrical.h"
#include "module/daynight.h"
#include "hydraulics/hyd_logic.h"
#include "hydraulics/hydraulics.h"

namespace {

// Chain: 0 face, 1 night face, 2-3 lamp of pump 1 (day, night), 4-5 lamp of pump 2.
template <GAUGEHDR& Gauge, int Index, u16& Pump1, u16& Pump2, PIXEL Lamp2X> struct LowFlow {
  static constexpr ID art(int n) { return k7::bitmap_id(Index, n); }
  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_ICON face_night, lamp1_day, lamp1_night, lamp2_day, lamp2_night;
  static MOUSERECT mouse[3];

  static void update() {
    const bool powered = elec_bus_ess_hyd != 0;
    k7::draw({&face.header, &face_night.header});
    k7::draw({&lamp1_day.header, &lamp1_night.header}, powered && Pump1 < hyd::LOW_FLOW);
    k7::draw({&lamp2_day.header, &lamp2_night.header}, powered && Pump2 < hyd::LOW_FLOW);
  }
};

template <GAUGEHDR& G, int I, u16& P1, u16& P2, PIXEL X>
ELEMENT_STATIC_IMAGE LowFlow<G, I, P1, P2, X>::face = k7::static_image(&G, art(0), {0, 0},
                                                                       k7::ART_DAY,
                                                                       K7_NEXT(face_night));
template <GAUGEHDR& G, int I, u16& P1, u16& P2, PIXEL X>
ELEMENT_ICON LowFlow<G, I, P1, P2, X>::face_night = k7::icon(&G, art(1), {0, 0},
                                                             k7::ART_NIGHT | IMAGE_HIDDEN,
                                                             K7_NEXT(lamp1_day));
template <GAUGEHDR& G, int I, u16& P1, u16& P2, PIXEL X>
ELEMENT_ICON LowFlow<G, I, P1, P2, X>::lamp1_day = k7::icon(&G, art(2), {8, 8},
                                                            k7::ART_DAY | IMAGE_HIDDEN,
                                                            K7_NEXT(lamp1_night));
template <GAUGEHDR& G, int I, u16& P1, u16& P2, PIXEL X>
ELEMENT_ICON LowFlow<G, I, P1, P2, X>::lamp1_night = k7::icon(&G, art(3), {8, 8},
                                                              k7::ART_NIGHT | IMAGE_HIDDEN,
                                                              K7_NEXT(lamp2_day));
template <GAUGEHDR& G, int I, u16& P1, u16& P2, PIXEL X>
ELEMENT_ICON LowFlow<G, I, P1, P2, X>::lamp2_day = k7::icon(&G, art(4), {X, 8},
                                                            k7::ART_DAY | IMAGE_HIDDEN,
                                                            K7_NEXT(lamp2_night));
template <GAUGEHDR& G, int I, u16& P1, u16& P2, PIXEL X>
ELEMENT_ICON LowFlow<G, I, P1, P2, X>::lamp2_night = k7::icon(&G, art(5), {X, 8},
                                                              k7::ART_NIGHT | IMAGE_HIDDEN, K7_END);
template <GAUGEHDR& G, int I, u16& P1, u16& P2, PIXEL X>
MOUSERECT LowFlow<G, I, P1, P2, X>::mouse[3] = {k7::mouse_parent(), K7_MOUSE_END};

using LowFlowGreen = LowFlow<gauge_hydrau_lowflow_g, GAUGE_INDEX_hydrau_lowflow_g,
                             hydrau_pump_g1_press, hydrau_pump_g2_press, 56>;
using LowFlowBlue = LowFlow<gauge_hydrau_lowflow_b, GAUGE_INDEX_hydrau_lowflow_b,
                            hydrau_pump_b1_press, hydrau_pump_b2_press, 76>;

void FSAPI green_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) LowFlowGreen::update();
}
void FSAPI blue_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) LowFlowBlue::update();
}

} // namespace

K7_GAUGE_HEADER(hydrau_lowflow_g, LowFlowGreen::face, LowFlowGreen::mouse, green_callback);
K7_GAUGE_HEADER(hydrau_lowflow_b, LowFlowBlue::face, LowFlowBlue::mouse, blue_callback);
