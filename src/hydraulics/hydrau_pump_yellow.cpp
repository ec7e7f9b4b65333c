// "kestovil hydrau_pump_yellow_k7": the two yellow electric pumps (commanded from the servo panel)
// with the yellow pressure, the yellow lamp and the panel's selector.
#include "electrical/electrical.h"
#include "module/daynight.h"
#include "hydraulics/hyd_logic.h"
#include "hydraulics/hydraulics.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_hydrau_pump_yellow, n);
}

// Chain: 0 face, 1 night face, 2-3 lamp (day, night), 4-7 selector at 1 and at 2 (day, night).
extern ELEMENT_ICON face_night, lamp_day, lamp_night;
extern ELEMENT_ICON sel1_day, sel1_night, sel2_day, sel2_night;

constexpr PGAUGEHDR g = &gauge_hydrau_pump_yellow;
ELEMENT_STATIC_IMAGE face = k7::static_image(g, art(0), {0, 0}, k7::ART_DAY, K7_NEXT(face_night));
ELEMENT_ICON face_night =
    k7::icon(g, art(1), {0, 0}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(lamp_day));
ELEMENT_ICON lamp_day =
    k7::icon(g, art(2), {45, 8}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(lamp_night));
ELEMENT_ICON lamp_night =
    k7::icon(g, art(3), {45, 8}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(sel1_day));
ELEMENT_ICON sel1_day = k7::icon(g, art(4), {30, 70}, k7::ART_DAY, K7_NEXT(sel1_night));
ELEMENT_ICON sel1_night =
    k7::icon(g, art(5), {30, 70}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(sel2_day));
ELEMENT_ICON sel2_day =
    k7::icon(g, art(6), {30, 70}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(sel2_night));
ELEMENT_ICON sel2_night = k7::icon(g, art(7), {30, 70}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_END);

const k7::DayNight face_art = {&face.header, &face_night.header};
const k7::DayNight lamp_art = {&lamp_day.header, &lamp_night.header};
// Positions 1 and 2 of the selector.
const k7::DayNight selector_art[2] = {{&sel1_day.header, &sel1_night.header},
                                      {&sel2_day.header, &sel2_night.header}};

// The selector changes nothing but its image.
BOOL FSAPI on_select_1(PPIXPOINT, FLAGS32) {
  k7::switch_to(hydrau_yellow_sel, 1);
  return FALSE_K7;
}
BOOL FSAPI on_select_2(PPIXPOINT, FLAGS32) {
  k7::switch_to(hydrau_yellow_sel, 2);
  return FALSE_K7;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({30, 70, 35, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_select_1),
    k7::mouse_area({65, 70, 35, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_select_2),
    K7_MOUSE_END,
};

void update() {
  const bool green_low = hydrau_press_green < hyd::GREEN_LOADS_ON_YELLOW;
  hyd::yellow_pump_step(hydrau_yellow1_press, hydrau_yellow1_running, hydrau_yellow1_loaded,
                        hydrau_yellow1_on == 1 && hydrau_level_yellow1 >= 20, green_low,
                        hydrau_servo_mode == 3);
  hyd::yellow_pump_step(hydrau_yellow2_press, hydrau_yellow2_running, hydrau_yellow2_loaded,
                        hydrau_yellow2_on == 1 && hydrau_level_yellow2 >= 20, green_low,
                        hydrau_servo_mode == 1);
  hydrau_press_yellow = hydrau_yellow2_press > 0 ? hydrau_yellow2_press : hydrau_yellow1_press;

  const bool lit = elec_bus_main != 0 && hydrau_press_yellow < 2500 &&
                   (hydrau_yellow1_running == 1 || hydrau_yellow2_running == 1);
  k7::draw(face_art);
  k7::draw(lamp_art, lit);
  k7::draw_position(selector_art, hydrau_yellow_sel - 1u);
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) update();
}

} // namespace

K7_GAUGE_HEADER(hydrau_pump_yellow, face, mouse, callback);
