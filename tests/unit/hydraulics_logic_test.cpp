// The hydraulic rules on their own: pumps update by update (the engine pumps' run-up and
// overshoot are the scenario hydraulics_engine_pumps), the red pump's regulation bands, the
// reservoir level, brake pressures and every row of the flap-handle lock.
#include "hydraulics/hyd_logic.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace hyd;

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// One pump, stepped update by update; each step returns the pressure after it.
struct Pump {
  u16 press = 0;
  u8 flag = 0, loaded = 0; // settled (engine pumps) or running (yellow pumps); yellow loads
  u16 engine(bool driven) {
    engine_pump_step(press, flag, driven);
    return press;
  }
  u16 yellow(bool runs, bool green_low, bool holds_500 = false) {
    yellow_pump_step(press, flag, loaded, runs, green_low, holds_500);
    return press;
  }
};

TEST(EnginePump, UndrivenFallsByFifteenToZeroAndOnlyThenForgetsItsPeak) {
  Pump p{40, 1};
  EXPECT_EQ(p.engine(false), 25);
  EXPECT_EQ(p.engine(false), 10);
  EXPECT_EQ(p.flag, 1);
  EXPECT_EQ(p.engine(false), 0);
  EXPECT_EQ(p.flag, 0);
  Pump q{1000, 1};
  EXPECT_EQ(q.engine(true), 2500) << "driven again before 0, a settled pump is at 2500 at once";
}

TEST(YellowPump, RunsUpThenSagsToTwoThousandUnderTheGreenLoads) {
  Pump p;
  for (int i = 0; i < 83; ++i)
    p.yellow(true, false);
  EXPECT_EQ(p.press, 2490);
  EXPECT_EQ(p.flag, 1);
  EXPECT_EQ(p.yellow(true, false), 2500) << "green healthy: held at 2500";
  EXPECT_EQ(p.yellow(true, true), 2495);
  EXPECT_EQ(p.flag, 2);
  EXPECT_EQ(p.loaded, 1);
  for (int i = 0; i < 97; ++i)
    p.yellow(true, true);
  EXPECT_EQ(p.press, 2010);
  EXPECT_EQ(p.yellow(true, true), 2005);
  EXPECT_EQ(p.flag, 2);
  EXPECT_EQ(p.yellow(true, true), 2000);
  EXPECT_EQ(p.yellow(true, true), 2000) << "held, not run up again";
  EXPECT_EQ(p.flag, 1);
}

TEST(YellowPump, StoppedItHoldsFiveHundredOnlyWhenTheServoLeverSaysSo) {
  Pump p{530, 1, 1};
  EXPECT_EQ(p.yellow(false, true, true), 515);
  EXPECT_EQ(p.flag, 0);
  EXPECT_EQ(p.loaded, 0);
  EXPECT_EQ(p.yellow(false, true, true), 500);
  EXPECT_EQ(p.yellow(false, true, true), 500);
  EXPECT_EQ(p.yellow(false, false, true), 485) << "green healthy again: it bleeds off";
  EXPECT_EQ(p.yellow(false, true, true), 485) << "485 is kept";
  p.press = 484;
  EXPECT_EQ(p.yellow(false, true, true), 0) << "below 485 there is nothing to hold";
}

struct Band {
  RedTarget target;
  u16 in;
  u16 out;
  u8 flag;
};

TEST(RedPump, RegulationBandsAtTheirEdges) {
  const Band bands[] = {
      {RED_NORMAL, 2485, 2500, 1}, {RED_NORMAL, 2486, 2500, 1}, {RED_NORMAL, 2514, 2500, 1},
      {RED_NORMAL, 2515, 2500, 1}, {RED_NORMAL, 2516, 2501, 1}, {RED_NORMAL, 2470, 2485, 1},
      {RED_FLAPS, 985, 1000, 1},   {RED_FLAPS, 986, 1000, 1},   {RED_FLAPS, 1049, 1000, 1},
      {RED_FLAPS, 1050, 1000, 2},  {RED_FLAPS, 2500, 2450, 2},  {RED_GEAR, 1470, 1485, 1},
      {RED_GEAR, 1471, 1500, 1},   {RED_GEAR, 1549, 1500, 1},   {RED_GEAR, 1550, 1500, 2},
      {RED_GEAR, 2500, 2450, 2},
  };
  for (const Band& b : bands) {
    u16 press = b.in;
    u8 running = 0, done = 1;
    red_pump_step(press, running, done, true, b.target);
    EXPECT_EQ(press, b.out) << "target " << int(b.target) << " from " << b.in;
    EXPECT_EQ(running, b.flag) << "target " << int(b.target) << " from " << b.in;
  }
}

TEST(RedPump, FirstRunUpIsThirtyPerUpdateToTwentyFourSeventyOne) {
  u16 press = 2400;
  u8 running = 0, done = 0;
  red_pump_step(press, running, done, true, RED_NORMAL);
  EXPECT_EQ(press, 2430);
  red_pump_step(press, running, done, true, RED_NORMAL);
  EXPECT_EQ(press, 2460);
  red_pump_step(press, running, done, true, RED_NORMAL);
  EXPECT_EQ(press, 2490);
  EXPECT_EQ(done, 0);
  red_pump_step(press, running, done, true, RED_NORMAL);
  EXPECT_EQ(press, 2500);
  EXPECT_EQ(done, 1);
  // Stopped: the pressure stays and the next start runs up again.
  red_pump_step(press, running, done, false, RED_NORMAL);
  EXPECT_EQ(press, 2500);
  EXPECT_EQ(running, 0);
  EXPECT_EQ(done, 0);
}

