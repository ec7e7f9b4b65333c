// Small pieces the air data and standby instruments share: the simulator's tick, the push
// buttons that stay in for 36 ticks, odometer drums, lit artwork and angles kept on the dial.
#pragma once

#include "module/gauge.h"
#include "module/services.h"

#include <cmath>

namespace k7 {

// The simulator's tick count (18 per second), as a whole number of ticks; a count gone below 0
// reads as 0, so the end ticks computed from it stay valid.
inline i32 tick_now() {
  static MODULE_VAR tick = sim::token(0x1);
  const i32 now = sat_cast<i32>(sim::read_finite(tick));
  return now < 0 ? 0 : now;
}

// A push button that stays pressed in for a number of ticks: a click sets `pressed`; the next
// update starts the cycle (`busy`, releasing at `end`); a click while busy changes nothing; at
// the end tick both flags clear. Returns whether the button is in after this update; `started`
// tells the update that the cycle began.
inline bool timed_button_step(u8& pressed, u8& busy, i32& end, i32 now, i32 ticks, bool& started) {
  started = false;
  if (pressed == 1 && busy != 1) {
    end = sat_cast<i32>(static_cast<double>(now) + ticks);
    busy = 1;
    started = true;
  }
  if (busy == 1 && end > now) return true;
  pressed = 0;
  busy = 0;
  return false;
}
inline bool timed_button_step(u8& pressed, u8& busy, i32& end, i32 now, i32 ticks) {
  bool started = false;
  return timed_button_step(pressed, busy, end, now, ticks, started);
}

// Artwork drawn lit by the host (image flag 0x4000) at night instead of a night copy.
template <typename Element> inline void lit(Element& e, bool night) {
  if (night)
    e.header.image_flags |= IMAGE_USE_LUMINOUS;
  else
    e.header.image_flags &= ~IMAGE_USE_LUMINOUS;
}

// Position of an odometer drum `place` (1, 10, 100, ...) for a reading: its whole digit, turning
// toward the next one only while the part of the reading below it passes its last unit.
inline double odometer_digit(double reading, double place) {
  if (!(reading >= 0.0)) return 0.0;
  const double below = std::fmod(reading, place); // the part shown by the lower drums
  const double digit = std::fmod(std::floor(reading / place), 10.0);
  if (place <= 1.0) return std::fmod(reading, 10.0);
  const double roll = below > place - 1.0 ? below - (place - 1.0) : 0.0;
  return digit + roll;
}

// An angle brought into 0..360 (360 itself stays); NaN reads as 0.
inline double compass_degrees(double angle) {
  if (!std::isfinite(angle)) return 0.0;
  if (angle >= 0.0 && angle <= 360.0) return angle;
  const double a = std::fmod(angle, 360.0);
  return a < 0.0 ? a + 360.0 : a;
}

// The image angle of a heading-type knob, turned by -5/+5 per degree step or -50/+50 per ten,
// round its 0..360 dial the way the HSI knobs turn.
inline u16 knob_image_step(u16 angle, i32 step) {
  switch (step) {
  case 1: return angle >= 355 ? 0 : static_cast<u16>(angle + 5);
  case -1: return angle <= 5 ? 360 : static_cast<u16>(angle - 5);
  case 10: return angle >= 300 ? 0 : static_cast<u16>(angle + 50);
  case -10: return angle <= 50 ? 360 : static_cast<u16>(angle - 50);
  default: return angle;
  }
}

} // namespace k7
