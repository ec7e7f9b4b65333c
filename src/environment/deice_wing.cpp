// Wing de-icing by hot air: the selector ("kestovil deice_wing_sw_k7"), the wing valves that drive
// the simulator's structural de-ice ("kestovil deice_wing_valves_k7"), the spring-loaded
// temperature control ("kestovil deice_wing_ctrl_k7") and the duct and skin temperature gauges
// ("kestovil deice_wing_ductemp_k7", "kestovil deice_wing_temp_k7").
#include "electrical/electrical.h"
#include "environment/env_kit.h"
#include "module/services.h"

namespace {

using namespace env;

constexpr int VALVE_OPEN = 100;

// ---- selector
// -----------------------------------------------------------------------------------------

// Chain: 0 face, 1 selector at 1, 2 at 2, 3 lamp.
constexpr k7::ImageEntry selector_images[] = {
    {SWITCH_UP, {126, 14}, k7::TRANSPARENT},
    {SWITCH_DOWN, {126, 14}, k7::HIDDEN},
    {LAMP_AMBER, {98, 35}, k7::HIDDEN},
};
using SelectorImages = k7::Run<gauge_deice_wing_sw, selector_images>;
ELEMENT_STATIC_IMAGE selector_face =
    k7::static_image(&gauge_deice_wing_sw, k7::bitmap_id(GAUGE_INDEX_deice_wing_sw, 0), {0, 0},
                     k7::TRANSPARENT, SelectorImages::head);
MOUSERECT selector_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({126, 14, 37, 29}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<deice_wing_sw, 1>),
    k7::mouse_area({126, 43, 37, 29}, CURSOR_UPARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<deice_wing_sw, 2>),
    K7_MOUSE_END,
};
void FSAPI selector_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::show_position(SelectorImages::element, 2, deice_wing_sw == 2 ? 1 : 0);
  k7::show(SelectorImages::element[2], deice_wing_sw == 2 && elec_bus_main_a != 0);
}

// ---- wing valves and the simulator's structural de-ice
// -------------------------------------------------

constexpr u32 KEY_STRUCTURAL_DEICE_TOGGLE = 0x10321;
MODULE_VAR structural_deice = sim::token(0x389);

struct WingValve {
  u8& sw;
  u8& valve;
  const u8& bus;
  const u8& main_valve;
  const u8& engine_running;
  std::size_t image; // its closed lamp; the open lamp follows
};
// Chain: 0 face, 1 left switch at A, 2 at M, 3 right at A, 4 at M, 5 left closed lamp, 6 left
// open lamp, 7 right closed, 8 right open.
constexpr k7::ImageEntry valve_images[] = {
    {SWITCH_UP, {5, 8}, k7::TRANSPARENT},  {SWITCH_DOWN, {5, 8}, k7::HIDDEN},
    {SWITCH_UP, {52, 8}, k7::TRANSPARENT}, {SWITCH_DOWN, {52, 8}, k7::HIDDEN},
    {25424, {9, 85}, k7::HIDDEN},          {25408, {9, 85}, k7::HIDDEN},
    {25424, {61, 85}, k7::HIDDEN},         {25408, {61, 85}, k7::HIDDEN},
};
using ValveImages = k7::Run<gauge_deice_wing_valves, valve_images>;
ELEMENT_STATIC_IMAGE valves_face =
    k7::static_image(&gauge_deice_wing_valves, k7::bitmap_id(GAUGE_INDEX_deice_wing_valves, 0),
                     {0, 0}, k7::TRANSPARENT, ValveImages::head);
MOUSERECT valves_mouse[] = {k7::mouse_parent(), ENV_SWITCH_AREAS(5, 8, 37, 29, deice_wing_lh_sw),
                            ENV_SWITCH_AREAS(52, 8, 37, 29, deice_wing_rh_sw), K7_MOUSE_END};

const WingValve wing_valves[2] = {
    {deice_wing_lh_sw, deice_wing_lh_valve, elec_bus_main_a, air_mainvalve_lh_pos,
     air_eng_running_lh, 4},
    {deice_wing_rh_sw, deice_wing_rh_valve, elec_bus_main_b, air_mainvalve_rh_pos,
     air_eng_running_rh, 6},
};

