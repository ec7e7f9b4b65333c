// "kestovil emerg_lev_k7": the emergency gear lever, the emergency flap lever under its guard (both
// work on red pressure), and the flap-handle lock that keeps the flap handle on the detent of the
// actual flap angle while the flaps have no hydraulic power.
#include "module/daynight.h"
#include "hydraulics/hyd_logic.h"
#include "hydraulics/hyd_sim.h"
#include "hydraulics/hydraulics.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_emerg_lev, n);
}

// Chain: 0 face, 1 night face; gear lever stowed and pulled (2-5, day and night of each); flap
// lever at 0, 1, 2 (6-11); flap guard closed and open (12-15).
extern ELEMENT_ICON face_night;
extern ELEMENT_ICON gear0_day, gear0_night, gear1_day, gear1_night;
extern ELEMENT_ICON flap0_day, flap0_night, flap1_day, flap1_night, flap2_day, flap2_night;
extern ELEMENT_ICON guard0_day, guard0_night, guard1_day, guard1_night;

constexpr PGAUGEHDR g = &gauge_emerg_lev;
constexpr PIXPOINT GEAR_LEVER = {20, 103};
constexpr PIXPOINT FLAP_LEVER = {116, 88};
constexpr PIXPOINT FLAP_GUARD = {116, 0};

