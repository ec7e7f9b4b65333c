// Engine air-intake de-icing: the FORT/REDUIT switch ("kestovil deice_eng_fort_k7"), the engine
// switches ("kestovil deice_eng_sw1_k7", "..._sw2_k7") driving the de-icing valves and the
// simulator's anti-ice, the valve lamps ("kestovil deice_eng_vm1_k7", "..._vm2_k7"), the icing
// detector with its latched GIVRAGE lamp ("kestovil deice_eng_light_k7") and the partial-opening
// lamps with their test buttons ("kestovil deice_eng_half1_k7", "..._half2_k7").
#include "electrical/electrical.h"
#include "environment/env_kit.h"
#include "module/services.h"

namespace {

using namespace env;

constexpr int VALVE_OPEN = 100;
constexpr int VALVE_OPENING_STEP = 1, VALVE_CLOSING_STEP = 2;

// ---- FORT / REDUIT
// ------------------------------------------------------------------------------------

enum FortReduit : u8 { FORT = 1, REDUIT = 2 };
constexpr k7::ImageEntry fort_images[] = {
    {SWITCH_UP, {31, 0}, k7::TRANSPARENT},
    {SWITCH_DOWN, {31, 0}, k7::HIDDEN},
};
using FortImages = k7::Run<gauge_deice_eng_fort, fort_images>;
ELEMENT_STATIC_IMAGE fort_face =
    k7::static_image(&gauge_deice_eng_fort, k7::bitmap_id(GAUGE_INDEX_deice_eng_fort, 0), {0, 0},
                     k7::TRANSPARENT, FortImages::head);
MOUSERECT fort_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({31, 0, 29, 36}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<deice_eng_fort_sw, REDUIT>),
    k7::mouse_area({60, 0, 29, 36}, CURSOR_UPARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<deice_eng_fort_sw, FORT>),
    K7_MOUSE_END,
};
void FSAPI fort_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE)
    k7::show_position(FortImages::element, 2, deice_eng_fort_sw == REDUIT ? 1 : 0);
}

// ---- engine switches, valves and the simulator's anti-ice
// ----------------------------------------------

MODULE_VAR anti_ice_1 = sim::token(0x373);
MODULE_VAR anti_ice_2 = sim::token(0x374);

struct EngineDeice {
  u8& sw;
  u8& valve;
  MODULE_VAR& anti_ice;
  u32 key; // sets the simulator's anti-ice to its value
  const u8& main_valve;
  const u8& engine_running;
};
const EngineDeice engines[2] = {
    {deice_eng1_sw, deice_eng1_valve, anti_ice_1, 0x103B8, air_mainvalve_lh_pos,
     air_eng_running_lh},
    {deice_eng2_sw, deice_eng2_valve, anti_ice_2, 0x103B9, air_mainvalve_rh_pos,
     air_eng_running_rh},
};

// The valve follows its switch on the essential bus; the simulator's anti-ice is on only while the
// valve is fully open on a line with air, and an event goes only while the two disagree.
void run_engine_deice(const EngineDeice& e) {
  const double anti_ice = sim::read(e.anti_ice);
  const bool on = anti_ice == 1.0, off = anti_ice == 0.0;
  const bool ess = elec_bus_ess != 0;
  bool wanted = false;
  if (e.sw != 0 && ess) {
    step_valve(e.valve, VALVE_OPENING_STEP, VALVE_OPEN);
    wanted = e.valve == VALVE_OPEN && e.main_valve == 100 && e.engine_running != 0;
    if (e.valve != VALVE_OPEN) return; // still opening: the simulator is left as it is
  } else if (e.sw == 0 && ess) {
    step_valve(e.valve, -VALVE_CLOSING_STEP, VALVE_OPEN);
  }
  if (wanted && off) sim::key_event(e.key, 1);
  if (!wanted && on) sim::key_event(e.key, 0);
}

