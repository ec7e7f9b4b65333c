// "kestovil fuel_temp_left_k7" and "kestovil fuel_temp_right_k7": the fuel temperature of each
// side, taken from its engine's oil temperature, on the essential bus. "kestovil fuel_heat_k7":
// the fuel heating panel with its two heat switches (drawn only), the high-temperature lamps and
// the buttons that test the fuel temperature warnings.
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "module/kit.h"
#include "module/runs.h"
#include "module/services.h"

namespace {

constexpr double RANKINE_AT_ZERO_C = 491.67;
constexpr double MOST_RANKINE = 5000.0; // beyond any oil; a wild value reads as this
constexpr double NEEDLE_STEP = 20.0;
constexpr double DIAL_LOW = -80.0, DIAL_HIGH = 150.0;
constexpr double HIGH_TEMPERATURE = 53.0;

double temperature_of(MODULE_VAR& oil) {
  const double rankine = k7::clamp(sim::read_finite(oil), 0.0, MOST_RANKINE);
  return (rankine - RANKINE_AT_ZERO_C) * 0.55556 / 1.5;
}

double on_dial(f64& shown) {
  shown = k7::clamp(k7::finite_or(shown, DIAL_LOW), DIAL_LOW, DIAL_HIGH);
  return shown;
}

// The needle climbs 20 a step to the temperature and follows it down at once; without the bus it
// falls to its stop.
void move_needle(f64& shown, f64 temperature) {
  if (elec_bus_ess == 1) {
    shown = shown >= temperature - NEEDLE_STEP ? temperature : shown + NEEDLE_STEP;
  } else {
    shown -= NEEDLE_STEP;
    if (shown <= -100.0) shown = DIAL_LOW;
  }
  on_dial(shown);
}

FLOAT64 FSAPI shown_lh(ELEMENT_NEEDLE*) {
  return on_dial(fuel_temp_lh_ind);
}
FLOAT64 FSAPI shown_rh(ELEMENT_NEEDLE*) {
  return on_dial(fuel_temp_rh_ind);
}

constexpr PIXPOINT PIVOT = {54, 54};
constexpr PIXPOINT NEEDLE_PIVOT = {-10, 6};
constexpr NONLINEARITY scale[] = {
    {{20, 92}, -80.0, 0.0}, {{14, 86}, -70.0, 0.0},  {{5, 71}, -50.0, 0.0},  {{5, 30}, 0.0, 0.0},
    {{54, 0}, 50.0, 0.0},   {{101, 31}, 100.0, 0.0}, {{95, 87}, 150.0, 0.0},
};

// Chain of a temperature gauge: 0 face, 1 needle.
extern ELEMENT_NEEDLE needle_lh, needle_rh;
ELEMENT_STATIC_IMAGE face_lh =
    k7::static_image(&gauge_fuel_temp_left, 25136, {0, 0}, k7::TRANSPARENT, K7_NEXT(needle_lh));
ELEMENT_NEEDLE needle_lh = k7::needle(&gauge_fuel_temp_left, 25120, PIVOT, NEEDLE_PIVOT,
                                      k7::NEEDLE_DAY, shown_lh, scale, 0, K7_END);
ELEMENT_STATIC_IMAGE face_rh =
    k7::static_image(&gauge_fuel_temp_right, 25136, {0, 0}, k7::TRANSPARENT, K7_NEXT(needle_rh));
ELEMENT_NEEDLE needle_rh = k7::needle(&gauge_fuel_temp_right, 25120, PIVOT, NEEDLE_PIVOT,
                                      k7::NEEDLE_DAY, shown_rh, scale, 0, K7_END);

MODULE_VAR oil_1 = sim::token(0x231);
MODULE_VAR oil_2 = sim::token(0x23B);

void FSAPI temp_left(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  fuel_temp_lh = temperature_of(oil_1);
  move_needle(fuel_temp_lh_ind, fuel_temp_lh);
}
void FSAPI temp_right(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  fuel_temp_rh = temperature_of(oil_2);
  move_needle(fuel_temp_rh_ind, fuel_temp_rh);
}

MOUSERECT temp_left_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};
MOUSERECT temp_right_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

// ---- heat panel
// ---------------------------------------------------------------------------------------

constexpr u8 HEAT_TOP = 255, HEAT_MIDDLE = 0, HEAT_BOTTOM = 10; // the bottom counts back to 0
constexpr u8 R1_TEST_UPDATES = 10;

// Chain: 0 face; 1-3 left switch top, middle, bottom; 4-6 the right switch; 7 left lamp,
// 8 right lamp.
constexpr k7::ImageEntry heat_images[] = {
    {22384, {36, 106}, k7::HIDDEN},      {22320, {36, 116}, k7::TRANSPARENT},
    {22336, {36, 120}, k7::HIDDEN},      {22384, {91, 106}, k7::HIDDEN},
    {22320, {91, 116}, k7::TRANSPARENT}, {22336, {91, 120}, k7::HIDDEN},
    {512, {46, 179}, k7::HIDDEN},        {512, {77, 179}, k7::HIDDEN},
};
using HeatImages = k7::Run<gauge_fuel_heat, heat_images>;
ELEMENT_STATIC_IMAGE heat_face =
    k7::static_image(&gauge_fuel_heat, 25104, {0, 0}, k7::TRANSPARENT, HeatImages::head);