ELEMENT_STATIC_IMAGE face = k7::static_image(g, art(0), {0, 0}, k7::ART_DAY, K7_NEXT(face_night));
ELEMENT_ICON face_night = k7::icon(g, art(1), {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(gear0_day));
ELEMENT_ICON gear0_day = k7::icon(g, art(2), GEAR_LEVER, k7::ART_DAY, K7_NEXT(gear0_night));
ELEMENT_ICON gear0_night = k7::icon(g, art(3), GEAR_LEVER, k7::NIGHT_HIDDEN, K7_NEXT(gear1_day));
ELEMENT_ICON gear1_day = k7::icon(g, art(4), GEAR_LEVER, k7::DAY_HIDDEN, K7_NEXT(gear1_night));
ELEMENT_ICON gear1_night = k7::icon(g, art(5), GEAR_LEVER, k7::NIGHT_HIDDEN, K7_NEXT(flap0_day));
ELEMENT_ICON flap0_day = k7::icon(g, art(6), FLAP_LEVER, k7::ART_DAY, K7_NEXT(flap0_night));
ELEMENT_ICON flap0_night = k7::icon(g, art(7), FLAP_LEVER, k7::NIGHT_HIDDEN, K7_NEXT(flap1_day));
ELEMENT_ICON flap1_day = k7::icon(g, art(8), FLAP_LEVER, k7::DAY_HIDDEN, K7_NEXT(flap1_night));
ELEMENT_ICON flap1_night = k7::icon(g, art(9), FLAP_LEVER, k7::NIGHT_HIDDEN, K7_NEXT(flap2_day));
ELEMENT_ICON flap2_day = k7::icon(g, art(10), FLAP_LEVER, k7::DAY_HIDDEN, K7_NEXT(flap2_night));
ELEMENT_ICON flap2_night = k7::icon(g, art(11), FLAP_LEVER, k7::NIGHT_HIDDEN, K7_NEXT(guard0_day));
ELEMENT_ICON guard0_day = k7::icon(g, art(12), FLAP_GUARD, k7::ART_DAY, K7_NEXT(guard0_night));
ELEMENT_ICON guard0_night = k7::icon(g, art(13), FLAP_GUARD, k7::NIGHT_HIDDEN, K7_NEXT(guard1_day));
ELEMENT_ICON guard1_day = k7::icon(g, art(14), FLAP_GUARD, k7::DAY_HIDDEN, K7_NEXT(guard1_night));
ELEMENT_ICON guard1_night = k7::icon(g, art(15), FLAP_GUARD, k7::NIGHT_HIDDEN, K7_END);

const k7::DayNight face_art = {&face.header, &face_night.header};
const k7::DayNight gear_art[2] = {{&gear0_day.header, &gear0_night.header},
                                  {&gear1_day.header, &gear1_night.header}};
const k7::DayNight flap_art[3] = {{&flap0_day.header, &flap0_night.header},
                                  {&flap1_day.header, &flap1_night.header},
                                  {&flap2_day.header, &flap2_night.header}};
const k7::DayNight guard_art[2] = {{&guard0_day.header, &guard0_night.header},
                                   {&guard1_day.header, &guard1_night.header}};

MODULE_VAR flap_angle_var = sim::token(hyd::TOKEN_FLAP_ANGLE);
MODULE_VAR flap_handle_var = sim::token(hyd::TOKEN_FLAP_HANDLE);

BOOL FSAPI on_gear_pull(PPIXPOINT, FLAGS32) {
  if (k7::switch_to(emerg_gear_lev, 1) && hydrau_press_red >= hyd::RED_LEVER_MIN)
    sim::key_event(hyd::KEY_GEAR_DOWN, 0);
  return FALSE_K7;
}

BOOL FSAPI on_guard(PPIXPOINT, FLAGS32) {
  emerg_flap_guard = emerg_flap_guard == 0 ? 1 : 0;
  return FALSE_K7;
}

// The flap lever leaves 0 only with its guard open; the flaps move only with red pressure.
template <int Position, u32 Key> BOOL FSAPI on_flap_lever(PPIXPOINT, FLAGS32) {
  if (emerg_flap_lev != 0 || emerg_flap_guard == 0) return FALSE_K7;
  k7::switch_to(emerg_flap_lev, Position);
  if (hydrau_press_red >= hyd::RED_LEVER_MIN) sim::key_event(Key, 0);
  return FALSE_K7;
}

BOOL FSAPI on_flap_lever_home(PPIXPOINT, FLAGS32) {
  if (emerg_flap_guard != 0)
    k7::switch_to(emerg_flap_lev, 0);
  else
    emerg_flap_guard = 1;
  return FALSE_K7;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({20, 273, 77, 91}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_gear_pull),
    k7::mouse_area({20, 103, 77, 125}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   k7::switch_area<emerg_gear_lev, 0>),
    k7::mouse_area({116, 0, 218, 68}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_guard),
    k7::mouse_area({185, 220, 218, 68}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_guard),
    k7::mouse_area({116, 88, 69, 114}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   on_flap_lever<1, hyd::KEY_FLAPS_UP>),
    k7::mouse_area({116, 302, 69, 62}, CURSOR_HAND, MOUSE_LEFTSINGLE,
                   on_flap_lever<2, hyd::KEY_FLAPS_DOWN>),
    k7::mouse_area({116, 220, 69, 68}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_flap_lever_home),
    K7_MOUSE_END,
};

// With the emergency lever at rest and either its guard open or the green circuit low, the flap
// handle follows the flaps rather than the other way round: one detent per update toward the
// detent of the actual flap angle.
void flap_handle_lock() {
  if (emerg_flap_lev != 0) return;
  if (emerg_flap_guard == 0 && hydrau_press_green >= hyd::GREEN_LOADS_ON_YELLOW) return;
  // Raw values: an angle or handle position that is not a number matches no detent.
  const u32 key = hyd::flap_lock_key(sim::read(flap_angle_var), sim::read(flap_handle_var));
  if (key != 0) sim::key_event(key, 0);
}

void update() {
  flap_handle_lock();
  k7::draw(face_art);
  k7::draw_position(gear_art, emerg_gear_lev);
  k7::draw_position(flap_art, emerg_flap_lev);
  k7::draw_position(guard_art, emerg_flap_guard);
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) update();
}

} // namespace

K7_GAUGE_HEADER(emerg_lev, face, mouse, callback);
