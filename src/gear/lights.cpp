// The exterior light switches: "kestovil lights_nac_k7", "kestovil lights_taxi_k7",
// "kestovil lights_beacon_k7", "kestovil lights_nav_k7" (off, steady, alternating) and
// "kestovil lights_land_k7" (retractable landing lights). The simulator owns the lights; every
// update each gauge sends the light's key event for as long as the simulator's light disagrees
// with its switch and the bus that feeds it.
#include "electrical/electrical.h"
#include "gear/gear.h"
#include "module/kit.h"
#include "module/runs.h"
#include "module/services.h"

namespace {

constexpr ID SWITCH_UP = 21344, SWITCH_MIDDLE = 21360, SWITCH_DOWN = 21376;
constexpr FLAGS32 CLICK = MOUSE_LEFTSINGLE;

// A light turned by one toggle event, or by an on and an off event.
struct Light {
  MODULE_VAR& token;
  u32 on_event;
  u32 off_event; // the same as on_event for a toggle
};

// Sends the event while the simulator's light is not what is wanted (exactly 0.0 or 1.0).
void keep(const Light& light, bool wanted_on) {
  const double now = sim::read(light.token);
  if (wanted_on && now == 0.0) sim::key_event(light.on_event);
  if (!wanted_on && now == 1.0) sim::key_event(light.off_event);
}

MODULE_VAR nacelle_token = sim::token(0x26D);
MODULE_VAR taxi_token = sim::token(0x171);
MODULE_VAR beacon_token = sim::token(0x170);
MODULE_VAR nav_token = sim::token(0x26B);
MODULE_VAR second_token = sim::token(0xB);
MODULE_VAR landing_token = sim::token(0xE);
MODULE_VAR tick_token = sim::token(0x1);

constexpr Light nacelle{nacelle_token, 0x1034A, 0x1034A};
constexpr Light taxi{taxi_token, 0x102C0, 0x102C0};
constexpr Light beacon{beacon_token, 0x102BF, 0x102BF};
constexpr Light nav{nav_token, 0x1034B, 0x1034B};
constexpr Light second{second_token, 0x10204, 0x10205};
constexpr Light landing{landing_token, 0x1020B, 0x1020C};

// An on/off switch image pair (off, on) after the face.
void draw_switch(ELEMENT_ICON* off_on, u8 on) {
  k7::show_position(off_on, 2, on == 1 ? 1 : 0);
}

// ---- nacelle
// ------------------------------------------------------------------------------------------

// Chain: 0 face, 1 switch off, 2 switch on, 3 lamp.
constexpr k7::ImageEntry nac_images[] = {{SWITCH_UP, {73, 26}, k7::TRANSPARENT},
                                         {SWITCH_DOWN, {73, 42}, k7::HIDDEN},
                                         {368, {72, 65}, k7::HIDDEN}};
using NacImages = k7::Run<gauge_lights_nac, nac_images>;
ELEMENT_STATIC_IMAGE nac_face =
    k7::static_image(&gauge_lights_nac, 21296, {0, 0}, k7::TRANSPARENT, NacImages::head);

void FSAPI nac_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const bool lit = lights_nac_sw == 1 && elec_bus_gen_a == 1;
  keep(nacelle, lit);
  draw_switch(NacImages::element, lights_nac_sw);
  k7::show(NacImages::element[2], lit);
}

MOUSERECT nac_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({57, 44, 45, 30}, CURSOR_UPARROW, CLICK, k7::switch_area<lights_nac_sw, 1>),
    k7::mouse_area({57, 14, 45, 30}, CURSOR_DOWNARROW, CLICK, k7::switch_area<lights_nac_sw, 0>),
    K7_MOUSE_END,
};

// ---- taxi
// ---------------------------------------------------------------------------------------------

// Chain: 0 face, 1-2 left switch off and on, 3-4 right switch off and on (drawn alike).
constexpr k7::ImageEntry taxi_images[] = {
    {SWITCH_UP, {27, 26}, k7::TRANSPARENT},
    {SWITCH_DOWN, {27, 42}, k7::HIDDEN},
    {SWITCH_UP, {70, 26}, k7::TRANSPARENT},
    {SWITCH_DOWN, {70, 42}, k7::HIDDEN},
};
using TaxiImages = k7::Run<gauge_lights_taxi, taxi_images>;
ELEMENT_STATIC_IMAGE taxi_face =
    k7::static_image(&gauge_lights_taxi, 21328, {0, 0}, k7::TRANSPARENT, TaxiImages::head);

void FSAPI taxi_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  keep(taxi, lights_taxi_sw == 1 && elec_bus_main == 1);
  draw_switch(TaxiImages::element, lights_taxi_sw);
  draw_switch(TaxiImages::element + 2, lights_taxi_sw);
}

