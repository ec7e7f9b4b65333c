#include "electrical/electrical.h"

K7_STATE_DEFINE(electrical, K7_ELECTRICAL_STATE)
