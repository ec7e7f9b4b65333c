// The hydraulic circuits through the simulator stand-in: engine pumps and valves, the yellow and
// red pumps, reservoir levels and the lamps of the hydraulic panel.
#include "hydraulics_support.h"

namespace {

using namespace hydtest;

// Runs the engines until both circuits have settled at 2500 psi.
void settle(Cockpit& c) {
  c.power(true);
  c.engines(60, 60);
  c.frames(100);
  ASSERT_EQ(c.state("hydrau_press_green"), 2500);
  ASSERT_EQ(c.state("hydrau_press_blue"), 2500);
}

TEST(HydraulicCircuits, StartWithEnginesStoppedGivesOnlyTheStoredRedPressure) {
  for (bool powered : {false, true}) {
    Cockpit c;
    c.power(powered);
    c.frames(60);
    EXPECT_EQ(c.state("hydrau_press_green"), 0) << powered;
    EXPECT_EQ(c.state("hydrau_press_blue"), 0) << powered;
    EXPECT_EQ(c.state("hydrau_press_red"), 2500) << powered;
    EXPECT_EQ(c.state("hydrau_press_yellow"), 0) << powered;
    EXPECT_EQ(c.value(PRESS_GREEN, 2), 0) << "green needle";
    EXPECT_EQ(c.value(PRESS_RED, 2), 2500) << "red needle";
  }
}

TEST(HydraulicCircuits, BothEnginesRunningOvershootOnceThenSettleAt2500) {
  Cockpit c;
  c.power(true);
  c.engines(60, 60);
  c.frames(84);
  EXPECT_EQ(c.state("hydrau_press_green"), 2520);
  EXPECT_EQ(c.state("hydrau_press_blue"), 2520);
  c.frames(1);
  EXPECT_GE(c.state("hydrau_press_green"), 2550);
  EXPECT_GE(c.state("hydrau_press_blue"), 2550);
  c.frames(4);
  EXPECT_EQ(c.state("hydrau_press_green"), 2490);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_press_green"), 2500);
  EXPECT_EQ(c.state("hydrau_press_blue"), 2500);
  c.frames(200);
  EXPECT_EQ(c.state("hydrau_press_green"), 2500) << "no second overshoot";
  EXPECT_EQ(c.value(PRESS_GREEN, 2), 2500);
}

TEST(HydraulicCircuits, EnginePumpsNeedTwentyPercentN2) {
  Cockpit c;
  c.power(true);
  c.engines(19.9, 0);
  c.frames(20);
  EXPECT_EQ(c.state("hydrau_press_green"), 0);
  c.engines(20.0, 0);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_pump_g1_press"), 30);
  EXPECT_EQ(c.state("hydrau_pump_b1_press"), 30);
  EXPECT_EQ(c.state("hydrau_pump_g2_press"), 0) << "engine 2 stopped";
  c.frames(100);
  EXPECT_EQ(c.state("hydrau_press_green"), 2500) << "one engine carries both circuits";
  EXPECT_EQ(c.state("hydrau_press_blue"), 2500);
}

TEST(HydraulicCircuits, ShutValveDropsItsPumpAfterElevenUpdatesWhileTheOtherHoldsTheCircuit) {
  Cockpit c;
  settle(c);
  ASSERT_TRUE(c.click(GBVALVES, 40, 80)); // the guard opens
  EXPECT_EQ(c.state("hydrau_valve_g1"), 1);
  ASSERT_TRUE(c.click(GBVALVES, 40, 80)); // the valve shuts
  EXPECT_EQ(c.state("hydrau_valve_g1"), 0);
  c.frames(10);
  EXPECT_EQ(c.state("hydrau_valve_g1_pos"), 20);
  EXPECT_EQ(c.state("hydrau_pump_g1_press"), 2500);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_valve_g1_pos"), 19);
  EXPECT_EQ(c.state("hydrau_pump_g1_press"), 2485);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_pump_g1_press"), 2470);
  EXPECT_EQ(c.state("hydrau_press_green"), 2500) << "green pump 2 holds the circuit";
  c.frames(170);
  EXPECT_EQ(c.state("hydrau_pump_g1_press"), 0);
  EXPECT_EQ(c.state("hydrau_pump_g1_settled"), 0);
  EXPECT_EQ(c.state("hydrau_valve_g1_pos"), 0);
  EXPECT_EQ(c.state("hydrau_press_green"), 2500);
  EXPECT_EQ(c.state("hydrau_pump_b1_press"), 2500) << "the blue pump of engine 1 is not touched";
}

TEST(HydraulicCircuits, ValvesStayWhereTheyAreWithoutTheEssentialBus) {
  Cockpit c;
  settle(c);
  c.click(GBVALVES, 270, 50); // guard
  c.click(GBVALVES, 270, 50); // blue valve of engine 2 shuts
  c.bus("elec_bus_ess", false);
  c.frames(30);
  EXPECT_EQ(c.state("hydrau_valve_b2_pos"), 30);
  EXPECT_EQ(c.state("hydrau_pump_b2_press"), 2500);
  c.bus("elec_bus_ess", true);
  c.frames(30);
  EXPECT_EQ(c.state("hydrau_valve_b2_pos"), 0);
  EXPECT_LT(c.state("hydrau_pump_b2_press"), 2500);
}

TEST(HydraulicCircuits, ValveSwitchesWorkUnderTheirCommonGuard) {
  Cockpit c;
  c.frames(1);
  EXPECT_TRUE(c.visible(GBVALVES, 18)) << "guard closed";
  c.click(GBVALVES, 100, 20); // up on an open valve with the guard closed: nothing
  EXPECT_EQ(c.state("hydrau_valves_guard_open"), 0);
  c.click(GBVALVES, 100, 70); // down: the guard opens, the valve stays open
  EXPECT_EQ(c.state("hydrau_valves_guard_open"), 1);
  EXPECT_EQ(c.state("hydrau_valve_g2"), 1);
  c.click(GBVALVES, 100, 70); // down again: the valve shuts
  EXPECT_EQ(c.state("hydrau_valve_g2"), 0);
  c.click(GBVALVES, 100, 70); // and stays shut
  EXPECT_EQ(c.state("hydrau_valve_g2"), 0);
  c.frames(1);
  EXPECT_TRUE(c.visible(GBVALVES, 8)) << "green 2 shut image";
  EXPECT_FALSE(c.visible(GBVALVES, 6)) << "green 2 open image";
  EXPECT_TRUE(c.visible(GBVALVES, 20)) << "guard open";
  c.click(GBVALVES, 100, 20); // up: the valve opens, the guard stays open
  EXPECT_EQ(c.state("hydrau_valve_g2"), 1);
  EXPECT_EQ(c.state("hydrau_valves_guard_open"), 1);
  c.quiet();
  auto mark = c.sound_mark();
  c.click(GBVALVES, 100, 20); // up again: the guard closes
  EXPECT_EQ(c.state("hydrau_valves_guard_open"), 0);
  EXPECT_EQ(c.played("CACHEMETAL", mark), 1);
  EXPECT_EQ(c.played("CLICK", mark), 0);
  c.quiet();
  mark = c.sound_mark();
  c.click(GBVALVES, 100, 70); // the guard opens without a sound
  EXPECT_EQ(c.played("CACHEMETAL", mark) + c.played("CLICK", mark), 0);
  c.click(GBVALVES, 100, 70); // the valve shuts with a click
  EXPECT_EQ(c.played("CLICK", mark), 1);
  c.click(GBVALVES, 100, 20);
  c.click(GBVALVES, 100, 20);
  c.frames(1);
  EXPECT_TRUE(c.visible(GBVALVES, 6));
  EXPECT_TRUE(c.visible(GBVALVES, 18));
  // Shut valves open from the up area whatever the guard.
  c.set("hydrau_valve_b1", 0);
  c.click(GBVALVES, 190, 10);
  EXPECT_EQ(c.state("hydrau_valve_b1"), 1);
}

TEST(HydraulicCircuits, FailedGreenPumpsAndALowGreenReservoirLeaveBlueAlone) {
  Cockpit c;
  settle(c);
  c.set("hydrau_fail_g1", 1);
  c.set("hydrau_fail_g2", 1);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_press_green"), 2485);
  c.frames(200);
  EXPECT_EQ(c.state("hydrau_press_green"), 0);
  EXPECT_EQ(c.state("hydrau_press_blue"), 2500);

  Cockpit d;
  settle(d);
  d.set("hydrau_fail_level_green", 1); // level 15: the green pumps run dry
  d.frames(1);
  EXPECT_EQ(d.state("hydrau_level_green"), 15);
  d.frames(1);
  EXPECT_EQ(d.state("hydrau_press_green"), 2485);
  EXPECT_EQ(d.state("hydrau_press_blue"), 2500);
}

TEST(HydraulicLamps, LowFlowLampsFollowEachPumpAndDarkenWithTheirSupply) {
  Cockpit c;
  c.power(true);
  c.frames(1);
  for (const char* g : {LOWFLOW_G, LOWFLOW_B}) {
    EXPECT_TRUE(c.visible(g, 2)) << g;
    EXPECT_TRUE(c.visible(g, 4)) << g;
  }
  c.engines(60, 0);
  c.frames(46); // engine 1 pumps at 1380
  EXPECT_EQ(c.state("hydrau_pump_g1_press"), 1380);
  EXPECT_TRUE(c.visible(LOWFLOW_G, 2));
  c.frames(1); // 1410
  EXPECT_FALSE(c.visible(LOWFLOW_G, 2));
  EXPECT_FALSE(c.visible(LOWFLOW_B, 2));
  EXPECT_TRUE(c.visible(LOWFLOW_G, 4)) << "engine 2 stopped";
  EXPECT_TRUE(c.visible(LOWFLOW_B, 4));

  c.engines(0, 0);
  c.frames(100);
  for (const char* g : {LOWFLOW_G, LOWFLOW_B}) {
    EXPECT_TRUE(c.visible(g, 2)) << g;
    EXPECT_TRUE(c.visible(g, 4)) << g;
  }
  c.bus("elec_bus_ess_hyd", false);
  c.frames(1);
  for (const char* g : {LOWFLOW_G, LOWFLOW_B})
    for (int e = 2; e <= 5; ++e)
      EXPECT_FALSE(c.visible(g, e)) << g << " " << e;
}

TEST(HydraulicLamps, NightLightingSwapsTheArtwork) {
  Cockpit c;
  c.power(true);
  c.night(true);
  c.frames(1);
  EXPECT_FALSE(c.visible(GBVALVES, 0));
  EXPECT_TRUE(c.visible(GBVALVES, 1));
  EXPECT_TRUE(c.visible(GBVALVES, 3)) << "green 1 open, night";
  EXPECT_FALSE(c.visible(GBVALVES, 2));
  EXPECT_TRUE(c.visible(LOWFLOW_G, 3)) << "lit lamp, night copy";
  EXPECT_FALSE(c.visible(LOWFLOW_G, 2));
  EXPECT_TRUE(c.visible(BRAKES_NORM, 3)) << "left needle, night copy";
  EXPECT_EQ(c.value(PRESS_GREEN, 1), 1) << "face icon shows its night image";
  c.night(false);
  c.frames(1);
  EXPECT_TRUE(c.visible(GBVALVES, 0));
  EXPECT_FALSE(c.visible(GBVALVES, 1));
  EXPECT_TRUE(c.visible(LOWFLOW_G, 2));
  EXPECT_EQ(c.value(PRESS_GREEN, 1), 0);
}

TEST(YellowPumps, ServoLeverStartsPumpTwoAndTheLampNeedsTheMainBus) {
  Cockpit c;
  settle(c);
  c.click(SERVOS, 240, 100); // lever 0 -> 1
  c.click(SERVOS, 160, 100); // lever 1 -> 2
  ASSERT_EQ(c.state("hydrau_servo_mode"), 2);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_yellow2_on"), 3);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_yellow2_on"), 1);
  EXPECT_EQ(c.state("hydrau_yellow1_on"), 0);
  c.frames(20);
  EXPECT_GT(c.state("hydrau_press_yellow"), 0);
  EXPECT_LT(c.state("hydrau_press_yellow"), 2500);
  EXPECT_TRUE(c.visible(PUMP_YELLOW, 2)) << "running up";
  c.frames(80);
  EXPECT_EQ(c.state("hydrau_press_yellow"), 2500);
  EXPECT_FALSE(c.visible(PUMP_YELLOW, 2)) << "at pressure";

  // The green circuit lost: the yellow pump carries its loads down to 2000 psi.
  c.engines(0, 0);
  c.frames(52);
  ASSERT_LT(c.state("hydrau_press_green"), 1750);
  EXPECT_EQ(c.state("hydrau_yellow2_running"), 2);
  EXPECT_FALSE(c.visible(PUMP_YELLOW, 2)) << "sagging";
  c.frames(120);
  EXPECT_EQ(c.state("hydrau_press_yellow"), 2000);
  EXPECT_TRUE(c.visible(PUMP_YELLOW, 2)) << "held at 2000";

  c.bus("elec_bus_main", false);
  c.frames(1);
  EXPECT_FALSE(c.visible(PUMP_YELLOW, 2));
  EXPECT_FALSE(c.visible(PUMP_YELLOW, 3));
  EXPECT_EQ(c.state("hydrau_press_yellow"), 2000) << "the command holds without the bus";

  c.click(SERVOS, 240, 100); // lever 2 -> 1: pump 2 stops, and holds 500 psi on this notch
  c.frames(2);
  EXPECT_EQ(c.state("hydrau_yellow2_on"), 0);
  EXPECT_EQ(c.state("hydrau_press_yellow"), 1985);
  c.frames(200);
  EXPECT_EQ(c.state("hydrau_press_yellow"), 500);
  c.click(SERVOS, 240, 200); // lever 1 -> 0: nothing holds it any more
  c.frames(40);
  EXPECT_EQ(c.state("hydrau_press_yellow"), 0);
}

