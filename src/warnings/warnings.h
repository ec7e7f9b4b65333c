// Warning lamps, alarm requests, fires, failures and easy start: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_WARNINGS_STATE(X, A)                                                                    \
  X(u8, eng1_fire_warn, 0, 0, 1, "engine 1 fire warning")                                          \
  X(u8, eng2_fire, 0, 0, 1, "engine 2 fire: 0 none, 1 active")                                     \
  /* alarm requests: 0 idle, 1 requested, 2 accepted by the master warning chime */                \
  X(u8, warn_req_servo, 0, 0, 2, "servo-control alarm (2)")                                        \
  X(u8, warn_req_elec, 0, 0, 2, "electrical alarm (3)")                                            \
  X(u8, warn_req_fueltemp_l, 0, 0, 2, "fuel temperature alarm (4), left side")                     \
  X(u8, warn_req_fueltemp_r, 0, 0, 2, "fuel temperature alarm (4), right side")                    \
  X(u8, warn_req_oilpress_l, 0, 0, 2, "left oil pressure alarm (5)")                               \
  X(u8, warn_req_oilpress_r, 0, 0, 2, "right oil pressure alarm (6)")                              \
  X(u8, warn_req_redbrake, 0, 0, 2, "red brake alarm (7)")                                         \
  X(u8, warn_req_ice, 0, 0, 2, "ice alarm (8)")                                                    \
  X(u8, warn_req_hydlvl, 0, 0, 2, "hydraulic level alarm (10)")                                    \
  X(u8, warn_req_fuelpress_l, 0, 0, 2, "left fuel pressure alarm (11)")                            \
  X(u8, warn_req_fuelpress_r, 0, 0, 2, "right fuel pressure alarm (12)")                           \
  /* sides of the servo and hydraulic-level warnings: 0 quiet, 1 warning, 2 taken care of */       \
  X(u8, warn_servo_side1, 0, 0, 2,                                                                 \
    "servo alarm 1: 1 warning, 2 yellow pump 1 at 1901 psi or more")                               \
  X(u8, warn_servo_side2, 0, 0, 2,                                                                 \
    "servo alarm 2: 1 warning, 2 yellow pump 2 at 1901 psi or more")                               \
  X(u8, warn_hydlvl_green, 0, 0, 2, "green low level: 1 warning, 2 its level switch is on")        \
  X(u8, warn_hydlvl_blue, 0, 0, 2, "blue low level: 1 warning, 2 its level switch is on")          \
  X(u8, warn_stall_horn, 0, 0, 1, "the stall horn is looping")                                     \
  /* engine fires */                                                                               \
  X(u8, warn_fire_l_lit, 0, 0, 1, "left fire lamp: fire warning and essential bus")                \
  X(u8, warn_fire_r_lit, 0, 0, 1, "right fire lamp: fire and essential bus")                       \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u8, eng1_fire, 0, 0, 3, "engine 1 fire: 0 none, 1 active, 3 extinguished")                     \
  X(u8, eng1_extinct_fired, 0, 0, 1, "engine 1 extinguisher fired")                                \
  X(u8, eng2_extinct_fired, 0, 0, 1, "engine 2 extinguisher fired")                                \
  X(u8, warn_overspeed, 0, 0, 1,                                                                   \
    "overspeed: essential bus and 300 kt or more, or token 0x40 at 15600 or more")                 \
  /* the failures panel's item; declared here for the fire logic, which reads it */                \
  X(u8, fail_eng1_fire, 0, 0, 2, "engine 1 fire item: 0 off, 2 armed, 1 active")                   \
  /* the failures panel's easy-start preset; the start-up sequence switches it on */               \
  X(u8, preset_easy_start, 0, 0, 2, "easy-start preset: 0 off, 2 armed, 1 running")                \
  /* ---- the failures panel: items 0 off, 2 armed (not yet validated), 1 active */                \
  X(u8, fail_eng1, 0, 0, 2, "engine 1 failure item")                                               \
  X(u8, fail_eng2, 0, 0, 2, "engine 2 failure item")                                               \
  X(u8, fail_gen1, 0, 0, 2, "generator 1 fault item")                                              \
  X(u8, fail_gen2, 0, 0, 2, "generator 2 fault item")                                              \
  X(u8, fail_hyd_level, 0, 0, 2, "green hydraulic level item")                                     \
  X(u8, fail_hyd_leak, 0, 0, 2, "green leak item")                                                 \
  X(u8, fail_takeoff, 0, 0, 2, "take-off failure item")                                            \
  X(u8, fail_random, 0, 0, 2, "random failure item")                                               \
  X(u8, fail_reset, 0, 0, 2, "reset item: clears every item and failure once validated")           \
  X(u8, preset_cold_dark, 0, 0, 2, "cold-and-dark preset")                                         \
  X(u8, preset_3, 0, 0, 2, "preset 3: systems and engine start of easy start")                     \
  X(u8, preset_4, 0, 0, 2, "preset 4: generators on ground power")                                 \
  X(u8, preset_5, 0, 0, 2, "preset 5: red pump for the green level failure")                       \
  /* delays in minutes and minimum indicated airspeeds in knots */                                 \
  X(u8, fail_eng1_delay, 0, 0, 255, "engine 1 failure delay, minutes")                             \
  X(u8, fail_eng1_fire_delay, 0, 0, 255, "engine 1 fire delay, minutes")                           \
  X(u8, fail_eng2_delay, 0, 0, 255, "engine 2 failure delay, minutes")                             \
  X(u8, fail_gen1_delay, 0, 0, 255, "generator 1 fault delay, minutes")                            \
  X(u8, fail_gen2_delay, 0, 0, 255, "generator 2 fault delay, minutes")                            \
  X(u8, fail_hyd_level_delay, 0, 0, 255, "green level failure delay, minutes")                     \
  X(u8, fail_eng1_speed, 0, 0, 255, "engine 1 failure minimum airspeed, knots")                    \
  X(u8, fail_eng1_fire_speed, 0, 0, 255, "engine 1 fire minimum airspeed, knots")                  \
  X(u8, fail_eng2_speed, 0, 0, 255, "engine 2 failure minimum airspeed, knots")                    \
  /* validation times: whole seconds of the simulation clock when the item became active */        \
  X(u32, fail_eng1_valid, 0, 0, 4294967295.0, "engine 1 failure validated at, s")                  \
  X(u32, fail_eng1_fire_valid, 0, 0, 4294967295.0, "engine 1 fire validated at, s")                \
  X(u32, fail_eng2_valid, 0, 0, 4294967295.0, "engine 2 failure validated at, s")                  \
  X(u32, fail_gen1_valid, 0, 0, 4294967295.0, "generator 1 fault validated at, s")                 \
  X(u32, fail_gen2_valid, 0, 0, 4294967295.0, "generator 2 fault validated at, s")                 \
  X(u32, fail_hyd_level_valid, 0, 0, 4294967295.0, "green level failure validated at, s")          \
  X(u8, fail_takeoff_fired, 0, 0, 1, "the take-off failure has lit its fire since it was armed")   \
  X(u8, fail_random_count, 0, 0, 9, "random failure counter, 1..9 while the item is active")       \
  X(u32, fail_random_due, 0, 0, 4294967295.0,                                                      \
    "clock (s) of the next random pick; 0 while the item is not active")                           \
  X(u8, fail_items_set, 0, 0, 15, "items not off, as last counted")                                \
  X(u8, fail_pending, 0, 0, 1, "a change waits for validation")

K7_STATE_DECLARE(K7_WARNINGS_STATE)
