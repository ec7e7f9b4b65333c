// Pedestal levers, gear and doors, exterior lights: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_GEAR_STATE(X, A)                                                                        \
  X(u8, parkb_lev_state, 0, 0, 2, "parking brake lever: 0 released, 1 intermediate, 2 set")        \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u8, gear_hyd_lost, 0, 0, 1, "the gear is not being driven")                                    \
  X(u8, lights_nav_sw, 0, 0, 2, "navigation lights: 0 off, 1 steady, 2 alternating")               \
  X(u8, lights_beacon_sw, 0, 0, 1, "beacon switch (1 on)")                                         \
  X(u8, door_fwd_req, 0, 0, 1, "forward door commanded open")                                      \
  X(u8, stairs_req, 0, 0, 1, "airport stairs requested")

K7_STATE_DECLARE(K7_GEAR_STATE)