template <GAUGEHDR& Gauge, int Index, u8& Switch, int Engine> struct EngineSwitch {
  static constexpr k7::ImageEntry images[] = {
      {SWITCH_UP, {4, 28}, k7::TRANSPARENT},
      {SWITCH_DOWN, {4, 28}, k7::HIDDEN},
  };
  using Images = k7::Run<Gauge, images>;
  static inline ELEMENT_STATIC_IMAGE face =
      k7::static_image(&Gauge, k7::bitmap_id(Index, 0), {0, 0}, k7::TRANSPARENT, Images::head);
  static inline MOUSERECT mouse[] = {k7::mouse_parent(), ENV_SWITCH_AREAS(4, 28, 77, 29, Switch),
                                     K7_MOUSE_END};
  static void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
    if (service != PANEL_SERVICE_PRE_UPDATE) return;
    run_engine_deice(engines[Engine]);
    k7::show_position(Images::element, 2, Switch);
  }
};
using Sw1 = EngineSwitch<gauge_deice_eng_sw1, GAUGE_INDEX_deice_eng_sw1, deice_eng1_sw, 0>;
using Sw2 = EngineSwitch<gauge_deice_eng_sw2, GAUGE_INDEX_deice_eng_sw2, deice_eng2_sw, 1>;

// Valve lamps, chain: 0 face, 1 closed, 2 open; lit only at the ends of travel.
template <GAUGEHDR& Gauge, int Index, u8& Valve> struct ValveLamps {
  static constexpr k7::ImageEntry images[] = {
      {25424, {9, 9}, k7::HIDDEN},
      {25408, {51, 9}, k7::HIDDEN},
  };
  using Images = k7::Run<Gauge, images>;
  static inline ELEMENT_STATIC_IMAGE face =
      k7::static_image(&Gauge, k7::bitmap_id(Index, 0), {0, 0}, k7::TRANSPARENT, Images::head);
  static inline MOUSERECT mouse[] = {k7::mouse_parent(), K7_MOUSE_END};
  static void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
    if (service != PANEL_SERVICE_PRE_UPDATE) return;
    const bool ess = elec_bus_ess != 0;
    k7::show(Images::element[0], ess && Valve == 0);
    k7::show(Images::element[1], ess && Valve == VALVE_OPEN);
  }
};
using Vm1 = ValveLamps<gauge_deice_eng_vm1, GAUGE_INDEX_deice_eng_vm1, deice_eng1_valve>;
using Vm2 = ValveLamps<gauge_deice_eng_vm2, GAUGE_INDEX_deice_eng_vm2, deice_eng2_valve>;

// ---- icing detector and the GIVRAGE lamp
// --------------------------------------------------------------

constexpr double ICING_WARMER_THAN = -5.0, ICING_UP_TO = 2.0, ICING_CLEARS_FROM = 3.0;
constexpr double ICING_ABOVE_HEIGHT = 500.0, ICING_BELOW_HEIGHT = 5000.0;
constexpr u32 LAMP_CLEARS_AFTER_TICKS = 400;
MODULE_VAR icing_height = sim::token(0x49);

ELEMENT_ICON icing_lamp = k7::icon(&gauge_deice_eng_light, LAMP_RED, {12, 0}, k7::HIDDEN, K7_END);
ELEMENT_STATIC_IMAGE icing_face =
    k7::static_image(&gauge_deice_eng_light, k7::bitmap_id(GAUGE_INDEX_deice_eng_light, 0), {0, 0},
                     k7::TRANSPARENT, K7_NEXT(icing_lamp));
MOUSERECT icing_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

// Every way out of the latch also ends its clearing wait, so that the next latch waits anew.
void clear_icing_lamp() {
  deice_icing_lamp = 0;
  deice_icing_timer_on = 0;
}

