// The stand-in's aircraft: the tokens of an aircraft at rest, and their evolution per frame.
#include "host/model.h"

namespace k7host {

void aircraft_reset(Sim& sim) {
  sim.set_token(TOKEN_AIRCRAFT_ON_GROUND, 1.0);
  sim.set_token(TOKEN_RADIO_HEIGHT, 0.0);
  sim.set_token(TOKEN_AIRSPEED, 0.0);
  electrical_reset(sim);
  hydraulics_reset(sim);
  engines_reset(sim);
  airdata_reset(sim);
  gear_reset(sim);
  autopilot_reset(sim);
  attitude_reset(sim);
  engine_gauges_reset(sim);
  radios_reset(sim);
  approach_reset(sim);
  warnings_reset(sim);
  environment_reset(sim);
  failures_reset(sim);
}

void aircraft_frame(Sim& sim) {
  failures_frame(sim); // before the engines: a starter it keeps engaged turns them this frame
  engines_frame(sim);
  engine_gauges_frame(sim);
  airdata_frame(sim);
  electrical_frame(sim);
  hydraulics_frame(sim);
  gear_frame(sim);
  autopilot_frame(sim);
  approach_frame(sim);
  warnings_frame(sim);
  environment_frame(sim);
}

} // namespace k7host
