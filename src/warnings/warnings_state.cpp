#include "warnings/warnings.h"

K7_STATE_DEFINE(warnings, K7_WARNINGS_STATE)
