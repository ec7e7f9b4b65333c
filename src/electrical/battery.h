// The battery: its current from the network's state, and its charge on the simulation clock.
// Pure functions over a copy of the battery's state, so that the DC network gauge and the tests
// drive the same arithmetic.
#pragma once

#include "module/types.h"

namespace elec {

// A full battery, in charge units (the capacity whenever the battery can be charged).
constexpr i32 BATT_FULL = 1800;
// The capacity of the battery off its normal path (commutator at 0).
constexpr i32 BATT_CAPACITY_OFF = 900;

struct BatteryInputs {
  bool connected;        // master in battery position
  u8 commutator;         // 0 off, 1 normal, 2 standby/start
  bool starter_engaged;  // an engine starter running
  bool ground_feeding;   // ground power feeds the network
  bool generator_online; // either generator (as of the previous update)
  bool tadg_running;
};

// The battery current in amperes: 0 off the network, -120 starting an engine from the battery,
// -50 or -10 discharging (with or without the TADG), charging at 50 tapering to 0 at full charge.
i8 battery_current(const BatteryInputs& in, u32 capacity, i16 charge);

struct BatteryState {
  i16 charge;
  u32 drain;      // charge drawn from the full battery, in thirds of a unit
  u8 discharging; // discharge timing running
  u32 discharge_clock;
  u8 charging; // charge timing running
  u32 charge_clock;
  i16 charge_noted;
};

// One update of the charge at the whole-second clock `now`. A discharge draws 3, 1 or 1/3 unit
// per second at -120, -50 or -10 A from the battery's own charge, so the charge never rises
// while discharging, whatever the rate or the capacity does; a charge adds one unit per second
// to the charge noted at its start, up to the capacity. A clock behind the noted one restarts the
// timing from now.
BatteryState battery_step(BatteryState s, i8 current, bool connected, u32 capacity, u32 now);

} // namespace elec
