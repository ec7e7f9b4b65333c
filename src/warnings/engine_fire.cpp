// Engine fires: the fire warning lamps ("kestovil warn_lhengfire_k7", "kestovil
// warn_rhengfire_k7"), the extinguisher buttons ("kestovil eng1_extinct_k7", "kestovil
// eng2_extinct_k7") and the fire bell request. A fire goes out once its extinguisher has fired and
// both fuel cocks of the engine are closed.
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "module/gauge.h"
#include "module/services.h"
#include "module/types.h"
#include "warnings/warnings.h"

#include <cmath>

namespace {

constexpr u8 FIRE_ACTIVE = 1;
constexpr u8 FIRE_EXTINGUISHED = 3; // engine 1 only: keeps its bottle fired until a reset

// With a fire in engine 1 its throttle is brought to 35 % of the other one.
constexpr double FIRE_THROTTLE_SHARE = 0.35;
constexpr double FIRE_THROTTLE_SLACK = 2.0; // 1/16384 of travel
constexpr double THROTTLE_FULL = 16384.0;
constexpr u8 FAILURE_ITEM_ACTIVE = 1; // a failures-panel item validated and in force
constexpr u32 KEY_THROTTLE1_SET = 0x1011C;
constexpr u32 KEY_ENGINE1_FAILURE = 0x10309;

MODULE_VAR throttle1_var = sim::token(0x80);
MODULE_VAR throttle2_var = sim::token(0xA3);
MODULE_VAR engine1_failed_var = sim::token(0x234);

// ---- elements
// -----------------------------------------------------------------------------------------

// Each fire gauge is one lamp image, its only element; each extinguisher its button face and, at
// its centre, the image of a fired bottle.
template <GAUGEHDR& Gauge, int Index> struct FireLamp { static ELEMENT_STATIC_IMAGE lamp; };
template <GAUGEHDR& Gauge, int Index>
ELEMENT_STATIC_IMAGE FireLamp<Gauge, Index>::lamp =
    k7::static_image(&Gauge, k7::bitmap_id(Index, 0), {0, 0},
                     IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS | IMAGE_HIDDEN, K7_END);

using LeftLamp = FireLamp<gauge_warn_lhengfire, GAUGE_INDEX_warn_lhengfire>;
using RightLamp = FireLamp<gauge_warn_rhengfire, GAUGE_INDEX_warn_rhengfire>;

template <GAUGEHDR& Gauge, int Index> struct Extinguisher {
  static ELEMENT_ICON fired;
  static ELEMENT_STATIC_IMAGE face;
};
template <GAUGEHDR& Gauge, int Index>
ELEMENT_ICON Extinguisher<Gauge, Index>::fired = k7::icon(&Gauge, k7::bitmap_id(Index, 1), {0, 0},
                                                          IMAGE_USE_TRANSPARENCY |
                                                              IMAGE_USE_LUMINOUS | IMAGE_HIDDEN,
                                                          K7_END);
template <GAUGEHDR& Gauge, int Index>
ELEMENT_STATIC_IMAGE
    Extinguisher<Gauge, Index>::face = k7::static_image(&Gauge, k7::bitmap_id(Index, 0), {0, 0},
                                                        IMAGE_USE_TRANSPARENCY, K7_NEXT(fired));

using LeftBottle = Extinguisher<gauge_eng1_extinct, GAUGE_INDEX_eng1_extinct>;
using RightBottle = Extinguisher<gauge_eng2_extinct, GAUGE_INDEX_eng2_extinct>;

// ---- the fire logic
// -----------------------------------------------------------------------------------

// The bell rings from the moment either lamp lights until both are dark.
void fire_lamp_flag(u8& lit, bool now_lit) {
  if (now_lit && lit == 0) warn_req_firebell = 1;
  lit = now_lit;
  if (warn_fire_l_lit == 0 && warn_fire_r_lit == 0) warn_req_firebell = 0;
}

void left_fire_update() {
  // A reset of the fire (failures panel, easy start) re-arms the bottle; an extinguished fire
  // keeps it fired.
  if (eng1_fire == 0) eng1_extinct_fired = 0;

  if (eng1_fire == FIRE_ACTIVE) {
    eng1_fire_warn = 1;
    const double share =
        k7::clamp(sim::read_finite(throttle2_var), 0.0, THROTTLE_FULL) * FIRE_THROTTLE_SHARE;
    const i32 target = k7::sat_cast<i32>(share);
    if (std::fabs(sim::read_finite(throttle1_var) - static_cast<double>(target)) >
        FIRE_THROTTLE_SLACK)
      sim::key_event(KEY_THROTTLE1_SET, static_cast<u32>(target));
  } else {
    eng1_fire_warn = 0;
  }

  // Once the bottle has fired, engine 1 is failed while the fire item is on, and given back once
  // when it is not; never while the failures panel's engine-1 failure holds it failed (the two
  // would toggle the engine every update).
  if (eng1_extinct_fired != 0) {
    const double failed = sim::read(engine1_failed_var);
    const bool held_failed = fail_eng1 == FAILURE_ITEM_ACTIVE;
    if (fail_eng1_fire != 0 ? failed == 0.0 : (failed == 1.0 && !held_failed))
      sim::key_event(KEY_ENGINE1_FAILURE);
  }

  fire_lamp_flag(warn_fire_l_lit, eng1_fire_warn == 1 && elec_bus_ess != 0);
  k7::show(LeftLamp::lamp, warn_fire_l_lit != 0);

  if (eng1_hp_cock_open == 0 && eng1_lp_cock_open == 0 && eng1_extinct_fired != 0 &&
      eng1_fire == FIRE_ACTIVE)
    eng1_fire = FIRE_EXTINGUISHED;
}

void right_fire_update() {
  fire_lamp_flag(warn_fire_r_lit, eng2_fire == FIRE_ACTIVE && elec_bus_ess != 0);
  k7::show(RightLamp::lamp, warn_fire_r_lit != 0);

  if (eng2_hp_cock_open == 0 && eng2_lp_cock_open == 0 && eng2_extinct_fired != 0 &&
      eng2_fire == FIRE_ACTIVE)
    eng2_fire = 0;
  if (eng2_fire == 0) eng2_extinct_fired = 0;
}

// ---- extinguisher buttons
// -----------------------------------------------------------------------------

// A bottle fires only into an engine whose fire warning is on, from the extinguisher bus.
void fire_bottle(u8& fired, bool warning) {
  if (warning && elec_bus_extinct != 0) fired = 1;
}
BOOL FSAPI on_left_bottle(PPIXPOINT, FLAGS32) {
  fire_bottle(eng1_extinct_fired, eng1_fire_warn == 1);
  return FALSE_K7;
}
BOOL FSAPI on_right_bottle(PPIXPOINT, FLAGS32) {
  fire_bottle(eng2_extinct_fired, eng2_fire == FIRE_ACTIVE);
  return FALSE_K7;
}

constexpr PIXBOX BUTTON_BOX = {0, 0, 32, 32};
MOUSERECT left_bottle_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area(BUTTON_BOX, CURSOR_HAND, MOUSE_LEFTSINGLE, on_left_bottle),
    K7_MOUSE_END,
};
MOUSERECT right_bottle_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area(BUTTON_BOX, CURSOR_HAND, MOUSE_LEFTSINGLE, on_right_bottle),
    K7_MOUSE_END,
};
MOUSERECT left_lamp_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};
MOUSERECT right_lamp_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

// ---- callbacks
// ----------------------------------------------------------------------------------------

void FSAPI left_lamp_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) left_fire_update();
}
void FSAPI right_lamp_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) right_fire_update();
}
void FSAPI left_bottle_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) k7::show(LeftBottle::fired, eng1_extinct_fired != 0);
}
void FSAPI right_bottle_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) k7::show(RightBottle::fired, eng2_extinct_fired != 0);
}

} // namespace

K7_GAUGE_HEADER(warn_lhengfire, LeftLamp::lamp, left_lamp_mouse, left_lamp_callback);
K7_GAUGE_HEADER(warn_rhengfire, RightLamp::lamp, right_lamp_mouse, right_lamp_callback);
K7_GAUGE_HEADER(eng1_extinct, LeftBottle::face, left_bottle_mouse, left_bottle_callback);
K7_GAUGE_HEADER(eng2_extinct, RightBottle::face, right_bottle_mouse, right_bottle_callback);
