// The stand-in's aircraft: what the air data instruments read. At rest on the ground the model
// writes nothing, so every token stays as set. Take-off power on the ground (both engines running,
// a throttle at 0.8 or more) starts a take-off run: the airspeed builds up with the throttles, the
// aircraft lifts off at 160 knots and climbs toward 8000 ft and 250 knots, the altitude integrating
// the vertical speed token, the radio height following the altitude above the field, the Mach
// number following speed and altitude. The model drives the vertical speed only while the autopilot
// master (token 0x67) is 0; otherwise the autopilot's part of the model moves it, and with the
// autopilot's altitude mode (token 0x6C) also the altitude and radio height. Once the
// aircraft is back on the ground, at rest with the throttles back, the model stops.
//
// While the model runs, a token set from outside (a scenario, a test) is held where it was put:
// the model reads it but no longer writes it, until the model next stops.
//
// Also here: the baro-setting key event (tokens 0x4B, 0x4C), the ATC window key events, the
// gross weight and the ADF 2 radial of the calculator.
#include "host/model.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

namespace k7host {

namespace {

enum : std::uint32_t {
  TOKEN_MACH = 0x040,
  TOKEN_AIRSPEED_FINE = 0x03F,  // 1/128 knot
  TOKEN_VERTICAL_SPEED = 0x041, // 1/256 m/s
  TOKEN_ALTITUDE = 0x04A,       // feet
  TOKEN_BARO_HPA = 0x04B,
  TOKEN_BARO_INHG = 0x04C,
  TOKEN_AUTOPILOT_MASTER = 0x067,
  TOKEN_AUTOPILOT_ALTITUDE = 0x06C, // the autopilot's vertical mode: it moves the altitude itself
  TOKEN_ANGLE_OF_ATTACK = 0x15D,
  TOKEN_THROTTLE1 = 0x22E,
  TOKEN_THROTTLE2 = 0x238,
  TOKEN_N2_1 = 0x271,
  TOKEN_N2_2 = 0x284,
};

constexpr std::uint32_t KEY_BARO_SET = 0x101F8; // 1/16 hPa
constexpr std::uint32_t KEY_ATC_OPEN = 0x103D1;
constexpr std::uint32_t KEY_ATC_CLOSE = 0x103D2;

const char* const GROSS_WEIGHT = "(A:TOTAL WEIGHT,kilogram)";
const char* const ADF2_RADIAL = "(A:ADF Radial:2,radians)";

constexpr double TAKE_OFF_POWER = 0.8;
constexpr double RUNNING_N2 = 50.0; // an engine below this gives no thrust to speak of
constexpr double ROTATE_KNOTS = 160.0;
constexpr double CRUISE_FEET = 8000.0;
constexpr double CLIMB_FPM = 2500.0;
constexpr double VS_CHANGE_FPM_PER_S = 500.0;
constexpr double FEET_PER_METRE = 3.281;
constexpr double HPA_PER_INHG = 33.8639;
constexpr double dt = 1.0 / kFramesPerSecond;

struct AirData {
  bool running = false;
  double field_feet = 0.0;
  std::map<std::uint32_t, double> written; // what the model last wrote
  std::set<std::uint32_t> held;            // set from outside since: left alone
  bool atc_window_open = false;
};

std::map<const Sim*, AirData> models;

double finite(double v) {
  return std::isfinite(v) ? v : 0.0;
}

void write(Sim& sim, AirData& m, std::uint32_t token, double value) {
  if (m.held.count(token) != 0) return;
  sim.set_token(token, value);
  m.written[token] = value;
}

void note_outside_writes(const Sim& sim, AirData& m) {
  for (const auto& [token, value] : m.written) {
    const double now = sim.token(token);
    if (now != value && !(std::isnan(now) && std::isnan(value))) m.held.insert(token);
  }
}

double toward(double value, double target, double step) {
  return value < target ? std::min(target, value + step) : std::max(target, value - step);
}

// The thrust of both engines together, 0..1: each running engine gives half at full throttle.
double thrust(const Sim& sim) {
  double t = 0.0;
  for (auto [n2, throttle] :
       {std::pair{TOKEN_N2_1, TOKEN_THROTTLE1}, {TOKEN_N2_2, TOKEN_THROTTLE2}})
    if (finite(sim.token(n2)) >= RUNNING_N2)
      t += std::clamp(finite(sim.token(throttle)), 0.0, 1.0) / 2;
  return t;
}

void step_running(Sim& sim, AirData& m, double throttle) {
  const bool on_ground = sim.token(TOKEN_AIRCRAFT_ON_GROUND) == 1.0;
  double ias = std::max(0.0, finite(sim.token(TOKEN_AIRSPEED)));
  double altitude = finite(sim.token(TOKEN_ALTITUDE));
  const bool autopilot = sim.token(TOKEN_AUTOPILOT_MASTER) == 1.0;
  const bool autopilot_climbs = autopilot && sim.token(TOKEN_AUTOPILOT_ALTITUDE) == 1.0;
  double vs_fpm = finite(sim.token(TOKEN_VERTICAL_SPEED)) / 256.0 * FEET_PER_METRE * 60.0;

  if (on_ground) {
    const double accel = throttle >= 0.3 ? 4.0 * thrust(sim) - 0.5 : -5.0; // knots per second
    ias = std::max(0.0, ias + accel * dt);
    if (!autopilot) vs_fpm = 0.0;
    if (ias >= ROTATE_KNOTS && throttle >= TAKE_OFF_POWER)
      write(sim, m, TOKEN_AIRCRAFT_ON_GROUND, 0.0);
  } else {
    ias = toward(ias, 150.0 + 100.0 * thrust(sim), 2.0 * dt);
    if (!autopilot) {
      const double target = std::clamp((CRUISE_FEET - altitude) * 2.0, -1500.0, CLIMB_FPM);
      vs_fpm = toward(vs_fpm, target, VS_CHANGE_FPM_PER_S * dt);
    }
    if (!autopilot_climbs)
      altitude += finite(sim.token(TOKEN_VERTICAL_SPEED)) / 256.0 * FEET_PER_METRE * dt;
    if (altitude <= m.field_feet && vs_fpm < 0.0) { // touchdown
      altitude = m.field_feet;
      vs_fpm = 0.0;
      write(sim, m, TOKEN_AIRCRAFT_ON_GROUND, 1.0);
    }
  }
  // What the autopilot's model moves is its own while it does: not held when it changes.
  if (autopilot)
    m.written.erase(TOKEN_VERTICAL_SPEED);
  else
    write(sim, m, TOKEN_VERTICAL_SPEED, vs_fpm / 60.0 / FEET_PER_METRE * 256.0);
  if (autopilot_climbs) {
    m.written.erase(TOKEN_ALTITUDE);
    m.written.erase(TOKEN_RADIO_HEIGHT);
  } else {
    write(sim, m, TOKEN_ALTITUDE, altitude);
    const double radio_altitude = finite(sim.token(TOKEN_ALTITUDE)) - m.field_feet;
    write(sim, m, TOKEN_RADIO_HEIGHT, std::max(0.0, radio_altitude) / FEET_PER_METRE);
  }

  write(sim, m, TOKEN_AIRSPEED, ias);
  write(sim, m, TOKEN_AIRSPEED_FINE, ias * 128.0);
  const double true_airspeed = ias * (1.0 + 0.02 * std::max(0.0, altitude) / 1000.0);
  write(sim, m, TOKEN_MACH, true_airspeed / 661.5 * 20480.0);
  const double aoa =
      on_ground ? 4000.0 : std::clamp(12000.0 - (ias - 150.0) * 40.0, 4000.0, 20000.0);
  write(sim, m, TOKEN_ANGLE_OF_ATTACK, aoa);
}

} // namespace

bool airdata_key_event(Sim& sim, std::uint32_t id, std::uint32_t value) {
  switch (id) {
  case KEY_BARO_SET: {
    const double hpa = static_cast<double>(value) / 16.0;
    sim.set_token(TOKEN_BARO_HPA, hpa);
    sim.set_token(TOKEN_BARO_INHG, hpa / HPA_PER_INHG);
    return true;
  }
  case KEY_ATC_OPEN: models[&sim].atc_window_open = true; return true;
  case KEY_ATC_CLOSE: models[&sim].atc_window_open = false; return true;
  default: return false;
  }
}

void airdata_reset(Sim& sim) {
  models[&sim] = AirData{};
  for (std::uint32_t token : {TOKEN_AIRSPEED_FINE, TOKEN_MACH, TOKEN_VERTICAL_SPEED, TOKEN_ALTITUDE,
                              TOKEN_ANGLE_OF_ATTACK})
    sim.set_token(token, 0.0);
  sim.set_token(TOKEN_BARO_HPA, 1013.25);
  sim.set_token(TOKEN_BARO_INHG, 1013.25 / HPA_PER_INHG);
  sim.set_calc(GROSS_WEIGHT, 50000.0);
  sim.set_calc(ADF2_RADIAL, 0.0);
}

void airdata_frame(Sim& sim) {
  AirData& m = models[&sim];
  const double throttle =
      std::max(finite(sim.token(TOKEN_THROTTLE1)), finite(sim.token(TOKEN_THROTTLE2)));
  const bool on_ground = sim.token(TOKEN_AIRCRAFT_ON_GROUND) == 1.0;
  if (!m.running) {
    const bool engines_running =
        finite(sim.token(TOKEN_N2_1)) >= RUNNING_N2 && finite(sim.token(TOKEN_N2_2)) >= RUNNING_N2;
    if (!on_ground || throttle < TAKE_OFF_POWER || !engines_running) return;
    m = AirData{true,
                finite(sim.token(TOKEN_ALTITUDE)) -
                    finite(sim.token(TOKEN_RADIO_HEIGHT)) * FEET_PER_METRE,
                {},
                {},
                m.atc_window_open};
  }
  note_outside_writes(sim, m);
  step_running(sim, m, throttle);
  const bool at_rest = sim.token(TOKEN_AIRCRAFT_ON_GROUND) == 1.0 && throttle < TAKE_OFF_POWER &&
                       !(finite(sim.token(TOKEN_AIRSPEED)) > 0.0);
  if (at_rest) m = AirData{false, 0.0, {}, {}, m.atc_window_open};
}

bool airdata_atc_window_open(const Sim& sim) {
  auto it = models.find(&sim);
  return it != models.end() && it->second.atc_window_open;
}

} // namespace k7host
