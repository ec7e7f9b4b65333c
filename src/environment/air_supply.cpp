// "kestovil air_mainvalves_k7", "kestovil airc_valve_left_k7", "kestovil airc_valve_right_k7": the
// engine air main (bleed) valves under their guards, and the two conditioning valves with their
// regulation switches, overheat lamps and the landing sequence.
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "environment/env_kit.h"
#include "panels/panels.h"
#include "module/services.h"

namespace {

using namespace env;

// ---- main valves
// --------------------------------------------------------------------------------------

constexpr int MAIN_OPEN = 100;
constexpr double ENGINE_RUNS_N2 = 30.0;

// Chain: 0 face; per side (left 1..6, right 7..12) the switch at F and at O, the guard closed and
// open, the closed and open lamps.
enum MainImage { SW_F, SW_O, GUARD_CLOSED, GUARD_OPEN, LAMP_SHUT, LAMP_OPEN, MAIN_SIDE_IMAGES };
constexpr k7::ImageEntry main_images[] = {
    {SWITCH_UP, {18, 112}, k7::HIDDEN},  {SWITCH_DOWN, {18, 112}, k7::TRANSPARENT},
    {24848, {18, 112}, k7::TRANSPARENT}, {24880, {18, 112}, k7::HIDDEN},
    {25424, {23, 194}, k7::HIDDEN},      {25408, {23, 194}, k7::HIDDEN},
    {SWITCH_UP, {94, 112}, k7::HIDDEN},  {SWITCH_DOWN, {94, 112}, k7::TRANSPARENT},
    {24864, {94, 112}, k7::TRANSPARENT}, {24880, {94, 112}, k7::HIDDEN},
    {25456, {99, 194}, k7::HIDDEN},      {25440, {99, 194}, k7::HIDDEN},
};
using MainImages = k7::Run<gauge_air_mainvalves, main_images>;
ELEMENT_STATIC_IMAGE main_face =
    k7::static_image(&gauge_air_mainvalves, k7::bitmap_id(GAUGE_INDEX_air_mainvalves, 0), {0, 0},
                     k7::TRANSPARENT, MainImages::head);

struct MainValve {
  u8& sw;
  u8& guard;
  u8& position;
  u8& running;
  MODULE_VAR& n2;
  ELEMENT_ICON* image;
};
MODULE_VAR n2_lh = sim::token(0x271);
MODULE_VAR n2_rh = sim::token(0x284);
const MainValve main_valves[2] = {
    {air_mainvalve_lh_sw, air_mainvalve_lh_guard, air_mainvalve_lh_pos, air_eng_running_lh, n2_lh,
     &MainImages::element[0]},
    {air_mainvalve_rh_sw, air_mainvalve_rh_guard, air_mainvalve_rh_pos, air_eng_running_rh, n2_rh,
     &MainImages::element[MAIN_SIDE_IMAGES]},
};

// Upper area: a closed guard opens (silently); under an open guard the switch goes to F.
template <int Side> BOOL FSAPI on_main_upper(PPIXPOINT, FLAGS32) {
  const MainValve& v = main_valves[Side];
  if (v.guard == 0)
    v.guard = 1;
  else
    k7::switch_to(v.sw, 0);
  return FALSE_K7;
}

// Lower area: a switch at F goes to O; at O with the guard open the guard closes over it.
template <int Side> BOOL FSAPI on_main_lower(PPIXPOINT, FLAGS32) {
  const MainValve& v = main_valves[Side];
  if (v.sw == 0) {
    k7::switch_to(v.sw, 1);
  } else if (v.guard != 0) {
    v.guard = 0;
    sound_play(SND_CACHEMETAL);
  }
  return FALSE_K7;
}

BOOL FSAPI on_reset_button(PPIXPOINT, FLAGS32) {
  return FALSE_K7;
}

MOUSERECT main_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({18, 112, 37, 29}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_main_upper<0>),
    k7::mouse_area({18, 141, 37, 29}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_main_lower<0>),
    k7::mouse_area({94, 112, 37, 29}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_main_upper<1>),
    k7::mouse_area({94, 141, 37, 29}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_main_lower<1>),
    k7::mouse_area({64, 144, 24, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_reset_button),
    K7_MOUSE_END,
};

void update_main_valves() {
  const bool ess = elec_bus_ess != 0;
  for (const MainValve& v : main_valves) {
    v.running = sim::read_finite(v.n2) >= ENGINE_RUNS_N2;
    if (ess) step_valve(v.position, v.sw != 0 ? 1 : -2, MAIN_OPEN);
    k7::show_position(v.image + SW_F, 2, v.sw != 0 ? 1 : 0);
    k7::show_position(v.image + GUARD_CLOSED, 2, v.guard != 0 ? 1 : 0);
    k7::show(v.image[LAMP_SHUT], ess && v.position == 0);
    k7::show(v.image[LAMP_OPEN], ess && v.position == MAIN_OPEN);
  }
}

void FSAPI main_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) update_main_valves();
}

