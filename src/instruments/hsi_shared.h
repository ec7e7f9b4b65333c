// What the HSI shares with its miniature copy: its click areas (the same handlers acting on the
// same state), the rule of its GPS annunciator and the values its elements draw.
#pragma once

#include "electrical/electrical.h"
#include "instruments/instruments.h"
#include "module/panel_abi.h"

namespace k7 {

constexpr int HSI_CLICK_AREAS = 9;
// Click area i (0..8) of the HSI: box, cursor, flags and handler.
MOUSERECT hsi_click_area(int i);
// The GPS annunciator shows while GPS drives the NAV display and the TADG and its supply hold.
bool hsi_gps_annunciator();

} // namespace k7

namespace k7::hsi_draw {

// The gyro instruments run on the essential AC bus through the TADG.
inline bool gyro() {
  return elec_ac_ess == 1 && elec_tadg_on == 1;
}
template <auto& Value> inline FLOAT64 FSAPI needle_value(ELEMENT_NEEDLE*) {
  return static_cast<FLOAT64>(Value);
}
template <auto& Value> inline FLOAT64 FSAPI drum_value(ELEMENT_MOVING_IMAGE*) {
  return static_cast<FLOAT64>(Value);
}
inline FLOAT64 FSAPI no_shift(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}
inline FLOAT64 FSAPI card_rotation(ELEMENT_SPRITE*) {
  return hsi_card_heading;
}
inline FLOAT64 FSAPI deviation_shift(ELEMENT_SPRITE*) {
  return gyro() ? hsi_cdi : 0.0;
}
inline FLOAT64 FSAPI deviation_rotation(ELEMENT_SPRITE*) {
  return hsi_course_ptr;
}
// The selected-heading readout shows plain digits.
inline FLOAT64 FSAPI heading_hundreds(ELEMENT_MOVING_IMAGE*) {
  return hsi_heading_sel / 100;
}
inline FLOAT64 FSAPI heading_tens(ELEMENT_MOVING_IMAGE*) {
  return hsi_heading_sel / 10 % 10;
}
inline FLOAT64 FSAPI heading_units(ELEMENT_MOVING_IMAGE*) {
  return hsi_heading_sel % 10;
}

} // namespace k7::hsi_draw
