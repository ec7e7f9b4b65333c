// "kestovil servos_k7": the flight-control servo panel. The servo supply lever (notches in the
// order 2-1-0-3-4) commands the yellow pumps, two selectors, four push switches with their lamps,
// and the two servo alarms for the warning panel.
#include "electrical/electrical.h"
#include "module/daynight.h"
#include "hydraulics/hyd_logic.h"
#include "hydraulics/hydraulics.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_servos, n);
}

// Chain: 0 face, 1 night face; the lever at 0..4 (2-11, day and night of each); selector A at
// 0..2 (12-17); selector B at 0..1 (18-21); the lamps of push switches 2a, 2b, 1a, 1b (22-29).
extern ELEMENT_ICON face_night;
extern ELEMENT_ICON lev0_day, lev0_night, lev1_day, lev1_night, lev2_day, lev2_night, lev3_day,
    lev3_night, lev4_day, lev4_night;
extern ELEMENT_ICON sela0_day, sela0_night, sela1_day, sela1_night, sela2_day, sela2_night;
extern ELEMENT_ICON selb0_day, selb0_night, selb1_day, selb1_night;
extern ELEMENT_ICON lamp2a_day, lamp2a_night, lamp2b_day, lamp2b_night, lamp1a_day, lamp1a_night,
    lamp1b_day, lamp1b_night;

constexpr PGAUGEHDR g = &gauge_servos;
constexpr PIXPOINT LEVER = {131, 39};
constexpr PIXPOINT SELECTOR_A = {36, 39};
constexpr PIXPOINT SELECTOR_B = {309, 39};

