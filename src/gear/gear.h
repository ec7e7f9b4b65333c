// Pedestal levers, gear and doors, exterior lights: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_GEAR_STATE(X, A)                                                                        \
  X(u8, parkb_lev_state, 0, 0, 2, "parking brake lever: 0 released, 1 intermediate, 2 set")        \
  /* pedestal levers */                                                                            \
  X(u8, spdbrk_lev_state, 0, 0, 2,                                                                 \
    "air-brake lever: 0 retracted, 1 extended, 2 extended without hydraulics")                     \
  X(f64, flaps_lev_pos, 0.0, 0, 5, "flap lever position in detents")                               \
  X(u8, flaps_standby_state, 0, 0, 6, "standby-hydraulics flap state: 0, 1, 2, 3 or 6")            \
  X(u8, gear_lev_state, 0, 0, 2, "gear lever: 0 neutral, 1 down, 2 up")                            \
  X(u32, gear_pos_now, 0, 0, 4294967295, "gear position 1 truncated, this update")                 \
  X(u32, gear_pos_max, 0, 0, 4294967295,                                                           \
    "gear position 1 last recorded in an emergency extension")                                     \
  X(u8, gear_horn_cond, 0, 0, 1, "gear warning: flaps out with a gear not locked down")            \
  X(u8, gear_horn_silenced, 0, 0, 1, "gear horn silenced by the crew")                             \
  X(u8, gear_horn_test, 0, 0, 1, "gear horn test on")                                              \
  /* doors panel */                                                                                \
  X(f64, door_fwd_value, 0.0, -1e308, 1e308, "last value read from forward_door_open")             \
  X(f64, stairs_value, 0.0, -1e308, 1e308, "last value read from airport_stairs_available")        \
  X(u8, doors_test_1, 0, 0, 12, "forward door lamp test timer, updates")                           \
  X(u8, doors_test_2, 0, 0, 12, "second door lamp test timer, updates")                            \
  X(u8, doors_test_3, 0, 0, 12, "ground power lamp test timer, updates")                           \
  /* exterior lights */                                                                            \
  X(u8, lights_nac_sw, 0, 0, 1, "nacelle lights switch (1 on)")                                    \
  X(u8, lights_taxi_sw, 0, 0, 1, "taxi lights switch (1 on)")                                      \
  X(u8, lights_nav_alt_on, 0, 0, 1, "alternating navigation lights running with power")            \
  X(u8, lights_nav_alt_run, 0, 0, 1, "alternating cycle started")                                  \
  X(u8, lights_nav_alt_phase, 0, 0, 1, "alternating half-cycle flag")                              \
  X(u32, lights_nav_alt_start, 0, 0, 4294967295, "tick at which the alternating cycle started")    \
  X(i32, lights_nav_alt_t0, 0, -2147483648.0, 2147483647, "tick of the last alternating cycle")    \
  X(i8, lights_land_motor, 0, -100, 100,                                                           \
    "landing-light extension switch: -100 retracting, +100 extending, 2 toward 0 per update")      \
  X(u8, lights_land_sw, 0, 0, 1, "landing lights switch (1 on)")                                   \
  X(u8, lights_land_extended, 0, 0, 1, "landing lights extended")                                  \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u8, gear_hyd_lost, 0, 0, 1, "the gear is not being driven")                                    \
  X(u8, lights_nav_sw, 0, 0, 2, "navigation lights: 0 off, 1 steady, 2 alternating")               \
  X(u8, lights_beacon_sw, 0, 0, 1, "beacon switch (1 on)")                                         \
  X(u8, door_fwd_req, 0, 0, 1, "forward door commanded open")                                      \
  X(u8, stairs_req, 0, 0, 1, "airport stairs requested")

K7_STATE_DECLARE(K7_GEAR_STATE)
