// The pedestal levers: "kestovil spdbrk_lev_k7" (air brakes), "kestovil flaps_lev_k7",
// "kestovil gear_lev_k7" with the gear warning horn, "kestovil parkb_lev_k7" with the two fuel
// valve repeater lamps, and "kestovil engstart_test_k7" (the horn's silence and test buttons).
// A lever moves on any click; it commands the simulator only when the hydraulics can do the work,
// and some levers then follow what the simulator shows.
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "gear/gear.h"
#include "hydraulics/hydraulics.h"
#include "module/daynight.h"
#include "module/runs.h"
#include "module/services.h"
#include "sound/sound.h"
#include "warnings/warnings.h"

namespace {

constexpr u16 GREEN_DRIVES = 1750;      // green pressure above which the levers command
constexpr u16 GREEN_HOLDS_BRAKE = 1400; // parking brake, on green
constexpr u16 RED_HOLDS = 950;          // standby (red) pressure above which it works

bool green_drives() {
  return hydrau_press_green > GREEN_DRIVES;
}
bool red_holds() {
  return hydrau_press_red > RED_HOLDS;
}

constexpr u32 KEY_AIRBRAKES_OUT = 0x10210, KEY_AIRBRAKES_IN = 0x10211;
constexpr u32 KEY_FLAPS_OUT = 0x100DE, KEY_FLAPS_IN = 0x100DF;
constexpr u32 KEY_FLAP_STANDBY = 0x10305;
constexpr u32 KEY_GEAR_UP = 0x1021F, KEY_GEAR_DOWN = 0x10220;
constexpr u32 KEY_PARKING_BRAKE = 0x100D8;

constexpr double GEAR_LOCKED_DOWN = 16300.0;
constexpr double GEAR_FULL_DOWN = 16383.0;

constexpr FLAGS32 CLICK = MOUSE_LEFTSINGLE;

// Each lever's position images, day copies then night copies, as one run after its face.
template <std::size_t N> struct LeverArt { k7::ImageEntry entries[2 * N]; };
template <std::size_t N>
constexpr LeverArt<N> lever_art(const ID (&day)[N], const ID (&night)[N], const PIXPOINT (&at)[N]) {
  LeverArt<N> art{};
  for (std::size_t i = 0; i < N; ++i) {
    art.entries[i] = {day[i], at[i], k7::DAY_HIDDEN};
    art.entries[N + i] = {night[i], at[i], k7::NIGHT_HIDDEN};
  }
  return art;
}

// ---- air brakes
// ---------------------------------------------------------------------------------------

constexpr auto spdbrk_art = lever_art<2>({17776, 17920}, {17792, 17936}, {{0, 0}, {0, 96}});
using SpdbrkImages = k7::Run<gauge_spdbrk_lev, spdbrk_art.entries>;
ELEMENT_STATIC_IMAGE spdbrk_face =
    k7::static_image(&gauge_spdbrk_lev, 17760, {0, 0}, k7::TRANSPARENT, SpdbrkImages::head);

MODULE_VAR spoiler_handle = sim::token(0x145);

void FSAPI spdbrk_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  // A lever put out without hydraulics (state 2) stays out whatever the handle shows.
  if (sim::read_finite(spoiler_handle) > 0.0)
    spdbrk_lev_state = 1;
  else if (spdbrk_lev_state == 1)
    spdbrk_lev_state = 0;
  k7::draw_position(SpdbrkImages::element, SpdbrkImages::element + 2, 2,
                    spdbrk_lev_state == 0 ? 0 : 1);
}

BOOL FSAPI on_spdbrk_in(PPIXPOINT, FLAGS32) {
  spdbrk_lev_state = 0;
  if (green_drives()) sim::key_event(KEY_AIRBRAKES_IN);
  return FALSE_K7;
}
BOOL FSAPI on_spdbrk_out(PPIXPOINT, FLAGS32) {
  if (green_drives()) {
    spdbrk_lev_state = 1;
    sim::key_event(KEY_AIRBRAKES_OUT);
  } else {
    spdbrk_lev_state = 2;
  }
  return FALSE_K7;
}

