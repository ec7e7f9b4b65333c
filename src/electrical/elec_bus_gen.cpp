// "kestovil elec_bus_gen_k7": the generator-bus mimic of the electrical panel. It only draws what
// the DC network computed.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_elec_bus_gen, n);
}

extern ELEMENT_ICON bar_ground, bar_gen2, bar_gen1, bar_twin, bar_air, bar_gen_a, bar_gen_c,
    bar_gen_b;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_elec_bus_gen, art(0), {0, 0}, k7::TRANSPARENT, K7_NEXT(bar_ground));
ELEMENT_ICON bar_ground =
    k7::icon(&gauge_elec_bus_gen, art(1), {10, 20}, k7::DAY_HIDDEN, K7_NEXT(bar_gen2));
ELEMENT_ICON bar_gen2 =
    k7::icon(&gauge_elec_bus_gen, art(2), {110, 20}, k7::DAY_HIDDEN, K7_NEXT(bar_gen1));
ELEMENT_ICON bar_gen1 =
    k7::icon(&gauge_elec_bus_gen, art(3), {210, 20}, k7::DAY_HIDDEN, K7_NEXT(bar_twin));
ELEMENT_ICON bar_twin =
    k7::icon(&gauge_elec_bus_gen, art(4), {60, 90}, k7::DAY_HIDDEN, K7_NEXT(bar_air));
ELEMENT_ICON bar_air =
    k7::icon(&gauge_elec_bus_gen, art(5), {160, 90}, k7::DAY_HIDDEN, K7_NEXT(bar_gen_a));
ELEMENT_ICON bar_gen_a =
    k7::icon(&gauge_elec_bus_gen, art(6), {20, 150}, k7::DAY_HIDDEN, K7_NEXT(bar_gen_c));
ELEMENT_ICON bar_gen_c =
    k7::icon(&gauge_elec_bus_gen, art(7), {120, 150}, k7::DAY_HIDDEN, K7_NEXT(bar_gen_b));
ELEMENT_ICON bar_gen_b = k7::icon(&gauge_elec_bus_gen, art(8), {220, 150}, k7::DAY_HIDDEN, K7_END);

MOUSERECT mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::show(bar_ground, elec_extpwr_connected != 0 && elec_master_sw == 1);
  k7::show(bar_gen2, elec_gen2_online != 0 && elec_bus_batt != 0);
  k7::show(bar_gen1, elec_gen1_online != 0 && elec_bus_batt != 0);
  k7::show(bar_twin, elec_bus_gen_twin != 0);
  k7::show(bar_air, elec_bus_gen_air != 0);
  k7::show(bar_gen_a, elec_bus_gen_a != 0);
  k7::show(bar_gen_c, elec_bus_gen_c != 0);
  k7::show(bar_gen_b, elec_bus_gen_b != 0);
}

} // namespace

K7_GAUGE_HEADER(elec_bus_gen, background, mouse, callback);
