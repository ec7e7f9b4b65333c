// Day and night artwork: many elements exist twice, a day copy and a night (lit) copy, and the
// panel lighting decides every update which one is drawn. `night` is the module-wide panel night
// flag as the gauge read it.
#pragma once

#include "module/gauge.h"

#include <cstddef>

namespace k7 {

// A day/night pair of one image: the copy of the current lighting is shown while `visible`, the
// other one always hidden.
template <typename Day, typename Night>
inline void show_day_night(Day& day, Night& night, bool visible, bool is_night) {
  show(day, visible && !is_night);
  show(night, visible && is_night);
}

// A switch drawn as one image per position, in a day set and a night set: exactly one image of
// all of them is shown, the one of `position` in the set of the current lighting (none when the
// position has no image).
template <typename Element, std::size_t N>
inline void show_position_day_night(Element* (&day)[N], Element* (&night)[N], std::size_t position,
                                    bool is_night) {
  for (std::size_t i = 0; i < N; ++i)
    show_day_night(*day[i], *night[i], i == position, is_night);
}

// A whole night layer (lit face and needles lying over the day ones): shown at night only.
template <std::size_t N> inline void show_night_layer(ELEMENT_HEADER* (&layer)[N], bool is_night) {
  for (ELEMENT_HEADER* e : layer)
    show(*e, is_night);
}

} // namespace k7