// ---- conditioning valves
// ------------------------------------------------------------------------------

constexpr int COND_OPEN = 255;
constexpr int GROUND_STEP = 5, AIRBORNE_STEP = 1;
constexpr double ROLLED_OUT_KT = 25.0;
constexpr double TAKE_OFF_THROTTLE = 0.95;
constexpr u8 START_SEQUENCE_DONE = 10; // the airborne rules apply above this start-up state
enum GroundSeq : u8 { ROLLED_OUT = 0, AIRBORNE = 1, JUST_LANDED = 2 };
enum Overheat : u8 { OVHT_NONE = 0, OVHT_CLOSES = 1, OVHT_TEST = 2 };

// Chain: 0 face, 1 switch at A, 2 switch at M, 3 closed lamp, 4 open lamp, 5 overheat lamp.
enum CondImage { SW_A, SW_M, COND_SHUT, COND_OPEN_LAMP, COND_OVHT };
constexpr k7::ImageEntry cond_images_lh[] = {
    {SWITCH_UP, {94, 81}, k7::HIDDEN},  {SWITCH_DOWN, {94, 81}, k7::TRANSPARENT},
    {LAMP_AMBER, {20, 60}, k7::HIDDEN}, {LAMP_GREEN, {20, 100}, k7::HIDDEN},
    {LAMP_RED, {82, 22}, k7::HIDDEN},
};
constexpr k7::ImageEntry cond_images_rh[] = {
    {SWITCH_UP, {11, 81}, k7::HIDDEN},  {SWITCH_DOWN, {11, 81}, k7::TRANSPARENT},
    {LAMP_AMBER, {90, 60}, k7::HIDDEN}, {LAMP_GREEN, {90, 100}, k7::HIDDEN},
    {LAMP_RED, {37, 22}, k7::HIDDEN},
};
using CondImagesLh = k7::Run<gauge_airc_valve_left, cond_images_lh>;
using CondImagesRh = k7::Run<gauge_airc_valve_right, cond_images_rh>;
ELEMENT_STATIC_IMAGE cond_face_lh =
    k7::static_image(&gauge_airc_valve_left, k7::bitmap_id(GAUGE_INDEX_airc_valve_left, 0), {0, 0},
                     k7::TRANSPARENT, CondImagesLh::head);
ELEMENT_STATIC_IMAGE cond_face_rh =
    k7::static_image(&gauge_airc_valve_right, k7::bitmap_id(GAUGE_INDEX_airc_valve_right, 0),
                     {0, 0}, k7::TRANSPARENT, CondImagesRh::head);

struct CondValve {
  bool left; // the left valve writes the landing sequence
  u8& sw;
  u8& position;
  u8& overheat;
  const u8& hp_cock;
  ELEMENT_ICON* image;
};
const CondValve cond_valves[2] = {
    {true, airc_valve_lh_sw, airc_valve_lh_pos, airc_valve_lh_ovht, eng1_hp_cock_open,
     CondImagesLh::element},
    {false, airc_valve_rh_sw, airc_valve_rh_pos, airc_valve_rh_ovht, eng2_hp_cock_open,
     CondImagesRh::element},
};

