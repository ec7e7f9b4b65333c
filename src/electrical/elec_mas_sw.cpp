// "kestovil elec_mas_sw_k7": the master switch, ground-power position (1), off (0) and battery
// position (2), left to right.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_elec_mas_sw, n);
}

extern ELEMENT_ICON lever_ground, lever_off, lever_battery;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_elec_mas_sw, art(0), {0, 0}, k7::TRANSPARENT, K7_NEXT(lever_ground));
ELEMENT_ICON lever_ground =
    k7::icon(&gauge_elec_mas_sw, art(1), {3, 5}, k7::DAY_HIDDEN, K7_NEXT(lever_off));
ELEMENT_ICON lever_off =
    k7::icon(&gauge_elec_mas_sw, art(2), {39, 5}, k7::DAY_HIDDEN, K7_NEXT(lever_battery));
ELEMENT_ICON lever_battery = k7::icon(&gauge_elec_mas_sw, art(3), {75, 5}, k7::ART_DAY, K7_END);

// Images by switch position: 0 off, 1 ground power, 2 battery.
ELEMENT_ICON* lever_images[] = {&lever_off, &lever_ground, &lever_battery};

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({3, 5, 37, 50}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_master_sw, 1>),
    k7::mouse_area({39, 5, 37, 50}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_master_sw, 0>),
    k7::mouse_area({75, 5, 37, 50}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_master_sw, 2>),
    K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) k7::show_position(lever_images, elec_master_sw);
}

} // namespace

K7_GAUGE_HEADER(elec_mas_sw, background, mouse, callback);
