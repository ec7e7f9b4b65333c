// A module variable for one simulator token, refreshed with sim::read before each use.
#pragma once

#include "module/panel_abi.h"

namespace k7 {

constexpr MODULE_VAR token(ENUM id) {
  MODULE_VAR v{};
  v.id = id;
  return v;
}

} // namespace k7
