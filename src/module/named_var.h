// Named variables published by the panel's other modules, read every update: a variable nobody
// publishes (the simulator knows no such name) or one holding no number reads as absent.
#pragma once

#include "module/services.h"

#include <cmath>

namespace k7 {

// The variable's value in `value`, or false (and `value` untouched) when it is absent.
inline bool named_read(const char* name, double& value) {
  auto check = sim::service<PFN_CHECK_NAMED_VARIABLE>(PANELS_CHECK_NAMED_VARIABLE);
  auto get = sim::service<PFN_GET_NAMED_VARIABLE_VALUE>(PANELS_GET_NAMED_VARIABLE_VALUE);
  if (check == nullptr || get == nullptr) return false;
  const ID id = check(name);
  if (id < 0) return false;
  const double v = get(id);
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

} // namespace k7
