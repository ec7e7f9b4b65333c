// The small controls and lamps around the engines: air-brake lamps ("kestovil airbrakes_ind_k7")
// and the air brakes out with high thrust lamp ("kestovil airbrakes_warn_k7"), the engine
// synchroniser switch and knob with its beat lamp ("kestovil synch_sw_k7", "kestovil
// synch_light_k7"), the JPT regulation switch ("kestovil jptreg_sw_k7"), the brake parachute
// ("kestovil parachute_k7") and the pedestal's night overlay ("kestovil pedestnight_k7").
#include "electrical/electrical.h"
#include "engines/engines.h"
#include "hydraulics/hydraulics.h"
#include "module/daynight.h"
#include "module/gauge.h"
#include "module/kit.h"
#include "module/services.h"

#include <cmath>

namespace {

template <void (*Update)()> void FSAPI on_message(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) Update();
}

MODULE_VAR airbrake_l_var = sim::token(0x146);
MODULE_VAR airbrake_r_var = sim::token(0x147);
MODULE_VAR throttle1_var = sim::token(0x22E);
MODULE_VAR throttle2_var = sim::token(0x238);
MODULE_VAR fan1_var = sim::token(0x270);
MODULE_VAR fan2_var = sim::token(0x283);
MODULE_VAR on_ground_var = sim::token(0x3C);
MODULE_VAR parking_brake_var = sim::token(0x143);
MODULE_VAR tick_var = sim::token(0x1);

// ---- air-brake lamps
// ----------------------------------------------------------------------------------

constexpr u16 AIRBRAKE_LOW_GREEN = 1000;    // retracted at or below, with green pressure
constexpr u16 AIRBRAKE_LOW_NO_GREEN = 2000; // a brake sagging without green pressure
constexpr u16 GREEN_HOLDS_AIRBRAKES = 1751; // psi
constexpr double AIRBRAKE_OUT = 1000.0;
constexpr double HIGH_THRUST = 0.95;

// Chain: 0 face, 1-2 transit lamps left and right, 3-4 extended lamps left and right.
extern ELEMENT_ICON transit_l, transit_r, extended_l, extended_r;
constexpr PGAUGEHDR ind = &gauge_airbrakes_ind;
ELEMENT_STATIC_IMAGE airbrakes_face =
    k7::static_image(ind, 12928, {0, 0}, k7::TRANSPARENT, K7_NEXT(transit_l));
ELEMENT_ICON transit_l = k7::icon(ind, 4912, {12, 17}, k7::HIDDEN, K7_NEXT(transit_r));
ELEMENT_ICON transit_r = k7::icon(ind, 4912, {48, 17}, k7::HIDDEN, K7_NEXT(extended_l));
ELEMENT_ICON extended_l = k7::icon(ind, 4896, {12, 52}, k7::HIDDEN, K7_NEXT(extended_r));
ELEMENT_ICON extended_r = k7::icon(ind, 4896, {48, 52}, k7::HIDDEN, K7_END);
MOUSERECT airbrakes_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

void airbrake_lamps(MODULE_VAR& position_var, ELEMENT_ICON& transit, ELEMENT_ICON& extended) {
  const double position = sim::read_finite(position_var);
  const bool powered = elec_bus_ess == 1;
  k7::show(transit, powered && position > airbrk_low && position < airbrk_high);
  k7::show(extended, powered && position >= airbrk_high);
}

void airbrakes_update() {
  airbrk_low =
      hydrau_press_green < GREEN_HOLDS_AIRBRAKES ? AIRBRAKE_LOW_NO_GREEN : AIRBRAKE_LOW_GREEN;
  airbrake_lamps(airbrake_l_var, transit_l, extended_l);
  airbrake_lamps(airbrake_r_var, transit_r, extended_r);
}

// The warning: air brakes out while an engine is at high thrust.
ELEMENT_STATIC_IMAGE airbrakes_warn_lamp =
    k7::static_image(&gauge_airbrakes_warn, 13056, {0, 0}, k7::HIDDEN, K7_END);