TEST(YellowPumps, PumpOneWaitsForTheMainBus) {
  Cockpit c;
  c.bus("elec_bus_main", false);
  c.click(SERVOS, 240, 350); // 0 -> 3
  c.click(SERVOS, 160, 350); // 3 -> 4
  ASSERT_EQ(c.state("hydrau_servo_mode"), 4);
  c.frames(10);
  EXPECT_EQ(c.state("hydrau_yellow1_on"), 3);
  EXPECT_EQ(c.state("hydrau_press_yellow"), 0);
  c.bus("elec_bus_main", true);
  c.frames(3);
  EXPECT_EQ(c.state("hydrau_yellow1_on"), 1);
  EXPECT_GT(c.state("hydrau_yellow1_press"), 0);
  EXPECT_EQ(c.state("hydrau_press_yellow"), c.state("hydrau_yellow1_press"));
}

TEST(RedPump, RunsUpOnItsSwitchAndLightsItsLampBelowPressure) {
  Cockpit c;
  c.power(true);
  c.set("hydrau_press_red", 1000);
  c.click(PUMP_RED, 60, 120); // switch to 1
  ASSERT_EQ(c.state("hydrau_red_sw"), 1);
  c.frames(24);
  EXPECT_EQ(c.state("hydrau_red_spool"), 24);
  EXPECT_EQ(c.state("hydrau_press_red"), 1000) << "not yet running";
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_press_red"), 1030);
  EXPECT_TRUE(c.visible(PUMP_RED, 2));
  EXPECT_TRUE(c.visible(PUMP_RED, 6)) << "switch image at 1";
  c.frames(60);
  EXPECT_EQ(c.state("hydrau_press_red"), 2500);
  EXPECT_FALSE(c.visible(PUMP_RED, 2));

  c.set("hydrau_press_red", 2400);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_press_red"), 2415);
  EXPECT_TRUE(c.visible(PUMP_RED, 2));
  c.bus("elec_bus_main", false);
  c.frames(1);
  EXPECT_FALSE(c.visible(PUMP_RED, 2)) << "main bus lost: lamp dark";
  EXPECT_EQ(c.state("hydrau_press_red"), 2430) << "the pump still runs on its run-up";

  c.click(PUMP_RED, 90, 120); // switch to 0
  c.frames(5);
  EXPECT_EQ(c.state("hydrau_red_spool"), 25);
  EXPECT_EQ(c.state("hydrau_press_red"), 2500);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_red_spool"), 24);
  EXPECT_EQ(c.state("hydrau_red_running"), 0);
}

