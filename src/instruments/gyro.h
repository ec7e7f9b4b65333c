// What the gyro instruments share: the pitch display of a gyro that topples and erects again, and
// the heading-type knob that steps a selection round the compass.
#pragma once

#include "module/types.h"

namespace k7 {

// One update of a gyro-driven pitch display. Unpowered, the gyro topples: the display sinks to 0
// at 1 degree per update and `erecting` is set. Powered again, it turns back toward the true
// pitch at 1 degree per update and snaps when within 2 degrees, clearing `erecting`. While the
// true pitch stays within 2.5 degrees of level an erecting display is not snapped (the toppled
// gyro shows near 0 until the aircraft pitches away), but a display left more than 2 degrees off
// by a short topple still turns toward the pitch, so it never shows a false attitude for good.
inline double gyro_pitch_step(double shown, double pitch, bool powered, u8& erecting) {
  if (!powered) {
    erecting = 1;
    if (shown > 2) return shown - 1;
    if (shown < -2) return shown + 1;
    return 0.0;
  }
  if (!erecting) return pitch;
  if (pitch > 2.5) {
    if (shown < pitch - 2) return shown + 1;
  } else if (pitch < -2.5) {
    if (shown > pitch + 2) return shown - 1;
  } else {
    if (shown > pitch + 2) return shown - 1;
    if (shown < pitch - 2) return shown + 1;
    return shown;
  }
  erecting = 0;
  return pitch;
}

// A heading selection stepped by a knob click of -10, -1, +1 or +10 degrees, kept on the dial:
// +1 from 359 or more gives 0, -1 from 0 gives 359; +10 from above 350 and -10 from below 10 go
// round north (360 itself is a valid selection, reached by +10 from 350).
inline i32 heading_knob_step(i32 selected, i32 step) {
  switch (step) {
  case 1: return selected >= 359 ? 0 : selected + 1;
  case -1: return selected <= 0 ? 359 : selected - 1;
  case 10: return selected > 350 ? selected - 350 : selected + 10;
  case -10: return selected < 10 ? 350 + selected : selected - 10;
  default: return selected;
  }
}

} // namespace k7
