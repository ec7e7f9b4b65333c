// Odometer drums of a counter: each drum stands on its digit and turns to the next one only
// while the count passes the last unit before its carry, the way the wheels of a mechanical
// counter are driven by the wheel below them.
#pragma once

#include <cmath>

namespace k7 {

// The position 0..10 of the drum of `weight` (1 units, 10 tens, ...) for a count `value`.
// The units drum turns continuously; a higher drum shows its digit n until the count reaches
// the last unit before the carry and then turns with it to n + 1. The top drum counts whole
// multiples of its weight and shows 0 past its last digit.
inline double odometer_drum(double value, double weight, bool top_drum) {
  if (!std::isfinite(value) || !std::isfinite(weight) || weight < 1.0) return 0.0;
  if (weight == 1.0) {
    const double y = value - 10.0 * std::trunc(value / 10.0);
    return (y > 9.999 || y < 0.0) ? 0.0 : y;
  }
  const double x = top_drum
                       ? value / weight
                       : (value - 10.0 * weight * std::trunc(value / (10.0 * weight))) / weight;
  if (x > 10.0 - 1.0 / weight || x < 0.0) return 0.0;
  const double n = std::trunc(x);
  const double f = x - n;
  const double turn_from = 1.0 - 1.0 / weight;
  return f < turn_from ? n : n + (f - turn_from) * weight;
}

// All drums of a counter, units last: drums[count - 1] is the units drum, drums[0] the top.
template <int Count> inline void odometer(double value, double (&drums)[Count]) {
  double weight = 1.0;
  for (int i = Count - 1; i >= 0; --i, weight *= 10.0)
    drums[i] = odometer_drum(value, weight, i == 0);
}

} // namespace k7
