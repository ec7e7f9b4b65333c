// "kestovil hsimini_k7": the pedestal's copy of the HSI. It shows the HSI's state and takes the
// HSI's clicks (the same handlers, so a click on either changes both); it computes only its GPS
// annunciator, by the HSI's rule. No night knobs. The HSI must be running for it to move.
#include "electrical/electrical.h"
#include "instruments/hsi_shared.h"
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/gauge.h"

#include <initializer_list>

namespace {

using namespace k7::hsi_draw;

constexpr PIXPOINT DIAL_PIVOT{171, 157};
constexpr PIXPOINT COURSE_KNOB_PIVOT{52, 246}, HEADING_KNOB_PIVOT{298, 246};
constexpr FLAGS LIT = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS;
constexpr FLAGS LIT_HIDDEN = LIT | IMAGE_HIDDEN;

constexpr ELEMENT_MOVING_IMAGE drum(ID bitmap, PIXPOINT at, FLAGS flags, PMOVING_UPDATE_CB value,
                                    double top, PELEMENT_HEADER* next) {
  return k7::moving_image(&gauge_hsimini, bitmap, at, flags, {no_shift, 0, 0}, {value, 0, top},
                          next);
}
constexpr ELEMENT_NEEDLE on_dial(ID bitmap, PIXPOINT bitmap_pivot, FLAGS flags,
                                 PNEEDLE_UPDATE_CB value, PELEMENT_HEADER* next) {
  return k7::needle_degrees(&gauge_hsimini, bitmap, DIAL_PIVOT, bitmap_pivot, flags, value, 0,
                            next);
}

// The HSI's chain without its two night knobs.
extern ELEMENT_SPRITE card, deviation_bar;
extern ELEMENT_NEEDLE course_pointer, nav_flag, from_arrow, to_arrow, heading_marker, knob_course,
    knob_heading;
extern ELEMENT_ICON gs_scale, gs_flag, aircraft_symbol, dme_src2, dme_shutter, heading_flag,
    gps_annunciator;
extern ELEMENT_MOVING_IMAGE gs_pointer, crs_units, crs_tens, crs_hundreds, dme_units, dme_tens,
    dme_hundreds, hdg_units, hdg_tens, hdg_hundreds;

ELEMENT_STATIC_IMAGE face =
    k7::static_image(&gauge_hsimini, 5744, {0, 0}, k7::TRANSPARENT, K7_NEXT(card));
ELEMENT_SPRITE card =
    k7::sprite(&gauge_hsimini, 5760, {66, 52}, DIAL_PIVOT, 1.0f, LIT, {nullptr, 0.0},
               {nullptr, 0.0}, {card_rotation, 1.0}, K7_NEXT(course_pointer));
ELEMENT_NEEDLE course_pointer =
    on_dial(5888, {73, 101}, LIT, needle_value<hsi_course_ptr>, K7_NEXT(nav_flag));
ELEMENT_NEEDLE nav_flag =
    on_dial(5904, {-20, 29}, LIT_HIDDEN, needle_value<hsi_course_ptr>, K7_NEXT(from_arrow));
ELEMENT_NEEDLE from_arrow =
    on_dial(5920, {10, -54}, LIT_HIDDEN, needle_value<hsi_course_ptr>, K7_NEXT(to_arrow));
ELEMENT_NEEDLE to_arrow =
    on_dial(5936, {10, 53}, LIT_HIDDEN, needle_value<hsi_course_ptr>, K7_NEXT(deviation_bar));
ELEMENT_SPRITE deviation_bar =
    k7::sprite(&gauge_hsimini, 5968, {98, 84}, DIAL_PIVOT, 1.0f, LIT, {deviation_shift, -0.45},
               {nullptr, 0.0}, {deviation_rotation, -1.0}, K7_NEXT(gs_scale));
ELEMENT_ICON gs_scale = k7::icon(&gauge_hsimini, 5984, {98, 100}, LIT_HIDDEN, K7_NEXT(gs_pointer));
ELEMENT_MOVING_IMAGE gs_pointer =
    drum(6000, {98, 84}, LIT, drum_value<hsi_gs_ptr>, 12, K7_NEXT(gs_flag));
ELEMENT_ICON gs_flag =
    k7::icon(&gauge_hsimini, 5952, {98, 144}, LIT_HIDDEN, K7_NEXT(heading_marker));
ELEMENT_NEEDLE heading_marker =
    on_dial(6016, {13, 116}, LIT, needle_value<hsi_marker_angle>, K7_NEXT(aircraft_symbol));
ELEMENT_ICON aircraft_symbol =
    k7::icon(&gauge_hsimini, 6144, {159, 141}, k7::TRANSPARENT, K7_NEXT(crs_units));
ELEMENT_MOVING_IMAGE crs_units =
    drum(6176, {93, 26}, LIT, drum_value<hsi_crs_drum_units>, 10, K7_NEXT(crs_tens));
ELEMENT_MOVING_IMAGE crs_tens =
    drum(6176, {75, 26}, LIT, drum_value<hsi_crs_drum_tens>, 10, K7_NEXT(crs_hundreds));
ELEMENT_MOVING_IMAGE crs_hundreds =
    drum(6160, {57, 26}, LIT, drum_value<hsi_crs_drum_hundreds>, 4, K7_NEXT(dme_units));
ELEMENT_MOVING_IMAGE dme_units =
    drum(6176, {269, 26}, LIT, drum_value<hsi_dme_drum_units>, 10, K7_NEXT(dme_tens));
ELEMENT_MOVING_IMAGE dme_tens =
    drum(6176, {251, 26}, LIT, drum_value<hsi_dme_drum_tens>, 10, K7_NEXT(dme_hundreds));
ELEMENT_MOVING_IMAGE dme_hundreds =
    drum(6176, {233, 26}, LIT, drum_value<hsi_dme_drum_hundreds>, 10, K7_NEXT(dme_src2));
ELEMENT_ICON dme_src2 = k7::icon(&gauge_hsimini, 6192, {237, 52}, LIT_HIDDEN, K7_NEXT(dme_shutter));
ELEMENT_ICON dme_shutter =
    k7::icon(&gauge_hsimini, 6208, {232, 32}, LIT_HIDDEN, K7_NEXT(knob_course));
ELEMENT_NEEDLE knob_course =
    k7::needle_degrees(&gauge_hsimini, 6224, COURSE_KNOB_PIVOT, {25, 25}, k7::NEEDLE_DAY,
                       needle_value<hsi_knob_course_angle>, 0, K7_NEXT(knob_heading));
ELEMENT_NEEDLE knob_heading =
    k7::needle_degrees(&gauge_hsimini, 6272, HEADING_KNOB_PIVOT, {25, 23}, k7::NEEDLE_DAY,
                       needle_value<hsi_knob_hdg_angle>, 0, K7_NEXT(heading_flag));
ELEMENT_ICON heading_flag =
    k7::icon(&gauge_hsimini, 6432, {234, 77}, LIT_HIDDEN, K7_NEXT(gps_annunciator));
ELEMENT_ICON gps_annunciator =
    k7::icon(&gauge_hsimini, 6448, {271, 89}, LIT_HIDDEN, K7_NEXT(hdg_units));
ELEMENT_MOVING_IMAGE hdg_units =
    drum(6176, {181, 14}, LIT_HIDDEN, heading_units, 10, K7_NEXT(hdg_tens));
ELEMENT_MOVING_IMAGE hdg_tens =
    drum(6176, {163, 14}, LIT_HIDDEN, heading_tens, 10, K7_NEXT(hdg_hundreds));
ELEMENT_MOVING_IMAGE hdg_hundreds = drum(6160, {145, 14}, LIT_HIDDEN, heading_hundreds, 4, K7_END);

// The HSI's own areas, handlers and all.
MOUSERECT mouse[] = {
    k7::mouse_parent(),    k7::hsi_click_area(0), k7::hsi_click_area(1), k7::hsi_click_area(2),
    k7::hsi_click_area(3), k7::hsi_click_area(4), k7::hsi_click_area(5), k7::hsi_click_area(6),
    k7::hsi_click_area(7), k7::hsi_click_area(8), K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool to = hsi_to_shown == 1;
  k7::show(to_arrow, to);
  k7::show(from_arrow, !to && hsi_from_shown == 1);
  k7::show(gs_scale, hsi_gs_scale_shown == 1);
  k7::show(gs_flag, hsi_gs_flag_shown == 1);
  k7::show(nav_flag, hsi_nav_flag_shown == 1);
  k7::show(dme_src2, hsi_dme_src == 2 && elec_ac_ess == 1);
  k7::show(dme_shutter, hsi_dme_shutter_shown == 1);
  k7::show(heading_flag, hsi_hdg_flag_shown == 1);
  k7::show(gps_annunciator, k7::hsi_gps_annunciator());
  for (ELEMENT_MOVING_IMAGE* digit : {&hdg_units, &hdg_tens, &hdg_hundreds})
    k7::show(*digit, hsi_hdg_readout_shown == 1);
}

} // namespace

K7_GAUGE_HEADER(hsimini, face, mouse, callback);
