// The stand-in's aircraft: what the engine instruments, the clock and the surface indicators read
// beyond the other parts (fuel flow and oil temperature: aircraft_gear.cpp; oil pressure:
// aircraft_warnings.cpp). From each engine's N2 (the engine model's, aircraft_engines.cpp) it
// derives the turbine speed that the panel's engine module publishes as a named variable and the
// exhaust temperature (degrees Rankine); the total air temperature stands at
// 15 deg C (token 0x15E, in deg C / 256); the time of day runs with the simulator's clock and is
// stepped by the clock's key events; the control surfaces and the trim rest at 0. "TRIM_CORR" is
// not published: a scenario or test sets it.
//
// A value written from outside (a test or a scenario) is kept: the model leaves a token or named
// variable alone once it no longer holds what the model last wrote there.
#include "host/model.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace k7host {

namespace {

struct GaugeTokens {
  std::uint32_t n2;
  const char* turbine_rpm;
  std::uint32_t exhaust;
};

constexpr GaugeTokens gauge_tokens[2] = {
    {0x271, "leftTurbineRPM", 0x237},
    {0x284, "rightTurbineRPM", 0x241},
};

enum : std::uint32_t {
  TOKEN_HOURS = 0x003,
  TOKEN_MINUTES = 0x004,
  TOKEN_AILERON = 0x139,
  TOKEN_RUDDER = 0x13C,
  TOKEN_ELEVATOR = 0x13D,
  TOKEN_ELEVATOR_TRIM = 0x13E,
  TOKEN_TAT = 0x15E,
};

constexpr std::uint32_t KEY_HOURS_DEC = 0x10079, KEY_HOURS_INC = 0x1007A;
constexpr std::uint32_t KEY_MINUTES_DEC = 0x1007B, KEY_MINUTES_INC = 0x1007C;

constexpr double AMBIENT_C = 15.0;
constexpr double RPM_PER_PERCENT = 85.0; // 100 % N2 = 8500 rpm
constexpr double START_TIME = 10 * 3600.0;
constexpr double DAY = 24 * 3600.0;

double rankine(double celsius) {
  return celsius / 0.55556 + 491.67;
}

struct Written {
  std::map<std::uint32_t, double> tokens;
  std::map<std::string, double> named;
  double time_of_day = START_TIME; // seconds since midnight at simulator clock 0
  double hours = 0.0, minutes = 0.0;
};

std::map<const Sim*, Written> models;

// Writes a token unless something else has written it since the model last did.
void put(Sim& sim, Written& w, std::uint32_t id, double value) {
  auto it = w.tokens.find(id);
  if (it != w.tokens.end() && sim.token(id) != it->second) return;
  w.tokens[id] = value;
  sim.set_token(id, value);
}

void put_named(Sim& sim, Written& w, const char* name, double value) {
  auto it = w.named.find(name);
  if (it != w.named.end() && sim.named(name) != it->second) return;
  w.named[name] = value;
  sim.set_named(name, value);
}

double finite(double v) {
  return std::isfinite(v) ? v : 0.0;
}

void step_engine(Sim& sim, Written& w, int i) {
  const GaugeTokens& t = gauge_tokens[i];
  const double n2 = std::clamp(finite(sim.token(t.n2)), 0.0, 110.0);
  put_named(sim, w, t.turbine_rpm, n2 * RPM_PER_PERCENT);
  put(sim, w, t.exhaust, rankine(AMBIENT_C + std::max(0.0, n2 - 15.0) * 7.5));
}

void publish_time(Sim& sim, Written& w) {
  const double now = std::fmod(
      std::fmod(w.time_of_day + finite(sim.token(TOKEN_ELAPSED_SECONDS)), DAY) + DAY, DAY);
  w.hours = std::floor(now / 3600);
  w.minutes = std::floor((now - w.hours * 3600) / 60);
  sim.set_token(TOKEN_HOURS, w.hours);
  sim.set_token(TOKEN_MINUTES, w.minutes);
}

void step_time(Sim& sim, Written& w) {
  // A time set from outside becomes the new time of day.
  if (sim.token(TOKEN_HOURS) != w.hours || sim.token(TOKEN_MINUTES) != w.minutes)
    w.time_of_day = finite(sim.token(TOKEN_HOURS)) * 3600 + finite(sim.token(TOKEN_MINUTES)) * 60 -
                    finite(sim.token(TOKEN_ELAPSED_SECONDS));
  publish_time(sim, w);
}

} // namespace

bool engine_gauges_key_event(Sim& sim, std::uint32_t id, std::uint32_t) {
  Written& w = models[&sim];
  switch (id) {
  case KEY_HOURS_DEC: w.time_of_day -= 3600; break;
  case KEY_HOURS_INC: w.time_of_day += 3600; break;
  case KEY_MINUTES_DEC: w.time_of_day -= 60; break;
  case KEY_MINUTES_INC: w.time_of_day += 60; break;
  default: return false;
  }
  publish_time(sim, w);
  return true;
}

void engine_gauges_reset(Sim& sim) {
  models[&sim] = Written{};
  for (std::uint32_t id : {TOKEN_AILERON, TOKEN_RUDDER, TOKEN_ELEVATOR, TOKEN_ELEVATOR_TRIM})
    sim.set_token(id, 0.0);
  sim.set_token(TOKEN_TAT, AMBIENT_C / 256.0);
  Written& w = models[&sim];
  for (int i = 0; i < 2; ++i)
    step_engine(sim, w, i);
  publish_time(sim, w);
}

void engine_gauges_frame(Sim& sim) {
  Written& w = models[&sim];
  for (int i = 0; i < 2; ++i)
    step_engine(sim, w, i);
  step_time(sim, w);
}

} // namespace k7host
