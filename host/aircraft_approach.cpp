// The stand-in's aircraft: the simulator's autothrottle as the cockpit's autothrottle uses it, and
// a straight-in approach to one runway.
//
// Autothrottle: its arm and disarm events set the armed flag, the speed reference and the flag
// needed before arming are set by their events, and the second engine's throttle lever is set
// like the first one's (position in 1/16384 of full travel, the whole-unit token beside it).
//
// Touchdown: an aircraft descending through zero radio height is on the ground (token 0x3C); while
// the approach below runs it then stays where it touched down, until it is airborne again.
//
// The approach, while the named variable "k7host_ils" is 1: the runway (inbound course
// "k7host_ils_course", degrees; threshold elevation "k7host_ils_field", feet) has an ILS with a
// 3-degree glide path. The aircraft's place is "k7host_ils_distance" (nautical miles from the
// threshold along the course, positive short of it) and "k7host_ils_offset" (feet right of the
// centreline); a scenario sets them to place the aircraft, and the model moves them with the
// heading and airspeed. From them come NAV 1's localizer and glide deviations (0x28, 0x29), the
// glide slope received (0x2C), the signal (0x31), the course (0x2D) and the station code (0x2E).
// With the simulator's approach mode on (0x6F) its autopilot steers onto the localizer; with its
// autothrottle armed (0x73) the throttles move to hold the speed reference (0x74); the airspeed
// follows the thrust and the vertical speed, and runs down on the ground. Otherwise these
// tokens stay as set. "k7host_gust" (feet) lifts the aircraft once by that much.
#include "host/model.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <utility>

