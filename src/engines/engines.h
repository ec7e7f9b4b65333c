// Fuel feed and contents, throttles and cocks, engine start, engine auxiliaries: the state this
// subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_ENGINES_STATE(X, A)                                                                     \
  X(u8, eng1_hp_cock_open, 1, 0, 1, "engine 1 HP cock open (throttle out of cut-off)")             \
  X(u8, eng2_hp_cock_open, 1, 0, 1, "engine 2 HP cock open")                                       \
  X(u8, eng1_lp_cock_open, 1, 0, 1, "engine 1 LP cock open")                                       \
  X(u8, eng2_lp_cock_open, 1, 0, 1, "engine 2 LP cock open")                                       \
  X(u8, eng1_starter_on, 0, 0, 1, "engine 1 starter running")                                      \
  X(u8, eng2_starter_on, 0, 0, 1, "engine 2 starter running")                                      \
  X(u8, warn_chime_id, 0, 0, 15, "alarm whose chime has been given and not yet cleared (0 none)")  \
  /* fuel feed, left side */                                                                       \
  X(u8, fuel_pump_lh1_sw, 2, 0, 2, "left pump 1 switch: 0 off, 1 on, 2 automatic on pressure")     \
  X(u8, fuel_pump_lh2_sw, 2, 0, 2, "left pump 2 switch: 0 off, 1 on, 2 automatic on low contents") \
  X(u8, fuel_pump_lh3_sw, 0, 0, 1, "left pump 3 switch: 0 off, 1 on")                              \
  X(u8, fuel_pump_lh4_sw, 1, 0, 1, "left pump 4 switch: 0 off, 1 on")                              \
  X(u8, fuel_pump_lh1_on, 0, 0, 1, "left pump 1 running")                                          \
  X(u8, fuel_pump_lh2_on, 0, 0, 1, "left pump 2 running")                                          \
  X(u8, fuel_pump_lh3_on, 0, 0, 1, "left pump 3 running")                                          \
  X(u8, fuel_pump_lh4_on, 1, 0, 1, "left pump 4 running")                                          \
  X(u8, fuel_lowpress_lh, 0, 0, 1, "left low-pressure light latch")                                \
  X(i16, fuel_press_lh, 200, 0, 300, "left feed pressure (nominal 250, dial 0..500)")              \
  X(i16, fuel_press_lh_ind, 0, 0, 300, "left feed pressure as the gauge shows it")                 \
  X(u8, fuel_draw_lh, 0, 0, 1, "an engine draws fuel from the left side")                          \
  X(u8, fuel_valve_lh_a, 1, 0, 1, "left valve switch A (drawn only)")                              \
  X(u8, fuel_valve_lh_b, 1, 0, 1, "left valve switch B: the left fuel valve is open")              \
  /* fuel feed, right side */                                                                      \
  X(u8, fuel_pump_rh1_sw, 2, 0, 2, "right pump 1 switch: 0 off, 1 on, 2 automatic on pressure")    \
  X(u8, fuel_pump_rh2_sw, 2, 0, 2,                                                                 \
    "right pump 2 switch: 0 off, 1 on, 2 automatic on low contents")                               \
  X(u8, fuel_pump_rh3_sw, 0, 0, 1, "right pump 3 switch: 0 off, 1 on")                             \
  X(u8, fuel_pump_rh4_sw, 1, 0, 1, "right pump 4 switch: 0 off, 1 on")                             \
  X(u8, fuel_pump_rh1_on, 0, 0, 1, "right pump 1 running")                                         \
  X(u8, fuel_pump_rh2_on, 0, 0, 1, "right pump 2 running")                                         \
  X(u8, fuel_pump_rh3_on, 0, 0, 1, "right pump 3 running")                                         \
  X(u8, fuel_pump_rh4_on, 1, 0, 1, "right pump 4 running")                                         \
  X(u8, fuel_lowpress_rh, 0, 0, 1, "right low-pressure light latch")                               \
  X(i16, fuel_press_rh, 200, 0, 300, "right feed pressure (nominal 250, dial 0..500)")             \
  X(i16, fuel_press_rh_ind, 0, 0, 300, "right feed pressure as the gauge shows it")                \
  X(u8, fuel_draw_rh, 0, 0, 1, "an engine draws fuel from the right side")                         \
  X(u8, fuel_valve_rh_a, 1, 0, 1, "right valve switch A (drawn only)")                             \
  X(u8, fuel_valve_rh_b, 1, 0, 1, "right valve switch B: the right fuel valve is open")            \
  /* fuel feed, shared */                                                                          \
  X(u8, fuel_crossfeed_open, 0, 0, 1, "cross-feed valve open")                                     \
  X(u8, fuel_sel_eng1, 0, 0, 6,                                                                    \
    "simulator fuel selector of engine 1 as read: 0, 2..5, or 6 for other")                        \
  X(u8, fuel_sel_eng2, 0, 0, 6,                                                                    \
    "simulator fuel selector of engine 2 as read: 0, 2..5, or 6 for other")                        \
  /* fuel contents (written by the contents gauges, read by the pumps) */                          \
  X(f64, fuel_qty_main_lh, 200.0, 0, 50000, "left main tank contents, kg")                         \
  X(f64, fuel_qty_main_rh, 200.0, 0, 50000, "right main tank contents, kg")                        \
  /* throttle levers */                                                                            \
  X(u32, thr_lever_lh_pos, 0, 0, 110,                                                              \
    "left lever image offset: 0 full throttle .. 100 idle, 110 cut-off")                           \
  X(u32, thr_lever_rh_pos, 0, 0, 110,                                                              \
    "right lever image offset: 0 full throttle .. 100 idle, 110 cut-off")                          \
  /* engine start and relight */                                                                   \
  X(u8, eng_start_sel, 0, 0, 2, "start selector: 0 neutral, 1 engine 1, 2 engine 2")               \
  X(u8, eng_start_master, 0, 0, 1, "start master switch on")                                       \
  X(u8, eng_start_volts, 0, 0, 130,                                                                \
    "start supply: 112 ground power, 130 battery in start position, 0")                            \
  X(u8, eng1_start_req, 0, 0, 1, "a start of engine 1 has been requested")                         \
  X(u8, eng1_start_run, 0, 0, 1, "the engine 1 start is timing")                                   \
  X(u32, eng1_start_end, 0, 0, 4294967295, "simulator tick at which the engine 1 start times out") \
  X(u8, eng1_relight_timer, 0, 0, 255, "engine 1 relight button timer, in updates")                 \
  X(u8, eng2_start_req, 0, 0, 1, "a start of engine 2 has been requested")                         \
  X(u8, eng2_start_run, 0, 0, 1, "the engine 2 start is timing")                                   \
  X(u32, eng2_start_end, 0, 0, 4294967295, "simulator tick at which the engine 2 start times out") \
  X(u8, eng2_relight_timer, 0, 0, 255, "engine 2 relight button timer, in updates")                 \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u16, airbrk_low, 1000, 0, 65535, "air-brake lamp threshold: retracted at or below")            \
  X(u16, airbrk_high, 8000, 0, 65535, "air-brake lamp threshold: extended at or above")            \
  X(f64, fuel_temp_lh, 15.0, -80, 150, "left fuel temperature, deg C")                             \
  X(f64, fuel_temp_rh, 15.0, -80, 150, "right fuel temperature, deg C")                            \
  X(u8, fuel_temp_test_l1, 0, 0, 1, "fuel temperature warning test flag, left 1")                  \
  X(u8, fuel_temp_test_l2, 0, 0, 1, "fuel temperature warning test flag, left 2")                  \
  X(u8, fuel_temp_test_r1, 0, 0, 1, "fuel temperature warning test flag, right 1")                 \
  X(u8, fuel_temp_test_r2, 0, 0, 1, "fuel temperature warning test flag, right 2")

K7_STATE_DECLARE(K7_ENGINES_STATE)
