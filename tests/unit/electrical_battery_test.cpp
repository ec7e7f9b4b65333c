// The battery's current and charge on the simulation clock, driven directly.
#include "electrical/battery.h"

#include <gtest/gtest.h>

namespace {

using elec::BatteryInputs;
using elec::BatteryState;

constexpr u32 FULL = 1800;

struct Battery {
  BatteryState s{1800, 0, 0, 0, 0, 0, 0};
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

BatteryInputs charging_inputs() {
  return {true, 1, false, false, true, true};
}

TEST(Battery, CurrentFollowsTheNetwork) {
  BatteryInputs in{false, 1, false, false, false, true};
  EXPECT_EQ(elec::battery_current(in, FULL, 1800), 0) << "off the network";
  in.connected = true;
  EXPECT_EQ(elec::battery_current(in, FULL, 1800), -50) << "TADG on the battery";
  in.tadg_running = false;
  EXPECT_EQ(elec::battery_current(in, FULL, 1800), -10);
  in.commutator = 2;
  in.starter_engaged = true;
  EXPECT_EQ(elec::battery_current(in, FULL, 1800), -120) << "engine start from the battery";
  in.ground_feeding = true;
  EXPECT_EQ(elec::battery_current(in, FULL, 1800), -10) << "ground power starts the engine";
  in.generator_online = true;
  EXPECT_EQ(elec::battery_current(in, FULL, 1800), -10) << "a generator does not charge at 2";
}

TEST(Battery, ChargingCurrentTapersToZeroAndNeverTurnsNegative) {
  const BatteryInputs in = charging_inputs();
  EXPECT_EQ(elec::battery_current(in, FULL, 1000), 50);
  EXPECT_EQ(elec::battery_current(in, FULL, 1750), 50);
  EXPECT_EQ(elec::battery_current(in, FULL, 1751), 49);
  EXPECT_EQ(elec::battery_current(in, FULL, 1799), 1);
  EXPECT_EQ(elec::battery_current(in, FULL, 1800), 0);
  EXPECT_EQ(elec::battery_current(in, FULL, 32767), 0) << "a charge above capacity draws nothing";
}

TEST(Battery, UndisturbedDischargeFromFullKeepsItsRates) {
  Battery b50;
  b50.run(0, 600, -50);
  EXPECT_EQ(b50.s.charge, 1800 - 600);
  Battery b10;
  b10.run(0, 2, -10);
  EXPECT_EQ(b10.s.charge, 1800) << "a third of a unit per second";
  b10.at(3, -10);
  EXPECT_EQ(b10.s.charge, 1799);
  b10.run(4, 300, -10);
  EXPECT_EQ(b10.s.charge, 1800 - 100);
  Battery b120;
  b120.run(0, 100, -120);
  EXPECT_EQ(b120.s.charge, 1800 - 300);
  // A long gap between updates is applied at once, at the current rate.
  Battery gap;
  gap.at(0, -50);
  gap.at(1000, -50);
  EXPECT_EQ(gap.s.charge, 800);
}

TEST(Battery, FlatBatteryStaysFlatWhenTheLoadDrops) {
  Battery b;
  b.run(0, 1799, -50);
  EXPECT_EQ(b.s.charge, 1);
  b.at(1800, -50);
  EXPECT_EQ(b.s.charge, 0);
  // The buses drop, the TADG stops, the current falls to -10: nothing charges the battery.
  b.run(1801, 5000, -10);
  EXPECT_EQ(b.s.charge, 0);
  EXPECT_EQ(b.s.drain, 3 * FULL) << "the drain saturates at flat";
}

TEST(Battery, RateChangeContinuesFromTheChargeLeft) {
  Battery b;
  b.run(0, 900, -50);
  ASSERT_EQ(b.s.charge, 900);
  b.run(901, 903, -10);
  EXPECT_EQ(b.s.charge, 899);
  b.run(904, 910, -120);
  EXPECT_EQ(b.s.charge, 899 - 21);
}

TEST(Battery, CommutatorPassThroughOffNeitherHalvesNorEmptiesTheCharge) {
  Battery b;
  b.run(0, 100, -50);
  ASSERT_EQ(b.s.charge, 1700);
  const u32 capacities[] = {900, 1800, 900, 1800}; // 0, 2 (start), 0, 1
  u32 t = 101;
  for (u32 c : capacities) {
    b.capacity = c;
    b.at(t, -50);
    EXPECT_GT(b.s.charge, 0) << "at " << t;
    EXPECT_LE(b.s.charge, static_cast<i16>(c));
    ++t;
  }
  EXPECT_EQ(b.s.charge, 1800 - 104) << "back at normal, nothing lost to the pass";
  // Late in the discharge, below the off capacity, the pass leaves the charge alone.
  b.run(105, 1000, -50);
  b.capacity = 900;
  b.at(1001, -50);
  EXPECT_EQ(b.s.charge, 799);
}

TEST(Battery, RechargeStopsAtCapacityWithZeroCurrent) {
  Battery b;
  b.run(0, 100, -50);
  ASSERT_EQ(b.s.charge, 1700);
  const BatteryInputs in = charging_inputs();
  for (u32 t = 101; t <= 500; ++t) {
    const i8 current = elec::battery_current(in, FULL, b.s.charge);
    b.at(t, current);
    ASSERT_LE(b.s.charge, 1800) << "at " << t;
    ASSERT_GE(elec::battery_current(in, FULL, b.s.charge), 0) << "at " << t;
    if (t == 200) {
      EXPECT_EQ(b.s.charge, 1799);
    }
    if (t == 201) {
      EXPECT_EQ(b.s.charge, 1800);
    }
  }
  EXPECT_EQ(elec::battery_current(in, FULL, b.s.charge), 0);
  EXPECT_EQ(b.s.charging, 1) << "the charge timing runs on at full charge";
  // Discharging again starts from the charge reached, not from some other base.
  b.at(501, -50);
  b.at(511, -50);
  EXPECT_EQ(b.s.charge, 1790);
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
