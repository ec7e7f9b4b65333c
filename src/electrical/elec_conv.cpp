// "kestovil elec_conv_k7": the three AC converters (converter 1, converter 2 and the standby
// converter) with their selectors, and the AC buses they feed. The selectors are drawn in day or
// night artwork with the panel lighting.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/daynight.h"
#include "module/gauge.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_elec_conv, n);
}

constexpr PIXPOINT STBY_AT{0, 31};
constexpr PIXPOINT CONV1_AT{76, 41};
constexpr PIXPOINT CONV2_AT{121, 5};

// Chain: the standby selector's day then night images by position (0, 1, 2), the same for
// selector 1, selector 2's (0, 1), then the standby converter's lamp.
extern ELEMENT_ICON stby_day_0, stby_day_1, stby_day_2, stby_night_0, stby_night_1, stby_night_2;
extern ELEMENT_ICON conv1_day_0, conv1_day_1, conv1_day_2, conv1_night_0, conv1_night_1,
    conv1_night_2;
extern ELEMENT_ICON conv2_day_0, conv2_day_1, conv2_night_0, conv2_night_1;
extern ELEMENT_ICON stby_lamp;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_elec_conv, art(0), {0, 0}, k7::TRANSPARENT, K7_NEXT(stby_day_0));
ELEMENT_ICON stby_day_0 =
    k7::icon(&gauge_elec_conv, art(1), STBY_AT, k7::DAY_HIDDEN, K7_NEXT(stby_day_1));
ELEMENT_ICON stby_day_1 =
    k7::icon(&gauge_elec_conv, art(2), STBY_AT, k7::ART_DAY, K7_NEXT(stby_day_2));
ELEMENT_ICON stby_day_2 =
    k7::icon(&gauge_elec_conv, art(3), STBY_AT, k7::DAY_HIDDEN, K7_NEXT(stby_night_0));
ELEMENT_ICON stby_night_0 =
    k7::icon(&gauge_elec_conv, art(4), STBY_AT, k7::DAY_HIDDEN, K7_NEXT(stby_night_1));
ELEMENT_ICON stby_night_1 =
    k7::icon(&gauge_elec_conv, art(5), STBY_AT, k7::DAY_HIDDEN, K7_NEXT(stby_night_2));
ELEMENT_ICON stby_night_2 =
    k7::icon(&gauge_elec_conv, art(6), STBY_AT, k7::DAY_HIDDEN, K7_NEXT(conv1_day_0));
ELEMENT_ICON conv1_day_0 =
    k7::icon(&gauge_elec_conv, art(7), CONV1_AT, k7::DAY_HIDDEN, K7_NEXT(conv1_day_1));
ELEMENT_ICON conv1_day_1 =
    k7::icon(&gauge_elec_conv, art(8), CONV1_AT, k7::ART_DAY, K7_NEXT(conv1_day_2));
ELEMENT_ICON conv1_day_2 =
    k7::icon(&gauge_elec_conv, art(9), CONV1_AT, k7::DAY_HIDDEN, K7_NEXT(conv1_night_0));
ELEMENT_ICON conv1_night_0 =
    k7::icon(&gauge_elec_conv, art(10), CONV1_AT, k7::DAY_HIDDEN, K7_NEXT(conv1_night_1));
ELEMENT_ICON conv1_night_1 =
    k7::icon(&gauge_elec_conv, art(11), CONV1_AT, k7::DAY_HIDDEN, K7_NEXT(conv1_night_2));
ELEMENT_ICON conv1_night_2 =
    k7::icon(&gauge_elec_conv, art(12), CONV1_AT, k7::DAY_HIDDEN, K7_NEXT(conv2_day_0));
ELEMENT_ICON conv2_day_0 =
    k7::icon(&gauge_elec_conv, art(13), CONV2_AT, k7::DAY_HIDDEN, K7_NEXT(conv2_day_1));
ELEMENT_ICON conv2_day_1 =
    k7::icon(&gauge_elec_conv, art(14), CONV2_AT, k7::ART_DAY, K7_NEXT(conv2_night_0));
