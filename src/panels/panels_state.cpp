#include "panels/panels.h"

K7_STATE_DEFINE(panels, K7_PANELS_STATE)
