// Warning lamps, alarm requests, fires, failures and easy start: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_WARNINGS_STATE(X, A)                                                                    \
  X(u8, eng1_fire_warn, 0, 0, 255, "engine 1 fire warning")                                        \
  X(u8, eng2_fire, 0, 0, 255, "engine 2 fire active")

K7_STATE_DECLARE(K7_WARNINGS_STATE)