MOUSERECT spdbrk_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 48, 72}, CURSOR_DOWNARROW, CLICK, on_spdbrk_in),
    k7::mouse_area({0, 72, 48, 72}, CURSOR_UPARROW, CLICK, on_spdbrk_out),
    K7_MOUSE_END,
};

// ---- flaps
// --------------------------------------------------------------------------------------------

constexpr auto flaps_art =
    lever_art<3>({17424, 17232, 17264}, {17440, 17248, 17280}, {{0, 0}, {0, 137}, {0, 217}});
using FlapsImages = k7::Run<gauge_flaps_lev, flaps_art.entries>;
ELEMENT_STATIC_IMAGE flaps_face =
    k7::static_image(&gauge_flaps_lev, 17408, {0, 0}, k7::TRANSPARENT, FlapsImages::head);

MODULE_VAR flap_handle = sim::token(0x148);
MODULE_VAR flap_standby = sim::token(0x338);
MODULE_VAR fan_1 = sim::token(0x270);
MODULE_VAR fan_2 = sim::token(0x283);

// The standby flap drive: on red pressure alone the flaps are kept moving by swinging the
// simulator's standby value between about 0.1 and 0.2.
enum StandbyState : u8 { REST = 0, LEAVING = 1, FALLING = 2, RISING = 3, GREEN = 6 };

void flaps_standby_on_red(double standby) {
  if (sim::read_finite(fan_1) + sim::read_finite(fan_2) < 20.0) {
    if (flaps_standby_state == LEAVING || flaps_standby_state == FALLING) {
      sim::key_event(KEY_FLAP_STANDBY);
      flaps_standby_state = REST;
    }
    return;
  }
  if (standby >= 0.7 && flaps_standby_state == REST) {
    sim::key_event(KEY_FLAP_STANDBY);
    flaps_standby_state = LEAVING;
    return;
  }
  // Green lost while the value was still rising (state 6), or resting below 0.7 (state 0):
  // join the swing where the value stands instead of waiting for a state nothing leaves.
  u8 state = flaps_standby_state;
  if (state == GREEN) state = RISING;
  if (state == REST && standby < 0.7) state = FALLING;
  if (standby < 0.7 && state == LEAVING) flaps_standby_state = state = FALLING;
  if (standby <= 0.1 && state == FALLING) {
    sim::key_event(KEY_FLAP_STANDBY);
    flaps_standby_state = state = RISING;
  } else if (standby >= 0.2 && state == RISING) {
    sim::key_event(KEY_FLAP_STANDBY);
    flaps_standby_state = FALLING;
  }
}

std::size_t flaps_image(double position) {
  if (position <= 0.95) return 0;
  if (position <= 1.95) return 1;
  if (position <= 2.95) return 2;
  return 3; // the face alone
}

void FSAPI flaps_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double handle = sim::read_finite(flap_handle);
  const double standby = sim::read_finite(flap_standby);
  if (green_drives()) {
    flaps_lev_pos = k7::clamp(handle * 5.0 / 16000.0, 0.0, 5.0);
    if (standby < 0.09 && flaps_standby_state != GREEN) {
      sim::key_event(KEY_FLAP_STANDBY);
      flaps_standby_state = GREEN;
    }
    if (standby > 0.7 && flaps_standby_state != REST) flaps_standby_state = REST;
  } else if (red_holds()) {
    flaps_standby_on_red(standby);
  }
  k7::draw_position(FlapsImages::element, FlapsImages::element + 3, 3, flaps_image(flaps_lev_pos));
}