ELEMENT_ICON conv2_night_0 =
    k7::icon(&gauge_elec_conv, art(15), CONV2_AT, k7::DAY_HIDDEN, K7_NEXT(conv2_night_1));
ELEMENT_ICON conv2_night_1 =
    k7::icon(&gauge_elec_conv, art(16), CONV2_AT, k7::DAY_HIDDEN, K7_NEXT(stby_lamp));
ELEMENT_ICON stby_lamp = k7::icon(&gauge_elec_conv, art(17), {47, 9}, k7::DAY_HIDDEN, K7_END);

const k7::DayNight stby_art[] = {{&stby_day_0.header, &stby_night_0.header},
                                 {&stby_day_1.header, &stby_night_1.header},
                                 {&stby_day_2.header, &stby_night_2.header}};
const k7::DayNight conv1_art[] = {{&conv1_day_0.header, &conv1_night_0.header},
                                  {&conv1_day_1.header, &conv1_night_1.header},
                                  {&conv1_day_2.header, &conv1_night_2.header}};
const k7::DayNight conv2_art[] = {{&conv2_day_0.header, &conv2_night_0.header},
                                  {&conv2_day_1.header, &conv2_night_1.header}};

BOOL FSAPI on_lamp(PPIXPOINT, FLAGS32) {
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 31, 38, 17}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_conv_sel_stby, 1>),
    k7::mouse_area({0, 48, 38, 17}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_conv_sel_stby, 0>),
    k7::mouse_area({0, 65, 38, 17}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_conv_sel_stby, 2>),
    k7::mouse_area({76, 41, 17, 38}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_conv_sel_1, 1>),
    k7::mouse_area({93, 41, 17, 38}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_conv_sel_1, 0>),
    k7::mouse_area({110, 41, 17, 38}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_conv_sel_1, 2>),
    k7::mouse_area({121, 5, 38, 18}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_conv_sel_2, 1>),
    k7::mouse_area({121, 23, 38, 18}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<elec_conv_sel_2, 0>),
    k7::mouse_area({47, 9, 30, 30}, CURSOR_NONE, MOUSE_LEFTSINGLE, on_lamp),
    K7_MOUSE_END,
};

void run_converters() {
  const bool dc = elec_bus_gen != 0;
  const u8 conv2_own = (dc && elec_conv_sel_2 == 1) ? 1 : 0;
  if (elec_conv_sel_1 == 2) {
    // Converter 2 takes converter 1's load, whatever its own selector says.
    elec_conv1_run = 0;
    elec_conv2_run = dc ? 2 : 0;
  } else {
    elec_conv1_run = (elec_conv_sel_1 == 1 && dc) ? 1 : 0;
    elec_conv2_run = conv2_own;
  }

  if (elec_conv_sel_stby == 2) {
    elec_conv_stby_run = elec_bus_ess != 0 ? 2 : 0;
  } else if (elec_conv_sel_stby == 1 && elec_bus_ess != 0) {
    const bool main_lost = (elec_conv_sel_1 == 1 && elec_conv1_run == 0) ||
                           (elec_conv_sel_1 == 2 && elec_conv2_run == 0);
    const bool main_fed = elec_conv1_run != 0 || elec_conv2_run == 2;
    if (main_lost)
      elec_conv_stby_run = 1;
    else if (main_fed)
      elec_conv_stby_run = 0;
  } else {
    elec_conv_stby_run = 0;
  }

  const u8 main = (elec_conv1_run != 0 || elec_conv2_run == 2) ? 1 : 0;
  elec_ac_main = elec_ac_main_b = elec_ac_instr = main;
  elec_ac_ess = elec_ac_ess_b = (main != 0 || elec_conv_stby_run != 0) ? 1 : 0;
  elec_ac_conv2 = elec_ac_conv2_b = elec_conv2_run == 1 ? 1 : 0;
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  run_converters();
  k7::draw_position(stby_art, elec_conv_sel_stby);
  k7::draw_position(conv1_art, elec_conv_sel_1);
  k7::draw_position(conv2_art, elec_conv_sel_2);
  k7::show(stby_lamp, elec_conv_stby_run != 0 && elec_bus_ess != 0);
}

} // namespace

K7_GAUGE_HEADER(elec_conv, background, mouse, callback);
