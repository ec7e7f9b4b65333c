// Radio control boxes and radio load shedding: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_RADIOS_STATE(X, A)                                                                      \
  X(u8, radio_delest_sel, 1, 0, 1,                                                                 \
    "radio load-shedding selector: 1 keeps radio bus 1, other values radio bus 2")                 \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u8, radio_vordme_sel1, 3, 0, 3,                                                                \
    "NAV/COM box 1 VOR DME selector: 0 OFF, 1 NAV, 2 DME, 3 O RIDE")                               \
  X(u8, radio_vordme_sel2, 3, 0, 3,                                                                \
    "NAV/COM box 2 VOR DME selector: 0 OFF, 1 NAV, 2 DME, 3 O RIDE")                               \
  X(u8, radio_adf_mode1, 1, 0, 4, "ADF box 1 mode selector: 0 OFF, 1 ADF, 2 ANT, 3 LOOP, 4 TFR")   \
  X(u8, radio_adf_mode2, 1, 0, 4, "ADF box 2 mode selector: 0 OFF, 1 ADF, 2 ANT, 3 LOOP, 4 TFR")   \
  X(u8, radio_selcal_sel, 1, 0, 2,                                                                 \
    "SELCAL selector: 1 left, 0 centre, 2 right (marker lamps dark at 0)")

K7_STATE_DECLARE(K7_RADIOS_STATE)
