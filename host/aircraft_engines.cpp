// The stand-in's aircraft: what the engines of the cockpit rely on in the simulator.
#include "host/model.h"

namespace k7host {

bool engines_key_event(Sim&, std::uint32_t, std::uint32_t) {
  return false;
}
void engines_reset(Sim&) {}
void engines_frame(Sim&) {}

} // namespace k7host
