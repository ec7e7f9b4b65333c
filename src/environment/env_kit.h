// What the air-conditioning, pressurisation and ice-protection gauges share: the valve step, the
// slew of a temperature toward its target, waits measured in simulator ticks, the outside air and
// the condition that a side's air line delivers.
#pragma once

#include "environment/environment.h"
#include "module/types.h"

namespace env {

// Moves a valve by `step` (negative to close) and stops it at its ends, 0 and `fully_open`, from
// whatever position it stands in.
inline void step_valve(u8& position, int step, int fully_open) {
  position = static_cast<u8>(k7::clamp(position + step, 0, fully_open));
}

// Moves a value `step` toward a target, setting it to the target once within `snap` of it.
inline void slew(f64& value, double target, double step, double snap) {
  if (value < target - snap)
    value += step;
  else if (value > target + snap)
    value -= step;
  else
    value = target;
}

// A wait begun at tick `start` is over once `length` ticks have gone by, or at once when the
// simulator's tick count has been set back below its start.
inline bool wait_over(u32 start, u32 now, u32 length) {
  return now < start || now - start >= length;
}

// The simulator's tick count (token 0x1).
u32 tick_now();
// Outside air in degrees Celsius: token 0x155, and token 0x15e read x 256 (its unit is 1/256
// degree). Both held within a physical range so that a wild value cannot carry a temperature away.
double outside_air();
double outside_temp_256();
bool on_ground();
bool exit_open();
double throttle(int side); // 0 left, 1 right
double aircraft_altitude();
double airspeed();

// A side's air line delivers: conditioning valve fully open, main valve fully open, engine running.
inline bool line_delivers_lh() {
  return airc_valve_lh_pos == 255 && air_mainvalve_lh_pos == 100 && air_eng_running_lh != 0;
}
inline bool line_delivers_rh() {
  return airc_valve_rh_pos == 255 && air_mainvalve_rh_pos == 100 && air_eng_running_rh != 0;
}
inline bool cabin_fed() {
  return line_delivers_lh() || line_delivers_rh();
}

} // namespace env

#include "module/gauge.h"
#include "module/kit.h"
#include "module/runs.h"

namespace env {

// Switch images of the environment panels: a two-position switch shows 22384 when up (off, A, F)
// and 22336 when down (on, M, O); three-position switches add 22320 for the centre.
constexpr ID SWITCH_UP = 22384, SWITCH_DOWN = 22336, SWITCH_CENTRE = 22320;
// Lamps.
constexpr ID LAMP_AMBER = 368, LAMP_GREEN = 384, LAMP_RED = 512;
// The manual positions of the spring-loaded temperature switches.
constexpr ID SWITCH_FROID = 25168, SWITCH_CHAUD = 25184;

// A lit placard: one image, no logic.
template <GAUGEHDR& Gauge, ID Bitmap> struct Placard {
  static ELEMENT_STATIC_IMAGE image;
  static MOUSERECT mouse[3];
};
template <GAUGEHDR& Gauge, ID Bitmap>
ELEMENT_STATIC_IMAGE Placard<Gauge, Bitmap>::image =
    k7::static_image(&Gauge, Bitmap, {0, 0}, IMAGE_USE_LUMINOUS | IMAGE_USE_TRANSPARENCY, K7_END);
template <GAUGEHDR& Gauge, ID Bitmap>
MOUSERECT Placard<Gauge, Bitmap>::mouse[3] = {k7::mouse_parent(), K7_MOUSE_END};

// The up-arrow / down-arrow areas of a two-position switch whose upper box sets 0 and lower box 1.
#define ENV_SWITCH_AREAS(x, y, w, h, sw)                                                           \
  k7::mouse_area({x, y, w, h}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, k7::switch_area<sw, 0>),        \
      k7::mouse_area({x, (y) + (h), w, h}, CURSOR_UPARROW, MOUSE_LEFTSINGLE,                       \
                     k7::switch_area<sw, 1>)

} // namespace env
