#include "environment/environment.h"

K7_STATE_DEFINE(environment, K7_ENVIRONMENT_STATE)
