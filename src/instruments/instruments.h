// Flight and engine instruments: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_INSTRUMENTS_STATE(X, A)                                                                 \
  /* ---- attitude director */                                                                     \
  X(f64, adi_bank_ind, 0.0, -181, 181,                                                             \
    "bank shown by the sphere and roll pointer, degrees (passes 180 while turning over)")          \
  X(f64, adi_pitch_ind, 0.0, -90, 90, "pitch shown by the sphere, degrees")                        \
  X(u8, adi_bank_erecting, 0, 0, 1, "bank display toppled, catching up with the true bank")        \
  X(u8, adi_pitch_erecting, 0, 0, 1, "pitch display toppled, catching up with the true pitch")     \
  X(u8, adi_flag_fd_shown, 0, 0, 1, "flight director flag visible")                                \
  X(u8, adi_flag_att_shown, 0, 0, 1, "attitude flag visible")                                      \
  X(i32, adi_speed_dev, 0, -10, 20, "left-hand pointer, steps (no driver: rests at 0)")            \
  X(f64, adi_speed_index, 5.0, 0, 20, "left-hand index = 10 - 0.5 x adi_speed_dev, image units")   \
  /* ---- horizontal situation indicator */                                                        \
  X(f64, hsi_card_heading, 0.0, 0, 360,                                                            \
    "heading shown by the card, degrees (frozen without gyro)")                                    \
  X(i32, hsi_course_ptr, 0, 0, 720, "course pointer angle on the dial, degrees")                   \
  X(i32, hsi_marker_angle, 0, 0, 720, "heading marker angle on the dial, degrees")                 \
  X(f64, hsi_cdi, 0.0, -127, 127, "NAV 1 lateral deviation as last received")                      \
  X(f64, hsi_gs_ptr, 0.0, -1, 11, "glide slope pointer: 0..11 in view, -1 stowed")                 \
  X(i32, hsi_course_int, 0, 0, 359, "NAV 1 course as last read, whole degrees")                    \
  X(i32, hsi_course_wrap, 0, 0, 359, "course for a 10-degree step across north")                   \
  X(i32, hsi_hdg_wrap, 0, 0, 360, "selected heading for a 10-degree step across north")            \
  X(u8, hsi_dme_src, 0, 0, 2, "DME source: 0 or 1 NAV 1, 2 NAV 2")                                 \
  X(f64, hsi_dme_dist, 0.0, 0, 9999, "DME distance shown, nm (0 when not available)")              \
  X(u16, hsi_knob_course_angle, 0, 0, 360, "image angle of the course knob")                       \
  X(u16, hsi_knob_hdg_angle, 0, 0, 360, "image angle of the heading knob")                         \
  X(u8, hsi_hdg_readout_req, 0, 0, 1, "a heading-knob click asks for the heading readout")         \
  X(u8, hsi_hdg_readout_on, 0, 0, 1, "heading readout running")                                    \
  X(i32, hsi_hdg_readout_t0, 0, 0, 2147483647, "tick count at which the readout (re)started")      \
  X(f64, hsi_crs_drum_units, 0.0, 0, 10, "course readout units drum, digit position")              \
  X(f64, hsi_crs_drum_tens, 0.0, 0, 10, "course readout tens drum, digit position")                \
  X(f64, hsi_crs_drum_hundreds, 0.0, 0, 4, "course readout hundreds drum, digit position")         \
  X(f64, hsi_dme_drum_units, 0.0, 0, 10, "DME readout units drum, digit position")                 \
  X(f64, hsi_dme_drum_tens, 0.0, 0, 10, "DME readout tens drum, digit position")                   \
  X(f64, hsi_dme_drum_hundreds, 0.0, 0, 10, "DME readout hundreds drum, digit position")           \
  X(u8, hsi_to_shown, 0, 0, 1, "TO arrow visible")                                                 \
  X(u8, hsi_from_shown, 0, 0, 1, "FROM arrow visible")                                             \
  X(u8, hsi_gs_flag_shown, 0, 0, 1, "glide slope flag visible")                                    \
  X(u8, hsi_gs_scale_shown, 0, 0, 1, "glide slope scale visible")                                  \
  X(u8, hsi_nav_flag_shown, 0, 0, 1, "NAV flag visible")                                           \
  X(u8, hsi_dme_shutter_shown, 0, 0, 1, "DME shutter visible")                                     \
  X(u8, hsi_hdg_flag_shown, 0, 0, 1, "heading flag visible")                                       \
  X(u8, hsi_hdg_readout_shown, 0, 0, 1, "selected-heading readout visible")                        \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u8, atc_window_open, 0, 0, 1, "ATC window toggled open from the compass")                      \
  X(u8, ralt_valid, 0, 0, 1, "radio altitude valid and shown")                                     \
  X(u32, hsi_heading_sel, 0, 0, 360, "selected heading, degrees (360 reached by +10 from 350)")    \
  X(u8, hsi_nav1_loc, 0, 0, 1, "the tuned NAV 1 station is a localizer (station code bit 0x80)")   \
  X(u8, hsi_nav1_gs_avail, 0, 0, 1,                                                                \
    "the tuned NAV 1 station has a glide slope (station code bit 0x40)")                           \
  X(f64, vsi_ind, 0.0, -20000, 20000, "vertical speed shown, ft/min")                              \
  /* ---- engine gauges */                                                                         \
  X(f64, eng_thrust_ind_1, 0.0, 0, 115, "engine 1 fan speed shown by the thrust needle, percent")  \
  X(i32, eng_thrust_index_1, 7, 0, 90, "engine 1 thrust reference index, steps of 3 degrees")      \
  X(f64, eng_thrust_index_angle_1, 21.0, 0, 270, "engine 1 thrust reference index, degrees")       \
  X(f64, eng_rpm_ind_1, 0.0, 0, 10000, "engine 1 turbine speed shown, rpm")                        \
  X(i32, eng_rpm_thousands_1, 0, 0, 10, "engine 1 turbine speed, whole thousands")                 \
  X(f64, eng_rpm_units_1, 0.0, 0, 1000, "engine 1 turbine speed past the thousands, rpm")          \
  X(f64, eng_egt_ind_1, 0.0, -300, 3000, "engine 1 exhaust gas temperature shown, deg C")          \
  X(f64, eng_ff_ind_1, 0.0, 0, 6000, "engine 1 fuel flow shown, kg/h")                             \
  X(f64, eng_oilp_ind_1, 0.0, 0, 60, "engine 1 oil pressure shown, gauge units")                   \
  X(f64, eng_oilt_ind_1, 15.0, -50, 150, "engine 1 oil temperature shown, deg C")                  \
  X(u8, eng_nozzle_state_1, 0, 0, 5,                                                               \
    "engine 1 nozzle lamp: 0 off, 1-2 going off, 3-4 coming on (window refreshes due), 5 on")      \
  X(f64, eng_thrust_ind_2, 0.0, 0, 115, "engine 2 fan speed shown by the thrust needle, percent")  \
  X(i32, eng_thrust_index_2, 7, 0, 90, "engine 2 thrust reference index, steps of 3 degrees")      \
  X(f64, eng_thrust_index_angle_2, 21.0, 0, 270, "engine 2 thrust reference index, degrees")       \
  X(f64, eng_rpm_ind_2, 0.0, 0, 10000, "engine 2 turbine speed shown, rpm")                        \
  X(i32, eng_rpm_thousands_2, 0, 0, 10, "engine 2 turbine speed, whole thousands")                 \
  X(f64, eng_rpm_units_2, 0.0, 0, 1000, "engine 2 turbine speed past the thousands, rpm")          \
  X(f64, eng_egt_ind_2, 0.0, -300, 3000, "engine 2 exhaust gas temperature shown, deg C")          \
  X(f64, eng_ff_ind_2, 0.0, 0, 6000, "engine 2 fuel flow shown, kg/h")                             \
  X(f64, eng_oilp_ind_2, 0.0, 0, 60, "engine 2 oil pressure shown, gauge units")                   \
  X(f64, eng_oilt_ind_2, 15.0, -50, 150, "engine 2 oil temperature shown, deg C")                  \
  X(u8, eng_nozzle_state_2, 0, 0, 5,                                                               \
    "engine 2 nozzle lamp: 0 off, 1-2 going off, 3-4 coming on (window refreshes due), 5 on")      \
  /* ---- total air temperature and flap dial */                                                   \
  X(f64, tat_ind, 0.0, -70, 50, "total air temperature shown, deg C")                              \
  X(f64, flaps_ind_left, 0.0, 0, 35, "left flap angle shown, degrees")                             \
  X(f64, flaps_ind_right, 0.0, 0, 35, "right flap angle shown, degrees")                           \
  X(u8, flaps_dial_shown, 0, 0, 1, "flap overlay visible on the TAT dial")                         \
  X(u8, flaps_dial_latch, 0, 0, 1, "flap overlay already raised for this flap travel")             \
  X(u8, flaps_up_seen, 0, 0, 1, "flaps-up reset of the overlay done")                              \
  /* ---- clock */                                                                                 \
  X(f64, clock_hour_hand, 0.0, 0, 12, "hours on the 12-hour dial, minutes as a fraction")          \
  X(u32, chrono_seconds, 0, 0, 60, "chronograph seconds")                                          \
  X(u32, chrono_minutes, 0, 0, 15, "chronograph minutes")                                          \
  X(i32, chrono_ref, 0, -2147483647 - 1, 2147483647,                                               \
    "simulator seconds at which the current chronograph minute started")                           \
  X(u8, chrono_ref_taken, 0, 0, 1, "chrono_ref holds a reference (cleared by a reset)")            \
  X(u8, chrono_running, 0, 0, 1, "chronograph running")                                            \
  X(u8, chrono_reset_req, 0, 0, 1, "chronograph reset requested")                                  \
  X(u8, clock_set_mode, 0, 0, 1, "set mode: the four areas step the simulator's clock")            \
  X(u32, clock_bezel, 0, 0, 354, "bezel angle, degrees in steps of 6")                             \
  /* ---- control surface, flap and trim indicators, throttle readout */                           \
  X(u8, surf_ind_shown, 0, 0, 1, "the three surface indicators are visible")                       \
  X(f64, surf_elev_ind, 0.0, -12000, 30000, "elevator needle value")                               \
  X(f64, surf_trim_ind, 8.0, 0, 16, "pitch-trim index position")                                   \
  X(f64, surf_trim_corr, 0.0, -1000000, 1000000, "\"TRIM_CORR\" as last read")                     \
  X(f64, surf_ail_ind, 0.0, -25000, 25000, "aileron needle value")                                 \
  X(f64, surf_rud_ind, 0.0, -25000, 25000, "rudder needle value")                                  \
  A(i32, thr_digits_left, 3, 0, 9, "left throttle readout: hundreds, tens, units")                 \
  A(i32, thr_digits_right, 3, 0, 9, "right throttle readout: hundreds, tens, units")               \
  A(i32, thr_sample_a, 2, -100, 100, "throttle levers x 100, reference sample")                    \
  A(i32, thr_sample_b, 2, -100, 100, "throttle levers x 100, latest sample")                       \
  X(u8, thr_sample_phase, 0, 0, 1, "0: the next sample is a new reference")                        \
  X(u8, thr_moved, 0, 0, 2, "0 quiet, 1 showing, 2 moved again while showing")                     \
  X(u8, thr_show_run, 0, 0, 1, "throttle readout timer running")                                   \
  X(i32, thr_show_end, 0, 0, 2147483647, "tick at which the throttle readout goes off")            \
  X(u8, thr_readout_mode, 0, 0, 2, "0 automatic, 1 off, 2 off with its label showing")             \
  X(u8, thr_label_run, 0, 0, 1, "label timer running")                                             \
  X(i32, thr_label_end, 0, 0, 2147483647, "tick at which the label goes off")                      \
  /* ---- airspeed indicator */                                                                    \
  X(f64, ias_ind, 0.0, 0, 400, "airspeed pointer, knots")                                          \
  X(f64, ias_second_ind, 0.0, 0, 400, "second pointer, knots (token 0x3F / 128)")                  \
  X(u32, ias_marker_low, 145, 80, 250, "lower speed marker, knots")                                \
  X(u32, ias_marker_high, 190, 80, 250, "upper speed marker, knots")                               \
  X(f64, ias_gross_weight, 0.0, 0, 200000, "gross weight as last read, kg")                        \
  X(f64, ias_vbase, 131.0, 62, 350, "weight-based reference speed, knots")                         \
  X(f64, ias_vr, 136.0, 62, 365, "rotation speed, knots")                                          \
  X(i32, ias_vr_int, 136, 62, 365, "rotation speed, whole knots")                                  \
  X(f64, ias_v1, 122.0, 52, 355, "decision speed (rotation speed - 10), knots")                    \
  X(f64, ias_vflap, 125.0, 57, 365, "flap-dependent reference speed, knots")                       \
  X(u8, ias_readout_on, 1, 0, 1, "speed readouts shown (centre click toggles)")                    \
  X(u8, ias_to_btn, 0, 0, 1, "take-off marker button pressed")                                     \
  X(u8, ias_to_btn_busy, 0, 0, 1, "take-off marker button held in")                                \
  X(i32, ias_to_btn_end, 0, 0, 2147483647, "tick at which the take-off button releases")           \
  X(u8, ias_app_btn, 0, 0, 1, "approach marker button pressed")                                    \
  X(u8, ias_app_btn_busy, 0, 0, 1, "approach marker button held in")                               \
  X(i32, ias_app_btn_end, 0, 0, 2147483647, "tick at which the approach button releases")          \
  X(u8, ias_call_80, 0, 0, 1, "80-knot call-out played in this take-off run")                      \
  X(u8, ias_call_v1, 0, 0, 1, "V1 call-out played in this take-off run")                           \
  X(u8, ias_call_vr, 0, 0, 1, "VR call-out played in this take-off run")                           \
  X(f64, ias_drum_upper_tens, 0.0, 0, 10, "upper readout tens drum, digit position")               \
  X(f64, ias_drum_upper_units, 0.0, 0, 10, "upper readout units drum, digit position")             \
  X(f64, ias_drum_lower_tens, 0.0, 0, 10, "lower readout tens drum, digit position")               \
  X(f64, ias_drum_lower_units, 0.0, 0, 10, "lower readout units drum, digit position")             \
  /* ---- altimeter */                                                                             \
  X(f64, alt_drum_value, 0.0, 0, 99999.99, "altitude the drum counter shows, feet")                \
  X(f64, alt_hundreds_ind, 0.0, -100, 100, "hundreds pointer, one turn per 1000 ft")               \
  X(f64, alt_drum_10000, 0.0, 0, 10, "ten-thousands drum, digit position")                         \
  X(f64, alt_drum_1000, 0.0, 0, 10, "thousands drum, digit position")                              \
  X(f64, alt_drum_100, 0.0, 0, 10, "hundreds drum, digit position")                                \
  X(f64, alt_drum_10, 0.0, 0, 10, "last drum (tens of feet), digit position")                      \
  X(f64, baro_inhg_x100, 2991.5, 0, 9999, "baro setting read back, inches of mercury x 100")       \
  X(f64, baro_hpa, 1013.0, 0, 9999, "baro setting read back, hPa")                                 \
  /* ---- Mach and angle of attack */                                                              \
  X(f64, mach_target, 0.0, 0, 1000, "Mach pointer target, Mach x 1000")                            \
  X(f64, mach_ind, 0.0, 0, 1000, "Mach pointer, Mach x 1000")                                      \
  X(f64, aoa_ind, 0.0, 0, 32767, "angle-of-attack pointer, raw")                                   \
  /* ---- radio altimeter */                                                                       \
  X(u8, ralt_on, 0, 0, 1, "radio altimeter switched on")                                           \
  X(u8, ralt_warm, 0, 0, 1, "warm-up started")                                                     \
  X(i32, ralt_warm_end, 0, 0, 2147483647, "tick at which the warm-up ends")                        \
  X(f64, ralt_ind, 0.0, 0, 2750, "radio altitude pointer, feet")                                   \
  X(u32, ralt_dh, 50, 0, 2500, "decision height setting, feet")                                    \
  X(u8, ralt_dh_lit, 0, 0, 1, "decision height lamp lit by altitude")                              \
  X(u8, ralt_lamp_test, 0, 0, 1, "lamp test button pressed")                                       \
  X(u8, ralt_lamp_test_run, 0, 0, 1, "lamp test running")                                          \
  X(i32, ralt_lamp_test_end, 0, 0, 2147483647, "tick at which the lamp test ends")                 \
  X(u8, ralt_btn_test, 0, 0, 1, "test button pressed")                                             \
  X(u8, ralt_btn_test_run, 0, 0, 1, "test button held in")                                         \
  X(i32, ralt_btn_test_end, 0, 0, 2147483647, "tick at which the test button releases")            \
  X(u8, ralt_self_test, 0, 0, 1, "self-test button pressed")                                       \
  X(u8, ralt_self_test_run, 0, 0, 1, "self-test running (pointer driven to 115)")                  \
  X(i32, ralt_self_test_end, 0, 0, 2147483647, "tick at which the self-test ends")                 \
  X(u8, ralt_warm_shown, 0, 0, 1, "warm-up light visible")                                         \
  X(u8, ralt_dh_lamp_shown, 0, 0, 1, "decision height lamp visible")                               \
  X(u8, ralt_test_img_shown, 0, 0, 1, "pressed test button image visible")                         \
  X(u8, ralt_off_shown, 1, 0, 1, "OFF flag visible")                                               \
  /* ---- radio magnetic indicators */                                                             \
  X(f64, rmi_vor_card, 0.0, 0, 360, "VOR RMI card heading, degrees")                               \
  X(f64, rmi_adf_card, 0.0, 0, 360, "ADF RMI card heading, degrees")                               \
  X(u32, rmi_vor_sel, 0, 0, 360, "VOR RMI selected heading, degrees")                              \
  X(u32, rmi_adf_sel, 0, 0, 360, "ADF RMI selected heading, degrees")                              \
  X(f64, rmi_vor_marker, 0.0, 0, 720, "VOR RMI heading marker angle = 360 - heading + selection")  \
  X(f64, rmi_adf_marker, 0.0, 0, 720, "ADF RMI heading marker angle = 360 - heading + selection")  \
  X(f64, rmi_vor_ptr1, 90.0, 0, 360, "VOR RMI pointer 1 (NAV 1) angle, degrees")                   \
  X(f64, rmi_vor_ptr2, 90.0, 0, 360, "VOR RMI pointer 2 (NAV 2) angle, degrees")                   \
  X(f64, rmi_adf_ptr1, 90.0, 0, 360, "ADF RMI pointer 1 (ADF 1) angle, degrees")                   \
  X(f64, rmi_adf_ptr2, 90.0, 0, 360, "ADF RMI pointer 2 (ADF 2) angle, degrees")                   \
  X(u16, rmi_vor_knob, 0, 0, 360, "VOR RMI knob image angle")                                      \
  X(u16, rmi_adf_knob, 0, 0, 360, "ADF RMI knob image angle")                                      \
  /* ---- turn and sideslip, standby horizon */                                                    \
  X(f64, turn_rate_ind, 0.0, -1200, 1200, "turn pointer, raw")                                     \
  X(f64, turn_ball_x, 0.0, -40, 40, "sideslip ball, horizontal shift")                             \
  X(f64, turn_ball_y, 0.0, -3, 0, "sideslip ball, vertical shift (rises at the ends)")             \
  X(f64, hsec_bank_ind, 0.0, -181, 181, "standby horizon bank shown, degrees")                     \
  X(f64, hsec_pitch_ind, 0.0, -90, 90, "standby horizon pitch shown, degrees")                     \
  X(u8, hsec_bank_erecting, 0, 0, 1, "standby horizon bank toppled, erecting")                     \
  X(u8, hsec_pitch_erecting, 0, 0, 1, "standby horizon pitch toppled, erecting")                   \
  X(i32, hsec_knob, 0, -10, 10, "standby horizon pitch reference knob")                            \
  X(f64, hsec_ref_index, 10.0, 0, 20, "standby horizon pitch reference index position")

K7_STATE_DECLARE(K7_INSTRUMENTS_STATE)
