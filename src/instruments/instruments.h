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
  X(f64, vsi_ind, 0.0, -20000, 20000, "vertical speed shown, ft/min")

K7_STATE_DECLARE(K7_INSTRUMENTS_STATE)
