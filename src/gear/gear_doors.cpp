// "kestovil gearind_k7": the three gear lamps in three rows, which also brings its window on
// screen while the gear travels near either end of its stroke. "kestovil doors_ind_k7": the door,
// parking brake and ground power lamps with the forward door and airport stairs buttons, kept in
// step with the panel's door and stairs modules through two shared named variables.
#include "electrical/electrical.h"
#include "gear/gear.h"
#include "module/daynight.h"
#include "module/kit.h"
#include "module/runs.h"
#include "module/services.h"
#include "panels/panels.h"

namespace {

MODULE_VAR gear_1 = sim::token(0x14D);
MODULE_VAR gear_2 = sim::token(0x14C);
MODULE_VAR gear_3 = sim::token(0x14E);

// ---- gear indicator
// -----------------------------------------------------------------------------------

constexpr u32 GEAR_WINDOW = 10150;
constexpr ID UPLOCK = 22656, UPLOCK_NAV_OFF = 22640, TRANSIT = 512;
constexpr ID DOWN_LOCKED = 22784, DOWN_LOCKED_NAV_OFF = 384;

// Chain: 0 face, 1 night overlay; 2-4 out-of-up-lock lamps of gears 1-3 and 5-7 their second
// bitmaps; 8-10 transit lamps; 11-13 down-and-locked lamps and 14-16 their second bitmaps.
constexpr k7::ImageEntry gear_lamps[] = {
    {22624, {0, 0}, k7::NIGHT_HIDDEN},
    {UPLOCK, {105, 15}, k7::HIDDEN},
    {UPLOCK, {120, 45}, k7::HIDDEN},
    {UPLOCK, {135, 15}, k7::HIDDEN},
    {UPLOCK_NAV_OFF, {105, 15}, k7::HIDDEN},
    {UPLOCK_NAV_OFF, {120, 45}, k7::HIDDEN},
    {UPLOCK_NAV_OFF, {135, 15}, k7::HIDDEN},
    {TRANSIT, {12, 33}, k7::HIDDEN},
    {TRANSIT, {43, 33}, k7::HIDDEN},
    {TRANSIT, {74, 33}, k7::HIDDEN},
    {DOWN_LOCKED, {20, 65}, k7::HIDDEN},
    {DOWN_LOCKED, {52, 65}, k7::HIDDEN},
    {DOWN_LOCKED, {83, 65}, k7::HIDDEN},
    {DOWN_LOCKED_NAV_OFF, {20, 65}, k7::HIDDEN},
    {DOWN_LOCKED_NAV_OFF, {52, 65}, k7::HIDDEN},
    {DOWN_LOCKED_NAV_OFF, {83, 65}, k7::HIDDEN},
};
using GearLamps = k7::Run<gauge_gearind, gear_lamps>;
ELEMENT_STATIC_IMAGE gear_face =
    k7::static_image(&gauge_gearind, 22608, {0, 0}, k7::TRANSPARENT, GearLamps::head);

enum GearLamp : std::size_t { OVERLAY = 0, UPLOCK_1 = 1, TRANSIT_1 = 7, DOWN_1 = 10 };

// Gear position 1 near either end of its stroke, where the crew wants to see the lamps.
bool near_stroke_end(double p1) {
  return (p1 > 0.0 && p1 < 1000.0) || (p1 > 15000.0 && p1 < 16000.0);
}

void FSAPI gear_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double position[3] = {sim::read_finite(gear_1), sim::read_finite(gear_2),
                              sim::read_finite(gear_3)};
  const bool powered = elec_bus_ess == 1;
  const bool driven = gear_hyd_lost == 0;
  const bool second_set = lights_nav_sw == 0;
  ELEMENT_ICON* lamp = GearLamps::element;
  k7::show(lamp[OVERLAY], k7::panel_night());
  for (std::size_t n = 0; n < 3; ++n) {
    const double p = position[n];
    k7::show_lamp(lamp[UPLOCK_1 + n], lamp[UPLOCK_1 + 3 + n], powered && driven && p > 500.0,
                  second_set);
    k7::show(lamp[TRANSIT_1 + n], powered && driven && p > 4500.0 && p < 11700.0);
    k7::show_lamp(lamp[DOWN_1 + n], lamp[DOWN_1 + 3 + n], powered && p >= 11700.0, second_set);
  }
  if (near_stroke_end(position[0])) {
    sim::window_open(GEAR_WINDOW);
    panel_geardoors_state = 2;
  }
}

constexpr MOUSERECT parent_with_help() {
  MOUSERECT r = k7::mouse_parent();
  r.help_id = 43825;
  return r;
}
MOUSERECT gear_mouse[] = {parent_with_help(), K7_MOUSE_END};

// ---- doors panel
// --------------------------------------------------------------------------------------

const char* const DOOR_VARIABLE = "forward_door_open";
const char* const STAIRS_VARIABLE = "airport_stairs_available";
constexpr double DOOR_CLOSE_SPEED = 60.0; // knots
constexpr double STAIRS_HEIGHT = 2.0;     // radio height at or below which the stairs are looked at

