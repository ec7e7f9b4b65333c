// Units, angles and banded tables shared by the flight director and the autopilot.
#pragma once

#include "module/services.h"
#include "module/types.h"

#include <cmath>
#include <cstddef>

namespace ap {

// The simulator's vertical speed comes in 1/256 m/s.
constexpr double FPM_PER_RAW = 1.0 / 1.30048;
constexpr double fpm_from_raw(double raw) {
  return raw * FPM_PER_RAW;
}
constexpr double FEET_PER_METRE = 3.281;

// `to - from` for two headings (any finite values), wrapped into -180..180.
inline double heading_difference(double to, double from) {
  double e = std::fmod(to - from, 360.0);
  if (e > 180.0) e -= 360.0;
  if (e < -180.0) e += 360.0;
  return e;
}

// Key-event values are whole numbers, truncated toward zero; negative ones travel as their
// two's-complement 32-bit pattern.
inline u32 key_value(double v) {
  return static_cast<u32>(k7::sat_cast<i32>(v));
}
inline void send(u32 event_id, double value = 0.0) {
  sim::key_event(event_id, key_value(value));
}

// A token read as a finite number held within the bounds the aircraft can reach, so that nothing
// computed from it leaves its variable's range.
inline double read_within(MODULE_VAR& var, double lowest, double highest) {
  return k7::clamp(sim::read_finite(var), lowest, highest);
}

// One band of a step table: errors above `above` (and, mirrored, below -above) give `step`.
struct Band {
  double above;
  i32 step;
};

// The step for an error from a table of bands in falling order, the same bands each side; 0 within
// the innermost band.
template <std::size_t N> constexpr i32 banded_step(const Band (&bands)[N], double error) {
  for (const Band& b : bands) {
    if (error > b.above) return b.step;
    if (error < -b.above) return -b.step;
  }
  return 0;
}

} // namespace ap