std::size_t switch_image(u8 position) {
  return position == HEAT_TOP ? 0 : position == HEAT_MIDDLE ? 1 : 2;
}

// The bottom position is spring-loaded: 1..127 counts down to the middle.
void spring_back(u8& heat_switch) {
  if (heat_switch >= 1 && heat_switch <= 127) --heat_switch;
}

void FSAPI heat_panel(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  if (fuel_temp_test_r1 != 0) --fuel_temp_test_r1;
  spring_back(fuel_heat_sw_lh);
  spring_back(fuel_heat_sw_rh);
  ELEMENT_ICON* image = HeatImages::element;
  k7::show_position(image, 3, switch_image(fuel_heat_sw_lh));
  k7::show_position(image + 3, 3, switch_image(fuel_heat_sw_rh));
  const bool powered = elec_bus_ess == 1;
  k7::show(image[6], powered && (fuel_temp_lh >= HIGH_TEMPERATURE || fuel_temp_test_l2 == 1));
  k7::show(image[7], powered && (fuel_temp_rh >= HIGH_TEMPERATURE || fuel_temp_test_r2 == 1));
}

template <u8& Switch> BOOL FSAPI on_top(PPIXPOINT, FLAGS32) {
  k7::switch_to(Switch, HEAT_TOP);
  return FALSE_K7;
}
template <u8& Switch> BOOL FSAPI on_middle(PPIXPOINT, FLAGS32) {
  k7::switch_to(Switch, HEAT_MIDDLE);
  return FALSE_K7;
}
template <u8& Switch> BOOL FSAPI on_bottom(PPIXPOINT, FLAGS32) {
  Switch = HEAT_BOTTOM; // silent
  return FALSE_K7;
}

BOOL FSAPI on_test_l1(PPIXPOINT, FLAGS32) {
  fuel_temp_test_l1 = fuel_temp_test_l1 == 0 ? 1 : 0;
  return FALSE_K7;
}
BOOL FSAPI on_test_r1(PPIXPOINT, FLAGS32) {
  fuel_temp_test_r1 = fuel_temp_test_r1 != 0 ? 0 : R1_TEST_UPDATES;
  return FALSE_K7;
}
template <u8& Test> BOOL FSAPI on_test_set(PPIXPOINT, FLAGS32) {
  Test = 1;
  return FALSE_K7;
}
template <u8& Test1, u8& Test2> BOOL FSAPI on_test_clear(PPIXPOINT, FLAGS32) {
  Test1 = 0;
  Test2 = 0;
  return FALSE_K7;
}

constexpr FLAGS32 CLICK = MOUSE_LEFTSINGLE;
MOUSERECT heat_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({24, 92, 37, 20}, CURSOR_DOWNARROW, CLICK, on_top<fuel_heat_sw_lh>),
    k7::mouse_area({24, 112, 37, 20}, CURSOR_HAND, CLICK, on_middle<fuel_heat_sw_lh>),
    k7::mouse_area({24, 132, 37, 20}, CURSOR_UPARROW, CLICK, on_bottom<fuel_heat_sw_lh>),
    k7::mouse_area({78, 92, 37, 20}, CURSOR_DOWNARROW, CLICK, on_top<fuel_heat_sw_rh>),
    k7::mouse_area({78, 112, 37, 20}, CURSOR_HAND, CLICK, on_middle<fuel_heat_sw_rh>),
    k7::mouse_area({78, 132, 37, 20}, CURSOR_UPARROW, CLICK, on_bottom<fuel_heat_sw_rh>),
    k7::mouse_area({14, 51, 24, 24}, CURSOR_HAND, CLICK, on_test_l1),
    k7::mouse_area({43, 51, 24, 24}, CURSOR_HAND, CLICK, on_test_set<fuel_temp_test_l2>),
    k7::mouse_area({73, 51, 24, 24}, CURSOR_HAND, CLICK, on_test_r1),
    k7::mouse_area({102, 51, 24, 24}, CURSOR_HAND, CLICK, on_test_set<fuel_temp_test_r2>),
    k7::mouse_area({15, 173, 24, 24}, CURSOR_HAND, CLICK,
                   on_test_clear<fuel_temp_test_l1, fuel_temp_test_l2>),
    k7::mouse_area({102, 173, 24, 24}, CURSOR_HAND, CLICK,
                   on_test_clear<fuel_temp_test_r1, fuel_temp_test_r2>),
    K7_MOUSE_END,
};

} // namespace

K7_GAUGE_HEADER(fuel_temp_left, face_lh, temp_left_mouse, temp_left);
K7_GAUGE_HEADER(fuel_temp_right, face_rh, temp_right_mouse, temp_right);
K7_GAUGE_HEADER(fuel_heat, heat_face, heat_mouse, heat_panel);
