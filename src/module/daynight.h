// Day and night artwork: faces, needles, lamps and switch images exist in a day and a night
// (lit) copy, and the panel lighting decides every update which one is drawn.
#pragma once

#include "electrical/electrical.h"
#include "module/gauge.h"

#include <cstddef>

namespace k7 {

// Image flags of day artwork, of night artwork (drawn luminous), and of their needles.
constexpr FLAGS ART_DAY = IMAGE_USE_ERASE | IMAGE_USE_TRANSPARENCY;
constexpr FLAGS ART_NIGHT = ART_DAY | IMAGE_USE_LUMINOUS;
constexpr FLAGS NEEDLE_DAY = IMAGE_BILINEAR_COLOR | ART_DAY;
constexpr FLAGS NEEDLE_NIGHT = IMAGE_BILINEAR_COLOR | ART_NIGHT;
// Backgrounds, and images that start hidden.
constexpr FLAGS TRANSPARENT = IMAGE_USE_TRANSPARENCY;
constexpr FLAGS HIDDEN = IMAGE_USE_TRANSPARENCY | IMAGE_HIDDEN;
constexpr FLAGS DAY_HIDDEN = ART_DAY | IMAGE_HIDDEN;     // day copies of other positions
constexpr FLAGS NIGHT_HIDDEN = ART_NIGHT | IMAGE_HIDDEN; // night copies start hidden

inline bool panel_night() {
  return elec_panel_night != 0;
}

// One piece of artwork in its two copies.
struct DayNight {
  ELEMENT_HEADER* day;
  ELEMENT_HEADER* night;
};

// Draws the copy the panel lighting calls for, or neither copy.
inline void draw(const DayNight& art, bool visible = true) {
  show(*art.day, visible && !panel_night());
  show(*art.night, visible && panel_night());
}

// A switch or a lever: the images of its positions, the one it stands in drawn in the copy of the
// current lighting. A position outside the table draws none.
template <std::size_t N>
inline void draw_position(const DayNight (&positions)[N], unsigned position) {
  for (std::size_t i = 0; i < N; ++i)
    draw(positions[i], i == position);
}

// Gauges without a callback swap their artwork through an icon of two images, day then night.
inline FLOAT64 FSAPI day_or_night_image(ELEMENT_ICON*) {
  return panel_night() ? 1.0 : 0.0;
}

} // namespace k7