// Brake applications with the green circuit low take 50 psi each from the red circuit. The
// red pressure is a 16-bit quantity: it must stop at 0 rather than wrap to 65486, which would
// pass every red-pressure test (standby brakes, emergency levers).
TEST(RedPump, BrakeApplicationsNeverTakeTheRedPressureBelowZero) {
  Cockpit c;
  c.power(true);
  for (int i = 0; i < 60; ++i) {
    c.sim->set_token(TOKEN_BRAKE_LEFT, 12000);
    c.frames(2);
    c.sim->set_token(TOKEN_BRAKE_LEFT, 8000);
    c.frames(1);
    if (i == 0) {
      EXPECT_EQ(c.state("hydrau_press_red"), 2450) << "one application, one loss";
    }
  }
  EXPECT_EQ(c.state("hydrau_press_red"), 0);
  EXPECT_EQ(c.value(PRESS_RED, 2), 0);

  c.sim->set_token(TOKEN_BRAKE_LEFT, 12000);
  c.sim->set_token(TOKEN_BRAKE_RIGHT, 12000);
  c.frames(1);
  EXPECT_EQ(c.state("brake_stby_l"), 0) << "no standby brakes on an empty red circuit";
  EXPECT_EQ(c.state("brake_stby_r"), 0);
  const auto since = c.now();
  c.click(EMERG_LEV, 50, 300);
  EXPECT_EQ(c.state("emerg_gear_lev"), 1);
  EXPECT_EQ(c.keys(KEY_GEAR_DOWN, since), 0u) << "no emergency gear on an empty red circuit";
}

