// "kestovil hsimini_k7": the pedestal's copy of the HSI. It shows the HSI's state and takes the
// HSI's clicks (the same handlers, so a click on either changes both); it computes only its GPS
// annunciator, by the HSI's rule. No night knobs. The HSI must be running for it to move.
#include "electrical/electrical.h"
#include "instruments/hsi_dial.h"
#include "instruments/hsi_shared.h"
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/gauge.h"

#include <initializer_list>

namespace {

using namespace k7::hsi_draw;

// The HSI's dial and readout; its knobs' images sit a little differently.
extern ELEMENT_NEEDLE knob_course;
using Readout = k7::HsiReadout<gauge_hsimini>;
using Dial = k7::HsiDial<gauge_hsimini, K7_NEXT(knob_course)>;

ELEMENT_NEEDLE knob_heading =
    k7::needle_degrees(&gauge_hsimini, 6272, k7::HSI_HEADING_KNOB_PIVOT, {25, 23}, k7::NEEDLE_DAY,
                       needle_value<hsi_knob_hdg_angle>, 0, K7_NEXT(Readout::heading_flag));
ELEMENT_NEEDLE knob_course =
    k7::needle_degrees(&gauge_hsimini, 6224, k7::HSI_COURSE_KNOB_PIVOT, {25, 25}, k7::NEEDLE_DAY,
                       needle_value<hsi_knob_course_angle>, 0, K7_NEXT(knob_heading));

// The HSI's own areas, handlers and all.
MOUSERECT mouse[] = {
    k7::mouse_parent(),    k7::hsi_click_area(0), k7::hsi_click_area(1), k7::hsi_click_area(2),
    k7::hsi_click_area(3), k7::hsi_click_area(4), k7::hsi_click_area(5), k7::hsi_click_area(6),
    k7::hsi_click_area(7), k7::hsi_click_area(8), K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool to = hsi_to_shown == 1;
  k7::show(Dial::to_arrow, to);
  k7::show(Dial::from_arrow, !to && hsi_from_shown == 1);
  k7::show(Dial::gs_scale, hsi_gs_scale_shown == 1);
  k7::show(Dial::gs_flag, hsi_gs_flag_shown == 1);
  k7::show(Dial::nav_flag, hsi_nav_flag_shown == 1);
  k7::show(Dial::dme_src2, hsi_dme_src == 2 && elec_ac_ess == 1);
  k7::show(Dial::dme_shutter, hsi_dme_shutter_shown == 1);
  k7::show(Readout::heading_flag, hsi_hdg_flag_shown == 1);
  k7::show(Readout::gps_annunciator, k7::hsi_gps_annunciator());
  for (ELEMENT_MOVING_IMAGE* digit : Readout::heading_digits)
    k7::show(*digit, hsi_hdg_readout_shown == 1);
}

} // namespace

K7_GAUGE_HEADER(hsimini, Dial::face, mouse, callback);
