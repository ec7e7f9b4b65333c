// Fuel feed and contents, throttles and cocks, engine start, engine auxiliaries: the state this
// subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, meaning) for variables; A(type, name, count, meaning) for tables.
#define K7_ENGINES_STATE(X, A)                                                                     \
  X(u8, eng1_hp_cock_open, 1, "engine 1 HP cock open (throttle out of cut-off)")                   \
  X(u8, eng2_hp_cock_open, 1, "engine 2 HP cock open")                                             \
  X(u8, eng1_lp_cock_open, 1, "engine 1 LP cock open")                                             \
  X(u8, eng2_lp_cock_open, 1, "engine 2 LP cock open")                                             \
  X(u8, eng1_starter_on, 0, "engine 1 starter running")                                            \
  X(u8, eng2_starter_on, 0, "engine 2 starter running")                                            \
  X(u8, warn_chime_id, 0, "alarm whose chime has been given and not yet cleared (0 none)")

K7_STATE_DECLARE(K7_ENGINES_STATE)
