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
    "overview: 0 normal, 1 held by the flashing lamp, 2 after a choice, 10 hover opening off")     \
  /* ---- overview, load panel and start-up sequence */                                            \
  X(u8, panel_overview_hilite, 0, 0, 11, "overview area highlighted under the mouse, 0 none")      \
  X(u8, panel_load_choice, 0, 0, 15,                                                               \
    "load choice: 0 none, 1 cold and dark, 2 running; 3..15 the count-down without a load panel")  \
  X(u8, panel_load_present, 0, 0, 1, "the load panel has been served (its window exists)")         \
  X(u8, panel_load_hilite, 0, 0, 2, "load panel half under the mouse: 0 none, 1 left, 2 right")    \
  X(u8, panel_fail_held_open, 0, 0, 1,                                                             \
    "the failures window stays open after the start-up until the easy start has finished")         \
  X(u8, testgauge_flag, 0, 0, 1, "test gauge: its flag, toggled by its click")

K7_STATE_DECLARE(K7_PANELS_STATE)
