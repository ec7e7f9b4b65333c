// The rolling drums of the radio boxes: each a moving image rolling vertically, its vertical
// callback giving the position shown (0..N), rolled once per frame in its gauge's update.
#pragma once

#include "module/drum.h"
#include "module/runs.h"

#include <cstddef>

namespace k7 {

// Drums are drawn lit.
constexpr FLAGS DRUM_FLAGS = ART_NIGHT;

inline FLOAT64 FSAPI drum_column(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}

// The position drum I of a box shows.
template <auto& Shown, std::size_t I> FLOAT64 FSAPI drum_shown(ELEMENT_MOVING_IMAGE*) {
  return Shown[I];
}

template <auto& Shown, std::size_t I>
constexpr SlideEntry drum_entry(ID bitmap, PIXPOINT at, int positions) {
  return {bitmap,
          at,
          DRUM_FLAGS,
          drum_column,
          drum_shown<Shown, I>,
          0.0,
          static_cast<FLOAT64>(positions)};
}

// One frame of every drum of a box toward its target.
template <std::size_t N>
inline void roll_drums(f64 (&shown)[N], const u8 (&target)[N], const u8 (&positions)[N]) {
  for (std::size_t i = 0; i < N; ++i)
    shown[i] = drum_roll(shown[i], target[i], positions[i]);
}

} // namespace k7
