#include "electrical/battery.h"

namespace elec {

namespace {

constexpr i64 DRAIN_FLAT = 3 * static_cast<i64>(BATT_FULL);

// Thirds of a charge unit drawn per second at a discharge current.
i64 drain_rate(i8 current) {
  if (current <= -120) return 9;
  if (current <= -50) return 3;
  if (current < -1) return 1;
  return 0;
}

} // namespace

i8 battery_current(const BatteryInputs& in, u32 capacity, i16 charge) {
  if (!in.connected) return 0;
  if (in.commutator == 2 && in.starter_engaged && !in.ground_feeding) return -120;
  const i8 discharge = in.tadg_running ? i8{-50} : i8{-10};
  if (!in.generator_online || in.commutator != 1) return discharge;
  // Charging: 50 A, tapering to what the battery still takes in its last 50 units, 0 when full.
  const i64 room = static_cast<i64>(capacity) - charge;
  return static_cast<i8>(k7::clamp<i64>(room, 0, 50));
}

BatteryState battery_step(BatteryState s, i8 current, bool connected, u32 capacity, u32 now) {
  // A battery off the network neither charges nor discharges; its timings start afresh when it
  // comes back.
  if (!connected) {
    s.discharging = 0;
    s.charging = 0;
    return s;
  }
  if (current < 0) s.charging = 0;
  if (current > 0) s.discharging = 0;

  const i64 cap = static_cast<i64>(capacity);
  if (current < -1 && !s.discharging) {
    s.discharging = 1;
    s.discharge_clock = now;
  }
  if (s.discharging) {
    if (now < s.discharge_clock) s.discharge_clock = now; // the clock went back: start from now
    const i64 elapsed = static_cast<i64>(now) - s.discharge_clock;
    const i64 drain = k7::clamp<i64>(s.drain + drain_rate(current) * elapsed, 0, DRAIN_FLAT);
    s.drain = static_cast<u32>(drain);
    s.discharge_clock = now;
    const i64 left = BATT_FULL - drain / 3;
    s.charge = static_cast<i16>(k7::clamp<i64>(left < cap ? left : cap, 0, BATT_FULL));
  }

  if (current > 0 && !s.charging) {
    s.charging = 1;
    s.charge_clock = now;
    s.charge_noted = k7::clamp<i16>(s.charge, 0, BATT_FULL);
  }
  if (s.charging) {
    if (now < s.charge_clock) { // the clock went back: note again from now
      s.charge_clock = now;
      s.charge_noted = k7::clamp<i16>(s.charge, 0, BATT_FULL);
    }
    const i64 elapsed = static_cast<i64>(now) - s.charge_clock;
    const i64 charge = k7::clamp<i64>(static_cast<i64>(s.charge_noted) + elapsed, 0, cap);
    s.charge = static_cast<i16>(k7::clamp<i64>(charge, 0, BATT_FULL));
    s.drain = static_cast<u32>(k7::clamp<i64>(3 * (BATT_FULL - s.charge), 0, DRAIN_FLAT));
  }
  return s;
}

} // namespace elec
