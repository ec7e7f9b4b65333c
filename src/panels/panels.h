// Pop-up panel windows, overview and load panels, start-up sequence: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_PANELS_STATE(X, A)                                                                      \
  X(u8, hyd_park_auto, 0, 0, 255,                                                                  \
    "parking brake: 1 set by the ground automation, 2 released by the pilot, 0 neither")

K7_STATE_DECLARE(K7_PANELS_STATE)
