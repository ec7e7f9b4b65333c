#include "autopilot/autopilot.h"

K7_STATE_DEFINE(autopilot, K7_AUTOPILOT_STATE)

f64 at_drums[3];
