// Flight director, autopilot, autothrottle, landing-aid annunciators: the state this subsystem
// owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_AUTOPILOT_STATE(X, A)                                                                   \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(f64, fd_roll_bar, 6.0, -4, 14,                                                                 \
    "FD roll bar on its travel 0..12 (6 centred; 1..11 steering, stowed at 14)")                   \
  X(f64, fd_pitch_bar, 6.0, -4, 14,                                                                \
    "FD pitch bar on its travel 0..12 (6 centred; 0..11 steering, stowed at -4)")                  \
  X(u8, blink_phase, 0, 0, 1,                                                                      \
    "toggled by a click on the flashing landing-aid lamp; read by the pop-up toggles")             \
  X(u8, land_coupl_state, 0, 0, 1, "coupling alarm active")                                        \
  X(u8, land_test, 0, 0, 2, "landing-aid test: 0 none, 1 running, 2 done")                         \
  X(u8, warn_req_coupl, 0, 0, 2,                                                                   \
    "coupling alarm request (alarm 9): 0 idle, 1 requested, 2 accepted")                           \
  /* ---- flight director mode selector */                                                         \
  X(u8, fd_mode_sel, 3, 1, 6,                                                                      \
    "FD drum: 1 GO AROUND, 2 ALT HOLD, 3 ILS-VOR, 4 APPROACH, 5 BLUE LEFT, 6 BLUE RIGHT")          \
  X(u8, fd_mode_sub, 0, 0, 2, "lever remembered in ALT HOLD: 0 centre, 1 BLUE RIGHT, 2 BLUE LEFT") \
  X(u8, fd_mode_push, 0, 0, 1, "FD HEADING push-button latched")                                   \
  X(f64, fd_knob_value, 0.0, -23, 23, "FD pitch reference knobs, degrees nose-up")                 \
  X(u8, fd_knob_anim, 0, 0, 1, "toggles on every knob click: which knob images show")              \
  /* ---- flight director computer */                                                              \
  X(f64, fd_pitch_cmd, 6.0, -100000, 100000, "pitch command; bar target (command + 120) / 20")     \
  X(f64, fd_hdg_roll_cmd, 6.0, -1000, 1000, "heading-select roll command")                         \
  X(f64, fd_nav_roll_cmd, 6.0, -1000, 1000, "radio-steering roll command")                         \
  X(f64, fd_hdg_err, 6.0, -180, 180, "selected heading minus heading, degrees")                    \
  X(f64, fd_nav_err, 6.0, -180, 180, "FD heading command minus heading, degrees")                  \
  X(i32, fd_hdg_step, 0, -25, 25, "bank step from the heading-select error")                       \
  X(i32, fd_nav_step, 0, -25, 25, "bank step from the radio-steering error")                       \
  X(f64, fd_drift, 0.0, 0, 180, "drift angle, degrees")                                            \
  X(f64, fd_course_corr, 0.0, -1200, 1200, "selected course corrected for drift, degrees")         \
  A(f64, fd_zone, 6, 0, 1000000, "capture zone z1 and its sub-thresholds z2..z6")                  \
  X(i32, fd_intercept, 0, 0, 20, "intercept angle, degrees")                                       \
  X(u8, fd_band_latch_in, 0, 0, 3, "hysteresis of the innermost deviation band")                   \
  X(u8, fd_band_latch_mid, 0, 0, 3, "hysteresis of the middle inner deviation band")               \
  X(i32, fd_heading_cmd, 0, -1200, 1200, "heading the FD steers to in radio modes, degrees")       \
  X(u8, fd_nav_steer, 0, 0, 1, "radio steering asked for a turn since the signal was last lost")   \
  X(u8, fd_inbound, 0, 0, 1, "heading within 90 degrees of the selected course")                   \
  X(u32, fd_inbound_lo, 0, 0, 360, "inbound window, lower bound, degrees")                         \
  X(u32, fd_inbound_hi, 0, 0, 360, "inbound window, upper bound, degrees")                         \
  X(u8, fd_loc_captured, 0, 0, 1, "localizer captured")                                            \
  X(u8, fd_gs_state, 0, 0, 2, "glide slope: 0 idle, 1 armed, 2 captured")                          \
  X(f64, fd_glide_base, -850.0, -100000, 100000, "basic glide V/S, 1/256 m/s")                     \
  X(f64, fd_vs_sample_1, -850.0, -100000, 100000, "V/S sampled above 240 m, 1/256 m/s")            \
  X(f64, fd_vs_sample_2, -850.0, -100000, 100000, "V/S sampled above 220 m, 1/256 m/s")            \
  X(f64, fd_vs_sample_3, -850.0, -100000, 100000, "V/S sampled above 202 m, 1/256 m/s")            \
  X(f64, fd_vs_sample_avg, -850.0, -100000, 100000, "mean of the three V/S samples")               \
  X(f64, fd_glide_vs_cmd, -850.0, -100000, 100000, "glide V/S command, 1/256 m/s")                 \
  X(f64, fd_gs_timer_a, 0.0, 0, 5000000000.0, "captured glide clock: tick of the next update")     \
  X(f64, fd_gs_timer_b, 0.0, 0, 5000000000.0, "captured glide clock: tick of the update after")    \
  X(u8, fd_gs_timer_a_on, 0, 0, 1, "the glide clock waits for timer A")                            \
  X(u8, fd_gs_timer_b_on, 0, 0, 1, "the glide clock waits for timer B")                            \
  X(f64, fd_glide_pitch_cmd, 0.0, -100000, 100000, "pitch command from the glide V/S error")       \
  X(f64, fd_appr_pitch_cmd, 0.0, -100000, 100000, "pitch command used in APPROACH")                \
  X(u8, fd_trk_blue_left, 0, 0, 2, "roll bar, BLUE LEFT law: 0 far, 1 tracking, 2 from elsewhere") \
  X(u8, fd_trk_hdg, 0, 0, 2, "roll bar, heading law: 0 far, 1 tracking, 2 from elsewhere")         \
  X(u8, fd_trk_blue_right, 0, 0, 2, "roll bar, radio law: 0 far, 1 tracking, 2 from elsewhere")    \
  X(u8, fd_trk_appr, 0, 0, 2, "roll bar, APPROACH law: 0 far, 1 tracking, 2 from elsewhere")       \
  X(u8, fd_trk_pitch, 0, 0, 1, "pitch bar tracking its command")                                   \
  X(u8, fd_trk_pitch_appr, 0, 0, 1, "pitch bar tracking the APPROACH command")                     \
  /* ---- autopilot READY switch and landing-phase lever */                                        \
  X(u8, ap_ready_sw, 0, 0, 1, "autopilot READY switch on")                                         \
  X(u8, ap_ready, 0, 0, 1, "autopilot ready: supplies, hydraulics and the READY switch")           \
  X(u8, ap_attphase_lever, 2, 2, 3, "landing-phase lever position")                                \
  X(u8, ap_attphase, 2, 2, 3, "landing phase: 3 automatic flare armed, 2 otherwise")               \
  /* ---- autopilot computer */                                                                    \
  X(u8, ap_pitch_hold, 0, 0, 1, "pitch-attitude hold active")                                      \
  X(u8, ap_alt_hold_a, 0, 0, 1, "altitude hold A (0.5 ft)")                                        \
  X(u8, ap_alt_hold_b, 0, 0, 1, "altitude hold B (1.5 ft)")                                        \
  X(u8, ap_alt_capture, 0, 0, 2, "altitude hold: 0 idle, 1 capturing, 2 captured")                 \
  X(i32, ap_alt_ref, 0, -2000, 100000, "altitude reference, feet")                                 \
  X(i32, ap_vs_cmd, 0, -100000, 100000, "vertical-speed reference last computed, ft/min")          \
  X(i32, ap_vs_hundreds, 0, -100000, 100000, "approach V/S reference in whole hundreds")           \
  X(i32, ap_vs_step_low, 0, -100000, 100000, "approach V/S one hundred below its hundreds")        \
  X(f64, ap_pitch_target, 0.0, -90, 90, "pitch attitude target, degrees nose-up")                  \
  X(f64, ap_pitch_err, 0.0, -180, 180, "pitch minus target, degrees")                              \
  X(u8, ap_pitch_latched, 0, 0, 1, "pitch within 0.1 degree of target: V/S frozen")                \
  X(u8, ap_hdg_mode, 0, 0, 1, "heading-select mode")                                               \
  X(u8, ap_nav_mode, 0, 0, 3, "NAV: 0 off, 1 toward the radio track, 2 GPS, 3 radio track")        \
  X(u8, ap_appr, 0, 0, 1, "approach mode")                                                         \
  X(u8, ap_nav_to_hdg, 0, 0, 1, "NAV pressed at take-off thrust: go-around pitch law")             \
  X(i32, ap_turn_sel, 0, -30, 30, "turn knob: selected bank, degrees")                             \
  X(u8, ap_turn_active, 0, 0, 1, "turn knob in use: bank hold by aileron commands")                \
  X(i32, ap_turn_bias, 0, -370, 370, "aileron bias for the selected bank")                         \
  X(i32, ap_bank_int, 0, -180, 180, "bank, whole degrees, signed")                                 \
  X(u8, ap_coord_active, 0, 0, 1, "rudder coordination armed")                                     \
  X(u8, ap_coord_state, 5, 0, 5, "rudder coordination: 0 idle, 1 coordinating, 2 washing out")     \
  X(i32, ap_rudder_cmd, 0, -12100, 12100, "rudder command of the coordination law")                \
  X(u8, ap_wheel_up_clk, 0, 0, 1, "pitch wheel clicked up: image displaced")                       \
  X(u8, ap_wheel_dn_clk, 0, 0, 1, "pitch wheel clicked down: image displaced")                     \
  X(u8, ap_wheel_timer_on, 0, 0, 1, "pitch wheel image timer running")                             \
  X(u32, ap_wheel_timer_end, 0, 0, 4294967295.0, "tick when the wheel image returns")              \
  X(u8, ap_wheel_moved, 1, 0, 1, "set by a wheel click, cleared next frame")                       \
  X(u8, ap_coupled, 0, 0, 1, "autopilot engaged by the ENGAGE button (landing-aid lamps)")         \
  X(u8, ap_appr_lamp, 0, 0, 1, "approach button lit (landing-aid lamps)")

K7_STATE_DECLARE(K7_AUTOPILOT_STATE)
