// Electrical system: battery, generators, ground power, DC and AC buses, panel lighting: the state
// this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, meaning) for variables; A(type, name, count, meaning) for tables.
#define K7_ELECTRICAL_STATE(X, A)                                                                  \
  X(u8, elec_bus_ess, 0, "essential DC bus powered")                                               \
  X(u8, elec_bus_main, 0, "main DC bus powered")                                                   \
  X(u8, elec_bus_batt, 0, "battery bus powered (any DC source)")                                   \
  X(u8, elec_bus_gen, 0, "generator DC bus: a generator on line or ground power feeding")          \
  X(u8, elec_bus_gen_a, 0,                                                                         \
    "copy of elec_bus_gen: nacelle lights, ventilation, ice and stall warnings")                   \
  X(u8, elec_bus_gen_b, 0, "copy of elec_bus_gen: beacon")                                         \
  X(u8, elec_bus_gen_c, 0,                                                                         \
    "copy of elec_bus_gen: autopilot, pitot lamps, landing and navigation lights, panel lighting") \
  X(u8, elec_bus_main_a, 0, "copy of elec_bus_main (wing de-icing)")                               \
  X(u8, elec_bus_main_b, 0, "copy of elec_bus_main (wing de-icing)")                               \
  X(u8, elec_bus_radio1, 0, "radio bus 1 powered")                                                 \
  X(u8, elec_bus_radio2, 0, "radio bus 2 powered")                                                 \
  X(u8, elec_bus_ess_hyd, 0, "copy of elec_bus_ess for the hydraulic indicators")                  \
  X(u8, elec_bus_extinct, 0,                                                                       \
    "fire-extinguisher supply: set the first time the essential bus is powered, never cleared")    \
  X(u8, elec_ac_main, 0, "main AC bus")                                                            \
  X(u8, elec_ac_main_b, 0, "copy of elec_ac_main")                                                 \
  X(u8, elec_ac_ess, 0, "essential AC bus (gyro instruments, altimeter, turn indicator)")          \
  X(u8, elec_ac_ess_b, 0, "copy of elec_ac_ess")                                                   \
  X(u8, elec_ac_instr, 0, "copy of elec_ac_main for engine and system instruments")                \
  X(u8, elec_ac_conv2, 0, "converter 2's own AC bus")                                              \
  X(u8, elec_panel_night, 0, "panel night lighting lit: gauges show their night artwork")

K7_STATE_DECLARE(K7_ELECTRICAL_STATE)