TEST(RedPump, OnlyGroundApplicationsWithTheParkingBrakeOffAndGreenLowCount) {
  Cockpit c;
  c.power(true);
  c.sim->set_token(TOKEN_BRAKE_LEFT, 8001);
  c.frames(40);
  EXPECT_EQ(c.state("hydrau_press_red"), 2450) << "held for 40 updates: one application";
  c.sim->set_token(TOKEN_BRAKE_LEFT, 0);
  c.frames(1);

  c.sim->set_token(TOKEN_PARK_BRAKE, 100);
  c.sim->set_token(TOKEN_BRAKE_LEFT, 16000);
  c.frames(2);
  c.sim->set_token(TOKEN_BRAKE_LEFT, 0);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_press_red"), 2450) << "parking brake set";

  c.sim->set_token(TOKEN_PARK_BRAKE, 0);
  c.sim->set_token(TOKEN_ON_GROUND, 0);
  c.sim->set_token(TOKEN_BRAKE_LEFT, 16000);
  c.frames(2);
  c.sim->set_token(TOKEN_BRAKE_LEFT, 0);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_press_red"), 2450) << "airborne";

  c.sim->set_token(TOKEN_ON_GROUND, 1);
  c.engines(60, 60);
  c.frames(100);
  c.sim->set_token(TOKEN_BRAKE_LEFT, 16000);
  c.frames(2);
  EXPECT_EQ(c.state("hydrau_press_red"), 2450) << "green healthy: the normal brakes serve";
}

