// Electrical system: battery, generators, ground power, DC and AC buses, panel lighting: the state
// this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_ELECTRICAL_STATE(X, A)                                                                  \
  /* ---- bus flags, read by nearly every system */                                                \
  X(u8, elec_bus_ess, 0, 0, 1, "essential DC bus powered")                                         \
  X(u8, elec_bus_main, 0, 0, 1, "main DC bus powered")                                             \
  X(u8, elec_bus_batt, 0, 0, 1, "battery bus powered (any DC source)")                             \
  X(u8, elec_bus_gen, 0, 0, 1, "generator DC bus: a generator on line or ground power feeding")    \
  X(u8, elec_bus_gen_a, 0, 0, 1,                                                                   \
    "copy of elec_bus_gen: nacelle lights, ventilation, ice and stall warnings")                   \
  X(u8, elec_bus_gen_b, 0, 0, 1, "copy of elec_bus_gen: beacon")                                   \
  X(u8, elec_bus_gen_c, 0, 0, 1,                                                                   \
    "copy of elec_bus_gen: autopilot, pitot lamps, landing and navigation lights, panel lighting") \
  X(u8, elec_bus_gen_twin, 0, 0, 1, "both generators on line, or ground power feeding")            \
  X(u8, elec_bus_gen_air, 0, 0, 1, "as elec_bus_gen_twin, but only airborne or on ground power")   \
  X(u8, elec_bus_main_a, 0, 0, 1, "copy of elec_bus_main (wing de-icing)")                         \
  X(u8, elec_bus_main_b, 0, 0, 1, "copy of elec_bus_main (wing de-icing)")                         \
  X(u8, elec_bus_radio1, 0, 0, 1, "radio bus 1 powered")                                           \
  X(u8, elec_bus_radio2, 0, 0, 1, "radio bus 2 powered")                                           \
  X(u8, elec_bus_ess_hyd, 0, 0, 1, "copy of elec_bus_ess for the hydraulic indicators")            \
  X(u8, elec_bus_extinct, 0, 0, 1,                                                                 \
    "fire-extinguisher supply: set the first time the essential bus is powered, never cleared")    \
  X(u8, elec_ac_main, 0, 0, 1, "main AC bus")                                                      \
  X(u8, elec_ac_main_b, 0, 0, 1, "copy of elec_ac_main")                                           \
  X(u8, elec_ac_ess, 0, 0, 1, "essential AC bus (gyro instruments, altimeter, turn indicator)")    \
  X(u8, elec_ac_ess_b, 0, 0, 1, "copy of elec_ac_ess")                                             \
  X(u8, elec_ac_instr, 0, 0, 1, "copy of elec_ac_main for engine and system instruments")          \
  X(u8, elec_ac_conv2, 0, 0, 1, "converter 2's own AC bus")                                        \
  X(u8, elec_ac_conv2_b, 0, 0, 1, "copy of elec_ac_conv2")                                         \
  /* ---- network controls */                                                                      \
  X(u8, elec_master_sw, 2, 0, 2,                                                                   \
    "master switch: 0 off, 1 ground-power position, 2 battery position")                           \
  X(u8, elec_batt_commut, 1, 0, 2, "battery commutator: 0 off, 1 normal, 2 standby/start")         \
  X(u8, elec_ess_feed_sw, 1, 1, 2,                                                                 \
    "essential-bus feed: 1 follows the battery bus, 2 follows the main bus")                       \
  X(u8, elec_extpwr_request, 0, 0, 1, "ground power requested (toggled by its button)")            \
  X(u8, elec_tadg_sw, 1, 0, 1, "TADG (gyro AC supply) switch on")                                  \
  X(u8, elec_tadg_guard_open, 0, 0, 1, "guard cover of the TADG switch open")                      \
  X(u8, elec_conv_sel_stby, 1, 0, 2,                                                               \
    "standby converter selector: 0 off, 1 automatic, 2 forced on")                                 \
  X(u8, elec_conv_sel_1, 1, 0, 2,                                                                  \
    "converter 1 selector: 0 off, 1 on, 2 converter 2 takes its load")                             \
  X(u8, elec_conv_sel_2, 1, 0, 1, "converter 2 selector: 0 off, 1 on")                             \
  /* ---- battery */                                                                               \
  X(u32, elec_batt_capacity, 1800, 900, 1800, "battery capacity in charge units: 1800 or 900")     \
  X(i16, elec_batt_charge, 1800, 0, 1800, "battery charge, 0..capacity")                           \
  X(i8, elec_batt_current, 0, -120, 50,                                                            \
    "battery current, A: positive charging, -10/-50/-120 discharging")                             \
  X(i8, elec_batt_amps_norm, 0, -120, 50, "normal-battery ammeter value")                          \
  X(i32, elec_batt_amps_stby, 0, -120, 50, "standby-battery ammeter value")                        \
  X(u8, elec_batt_connected, 0, 0, 1, "battery on the network (master in battery position)")       \
  X(u8, elec_batt_normal, 0, 0, 1,                                                                 \
    "battery on the normal path (commutator normal, master battery)")                              \
  X(u32, elec_batt_drain, 0, 0, 5400,                                                              \
    "charge drawn from the full battery, in thirds of a unit (the discharge follows it)")          \
  X(u8, elec_batt_dischg_run, 0, 0, 1, "discharge timing running")                                 \
  X(u32, elec_batt_dischg_clock, 0, 0, 4294967295,                                                 \
    "clock (whole seconds) the discharge was last brought to")                                     \
  X(u8, elec_batt_chg_run, 0, 0, 1, "charge timing running")                                       \
  X(u32, elec_batt_chg_clock, 0, 0, 4294967295,                                                    \
    "clock (whole seconds) noted when the charge timing started")                                  \
  X(i16, elec_batt_chg_noted, 0, 0, 1800, "charge noted when the charge timing started")           \
  /* ---- generators, ground power, meters */                                                      \
  X(u8, elec_gen1_sw, 1, 0, 1, "generator 1 switch on")                                            \
  X(u8, elec_gen2_sw, 1, 0, 1, "generator 2 switch on")                                            \
  X(u8, elec_gen1_guard_open, 0, 0, 1, "guard cover of generator switch 1 open")                   \
  X(u8, elec_gen2_guard_open, 0, 0, 1, "guard cover of generator switch 2 open")                   \
  X(u8, elec_gen1_fault, 0, 0, 2,                                                                  \
    "generator 1 fault: 0 none, 1 active, 2 acknowledged (stays off line)")                        \
  X(u8, elec_gen2_fault, 0, 0, 2,                                                                  \
    "generator 2 fault: 0 none, 1 active, 2 acknowledged (stays off line)")                        \
  X(u8, elec_gen1_lamp_test, 0, 0, 1, "generator 1 fault lamp pressed")                            \
  X(u8, elec_gen2_lamp_test, 0, 0, 1, "generator 2 fault lamp pressed")                            \
  X(u8, elec_gen1_online, 0, 0, 1, "generator 1 feeding")                                          \
  X(u8, elec_gen2_online, 0, 0, 1, "generator 2 feeding")                                          \
  X(u8, elec_gen1_amps, 0, 0, 45, "generator 1 load, A")                                           \
  X(u8, elec_gen2_amps, 0, 0, 45, "generator 2 load, A")                                           \
  X(u8, elec_extpwr_available, 0, 0, 1, "ground power can be connected")                           \
  X(u8, elec_extpwr_connected, 0, 0, 1, "ground power connected")                                  \
  X(u8, elec_extpwr_feeding, 0, 0, 1,                                                              \
    "ground power feeds the network (master in ground position)")                                  \
  X(u8, elec_sim_aligned, 0, 0, 1,                                                                 \
    "the simulator's battery, alternator, avionics and generator switches were all seen on")       \
  X(u8, elec_dc_volts, 0, 0, 28, "DC voltmeter reading: 28, 24 or 0 V")                            \
  X(u8, elec_dcvolt_sel, 0, 0, 5, "DC voltmeter selector 0..5")                                    \
  X(u8, elec_dcvolt_test, 0, 0, 12, "DC voltmeter test-button timer")                              \
  X(u8, elec_ac_volts, 0, 0, 115, "AC voltmeter reading: 115 or 0 V")                              \
  X(u8, elec_acvolt_sel, 1, 1, 2, "AC voltmeter selector 1 or 2")                                  \
  X(u8, elec_acvolt_sel2, 1, 1, 2, "second selector of the AC panel, 1 or 2 (image only)")         \
  X(u8, elec_acvolt_test, 0, 0, 12, "AC voltmeter test-button timer")                              \
  X(u8, elec_warn_elec, 0, 0, 1, "electrical warning for the warning panel")                       \
  X(i8, elec_reset_sw, 0, -12, 12,                                                                 \
    "breaker reset switch: negative held to generator 1, positive to generator 2, 0 centre")       \
  X(u8, elec_reset_lamp1_req, 0, 0, 1, "reset-panel lamp 1 pressed")                               \
  X(u8, elec_reset_lamp2_req, 0, 0, 1, "reset-panel lamp 2 pressed")                               \
  X(u8, elec_reset_lamp1_latch, 0, 0, 2, "2: reset-panel lamp 1 stays lit")                        \
  X(u8, elec_reset_lamp2_latch, 0, 0, 2, "2: reset-panel lamp 2 stays lit")                        \
  X(u8, elec_recorder_test, 0, 0, 12, "flight-recorder test-button timer")                         \
  /* ---- converters and gyro supply */                                                            \
  X(u8, elec_conv1_run, 0, 0, 1, "converter 1 running")                                            \
  X(u8, elec_conv2_run, 0, 0, 2,                                                                   \
    "converter 2: 0 off, 1 feeding its own bus, 2 feeding converter 1's load")                     \
  X(u8, elec_conv_stby_run, 0, 0, 2, "standby converter: 0 off, 1 automatic start, 2 forced")      \
  X(u8, elec_tadg_on, 1, 0, 1, "TADG running (gyro instruments supplied)")                         \
  /* ---- panel lighting */                                                                        \
  X(u8, elec_panlight_knob, 0, 0, 180, "panel-light knob angle: 0 or 180")                         \
  X(u8, elec_panlight_state, 0, 0, 5,                                                              \
    "panel lighting: 0 day, 1-2 going to day, 3 night selected, 4-5 going to night (5 lit)")       \
  X(u8, elec_panel_night, 0, 0, 1, "panel night lighting lit: gauges show their night artwork")

K7_STATE_DECLARE(K7_ELECTRICAL_STATE)
