// Hydraulic circuits, brakes, servo controls, emergency levers, cabin call: the state this
// subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, meaning) for variables; A(type, name, count, meaning) for tables.
#define K7_HYDRAULICS_STATE(X, A)                                                                  \
  X(u16, hydrau_press_green, 0, "green circuit pressure, psi")                                     \
  X(u16, hydrau_press_blue, 0, "blue circuit pressure, psi")                                       \
  X(u16, hydrau_press_yellow, 0, "yellow circuit pressure, psi")                                   \
  X(u16, hydrau_press_red, 2500, "red circuit pressure, psi")

K7_STATE_DECLARE(K7_HYDRAULICS_STATE)
