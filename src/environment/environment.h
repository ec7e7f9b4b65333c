// Pressurisation, air conditioning, ice protection: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_ENVIRONMENT_STATE(X, A)                                                                 \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u8, deice_ice_warn, 0, 0, 1, "ice warning condition, read by the ice warning lamp")            \
  X(u8, warn_req_cabinxs, 0, 0, 2,                                                                 \
    "cabin excess-altitude alarm (13): 0 idle, 1 raised, 2 acknowledged")                          \
  X(u8, warn_req_airc, 0, 0, 2, "air-conditioning alarm (15): 0 idle, 1 requested, 2 accepted")    \
  /* declared for the warning lamps and the air-conditioning noise; the owner adds the logic */    \
  X(u8, airc_valve_lh_pos, 0, 0, 255, "left conditioning valve position, 255 fully open")          \
  X(u8, airc_valve_rh_pos, 0, 0, 255, "right conditioning valve position, 255 fully open")         \
  X(u8, air_mainvalve_lh_pos, 0, 0, 100, "left main (bleed) valve position, 100 fully open")       \
  X(u8, air_mainvalve_rh_pos, 0, 0, 100, "right main (bleed) valve position, 100 fully open")      \
  X(u8, air_eng_running_lh, 0, 0, 1, "engine 1 speed high enough to supply air")                   \
  X(u8, air_eng_running_rh, 0, 0, 1, "engine 2 speed high enough to supply air")                   \
  X(u8, pressu_cabin_excess, 0, 0, 1, "cabin altitude above 10500 ft with the essential bus")

K7_STATE_DECLARE(K7_ENVIRONMENT_STATE)