void FSAPI valves_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  bool heating = false;
  for (const WingValve& w : wing_valves) {
    const bool bus = w.bus != 0;
    if (w.sw == 0) {
      if (bus) step_valve(w.valve, -2, VALVE_OPEN);
    } else if (!on_ground() && w.main_valve == 100 && w.engine_running != 0 && bus) {
      step_valve(w.valve, 1, VALVE_OPEN);
    }
    heating = heating || (w.valve == VALVE_OPEN && bus);
    k7::show(ValveImages::element[w.image], bus && w.valve == 0);
    k7::show(ValveImages::element[w.image + 1], bus && w.valve == VALVE_OPEN);
  }
  k7::show_position(ValveImages::element, 2, deice_wing_lh_sw);
  k7::show_position(ValveImages::element + 2, 2, deice_wing_rh_sw);
  // The simulator's structural de-ice has a toggle only: it goes while the two disagree.
  const double deice = sim::read(structural_deice);
  if (heating ? deice == 0.0 : deice > 0.0) sim::key_event(KEY_STRUCTURAL_DEICE_TOGGLE, 0);
}

// ---- temperature control
// ------------------------------------------------------------------------------

constexpr i8 CTRL_AUTO = 100, CTRL_ARRET = 0;
// Chain: 0 face, 1 AUTO, 2 ARRET, 3 FROID, 4 CHAUD.
constexpr k7::ImageEntry ctrl_images[] = {
    {SWITCH_DOWN, {26, 37}, k7::TRANSPARENT},
    {SWITCH_CENTRE, {26, 37}, k7::HIDDEN},
    {SWITCH_FROID, {26, 37}, k7::HIDDEN},
    {SWITCH_CHAUD, {26, 37}, k7::HIDDEN},
};
using CtrlImages = k7::Run<gauge_deice_wing_ctrl, ctrl_images>;
ELEMENT_STATIC_IMAGE ctrl_face =
    k7::static_image(&gauge_deice_wing_ctrl, k7::bitmap_id(GAUGE_INDEX_deice_wing_ctrl, 0), {0, 0},
                     k7::TRANSPARENT, CtrlImages::head);

// A manual correction: the first click takes the switch to 10 toward its side (with the click)
// and, like every click of the held switch up to 10, 2 further.
template <int Direction> BOOL FSAPI on_ctrl_manual(PPIXPOINT, FLAGS32) {
  if (deice_wing_ctrl_sw == CTRL_ARRET || deice_wing_ctrl_sw == CTRL_AUTO) {
    sound_play(SND_CLICK);
    deice_wing_ctrl_sw = static_cast<i8>(10 * Direction);
  }
  const int away = deice_wing_ctrl_sw * Direction;
  if (away >= 1 && away <= 10)
    deice_wing_ctrl_sw = static_cast<i8>(deice_wing_ctrl_sw + 2 * Direction);
  return FALSE_K7;
}
constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;
MOUSERECT ctrl_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({26, 57, 37, 20}, CURSOR_UPARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<deice_wing_ctrl_sw, CTRL_AUTO>),
    k7::mouse_area({26, 37, 37, 20}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<deice_wing_ctrl_sw, CTRL_ARRET>),
    k7::mouse_area({8, 17, 37, 20}, CURSOR_DOWNARROW, HELD, on_ctrl_manual<-1>),
    k7::mouse_area({45, 17, 37, 20}, CURSOR_UPARROW, HELD, on_ctrl_manual<1>),
    K7_MOUSE_END,
};
void FSAPI ctrl_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  i8& sw = deice_wing_ctrl_sw;
  if (sw != CTRL_ARRET && sw != CTRL_AUTO) sw = static_cast<i8>(sw > 0 ? sw - 1 : sw + 1);
  std::size_t shown = 1;
  if (sw == CTRL_AUTO)
    shown = 0;
  else if (sw < 0)
    shown = 2;
  else if (sw > 0)
    shown = 3;
  k7::show_position(CtrlImages::element, 4, shown);
}

// ---- duct and skin temperatures
// -----------------------------------------------------------------------

constexpr double DUCT_RISE = 0.25, DUCT_TOP = 200.0, DUCT_TOP_FROM = 199.0;
constexpr double DUCT_COOLING = 0.01, DUCT_SNAP = 0.1;
constexpr double SKIN_HEATED = 50.0, SKIN_RISE = 0.005, SKIN_SNAP = 0.01, SKIN_DRIFT = 0.001;