namespace k7host {

namespace {

enum : std::uint32_t {
  TOKEN_LOCALIZER_DEVIATION = 0x28, // needle units, positive: the course lies to the right
  TOKEN_GLIDE_DEVIATION = 0x29,     // needle units, positive: above the glide path
  TOKEN_GLIDE_RECEIVED = 0x2c,
  TOKEN_COURSE = 0x2d,
  TOKEN_STATION = 0x2e, // 0x80 localizer, 0x40 glide slope
  TOKEN_SIGNAL = 0x31,
  TOKEN_VERTICAL_SPEED = 0x41, // 1/256 m/s
  TOKEN_ALTITUDE = 0x4a,       // feet
  TOKEN_BANK = 0x50,           // degrees, left wing down positive
  TOKEN_BANK_360 = 0x4f,
  TOKEN_HEADING = 0x54,
  TOKEN_AP_MASTER = 0x67,
  TOKEN_AP_APPROACH = 0x6f,
  TOKEN_THROTTLE1 = 0x22e,
  TOKEN_THROTTLE1_UNITS = 0x80,
  TOKEN_N2_1 = 0x271,
  TOKEN_N2_2 = 0x284,
  TOKEN_AUTOTHROTTLE_ARMED = 0x73,
  TOKEN_SPEED_REF = 0x74,
  TOKEN_BEFORE_ARMING = 0x7b,
  TOKEN_THROTTLE2 = 0x238,
  TOKEN_THROTTLE2_UNITS = 0xa3,
};

enum : std::uint32_t {
  KEY_THROTTLE2_SET = 0x1011D,
  KEY_BEFORE_ARMING = 0x10144,
  KEY_SPEED_REF = 0x101F5,
  KEY_ARM = 0x1022D,
  KEY_DISARM = 0x1022E,
};

const char* const ILS = "k7host_ils";
const char* const ILS_COURSE = "k7host_ils_course";
const char* const ILS_FIELD = "k7host_ils_field";
const char* const ILS_DISTANCE = "k7host_ils_distance";
const char* const ILS_OFFSET = "k7host_ils_offset";
const char* const GUST = "k7host_gust";

constexpr double PI = 3.14159265358979323846;
constexpr double FEET_PER_NM = 6076.12;
constexpr double FEET_PER_METRE = 3.281;
constexpr double RAW_PER_FPM = 1.30048;
constexpr double dt = 1.0 / kFramesPerSecond;

// The runway's radio aids: the localizer antenna beyond the far end, the glide slope antenna
// beside the touchdown zone; full-scale needle deflections and where each is received.
constexpr double LOCALIZER_BEYOND_FT = 10000.0;
constexpr double GLIDE_BEYOND_FT = 1000.0;
constexpr double GLIDE_ANGLE = 3.0;
constexpr double LOCALIZER_FULL_SCALE = 2.5; // degrees for 127 needle units
constexpr double GLIDE_FULL_SCALE = 0.7;     // degrees for 119 needle units
constexpr double LOCALIZER_RANGE_NM = 25.0;
constexpr double LOCALIZER_SECTOR = 35.0; // degrees either side of the course
constexpr double GLIDE_RANGE_NM = 10.0;
constexpr double GLIDE_SECTOR = 8.0;
constexpr double SIGNAL = 1000.0;

// The simulator's approach steering: an intercept angle by the distance off the centreline, a
// bank by the heading error.
constexpr double INTERCEPT_PER_FOOT = 0.01; // degrees
constexpr double MAX_INTERCEPT = 30.0;
constexpr double BANK_PER_DEGREE = 2.5;
constexpr double MAX_BANK = 25.0;
constexpr double ROLL_RATE = 1.0; // degrees per frame

// Speed: level at 100 kt with the throttles closed, 160 kt more at full thrust; 1000 ft/min of
// climb costs 15 kt. On the ground, throttles closed, the aircraft brakes to a stop.
constexpr double IDLE_KNOTS = 100.0;
constexpr double THRUST_KNOTS = 160.0;
constexpr double KNOTS_PER_FPM = 0.015;
constexpr double SPEED_TIME_CONSTANT = 15.0; // seconds
constexpr double MOST_ACCELERATION = 2.5;    // knots per second
constexpr double GROUND_BRAKING = 4.0;       // knots per second
constexpr double RUNNING_N2 = 50.0;

// The simulator's autothrottle: levers toward what holds the reference, with a correction for
// the speed error, at most 0.01 of travel per frame.
constexpr double THROTTLE_PER_KNOT = 0.02;
constexpr double THROTTLE_RATE = 0.01;

struct Approach {
  double last_height = 0.0;     // radio height of the frame before, metres
  bool landed = false;          // on the ground since a touchdown of this model
  double ground_altitude = 0.0; // feet, where it touched down
};
std::map<const Sim*, Approach> approaches;

double as_signed(std::uint32_t value) {
  return static_cast<double>(static_cast<std::int32_t>(value));
}

double finite(double v) {
  return std::isfinite(v) ? v : 0.0;
}

double toward(double value, double target, double step) {
  return value < target ? std::min(target, value + step) : std::max(target, value - step);
}

double wrap_180(double angle) {
  double a = std::fmod(angle, 360.0);
  if (a > 180.0) a -= 360.0;
  if (a < -180.0) a += 360.0;
  return a;
}

double degrees(double radians) {
  return radians * 180.0 / PI;
}

void set_throttle(Sim& sim, std::uint32_t lever, std::uint32_t units, double position) {
  const double p = std::clamp(position, 0.0, 1.0);
  sim.set_token(lever, p);
  sim.set_token(units, p * 16384.0);
}

// Both engines' thrust together, 0..1: a running engine gives half at full throttle.
double thrust(const Sim& sim) {
  double t = 0.0;
  if (finite(sim.token(TOKEN_N2_1)) >= RUNNING_N2)
    t += std::clamp(finite(sim.token(TOKEN_THROTTLE1)), 0.0, 1.0) / 2;
  if (finite(sim.token(TOKEN_N2_2)) >= RUNNING_N2)
    t += std::clamp(finite(sim.token(TOKEN_THROTTLE2)), 0.0, 1.0) / 2;
  return t;
}

double vs_fpm(const Sim& sim) {
  return finite(sim.token(TOKEN_VERTICAL_SPEED)) / RAW_PER_FPM;
}

// ---- touchdown

// With `hold`, an aircraft that touched down stays at the height it touched down.
void touchdown(Sim& sim, Approach& a, bool hold) {
  const double height = finite(sim.token(TOKEN_RADIO_HEIGHT));
  const bool airborne = sim.token(TOKEN_AIRCRAFT_ON_GROUND) == 0.0;
  if (airborne && a.last_height > 0.0 && height <= 0.0) {
    sim.set_token(TOKEN_AIRCRAFT_ON_GROUND, 1.0);
    a.landed = true;
    a.ground_altitude = finite(sim.token(TOKEN_ALTITUDE)) - height * FEET_PER_METRE;
  }
  a.last_height = height;
  if (!a.landed) return;
  if (sim.token(TOKEN_AIRCRAFT_ON_GROUND) != 1.0 || !hold) {
    a.landed = false;
    return;
  }
  sim.set_token(TOKEN_RADIO_HEIGHT, 0.0);
  sim.set_token(TOKEN_ALTITUDE, a.ground_altitude);
  sim.set_token(TOKEN_VERTICAL_SPEED, 0.0);
  a.last_height = 0.0;
}

// ---- the approach

// A gust lifts the aircraft by the feet it is given, once.
void gust(Sim& sim) {
  const double feet = finite(sim.named(GUST));
  if (feet == 0.0) return;
  sim.set_token(TOKEN_ALTITUDE, finite(sim.token(TOKEN_ALTITUDE)) + feet);
  sim.set_token(TOKEN_RADIO_HEIGHT,
                std::max(0.0, finite(sim.token(TOKEN_RADIO_HEIGHT)) + feet / FEET_PER_METRE));
  sim.set_named(GUST, 0.0);
}

struct Place {
  double along_ft; // short of the threshold
  double right_ft; // of the centreline
  double above_ft; // the threshold
  double course;
};

Place place(const Sim& sim) {
  return {finite(sim.named(ILS_DISTANCE)) * FEET_PER_NM, finite(sim.named(ILS_OFFSET)),
          finite(sim.token(TOKEN_ALTITUDE)) - finite(sim.named(ILS_FIELD)),
          finite(sim.named(ILS_COURSE))};
}

// The aircraft moves over the ground with its heading and airspeed (no wind).
void move(Sim& sim) {
  const double knots = std::max(0.0, finite(sim.token(TOKEN_AIRSPEED)));
  const double off_course =
      (finite(sim.token(TOKEN_HEADING)) - finite(sim.named(ILS_COURSE))) * PI / 180.0;
  const double nm = knots / 3600.0 * dt;
  sim.set_named(ILS_DISTANCE, finite(sim.named(ILS_DISTANCE)) - nm * std::cos(off_course));
  sim.set_named(ILS_OFFSET,
                finite(sim.named(ILS_OFFSET)) + nm * FEET_PER_NM * std::sin(off_course));
}

void radios(Sim& sim) {
  const Place p = place(sim);
  const double to_localizer = p.along_ft + LOCALIZER_BEYOND_FT;
  const double to_glide = p.along_ft + GLIDE_BEYOND_FT;
  const double bearing = degrees(std::atan2(p.right_ft, to_localizer)); // right of the course
  const double range_nm = std::hypot(p.along_ft, p.right_ft) / FEET_PER_NM;
  const bool localizer = to_localizer > 0.0 && std::fabs(bearing) <= LOCALIZER_SECTOR &&
                         range_nm <= LOCALIZER_RANGE_NM;
  const bool glide = localizer && to_glide > 0.0 && std::fabs(bearing) <= GLIDE_SECTOR &&
                     range_nm <= GLIDE_RANGE_NM;
  const double glide_error = degrees(std::atan2(p.above_ft, to_glide)) - GLIDE_ANGLE;
  sim.set_token(TOKEN_LOCALIZER_DEVIATION,
                localizer ? std::clamp(-bearing / LOCALIZER_FULL_SCALE * 127.0, -127.0, 127.0)
                          : 0.0);
  sim.set_token(TOKEN_GLIDE_DEVIATION,
                glide ? std::clamp(glide_error / GLIDE_FULL_SCALE * 119.0, -119.0, 119.0) : 0.0);
  sim.set_token(TOKEN_GLIDE_RECEIVED, glide ? 1.0 : 0.0);
  sim.set_token(TOKEN_SIGNAL, localizer ? SIGNAL : 0.0);
  sim.set_token(TOKEN_STATION, localizer ? 0x80 | 0x40 : 0.0);
  if (localizer) sim.set_token(TOKEN_COURSE, p.course);
}

// The simulator's autopilot in its approach mode turns onto the centreline and follows it.
void localizer_steering(Sim& sim) {
  if (sim.token(TOKEN_AP_MASTER) != 1.0 || sim.token(TOKEN_AP_APPROACH) != 1.0 ||
      sim.token(TOKEN_SIGNAL) <= 0.0 || sim.token(TOKEN_AIRCRAFT_ON_GROUND) != 0.0)
    return;
  const Place p = place(sim);
  const double intercept =
      std::clamp(-p.right_ft * INTERCEPT_PER_FOOT, -MAX_INTERCEPT, MAX_INTERCEPT);
  const double error = wrap_180(p.course + intercept - finite(sim.token(TOKEN_HEADING)));
  const double wanted = std::clamp(-BANK_PER_DEGREE * error, -MAX_BANK, MAX_BANK);
  const double bank = toward(finite(sim.token(TOKEN_BANK)), wanted, ROLL_RATE);
  sim.set_token(TOKEN_BANK, bank);
  sim.set_token(TOKEN_BANK_360, bank < 0.0 ? bank + 360.0 : bank);
}

void airspeed(Sim& sim) {
  const double knots = std::max(0.0, finite(sim.token(TOKEN_AIRSPEED)));
  double next;
  if (sim.token(TOKEN_AIRCRAFT_ON_GROUND) == 1.0) {
    if (thrust(sim) >= 0.15) return; // a take-off run is the air data model's
    next = toward(knots, 0.0, GROUND_BRAKING * dt);
  } else {
    const double settles = IDLE_KNOTS + THRUST_KNOTS * thrust(sim) - KNOTS_PER_FPM * vs_fpm(sim);
    const double change = (settles - knots) / SPEED_TIME_CONSTANT;
    next = knots + std::clamp(change, -MOST_ACCELERATION, MOST_ACCELERATION) * dt;
  }
  sim.set_token(TOKEN_AIRSPEED, next);
}

// The simulator's autothrottle, while armed: the levers go where they hold the reference speed.
void autothrottle(Sim& sim) {
  if (sim.token(TOKEN_AUTOTHROTTLE_ARMED) != 1.0) return;
  const double reference = finite(sim.token(TOKEN_SPEED_REF));
  const double knots = finite(sim.token(TOKEN_AIRSPEED));
  const double holds = (reference - IDLE_KNOTS + KNOTS_PER_FPM * vs_fpm(sim)) / THRUST_KNOTS;
  const double wanted = std::clamp(holds + THROTTLE_PER_KNOT * (reference - knots), 0.0, 1.0);
  for (auto [lever, units] : {std::pair{TOKEN_THROTTLE1, TOKEN_THROTTLE1_UNITS},
                              std::pair{TOKEN_THROTTLE2, TOKEN_THROTTLE2_UNITS}})
    set_throttle(sim, lever, units, toward(finite(sim.token(lever)), wanted, THROTTLE_RATE));
}

} // namespace

// The simulator's speed reference starts at the autothrottle's own selection.
void approach_reset(Sim& sim) {
  sim.set_token(TOKEN_SPEED_REF, 145.0);
  sim.set_token(TOKEN_AUTOTHROTTLE_ARMED, 0.0);
  approaches[&sim] = {};
}

bool approach_key_event(Sim& sim, std::uint32_t id, std::uint32_t value) {
  switch (id) {
  case KEY_ARM: sim.set_token(TOKEN_AUTOTHROTTLE_ARMED, 1.0); return true;
  case KEY_DISARM: sim.set_token(TOKEN_AUTOTHROTTLE_ARMED, 0.0); return true;
  case KEY_BEFORE_ARMING: sim.set_token(TOKEN_BEFORE_ARMING, as_signed(value)); return true;
  case KEY_SPEED_REF: sim.set_token(TOKEN_SPEED_REF, as_signed(value)); return true;
  case KEY_THROTTLE2_SET:
    set_throttle(sim, TOKEN_THROTTLE2, TOKEN_THROTTLE2_UNITS, as_signed(value) / 16384.0);
    return true;
  default: return false;
  }
}

// After the autopilot's part: the approach model moves what the autopilot left.
void approach_frame(Sim& sim) {
  Approach& a = approaches[&sim];
  const bool flying = sim.named(ILS) == 1.0;
  if (flying) {
    gust(sim);
    move(sim);
    radios(sim);
    localizer_steering(sim);
    autothrottle(sim);
    airspeed(sim);
  }
  touchdown(sim, a, flying);
}

} // namespace k7host
