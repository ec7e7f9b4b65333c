// "kestovil elec_dcvolt_sel_k7": the DC voltmeter's six-position selector (generator bus,
// generator 1, generator 2, battery twice, battery through the master) and its test button. The
// reading itself is the DC network's.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_elec_dcvolt_sel, n);
}

constexpr NONLINEARITY selector_table[] = {
    {{41, 180}, 0, 0}, {{25, 140}, 1, 0}, {{42, 107}, 2, 0},
    {{80, 107}, 3, 0}, {{98, 140}, 4, 0}, {{80, 180}, 5, 0},
};

FLOAT64 FSAPI selector_value(ELEMENT_NEEDLE*) {
  return elec_dcvolt_sel;
}

extern ELEMENT_NEEDLE selector;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_elec_dcvolt_sel, art(0), {0, 0}, k7::TRANSPARENT, K7_NEXT(selector));
ELEMENT_NEEDLE selector = k7::needle(&gauge_elec_dcvolt_sel, art(1), {61, 143}, {6, 6}, k7::ART_DAY,
                                     selector_value, selector_table, 0, K7_END);

BOOL FSAPI on_down(PPIXPOINT, FLAGS32) {
  if (elec_dcvolt_sel > 0) --elec_dcvolt_sel;
  return 0;
}
BOOL FSAPI on_up(PPIXPOINT, FLAGS32) {
  if (elec_dcvolt_sel < 5) ++elec_dcvolt_sel;
  return 0;
}
BOOL FSAPI on_test(PPIXPOINT, FLAGS32) {
  k7::button_press(elec_dcvolt_test);
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({2, 100, 57, 83}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_down),
    k7::mouse_area({59, 100, 57, 83}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_up),
    k7::mouse_area({46, 22, 30, 30}, CURSOR_HAND, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, on_test),
    K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  if (elec_dcvolt_sel > 5) elec_dcvolt_sel = 5;
  k7::button_update(elec_dcvolt_test);
}

} // namespace

K7_GAUGE_HEADER(elec_dcvolt_sel, background, mouse, callback);
