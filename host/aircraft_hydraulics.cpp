// The stand-in's aircraft: what the hydraulics of the cockpit rely on in the simulator.
#include "host/model.h"

namespace k7host {

bool hydraulics_key_event(Sim&, std::uint32_t, std::uint32_t) {
  return false;
}
void hydraulics_reset(Sim&) {}
void hydraulics_frame(Sim&) {}

} // namespace k7host
