// Drawing of the hydraulic and flight-control panels: every face, needle, lamp and switch image
// exists in a day and a night copy, and the panel lighting decides which one is drawn.
#pragma once

#include "electrical/electrical.h"
#include "module/gauge.h"

#include <cstddef>

namespace hyd {

// Image flags of the day artwork, of the night artwork (drawn luminous) and of needles.
constexpr FLAGS DAY = IMAGE_USE_ERASE | IMAGE_USE_TRANSPARENCY;
constexpr FLAGS NIGHT = DAY | IMAGE_USE_LUMINOUS;
constexpr FLAGS NEEDLE_DAY = IMAGE_BILINEAR_COLOR | DAY;
constexpr FLAGS NEEDLE_NIGHT = IMAGE_BILINEAR_COLOR | NIGHT;

// One piece of artwork in its two copies.
struct Art {
  ELEMENT_HEADER* day;
  ELEMENT_HEADER* night;
};

inline bool night() {
  return elec_panel_night != 0;
}

// Draws the copy the panel lighting calls for, or neither copy.
inline void draw(const Art& art, bool visible = true) {
  k7::show(*art.day, visible && !night());
  k7::show(*art.night, visible && night());
}

// A switch or a lever: the images of its positions, the one it stands in drawn. A position
// outside the table draws none.
template <std::size_t N> inline void draw_position(const Art (&positions)[N], unsigned position) {
  for (std::size_t i = 0; i < N; ++i)
    draw(positions[i], i == position);
}

// Gauges without a callback swap their artwork through an icon of two images, day then night.
inline FLOAT64 FSAPI day_or_night_image(ELEMENT_ICON*) {
  return night() ? 1.0 : 0.0;
}

} // namespace hyd
