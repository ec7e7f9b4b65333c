// Flight director, autopilot, autothrottle, landing-aid annunciators: the state this subsystem
// owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_AUTOPILOT_STATE(X, A)                                                                   \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(f64, fd_roll_bar, 6.0, -4, 14,                                                                 \
    "FD roll bar on its travel 0..12 (6 centred; 1..11 steering, stowed at 14)")                   \
  X(f64, fd_pitch_bar, 6.0, -4, 14,                                                                \
    "FD pitch bar on its travel 0..12 (6 centred; 0..11 steering, stowed at -4)")                  \
  X(u8, blink_phase, 0, 0, 1,                                                                      \
    "toggled by a click on the flashing landing-aid lamp; read by the pop-up toggles")             \
  X(u8, land_coupl_state, 0, 0, 1, "coupling alarm active")                                        \
  X(u8, land_test, 0, 0, 2, "landing-aid test: 0 none, 1 running, 2 done")                         \
  X(u8, warn_req_coupl, 0, 0, 2,                                                                   \
    "coupling alarm request (alarm 9): 0 idle, 1 requested, 2 accepted")

K7_STATE_DECLARE(K7_AUTOPILOT_STATE)