BOOL FSAPI on_flaps_out(PPIXPOINT, FLAGS32) {
  if (green_drives())
    sim::key_event(KEY_FLAPS_OUT);
  else
    flaps_lev_pos = flaps_lev_pos + 1.0 > 5.0 ? 5.0 : flaps_lev_pos + 1.0;
  return FALSE_K7;
}
BOOL FSAPI on_flaps_in(PPIXPOINT, FLAGS32) {
  if (green_drives())
    sim::key_event(KEY_FLAPS_IN);
  else
    flaps_lev_pos = flaps_lev_pos - 1.0 < 0.0 ? 0.0 : flaps_lev_pos - 1.0;
  return FALSE_K7;
}

MOUSERECT flaps_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 134, 65, 134}, CURSOR_UPARROW, CLICK, on_flaps_out),
    k7::mouse_area({0, 0, 65, 134}, CURSOR_DOWNARROW, CLICK, on_flaps_in),
    K7_MOUSE_END,
};

// ---- gear and the warning horn
// ----------------------------------------------------------------------------------------

enum GearLever : u8 { NEUTRAL = 0, DOWN = 1, UP = 2 };

// Images: neutral and up (down shows the face alone).
constexpr auto gear_art = lever_art<2>({17472, 17504}, {17488, 17520}, {{3, 174}, {1, 0}});
using GearImages = k7::Run<gauge_gear_lev, gear_art.entries>;
ELEMENT_STATIC_IMAGE gear_face =
    k7::static_image(&gauge_gear_lev, 17456, {0, 0}, k7::TRANSPARENT, GearImages::head);

MODULE_VAR gear_handle = sim::token(0x14B);
MODULE_VAR gear_1 = sim::token(0x14D);
MODULE_VAR gear_2 = sim::token(0x14C);
MODULE_VAR gear_3 = sim::token(0x14E);
MODULE_VAR on_ground = sim::token(0x3C);
MODULE_VAR flap_angle = sim::token(0x38B);

// Without green pressure in flight: a gear nearly up is kept up and one nearly down kept down;
// in an emergency extension (red pressure, emergency lever pulled) the gear may only go down.
void gear_without_green(double p1, double p2) {
  if (!red_holds() || emerg_gear_lev != 1) {
    gear_hyd_lost = 1;
    if (p2 > 0.0 && p1 < 5000.0) sim::key_event(KEY_GEAR_UP);
    if (p1 > 15000.0 && p1 < GEAR_FULL_DOWN) sim::key_event(KEY_GEAR_DOWN);
    return;
  }
  if (p1 >= GEAR_LOCKED_DOWN) {
    gear_hyd_lost = 1;
  } else if (p1 > 0.0) {
    gear_hyd_lost = 0;
    if (gear_pos_max < gear_pos_now) gear_pos_max = gear_pos_now;
    if (gear_pos_now < gear_pos_max) {
      sim::key_event(KEY_GEAR_DOWN);
      gear_pos_max = gear_pos_now;
    }
  }
}

void gear_horn(double p1, double p2, double p3) {
  const bool flaps_out = sim::read_finite(flap_angle) > 20.0;
  if (flaps_out && (p1 < GEAR_LOCKED_DOWN || p3 < GEAR_LOCKED_DOWN || p2 < GEAR_LOCKED_DOWN)) {
    gear_horn_cond = 1;
  } else {
    gear_horn_cond = 0;
    gear_horn_silenced = 0;
  }
  const bool powered = elec_bus_ess == 1;
  // An overspeed is not the crew's to silence: a silence given for the gear leaves it sounding.
  const bool overspeed = powered && warn_overspeed == 1;
  const bool start =
      powered && (((gear_horn_cond == 1 || warn_overspeed == 1) && gear_horn_silenced == 0) ||
                  gear_horn_test == 1 || overspeed);
  const bool stop = !powered ||
                    (gear_horn_cond == 0 && warn_overspeed == 0 && gear_horn_test == 0) ||
                    (gear_horn_silenced == 1 && !overspeed);
  if (stop)
    sound_stop(SND_KLAXONGEAR);
  else if (start)
    sound_play(SND_KLAXONGEAR, true);
}