TEST(RedPump, EmergencyFlapsLowerItsTargetToOneThousandWhileTheFlapsMove) {
  Cockpit c;
  c.power(true);
  c.click(PUMP_RED, 120, 120); // switch to 2
  c.frames(30);
  ASSERT_EQ(c.state("hydrau_red_running"), 1);
  c.click(EMERG_LEV, 200, 30);  // guard open
  c.click(EMERG_LEV, 140, 320); // lever to 2: flaps down on red pressure
  EXPECT_EQ(c.state("emerg_flap_lev"), 2);
  EXPECT_EQ(c.sim->token(TOKEN_FLAP_HANDLE), HANDLE_45);
  c.frames(31);
  EXPECT_EQ(c.state("hydrau_flap_moving"), 0);
  EXPECT_EQ(c.state("hydrau_press_red"), 2500);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_flap_moving"), 1) << "30 ticks of movement seen";
  EXPECT_EQ(c.state("hydrau_press_red"), 2450);
  EXPECT_EQ(c.state("hydrau_red_running"), 2);
  c.frames(9);
  EXPECT_EQ(c.state("hydrau_press_red"), 2000);
  EXPECT_FALSE(c.visible(PUMP_RED, 2));
  c.frames(1);
  EXPECT_TRUE(c.visible(PUMP_RED, 2)) << "below 2000 while shedding";
  c.frames(30);
  EXPECT_EQ(c.state("hydrau_press_red"), 1000);
  c.frames(450); // flaps at 45: no more movement
  EXPECT_EQ(c.state("hydrau_flap_moving"), 0);
  EXPECT_GT(c.state("hydrau_press_red"), 1000);
}