MOUSERECT airbrakes_warn_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

void airbrakes_warn_update() {
  const bool out = sim::read_finite(airbrake_l_var) > AIRBRAKE_OUT ||
                   sim::read_finite(airbrake_r_var) > AIRBRAKE_OUT;
  const bool high_thrust = sim::read_finite(throttle1_var) > HIGH_THRUST ||
                           sim::read_finite(throttle2_var) > HIGH_THRUST;
  k7::show(airbrakes_warn_lamp, elec_bus_ess == 1 && out && high_thrust);
}

// ---- synchroniser switch
// ------------------------------------------------------------------------------

// Chain: 0 face, 1-2 off image day and night, 3-4 on image day and night.
extern ELEMENT_ICON synch_off_day, synch_off_night, synch_on_day, synch_on_night;
constexpr PGAUGEHDR sw = &gauge_synch_sw;
ELEMENT_STATIC_IMAGE synch_sw_face =
    k7::static_image(sw, 13568, {0, 0}, k7::TRANSPARENT, K7_NEXT(synch_off_day));
ELEMENT_ICON synch_off_day = k7::icon(sw, 13584, {10, 6}, k7::ART_DAY, K7_NEXT(synch_off_night));
ELEMENT_ICON synch_off_night =
    k7::icon(sw, 13616, {10, 6}, k7::NIGHT_HIDDEN, K7_NEXT(synch_on_day));
ELEMENT_ICON synch_on_day = k7::icon(sw, 13600, {27, 6}, k7::DAY_HIDDEN, K7_NEXT(synch_on_night));
ELEMENT_ICON synch_on_night = k7::icon(sw, 13632, {27, 6}, k7::NIGHT_HIDDEN, K7_END);
const k7::DayNight synch_sw_art[2] = {{&synch_off_day.header, &synch_off_night.header},
                                      {&synch_on_day.header, &synch_on_night.header}};

MOUSERECT synch_sw_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({29, 0, 29, 25}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, k7::switch_area<synch_on, 1>),
    k7::mouse_area({0, 0, 29, 25}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<synch_on, 0>),
    K7_MOUSE_END,
};

void synch_sw_update() {
  k7::draw_position(synch_sw_art, synch_on);
}

// ---- synchroniser knob and beat lamp
// ------------------------------------------------------------------

constexpr u8 SYNCH_CENTRE = 90;
constexpr double SYNCH_SAME_SPEED = 0.1; // percent of fan speed
constexpr i32 SYNCH_SLOWEST = 24;        // half-period at 0 %, ticks, less 1 tick per percent
constexpr i32 SYNCH_FASTEST = 4;         // from 21 % apart
constexpr i32 SYNCH_FASTEST_FROM = 21;

FLOAT64 FSAPI knob_angle(ELEMENT_NEEDLE*) {
  return synch_sel;
}

// Chain: 0 face, 1 beat lamp, 2-3 knob pointer day and night.
extern ELEMENT_ICON beat_lamp;
extern ELEMENT_NEEDLE knob_day, knob_night;
constexpr PGAUGEHDR knob = &gauge_synch_light;
constexpr PIXPOINT KNOB_PIVOT = {39, 6};
constexpr PIXPOINT KNOB_OFFSET = {4, 15};
ELEMENT_STATIC_IMAGE synch_light_face =
    k7::static_image(knob, 13392, {0, 0}, k7::TRANSPARENT, K7_NEXT(beat_lamp));
ELEMENT_ICON beat_lamp =
    k7::icon(knob, 13440, {19, 4}, IMAGE_USE_LUMINOUS | k7::HIDDEN, K7_NEXT(knob_day));
ELEMENT_NEEDLE knob_day = k7::needle_degrees(knob, 13408, KNOB_PIVOT, KNOB_OFFSET, k7::NEEDLE_DAY,
                                             knob_angle, 0, K7_NEXT(knob_night));
