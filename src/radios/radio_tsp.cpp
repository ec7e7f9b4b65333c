// "kestovil radio_tsp_k7": the transponder control box. Its digit knobs step the simulator's
// code by key events and four drums show the code it reports; the mode selector and IDENT drive
// the reply lamp. The three two-position switches are only drawn.
#include "electrical/electrical.h"
#include "module/kit.h"
#include "module/needle_run.h"
#include "module/services.h"
#include "radios/radio_digits.h"
#include "radios/radio_drums.h"
#include "radios/radios.h"

namespace {

constexpr u8 drum_positions[RADIO_TSP_DRUMS] = {8, 8, 8, 8};
constexpr u8 IDENT_FRAMES = 12;

MODULE_VAR code = sim::token(0x26);

// ---- clicks
// -------------------------------------------------------------------------------------------

template <u32 Event> BOOL FSAPI on_digit(PPIXPOINT, FLAGS32) {
  sim::key_event(Event, 0);
  return FALSE_K7;
}
template <int Step> BOOL FSAPI on_mode(PPIXPOINT, FLAGS32) {
  k7::switch_to(radio_tsp_mode, k7::clamp(radio_tsp_mode + Step, 0, 3));
  return FALSE_K7;
}
// A press lights the reply lamp for 12 frames; holding the button keeps it lit.
BOOL FSAPI on_ident(PPIXPOINT, FLAGS32) {
  if (radio_tsp_ident == 0)
    radio_tsp_ident = IDENT_FRAMES;
  else if (radio_tsp_ident <= 10)
    radio_tsp_ident = static_cast<u8>(radio_tsp_ident + 2);
  return FALSE_K7;
}

constexpr FLAGS32 TURNED = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;
constexpr FLAGS32 PRESSED = MOUSE_LEFTSINGLE;

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({76, 10, 29, 24}, CURSOR_UPARROW, TURNED, on_digit<0x10073>),
    k7::mouse_area({76, 34, 29, 24}, CURSOR_DOWNARROW, TURNED, on_digit<0x10397>),
    k7::mouse_area({105, 10, 29, 24}, CURSOR_UPARROW, TURNED, on_digit<0x10074>),
    k7::mouse_area({105, 34, 29, 24}, CURSOR_DOWNARROW, TURNED, on_digit<0x10398>),
    k7::mouse_area({166, 10, 29, 24}, CURSOR_UPARROW, TURNED, on_digit<0x10075>),
    k7::mouse_area({166, 34, 29, 24}, CURSOR_DOWNARROW, TURNED, on_digit<0x10399>),
    k7::mouse_area({195, 10, 29, 24}, CURSOR_UPARROW, TURNED, on_digit<0x10076>),
    k7::mouse_area({195, 34, 29, 24}, CURSOR_DOWNARROW, TURNED, on_digit<0x1039A>),
    k7::mouse_area({14, 58, 29, 41}, CURSOR_DOWNARROW, PRESSED, on_mode<-1>),
    k7::mouse_area({43, 58, 29, 41}, CURSOR_UPARROW, PRESSED, on_mode<+1>),
    k7::mouse_area({167, 69, 27, 27}, CURSOR_HAND, TURNED, on_ident),
    k7::mouse_area({19, 0, 25, 20}, CURSOR_HAND, PRESSED, k7::switch_area<radio_tsp_sw1, 1>),
    k7::mouse_area({19, 20, 25, 20}, CURSOR_HAND, PRESSED, k7::switch_area<radio_tsp_sw1, 0>),
    k7::mouse_area({45, 0, 25, 20}, CURSOR_HAND, PRESSED, k7::switch_area<radio_tsp_sw2, 1>),
    k7::mouse_area({45, 20, 25, 20}, CURSOR_HAND, PRESSED, k7::switch_area<radio_tsp_sw2, 0>),
    k7::mouse_area({72, 59, 25, 20}, CURSOR_HAND, PRESSED, k7::switch_area<radio_tsp_sw3, 1>),
    k7::mouse_area({72, 79, 25, 20}, CURSOR_HAND, PRESSED, k7::switch_area<radio_tsp_sw3, 0>),
    K7_MOUSE_END,
};

// ---- drawing
// ------------------------------------------------------------------------------------------

FLOAT64 FSAPI mode_value(ELEMENT_NEEDLE*) {
  return radio_tsp_mode;
}
constexpr NONLINEARITY mode_scale[] = {
    {{17, 70}, 0, 0}, {{25, 58}, 1, 0}, {{41, 52}, 2, 0}, {{59, 56}, 3, 0}};

// Elements 1 to 6: each switch up (1) then down (0); 7: the reply lamp.
constexpr std::size_t REPLY_LAMP = 6;
constexpr k7::ImageEntry images[] = {
    {22272, {27, 3}, k7::ART_DAY},  {22144, {27, 18}, k7::DAY_HIDDEN},
    {22272, {54, 3}, k7::ART_DAY},  {22144, {54, 18}, k7::DAY_HIDDEN},
    {22272, {76, 66}, k7::ART_DAY}, {22144, {76, 81}, k7::DAY_HIDDEN},
    {22304, {205, 75}, k7::HIDDEN},
};
// Element 8: the mode pointer.
constexpr k7::NeedleEntry pointer[] = {
    k7::needle_entry(22128, {43, 78}, {4, 4}, k7::NEEDLE_DAY, mode_value, mode_scale)};
// Elements 9 to 12: the code, first digit first.
constexpr k7::SlideEntry drums[] = {
    k7::drum_entry<radio_tsp_shown, 0>(22288, {127, 26}, 8),
    k7::drum_entry<radio_tsp_shown, 1>(22288, {139, 26}, 8),
    k7::drum_entry<radio_tsp_shown, 2>(22288, {151, 26}, 8),
    k7::drum_entry<radio_tsp_shown, 3>(22288, {163, 26}, 8),
};

using Drums = k7::Run<gauge_radio_tsp, drums>;
using Pointer = k7::Run<gauge_radio_tsp, pointer, Drums::head>;
using Images = k7::Run<gauge_radio_tsp, images, Pointer::head>;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_radio_tsp, k7::bitmap_id(GAUGE_INDEX_radio_tsp, 0), {0, 0},
                     k7::TRANSPARENT, Images::head);

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::packed_digits(sim::read(code), radio_tsp_target, 7);
  k7::roll_drums(radio_tsp_shown, radio_tsp_target, drum_positions);

  ELEMENT_ICON* image = Images::element;
  k7::show_position(image + 0, 2, radio_tsp_sw1 != 0 ? 0 : 1);
  k7::show_position(image + 2, 2, radio_tsp_sw2 != 0 ? 0 : 1);
  k7::show_position(image + 4, 2, radio_tsp_sw3 != 0 ? 0 : 1);
  k7::show(image[REPLY_LAMP], elec_bus_ess != 0 && radio_tsp_mode >= 2 && radio_tsp_ident != 0);
  if (radio_tsp_ident > 0) --radio_tsp_ident;
}

} // namespace

K7_GAUGE_HEADER(radio_tsp, background, mouse, callback);
