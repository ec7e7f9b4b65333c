// The HSI's elements that its miniature copy repeats exactly: the dial from the face down to the
// DME shutter, and the heading flag, GPS annunciator and selected-heading readout at the bottom of
// the chain. Each gauge puts its own knobs between the two.
//
// Like runs (module/runs.h), the elements are declared from the bottom of the chain up, because
// each names the one after it.
#pragma once

#include "instruments/hsi_shared.h"
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/gauge.h"

namespace k7 {

constexpr PIXPOINT HSI_DIAL_PIVOT{171, 157};
constexpr PIXPOINT HSI_COURSE_KNOB_PIVOT{52, 246}, HSI_HEADING_KNOB_PIVOT{298, 246};
// Moving parts are drawn lit by the host.
constexpr FLAGS HSI_LIT = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS;
constexpr FLAGS HSI_LIT_HIDDEN = HSI_LIT | IMAGE_HIDDEN;

// An image rolling vertically over 0..top: the drums and the glide slope pointer.
constexpr ELEMENT_MOVING_IMAGE hsi_drum(PGAUGEHDR gauge, ID bitmap, PIXPOINT at, FLAGS flags,
                                        PMOVING_UPDATE_CB value, double top,
                                        PELEMENT_HEADER* next) {
  return moving_image(gauge, bitmap, at, flags, {hsi_draw::no_shift, 0, 0}, {value, 0, top}, next);
}
// A pointer or flag turning about the centre of the dial.
constexpr ELEMENT_NEEDLE hsi_on_dial(PGAUGEHDR gauge, ID bitmap, PIXPOINT bitmap_pivot, FLAGS flags,
                                     PNEEDLE_UPDATE_CB value, PELEMENT_HEADER* next) {
  return needle_degrees(gauge, bitmap, HSI_DIAL_PIVOT, bitmap_pivot, flags, value, 0, next);
}

// The face and dial, followed in the chain by `Knobs`.
template <GAUGEHDR& Gauge, PELEMENT_HEADER* Knobs> struct HsiDial {
  static constexpr PGAUGEHDR g = &Gauge;
  static inline ELEMENT_ICON dme_shutter = icon(g, 6208, {232, 32}, HSI_LIT_HIDDEN, Knobs);
  static inline ELEMENT_ICON dme_src2 =
      icon(g, 6192, {237, 52}, HSI_LIT_HIDDEN, K7_NEXT(dme_shutter));
  static inline ELEMENT_MOVING_IMAGE dme_hundreds =
      hsi_drum(g, 6176, {233, 26}, HSI_LIT, hsi_draw::drum_value<hsi_dme_drum_hundreds>, 10,
               K7_NEXT(dme_src2));
  static inline ELEMENT_MOVING_IMAGE dme_tens =
      hsi_drum(g, 6176, {251, 26}, HSI_LIT, hsi_draw::drum_value<hsi_dme_drum_tens>, 10,
               K7_NEXT(dme_hundreds));
  static inline ELEMENT_MOVING_IMAGE dme_units = hsi_drum(
      g, 6176, {269, 26}, HSI_LIT, hsi_draw::drum_value<hsi_dme_drum_units>, 10, K7_NEXT(dme_tens));
  static inline ELEMENT_MOVING_IMAGE crs_hundreds =
      hsi_drum(g, 6160, {57, 26}, HSI_LIT, hsi_draw::drum_value<hsi_crs_drum_hundreds>, 4,
               K7_NEXT(dme_units));
  static inline ELEMENT_MOVING_IMAGE crs_tens =
      hsi_drum(g, 6176, {75, 26}, HSI_LIT, hsi_draw::drum_value<hsi_crs_drum_tens>, 10,
               K7_NEXT(crs_hundreds));
  static inline ELEMENT_MOVING_IMAGE crs_units = hsi_drum(
      g, 6176, {93, 26}, HSI_LIT, hsi_draw::drum_value<hsi_crs_drum_units>, 10, K7_NEXT(crs_tens));
  static inline ELEMENT_ICON aircraft_symbol =
      icon(g, 6144, {159, 141}, TRANSPARENT, K7_NEXT(crs_units));
  static inline ELEMENT_NEEDLE heading_marker =
      hsi_on_dial(g, 6016, {13, 116}, HSI_LIT, hsi_draw::needle_value<hsi_marker_angle>,
                  K7_NEXT(aircraft_symbol));
  static inline ELEMENT_ICON gs_flag =
      icon(g, 5952, {98, 144}, HSI_LIT_HIDDEN, K7_NEXT(heading_marker));
  static inline ELEMENT_MOVING_IMAGE gs_pointer =
      hsi_drum(g, 6000, {98, 84}, HSI_LIT, hsi_draw::drum_value<hsi_gs_ptr>, 12, K7_NEXT(gs_flag));
  static inline ELEMENT_ICON gs_scale =
      icon(g, 5984, {98, 100}, HSI_LIT_HIDDEN, K7_NEXT(gs_pointer));
  static inline ELEMENT_SPRITE deviation_bar =
      sprite(g, 5968, {98, 84}, HSI_DIAL_PIVOT, 1.0f, HSI_LIT, {hsi_draw::deviation_shift, -0.45},
             {nullptr, 0.0}, {hsi_draw::deviation_rotation, -1.0}, K7_NEXT(gs_scale));
  static inline ELEMENT_NEEDLE to_arrow =
      hsi_on_dial(g, 5936, {10, 53}, HSI_LIT_HIDDEN, hsi_draw::needle_value<hsi_course_ptr>,
                  K7_NEXT(deviation_bar));
  static inline ELEMENT_NEEDLE from_arrow =
      hsi_on_dial(g, 5920, {10, -54}, HSI_LIT_HIDDEN, hsi_draw::needle_value<hsi_course_ptr>,
                  K7_NEXT(to_arrow));
  static inline ELEMENT_NEEDLE nav_flag =
      hsi_on_dial(g, 5904, {-20, 29}, HSI_LIT_HIDDEN, hsi_draw::needle_value<hsi_course_ptr>,
                  K7_NEXT(from_arrow));
  static inline ELEMENT_NEEDLE course_pointer = hsi_on_dial(
      g, 5888, {73, 101}, HSI_LIT, hsi_draw::needle_value<hsi_course_ptr>, K7_NEXT(nav_flag));
  static inline ELEMENT_SPRITE card =
      sprite(g, 5760, {66, 52}, HSI_DIAL_PIVOT, 1.0f, HSI_LIT, {nullptr, 0.0}, {nullptr, 0.0},
             {hsi_draw::card_rotation, 1.0}, K7_NEXT(course_pointer));
  static inline ELEMENT_STATIC_IMAGE face =
      static_image(g, 5744, {0, 0}, TRANSPARENT, K7_NEXT(card));
};

// The bottom of the chain: heading flag, GPS annunciator and the selected-heading readout.
template <GAUGEHDR& Gauge> struct HsiReadout {
  static constexpr PGAUGEHDR g = &Gauge;
  static inline ELEMENT_MOVING_IMAGE hdg_hundreds =
      hsi_drum(g, 6160, {145, 14}, HSI_LIT_HIDDEN, hsi_draw::heading_hundreds, 4, K7_END);
  static inline ELEMENT_MOVING_IMAGE hdg_tens = hsi_drum(
      g, 6176, {163, 14}, HSI_LIT_HIDDEN, hsi_draw::heading_tens, 10, K7_NEXT(hdg_hundreds));
  static inline ELEMENT_MOVING_IMAGE hdg_units =
      hsi_drum(g, 6176, {181, 14}, HSI_LIT_HIDDEN, hsi_draw::heading_units, 10, K7_NEXT(hdg_tens));
  static inline ELEMENT_ICON gps_annunciator =
      icon(g, 6448, {271, 89}, HSI_LIT_HIDDEN, K7_NEXT(hdg_units));
  static inline ELEMENT_ICON heading_flag =
      icon(g, 6432, {234, 77}, HSI_LIT_HIDDEN, K7_NEXT(gps_annunciator));
  // The heading readout's three digits, shown and hidden together.
  static inline ELEMENT_MOVING_IMAGE* const heading_digits[3] = {&hdg_units, &hdg_tens,
                                                                 &hdg_hundreds};
};

} // namespace k7