bool hot_air(const u8& running, const u8& valve) {
  return running != 0 && valve == VALVE_OPEN;
}

void FSAPI ductemp_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool powered = elec_bus_main != 0 && elec_ac_main_b != 0;
  f64& duct = deice_wing_duct_temp;
  if (powered && (hot_air(air_eng_running_lh, deice_wing_lh_valve) ||
                  hot_air(air_eng_running_rh, deice_wing_rh_valve))) {
    duct = duct >= DUCT_TOP_FROM ? DUCT_TOP : duct + DUCT_RISE;
  } else {
    slew(duct, outside_air(), DUCT_COOLING, DUCT_SNAP);
  }
}

// The skin is warmed by the left wing valve alone.
void FSAPI skin_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  f64& skin = deice_wing_skin_temp;
  if (elec_bus_main != 0 && elec_ac_main_b != 0 &&
      hot_air(air_eng_running_lh, deice_wing_lh_valve)) {
    slew(skin, SKIN_HEATED, SKIN_RISE, SKIN_SNAP);
  } else {
    const double outside = outside_temp_256();
    if (skin < outside - SKIN_SNAP)
      skin += SKIN_DRIFT;
    else if (skin > outside + SKIN_SNAP)
      skin -= SKIN_DRIFT;
  }
}

template <auto& Value, int Lo, int Hi> FLOAT64 FSAPI indicated(ELEMENT_NEEDLE*) {
  return elec_bus_main != 0 ? k7::clamp<double>(Value, Lo, Hi) : Lo;
}
constexpr NONLINEARITY duct_table[] = {{{0, 47}, -20, 0},   {{5, 38}, 0, 0},    {{25, 27}, 50, 0},
                                       {{44, 21}, 100, 0},  {{64, 22}, 150, 0}, {{84, 27}, 200, 0},
                                       {{103, 38}, 250, 0}, {{107, 47}, 270, 0}};
constexpr NONLINEARITY skin_table[] = {{{0, 45}, -70, 0}, {{9, 38}, -50, 0},  {{32, 26}, 0, 0},
                                       {{58, 23}, 50, 0}, {{83, 29}, 100, 0}, {{107, 46}, 150, 0}};
constexpr PIXPOINT GAUGE_PIVOT{54, 60}, NEEDLE_PIVOT{4, 4};

ELEMENT_NEEDLE duct_needle = k7::needle(
    &gauge_deice_wing_ductemp, k7::bitmap_id(GAUGE_INDEX_deice_wing_ductemp, 1), GAUGE_PIVOT,
    NEEDLE_PIVOT, k7::NEEDLE_DAY, indicated<deice_wing_duct_temp, -20, 270>, duct_table, 0, K7_END);
ELEMENT_STATIC_IMAGE duct_face =
    k7::static_image(&gauge_deice_wing_ductemp, k7::bitmap_id(GAUGE_INDEX_deice_wing_ductemp, 0),
                     {0, 0}, k7::TRANSPARENT, K7_NEXT(duct_needle));
MOUSERECT duct_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};
ELEMENT_NEEDLE skin_needle = k7::needle(
    &gauge_deice_wing_temp, k7::bitmap_id(GAUGE_INDEX_deice_wing_temp, 1), GAUGE_PIVOT,
    NEEDLE_PIVOT, k7::NEEDLE_DAY, indicated<deice_wing_skin_temp, -50, 150>, skin_table, 0, K7_END);
ELEMENT_STATIC_IMAGE skin_face =
    k7::static_image(&gauge_deice_wing_temp, k7::bitmap_id(GAUGE_INDEX_deice_wing_temp, 0), {0, 0},
                     k7::TRANSPARENT, K7_NEXT(skin_needle));
MOUSERECT skin_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

} // namespace

K7_GAUGE_HEADER(deice_wing_sw, selector_face, selector_mouse, selector_callback);
K7_GAUGE_HEADER(deice_wing_valves, valves_face, valves_mouse, valves_callback);
K7_GAUGE_HEADER(deice_wing_ctrl, ctrl_face, ctrl_mouse, ctrl_callback);
K7_GAUGE_HEADER(deice_wing_ductemp, duct_face, duct_mouse, ductemp_callback);
K7_GAUGE_HEADER(deice_wing_temp, skin_face, skin_mouse, skin_callback);