TEST(RedPump, EmergencyGearExtensionRegulatesTo1500UntilTheGearIsDown) {
  Cockpit c;
  c.power(true);
  c.sim->set_token(TOKEN_GEAR, 0);
  c.click(PUMP_RED, 60, 120);
  c.frames(30);
  const auto since = c.now();
  c.click(EMERG_LEV, 50, 300);
  EXPECT_EQ(c.keys(KEY_GEAR_DOWN, since), 1u);
  c.frames(10);
  EXPECT_EQ(c.state("hydrau_press_red"), 2000);
  c.frames(10);
  EXPECT_EQ(c.state("hydrau_press_red"), 1500);
  c.frames(200);
  EXPECT_EQ(c.sim->token(TOKEN_GEAR), 16383);
  EXPECT_EQ(c.state("hydrau_press_red"), 2500) << "back to 2500 with the gear down";
}

TEST(Reservoirs, GreenLevelFollowsTheGearAndTheNeedlesNeedTheirSupply) {
  Cockpit c;
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_level_green"), 60) << "gear down";
  EXPECT_EQ(c.value(LEVEL, 2), 0) << "no supply: the needle rests";
  c.sim->set_token(TOKEN_GEAR, 0);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_level_green"), 50);
  c.bus("elec_bus_ess_hyd", true);
  c.frames(1);
  EXPECT_EQ(c.value(LEVEL, 2), 50);
  EXPECT_EQ(c.value(LEVEL, 4), 0) << "blue needle on the AC instrument bus";
  c.bus("elec_ac_instr", true);
  c.frames(1);
  EXPECT_EQ(c.value(LEVEL, 4), 60);
  c.bus("elec_bus_ess_hyd", false);
  c.sim->set_token(TOKEN_GEAR, 16383);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_level_green"), 60);
  EXPECT_EQ(c.value(LEVEL, 2), 50) << "the green needle holds without its supply";
}

TEST(Reservoirs, GreenLeakDrainsWithFlapExtensionUntilItsSwitchIsOn) {
  Cockpit c;
  c.sim->close_window(WINDOW_SERVOS); // no flap-handle lock: the flaps follow their handle
  c.power(true);
  c.set("hydrau_leak_green", 1);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_low_level_green"), 1);
  EXPECT_EQ(c.state("hydrau_low_level_blue"), 0);
  EXPECT_EQ(c.state("hydrau_level_green"), 60);
  c.sim->set_token(TOKEN_FLAP_HANDLE, HANDLE_10); // flaps to 10 degrees
  c.frames(100);
  EXPECT_EQ(c.state("hydrau_leak_reserve"), 33) << "3 % for each degree past the first";
  EXPECT_EQ(c.state("hydrau_level_green"), 43);
  c.sim->set_token(TOKEN_SPOILERS, 16001);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_level_green"), 15);
  c.bus("elec_bus_ess_hyd", false);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_low_level_green"), 0) << "no alarm without its supply";

  c.click(LEVEL, 60, 100); // green level switch on
  EXPECT_EQ(c.state("hydrau_level_sw_green"), 1);
  EXPECT_EQ(c.state("hydrau_leak_green"), 0);
  c.frames(1);
  EXPECT_EQ(c.state("hydrau_level_green"), 60);
  EXPECT_TRUE(c.visible(LEVEL, 8)) << "switch on image";
  c.click(LEVEL, 60, 40);
  EXPECT_EQ(c.state("hydrau_level_sw_green"), 0);
}

} // namespace
