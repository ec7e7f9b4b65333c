// Pedestal levers, gear and doors, exterior lights: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, meaning) for variables; A(type, name, count, meaning) for tables.
#define K7_GEAR_STATE(X, A)                                                                        \
  X(u8, parkb_lev_state, 0, "parking brake lever: 0 released, 1 intermediate, 2 set")

K7_STATE_DECLARE(K7_GEAR_STATE)
