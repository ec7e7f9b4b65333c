// Radio control boxes and radio load shedding: the state this subsystem owns.
#pragma once

#include "module/state.h"

// Drums of one NAV/COM box: NAV leading 1, d1, d2, d3, d4 (0 or 5), then the same for COM (d4 on
// the 25 kHz endings 0, 2, 5, 7).
constexpr int RADIO_NAVCOM_DRUMS = 10;
// Drums of one ADF box: thousands (0 or 1), hundreds, tens, units, tenths of a kilohertz.
constexpr int RADIO_ADF_DRUMS = 5;
// The transponder code: four octal digits.
constexpr int RADIO_TSP_DRUMS = 4;
// Values moved by the weather radar's antenna tilt, kept for the panel windows.
constexpr int RADIO_RADAR_TILT_VALUES = 16;

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_RADIOS_STATE(X, A)                                                                      \
  X(u8, radio_delest_sel, 1, 0, 1,                                                                 \
    "radio load-shedding selector: 1 keeps radio bus 1, other values radio bus 2")                 \
  /* ---- declared here for the readers; the owner adds the logic */                               \
  X(u8, radio_vordme_sel1, 3, 0, 3,                                                                \
    "NAV/COM box 1 VOR DME selector: 0 OFF, 1 NAV, 2 DME, 3 O RIDE")                               \
  X(u8, radio_vordme_sel2, 3, 0, 3,                                                                \
    "NAV/COM box 2 VOR DME selector: 0 OFF, 1 NAV, 2 DME, 3 O RIDE")                               \
  X(u8, radio_adf_mode1, 1, 0, 4, "ADF box 1 mode selector: 0 OFF, 1 ADF, 2 ANT, 3 LOOP, 4 TFR")   \
  X(u8, radio_adf_mode2, 1, 0, 4, "ADF box 2 mode selector: 0 OFF, 1 ADF, 2 ANT, 3 LOOP, 4 TFR")   \
  X(u8, radio_selcal_sel, 1, 0, 2,                                                                 \
    "SELCAL selector: 1 left, 0 centre, 2 right (marker lamps dark at 0)")                         \
  /* ---- NAV/COM boxes */                                                                         \
  X(u8, radio_comm_sel1, 1, 0, 2, "NAV/COM box 1 COMM selector: 0 OFF, 1 NORM, 2 LIMITE")          \
  X(u8, radio_comm_sel2, 1, 0, 2, "NAV/COM box 2 COMM selector: 0 OFF, 1 NORM, 2 LIMITE")          \
  A(u16, radio_knob_angle1, 4, 0, 359,                                                             \
    "NAV/COM box 1 tuning knobs (NAV whole, NAV fraction, COM whole, COM fraction), degrees")      \
  A(u16, radio_knob_angle2, 4, 0, 359,                                                             \
    "NAV/COM box 2 tuning knobs (NAV whole, NAV fraction, COM whole, COM fraction), degrees")      \
  A(u8, radio_navcom_target1, RADIO_NAVCOM_DRUMS, 0, 9,                                            \
    "NAV/COM box 1 drum targets: NAV 1, d1, d2, d3, d4 position, COM 1, d1, d2, d3, d4 position")  \
  A(u8, radio_navcom_target2, RADIO_NAVCOM_DRUMS, 0, 9, "NAV/COM box 2 drum targets, as box 1")    \
  A(f64, radio_navcom_shown1, RADIO_NAVCOM_DRUMS, 0, 9.9, "NAV/COM box 1 drum positions shown")    \
  A(f64, radio_navcom_shown2, RADIO_NAVCOM_DRUMS, 0, 9.9, "NAV/COM box 2 drum positions shown")    \
  /* ---- ADF boxes */                                                                             \
  X(u8, radio_adf_fine1, 0, 0, 1, "ADF box 1 fine tuning: the 1 KC knob steps tenths")             \
  X(u8, radio_adf_fine2, 0, 0, 1, "ADF box 2 fine tuning: the 1 KC knob steps tenths")             \
  X(i8, radio_adf_loop1, 0, -30, 30, "ADF box 1 loop knob")                                        \
  X(i8, radio_adf_loop2, 0, -30, 30, "ADF box 2 loop knob")                                        \
  X(u8, radio_adf_cw1, 1, 0, 1, "ADF box 1 CW (1) / VOICE (0) switch")                             \
  X(u8, radio_adf_cw2, 1, 0, 1, "ADF box 2 CW (1) / VOICE (0) switch")                             \
  X(u8, radio_adf_sharp1, 1, 0, 1, "ADF box 1 SHARP (1) / BROAD (0) switch")                       \
  X(u8, radio_adf_sharp2, 1, 0, 1, "ADF box 2 SHARP (1) / BROAD (0) switch")                       \
  A(u8, radio_adf_target1, RADIO_ADF_DRUMS, 0, 9,                                                  \
    "ADF box 1 drum targets: thousands, hundreds, tens, units, tenths of a kilohertz")             \
  A(u8, radio_adf_target2, RADIO_ADF_DRUMS, 0, 9, "ADF box 2 drum targets, as box 1")              \
  A(f64, radio_adf_shown1, RADIO_ADF_DRUMS, 0, 9.9, "ADF box 1 drum positions shown")              \
  A(f64, radio_adf_shown2, RADIO_ADF_DRUMS, 0, 9.9, "ADF box 2 drum positions shown")              \
  /* ---- transponder */                                                                           \
  X(u8, radio_tsp_mode, 2, 0, 3, "transponder mode selector: 0 OFF, 1 STBY, 2 A, 3 B")             \
  X(u8, radio_tsp_ident, 0, 0, 12, "transponder IDENT count: frames the reply lamp stays lit")     \
  X(u8, radio_tsp_sw1, 1, 0, 1, "transponder TR1 (1) / TR2 (0) switch")                            \
  X(u8, radio_tsp_sw2, 1, 0, 1, "transponder NORM (1) / LO (0) switch")                            \
  X(u8, radio_tsp_sw3, 1, 0, 1, "transponder FORT (1) / FAIBLE (0) switch")                        \
  A(u8, radio_tsp_target, RADIO_TSP_DRUMS, 0, 7,                                                   \
    "transponder code drum targets, first digit first")                                            \
  A(f64, radio_tsp_shown, RADIO_TSP_DRUMS, 0, 7.9, "transponder code drum positions shown")        \
  /* ---- weather radar (drawn only) */                                                            \
  X(u8, radio_radar_range, 0, 0, 4, "weather radar range: 0 ARRET, 1 ATT, 2 20, 3 50, 4 150")      \
  X(i8, radio_radar_tilt, 0, -15, 15, "weather radar antenna tilt")                                \
  X(u8, radio_radar_sw1, 1, 0, 1, "weather radar left switch: 1 up, 0 down")                       \
  X(u8, radio_radar_sw2, 1, 0, 1, "weather radar right switch: 1 up, 0 down")                      \
  A(i16, radio_radar_tilt_values, RADIO_RADAR_TILT_VALUES, -1500, 1500,                            \
    "values moved by 100 per antenna tilt step, kept for the panel windows")

K7_STATE_DECLARE(K7_RADIOS_STATE)
