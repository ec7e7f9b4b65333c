// Warning lamps, alarm requests, fires, failures and easy start: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, meaning) for variables; A(type, name, count, meaning) for tables.
#define K7_WARNINGS_STATE(X, A)                                                                    \
  X(u8, eng1_fire_warn, 0, "engine 1 fire warning")                                                \
  X(u8, eng2_fire, 0, "engine 2 fire active")

K7_STATE_DECLARE(K7_WARNINGS_STATE)
