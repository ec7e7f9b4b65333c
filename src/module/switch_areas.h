// Click handlers that only move a switch: one instance per switch and position, so that a gauge's
// click-area list reads as a table.
#pragma once

#include "module/gauge.h"
#include "module/kit.h"

namespace k7 {

// Moves `Switch` to `Position` with the usual click (nothing when it already stands there).
template <u8& Switch, u8 Position> BOOL FSAPI set_switch(PPIXPOINT, FLAGS32) {
  switch_to(Switch, Position);
  return FALSE_K7;
}

// Moves `Switch` to `Position` silently (nothing when it already stands there).
template <u8& Switch, u8 Position> BOOL FSAPI set_silently(PPIXPOINT, FLAGS32) {
  Switch = Position;
  return FALSE_K7;
}

} // namespace k7
