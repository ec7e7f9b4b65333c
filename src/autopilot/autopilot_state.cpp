#include "autopilot/autopilot.h"

K7_STATE_DEFINE(autopilot, K7_AUTOPILOT_STATE)
