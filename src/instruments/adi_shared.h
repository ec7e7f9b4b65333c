// What the attitude director shares with its miniature copy: the values its elements draw, with
// the same holds on the dial (written back into the state).
#pragma once

#include "autopilot/autopilot.h"
#include "instruments/instruments.h"
#include "module/gauge.h"

namespace k7::adi_draw {

constexpr double SPHERE_PITCH_LIMIT = 43.0;
// Image flags of the parts drawn lit by the host, day and night alike.
constexpr FLAGS LIT = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS;

inline FLOAT64 FSAPI sphere_pitch(ELEMENT_SPRITE*) {
  adi_pitch_ind = k7::clamp(adi_pitch_ind, -SPHERE_PITCH_LIMIT, SPHERE_PITCH_LIMIT);
  return adi_pitch_ind;
}
inline FLOAT64 FSAPI sphere_bank(ELEMENT_SPRITE*) {
  return adi_bank_ind;
}
inline FLOAT64 FSAPI left_index(ELEMENT_MOVING_IMAGE*) {
  return adi_speed_index;
}
inline FLOAT64 FSAPI pitch_bar(ELEMENT_MOVING_IMAGE*) {
  return fd_pitch_bar;
}
inline FLOAT64 FSAPI roll_bar(ELEMENT_MOVING_IMAGE*) {
  return fd_roll_bar;
}
inline FLOAT64 FSAPI left_pointer(ELEMENT_NEEDLE*) {
  adi_speed_dev = k7::clamp<i32>(adi_speed_dev, -10, 20);
  return adi_speed_dev;
}
inline FLOAT64 FSAPI no_shift(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}

inline constexpr NONLINEARITY left_pointer_table[] = {
    {{28, 280}, -10, 0}, {{20, 271}, -5, 0}, {{15, 256}, 0, 0},  {{21, 242}, 5, 0},
    {{31, 233}, 10, 0},  {{47, 231}, 15, 0}, {{60, 238}, 20, 0},
};

} // namespace k7::adi_draw
