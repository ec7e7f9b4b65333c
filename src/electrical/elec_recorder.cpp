// "kestovil elec_recorder_k7": the flight-recorder test button and its lamp.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_elec_recorder, n);
}

extern ELEMENT_ICON lamp;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_elec_recorder, art(0), {0, 0}, k7::TRANSPARENT, K7_NEXT(lamp));
ELEMENT_ICON lamp = k7::icon(&gauge_elec_recorder, art(1), {50, 23}, k7::DAY_HIDDEN, K7_END);

BOOL FSAPI on_test(PPIXPOINT, FLAGS32) {
  k7::button_press(elec_recorder_test);
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({4, 23, 30, 30}, CURSOR_HAND, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, on_test),
    K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::show(lamp, elec_bus_ess != 0 && elec_recorder_test != 0);
  k7::button_update(elec_recorder_test);
}

} // namespace

K7_GAUGE_HEADER(elec_recorder, background, mouse, callback);
