// What the radio altimeter shares with its miniature copy: its click areas, the same handlers
// acting on the same state.
#pragma once

#include "module/panel_abi.h"

namespace k7 {

constexpr int RALT_CLICK_AREAS = 7;
// Click area i (0..6) of the radio altimeter: box, cursor, flags and handler.
MOUSERECT ralt_click_area(int i);

} // namespace k7
