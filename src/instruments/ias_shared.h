// What the airspeed indicator shares with its miniature copy: its four speed-marker areas and two
// marker buttons, the same handlers acting on the same state.
#pragma once

#include "module/panel_abi.h"

namespace k7 {

constexpr int IAS_MARKER_AREAS = 6;
// Marker area i (0..5) of the airspeed indicator: box, cursor, flags and handler.
MOUSERECT ias_marker_area(int i);

} // namespace k7
