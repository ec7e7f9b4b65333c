// Shared helpers of the behaviour tests: every test loads its own fresh module.
#pragma once

#include "host/k7host.h"

#include <gtest/gtest.h>
#include <memory>
#include <type_traits>

// A copy of a field of a record laid out with the simulator's 4-byte packing: on 64-bit its
// pointers may sit at addresses that a reference (as the test macros take) must not bind to.
#define K7_COPY(field) (static_cast<std::remove_cvref_t<decltype(field)>>(field))

namespace k7test {

inline std::unique_ptr<k7host::Sim> fresh(const std::string& panel_cfg = {}) {
  k7host::Options options;
  options.panel_cfg = panel_cfg;
  return std::make_unique<k7host::Sim>(options);
}

inline double state(const k7host::Sim& sim, const std::string& name) {
  auto v = sim.state(name);
  EXPECT_TRUE(v.has_value()) << "no state variable " << name;
  return v.value_or(-12345.0);
}

inline bool visible(const k7host::Sim& sim, const std::string& gauge, int element) {
  auto e = sim.element(gauge, element);
  EXPECT_TRUE(e.has_value()) << "no element " << element << " in " << gauge;
  return e && !e->hidden;
}

} // namespace k7test