TEST(RedPump, BrakeApplicationsNeverTakeThePressureBelowZero) {
  EXPECT_EQ(red_after_brake_application(2500), 2450);
  EXPECT_EQ(red_after_brake_application(51), 1);
  EXPECT_EQ(red_after_brake_application(50), 0);
  EXPECT_EQ(red_after_brake_application(49), 0);
  EXPECT_EQ(red_after_brake_application(0), 0);
  u16 press = 2500;
  for (int i = 0; i < 51; ++i)
    press = red_after_brake_application(press);
  EXPECT_EQ(press, 0) << "the 51st application from 2500 must not wrap";
}

TEST(GreenLevel, GearLegsHoldUpToTenPercent) {
  EXPECT_EQ(green_level_normal(false, 0), 50);
  EXPECT_EQ(green_level_normal(false, 2999), 50);
  EXPECT_EQ(green_level_normal(false, 3000), 52);
  EXPECT_EQ(green_level_normal(false, 12000), 59);
  EXPECT_EQ(green_level_normal(false, 12001), 60);
  EXPECT_EQ(green_level_normal(false, 16383), 60);
  EXPECT_EQ(green_level_normal(true, 16383), 15);
}

TEST(GreenLevel, LeakingFollowsTheReserveAndTheSpoilers) {
  EXPECT_EQ(green_level_leaking(60, 16383, 0), 60);
  EXPECT_EQ(green_level_leaking(60, 0, 0), 60);
  EXPECT_EQ(green_level_leaking(49, 16383, 0), 59);
  EXPECT_EQ(green_level_leaking(50, 16383, 0), 60);
  EXPECT_EQ(green_level_leaking(50, 6000, 0), 60);
  EXPECT_EQ(green_level_leaking(30, 6000, 0), 34);
  EXPECT_EQ(green_level_leaking(30, 2999, 0), 30);
  EXPECT_EQ(green_level_leaking(15, 0, 0), 15);
  EXPECT_EQ(green_level_leaking(14, 16383, 0), 15);
  EXPECT_EQ(green_level_leaking(60, 16383, 16000), 60);
  EXPECT_EQ(green_level_leaking(60, 16383, 16001), 15);
}

TEST(Brakes, PressureIsTheTokenOverTwentyAndNeverOdd) {
  EXPECT_EQ(brake_psi(16384), 819);
  EXPECT_EQ(brake_psi(32767), 1638);
  EXPECT_EQ(brake_psi(39), 1);
  EXPECT_EQ(brake_psi(-500), 0);
  EXPECT_EQ(brake_psi(NaN), 0);
  // Beyond full braking (32768) the simulator's value is noise: full braking, never the 65535 a
  // saturated cast would give, which no brake gauge can show.
  EXPECT_EQ(brake_psi(65536), 1638);
  EXPECT_EQ(brake_psi(1e300), 1638);
}

struct LockCase {
  double angle;
  double handle;
  u32 key;
};

TEST(FlapLock, EveryRowBringsTheHandleToItsDetentFromEitherSide) {
  const LockCase cases[] = {
      // 0 to below 3: detent 0
      {0, 0, 0},
      {0, 1820, KEY_FLAPS_DECR},
      {2.99, 16384, KEY_FLAPS_DECR},
      // 3 to below 8 (5 excluded): detent 1820..1821
      {3, 0, KEY_FLAPS_INCR},
      {3, 1820, 0},
      {3, 1821, 0},
      {4.99, 1822, KEY_FLAPS_DECR},
      {5.01, 0, KEY_FLAPS_INCR},
      {7.99, 6553, KEY_FLAPS_DECR},
      // exactly 5, 8 to below 15 (10 excluded): detent 6553..6554
      {5, 1820, KEY_FLAPS_INCR},
      {5, 6553.6, 0},
      {8, 6554, 0},
      {9.99, 9830, KEY_FLAPS_DECR},
      {10.01, 1820, KEY_FLAPS_INCR},
      {14.99, 6552, KEY_FLAPS_INCR},
      // exactly 10, 15 to below 26 (20 excluded): detent 9830..9831
      {10, 6553.6, KEY_FLAPS_INCR},
      {15, 9830.4, 0},
      {20.01, 13107, KEY_FLAPS_DECR},
      {25.99, 9831, 0},
      // exactly 20, 26 to below 39 (32 excluded): detent 13107..13108
      {20, 9830.4, KEY_FLAPS_INCR},
      {26, 13107.2, 0},
      {28, 16384, KEY_FLAPS_DECR},
      {28, 9830, KEY_FLAPS_INCR},
      {31.99, 13108, 0},
      {32.01, 13109, KEY_FLAPS_DECR},
      {38.99, 13106, KEY_FLAPS_INCR},
      // 39 to below 45: detent 16384
      {39, 13107, KEY_FLAPS_INCR},
      {44.99, 16384, 0},
  };
  for (const LockCase& c : cases)
    EXPECT_EQ(flap_lock_key(c.angle, c.handle), c.key)
        << "angle " << c.angle << ", handle " << c.handle;
}

TEST(FlapLock, AnglesNoRowCoversSendNothing) {
  for (double handle : {0.0, 6553.6, 13107.2, 16384.0}) {
    EXPECT_EQ(flap_lock_key(32, handle), 0u) << handle;
    EXPECT_EQ(flap_lock_key(45, handle), 0u) << handle;
    EXPECT_EQ(flap_lock_key(-0.5, handle), 0u) << handle;
    EXPECT_EQ(flap_lock_key(NaN, handle), 0u) << handle;
  }
  EXPECT_EQ(flap_lock_key(3, NaN), 0u);
}

} // namespace