ELEMENT_STATIC_IMAGE face = k7::static_image(g, art(0), {0, 0}, k7::ART_DAY, K7_NEXT(face_night));
ELEMENT_ICON face_night = k7::icon(g, art(1), {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(lev0_day));
ELEMENT_ICON lev0_day = k7::icon(g, art(2), LEVER, k7::ART_DAY, K7_NEXT(lev0_night));
ELEMENT_ICON lev0_night = k7::icon(g, art(3), LEVER, k7::NIGHT_HIDDEN, K7_NEXT(lev1_day));
ELEMENT_ICON lev1_day = k7::icon(g, art(4), LEVER, k7::DAY_HIDDEN, K7_NEXT(lev1_night));
ELEMENT_ICON lev1_night = k7::icon(g, art(5), LEVER, k7::NIGHT_HIDDEN, K7_NEXT(lev2_day));
ELEMENT_ICON lev2_day = k7::icon(g, art(6), LEVER, k7::DAY_HIDDEN, K7_NEXT(lev2_night));
ELEMENT_ICON lev2_night = k7::icon(g, art(7), LEVER, k7::NIGHT_HIDDEN, K7_NEXT(lev3_day));
ELEMENT_ICON lev3_day = k7::icon(g, art(8), LEVER, k7::DAY_HIDDEN, K7_NEXT(lev3_night));
ELEMENT_ICON lev3_night = k7::icon(g, art(9), LEVER, k7::NIGHT_HIDDEN, K7_NEXT(lev4_day));
ELEMENT_ICON lev4_day = k7::icon(g, art(10), LEVER, k7::DAY_HIDDEN, K7_NEXT(lev4_night));
ELEMENT_ICON lev4_night = k7::icon(g, art(11), LEVER, k7::NIGHT_HIDDEN, K7_NEXT(sela0_day));
ELEMENT_ICON sela0_day = k7::icon(g, art(12), SELECTOR_A, k7::ART_DAY, K7_NEXT(sela0_night));
ELEMENT_ICON sela0_night = k7::icon(g, art(13), SELECTOR_A, k7::NIGHT_HIDDEN, K7_NEXT(sela1_day));
ELEMENT_ICON sela1_day = k7::icon(g, art(14), SELECTOR_A, k7::DAY_HIDDEN, K7_NEXT(sela1_night));
ELEMENT_ICON sela1_night = k7::icon(g, art(15), SELECTOR_A, k7::NIGHT_HIDDEN, K7_NEXT(sela2_day));
ELEMENT_ICON sela2_day = k7::icon(g, art(16), SELECTOR_A, k7::DAY_HIDDEN, K7_NEXT(sela2_night));
ELEMENT_ICON sela2_night = k7::icon(g, art(17), SELECTOR_A, k7::NIGHT_HIDDEN, K7_NEXT(selb0_day));
ELEMENT_ICON selb0_day = k7::icon(g, art(18), SELECTOR_B, k7::ART_DAY, K7_NEXT(selb0_night));
ELEMENT_ICON selb0_night = k7::icon(g, art(19), SELECTOR_B, k7::NIGHT_HIDDEN, K7_NEXT(selb1_day));
ELEMENT_ICON selb1_day = k7::icon(g, art(20), SELECTOR_B, k7::DAY_HIDDEN, K7_NEXT(selb1_night));
ELEMENT_ICON selb1_night = k7::icon(g, art(21), SELECTOR_B, k7::NIGHT_HIDDEN, K7_NEXT(lamp2a_day));
ELEMENT_ICON lamp2a_day = k7::icon(g, art(22), {222, 28}, k7::DAY_HIDDEN, K7_NEXT(lamp2a_night));
ELEMENT_ICON lamp2a_night = k7::icon(g, art(23), {222, 28}, k7::NIGHT_HIDDEN, K7_NEXT(lamp2b_day));
ELEMENT_ICON lamp2b_day = k7::icon(g, art(24), {255, 28}, k7::DAY_HIDDEN, K7_NEXT(lamp2b_night));
ELEMENT_ICON lamp2b_night = k7::icon(g, art(25), {255, 28}, k7::NIGHT_HIDDEN, K7_NEXT(lamp1a_day));
ELEMENT_ICON lamp1a_day = k7::icon(g, art(26), {247, 489}, k7::DAY_HIDDEN, K7_NEXT(lamp1a_night));
ELEMENT_ICON lamp1a_night = k7::icon(g, art(27), {247, 489}, k7::NIGHT_HIDDEN, K7_NEXT(lamp1b_day));
ELEMENT_ICON lamp1b_day = k7::icon(g, art(28), {311, 489}, k7::DAY_HIDDEN, K7_NEXT(lamp1b_night));
ELEMENT_ICON lamp1b_night = k7::icon(g, art(29), {311, 489}, k7::NIGHT_HIDDEN, K7_END);

const k7::DayNight face_art = {&face.header, &face_night.header};
const k7::DayNight lever_art[5] = {
    {&lev0_day.header, &lev0_night.header}, {&lev1_day.header, &lev1_night.header},
    {&lev2_day.header, &lev2_night.header}, {&lev3_day.header, &lev3_night.header},
    {&lev4_day.header, &lev4_night.header},
};
const k7::DayNight selector_a_art[3] = {{&sela0_day.header, &sela0_night.header},
                                        {&sela1_day.header, &sela1_night.header},
                                        {&sela2_day.header, &sela2_night.header}};
const k7::DayNight selector_b_art[2] = {{&selb0_day.header, &selb0_night.header},
                                        {&selb1_day.header, &selb1_night.header}};
const k7::DayNight lamp_2a = {&lamp2a_day.header, &lamp2a_night.header};
const k7::DayNight lamp_2b = {&lamp2b_day.header, &lamp2b_night.header};
const k7::DayNight lamp_1a = {&lamp1a_day.header, &lamp1a_night.header};
const k7::DayNight lamp_1b = {&lamp1b_day.header, &lamp1b_night.header};

// The servo lever moves one notch per click; each area lists where it takes the lever from each
// position (STAY: no move from there).
constexpr u8 STAY = 0xFF;
struct LeverMoves {
  u8 to[5];
};
constexpr LeverMoves lever_toward_2 = {{STAY, 2, STAY, STAY, STAY}};
constexpr LeverMoves lever_toward_1 = {{1, STAY, 1, STAY, STAY}};
constexpr LeverMoves lever_toward_0 = {{STAY, 0, STAY, 0, STAY}};
constexpr LeverMoves lever_toward_3 = {{3, STAY, STAY, STAY, 3}};
constexpr LeverMoves lever_toward_4 = {{STAY, STAY, STAY, 4, STAY}};

template <const LeverMoves& Moves> BOOL FSAPI on_lever(PPIXPOINT, FLAGS32) {
  if (hydrau_servo_mode < 5 && Moves.to[hydrau_servo_mode] != STAY)
    k7::switch_to(hydrau_servo_mode, Moves.to[hydrau_servo_mode]);
  return FALSE_K7;
}

// The selectors only change their images. From 0 only, where the panel says so.
template <u8& Selector, int Position> BOOL FSAPI on_selector_from_0(PPIXPOINT, FLAGS32) {
  if (Selector == 0) k7::switch_to(Selector, Position);
  return FALSE_K7;
}

template <u8& Switch> BOOL FSAPI on_push(PPIXPOINT, FLAGS32) {
  k7::switch_to(Switch, Switch == 0 ? 1 : 0);
  return FALSE_K7;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({131, 39, 77, 125}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_lever<lever_toward_2>),
    k7::mouse_area({208, 59, 77, 105}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_lever<lever_toward_1>),
    k7::mouse_area({208, 170, 77, 125}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_lever<lever_toward_0>),
    k7::mouse_area({208, 303, 77, 125}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_lever<lever_toward_3>),
    k7::mouse_area({131, 303, 77, 125}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_lever<lever_toward_4>),
    k7::mouse_area({36, 39, 77, 125}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   on_selector_from_0<servo_sel_a, 1>),
    k7::mouse_area({36, 303, 77, 125}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   on_selector_from_0<servo_sel_a, 2>),
    k7::mouse_area({36, 170, 77, 125}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<servo_sel_a, 0>),
    k7::mouse_area({309, 39, 77, 125}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   on_selector_from_0<servo_sel_b, 1>),
    k7::mouse_area({309, 303, 77, 125}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<servo_sel_b, 0>),
    k7::mouse_area({222, 28, 30, 30}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_push<servo_test_2a>),
    k7::mouse_area({255, 28, 30, 30}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_push<servo_test_2b>),
    k7::mouse_area({247, 489, 30, 30}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_push<servo_test_1a>),
    k7::mouse_area({311, 489, 30, 30}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_push<servo_test_1b>),
    K7_MOUSE_END,
};

// A servo alarm: set while its circuit is low with the main bus powered, held as it is while its
// push switch is in (and the bus powered).
void servo_alarm_update(u8& alarm, u8 hold_switch, u16 pressure, bool main_bus) {
  if (hold_switch != 0 && main_bus) return;
  alarm = main_bus && pressure < 1401;
}

void update() {
  const bool main_bus = elec_bus_main != 0;
  servo_alarm_update(servo_alarm_2, servo_test_2b, hydrau_press_blue, main_bus);
  servo_alarm_update(servo_alarm_1, servo_test_1b, hydrau_press_green, main_bus);
  hyd::yellow_command_step(hydrau_yellow2_on, hydrau_servo_mode == 2, main_bus);
  hyd::yellow_command_step(hydrau_yellow1_on, hydrau_servo_mode == 4, main_bus);

  k7::draw(face_art);
  k7::draw_position(lever_art, hydrau_servo_mode);
  k7::draw_position(selector_a_art, servo_sel_a);
  k7::draw_position(selector_b_art, servo_sel_b);
  k7::draw(lamp_2a, main_bus && (servo_alarm_2 != 0 || servo_test_2a != 0));
  k7::draw(lamp_2b, main_bus && (servo_alarm_2 != 0 || servo_test_2b != 0));
  k7::draw(lamp_1a, main_bus && (servo_alarm_1 != 0 || servo_test_1a != 0));
  k7::draw(lamp_1b, main_bus && (servo_alarm_1 != 0 || servo_test_1b != 0));
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) update();
}

} // namespace

K7_GAUGE_HEADER(servos, face, mouse, callback);
