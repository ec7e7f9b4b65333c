#include "engines/engines.h"

K7_STATE_DEFINE(engines, K7_ENGINES_STATE)