template <int Side> BOOL FSAPI on_cond_a(PPIXPOINT, FLAGS32) {
  k7::switch_to(cond_valves[Side].sw, 0);
  cond_valves[Side].overheat = OVHT_NONE;
  return FALSE_K7;
}
template <int Side> BOOL FSAPI on_cond_m(PPIXPOINT, FLAGS32) {
  k7::switch_to(cond_valves[Side].sw, 1);
  return FALSE_K7;
}
template <int Side> BOOL FSAPI on_overheat_test(PPIXPOINT, FLAGS32) {
  cond_valves[Side].overheat = OVHT_TEST;
  return FALSE_K7;
}

MOUSERECT cond_mouse_lh[] = {
    k7::mouse_parent(),
    k7::mouse_area({94, 81, 37, 29}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_cond_a<0>),
    k7::mouse_area({94, 110, 37, 29}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_cond_m<0>),
    k7::mouse_area({82, 22, 24, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_overheat_test<0>),
    K7_MOUSE_END,
};
MOUSERECT cond_mouse_rh[] = {
    k7::mouse_parent(),
    k7::mouse_area({11, 81, 37, 29}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_cond_a<1>),
    k7::mouse_area({11, 110, 37, 29}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_cond_m<1>),
    k7::mouse_area({37, 22, 24, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_overheat_test<1>),
    K7_MOUSE_END,
};

void run_cond_valve(const CondValve& v, int side) {
  const bool ess = elec_bus_ess != 0;
  const bool forced_shut =
      v.hp_cock == 0 || throttle(side) > TAKE_OFF_THROTTLE || v.overheat == OVHT_CLOSES;
  if (on_ground() && ess) {
    if (v.left && airspeed() < ROLLED_OUT_KT) airc_ground_seq = ROLLED_OUT;
    if (airc_ground_seq == AIRBORNE) {
      // Just landed: the left valve notes it; the right one waits for the next frame.
      if (v.left) airc_ground_seq = JUST_LANDED;
    } else if (airc_ground_seq == JUST_LANDED || v.sw == 0 || forced_shut) {
      step_valve(v.position, -GROUND_STEP, COND_OPEN);
    } else {
      step_valve(v.position, GROUND_STEP, COND_OPEN);
    }
  } else {
    if (v.left) airc_ground_seq = AIRBORNE;
    if (ess && panel_start_state > START_SEQUENCE_DONE) {
      if (forced_shut)
        step_valve(v.position, -GROUND_STEP, COND_OPEN);
      else
        step_valve(v.position, v.sw == 0 ? -AIRBORNE_STEP : AIRBORNE_STEP, COND_OPEN);
    }
  }

  if (v.sw == 0) {
    v.overheat = OVHT_NONE;
    airc_ovht_any = 0;
  }
  if (v.overheat != OVHT_NONE) airc_ovht_any = 1;

  k7::show_position(v.image + SW_A, 2, v.sw != 0 ? 1 : 0);
  k7::show(v.image[COND_SHUT], ess && v.position == 0);
  k7::show(v.image[COND_OPEN_LAMP], ess && v.position == COND_OPEN);
  k7::show(v.image[COND_OVHT], ess && v.overheat != OVHT_NONE);
}

void FSAPI cond_callback_lh(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) run_cond_valve(cond_valves[0], 0);
}

void FSAPI cond_callback_rh(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  run_cond_valve(cond_valves[1], 1);
  // The air-conditioning alarm: raised while an overheat lamp is lit, cleared once none is.
  if (airc_ovht_any != 0 && elec_bus_ess != 0) {
    if (warn_req_airc == 0) warn_req_airc = 1;
  } else {
    warn_req_airc = 0;
  }
}

} // namespace

K7_GAUGE_HEADER(air_mainvalves, main_face, main_mouse, main_callback);
K7_GAUGE_HEADER(airc_valve_left, cond_face_lh, cond_mouse_lh, cond_callback_lh);
K7_GAUGE_HEADER(airc_valve_right, cond_face_rh, cond_mouse_rh, cond_callback_rh);
