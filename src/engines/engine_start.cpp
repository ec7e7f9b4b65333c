// The engine start panel. "kestovil engstart_k7": start selector, start master switch, start
// button and the two in-flight relight buttons, and the start logic that cranks an engine through
// the simulator's starter while the start supply and the essential bus hold. "kestovil
// engstart_lights_k7": the starter lamps and the ground-start lamp. "kestovil engstart_volt_k7":
// the start-supply meter. "kestovil eng_relight_k7": an inert face.
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "module/kit.h"
#include "module/runs.h"
#include "module/services.h"

namespace {

// ---- the start logic
// ----------------------------------------------------------------------------------

constexpr u8 SUPPLY_GROUND_POWER = 112;
constexpr u8 SUPPLY_BATTERY_START = 130;
constexpr u8 SUPPLY_NEEDED = 112;
constexpr u32 START_TIMEOUT_TICKS = 990;
constexpr double START_ENDS_ABOVE_N2 = 40.0;
constexpr u8 BATTERY_START_POSITION = 2;

constexpr double RELIGHT_MIN_AIRSPEED = 150.0;
constexpr double RELIGHT_MIN_N2 = 12.0;
constexpr double RELIGHT_OTHER_MIN_N2 = 80.0;
constexpr u8 RELIGHT_PRESS = 10;
constexpr u8 RELIGHT_REPEAT = 2;

struct Starter {
  u8& request;
  u8& running; // the start is timing
  u32& end_tick;
  u8& starter_on;
  u8& relight_timer;
  u8& fuel_selector;
  u32 crank_event;
};

constexpr Starter starter1{eng1_start_req,     eng1_start_run, eng1_start_end, eng1_starter_on,
                           eng1_relight_timer, fuel_sel_eng1,  0x102FC};
constexpr Starter starter2{eng2_start_req,     eng2_start_run, eng2_start_end, eng2_starter_on,
                           eng2_relight_timer, fuel_sel_eng2,  0x102FD};

MODULE_VAR tick_var = sim::token(0x1);
MODULE_VAR n2_eng1 = sim::token(0x271);
MODULE_VAR n2_eng2 = sim::token(0x284);
MODULE_VAR airspeed_var = sim::token(0x3D);

void stop(const Starter& s) {
  s.request = 0;
  s.running = 0;
  s.starter_on = 0;
}

// One update of an engine's start: armed by the button, it cranks while the engine's fuel
// selector is not off, and ends above 40 % N2 or when its time is up, or at once when the supply,
// the essential bus or the master switch goes.
void run_start(const Starter& s, u32 tick, double n2) {
  if (eng_start_volts < SUPPLY_NEEDED || elec_bus_ess == 0 || s.request == 0 ||
      eng_start_master == 0) {
    stop(s);
    return;
  }
  if (s.running == 0) {
    s.end_tick = tick > UINT32_MAX - START_TIMEOUT_TICKS ? UINT32_MAX : tick + START_TIMEOUT_TICKS;
    s.running = 1;
    s.starter_on = 1;
  }
  if (s.fuel_selector != 0 && tick < s.end_tick) {
    s.starter_on = 1;
    sim::key_event(s.crank_event);
  }
  if (tick >= s.end_tick || n2 > START_ENDS_ABOVE_N2) stop(s);
}

// ---- the start panel
// ----------------------------------------------------------------------------------

// Selector images by position (0 neutral, 1 engine 1, 2 engine 2), then the master switch (off,
// on).
constexpr k7::ImageEntry panel_images[] = {
    {21040, {40, 15}, k7::TRANSPARENT}, {21072, {27, 16}, k7::HIDDEN},
    {21088, {43, 16}, k7::HIDDEN},      {21056, {33, 72}, k7::TRANSPARENT},
    {21104, {33, 56}, k7::HIDDEN},
};
constexpr std::size_t SELECTOR = 0, MASTER = 3;
using PanelImages = k7::Run<gauge_engstart, panel_images>;

ELEMENT_STATIC_IMAGE panel_face =
    k7::static_image(&gauge_engstart, 20992, {0, 0}, k7::TRANSPARENT, PanelImages::head);

void FSAPI panel_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::button_update(eng1_relight_timer);
  k7::button_update(eng2_relight_timer);

  k7::show_position(PanelImages::element + SELECTOR, 3, eng_start_sel);
  k7::show_position(PanelImages::element + MASTER, 2, eng_start_master);

  if (elec_extpwr_feeding == 1)
    eng_start_volts = SUPPLY_GROUND_POWER;
  else if (elec_batt_commut == BATTERY_START_POSITION && elec_batt_charge > 0)
    eng_start_volts = SUPPLY_BATTERY_START;
  else
    eng_start_volts = 0;

  const u32 tick = k7::sat_cast<u32>(sim::read(tick_var));
  const double n2_1 = sim::read(n2_eng1);
  const double n2_2 = sim::read(n2_eng2);
  run_start(starter1, tick, n2_1);
  run_start(starter2, tick, n2_2);

  // In-flight relight: the starter turns a windmilling engine while its button is held, fed by
  // the other engine running.
  if (sim::read(airspeed_var) >= RELIGHT_MIN_AIRSPEED && elec_bus_ess == 1) {
    if (eng1_relight_timer != 0) {
      if (sim::read(n2_eng1) >= RELIGHT_MIN_N2 && sim::read(n2_eng2) >= RELIGHT_OTHER_MIN_N2)
        sim::key_event(starter1.crank_event);
    }
    if (eng2_relight_timer != 0) {
      if (sim::read(n2_eng2) >= RELIGHT_MIN_N2 && sim::read(n2_eng1) >= RELIGHT_OTHER_MIN_N2)
        sim::key_event(starter2.crank_event);
    }
  }
}

