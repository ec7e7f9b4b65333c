// Radio control boxes and radio load shedding: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_RADIOS_STATE(X, A)                                                                      \
  X(u8, radio_delest_sel, 1, 0, 255,                                                               \
    "radio load-shedding selector: 1 keeps radio bus 1, other values radio bus 2")

K7_STATE_DECLARE(K7_RADIOS_STATE)
