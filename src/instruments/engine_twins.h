// The engine instrument row is built of left/right twins: each gauge is written once as a template
// over one engine's table below, which holds everything in which the twins differ.
#pragma once

#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/gauge.h"

#include <initializer_list>

namespace k7 {

struct EngineTwin {
  ENUM fan_speed_token;    // N1, percent
  const char* turbine_rpm; // named variable published by the engine module of the panel
  ENUM exhaust_token;      // degrees Rankine
  ENUM fuel_flow_token;    // pounds per hour
  ENUM oil_press_token;
  ENUM oil_temp_token; // degrees Rankine
  ENUM throttle_token; // 0.0 idle .. 1.0 full travel
  ID oil_press_night_face;
  u32 nozzle_window; // the window that carries the nozzle lamp, redrawn when it changes at night
  f64& thrust_ind;
  i32& thrust_index;
  f64& thrust_index_angle;
  f64& rpm_ind;
  i32& rpm_thousands;
  f64& rpm_units;
  f64& egt_ind;
  f64& ff_ind;
  f64& oilp_ind;
  f64& oilt_ind;
  u8& nozzle_state;
};

inline constexpr EngineTwin engine_1{0x270,
                                     "leftTurbineRPM",
                                     0x237,
                                     0x27E,
                                     0x232,
                                     0x231,
                                     0x22E,
                                     12320,
                                     10130,
                                     eng_thrust_ind_1,
                                     eng_thrust_index_1,
                                     eng_thrust_index_angle_1,
                                     eng_rpm_ind_1,
                                     eng_rpm_thousands_1,
                                     eng_rpm_units_1,
                                     eng_egt_ind_1,
                                     eng_ff_ind_1,
                                     eng_oilp_ind_1,
                                     eng_oilt_ind_1,
                                     eng_nozzle_state_1};

inline constexpr EngineTwin engine_2{0x283,
                                     "rightTurbineRPM",
                                     0x241,
                                     0x291,
                                     0x23C,
                                     0x23B,
                                     0x238,
                                     12336,
                                     10050,
                                     eng_thrust_ind_2,
                                     eng_thrust_index_2,
                                     eng_thrust_index_angle_2,
                                     eng_rpm_ind_2,
                                     eng_rpm_thousands_2,
                                     eng_rpm_units_2,
                                     eng_egt_ind_2,
                                     eng_ff_ind_2,
                                     eng_oilp_ind_2,
                                     eng_oilt_ind_2,
                                     eng_nozzle_state_2};

// A needle's value held on its dial: the clamped value is written back.
inline FLOAT64 on_dial(f64& value, double low, double high) {
  value = clamp(value, low, high);
  return value;
}

// The smoothed needles step a fixed amount per update toward their target and land on it once
// within `window` of it (one step, unless the dial says otherwise).
inline double slew(double shown, double target, double step, double window) {
  if (shown > target + window) return shown - step;
  if (shown < target - window) return shown + step;
  return target;
}
inline double slew(double shown, double target, double step) {
  return slew(shown, target, step, step);
}

// Unpowered, they run down a step per update to their rest position.
inline double run_down(double shown, double step, double rest) {
  return shown <= rest + step ? rest : shown - step;
}

// Degrees Rankine from the simulator to degrees Celsius.
inline double celsius(double rankine) {
  return (rankine - 491.67) * 0.55556;
}

// The night layer of a dial: drawn over the day layer while the panel lighting is on.
inline void draw_night_layer(std::initializer_list<ELEMENT_HEADER*> layer) {
  for (ELEMENT_HEADER* e : layer)
    show(*e, panel_night());
}

} // namespace k7