BOOL FSAPI on_start_button(PPIXPOINT, FLAGS32) {
  if (eng_start_sel == 1) eng1_start_req = 1;
  if (eng_start_sel == 2) eng2_start_req = 1;
  return FALSE_K7;
}

// A relight button: a press starts its timer at 12, each repeat while held adds 2, up to the
// timer's top.
template <u8& Timer> BOOL FSAPI on_relight(PPIXPOINT, FLAGS32) {
  if (Timer == 0) Timer = RELIGHT_PRESS;
  Timer = Timer > UINT8_MAX - RELIGHT_REPEAT ? UINT8_MAX : static_cast<u8>(Timer + RELIGHT_REPEAT);
  return FALSE_K7;
}

constexpr FLAGS32 CLICK = MOUSE_LEFTSINGLE;
constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

MOUSERECT panel_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 30, 46}, CURSOR_DOWNARROW, CLICK, k7::switch_area<eng_start_sel, 1>),
    k7::mouse_area({30, 0, 30, 46}, CURSOR_HAND, CLICK, k7::switch_area<eng_start_sel, 0>),
    k7::mouse_area({60, 0, 30, 46}, CURSOR_UPARROW, CLICK, k7::switch_area<eng_start_sel, 2>),
    k7::mouse_area({17, 50, 42, 25}, CURSOR_UPARROW, CLICK, k7::switch_area<eng_start_master, 1>),
    k7::mouse_area({17, 75, 42, 25}, CURSOR_DOWNARROW, CLICK, k7::switch_area<eng_start_master, 0>),
    k7::mouse_area({63, 54, 42, 42}, CURSOR_HAND, HELD, on_start_button),
    k7::mouse_area({114, 21, 34, 34}, CURSOR_HAND, HELD, on_relight<eng1_relight_timer>),
    k7::mouse_area({156, 21, 34, 34}, CURSOR_HAND, HELD, on_relight<eng2_relight_timer>),
    K7_MOUSE_END,
};

// ---- the starter lamps
// --------------------------------------------------------------------------------

constexpr k7::ImageEntry lamp_images[] = {
    {368, {0, 0}, k7::HIDDEN},   {368, {0, 46}, k7::HIDDEN}, {368, {44, 0}, k7::HIDDEN},
    {368, {44, 46}, k7::HIDDEN}, {384, {0, 78}, k7::HIDDEN},
};
using LampImages = k7::Run<gauge_engstart_lights, lamp_images>;

ELEMENT_STATIC_IMAGE lamps_face =
    k7::static_image(&gauge_engstart_lights, 21008, {0, 0}, k7::TRANSPARENT, LampImages::head);

void FSAPI lamps_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  ELEMENT_ICON* lamp = LampImages::element;
  const bool powered = elec_bus_ess == 1;
  const bool starter1_on = powered && eng1_starter_on == 1;
  const bool starter2_on = powered && eng2_starter_on == 1;
  k7::show(lamp[0], starter1_on);
  k7::show(lamp[1], starter1_on);
  k7::show(lamp[2], starter2_on);
  k7::show(lamp[3], starter2_on);
  k7::show(lamp[4],
           powered && (elec_extpwr_feeding == 1 ||
                       (elec_extpwr_connected == 1 && elec_batt_commut == BATTERY_START_POSITION)));
}

MOUSERECT lamps_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

// ---- the start-supply meter
// ---------------------------------------------------------------------------

constexpr NONLINEARITY volt_dial[] = {
    {{8, 50}, 0.0, 0.0},
    {{43, 17}, 50.0, 0.0},
    {{98, 20}, 100.0, 0.0},
    {{126, 42}, 130.0, 0.0},
};

FLOAT64 FSAPI volts_value(ELEMENT_NEEDLE*) {
  return eng_start_volts < SUPPLY_BATTERY_START ? eng_start_volts : SUPPLY_BATTERY_START;
}

extern ELEMENT_ICON volt_plate;
extern ELEMENT_NEEDLE volt_needle;

ELEMENT_STATIC_IMAGE volt_face =
    k7::static_image(&gauge_engstart_volt, 21248, {0, 0}, k7::TRANSPARENT, K7_NEXT(volt_plate));
ELEMENT_ICON volt_plate =
    k7::icon(&gauge_engstart_volt, 1328, {5, 75}, k7::TRANSPARENT, K7_NEXT(volt_needle));
ELEMENT_NEEDLE volt_needle = k7::needle(&gauge_engstart_volt, 544, {67, 83}, {3, 3},
                                        k7::TRANSPARENT, volts_value, volt_dial, 0, K7_END);

MOUSERECT volt_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

// ---- the relight face
// ---------------------------------------------------------------------------------

ELEMENT_STATIC_IMAGE relight_face =
    k7::static_image(&gauge_eng_relight, 21024, {0, 0}, k7::TRANSPARENT, K7_END);

BOOL FSAPI relight_face_click(PPIXPOINT, FLAGS32) {
  return FALSE_K7;
}
void FSAPI relight_face_callback(PGAUGEHDR, SINT32, GAUGE_EXTRA) {}

MOUSERECT relight_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 40, 40}, CURSOR_HAND, CLICK, relight_face_click),
    K7_MOUSE_END,
};

} // namespace

K7_GAUGE_HEADER(engstart, panel_face, panel_mouse, panel_callback);
K7_GAUGE_HEADER(engstart_lights, lamps_face, lamps_mouse, lamps_callback);
K7_GAUGE_HEADER(engstart_volt, volt_face, volt_mouse, nullptr);
K7_GAUGE_HEADER(eng_relight, relight_face, relight_mouse, relight_face_callback);
