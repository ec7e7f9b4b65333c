// Pop-up panel windows, overview and load panels, start-up sequence: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_PANELS_STATE(X, A)                                                                      \
  X(u8, hyd_park_auto, 0, 0, 2,                                                                    \
    "parking brake: 1 set by the ground automation, 2 released by the pilot, 0 neither")           \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u8, hyd_flight_ctl_lost, 0, 0, 1,                                                              \
    "flight controls lost: blue and both yellow pumps and green low")                              \
  X(u8, panel_start_state, 0, 0, 11, "start-up sequence state 0..11")                              \
  X(u8, panel_geardoors_state, 0, 0, 2, "gear/doors window cycle 0..2")                            \
  /* declared by the landing-aid lamps, whose click sets it; the overview adds the logic */        \
  X(u8, panel_overview_lock, 0, 0, 10,                                                             \
    "overview: 0 normal, 1 held by the flashing lamp, 2 after a choice, 10 hover opening off")

K7_STATE_DECLARE(K7_PANELS_STATE)
