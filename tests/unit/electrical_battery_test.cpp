// The battery's current and charge on the simulation clock, driven directly: what the scenarios
// electrical_fresh_load, _flat_battery, _recharge and _commutator do not reach (odd clocks, charges
// far off, the edges of the current's rules).
#include "electrical/battery.h"

#include <gtest/gtest.h>

namespace {

using elec::BatteryInputs;

constexpr u32 FULL = 1800;

struct Battery {
  elec::BatteryState s{1800, 0, 0, 0, 0, 0, 0};
  u32 capacity = FULL;
  bool connected = true;
  // One update at whole-second clock `now` with a fixed current.
  void at(u32 now, i8 current) { s = elec::battery_step(s, current, connected, capacity, now); }
  // Updates every second from `from` to `to` at a fixed current.
  void run(u32 from, u32 to, i8 current) {
    for (u32 t = from; t <= to; ++t)
      at(t, current);
  }
};

constexpr BatteryInputs CHARGING{true, 1, false, false, true, true};

TEST(Battery, CurrentFollowsTheNetworkAndTapersToZeroAtFullCharge) {
  const struct {
    BatteryInputs in;
    i16 charge;
    int current;
    const char* why;
  } cases[] = {
      {{false, 1, false, false, false, true}, 1800, 0, "off the network"},
      {{true, 1, false, false, false, true}, 1800, -50, "TADG on the battery"},
      {{true, 1, false, false, false, false}, 1800, -10, "TADG off"},
      {{true, 2, true, false, false, false}, 1800, -120, "engine start from the battery"},
      {{true, 2, true, true, false, false}, 1800, -10, "ground power starts the engine"},
      {{true, 2, true, true, true, false}, 1800, -10, "a generator does not charge at 2"},
      {CHARGING, 1000, 50, "charging"},
      {CHARGING, 1750, 50, "50 units short"},
      {CHARGING, 1751, 49, "tapering"},
      {CHARGING, 1799, 1, "one unit short"},
      {CHARGING, 1800, 0, "full"},
      {CHARGING, 32767, 0, "a charge above capacity draws nothing"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(elec::battery_current(c.in, FULL, c.charge), c.current) << c.why;
}

TEST(Battery, DischargeKeepsItsRatesAndContinuesFromTheChargeLeft) {
  Battery b;
  b.run(0, 2, -10);
  EXPECT_EQ(b.s.charge, 1800) << "a third of a unit per second";
  b.at(3, -10);
  EXPECT_EQ(b.s.charge, 1799);
  b.run(4, 300, -10);
  EXPECT_EQ(b.s.charge, 1700);
  b.run(301, 600, -50);
  EXPECT_EQ(b.s.charge, 1400);
  b.run(601, 700, -120);
  EXPECT_EQ(b.s.charge, 1100);
  b.at(1000, -50); // a long gap between updates is applied at once, at the current rate
  EXPECT_EQ(b.s.charge, 800);
}

TEST(Battery, CommutatorPassThroughOffLateInTheDischargeLeavesTheChargeAlone) {
  Battery b; // (early in the discharge the pass is the scenario electrical_commutator)
  b.run(0, 1000, -50);
  b.capacity = 900;
  b.at(1001, -50);
  EXPECT_EQ(b.s.charge, 799);
}

TEST(Battery, ChargeIsComputedWideAndClamped) {
  Battery b;
  b.s.charge = 32767;
  b.at(10, 1); // a charge noted far above the capacity
  b.at(4000000000u, 1);
  EXPECT_EQ(b.s.charge, 1800);
  Battery low;
  low.s.charge = -500;
  low.at(10, 50);
  EXPECT_EQ(low.s.charge, 0) << "never below 0";
  low.at(20, 50);
  EXPECT_EQ(low.s.charge, 10);
}

TEST(Battery, ClockGoingBackRestartsTheTiming) {
  Battery b;
  b.s.charge = 1000;
  b.at(500, 50);
  b.at(510, 50);
  ASSERT_EQ(b.s.charge, 1010);
  b.at(100, 50); // a new flight or a reloaded situation: the clock is behind the noted one
  EXPECT_EQ(b.s.charge, 1010) << "no jump either way";
  b.at(105, 50);
  EXPECT_EQ(b.s.charge, 1015);

  Battery d;
  d.run(0, 100, -50);
  d.at(50, -50);
  EXPECT_EQ(d.s.charge, 1700);
  d.at(60, -50);
  EXPECT_EQ(d.s.charge, 1690);
}

TEST(Battery, BatteryOffTheNetworkNeitherChargesNorDischarges) {
  Battery b;
  b.run(0, 100, -50);
  b.connected = false;
  b.run(101, 1000, 0);
  EXPECT_EQ(b.s.charge, 1700);
  b.connected = true;
  b.at(1001, -50);
  b.at(1002, -50);
  EXPECT_EQ(b.s.charge, 1699) << "the time off the network is not drawn afterwards";
}

} // namespace