MOUSERECT taxi_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({10, 45, 45, 30}, CURSOR_UPARROW, CLICK, k7::switch_area<lights_taxi_sw, 1>),
    k7::mouse_area({55, 45, 45, 30}, CURSOR_UPARROW, CLICK, k7::switch_area<lights_taxi_sw, 1>),
    k7::mouse_area({10, 15, 45, 30}, CURSOR_DOWNARROW, CLICK, k7::switch_area<lights_taxi_sw, 0>),
    k7::mouse_area({55, 15, 45, 30}, CURSOR_DOWNARROW, CLICK, k7::switch_area<lights_taxi_sw, 0>),
    K7_MOUSE_END,
};

// ---- beacon
// -------------------------------------------------------------------------------------------

// Chain: 0 face, 1 switch off, 2 switch on.
constexpr k7::ImageEntry beacon_images[] = {{SWITCH_UP, {90, 28}, k7::TRANSPARENT},
                                            {SWITCH_DOWN, {90, 45}, k7::HIDDEN}};
using BeaconImages = k7::Run<gauge_lights_beacon, beacon_images>;
ELEMENT_STATIC_IMAGE beacon_face =
    k7::static_image(&gauge_lights_beacon, 21264, {0, 0}, k7::TRANSPARENT, BeaconImages::head);

void FSAPI beacon_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  keep(beacon, lights_beacon_sw == 1 && elec_bus_gen_b == 1);
  draw_switch(BeaconImages::element, lights_beacon_sw);
}

MOUSERECT beacon_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({74, 45, 45, 30}, CURSOR_UPARROW, CLICK, k7::switch_area<lights_beacon_sw, 1>),
    k7::mouse_area({74, 15, 45, 30}, CURSOR_DOWNARROW, CLICK, k7::switch_area<lights_beacon_sw, 0>),
    K7_MOUSE_END,
};

// ---- navigation
// ---------------------------------------------------------------------------------------

constexpr double HALF_CYCLE = 30.0; // ticks of each light in the alternating mode

// Chain: 0 face, 1 switch at 0 (middle), 2 at 1 (down), 3 at 2 (up).
constexpr k7::ImageEntry nav_images[] = {{SWITCH_MIDDLE, {68, 30}, k7::TRANSPARENT},
                                         {SWITCH_DOWN, {68, 37}, k7::HIDDEN},
                                         {SWITCH_UP, {68, 20}, k7::HIDDEN}};
using NavImages = k7::Run<gauge_lights_nav, nav_images>;
ELEMENT_STATIC_IMAGE nav_face =
    k7::static_image(&gauge_lights_nav, 21312, {0, 0}, k7::TRANSPARENT, NavImages::head);

void stop_alternating() {
  lights_nav_alt_on = 0;
  lights_nav_alt_run = 0;
  lights_nav_alt_phase = 0;
}

void start_cycle(double tick) {
  lights_nav_alt_start = k7::sat_cast<u32>(tick);
  lights_nav_alt_t0 = k7::sat_cast<i32>(tick);
}

// Alternating: the second light for 30 ticks, then the navigation light for 30 ticks. A tick
// gone back behind the current cycle restarts it on the next update.
void alternate() {
  const double tick = sim::read_finite(tick_token);
  lights_nav_alt_on = 1;
  if (lights_nav_alt_run == 0) {
    start_cycle(tick);
    lights_nav_alt_run = 1;
  } else if (tick < static_cast<double>(lights_nav_alt_t0)) {
    lights_nav_alt_run = 0;
  } else if (tick >= static_cast<double>(lights_nav_alt_t0) + 2.0 * HALF_CYCLE) {
    lights_nav_alt_t0 = k7::sat_cast<i32>(tick);
    lights_nav_alt_phase = lights_nav_alt_phase == 0 ? 1 : 0;
  }
  const bool nav_half = tick >= static_cast<double>(lights_nav_alt_t0) + HALF_CYCLE;
  keep(nav, nav_half);
  keep(second, !nav_half);
}

void FSAPI nav_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  if (elec_bus_ess != 1 || lights_nav_sw == 0) {
    stop_alternating();
    keep(nav, false);
    keep(second, false);
  } else if (lights_nav_sw == 1 || elec_bus_gen_c != 1) {
    stop_alternating();
    keep(nav, true);
    keep(second, false);
  } else {
    alternate();
  }
  k7::show_position(NavImages::element, 3, lights_nav_sw);
}

MOUSERECT nav_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({52, 52, 45, 25}, CURSOR_HAND, CLICK, k7::switch_area<lights_nav_sw, 1>),
    k7::mouse_area({52, 27, 45, 25}, CURSOR_DOWNARROW, CLICK, k7::switch_area<lights_nav_sw, 0>),
    k7::mouse_area({52, 2, 45, 25}, CURSOR_HAND, CLICK, k7::switch_area<lights_nav_sw, 2>),
    K7_MOUSE_END,
};

// ---- landing lights
// -----------------------------------------------------------------------------------

constexpr i8 MOTOR_RETRACT = -100, MOTOR_EXTEND = 100;