void FSAPI gear_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double handle = sim::read_finite(gear_handle);
  const double p1 = sim::read_finite(gear_1);
  const double p2 = sim::read_finite(gear_2);
  const double p3 = sim::read_finite(gear_3);
  const bool ground = sim::read(on_ground) == 1.0;
  gear_pos_now = k7::sat_cast<u32>(p1);

  if (!ground && !green_drives()) {
    gear_without_green(p1, p2);
  } else {
    gear_hyd_lost = 0;
    if (handle > 0.0)
      gear_lev_state = DOWN;
    else if (p1 + p2 + p3 == 0.0)
      gear_lev_state = NEUTRAL;
    else
      gear_lev_state = UP;
  }
  k7::draw_position(GearImages::element, GearImages::element + 2, 2,
                    gear_lev_state == NEUTRAL ? 0
                    : gear_lev_state == UP    ? 1
                                              : 2);
  gear_horn(p1, p2, p3);
}

template <u8 State, u32 Key> BOOL FSAPI on_gear(PPIXPOINT, FLAGS32) {
  gear_lev_state = State;
  if (Key != 0 && green_drives()) sim::key_event(Key);
  return FALSE_K7;
}

MOUSERECT gear_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 45, 126}, CURSOR_UPARROW, CLICK, on_gear<UP, KEY_GEAR_UP>),
    k7::mouse_area({0, 126, 45, 62}, CURSOR_HAND, CLICK, on_gear<NEUTRAL, 0>),
    k7::mouse_area({0, 188, 45, 61}, CURSOR_DOWNARROW, CLICK, on_gear<DOWN, KEY_GEAR_DOWN>),
    K7_MOUSE_END,
};

// ---- horn buttons
// -------------------------------------------------------------------------------------

ELEMENT_STATIC_IMAGE horn_face =
    k7::static_image(&gauge_engstart_test, 21120, {0, 0}, k7::TRANSPARENT, K7_END);

BOOL FSAPI on_horn_silence(PPIXPOINT, FLAGS32) {
  if (warn_overspeed == 0) gear_horn_silenced = 1;
  return FALSE_K7;
}
BOOL FSAPI on_horn_test(PPIXPOINT, FLAGS32) {
  if (elec_bus_ess != 1) return FALSE_K7;
  if (gear_horn_test == 0) {
    gear_horn_test = 1;
  } else {
    gear_horn_test = 0;
    if (warn_overspeed == 0) gear_horn_silenced = 1;
  }
  return FALSE_K7;
}

MOUSERECT horn_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 32, 32}, CURSOR_HAND, CLICK, on_horn_silence),
    k7::mouse_area({34, 0, 32, 32}, CURSOR_HAND, CLICK, on_horn_test),
    K7_MOUSE_END,
};

// The horn itself sounds from the gear lever's update.
void FSAPI horn_callback(PGAUGEHDR, SINT32, GAUGE_EXTRA) {}

// ---- parking brake
// ------------------------------------------------------------------------------------

enum ParkingLever : u8 { RELEASED = 0, INTERMEDIATE = 1, SET = 2 };

// Chain after the face: set, intermediate, released (day, then night); then the two repeater
// lamps, each open and shut (day, then night).
constexpr auto parkb_art =
    lever_art<3>({17696, 17728, 17664}, {17712, 17744, 17680}, {{0, 76}, {3, 0}, {3, 14}});
constexpr auto repeater_art =
    lever_art<4>({29296, 29264, 29296, 29264}, {29312, 29280, 29312, 29280},
                 {{9, 82}, {9, 82}, {47, 82}, {47, 82}});
