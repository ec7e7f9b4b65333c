// Pressurisation, air conditioning, ice protection: the state this subsystem owns.
#pragma once

#include "module/state.h"

// X(type, name, load value, meaning) for variables; A(type, name, count, meaning) for tables.
#define K7_ENVIRONMENT_STATE(X, A)

K7_STATE_DECLARE(K7_ENVIRONMENT_STATE)
