// Warning lamps, alarm requests, fires, failures and easy start: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_WARNINGS_STATE(X, A)                                                                    \
  X(u8, eng1_fire_warn, 0, 0, 1, "engine 1 fire warning")                                          \
  X(u8, eng2_fire, 0, 0, 1, "engine 2 fire active")                                                \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u8, eng1_fire, 0, 0, 3, "engine 1 fire: 0 none, 1 active, 3 extinguished")                     \
  X(u8, eng1_extinct_fired, 0, 0, 1, "engine 1 extinguisher fired")                                \
  X(u8, eng2_extinct_fired, 0, 0, 1, "engine 2 extinguisher fired")                                \
  X(u8, warn_overspeed, 0, 0, 1,                                                                   \
    "overspeed: essential bus and 300 kt or more, or token 0x40 at 15600 or more")

K7_STATE_DECLARE(K7_WARNINGS_STATE)
