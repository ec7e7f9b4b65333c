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
  X(u8, warn_req_airc, 0, 0, 2, "air-conditioning alarm (15): 0 idle, 1 requested, 2 accepted")

K7_STATE_DECLARE(K7_ENVIRONMENT_STATE)
