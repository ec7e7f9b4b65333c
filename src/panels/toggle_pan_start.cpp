// "kestovil toggle_pan_start": the pop-up toggle of the engine start / TADG / battery commutator
// windows, and the owner of the cockpit's sounds: they are loaded when this gauge is installed
// and released when it is killed. Being always on the main panel, it also carries what the
// aircraft does by itself when its hydraulics go: air brakes, nose-wheel steering, parking brake
// and flight controls.
#include "hydraulics/hydraulics.h"
#include "module/services.h"
#include "panels/panels.h"
#include "panels/windows.h"
#include "sound/sound.h"

namespace panels {

namespace {

constexpr u16 GREEN_LOW = 1751;  // psi: below it the green circuit no longer serves
constexpr u16 BLUE_LOW = 1751;   // psi
constexpr u16 RED_LOW = 950;     // psi: below it the standby brakes no longer hold
constexpr u16 YELLOW_LOW = 1900; // psi, each yellow pump

constexpr double AIR_BRAKES_HELD = 3000.0; // air brakes position: below it they fold in
constexpr double AIR_BRAKES_SLOW_LOW = 6000.0;
constexpr double AIR_BRAKES_SLOW_HIGH = 16382.0;
constexpr double AIR_BRAKES_FAST_LIMIT = 4000.0;
constexpr u32 AIR_BRAKES_FAST_SET = 7000;
constexpr double SLOW_KT = 60.0;
constexpr double TAXI_KT = 10.0;
constexpr double TOE_BRAKE_HELD = 5000.0; // left toe brake, 0..32767

constexpr u32 KEY_CENTER_AILERON_RUDDER = 0x1004C;
constexpr u32 KEY_RUDDER_CENTER = 0x10099;
constexpr u32 KEY_ELEVATOR_SET = 0x1009E;
constexpr u32 KEY_RUDDER_SET = 0x100A0;
constexpr u32 KEY_AIR_BRAKES_SET = 0x100FA;
constexpr u32 KEY_AIR_BRAKES_OUT = 0x10210;
constexpr u32 KEY_AIR_BRAKES_IN = 0x10211;
constexpr u32 KEY_PARKING_BRAKE = 0x10306;

MODULE_VAR on_ground = sim::token(0x3C);
MODULE_VAR airspeed = sim::token(0x3D);
MODULE_VAR aileron = sim::token(0x139);
MODULE_VAR rudder = sim::token(0x13C);
MODULE_VAR elevator = sim::token(0x13D);
MODULE_VAR brake_left = sim::token(0x140);
MODULE_VAR parking_brake = sim::token(0x143);
MODULE_VAR air_brakes = sim::token(0x146);

bool parking_brake_set() {
  return sim::read_finite(parking_brake) > 0.0;
}

// Without green pressure the air brakes cannot be held out: they fold in, or, once far out, are
// let back to a position the airflow allows.
void air_brakes_without_green() {
  const double position = sim::read_finite(air_brakes);
  if (position < AIR_BRAKES_HELD) {
    if (position >= 1.0) sim::key_event(KEY_AIR_BRAKES_IN);
  } else if (sim::read_finite(airspeed) <= SLOW_KT) {
    if (position > AIR_BRAKES_SLOW_LOW && position < AIR_BRAKES_SLOW_HIGH)
      sim::key_event(KEY_AIR_BRAKES_OUT);
  } else if (position > AIR_BRAKES_FAST_LIMIT) {
    sim::key_event(KEY_AIR_BRAKES_SET, AIR_BRAKES_FAST_SET);
  }
}

// The parking brake is set for the crew when the red circuit can no longer hold the aircraft and
// the green one cannot either, and released once either circuit is back. A brake the pilot has
// released meanwhile is not set again by the release.
void parking_brake_automation() {
  const bool green_low = hydrau_press_green < GREEN_LOW;
  const bool red_low = hydrau_press_red < RED_LOW;
  if (red_low && green_low && sim::read(parking_brake) == 0.0) {
    sim::key_event(KEY_PARKING_BRAKE);
    hyd_park_auto = 1;
  } else if ((!red_low || !green_low) && hyd_park_auto != 0) {
    if (parking_brake_set()) sim::key_event(KEY_PARKING_BRAKE);
    hyd_park_auto = 0;
  }
}

void flight_controls(bool ground) {
  const bool lost = hydrau_press_blue < BLUE_LOW && hydrau_yellow1_press < YELLOW_LOW &&
                    hydrau_yellow2_press < YELLOW_LOW && hydrau_press_green < GREEN_LOW;
  hyd_flight_ctl_lost = lost ? 1 : 0;
  if (!lost) return;
  if (ground) {
    if (sim::read_finite(aileron) != 0.0) sim::key_event(KEY_CENTER_AILERON_RUDDER);
    if (sim::read_finite(elevator) != 0.0) sim::key_event(KEY_ELEVATOR_SET, 0);
  } else {
    sim::key_event(KEY_CENTER_AILERON_RUDDER);
    sim::key_event(KEY_RUDDER_SET, 0);
    sim::key_event(KEY_ELEVATOR_SET, 0);
  }
}

void hydraulic_loss_automation() {
  const bool ground = sim::read(on_ground) == 1.0;
  if (hydrau_press_green < GREEN_LOW) air_brakes_without_green();

  // Nose-wheel steering goes with the red circuit while taxiing.
  const double speed = sim::read_finite(airspeed);
  if (ground && speed >= TAXI_KT && speed <= SLOW_KT && sim::read_finite(rudder) != 0.0 &&
      hydrau_press_red < RED_LOW)
    sim::key_event(KEY_RUDDER_CENTER);

  parking_brake_automation();
  flight_controls(ground);

  // The automation lets go of a brake the green circuit holds again, and notes when the pilot
  // releases it by treading on the brakes.
  const double toe_brake = sim::read_finite(brake_left);
  if (parking_brake_set() && hydrau_press_green >= GREEN_LOW && toe_brake < TOE_BRAKE_HELD)
    hyd_park_auto = 0;
  if (hyd_park_auto == 1 && toe_brake > TOE_BRAKE_HELD) hyd_park_auto = 2;
}

void start_panel_work(SINT32 service, GAUGE_EXTRA extra) {
  switch (service) {
  case PANEL_SERVICE_PRE_INSTALL: sound_install(extra); break;
  case PANEL_SERVICE_PRE_UPDATE: hydraulic_loss_automation(); break;
  case PANEL_SERVICE_PRE_KILL: sound_kill(); break;
  default: break;
  }
}

constexpr char start_tip[] = "display/hide start/TADG/commut bat";

using Start = Toggle<gauge_toggle_pan_start, GAUGE_INDEX_toggle_pan_start, 70, 70, start_tip,
                     toggle_click<WIN_ENGINE_START, WIN_COMMUTATOR>, start_panel_work>;

} // namespace

} // namespace panels

K7_GAUGE_HEADER(toggle_pan_start, panels::Start::background, panels::Start::mouse,
                panels::Start::callback);
