// "kestovil elec_ac_sw_k7": the AC voltmeter's selector (essential AC bus, or its copy), a second
// selector of the AC panel, and the voltmeter test button, which measures the instrument bus.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_elec_ac_sw, n);
}

extern ELEMENT_ICON sel1_at_1, sel1_at_2, sel2_at_1, sel2_at_2;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_elec_ac_sw, art(0), {0, 0}, k7::TRANSPARENT, K7_NEXT(sel1_at_1));
ELEMENT_ICON sel1_at_1 =
    k7::icon(&gauge_elec_ac_sw, art(1), {17, 5}, k7::ART_DAY, K7_NEXT(sel1_at_2));
ELEMENT_ICON sel1_at_2 =
    k7::icon(&gauge_elec_ac_sw, art(2), {62, 5}, k7::DAY_HIDDEN, K7_NEXT(sel2_at_1));
ELEMENT_ICON sel2_at_1 =
    k7::icon(&gauge_elec_ac_sw, art(3), {17, 55}, k7::ART_DAY, K7_NEXT(sel2_at_2));
ELEMENT_ICON sel2_at_2 = k7::icon(&gauge_elec_ac_sw, art(4), {62, 55}, k7::DAY_HIDDEN, K7_END);

// Images by position 1 and 2 (index 0 and 1).
ELEMENT_ICON* sel1_images[] = {&sel1_at_1, &sel1_at_2};
ELEMENT_ICON* sel2_images[] = {&sel2_at_1, &sel2_at_2};

BOOL FSAPI on_test(PPIXPOINT, FLAGS32) {
  k7::button_press(elec_acvolt_test);
  return 0;
}

constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({17, 5, 45, 50}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_acvolt_sel, 1>),
    k7::mouse_area({62, 5, 45, 50}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_acvolt_sel, 2>),
    k7::mouse_area({17, 55, 45, 37}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_acvolt_sel2, 1>),
    k7::mouse_area({62, 55, 45, 37}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_acvolt_sel2, 2>),
    k7::mouse_area({46, 92, 35, 24}, CURSOR_HAND, HELD, on_test),
    K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  bool measured = false;
  if (elec_acvolt_test != 0)
    measured = elec_ac_instr != 0;
  else if (elec_acvolt_sel == 1)
    measured = elec_ac_ess != 0;
  else if (elec_acvolt_sel == 2)
    measured = elec_ac_ess_b != 0;
  elec_ac_volts = measured ? 115 : 0;
  k7::button_update(elec_acvolt_test);
  k7::show_position(sel1_images, elec_acvolt_sel - 1u);
  k7::show_position(sel2_images, elec_acvolt_sel2 - 1u);
}

} // namespace

K7_GAUGE_HEADER(elec_ac_sw, background, mouse, callback);
