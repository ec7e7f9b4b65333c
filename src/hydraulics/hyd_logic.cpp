#include "hydraulics/hyd_logic.h"

#include <limits>

namespace hyd {

namespace {

u16 fall(u16 press, u16 step, u16 floor = 0) {
  return press > floor + step ? static_cast<u16>(press - step) : floor;
}

u16 rise(u16 press, u16 step) {
  return press < 65535 - step ? static_cast<u16>(press + step) : u16{65535};
}

// Regulation of the red pump toward one target: raised by 15 up to `raise_until`, held at the
// target below `shed_from`, shed by `shed` from there.
struct RedBand {
  u16 target;
  u16 raise_until;
  u16 shed_from;
  u16 shed;
  u8 shed_flag; // running flag while shedding
};
constexpr RedBand red_bands[] = {
    {2500, 2485, 2515, 15, 1}, // RED_NORMAL
    {1000, 985, 1050, 50, 2},  // RED_FLAPS: the emergency flap lever is moving the flaps
    {1500, 1470, 1550, 50, 2}, // RED_GEAR: emergency gear extension in progress
};

double gear_fluid(double gear) {
  return gear * 0.0001 * 83.0 * 0.1;
}

constexpr double NONE = std::numeric_limits<double>::quiet_NaN();

struct FlapRow {
  double from;      // lower bound of the angle
  bool from_incl;   // the lower bound belongs to the row
  double to;        // upper bound, excluded
  double exactly;   // one more angle that belongs to the row (NONE: none)
  double target_lo; // the handle's range for this row
  double target_hi;
};
constexpr FlapRow flap_rows[] = {
    {0, true, 3, NONE, 0, 0},
    {3, true, 5, NONE, 1820, 1821},
    {5, false, 8, NONE, 1820, 1821},
    {8, true, 10, 5, 6553, 6554},
    {10, false, 15, NONE, 6553, 6554},
    {15, true, 20, 10, 9830, 9831},
    {20, false, 26, NONE, 9830, 9831},
    {26, true, 32, 20, 13107, 13108},
    {32, false, 39, NONE, 13107, 13108},
    {39, true, 45, NONE, 16384, 16384},
};

} // namespace

void engine_pump_step(u16& press, u8& settled, bool driven) {
  if (!driven) {
    press = fall(press, 15);
    if (press == 0) settled = 0;
  } else if (settled == 0 && press < 2550) {
    press = rise(press, 30);
  } else {
    settled = 1;
    press = press < 2501 ? u16{2500} : fall(press, 15);
  }
}

void yellow_pump_step(u16& press, u8& running, u8& loaded, bool runs, bool green_low,
                      bool holds_500) {
  if (!runs) {
    running = 0;
    loaded = 0;
    if (green_low && holds_500) {
      if (press > 500)
        press = fall(press, 15, 500);
      else if (press < 485)
        press = 0;
    } else {
      press = fall(press, 15);
    }
    return;
  }
  if (press < 2471 && loaded == 0) {
    press = rise(press, 30);
    running = 1;
  } else if (green_low) {
    // Carrying the green loads: the pressure sags by 5 per update to 2000 and holds there.
    if (press < 2005) {
      press = 2000;
      running = 1;
    } else {
      press = fall(press, 5);
      running = 2;
    }
    if (press >= 2005) loaded = 1;
  } else {
    press = 2500;
    running = 1;
  }
}

void red_pump_step(u16& press, u8& running, u8& runup_done, bool runs, RedTarget target) {
  if (!runs) {
    running = 0;
    runup_done = 0;
    return;
  }
  running = 1;
  if (runup_done == 0) {
    if (press < 2471) {
      press = rise(press, 30);
      return;
    }
    runup_done = 1;
  }
  const RedBand& band = red_bands[target <= RED_GEAR ? target : RED_NORMAL];
  if (press <= band.raise_until) {
    press = rise(press, 15);
  } else if (press < band.shed_from) {
    press = band.target;
  } else {
    press = fall(press, band.shed);
    running = band.shed_flag;
  }
}

u16 red_after_brake_application(u16 press) {
  return fall(press, 50);
}

u16 green_level_normal(bool level_failed, double gear) {
  if (level_failed) return 15;
  if (gear < 3000) return 50;
  if (gear > 12000) return 60;
  return static_cast<u16>(50 + k7::sat_cast<u16>(gear_fluid(gear)));
}

u16 green_level_leaking(u16 reserve, double gear, double spoilers) {
  if (spoilers > 16000) return 15;
  if (reserve < 15) return 15;
  if (gear < 3000) return reserve;
  if (reserve >= 50) return 60;
  if (gear > 12000) return static_cast<u16>(reserve + 10);
  return static_cast<u16>(reserve + k7::sat_cast<u16>(gear_fluid(gear)));
}

u16 brake_psi(double token) {
  // The brake tokens run from 0 (off) to 32768 (full); more is noise from the simulator.
  return k7::sat_cast<u16>(k7::clamp(k7::finite_or(token, 0.0), 0.0, 32768.0) / 20.0);
}

u32 flap_lock_key(double flap_angle, double flap_handle) {
  for (const FlapRow& row : flap_rows) {
    const bool above_from = row.from_incl ? flap_angle >= row.from : flap_angle > row.from;
    if (!((above_from && flap_angle < row.to) || flap_angle == row.exactly)) continue;
    // The handle is brought toward the row's detent from whichever side it is on.
    if (flap_handle < row.target_lo) return KEY_FLAPS_INCR;
    if (flap_handle > row.target_hi) return KEY_FLAPS_DECR;
    return 0;
  }
  return 0;
}

void yellow_command_step(u8& command, bool selected, bool main_bus) {
  if (!selected)
    command = 0;
  else if (command == 0)
    command = 3;
  else if (command == 3 && main_bus)
    command = 1;
}

} // namespace hyd
