#include "radios/radios.h"

K7_STATE_DEFINE(radios, K7_RADIOS_STATE)