using RepeaterImages = k7::Run<gauge_parkb_lev, repeater_art.entries>;
using ParkbImages = k7::Run<gauge_parkb_lev, parkb_art.entries, RepeaterImages::head>;
ELEMENT_STATIC_IMAGE parkb_face =
    k7::static_image(&gauge_parkb_lev, 17536, {0, 0}, k7::TRANSPARENT, ParkbImages::head);

MODULE_VAR parking_brake = sim::token(0x143);
MODULE_VAR fuel_valve_1 = sim::token(0x37F);

enum ParkbImage : std::size_t { IMAGE_SET = 0, IMAGE_INTERMEDIATE = 1, IMAGE_RELEASED = 2 };

void FSAPI parkb_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double brake = sim::read_finite(parking_brake);
  std::size_t image = IMAGE_INTERMEDIATE;
  if (parkb_lev_state == SET || brake > 0.0) {
    if (parkb_lev_state != INTERMEDIATE) parkb_lev_state = brake > 0.0 ? SET : RELEASED;
    image = IMAGE_SET;
  } else if (brake == 0.0 && parkb_lev_state != INTERMEDIATE) {
    parkb_lev_state = RELEASED;
    image = IMAGE_RELEASED;
  }
  k7::draw_position(ParkbImages::element, ParkbImages::element + 3, 3, image);

  // The left fuel valve repeaters: open or shut on the essential bus, dark without it.
  ELEMENT_ICON* lamp = RepeaterImages::element;
  const bool powered = elec_bus_ess == 1;
  const bool open = sim::read(fuel_valve_1) == 1.0 && fuel_valve_lh_b == 1;
  for (std::size_t repeater : {std::size_t{0}, std::size_t{2}})
    for (std::size_t shut : {std::size_t{0}, std::size_t{1}}) {
      const std::size_t i = repeater + shut;
      k7::draw(k7::DayNight{&lamp[i].header, &lamp[4 + i].header}, powered && open == (shut == 0));
    }
}

// The brake is toggled only while the simulator's brake disagrees with where the lever goes, so a
// lever moved to set never releases a brake already set.
bool brake_pressure() {
  return hydrau_press_green > GREEN_HOLDS_BRAKE || red_holds();
}

BOOL FSAPI on_parkb_release(PPIXPOINT, FLAGS32) {
  if (parkb_lev_state == SET) {
    parkb_lev_state = INTERMEDIATE;
    if (brake_pressure() && sim::read_finite(parking_brake) > 0.0)
      sim::key_event(KEY_PARKING_BRAKE);
  } else if (parkb_lev_state == INTERMEDIATE) {
    parkb_lev_state = RELEASED;
  }
  return FALSE_K7;
}
BOOL FSAPI on_parkb_set(PPIXPOINT, FLAGS32) {
  if (parkb_lev_state == RELEASED) {
    parkb_lev_state = INTERMEDIATE;
  } else if (parkb_lev_state == INTERMEDIATE) {
    parkb_lev_state = SET;
    if (brake_pressure() && sim::read(parking_brake) == 0.0) sim::key_event(KEY_PARKING_BRAKE);
  }
  return FALSE_K7;
}

MOUSERECT parkb_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 34, 102}, CURSOR_DOWNARROW, CLICK, on_parkb_release),
    k7::mouse_area({0, 114, 34, 102}, CURSOR_UPARROW, CLICK, on_parkb_set),
    K7_MOUSE_END,
};

} // namespace

K7_GAUGE_HEADER(spdbrk_lev, spdbrk_face, spdbrk_mouse, spdbrk_callback);
K7_GAUGE_HEADER(flaps_lev, flaps_face, flaps_mouse, flaps_callback);
K7_GAUGE_HEADER(gear_lev, gear_face, gear_mouse, gear_callback);
K7_GAUGE_HEADER(parkb_lev, parkb_face, parkb_mouse, parkb_callback);
K7_GAUGE_HEADER(engstart_test, horn_face, horn_mouse, horn_callback);
