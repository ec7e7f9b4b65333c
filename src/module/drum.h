// Rolling digit drums: the drum turns toward the digit it must show a quarter of a position per
// update, and across the top/0 boundary it turns over the way a real drum does, never back
// through every digit.
#pragma once

namespace k7 {

// One update of a drum of `positions` positions (10 for digits, 4 or 2 for the last drums of the
// radio boxes): `shown` moves toward `target` and is returned.
inline double drum_roll(double shown, double target, int positions) {
  const double top = positions - 1;
  const double diff = shown - target;
  if (diff >= -0.2 - 1e-9 && diff <= 0.2 + 1e-9) return target; // 0.2 in steps of 0.25 is inexact
  if (target == 0.0 && shown > top - 0.1) { // from the top position forward to 0
    shown += 0.25;
    return shown >= positions - 0.1 ? 0.0 : shown;
  }
  if (target == top && shown < 0.2) return positions - 0.1; // from 0 back to the top position
  // a quarter toward the target, never past it (a drum left off the quarter grid lands on it)
  if (diff < 0) return diff > -0.25 ? target : shown + 0.25;
  return diff < 0.25 ? target : shown - 0.25;
}

} // namespace k7
