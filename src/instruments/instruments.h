// Flight and engine instruments: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_INSTRUMENTS_STATE(X, A)                                                                 \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u8, atc_window_open, 0, 0, 1, "ATC window toggled open from the compass")                      \
  X(u8, ralt_valid, 0, 0, 1, "radio altitude valid and shown")                                     \
  X(u32, hsi_heading_sel, 0, 0, 360, "selected heading, degrees (360 reached by +10 from 350)")    \
  X(u8, hsi_nav1_loc, 0, 0, 1, "the tuned NAV 1 station is a localizer (station code bit 0x80)")   \
  X(u8, hsi_nav1_gs_avail, 0, 0, 1,                                                                \
    "the tuned NAV 1 station has a glide slope (station code bit 0x40)")                           \
  X(f64, vsi_ind, 0.0, -20000, 20000, "vertical speed shown, ft/min")                              \
  /* ---- the attitude director's flags, written by it and by the flight director */               \
  X(u8, adi_flag_fd_shown, 0, 0, 1, "flight director flag visible")                                \
  X(u8, adi_flag_att_shown, 0, 0, 1, "attitude flag visible")

K7_STATE_DECLARE(K7_INSTRUMENTS_STATE)