void run_icing_detector() {
  const double temp = outside_temp_256();
  const double height = sim::read_finite(icing_height);
  const bool airborne = !on_ground();
  deice_icing = temp > ICING_WARMER_THAN && temp <= ICING_UP_TO && height > ICING_ABOVE_HEIGHT &&
                height < ICING_BELOW_HEIGHT && airborne;
  if (deice_icing != 0) {
    if (elec_bus_ess != 0) {
      if (deice_eng1_valve == 0 || deice_eng2_valve == 0) deice_icing_lamp = 1;
      deice_ice_warn = deice_eng1_sw == 0 || deice_eng2_sw == 0;
    }
  } else {
    deice_ice_warn = 0;
    if (temp >= ICING_CLEARS_FROM || !airborne) clear_icing_lamp();
  }
  const u32 now = tick_now();
  if (deice_icing_lamp != 0 && deice_icing_timer_on == 0 &&
      (deice_eng1_valve == VALVE_OPEN || deice_eng2_valve == VALVE_OPEN)) {
    deice_icing_timer_on = 1;
    deice_icing_timer = now;
  }
  if (deice_icing_timer_on != 0 && wait_over(deice_icing_timer, now, LAMP_CLEARS_AFTER_TICKS))
    clear_icing_lamp();
  if (deice_icing_lamp == 0) deice_ice_warn = 0;
  k7::show(icing_lamp, deice_icing_lamp != 0 && elec_bus_ess != 0);
}

void FSAPI icing_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) run_icing_detector();
}

// ---- partial-opening lamps
// ----------------------------------------------------------------------------

constexpr double TAKE_OFF_THROTTLE = 0.95;

// A test click starts the count at 10 and adds 2 at once; each repeat of a held click adds 2
// while it is at 10 or below.
template <u8& Test> BOOL FSAPI on_half_test(PPIXPOINT, FLAGS32) {
  if (Test == 0) Test = 10;
  if (Test <= 10) Test = static_cast<u8>(Test + 2);
  return FALSE_K7;
}

template <GAUGEHDR& Gauge, int Index, u8& Test, u8& Valve, int Side> struct HalfLamp {
  static inline ELEMENT_ICON lamp = k7::icon(&Gauge, LAMP_AMBER, {59, 21}, k7::HIDDEN, K7_END);
  static inline ELEMENT_STATIC_IMAGE face =
      k7::static_image(&Gauge, k7::bitmap_id(Index, 0), {0, 0}, k7::TRANSPARENT, K7_NEXT(lamp));
  static inline MOUSERECT mouse[] = {k7::mouse_parent(),
                                     k7::mouse_area({13, 17, 24, 24}, CURSOR_HAND,
                                                    MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT,
                                                    on_half_test<Test>),
                                     K7_MOUSE_END};
  static void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
    if (service != PANEL_SERVICE_PRE_UPDATE) return;
    k7::button_update(Test);
    const bool partial =
        Valve == VALVE_OPEN && (deice_eng_fort_sw == FORT || throttle(Side) > TAKE_OFF_THROTTLE);
    k7::show(lamp, elec_bus_ess != 0 && (Test != 0 || partial));
  }
};
using Half1 = HalfLamp<gauge_deice_eng_half1, GAUGE_INDEX_deice_eng_half1, deice_half1_test,
                       deice_eng1_valve, 0>;
using Half2 = HalfLamp<gauge_deice_eng_half2, GAUGE_INDEX_deice_eng_half2, deice_half2_test,
                       deice_eng2_valve, 1>;

} // namespace

K7_GAUGE_HEADER(deice_eng_fort, fort_face, fort_mouse, fort_callback);
K7_GAUGE_HEADER(deice_eng_sw1, Sw1::face, Sw1::mouse, Sw1::callback);
K7_GAUGE_HEADER(deice_eng_sw2, Sw2::face, Sw2::mouse, Sw2::callback);
K7_GAUGE_HEADER(deice_eng_vm1, Vm1::face, Vm1::mouse, Vm1::callback);
K7_GAUGE_HEADER(deice_eng_vm2, Vm2::face, Vm2::mouse, Vm2::callback);
K7_GAUGE_HEADER(deice_eng_light, icing_face, icing_mouse, icing_callback);
K7_GAUGE_HEADER(deice_eng_half1, Half1::face, Half1::mouse, Half1::callback);
K7_GAUGE_HEADER(deice_eng_half2, Half2::face, Half2::mouse, Half2::callback);