// Chain: 0 face, 1 night overlay, 2 forward door, 3 second door, 4 parking brake, 5 ground power.
constexpr k7::ImageEntry door_lamps[] = {
    {22592, {0, 0}, k7::NIGHT_HIDDEN}, {512, {22, 35}, k7::HIDDEN},  {512, {56, 35}, k7::HIDDEN},
    {512, {91, 35}, k7::HIDDEN},       {512, {124, 35}, k7::HIDDEN},
};
using DoorLamps = k7::Run<gauge_doors_ind, door_lamps>;
ELEMENT_STATIC_IMAGE doors_face =
    k7::static_image(&gauge_doors_ind, 22576, {0, 0}, k7::TRANSPARENT, DoorLamps::head);

MODULE_VAR on_ground = sim::token(0x3C);
MODULE_VAR airspeed = sim::token(0x3D);
MODULE_VAR exit_open = sim::token(0x364);
MODULE_VAR parking_brake = sim::token(0x143);
MODULE_VAR radio_height = sim::token(0x266);

bool grounded() {
  return sim::read(on_ground) == 1.0;
}

// The shared variable is read every update and written only when it disagrees with the request,
// so that the door and stairs modules may move them too.
void forward_door() {
  door_fwd_value = k7::finite_or(sim::named_get(DOOR_VARIABLE), 0.0);
  if (door_fwd_req == 1 && door_fwd_value == 0.0) sim::named_set(DOOR_VARIABLE, 1.0);
  if (door_fwd_req == 0 && door_fwd_value > 0.0) sim::named_set(DOOR_VARIABLE, 0.0);
  if (sim::read_finite(airspeed) > DOOR_CLOSE_SPEED) door_fwd_req = 0;
}

// The stairs stay only while the aircraft is parked with ground power available and the brake
// set; otherwise the request is dropped and the stairs withdrawn in the same update.
void stairs(bool ground) {
  stairs_value = k7::finite_or(sim::named_get(STAIRS_VARIABLE), 0.0);
  if (stairs_req == 1) {
    if (elec_extpwr_available != 1 || !ground || sim::read_finite(parking_brake) <= 0.0) {
      stairs_req = 0;
      if (stairs_value > 0.0) sim::named_set(STAIRS_VARIABLE, 0.0);
    } else if (stairs_value == 0.0) {
      sim::named_set(STAIRS_VARIABLE, 1.0);
    }
  } else if (stairs_value > 0.0) {
    sim::named_set(STAIRS_VARIABLE, 0.0);
  }
}

enum DoorLamp : std::size_t { DOORS_OVERLAY = 0, FORWARD_DOOR, SECOND_DOOR, PARKING, GROUND_POWER };

void FSAPI doors_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::button_update(doors_test_1);
  k7::button_update(doors_test_2);
  k7::button_update(doors_test_3);
  const bool ground = grounded();
  if (ground) forward_door();
  // Radio height in the simulator's unit, compared with 2.0 as it stands.
  if (sim::read(radio_height) <= STAIRS_HEIGHT || ground) stairs(ground);

  const bool powered = elec_bus_ess == 1;
  ELEMENT_ICON* lamp = DoorLamps::element;
  k7::show(lamp[DOORS_OVERLAY], k7::panel_night());
  k7::show(lamp[FORWARD_DOOR], powered && (sim::read_finite(exit_open) > 0.1 ||
                                           door_fwd_value > 0.0 || doors_test_1 != 0));
  k7::show(lamp[SECOND_DOOR], powered && doors_test_2 != 0);
  k7::show(lamp[PARKING],
           powered && (sim::read_finite(parking_brake) > 0.0 || parkb_lev_state != 0));
  k7::show(lamp[GROUND_POWER], powered && (elec_extpwr_connected == 1 || doors_test_3 != 0));
}

template <u8& Request> BOOL FSAPI on_ground_toggle(PPIXPOINT, FLAGS32) {
  if (grounded()) Request = Request == 0 ? 1 : 0;
  return FALSE_K7;
}

// A lamp test held down: a press gives 12 updates, and each repeat keeps it near 12.
template <u8& Timer> BOOL FSAPI on_lamp_test(PPIXPOINT, FLAGS32) {
  if (Timer == 0) Timer = 10;
  if (Timer < 11) Timer = static_cast<u8>(Timer + 2);
  return FALSE_K7;
}

constexpr FLAGS32 CLICK = MOUSE_LEFTSINGLE;
constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;
MOUSERECT doors_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({17, 31, 24, 24}, CURSOR_HAND, CLICK, on_ground_toggle<door_fwd_req>),
    k7::mouse_area({86, 31, 24, 24}, CURSOR_HAND, CLICK, on_ground_toggle<stairs_req>),
    k7::mouse_area({2, 6, 24, 24}, CURSOR_HAND, HELD, on_lamp_test<doors_test_1>),
    k7::mouse_area({37, 6, 24, 24}, CURSOR_HAND, HELD, on_lamp_test<doors_test_2>),
    k7::mouse_area({143, 32, 24, 24}, CURSOR_HAND, HELD, on_lamp_test<doors_test_3>),
    K7_MOUSE_END,
};

} // namespace

K7_GAUGE_HEADER(gearind, gear_face, gear_mouse, gear_callback);
K7_GAUGE_HEADER(doors_ind, doors_face, doors_mouse, doors_callback);
