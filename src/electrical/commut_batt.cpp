// "kestovil commut_batt_k7": the battery commutator, normal (1) at the top, off (0) in the
// middle, standby/start (2) at the bottom. It turns to either end only from off, so passing from
// normal to start goes through off. No sound.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_commut_batt, n);
}

extern ELEMENT_ICON knob_normal, knob_off, knob_start;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_commut_batt, art(0), {0, 0}, k7::TRANSPARENT, K7_NEXT(knob_normal));
ELEMENT_ICON knob_normal =
    k7::icon(&gauge_commut_batt, art(1), {28, 0}, k7::ART_DAY, K7_NEXT(knob_off));
ELEMENT_ICON knob_off =
    k7::icon(&gauge_commut_batt, art(2), {17, 125}, k7::DAY_HIDDEN, K7_NEXT(knob_start));
ELEMENT_ICON knob_start = k7::icon(&gauge_commut_batt, art(3), {28, 251}, k7::DAY_HIDDEN, K7_END);

// Images by position: 0 off, 1 normal, 2 start.
ELEMENT_ICON* knob_images[] = {&knob_off, &knob_normal, &knob_start};

BOOL FSAPI on_normal(PPIXPOINT, FLAGS32) {
  if (elec_batt_commut == 0) elec_batt_commut = 1;
  return 0;
}
BOOL FSAPI on_start(PPIXPOINT, FLAGS32) {
  if (elec_batt_commut == 0) elec_batt_commut = 2;
  return 0;
}
BOOL FSAPI on_off(PPIXPOINT, FLAGS32) {
  elec_batt_commut = 0;
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({28, 0, 69, 88}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_normal),
    k7::mouse_area({28, 251, 69, 88}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_start),
    k7::mouse_area({17, 125, 78, 88}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_off),
    K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) k7::show_position(knob_images, elec_batt_commut);
}

} // namespace

K7_GAUGE_HEADER(commut_batt, background, mouse, callback);
