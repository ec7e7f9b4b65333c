#include "hydraulics/hydraulics.h"

K7_STATE_DEFINE(hydraulics, K7_HYDRAULICS_STATE)