// Chain: 0 face; 1-3 left extension switch retract, middle, extend; 4-6 the right one; 7-8 left
// light switch off and on; 9-10 the right one. Both columns drive one state and are drawn alike.
constexpr k7::ImageEntry land_images[] = {
    {SWITCH_UP, {27, 36}, k7::HIDDEN},          {SWITCH_MIDDLE, {27, 47}, k7::TRANSPARENT},
    {SWITCH_DOWN, {27, 53}, k7::HIDDEN},        {SWITCH_UP, {70, 36}, k7::HIDDEN},
    {SWITCH_MIDDLE, {70, 47}, k7::TRANSPARENT}, {SWITCH_DOWN, {70, 53}, k7::HIDDEN},
    {SWITCH_UP, {27, 103}, k7::TRANSPARENT},    {SWITCH_DOWN, {27, 120}, k7::HIDDEN},
    {SWITCH_UP, {70, 103}, k7::TRANSPARENT},    {SWITCH_DOWN, {70, 120}, k7::HIDDEN},
};
using LandImages = k7::Run<gauge_lights_land, land_images>;
ELEMENT_STATIC_IMAGE land_face =
    k7::static_image(&gauge_lights_land, 21280, {0, 0}, k7::TRANSPARENT, LandImages::head);

// The extension switch springs back toward the middle, 2 per update.
void spring_back(i8& motor) {
  if (motor >= 2)
    motor = static_cast<i8>(motor - 2);
  else if (motor < -1)
    motor = static_cast<i8>(motor + 2);
  else
    motor = 0;
}

void FSAPI land_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  spring_back(lights_land_motor);
  // The motor runs on its bus from the first update of a motion.
  if (elec_bus_gen_c == 1 && lights_land_motor < 0) lights_land_extended = 0;
  if (elec_bus_gen_c == 1 && lights_land_motor > 0) lights_land_extended = 1;
  keep(landing, lights_land_sw == 1 && elec_bus_gen_c == 1 && lights_land_extended == 1);

  const std::size_t extension = lights_land_motor < 0 ? 0 : lights_land_motor == 0 ? 1 : 2;
  ELEMENT_ICON* image = LandImages::element;
  k7::show_position(image, 3, extension);
  k7::show_position(image + 3, 3, extension);
  draw_switch(image + 6, lights_land_sw);
  draw_switch(image + 8, lights_land_sw);
}

BOOL FSAPI on_land_retract(PPIXPOINT, FLAGS32) {
  if (lights_land_motor == MOTOR_RETRACT) return FALSE_K7;
  sound_play(SND_CLICK);
  lights_land_motor = MOTOR_RETRACT;
  lights_land_sw = 0;
  return FALSE_K7;
}
BOOL FSAPI on_land_stop(PPIXPOINT, FLAGS32) {
  lights_land_motor = 0;
  return FALSE_K7;
}
template <bool RightColumn> BOOL FSAPI on_land_extend(PPIXPOINT, FLAGS32) {
  lights_land_motor = MOTOR_EXTEND;
  if (RightColumn) lights_land_sw = 1;
  return FALSE_K7;
}
BOOL FSAPI on_land_off(PPIXPOINT, FLAGS32) {
  if (lights_land_sw != 1) return FALSE_K7;
  sound_play(SND_CLICK);
  lights_land_sw = 0;
  lights_land_motor = MOTOR_RETRACT;
  return FALSE_K7;
}
BOOL FSAPI on_land_on(PPIXPOINT, FLAGS32) {
  if (lights_land_sw == 1) return FALSE_K7;
  sound_play(SND_CLICK);
  lights_land_sw = 1;
  lights_land_motor = MOTOR_EXTEND;
  return FALSE_K7;
}

#define K7_LAND_COLUMN(x, right)                                                                   \
  k7::mouse_area({x, 15, 45, 30}, CURSOR_DOWNARROW, CLICK, on_land_retract),                       \
      k7::mouse_area({x, 40, 45, 30}, CURSOR_HAND, CLICK, on_land_stop),                           \
      k7::mouse_area({x, 65, 45, 30}, CURSOR_UPARROW, CLICK, on_land_extend<right>),               \
      k7::mouse_area({x, 90, 45, 30}, CURSOR_DOWNARROW, CLICK, on_land_off),                       \
      k7::mouse_area({x, 120, 45, 30}, CURSOR_UPARROW, CLICK, on_land_on)

MOUSERECT land_mouse[] = {
    k7::mouse_parent(),
    K7_LAND_COLUMN(10, false),
    K7_LAND_COLUMN(55, true),
    K7_MOUSE_END,
};
#undef K7_LAND_COLUMN

} // namespace

K7_GAUGE_HEADER(lights_nac, nac_face, nac_mouse, nac_callback);
K7_GAUGE_HEADER(lights_taxi, taxi_face, taxi_mouse, taxi_callback);
K7_GAUGE_HEADER(lights_beacon, beacon_face, beacon_mouse, beacon_callback);
K7_GAUGE_HEADER(lights_nav, nav_face, nav_mouse, nav_callback);
K7_GAUGE_HEADER(lights_land, land_face, land_mouse, land_callback);
