// The stand-in's aircraft: what the electrical of the cockpit rely on in the simulator.
#include "host/model.h"

namespace k7host {

bool electrical_key_event(Sim&, std::uint32_t, std::uint32_t) {
  return false;
}
void electrical_reset(Sim&) {}
void electrical_frame(Sim&) {}

} // namespace k7host
