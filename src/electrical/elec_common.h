// Image flags of the electrical panels' artwork.
#pragma once

#include "module/panel_abi.h"

namespace elec {

constexpr FLAGS ART_BACKGROUND = IMAGE_USE_TRANSPARENCY;
// Lamps, bus bars and switch positions drawn over the panel; shown and hidden every update.
constexpr FLAGS ART_IMAGE = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE;
constexpr FLAGS ART_HIDDEN = ART_IMAGE | IMAGE_HIDDEN;

} // namespace elec
