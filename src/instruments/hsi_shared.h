// What the HSI shares with its miniature copy: its click areas (the same handlers acting on the
// same state) and the rule of its GPS annunciator.
#pragma once

#include "module/panel_abi.h"

namespace k7 {

constexpr int HSI_CLICK_AREAS = 9;
// Click area i (0..8) of the HSI: box, cursor, flags and handler.
MOUSERECT hsi_click_area(int i);
// The GPS annunciator shows while GPS drives the NAV display and the TADG and its supply hold.
bool hsi_gps_annunciator();

} // namespace k7
