// The small radio panels: "kestovil radio_selcal_k7" (the SELCAL selector, which also switches
// the simulator's SELCAL flag), "kestovil radio_delest_k7" (which radio bus survives load
// shedding on the battery) and "kestovil cvrecord_k7" (the voice recorder, whose buttons do
// nothing in this aircraft).
#include "electrical/electrical.h"
#include "module/kit.h"
#include "module/runs.h"
#include "module/services.h"
#include "radios/radios.h"

namespace {

BOOL FSAPI on_inert_button(PPIXPOINT, FLAGS32) {
  return FALSE_K7;
}

// ---- SELCAL
// -------------------------------------------------------------------------------------------

MODULE_VAR selcal_flag = sim::token(0x371);
constexpr u32 KEY_SELCAL_SET = 0x103AE;

// The simulator's flag is on only in position 1 with the essential bus.
void update_selcal() {
  const double flag = sim::read(selcal_flag);
  if (radio_selcal_sel == 1 && elec_bus_ess != 0) {
    if (flag == 0.0) sim::key_event(KEY_SELCAL_SET, 1);
  } else {
    if (flag == 1.0) sim::key_event(KEY_SELCAL_SET, 0);
  }
}

// Elements 1 to 3: the selector in positions 0, 1 and 2.
constexpr k7::ImageEntry selcal_images[] = {
    {22320, {113, 13}, k7::DAY_HIDDEN},
    {22352, {100, 15}, k7::ART_DAY},
    {22368, {118, 15}, k7::DAY_HIDDEN},
};
using SelcalImages = k7::Run<gauge_radio_selcal, selcal_images>;
ELEMENT_STATIC_IMAGE selcal_background =
    k7::static_image(&gauge_radio_selcal, k7::bitmap_id(GAUGE_INDEX_radio_selcal, 0), {0, 0},
                     k7::TRANSPARENT, SelcalImages::head);

MOUSERECT selcal_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({77, 1, 30, 35}, CURSOR_UPARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<radio_selcal_sel, 1>),
    k7::mouse_area({107, 1, 25, 35}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<radio_selcal_sel, 0>),
    k7::mouse_area({132, 1, 30, 35}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<radio_selcal_sel, 2>),
    k7::mouse_area({71, 36, 23, 23}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_inert_button),  // RESET
    k7::mouse_area({144, 36, 23, 23}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_inert_button), // RESET
    K7_MOUSE_END,
};

void FSAPI selcal_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  update_selcal();
  k7::show_position(SelcalImages::element, 3, radio_selcal_sel);
}

// ---- radio load shedding
// ------------------------------------------------------------------------------

// Elements 1 and 2: the selector at 0 (radio bus 2 kept) and at 1 (radio bus 1 kept).
constexpr k7::ImageEntry delest_images[] = {
    {22368, {66, 31}, k7::DAY_HIDDEN},
    {22352, {48, 31}, k7::ART_DAY},
};
using DelestImages = k7::Run<gauge_radio_delest, delest_images>;
ELEMENT_STATIC_IMAGE delest_background =
    k7::static_image(&gauge_radio_delest, k7::bitmap_id(GAUGE_INDEX_radio_delest, 0), {0, 0},
                     k7::TRANSPARENT, DelestImages::head);

MOUSERECT delest_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({38, 16, 30, 40}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<radio_delest_sel, 1>),
    k7::mouse_area({68, 16, 30, 40}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<radio_delest_sel, 0>),
    K7_MOUSE_END,
};

// The electrical network reads the selector; any value but 1 keeps radio bus 2 and draws so.
void FSAPI delest_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::show_position(DelestImages::element, 2, radio_delest_sel == 1 ? 1 : 0);
}

// ---- voice recorder
// -----------------------------------------------------------------------------------

ELEMENT_STATIC_IMAGE cvrecord_background =
    k7::static_image(&gauge_cvrecord, 21632, {0, 0}, k7::TRANSPARENT, K7_END);

MOUSERECT cvrecord_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({62, 23, 24, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_inert_button), // ERASE
    k7::mouse_area({62, 51, 24, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_inert_button), // TEST
    K7_MOUSE_END,
};

void FSAPI cvrecord_callback(PGAUGEHDR, SINT32, GAUGE_EXTRA) {}

} // namespace

K7_GAUGE_HEADER(radio_selcal, selcal_background, selcal_mouse, selcal_callback);
K7_GAUGE_HEADER(radio_delest, delest_background, delest_mouse, delest_callback);
K7_GAUGE_HEADER(cvrecord, cvrecord_background, cvrecord_mouse, cvrecord_callback);
