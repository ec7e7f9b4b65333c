#include "host/scenario_ext.h"

namespace k7host {

bool scenario_extension_step(Sim&, const std::vector<std::string>&, std::FILE*, bool) {
  return false;
}

bool scenario_extension_expect(Sim&, const std::vector<std::string>&, std::size_t, ScenarioCheck&) {
  return false;
}

} // namespace k7host
