// "kestovil autothr_k7": the autothrottle. A speed knob that sets the simulator's speed reference,
// a three-drum counter showing it, and an engage button with its lamp. The simulator's
// autothrottle holds the speed; near the ground this closes the throttles itself.
#include "autopilot/ap_units.h"
#include "autopilot/autopilot.h"
#include "module/daynight.h"
#include "module/runs.h"

#include <cmath>

namespace {

MODULE_VAR master_var = sim::token(0x67);
MODULE_VAR armed_var = sim::token(0x73);
MODULE_VAR speed_ref_var = sim::token(0x74);
MODULE_VAR before_arming_var = sim::token(0x7b);
MODULE_VAR airspeed_var = sim::token(0x3d);
MODULE_VAR height_var = sim::token(0x266);
MODULE_VAR on_ground_var = sim::token(0x3c);
MODULE_VAR throttle1_var = sim::token(0x80);
MODULE_VAR throttle2_var = sim::token(0xa3);

enum : u32 {
  KEY_BEFORE_ARMING = 0x10144,
  KEY_ARM = 0x1022D,
  KEY_DISARM = 0x1022E,
  KEY_SPEED_REF = 0x101F5,
  KEY_THROTTLE1 = 0x1011C,
  KEY_THROTTLE2 = 0x1011D,
};

constexpr u32 SLOWEST = 90, FASTEST = 350;
constexpr double LOWEST_RETARD_HEIGHT = 15.25; // metres; arming waits until above it
constexpr double CLIMB_THRUST = 10000;         // a throttle this far forward is not retarded
constexpr i32 RETARD_STEP = 50;                // throttle units per frame

bool master_on() {
  return sim::read_finite(master_var) == 1.0;
}
bool armed() {
  return sim::read_finite(armed_var) != 0.0;
}
double height() {
  return ap::read_within(height_var, -1000, 100000);
}

// ---- the knob and the button

// The knob's four images follow one another round as it turns either way.
constexpr u8 knob_down[4] = {3, 3, 1, 2};
constexpr u8 knob_up[4] = {1, 2, 0, 0};

template <int Step> BOOL FSAPI on_knob(PPIXPOINT, FLAGS32) {
  if (Step < 0 && at_speed_sel > SLOWEST) --at_speed_sel;
  if (Step > 0 && at_speed_sel < FASTEST) ++at_speed_sel;
  const u8 frame = at_knob_anim < 4 ? at_knob_anim : 0;
  at_knob_anim = Step < 0 ? knob_down[frame] : knob_up[frame];
  ap::send(KEY_SPEED_REF, at_speed_sel);
  return FALSE_K7;
}

BOOL FSAPI on_engage(PPIXPOINT, FLAGS32) {
  if (!master_on()) return FALSE_K7;
  if (at_active == 0 && ap_ready != 0) {
    if (sim::read_finite(before_arming_var) == 0.0) ap::send(KEY_BEFORE_ARMING, 1);
    at_active = 1;
    // Engaged below the lowest retard height, the retard law takes over at once.
    if (height() > LOWEST_RETARD_HEIGHT) ap::send(KEY_ARM);
  } else if (at_active != 0) {
    ap::send(KEY_DISARM);
    at_active = 0;
  }
  return FALSE_K7;
}

// ---- the frame

// The retard starts higher the faster the approach.
double retard_height(double knots) {
  if (knots < 120.0) return 15.25;
  if (knots < 123.0) return 21.3;
  if (knots < 125.0) return 25.9;
  return 30.5;
}

// A throttle closed by one step, never past idle: a lever already at idle or in reverse is
// brought to idle, not driven further back.
i32 retarded(double position) {
  return k7::clamp(k7::sat_cast<i32>(position) - RETARD_STEP, 0, 16383);
}

void retard() {
  const double thr1 = sim::read_finite(throttle1_var), thr2 = sim::read_finite(throttle2_var);
  const bool airborne = sim::read_finite(on_ground_var) == 0.0;
  if (at_active == 0 || ap_ready == 0 || !airborne || height() > at_retard_height ||
      thr1 >= CLIMB_THRUST || thr2 >= CLIMB_THRUST)
    return;
  if (armed()) ap::send(KEY_DISARM);
  at_thr1_cmd = retarded(thr1);
  at_thr2_cmd = retarded(thr2);
  ap::send(KEY_THROTTLE1, at_thr1_cmd);
  ap::send(KEY_THROTTLE2, at_thr2_cmd);
}

// A counter drum stands on its digit and rolls on to the next one only over the last part of its
// turn, the last knot before the carry; a 9 rolls on to the 0 above it (the strip's tenth place).
double counter_drum(double turns, double roll_from) {
  const double digit = std::trunc(turns);
  const double past = turns - digit - roll_from;
  return past <= 0.0 ? digit : digit + past / (1.0 - roll_from);
}

// The speed reference on the three drums (hundreds, tens, units); `knots` lies within 0..999.
void show_speed(double knots) {
  const double hundreds = std::trunc(knots / 100.0);
  at_drums[0] = counter_drum(knots / 100.0, 0.99);
  at_drums[1] = counter_drum(knots / 10.0 - 10.0 * hundreds, 0.9);
  at_drums[2] = knots - 10.0 * std::trunc(knots / 10.0);
}

void autothrottle_update() {
  at_retard_height = retard_height(sim::read_finite(airspeed_var));
  retard();
  const bool usable = master_on() && ap_ready != 0;
  if (!usable) at_active = 0;
  // The simulator's autothrottle stays armed only while this one is engaged.
  if (at_active == 0 && armed()) ap::send(KEY_DISARM);
  at_speed_sel = k7::clamp<u32>(at_speed_sel, SLOWEST, FASTEST);
  const double reference = sim::read_finite(speed_ref_var);
  if (reference < SLOWEST || reference > FASTEST) ap::send(KEY_SPEED_REF, at_speed_sel);
  show_speed(ap::read_within(speed_ref_var, 0, 999));
}

// ---- drawing

FLOAT64 FSAPI knob_image(ELEMENT_ICON*) {
  return at_knob_anim;
}
FLOAT64 FSAPI column(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}
template <int N> FLOAT64 FSAPI drum(ELEMENT_MOVING_IMAGE*) {
  return at_drums[N];
}

// Chain: 0 background, 1 night face, 2 knob (day), 3 knob (night), 4 knob night overlay,
// 5..7 drums (hundreds, tens, units), 8 engage lamp.
constexpr FLAGS LIT = k7::ART_NIGHT;
constexpr k7::SlideEntry drums[] = {
    {20768, {95, 13}, LIT, column, drum<0>, 0.0, 10.0},
    {20752, {106, 13}, LIT, column, drum<1>, 0.0, 10.0},
    {20736, {117, 13}, LIT, column, drum<2>, 0.0, 10.0},
};
constexpr k7::ImageEntry lamp[] = {{20784, {101, 39}, k7::HIDDEN | IMAGE_USE_LUMINOUS}};

using Lamp = k7::Run<gauge_autothr, lamp>;
using Drums = k7::Run<gauge_autothr, drums, Lamp::head>;

constexpr PIXPOINT KNOB_AT = {157, 9};
ELEMENT_ICON knob_overlay = k7::icon(&gauge_autothr, 20816, KNOB_AT, k7::NIGHT_HIDDEN, Drums::head);
ELEMENT_ICON knob_night = k7::icon(&gauge_autothr, 20832, KNOB_AT, k7::NIGHT_HIDDEN,
                                   K7_NEXT(knob_overlay), knob_image, 4);
ELEMENT_ICON knob_day =
    k7::icon(&gauge_autothr, 20800, KNOB_AT, k7::ART_DAY, K7_NEXT(knob_night), knob_image, 4);
ELEMENT_ICON night_face =
    k7::icon(&gauge_autothr, 20608, {0, 0}, k7::NIGHT_HIDDEN, K7_NEXT(knob_day));
ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_autothr, 20592, {0, 0}, k7::TRANSPARENT, K7_NEXT(night_face));

constexpr FLAGS32 KNOB_CLICK = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;
MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({157, 41, 27, 32}, CURSOR_DOWNARROW, KNOB_CLICK, on_knob<-1>),
    k7::mouse_area({157, 9, 27, 32}, CURSOR_UPARROW, KNOB_CLICK, on_knob<+1>),
    k7::mouse_area({94, 35, 32, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_engage),
    K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  autothrottle_update();
  const bool night = k7::panel_night();
  k7::show(night_face, night);
  k7::show(knob_overlay, night);
  k7::show(knob_day, !night);
  k7::show(knob_night, night);
  k7::show(Lamp::element[0], at_active != 0 && ap_ready != 0);
}

} // namespace

K7_GAUGE_HEADER(autothr, background, mouse, callback);
