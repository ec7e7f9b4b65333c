// Pressurisation, air conditioning, ice protection: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_ENVIRONMENT_STATE(X, A)                                                                 \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u8, deice_ice_warn, 0, 0, 1, "ice warning condition, read by the ice warning lamp")            \
  X(u8, warn_req_cabinxs, 0, 0, 2,                                                                 \
    "cabin excess-altitude alarm (13): 0 idle, 1 raised, 2 acknowledged")                          \
  X(u8, warn_req_airc, 0, 0, 2, "air-conditioning alarm (15): 0 idle, 1 requested, 2 accepted")    \
  /* declared for the warning lamps and the air-conditioning noise; the owner adds the logic */    \
  X(u8, airc_valve_lh_pos, 0, 0, 255, "left conditioning valve position, 255 fully open")          \
  X(u8, airc_valve_rh_pos, 0, 0, 255, "right conditioning valve position, 255 fully open")         \
  X(u8, air_mainvalve_lh_pos, 0, 0, 100, "left main (bleed) valve position, 100 fully open")       \
  X(u8, air_mainvalve_rh_pos, 0, 0, 100, "right main (bleed) valve position, 100 fully open")      \
  X(u8, air_eng_running_lh, 0, 0, 1, "engine 1 speed high enough to supply air")                   \
  X(u8, air_eng_running_rh, 0, 0, 1, "engine 2 speed high enough to supply air")                   \
  X(u8, pressu_cabin_excess, 0, 0, 1, "cabin altitude above 10500 ft with the essential bus")      \
  /* ---- air supply: engine main (bleed) valves and conditioning valves */                        \
  X(u8, air_mainvalve_lh_sw, 1, 0, 1, "left main valve switch: 1 O (open), 0 F (closed)")          \
  X(u8, air_mainvalve_rh_sw, 1, 0, 1, "right main valve switch: 1 O (open), 0 F (closed)")         \
  X(u8, air_mainvalve_lh_guard, 0, 0, 1, "guard over the left main valve switch open")             \
  X(u8, air_mainvalve_rh_guard, 0, 0, 1, "guard over the right main valve switch open")            \
  X(u8, airc_valve_lh_sw, 1, 0, 1, "left regulation switch: 1 M (on), 0 A (off)")                  \
  X(u8, airc_valve_rh_sw, 1, 0, 1, "right regulation switch: 1 M (on), 0 A (off)")                 \
  X(u8, airc_valve_lh_ovht, 0, 0, 2, "left overheat lamp: 0 off, 1 overheat (closes), 2 test")     \
  X(u8, airc_valve_rh_ovht, 0, 0, 2, "right overheat lamp: 0 off, 1 overheat (closes), 2 test")    \
  X(u8, airc_ovht_any, 0, 0, 1, "either overheat lamp lit")                                        \
  X(u8, airc_ground_seq, 0, 0, 2, "landing sequence: 1 airborne, 2 just landed, 0 rolled out")     \
  /* ---- temperature control */                                                                   \
  X(u8, aircond_sel_ckpt, 30, 0, 80, "cockpit temperature selector 0..80 (dial 0..8)")             \
  X(u8, aircond_sel_cabin, 30, 0, 80, "cabin temperature selector 0..80 (dial 0..8)")              \
  X(u8, aircond_mode_ckpt, 100, 0, 100,                                                            \
    "cockpit mode switch: 100 AUTO, 0 ARRET, 1..12 manual (springs back to ARRET)")                \
  X(u8, aircond_mode_cabin, 100, 0, 100,                                                           \
    "cabin mode switch: 100 AUTO, 0 ARRET, 1..12 manual (springs back to ARRET)")                  \
  X(u8, aircond_manual_dir, 0, 0, 5,                                                               \
    "last manual direction: cockpit 2 FROID / 3 CHAUD, cabin 4 FROID / 5 CHAUD")                   \
  X(u8, aircond_man_ckpt, 2, 0, 3, "cockpit manual memory: 2 FROID, 3 CHAUD (0 none)")             \
  X(u8, aircond_man_cabin, 4, 0, 5, "cabin manual memory: 4 FROID, 5 CHAUD (0 none)")              \
  X(f64, aircond_target_ckpt, 15, 15, 32, "cockpit target temperature, deg C")                     \
  X(f64, aircond_target_cabin, 15, 15, 32, "cabin target temperature, deg C")                      \
  X(f64, aircond_temp_ckpt, 15, -20, 70, "cockpit temperature, deg C")                             \
  X(f64, aircond_temp_cabin, 15, -20, 70, "cabin temperature, deg C")                              \
  X(f64, aircond_duct_ckpt, 15, -70, 150, "cockpit duct temperature, deg C")                       \
  X(f64, aircond_duct_cabin, 15, -70, 150, "cabin duct temperature, deg C")                        \
  X(u8, vent_indiv_sw, 0, 0, 1, "individual ventilation switch: 1 M, 0 A")                         \
  X(u8, vent_fog_sw, 0, 0, 1, "anti-fog ventilation switch: 1 M, 0 A")                             \
  /* ---- pressurisation */                                                                        \
  X(f64, pressu_cabin_alt, 0, -2000, 60000, "cabin altitude, ft")                                  \
  X(i16, pressu_cabin_rate, 0, -2000, 2000, "commanded cabin rate, ft/min")                        \
  X(i16, pressu_alt_sel, 0, -1000, 10000, "selected cabin altitude, ft, step 100")                 \
  X(i16, pressu_rate_sel, 500, 50, 2000, "selected cabin rate, ft/min, step 50")                   \
  X(f64, pressu_diff, 0, -30, 30, "cabin differential pressure, psi")                              \
  X(u16, pressu_diff_ind, 0, 0, 30000, "differential shown, psi x 1000 (0 when negative)")         \
  X(u8, pressu_valve_state, 0, 0, 4,                                                               \
    "safety valves: 0 normal, 1 over-pressure relief, 2 hold near the limit, 3 negative "          \
    "relief, 4 hold")                                                                              \
  X(u32, pressu_valve_timer, 0, 0, 4294967295.0, "tick at which the safety valves' wait began")    \
  X(u8, pressu_valve_timer_on, 0, 0, 1, "the safety valves' 36-tick wait runs")                    \
  X(u8, pressu_was_pressurised, 0, 0, 1, "the cabin has been pressurised since it equalised")      \
  X(f64, pressu_baro, 1013, 950, 1050, "cabin altimeter pressure setting, hPa, step 0.5")          \
  X(u8, pressu_xs_sw, 100, 0, 100,                                                                 \
    "excess test switch: 100 up, 0 centre, 10..1 held down (springs back to the centre)")          \
  X(u8, pressu_ground_mode, 0, 0, 2, "ground/flight indicator: 0 ground, 1 flight, 2 changing")    \
  X(u8, pressu_valve_test, 0, 0, 1, "valve test indicator: 1 while the test switch is down")       \
  X(u8, pressu_mode_target, 0, 0, 1, "ground/flight indicator: the value a change goes to")        \
  X(u32, pressu_mode_timer, 0, 0, 4294967295.0, "tick at which the ground/flight change began")    \
  X(u8, pressu_scale_lit, 0, 0, 1, "controller scale lit after a knob click")                      \
  X(u32, pressu_scale_lit_tick, 0, 0, 4294967295.0, "tick of the last controller knob click")      \
  X(u8, pressu_baro_lit, 0, 0, 1, "altimeter setting scale lit after a knob click")                \
  X(u32, pressu_baro_lit_tick, 0, 0, 4294967295.0, "tick of the last setting knob click")          \
  X(f64, pressu_scale_angle, 0, -100, 300, "controller scale turn, degrees")                       \
  /* ---- ice protection */                                                                        \
  X(u8, deice_pitot1_sw, 0, 0, 1, "probe heating switch 1 (pilot): 1 M, 0 A")                      \
  X(u8, deice_pitot2_sw, 0, 0, 1, "probe heating switch 2 (copilot): 1 M, 0 A")                    \
  X(u8, deice_probe3_sw, 0, 0, 1, "probe heating switch 3 (stall probe): 1 M, 0 A")                \
  X(u8, deice_watersep_sw, 0, 0, 1, "water-separator drain switch: 1 M, 0 A")                      \
  X(u8, deice_win_in_sw, 0, 0, 2, "inner window heat: 0 off, 1 NORMAL, 2 FORT")                    \
  X(u8, deice_win_out_sw, 0, 0, 2, "outer window heat: 0 off, 1 NORMAL, 2 FORT")                   \
  X(u8, deice_eng_fort_sw, 1, 1, 2, "engine de-icing FORT (1) / REDUIT (2)")                       \
  X(u8, deice_eng1_sw, 0, 0, 1, "engine 1 de-icing switch: 1 M, 0 A")                              \
  X(u8, deice_eng2_sw, 0, 0, 1, "engine 2 de-icing switch: 1 M, 0 A")                              \
  X(u8, deice_eng1_valve, 0, 0, 100, "engine 1 de-icing valve position")                           \
  X(u8, deice_eng2_valve, 0, 0, 100, "engine 2 de-icing valve position")                           \
  X(u8, deice_icing, 0, 0, 1, "icing conditions detected")                                         \
  X(u8, deice_icing_lamp, 0, 0, 1, "GIVRAGE lamp latched")                                         \
  X(u32, deice_icing_timer, 0, 0, 4294967295.0, "tick at which the lamp's 400-tick wait began")    \
  X(u8, deice_icing_timer_on, 0, 0, 1, "the lamp's clearing wait runs")                            \
  X(u8, deice_half1_test, 0, 0, 12, "partial-opening lamp 1 test, counts down")                    \
  X(u8, deice_half2_test, 0, 0, 12, "partial-opening lamp 2 test, counts down")                    \
  X(u8, deice_wing_sw, 1, 1, 2, "wing de-icing selector: 1 or 2")                                  \
  X(u8, deice_wing_lh_sw, 0, 0, 1, "left wing valve switch: 1 M, 0 A")                             \
  X(u8, deice_wing_rh_sw, 0, 0, 1, "right wing valve switch: 1 M, 0 A")                            \
  X(u8, deice_wing_lh_valve, 0, 0, 100, "left wing valve position")                                \
  X(u8, deice_wing_rh_valve, 0, 0, 100, "right wing valve position")                               \
  X(i8, deice_wing_ctrl_sw, 100, -12, 100,                                                         \
    "wing temperature control: 100 AUTO, 0 ARRET, 1..12 CHAUD, -1..-12 FROID (springs to 0)")      \
  X(f64, deice_wing_duct_temp, 15, -100, 200, "wing duct temperature, deg C")                      \
  X(f64, deice_wing_skin_temp, 15, -100, 100, "wing skin temperature, deg C")

K7_STATE_DECLARE(K7_ENVIRONMENT_STATE)
