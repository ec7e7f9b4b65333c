#include "gear/gear.h"

K7_STATE_DEFINE(gear, K7_GEAR_STATE)