ELEMENT_NEEDLE knob_night = k7::needle_degrees(
    knob, 13424, KNOB_PIVOT, KNOB_OFFSET, k7::NEEDLE_NIGHT | IMAGE_HIDDEN, knob_angle, 0, K7_END);
const k7::DayNight knob_art = {&knob_day.header, &knob_night.header};

template <u8 Position> BOOL FSAPI on_knob(PPIXPOINT, FLAGS32) {
  synch_sel = Position;
  return FALSE_K7;
}
MOUSERECT synch_light_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({2, 0, 25, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_knob<150>),
    k7::mouse_area({27, 0, 25, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_knob<SYNCH_CENTRE>),
    k7::mouse_area({52, 0, 25, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_knob<20>),
    K7_MOUSE_END,
};

// The beat lamp blinks at the beat of the two fans: lit for a half-period, dark for the next, the
// half-period shortening as the speeds part. Equal speeds stop it where it stands.
void beat_lamp_update() {
  if (elec_bus_ess != 1 || synch_sel == SYNCH_CENTRE || synch_on != 1) {
    synch_lamp_lit = 0;
    synch_phase = synch_phase2 = 0;
    return;
  }
  const double apart = std::fabs(sim::read_finite(fan1_var) - sim::read_finite(fan2_var));
  synch_diff = apart > SYNCH_SAME_SPEED ? k7::sat_cast<i32>(apart) : 0;
  synch_period =
      static_cast<u8>(synch_diff < SYNCH_FASTEST_FROM ? SYNCH_SLOWEST - synch_diff : SYNCH_FASTEST);
  if (synch_diff == 0) {
    synch_phase = synch_phase2 = 0;
    return;
  }
  const i64 now = static_cast<i64>(k7::sat_cast<u32>(sim::read(tick_var)));
  const i64 period = synch_period;
  // A first beat, or a tick count that went back: start lit from now.
  if (synch_phase2 == 0 || now < synch_t0) {
    synch_lamp_lit = 1;
    synch_t0 = static_cast<i32>(now);
    synch_phase = 0;
    synch_phase2 = 1;
  } else if (synch_phase == 0 && now >= synch_t0 + period) {
    synch_lamp_lit = 0;
    synch_phase = 1;
  } else if (synch_phase == 1 && now >= synch_t0 + 2 * period) {
    synch_lamp_lit = 1;
    synch_t0 = static_cast<i32>(now);
    synch_phase = 0;
  }
}

void synch_light_update() {
  beat_lamp_update();
  k7::show(beat_lamp, synch_lamp_lit != 0);
  k7::draw(knob_art);
}

// ---- JPT regulation switch
// ----------------------------------------------------------------------------

// Chain: 0 face, 1-2 up image day and night, 3-4 down image day and night.
extern ELEMENT_ICON jpt_up_day, jpt_up_night, jpt_down_day, jpt_down_night;
constexpr PGAUGEHDR jpt = &gauge_jptreg_sw;
ELEMENT_STATIC_IMAGE jpt_face =
    k7::static_image(jpt, 13648, {0, 0}, k7::TRANSPARENT, K7_NEXT(jpt_up_day));
ELEMENT_ICON jpt_up_day = k7::icon(jpt, 13680, {10, 10}, k7::ART_DAY, K7_NEXT(jpt_up_night));
ELEMENT_ICON jpt_up_night = k7::icon(jpt, 13824, {10, 10}, k7::NIGHT_HIDDEN, K7_NEXT(jpt_down_day));
ELEMENT_ICON jpt_down_day = k7::icon(jpt, 13664, {10, 29}, k7::DAY_HIDDEN, K7_NEXT(jpt_down_night));
ELEMENT_ICON jpt_down_night = k7::icon(jpt, 13696, {10, 29}, k7::NIGHT_HIDDEN, K7_END);
// Indexed by the switch: 0 down, 1 up.
const k7::DayNight jpt_art[2] = {{&jpt_down_day.header, &jpt_down_night.header},
                                 {&jpt_up_day.header, &jpt_up_night.header}};

MOUSERECT jpt_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 32, 30}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, k7::switch_area<jptreg_sw, 1>),
    k7::mouse_area({0, 30, 32, 30}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE,
                   k7::switch_area<jptreg_sw, 0>),
    K7_MOUSE_END,
};

