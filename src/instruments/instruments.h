// Flight and engine instruments: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, lowest, highest, meaning) for variables;
// A(type, name, count, lowest, highest, meaning) for tables (every entry within lowest..highest).
#define K7_INSTRUMENTS_STATE(X, A)

K7_STATE_DECLARE(K7_INSTRUMENTS_STATE)
