// The stand-in's aircraft: the simulator's autopilot as the cockpit's autopilot uses it. Its mode
// switches (set, not toggled: the panel repeats them every frame), the references it is given, and
// a minimal response while its master is engaged: the vertical speed moves toward its reference
// and levels at the altitude reference, the pitch follows the vertical speed, heading hold banks
// toward the reference heading and the heading turns with the bank, the wing leveller levels and
// aileron commands roll. With the master off every token stays as a test or scenario set it; the
// body velocities follow the airspeed only when the airspeed changes.
#include "host/model.h"

#include <cmath>
#include <cstdint>
#include <map>

namespace k7host {

namespace {

enum : std::uint32_t {
  TOKEN_COURSE = 0x2d,
  TOKEN_VERTICAL_SPEED = 0x41, // 1/256 m/s
  TOKEN_ALTITUDE = 0x4a,       // feet
  TOKEN_PITCH = 0x4e,          // degrees, nose-up negative
  TOKEN_BANK_360 = 0x4f,       // degrees 0..360
  TOKEN_BANK = 0x50,           // degrees, left wing down positive
  TOKEN_HEADING = 0x54,        // degrees 0..360
  TOKEN_AP_MASTER = 0x67,
  TOKEN_AP_WING_LEVELER = 0x68,
  TOKEN_AP_NAV = 0x69,
  TOKEN_AP_HEADING = 0x6a,
  TOKEN_AP_ALTITUDE = 0x6c,
  TOKEN_AP_APPROACH = 0x6f,
  TOKEN_AP_GLIDE = 0x70,
  TOKEN_GLIDE_RECEIVED = 0x2c,
  TOKEN_BODY_LONGITUDINAL = 0x227,
  TOKEN_BODY_LATERAL = 0x228,
};

enum : std::uint32_t {
  KEY_AP_ALT_HOLD_ON = 0x100BE,
  KEY_AP_DISCONNECT = 0x100FF,
  KEY_AP_ENGAGE = 0x10100,
  KEY_AP_APPROACH_ON = 0x1010D,
  KEY_AP_HEADING_ON = 0x1010F,
  KEY_AP_LEVELER_ON = 0x10111,
  KEY_AP_NAV_ON = 0x10113,
  KEY_AP_NAV_OFF_2 = 0x10115,
  KEY_AP_APPROACH_OFF = 0x10116,
  KEY_AP_HEADING_OFF = 0x10117,
  KEY_AP_LEVELER_OFF = 0x10119,
  KEY_AP_NAV_OFF = 0x1011B,
  KEY_AP_VS_REF = 0x101F4,
  KEY_AP_ALT_REF = 0x1024C,
  KEY_AP_HEADING_REF = 0x101FA,
  KEY_AILERON_SET = 0x1009F,
  KEY_RUDDER_SET = 0x100A0,
  KEY_ELEVATOR_SET = 0x1009E,
  KEY_ELEVATOR_STEP_DOWN = 0x10048,
  KEY_ELEVATOR_STEP_UP = 0x10050,
};

constexpr double RAW_PER_FPM = 1.30048;
constexpr double VS_RATE = 100.0;    // ft/min gained or lost per frame
constexpr double CAPTURE_GAIN = 4.0; // ft/min per foot from the altitude reference
constexpr double PITCH_TRIM = 2.0;   // degrees nose-up in level flight
constexpr double PITCH_PER_FPM = 1.0 / 500.0;
constexpr double ROLL_RATE = 1.0; // degrees per frame
constexpr double MAX_BANK = 25.0;
constexpr double BANK_PER_DEGREE = 2.5;  // heading hold: bank per degree of heading error
constexpr double TURN_RATE = 0.12;       // degrees of heading per second per degree of bank
constexpr double AILERON_FULL = 8000.0;  // an aileron command this large rolls at ROLL_RATE
constexpr double KNOTS_TO_FEET = 1.6878; // body velocities in feet per second
constexpr double SIDESLIP = 0.05;        // lateral over longitudinal velocity: a little drift

// The references the autopilot was given, the last aileron command, the last airspeed seen.
struct Autopilot {
  double vs_ref = 0.0;       // ft/min
  double altitude_ref = 0.0; // feet
  double heading_ref = 0.0;  // degrees
  double aileron = 0.0;
  double airspeed = 0.0;
};
std::map<const Sim*, Autopilot> autopilots;

double as_signed(std::uint32_t value) {
  return static_cast<double>(static_cast<std::int32_t>(value));
}

double toward(double value, double target, double step) {
  if (target > value + step) return value + step;
  if (target < value - step) return value - step;
  return target;
}

double wrap_180(double angle) {
  double a = std::fmod(angle, 360.0);
  if (a > 180.0) a -= 360.0;
  if (a < -180.0) a += 360.0;
  return a;
}

double wrap_360(double angle) {
  const double a = std::fmod(angle, 360.0);
  return a < 0.0 ? a + 360.0 : a;
}

bool flag(const Sim& sim, std::uint32_t token) {
  return sim.token(token) == 1.0;
}

// The V/S the autopilot flies: its reference, but never past the altitude reference, which it
// captures by slowing down as it comes near; a reference of 0 holds the altitude reference.
double vs_target(const Sim& sim, const Autopilot& ap) {
  const double distance = ap.altitude_ref - sim.token(TOKEN_ALTITUDE);
  const double capture = std::fmax(-6000.0, std::fmin(6000.0, CAPTURE_GAIN * distance));
  if (ap.vs_ref == 0.0) return capture;
  if (ap.vs_ref * distance > 0.0)
    return std::fabs(capture) < std::fabs(ap.vs_ref) ? capture : ap.vs_ref;
  return ap.vs_ref;
}

void set_bank(Sim& sim, double bank) {
  sim.set_token(TOKEN_BANK, bank);
  sim.set_token(TOKEN_BANK_360, wrap_360(bank));
}

} // namespace

bool autopilot_key_event(Sim& sim, std::uint32_t id, std::uint32_t value) {
  Autopilot& ap = autopilots[&sim];
  switch (id) {
  case KEY_AP_ENGAGE: sim.set_token(TOKEN_AP_MASTER, 1.0); return true;
  case KEY_AP_DISCONNECT: sim.set_token(TOKEN_AP_MASTER, 0.0); return true;
  case KEY_AP_ALT_HOLD_ON: sim.set_token(TOKEN_AP_ALTITUDE, 1.0); return true;
  case KEY_AP_LEVELER_ON: sim.set_token(TOKEN_AP_WING_LEVELER, 1.0); return true;
  case KEY_AP_LEVELER_OFF: sim.set_token(TOKEN_AP_WING_LEVELER, 0.0); return true;
  case KEY_AP_HEADING_ON: sim.set_token(TOKEN_AP_HEADING, 1.0); return true;
  case KEY_AP_HEADING_OFF: sim.set_token(TOKEN_AP_HEADING, 0.0); return true;
  case KEY_AP_NAV_ON: sim.set_token(TOKEN_AP_NAV, 1.0); return true;
  case KEY_AP_NAV_OFF:
  case KEY_AP_NAV_OFF_2: sim.set_token(TOKEN_AP_NAV, 0.0); return true;
  case KEY_AP_APPROACH_ON:
    sim.set_token(TOKEN_AP_APPROACH, 1.0);
    if (flag(sim, TOKEN_GLIDE_RECEIVED)) sim.set_token(TOKEN_AP_GLIDE, 1.0);
    return true;
  case KEY_AP_APPROACH_OFF:
    sim.set_token(TOKEN_AP_APPROACH, 0.0);
    sim.set_token(TOKEN_AP_GLIDE, 0.0);
    return true;
  case KEY_AP_VS_REF:
    // Asked to stop climbing or descending, it levels where it is until told another altitude.
    ap.vs_ref = as_signed(value);
    if (ap.vs_ref == 0.0) ap.altitude_ref = sim.token(TOKEN_ALTITUDE);
    return true;
  case KEY_AP_ALT_REF: ap.altitude_ref = as_signed(value); return true;
  case KEY_AP_HEADING_REF: ap.heading_ref = as_signed(value); return true;
  case KEY_AILERON_SET: ap.aileron = as_signed(value); return true;
  case KEY_RUDDER_SET:
  case KEY_ELEVATOR_SET:
  case KEY_ELEVATOR_STEP_DOWN:
  case KEY_ELEVATOR_STEP_UP: return true; // logged only
  default: return false;
  }
}

void autopilot_reset(Sim& sim) {
  for (std::uint32_t token :
       {TOKEN_AP_MASTER, TOKEN_AP_WING_LEVELER, TOKEN_AP_NAV, TOKEN_AP_HEADING, TOKEN_AP_ALTITUDE,
        TOKEN_AP_APPROACH, TOKEN_AP_GLIDE, TOKEN_BODY_LONGITUDINAL, TOKEN_BODY_LATERAL})
    sim.set_token(token, 0.0);
  autopilots[&sim] = {};
}

void autopilot_frame(Sim& sim) {
  Autopilot& ap = autopilots[&sim];
  const double airspeed = sim.token(TOKEN_AIRSPEED);
  if (airspeed != ap.airspeed) {
    const double along = std::isfinite(airspeed) ? airspeed * KNOTS_TO_FEET : 0.0;
    sim.set_token(TOKEN_BODY_LONGITUDINAL, along);
    sim.set_token(TOKEN_BODY_LATERAL, along * SIDESLIP);
    ap.airspeed = airspeed;
  }
  if (!flag(sim, TOKEN_AP_MASTER)) return;

  if (flag(sim, TOKEN_AP_ALTITUDE)) {
    const double vs =
        toward(sim.token(TOKEN_VERTICAL_SPEED) / RAW_PER_FPM, vs_target(sim, ap), VS_RATE);
    sim.set_token(TOKEN_VERTICAL_SPEED, vs * RAW_PER_FPM);
    const double climb = vs / 60.0 / kFramesPerSecond;
    sim.set_token(TOKEN_ALTITUDE, sim.token(TOKEN_ALTITUDE) + climb);
    if (sim.token(TOKEN_AIRCRAFT_ON_GROUND) == 0.0)
      sim.set_token(TOKEN_RADIO_HEIGHT, sim.token(TOKEN_RADIO_HEIGHT) + climb * 0.3048);
    sim.set_token(TOKEN_PITCH, -(PITCH_TRIM + vs * PITCH_PER_FPM));
  }

  double bank = sim.token(TOKEN_BANK);
  if (!std::isfinite(bank)) bank = 0.0;
  if (flag(sim, TOKEN_AP_HEADING)) {
    // Left wing down (positive bank) turns left: toward a reference to the right, bank negative.
    const double error = wrap_180(ap.heading_ref - sim.token(TOKEN_HEADING));
    const double wanted = std::fmax(-MAX_BANK, std::fmin(MAX_BANK, -BANK_PER_DEGREE * error));
    bank = toward(bank, wanted, ROLL_RATE);
  } else if (flag(sim, TOKEN_AP_WING_LEVELER)) {
    bank = toward(bank, 0.0, ROLL_RATE);
  } else {
    // A positive aileron command rolls left.
    bank += ROLL_RATE * std::fmax(-1.0, std::fmin(1.0, ap.aileron / AILERON_FULL));
  }
  set_bank(sim, std::fmax(-90.0, std::fmin(90.0, bank)));
  const double heading = sim.token(TOKEN_HEADING) - TURN_RATE * bank / kFramesPerSecond;
  sim.set_token(TOKEN_HEADING, wrap_360(heading));
}

} // namespace k7host
