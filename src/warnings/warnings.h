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
  X(u8, preset_easy_start, 0, 0, 2, "easy-start preset: 0 off, 2 armed, 1 running")

K7_STATE_DECLARE(K7_WARNINGS_STATE)
