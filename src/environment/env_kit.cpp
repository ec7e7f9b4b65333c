#include "environment/env_kit.h"

#include "module/services.h"

namespace env {

namespace {
MODULE_VAR tick_var = sim::token(0x1);
MODULE_VAR outside_air_var = sim::token(0x155);
MODULE_VAR outside_temp_var = sim::token(0x15E);
MODULE_VAR on_ground_var = sim::token(0x3C);
MODULE_VAR exit_var = sim::token(0x364);
MODULE_VAR throttle_vars[2] = {sim::token(0x22E), sim::token(0x238)};
MODULE_VAR altitude_var = sim::token(0x4A);
MODULE_VAR airspeed_var = sim::token(0x3D);

constexpr double AIR_COLDEST = -100.0, AIR_HOTTEST = 100.0;
constexpr double ALTITUDE_LOWEST = -1500.0, ALTITUDE_HIGHEST = 60000.0;
} // namespace

u32 tick_now() {
  return k7::sat_cast<u32>(sim::read(tick_var));
}
double outside_air() {
  return k7::clamp(sim::read_finite(outside_air_var), AIR_COLDEST, AIR_HOTTEST);
}
double outside_temp_256() {
  return k7::clamp(sim::read_finite(outside_temp_var) * 256.0, AIR_COLDEST, AIR_HOTTEST);
}
bool on_ground() {
  return sim::read_finite(on_ground_var) != 0.0;
}
bool exit_open() {
  return sim::read_finite(exit_var) > 0.0;
}
double throttle(int side) {
  return sim::read_finite(throttle_vars[side & 1]);
}
double aircraft_altitude() {
  return k7::clamp(sim::read_finite(altitude_var), ALTITUDE_LOWEST, ALTITUDE_HIGHEST);
}
double airspeed() {
  return sim::read_finite(airspeed_var);
}

} // namespace env
