// Small pieces the electrical panels' gauges share: image flags of their artwork, and the module
// variables through which they read the simulator.
#pragma once

#include "module/panel_abi.h"

namespace elec {

constexpr FLAGS ART_BACKGROUND = IMAGE_USE_TRANSPARENCY;
// Lamps, bus bars and switch positions drawn over the panel; shown and hidden every update.
constexpr FLAGS ART_IMAGE = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE;
constexpr FLAGS ART_HIDDEN = ART_IMAGE | IMAGE_HIDDEN;

// A module variable reading one simulator token.
constexpr MODULE_VAR token(ENUM id) {
  MODULE_VAR v{};
  v.id = id;
  return v;
}

} // namespace elec
