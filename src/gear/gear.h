// Pedestal levers, gear and doors, exterior lights: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_GEAR_STATE(X, A)                                                                        \
  X(u8, parkb_lev_state, 0, 0, 255, "parking brake lever: 0 released, 1 intermediate, 2 set")

K7_STATE_DECLARE(K7_GEAR_STATE)