void jpt_update() {
  k7::draw_position(jpt_art, jptreg_sw);
}

// ---- brake parachute
// ----------------------------------------------------------------------------------

// Chain: 0 the stowed handle by day (the face), 1 deployed by day, 2-3 stowed and deployed by
// night; exactly one shows.
extern ELEMENT_ICON chute_deployed_day, chute_stowed_night, chute_deployed_night;
constexpr PGAUGEHDR chute = &gauge_parachute;
ELEMENT_STATIC_IMAGE chute_stowed_day =
    k7::static_image(chute, 13184, {0, 0}, k7::ART_DAY, K7_NEXT(chute_deployed_day));
ELEMENT_ICON chute_deployed_day =
    k7::icon(chute, 13360, {0, 0}, k7::DAY_HIDDEN, K7_NEXT(chute_stowed_night));
ELEMENT_ICON chute_stowed_night =
    k7::icon(chute, 13312, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(chute_deployed_night));
ELEMENT_ICON chute_deployed_night = k7::icon(chute, 13376, {0, 0}, k7::NIGHT_HIDDEN, K7_END);
const k7::DayNight chute_art[2] = {{&chute_stowed_day.header, &chute_stowed_night.header},
                                   {&chute_deployed_day.header, &chute_deployed_night.header}};

// Deployed only on the ground with the parking brake off; stowed anywhere.
BOOL FSAPI on_chute(PPIXPOINT, FLAGS32) {
  if (chute_deployed == 0) {
    if (sim::read(on_ground_var) != 1.0 || sim::read(parking_brake_var) != 0.0) return FALSE_K7;
    chute_deployed = 1;
    sim::named_set("Chute_deploy", 1.0);
  } else {
    chute_deployed = 0;
    sim::named_set("Chute_deploy", 0.0);
  }
  return FALSE_K7;
}
MOUSERECT chute_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 52, 239}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_chute),
    K7_MOUSE_END,
};

void chute_update() {
  k7::draw_position(chute_art, chute_deployed);
}

// ---- pedestal night overlay
// ---------------------------------------------------------------------------

ELEMENT_STATIC_IMAGE pedestal_night =
    k7::static_image(&gauge_pedestnight, 16400, {0, 0}, k7::NIGHT_HIDDEN, K7_END);
MOUSERECT pedestal_mouse[] = {k7::mouse_parent(), K7_MOUSE_END};

void pedestal_update() {
  k7::show(pedestal_night, k7::panel_night());
}

} // namespace

K7_GAUGE_HEADER(airbrakes_ind, airbrakes_face, airbrakes_mouse, on_message<airbrakes_update>);
K7_GAUGE_HEADER(airbrakes_warn, airbrakes_warn_lamp, airbrakes_warn_mouse,
                on_message<airbrakes_warn_update>);
K7_GAUGE_HEADER(synch_sw, synch_sw_face, synch_sw_mouse, on_message<synch_sw_update>);
K7_GAUGE_HEADER(synch_light, synch_light_face, synch_light_mouse, on_message<synch_light_update>);
K7_GAUGE_HEADER(jptreg_sw, jpt_face, jpt_mouse, on_message<jpt_update>);
K7_GAUGE_HEADER(parachute, chute_stowed_day, chute_mouse, on_message<chute_update>);
K7_GAUGE_HEADER(pedestnight, pedestal_night, pedestal_mouse, on_message<pedestal_update>);
