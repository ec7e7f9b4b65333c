// Scenario words that subsystems of the stand-in add (sounds, ...).
#pragma once

#include "host/k7host.h"

#include <cstdio>
#include <string>
#include <vector>

namespace k7host {

struct ScenarioCheck {
  bool ok = false;
  std::string expected;
  std::string actual;
};

// A step the core runner does not know; true when taken.
bool scenario_extension_step(Sim& sim, const std::vector<std::string>& words, std::FILE* out,
                             bool narrate);
// An expectation ("expect ...") the core runner does not know; true when it was one.
// `mark` is the place in the key-event log of the last `mark` step.
bool scenario_extension_expect(Sim& sim, const std::vector<std::string>& words, std::size_t mark,
                               ScenarioCheck& result);

} // namespace k7host
