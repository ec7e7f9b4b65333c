#include "instruments/instruments.h"

K7_STATE_DEFINE(instruments, K7_INSTRUMENTS_STATE)
