// Panel lighting: the two knobs of "kestovil elec_panlight_k7" select day or night, and
// "kestovil panelnight_k7", the panel-wide night overlay on the main panel, lights the night
// artwork while the lighting has power. Its `elec_panel_night` flag tells every other gauge to
// draw its night artwork. It also keeps the simulator's panel, cabin and two other lights in
// step with the aircraft's supply.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"
#include "module/panel_abi.h"
#include "module/services.h"

namespace {

// Panel lighting states: day, going to day, night selected, going to night and lit.
enum : u8 {
  LIGHT_DAY = 0,
  LIGHT_TO_DAY_1 = 1,
  LIGHT_TO_DAY_2 = 2,
  LIGHT_NIGHT_SELECTED = 3,
  LIGHT_TO_NIGHT = 4,
  LIGHT_NIGHT_LIT = 5,
};

constexpr u8 KNOB_NIGHT = 0;
constexpr u8 KNOB_DAY = 180;

// ---- "kestovil elec_panlight_k7": the two knobs, both showing the one selection

FLOAT64 FSAPI knob_angle(ELEMENT_NEEDLE*) {
  return elec_panlight_knob;
}

extern ELEMENT_NEEDLE knob_left, knob_right;

ELEMENT_STATIC_IMAGE knobs_background =
    k7::static_image(&gauge_elec_panlight, k7::bitmap_id(GAUGE_INDEX_elec_panlight, 0), {0, 0},
                     k7::TRANSPARENT, K7_NEXT(knob_left));
ELEMENT_NEEDLE knob_left =
    k7::needle_degrees(&gauge_elec_panlight, k7::bitmap_id(GAUGE_INDEX_elec_panlight, 1), {49, 48},
                       {20, 20}, k7::ART_DAY, knob_angle, 0, K7_NEXT(knob_right));
ELEMENT_NEEDLE knob_right =
    k7::needle_degrees(&gauge_elec_panlight, k7::bitmap_id(GAUGE_INDEX_elec_panlight, 2), {166, 48},
                       {20, 20}, k7::ART_DAY, knob_angle, 0, K7_END);

// Turning a knob toward the side it already selects changes nothing.
BOOL FSAPI on_day(PPIXPOINT, FLAGS32) {
  elec_panlight_knob = KNOB_DAY;
  if (elec_panlight_state >= LIGHT_NIGHT_SELECTED) elec_panlight_state = LIGHT_TO_DAY_1;
  return 0;
}
BOOL FSAPI on_night(PPIXPOINT, FLAGS32) {
  elec_panlight_knob = KNOB_NIGHT;
  if (elec_panlight_state < LIGHT_NIGHT_SELECTED) elec_panlight_state = LIGHT_NIGHT_SELECTED;
  return 0;
}

MOUSERECT knobs_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({6, 13, 43, 71}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_day),
    k7::mouse_area({49, 13, 43, 71}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_night),
    k7::mouse_area({123, 13, 43, 71}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_day),
    k7::mouse_area({166, 13, 43, 71}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_night),
    K7_MOUSE_END,
};

// The knobs only draw; the lighting runs on the main panel.
void FSAPI knobs_callback(PGAUGEHDR, SINT32, GAUGE_EXTRA) {}

// ---- "kestovil panelnight_k7": the night overlay and the lighting logic

extern ELEMENT_STATIC_IMAGE night_overlay;

ELEMENT_STATIC_IMAGE night_background =
    k7::static_image(&gauge_panelnight, k7::bitmap_id(GAUGE_INDEX_panelnight, 0), {0, 0},
                     k7::TRANSPARENT, K7_NEXT(night_overlay));
ELEMENT_STATIC_IMAGE night_overlay = k7::static_image(
    &gauge_panelnight, k7::bitmap_id(GAUGE_INDEX_panelnight, 1), {0, 0}, k7::DAY_HIDDEN, K7_END);

MOUSERECT night_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

constexpr u32 WINDOW_CLOCK = 10130;
constexpr u32 KEY_PANEL_LIGHTS_ON = 0x10208;
constexpr u32 KEY_PANEL_LIGHTS_OFF = 0x10209;
constexpr u32 KEY_LIGHT_26C = 0x10348;
constexpr u32 KEY_LIGHT_26E = 0x10349;
constexpr u32 KEY_CABIN_LIGHTS = 0x10413;
constexpr const char* CABIN_LIGHT = "(A:Light cabin,bool)";

MODULE_VAR panel_light_var = sim::token(0xA);
MODULE_VAR light_26c_var = sim::token(0x26C);
MODULE_VAR light_26e_var = sim::token(0x26E);

// Each step of the lighting state toggles the clock window, so a whole transition leaves it as
// it was.
void step_to(u8 state) {
  elec_panlight_state = state;
  sim::key_event(KEY_PANEL_ID_TOGGLE, WINDOW_CLOCK);
}

void run_lighting() {
  const bool powered = elec_bus_gen_c != 0 || elec_bus_ess != 0;
  if (elec_panlight_state < LIGHT_NIGHT_SELECTED || !powered) {
    k7::show(night_overlay, false);
    elec_panel_night = 0;
    if (elec_panlight_state == LIGHT_TO_DAY_1) step_to(LIGHT_TO_DAY_2);
    if (elec_panlight_state == LIGHT_TO_DAY_2) step_to(LIGHT_DAY);
    if (elec_panlight_state == LIGHT_NIGHT_LIT) step_to(LIGHT_TO_NIGHT);
    if (elec_panlight_state == LIGHT_TO_NIGHT) step_to(LIGHT_NIGHT_SELECTED);
  } else {
    k7::show(night_overlay, true);
    elec_panel_night = 1;
    if (elec_panlight_state == LIGHT_NIGHT_SELECTED) step_to(LIGHT_TO_NIGHT);
    if (elec_panlight_state == LIGHT_TO_NIGHT) step_to(LIGHT_NIGHT_LIT);
  }
}

// The simulator's own lights follow the aircraft's supply; each key event goes only while the
// simulator's light disagrees.
void align_simulator_lights() {
  const double panel = sim::read(panel_light_var);
  if (elec_panlight_state < LIGHT_NIGHT_SELECTED) {
    if (panel == 1.0) sim::key_event(KEY_PANEL_LIGHTS_OFF);
  } else if (elec_ac_main_b != 0 || elec_bus_ess != 0) {
    if (panel == 0.0) sim::key_event(KEY_PANEL_LIGHTS_ON);
  } else if (panel == 1.0) {
    sim::key_event(KEY_PANEL_LIGHTS_OFF);
  }
  if (elec_bus_gen == 0) {
    if (sim::read(light_26e_var) == 1.0) sim::key_event(KEY_LIGHT_26E);
    if (sim::read(light_26c_var) == 1.0) sim::key_event(KEY_LIGHT_26C);
  }
  if (sim::calc(CABIN_LIGHT) == 1.0) sim::key_event(KEY_CABIN_LIGHTS);
}

void FSAPI night_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  run_lighting();
  align_simulator_lights();
}

} // namespace

K7_GAUGE_HEADER(elec_panlight, knobs_background, knobs_mouse, knobs_callback);
K7_GAUGE_HEADER(panelnight, night_background, night_mouse, night_callback);
