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
  X(f64, fuel_qty_main_lh, 200.0, -1e9, 1e9, "left main tank contents, kg")                        \
  X(f64, fuel_qty_main_rh, 200.0, -1e9, 1e9, "right main tank contents, kg")                       \
  X(f64, fuel_qty_aux_lh, 0.0, 0, 1e9, "left auxiliary tank contents, kg")                         \
  X(f64, fuel_qty_aux_rh, 0.0, 0, 1e9, "right auxiliary tank contents, kg")                        \
  X(f64, fuel_vol_main_lh, 0.0, 0, 1e9, "left main tank volume figure")                            \
  X(f64, fuel_vol_main_rh, 0.0, 0, 1e9, "right main tank volume figure")                           \
  X(f64, fuel_vol_aux_lh, 0.0, 0, 1e9, "left auxiliary tank volume figure")                        \
  X(f64, fuel_vol_aux_rh, 0.0, 0, 1e9, "right auxiliary tank volume figure")                       \
  X(f64, fuel_qty_main_lh_ind, 0.0, 0, 7000, "left main contents as the needle shows them, kg")    \
  X(f64, fuel_qty_main_rh_ind, 0.0, 0, 7000, "right main contents as the needle shows them, kg")   \
  X(f64, fuel_qty_aux_lh_ind, 0.0, 0, 12000, "left auxiliary contents as the needle shows them")   \
  X(f64, fuel_qty_aux_rh_ind, 0.0, 0, 12000, "right auxiliary contents as the needle shows them")  \
  X(u8, fuel_qty_test_main_lh, 0, 0, 1, "test of the left main contents gauge requested")          \
  X(u8, fuel_qty_test_main_rh, 0, 0, 1, "test of the right main contents gauge requested")         \
  X(u8, fuel_qty_test_aux_lh, 0, 0, 1, "test of the left auxiliary contents gauge requested")      \
  X(u8, fuel_qty_test_aux_rh, 0, 0, 1, "test of the right auxiliary contents gauge requested")     \
  X(u8, fuel_qty_test_phase_main_lh, 0, 0, 1, "left main gauge test: 0 rising, 1 falling")         \
  X(u8, fuel_qty_test_phase_main_rh, 0, 0, 1, "right main gauge test: 0 rising, 1 falling")        \
  X(u8, fuel_qty_test_phase_aux_lh, 0, 0, 1, "left auxiliary gauge test: 0 rising, 1 falling")     \
  X(u8, fuel_qty_test_phase_aux_rh, 0, 0, 1, "right auxiliary gauge test: 0 rising, 1 falling")    \
  /* fuel used counters */                                                                         \
  X(f64, fuel_used_1, 0.0, 0, 1e12, "fuel used by engine 1, kg")                                   \
  X(f64, fuel_used_2, 0.0, 0, 1e12, "fuel used by engine 2, kg")                                   \
  X(f64, fuel_used_due_1, 0.0, -1e12, 1e12, "simulator time of the next engine 1 addition, s")     \
  X(f64, fuel_used_due_2, 0.0, -1e12, 1e12, "simulator time of the next engine 2 addition, s")     \
  X(u8, fuel_used_armed_1, 0, 0, 1, "the next engine 1 addition is armed")                         \
  X(u8, fuel_used_armed_2, 0, 0, 1, "the next engine 2 addition is armed")                         \
  X(u8, fuel_used_reset_1, 0, 0, 1, "reset of the engine 1 counter requested")                     \
  X(u8, fuel_used_reset_2, 0, 0, 1, "reset of the engine 2 counter requested")                     \
  X(u8, fuel_used_btn_1, 0, 0, 10, "engine 1 reset button shown pressed, updates")                 \
  X(u8, fuel_used_btn_2, 0, 0, 10, "engine 2 reset button shown pressed, updates")                 \
  /* fuel temperatures and heating */                                                              \
  X(f64, fuel_temp_lh_ind, -80.0, -200, 2000, "left fuel temperature as the needle shows it")      \
  X(f64, fuel_temp_rh_ind, -80.0, -200, 2000, "right fuel temperature as the needle shows it")     \
  X(u8, fuel_heat_sw_lh, 0, 0, 255, "left heat switch: 255 top, 0 middle, 1..10 bottom")           \
  X(u8, fuel_heat_sw_rh, 0, 0, 255, "right heat switch: 255 top, 0 middle, 1..10 bottom")          \
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
  X(u8, eng1_relight_timer, 0, 0, 255, "engine 1 relight button timer, in updates")                \
  X(u8, eng2_start_req, 0, 0, 1, "a start of engine 2 has been requested")                         \
  X(u8, eng2_start_run, 0, 0, 1, "the engine 2 start is timing")                                   \
  X(u32, eng2_start_end, 0, 0, 4294967295, "simulator tick at which the engine 2 start times out") \
  X(u8, eng2_relight_timer, 0, 0, 255, "engine 2 relight button timer, in updates")                \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u16, airbrk_low, 1000, 0, 65535, "air-brake lamp threshold: retracted at or below")            \
  X(u16, airbrk_high, 8000, 0, 65535, "air-brake lamp threshold: extended at or above")            \
  X(f64, fuel_temp_lh, 15.0, -200, 2000, "left fuel temperature, deg C")                           \
  X(f64, fuel_temp_rh, 15.0, -200, 2000, "right fuel temperature, deg C")                          \
  X(u8, fuel_temp_test_l1, 0, 0, 1, "fuel temperature warning test flag, left 1")                  \
  X(u8, fuel_temp_test_l2, 0, 0, 1, "fuel temperature warning test flag, left 2")                  \
  X(u8, fuel_temp_test_r1, 0, 0, 10, "fuel temperature warning test, right 1: updates left")       \
  X(u8, fuel_temp_test_r2, 0, 0, 1, "fuel temperature warning test flag, right 2")                 \
  /* engine auxiliaries, marker lamps and the master warning chime */                              \
  X(u8, synch_on, 0, 0, 1, "synchroniser switch on")                                               \
  X(u8, synch_sel, 90, 20, 150, "synchroniser knob: 150, 90 (centre) or 20; the pointer's angle")  \
  X(u8, synch_period, 0, 0, 24, "beat lamp half-period, ticks")                                    \
  X(i32, synch_diff, 0, 0, 2147483647, "truncated fan-speed difference, percent")                  \
  X(u8, synch_phase, 0, 0, 1, "beat lamp in its dark half")                                        \
  X(u8, synch_phase2, 0, 0, 1, "beat lamp has begun blinking")                                     \
  X(i32, synch_t0, 0, -2147483647 - 1, 2147483647, "tick at which the beat lamp was last lit")     \
  X(u8, synch_lamp_lit, 0, 0, 1, "beat lamp lit")                                                  \
  X(u8, jptreg_sw, 1, 0, 1, "JPT regulation switch: 1 up, 0 down")                                 \
  X(u8, chute_deployed, 0, 0, 1, "brake parachute deployed")                                       \
  X(u8, warn_req_firebell, 0, 0, 1, "continuous fire bell requested")                              \
  X(u8, warn_bell_on, 0, 0, 1, "the fire bell is looping")                                         \
  X(u8, airc_noise_state, 0, 0, 3,                                                                 \
    "air-conditioning noise: 0 quiet, 1 starting, 2 opening sound, 3 steady")                      \
  X(u32, airc_noise_due, 0, 0, 4294967295, "tick at which the steady air-conditioning noise starts")

K7_STATE_DECLARE(K7_ENGINES_STATE)
