// Hydraulic circuits, brakes, servo controls, emergency levers, cabin call: the state this
// subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_HYDRAULICS_STATE(X, A)                                                                  \
  X(u16, hydrau_press_green, 0, 0, 3000, "green circuit pressure, psi")                            \
  X(u16, hydrau_press_blue, 0, 0, 3000, "blue circuit pressure, psi")                              \
  X(u16, hydrau_press_yellow, 0, 0, 3000, "yellow circuit pressure, psi")                          \
  X(u16, hydrau_press_red, 2500, 0, 3000, "red circuit pressure, psi")                             \
  /* engine-driven pumps of the green and blue circuits and their shut-off valves */               \
  X(u8, hydrau_valve_g1, 1, 0, 1, "shut-off valve command, green pump of engine 1: 1 open")        \
  X(u8, hydrau_valve_g2, 1, 0, 1, "shut-off valve command, green pump of engine 2: 1 open")        \
  X(u8, hydrau_valve_b1, 1, 0, 1, "shut-off valve command, blue pump of engine 1: 1 open")         \
  X(u8, hydrau_valve_b2, 1, 0, 1, "shut-off valve command, blue pump of engine 2: 1 open")         \
  X(u8, hydrau_valve_g1_pos, 30, 0, 30, "valve travel, green engine 1: 0 shut .. 30 open")         \
  X(u8, hydrau_valve_g2_pos, 30, 0, 30, "valve travel, green engine 2: 0 shut .. 30 open")         \
  X(u8, hydrau_valve_b1_pos, 30, 0, 30, "valve travel, blue engine 1: 0 shut .. 30 open")          \
  X(u8, hydrau_valve_b2_pos, 30, 0, 30, "valve travel, blue engine 2: 0 shut .. 30 open")          \
  X(u8, hydrau_valves_guard_open, 0, 0, 1, "common guard cover of the four valve switches open")   \
  X(u16, hydrau_pump_g1_press, 0, 0, 3000, "outlet pressure, green pump of engine 1, psi")         \
  X(u16, hydrau_pump_g2_press, 0, 0, 3000, "outlet pressure, green pump of engine 2, psi")         \
  X(u16, hydrau_pump_b1_press, 0, 0, 3000, "outlet pressure, blue pump of engine 1, psi")          \
  X(u16, hydrau_pump_b2_press, 0, 0, 3000, "outlet pressure, blue pump of engine 2, psi")          \
  X(u8, hydrau_pump_g1_settled, 0, 0, 1, "green pump 1 has passed its first pressure peak")        \
  X(u8, hydrau_pump_g2_settled, 0, 0, 1, "green pump 2 has passed its first pressure peak")        \
  X(u8, hydrau_pump_b1_settled, 0, 0, 1, "blue pump 1 has passed its first pressure peak")         \
  X(u8, hydrau_pump_b2_settled, 0, 0, 1, "blue pump 2 has passed its first pressure peak")         \
  X(u8, hydrau_fail_g1, 0, 0, 1, "green pump of engine 1 failed (failures panel)")                 \
  X(u8, hydrau_fail_g2, 0, 0, 1, "green pump of engine 2 failed (failures panel)")                 \
  /* reservoirs */                                                                                 \
  X(u16, hydrau_level_green, 60, 0, 100, "green reservoir level, percent")                         \
  X(u16, hydrau_level_blue, 60, 0, 100, "blue reservoir level, percent")                           \
  X(u16, hydrau_level_yellow1, 40, 0, 100, "yellow reservoir level, pump 1 (constant)")            \
  X(u16, hydrau_level_yellow2, 40, 0, 100, "yellow reservoir level, pump 2 (constant)")            \
  X(u16, hydrau_level_red, 40, 0, 100, "red reservoir level (constant)")                           \
  X(u16, hydrau_level_green_ind, 0, 0, 100,                                                        \
    "green level shown by its needle (held without power)")                                        \
  X(u16, hydrau_level_blue_ind, 0, 0, 100, "blue level shown by its needle (held without power)")  \
  X(u8, hydrau_fail_level_green, 0, 0, 1,                                                          \
    "green level failure in force (failures panel): level 15")                                     \
  X(u8, hydrau_leak_green, 0, 0, 1,                                                                \
    "green leak in force (failures panel); cleared by its level switch")                           \
  X(u8, hydrau_leak_blue, 0, 0, 1, "blue leak flag; cleared by its level switch")                  \
  X(u16, hydrau_leak_reserve, 60, 0, 60, "green fluid left while leaking, percent")                \
  X(u16, hydrau_leak_angle, 0, 0, 90, "flap angle (whole degrees) at the last leak loss")          \
  X(u8, hydrau_level_sw_green, 0, 0, 1, "green level switch: 0 off, 1 on")                         \
  X(u8, hydrau_level_sw_blue, 0, 0, 1, "blue level switch: 0 off, 1 on")                           \
  X(u8, hydrau_low_level_green, 0, 0, 1, "green low-level alarm")                                  \
  X(u8, hydrau_low_level_blue, 0, 0, 1, "blue low-level alarm")                                    \
  /* yellow electric pumps */                                                                      \
  X(u8, hydrau_yellow1_on, 0, 0, 3,                                                                \
    "yellow pump 1 command: 0 off, 3 waiting for power, 1 running")                                \
  X(u8, hydrau_yellow2_on, 0, 0, 3,                                                                \
    "yellow pump 2 command: 0 off, 3 waiting for power, 1 running")                                \
  X(u16, hydrau_yellow1_press, 0, 0, 3000, "yellow pump 1 pressure, psi")                          \
  X(u16, hydrau_yellow2_press, 0, 0, 3000, "yellow pump 2 pressure, psi")                          \
  X(u8, hydrau_yellow1_running, 0, 0, 2,                                                           \
    "yellow pump 1: 0 stopped, 1 running, 2 sagging under load")                                   \
  X(u8, hydrau_yellow2_running, 0, 0, 2,                                                           \
    "yellow pump 2: 0 stopped, 1 running, 2 sagging under load")                                   \
  X(u8, hydrau_yellow1_loaded, 0, 0, 1,                                                            \
    "yellow pump 1 has taken the green loads since it started")                                    \
  X(u8, hydrau_yellow2_loaded, 0, 0, 1,                                                            \
    "yellow pump 2 has taken the green loads since it started")                                    \
  X(u8, hydrau_yellow_sel, 1, 1, 2, "yellow panel selector 1 or 2 (image only)")                   \
  /* red standby pump */                                                                           \
  X(u8, hydrau_red_sw, 0, 0, 2, "red pump switch: 0 off, 1 on, 2 on (second position)")            \
  X(u8, hydrau_red_spool, 0, 0, 30, "red pump run-up 0..30")                                       \
  X(u8, hydrau_red_running, 0, 0, 2, "red pump: 0 stopped, 1 running, 2 shedding pressure fast")   \
  X(u8, hydrau_red_runup_done, 0, 0, 1, "red pump has reached 2471 psi since it started")          \
  X(u8, hydrau_red_brake_applied, 0, 0, 1,                                                         \
    "a brake application is in progress (left brake > 8000)")                                      \
  X(u8, hydrau_flap_moving, 0, 0, 1, "flaps moved under the emergency lever: red target 1000 psi") \
  X(u8, hydrau_flap_noted, 0, 0, 1, "a flap angle and tick are noted for the flap-movement check") \
  X(f64, hydrau_flap_note_angle, 0, -180, 180,                                                     \
    "flap angle noted for the flap-movement check, degrees")                                       \
  X(f64, hydrau_flap_note_tick, 0, 0, 4294967326,                                                  \
    "tick count after which the noted flap angle is compared")                                     \
  /* brakes */                                                                                     \
  X(u16, brake_norm_accu, 0, 0, 3000, "normal brake accumulator (green pressure), psi")            \
  X(u16, brake_norm_l, 0, 0, 3000, "normal brake pressure, left, psi")                             \
  X(u16, brake_norm_r, 0, 0, 3000, "normal brake pressure, right, psi")                            \
  X(u16, brake_stby_accu, 0, 0, 3000, "standby brake accumulator (red pressure), psi")             \
  X(u16, brake_stby_l, 0, 0, 3000, "standby brake pressure, left, psi")                            \
  X(u16, brake_stby_r, 0, 0, 3000, "standby brake pressure, right, psi")                           \
  X(u8, brake_noise_on, 0, 0, 1, "the brake noise is looping")                                     \
  /* servo panel */                                                                                \
  X(u8, hydrau_servo_mode, 0, 0, 4, "servo supply lever 0..4 (notch order 2-1-0-3-4)")             \
  X(u8, servo_sel_a, 0, 0, 2, "servo panel selector A 0/1/2 (image only)")                         \
  X(u8, servo_sel_b, 0, 0, 1, "servo panel selector B 0/1 (image only)")                           \
  X(u8, servo_test_2a, 0, 0, 1, "push switch 2a (lights its lamp)")                                \
  X(u8, servo_test_2b, 0, 0, 1, "push switch 2b: holds servo alarm 2")                             \
  X(u8, servo_test_1a, 0, 0, 1, "push switch 1a (lights its lamp)")                                \
  X(u8, servo_test_1b, 0, 0, 1, "push switch 1b: holds servo alarm 1")                             \
  X(u8, servo_alarm_1, 0, 0, 1, "servo alarm 1: green pressure low")                               \
  X(u8, servo_alarm_2, 0, 0, 1, "servo alarm 2: blue pressure low")                                \
  /* emergency levers and cabin call */                                                            \
  X(u8, emerg_gear_lev, 0, 0, 1, "emergency gear lever: 0 stowed, 1 pulled")                       \
  X(u8, emerg_flap_lev, 0, 0, 2, "emergency flap lever 0, 1 or 2")                                 \
  X(u8, emerg_flap_guard, 0, 0, 1, "guard of the emergency flap lever: 1 open")                    \
  X(u8, cabin_call_a, 0, 0, 1, "cabin call switch A 0/1")                                          \
  X(u8, cabin_call_hi, 0, 0, 2, "cabin call HI switch 0/1/2")                                      \
  X(u8, cabin_call_lo, 0, 0, 1, "cabin call LO switch 0/1")

K7_STATE_DECLARE(K7_HYDRAULICS_STATE)
