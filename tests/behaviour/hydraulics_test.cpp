// The hydraulic circuits and their panels, brakes, servo panel, emergency levers, cabin call and
// the stand-in's brakes, flaps and gear. The engine pumps' start and overshoot, a shut valve, the
// red pressure floor and the flap-handle lock are the scenarios hydraulics_*.k7s; the pump, level
// and lock rules one by one are the unit tests hydraulics_logic_test.
#include "host/sound_view.h"
#include "k7test.h"

#include <utility>

namespace {

using namespace k7test;

constexpr std::uint32_t ON_GROUND = 0x3C, AIRSPEED = 0x3D, BRAKE_L = 0x140, BRAKE_R = 0x141;
constexpr std::uint32_t PARK_BRAKE = 0x143, SPOILERS = 0x146, FLAP_HANDLE = 0x148, GEAR = 0x14D;
constexpr std::uint32_t FLAP_ANGLE = 0x38B;
constexpr std::uint32_t KEY_FLAPS_UP = 0x1003B, KEY_FLAPS_DOWN = 0x10043;
constexpr std::uint32_t KEY_FLAPS_INCR = 0x100DE, KEY_FLAPS_DECR = 0x100DF;
constexpr std::uint32_t KEY_GEAR_DOWN = 0x10220;

// Flap handle detents of the simulator stand-in.
constexpr double HANDLE_5 = 16384.0 / 9.0, HANDLE_10 = 16384.0 * 0.4, HANDLE_32 = 16384.0 * 0.8;
constexpr double HANDLE_45 = 16384.0;

const char* const GBVALVES = "kestovil hydrau_gbvalves_k7";
const char* const LEVEL = "kestovil hydrau_level_k7";
const char* const LOWFLOW_G = "kestovil hydrau_lowflow_g_k7";
const char* const LOWFLOW_B = "kestovil hydrau_lowflow_b_k7";
const char* const PUMP_YELLOW = "kestovil hydrau_pump_yellow_k7";
const char* const PUMP_RED = "kestovil hydrau_pump_red_k7";
const char* const PRESS_GREEN = "kestovil hydrau_press_green_k7";
const char* const BRAKES_NORM = "kestovil hydrau_brakes_norm_k7";
const char* const BRAKES_STBY = "kestovil hydrau_brakes_stby_k7";
const char* const SERVOS_PANEL = "kestovil servos_k7";
const char* const EMERG_LEV = "kestovil emerg_lev_k7";
const char* const CALLSIGNS = "kestovil callsigns_k7";

// The hydraulic, servo and cabin-call panels open, the buses powered.
struct Circuits : Bed {
  Circuits() : Bed{HYDRAULICS, SERVOS, CABIN_CALL} { power(); }
  // Runs the engines until both circuits have settled at 2500 psi.
  void settle() {
    engines(60, 60);
    frames(100);
    ASSERT_EQ(state("hydrau_press_green"), 2500);
    ASSERT_EQ(state("hydrau_press_blue"), 2500);
  }
  // A brake application of the left pedal: pressed for two updates, released for one.
  void apply_brake() {
    sim->set_token(BRAKE_L, 16000);
    frames(2);
    sim->set_token(BRAKE_L, 0);
    frames();
  }
};

TEST(HydraulicCircuits, EnginePumpsNeedTwentyPercentN2AndOneEngineCarriesBothCircuits) {
  Circuits c;
  c.engines(19.9, 0);
  c.frames(20);
  EXPECT_EQ(c.state("hydrau_press_green"), 0);
  c.engines(20.0, 0);
  c.frames();
  EXPECT_EQ(c.state("hydrau_pump_g1_press"), 30);
  EXPECT_EQ(c.state("hydrau_pump_b1_press"), 30);
  EXPECT_EQ(c.state("hydrau_pump_g2_press"), 0) << "engine 2 stopped";
  c.frames(100);
  EXPECT_EQ(c.state("hydrau_press_green"), 2500);
  EXPECT_EQ(c.state("hydrau_press_blue"), 2500);
}

TEST(HydraulicCircuits, ValvesStayWhereTheyAreWithoutTheEssentialBus) {
  Circuits c;
  c.settle();
  c->click(GBVALVES, 270, 50); // guard
  c->click(GBVALVES, 270, 50); // blue valve of engine 2 shuts
  c.set("elec_bus_ess", 0);
  c.frames(30);
  EXPECT_EQ(c.state("hydrau_valve_b2_pos"), 30);
  EXPECT_EQ(c.state("hydrau_pump_b2_press"), 2500);
  c.set("elec_bus_ess", 1);
  c.frames(30);
  EXPECT_EQ(c.state("hydrau_valve_b2_pos"), 0);
  EXPECT_LT(c.state("hydrau_pump_b2_press"), 2500);
}

TEST(HydraulicCircuits, ValveSwitchesWorkUnderTheirCommonGuard) {
  Circuits c;
  c.frames();
  EXPECT_TRUE(c.visible(GBVALVES, 18)) << "guard closed";
  c->click(GBVALVES, 100, 20); // up on an open valve with the guard closed: nothing
  EXPECT_EQ(c.state("hydrau_valves_guard_open"), 0);
  c->click(GBVALVES, 100, 70); // down: the guard opens silently, the valve stays open
  EXPECT_EQ(c.state("hydrau_valves_guard_open"), 1);
  EXPECT_EQ(c.state("hydrau_valve_g2"), 1);
  EXPECT_EQ(c.calls("CLICK") + c.calls("CACHEMETAL"), 0u);
  c->click(GBVALVES, 100, 70); // down again: the valve shuts with a click
  c->click(GBVALVES, 100, 70); // and stays shut
  EXPECT_EQ(c.state("hydrau_valve_g2"), 0);
  EXPECT_EQ(c.calls("CLICK"), 1u);
  c.frames();
  EXPECT_TRUE(c.visible(GBVALVES, 8)) << "green 2 shut image";
  EXPECT_FALSE(c.visible(GBVALVES, 6)) << "green 2 open image";
  EXPECT_TRUE(c.visible(GBVALVES, 20)) << "guard open";
  c->click(GBVALVES, 100, 20); // up: the valve opens, the guard stays open
  EXPECT_EQ(c.state("hydrau_valve_g2"), 1);
  EXPECT_EQ(c.state("hydrau_valves_guard_open"), 1);
  c->click(GBVALVES, 100, 20); // up again: the guard closes
  EXPECT_EQ(c.state("hydrau_valves_guard_open"), 0);
  EXPECT_EQ(c.calls("CACHEMETAL"), 1u);
  EXPECT_EQ(c.calls("CLICK"), 2u);
  c.frames();
  shows(c, GBVALVES, {6, 18});
  c.set("hydrau_valve_b1", 0); // shut valves open from the up area whatever the guard
  c->click(GBVALVES, 190, 10);
  EXPECT_EQ(c.state("hydrau_valve_b1"), 1);
}

TEST(HydraulicCircuits, FailedGreenPumpsAndALowGreenReservoirLeaveBlueAlone) {
  Circuits c;
  c.settle();
  c.set("hydrau_fail_g1", 1);
  c.set("hydrau_fail_g2", 1);
  c.frames();
  EXPECT_EQ(c.state("hydrau_press_green"), 2485);
  c.frames(200);
  EXPECT_EQ(c.state("hydrau_press_green"), 0);
  EXPECT_EQ(c.state("hydrau_press_blue"), 2500);

  Circuits d;
  d.settle();
  d.set("hydrau_fail_level_green", 1); // level 15: the green pumps run dry
  d.frames();
  EXPECT_EQ(d.state("hydrau_level_green"), 15);
  d.frames();
  EXPECT_EQ(d.state("hydrau_press_green"), 2485);
  EXPECT_EQ(d.state("hydrau_press_blue"), 2500);
}

TEST(HydraulicLamps, LowFlowLampsGoOutAbove1400PsiPerPumpAndDarkenWithTheirSupply) {
  Circuits c;
  c.engines(60, 0);
  c.frames(46); // engine 1 pumps at 1380
  EXPECT_EQ(c.state("hydrau_pump_g1_press"), 1380);
  EXPECT_TRUE(c.visible(LOWFLOW_G, 2));
  c.frames(); // 1410
  EXPECT_FALSE(c.visible(LOWFLOW_G, 2));
  EXPECT_FALSE(c.visible(LOWFLOW_B, 2));
  EXPECT_TRUE(c.visible(LOWFLOW_G, 4)) << "engine 2 stopped";
  EXPECT_TRUE(c.visible(LOWFLOW_B, 4));
  c.set("elec_bus_ess_hyd", 0);
  c.frames();
  for (const char* g : {LOWFLOW_G, LOWFLOW_B})
    for (int e = 2; e <= 5; ++e)
      EXPECT_FALSE(c.visible(g, e)) << g << " " << e;
}

TEST(HydraulicLamps, NightLightingSwapsTheArtwork) {
  Circuits c;
  c.night(true);
  c.frames();
  shows(c, GBVALVES, {1}, {0});
  EXPECT_TRUE(c.visible(GBVALVES, 3)) << "green 1 open, night";
  EXPECT_FALSE(c.visible(GBVALVES, 2));
  EXPECT_TRUE(c.visible(LOWFLOW_G, 3)) << "lit lamp, night copy";
  EXPECT_FALSE(c.visible(LOWFLOW_G, 2));
  EXPECT_TRUE(c.visible(BRAKES_NORM, 3)) << "left needle, night copy";
  EXPECT_EQ(c.value(PRESS_GREEN, 1), 1) << "face icon shows its night image";
  c.night(false);
  c.frames();
  shows(c, GBVALVES, {0}, {1});
  EXPECT_TRUE(c.visible(LOWFLOW_G, 2));
  EXPECT_EQ(c.value(PRESS_GREEN, 1), 0);
}

TEST(YellowPumps, ServoLeverStartsThePumpsAndTheLampAndPumpOneNeedTheMainBus) {
  Circuits c;
  c.settle();
  c->click(SERVOS_PANEL, 240, 100); // lever 0 -> 1
  c->click(SERVOS_PANEL, 160, 100); // lever 1 -> 2
  ASSERT_EQ(c.state("hydrau_servo_mode"), 2);
  c.frames();
  EXPECT_EQ(c.state("hydrau_yellow2_on"), 3);
  c.frames();
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

  c.set("elec_bus_main", 0);
  c.frames();
  shows(c, PUMP_YELLOW, {}, {2, 3});
  EXPECT_EQ(c.state("hydrau_press_yellow"), 2000) << "the command holds without the bus";

  c->click(SERVOS_PANEL, 240, 100); // lever 2 -> 1: pump 2 stops, 500 psi held on this notch
  c.frames(2);
  EXPECT_EQ(c.state("hydrau_yellow2_on"), 0);
  EXPECT_EQ(c.state("hydrau_press_yellow"), 1985);
  c.frames(200);
  EXPECT_EQ(c.state("hydrau_press_yellow"), 500);
  c->click(SERVOS_PANEL, 240, 200); // lever 1 -> 0: nothing holds it any more
  c.frames(40);
  EXPECT_EQ(c.state("hydrau_press_yellow"), 0);

  // Pump 1, still without the main bus, waits for it.
  c->click(SERVOS_PANEL, 240, 350); // 0 -> 3
  c->click(SERVOS_PANEL, 160, 350); // 3 -> 4
  ASSERT_EQ(c.state("hydrau_servo_mode"), 4);
  c.frames(10);
  EXPECT_EQ(c.state("hydrau_yellow1_on"), 3);
  EXPECT_EQ(c.state("hydrau_press_yellow"), 0);
  c.set("elec_bus_main", 1);
  c.frames(3);
  EXPECT_EQ(c.state("hydrau_yellow1_on"), 1);
  EXPECT_GT(c.state("hydrau_yellow1_press"), 0);
  EXPECT_EQ(c.state("hydrau_press_yellow"), c.state("hydrau_yellow1_press"));
}

TEST(RedPump, RunsUpOnItsSwitchAndLightsItsLampBelowPressure) {
  Circuits c;
  c.set("hydrau_press_red", 1000);
  c->click(PUMP_RED, 60, 120); // switch to 1
  ASSERT_EQ(c.state("hydrau_red_sw"), 1);
  c.frames(24);
  EXPECT_EQ(c.state("hydrau_red_spool"), 24);
  EXPECT_EQ(c.state("hydrau_press_red"), 1000) << "not yet running";
  c.frames();
  EXPECT_EQ(c.state("hydrau_press_red"), 1030);
  EXPECT_TRUE(c.visible(PUMP_RED, 2));
  EXPECT_TRUE(c.visible(PUMP_RED, 6)) << "switch image at 1";
  c.frames(60);
  EXPECT_EQ(c.state("hydrau_press_red"), 2500);
  EXPECT_FALSE(c.visible(PUMP_RED, 2));

  c.set("hydrau_press_red", 2400);
  c.frames();
  EXPECT_EQ(c.state("hydrau_press_red"), 2415);
  EXPECT_TRUE(c.visible(PUMP_RED, 2));
  c.set("elec_bus_main", 0);
  c.frames();
  EXPECT_FALSE(c.visible(PUMP_RED, 2)) << "main bus lost: lamp dark";
  EXPECT_EQ(c.state("hydrau_press_red"), 2430) << "the pump still runs on its run-up";

  c->click(PUMP_RED, 90, 120); // switch to 0
  c.frames(5);
  EXPECT_EQ(c.state("hydrau_red_spool"), 25);
  EXPECT_EQ(c.state("hydrau_press_red"), 2500);
  c.frames();
  EXPECT_EQ(c.state("hydrau_red_spool"), 24);
  EXPECT_EQ(c.state("hydrau_red_running"), 0);
}

TEST(RedPump, OnlyGroundApplicationsWithTheParkingBrakeOffAndGreenLowCount) {
  Circuits c;
  c->set_token(BRAKE_L, 8001);
  c.frames(40);
  EXPECT_EQ(c.state("hydrau_press_red"), 2450) << "held for 40 updates: one application";
  c->set_token(BRAKE_L, 0);
  c.frames();
  c->set_token(PARK_BRAKE, 100);
  c.apply_brake();
  EXPECT_EQ(c.state("hydrau_press_red"), 2450) << "parking brake set";
  c->set_token(PARK_BRAKE, 0);
  c->set_token(ON_GROUND, 0);
  c.apply_brake();
  EXPECT_EQ(c.state("hydrau_press_red"), 2450) << "airborne";
  c->set_token(ON_GROUND, 1);
  c.settle();
  c.apply_brake();
  EXPECT_EQ(c.state("hydrau_press_red"), 2450) << "green healthy: the normal brakes serve";
}

TEST(RedPump, EmergencyFlapsLowerItsTargetToOneThousandWhileTheFlapsMove) {
  Circuits c;
  c->click(PUMP_RED, 120, 120); // switch to 2
  c.frames(30);
  ASSERT_EQ(c.state("hydrau_red_running"), 1);
  c->click(EMERG_LEV, 200, 30);  // guard open
  c->click(EMERG_LEV, 140, 320); // lever to 2: flaps down on red pressure
  EXPECT_EQ(c.state("emerg_flap_lev"), 2);
  EXPECT_EQ(c->token(FLAP_HANDLE), HANDLE_45);
  c.frames(31);
  EXPECT_EQ(c.state("hydrau_flap_moving"), 0);
  EXPECT_EQ(c.state("hydrau_press_red"), 2500);
  c.frames();
  EXPECT_EQ(c.state("hydrau_flap_moving"), 1) << "30 ticks of movement seen";
  EXPECT_EQ(c.state("hydrau_press_red"), 2450);
  EXPECT_EQ(c.state("hydrau_red_running"), 2);
  c.frames(9);
  EXPECT_EQ(c.state("hydrau_press_red"), 2000);
  EXPECT_FALSE(c.visible(PUMP_RED, 2));
  c.frames();
  EXPECT_TRUE(c.visible(PUMP_RED, 2)) << "below 2000 while shedding";
  c.frames(30);
  EXPECT_EQ(c.state("hydrau_press_red"), 1000);
  c.frames(450); // flaps at 45: no more movement
  EXPECT_EQ(c.state("hydrau_flap_moving"), 0);
  EXPECT_GT(c.state("hydrau_press_red"), 1000);
}

TEST(RedPump, EmergencyGearExtensionRegulatesTo1500UntilTheGearIsDown) {
  Circuits c;
  c->set_token(GEAR, 0);
  c->click(PUMP_RED, 60, 120);
  c.frames(30);
  const auto since = c->frame_count();
  c->click(EMERG_LEV, 50, 300);
  EXPECT_EQ(c.keys(KEY_GEAR_DOWN, since), 1u);
  c.frames(10);
  EXPECT_EQ(c.state("hydrau_press_red"), 2000);
  c.frames(10);
  EXPECT_EQ(c.state("hydrau_press_red"), 1500);
  c.frames(200);
  EXPECT_EQ(c->token(GEAR), 16383);
  EXPECT_EQ(c.state("hydrau_press_red"), 2500) << "back to 2500 with the gear down";
}

TEST(Reservoirs, GreenLevelFollowsTheGearAndTheNeedlesNeedTheirSupply) {
  Bed c{HYDRAULICS};
  c.frames();
  EXPECT_EQ(c.state("hydrau_level_green"), 60) << "gear down";
  EXPECT_EQ(c.value(LEVEL, 2), 0) << "no supply: the needle rests";
  c->set_token(GEAR, 0);
  c.frames();
  EXPECT_EQ(c.state("hydrau_level_green"), 50);
  c.set("elec_bus_ess_hyd", 1);
  c.frames();
  EXPECT_EQ(c.value(LEVEL, 2), 50);
  EXPECT_EQ(c.value(LEVEL, 4), 0) << "blue needle on the AC instrument bus";
  c.set("elec_ac_instr", 1);
  c.frames();
  EXPECT_EQ(c.value(LEVEL, 4), 60);
  c.set("elec_bus_ess_hyd", 0);
  c->set_token(GEAR, 16383);
  c.frames();
  EXPECT_EQ(c.state("hydrau_level_green"), 60);
  EXPECT_EQ(c.value(LEVEL, 2), 50) << "the green needle holds without its supply";
}

TEST(Reservoirs, GreenLeakDrainsWithFlapExtensionUntilItsSwitchIsOn) {
  Bed c{HYDRAULICS}; // no servo panel, so no flap-handle lock: the flaps follow their handle
  c.power();
  c.set("hydrau_leak_green", 1);
  c.frames();
  EXPECT_EQ(c.state("hydrau_low_level_green"), 1);
  EXPECT_EQ(c.state("hydrau_low_level_blue"), 0);
  EXPECT_EQ(c.state("hydrau_level_green"), 60);
  c->set_token(FLAP_HANDLE, HANDLE_10); // flaps to 10 degrees
  c.frames(100);
  EXPECT_EQ(c.state("hydrau_leak_reserve"), 33) << "3 % for each degree past the first";
  EXPECT_EQ(c.state("hydrau_level_green"), 43);
  c->set_token(FLAP_ANGLE, 4629); // no flap goes there: held to full extension
  c.frames();
  EXPECT_LE(c.state("hydrau_leak_angle"), 90);
  c->set_token(FLAP_ANGLE, 10);
  c.set("hydrau_leak_angle", 10);
  c.set("hydrau_leak_reserve", 33);
  c->set_token(SPOILERS, 16001);
  c.frames();
  EXPECT_EQ(c.state("hydrau_level_green"), 15);
  c.set("elec_bus_ess_hyd", 0);
  c.frames();
  EXPECT_EQ(c.state("hydrau_low_level_green"), 0) << "no alarm without its supply";

  c->click(LEVEL, 60, 100); // green level switch on
  EXPECT_EQ(c.state("hydrau_level_sw_green"), 1);
  EXPECT_EQ(c.state("hydrau_leak_green"), 0);
  c.frames();
  EXPECT_EQ(c.state("hydrau_level_green"), 60);
  EXPECT_TRUE(c.visible(LEVEL, 8)) << "switch on image";
  c->click(LEVEL, 60, 40);
  EXPECT_EQ(c.state("hydrau_level_sw_green"), 0);
}

// ---- brakes: the hydraulic panel stays closed, so the pressures stand as the test sets them

using Pair = std::pair<double, double>;

struct Brakes : Bed {
  Brakes() { pedals(8000, 4000); }
  void pedals(double left, double right) {
    sim->set_token(BRAKE_L, left);
    sim->set_token(BRAKE_R, right);
  }
  // The left and right pressures of the normal (or standby) brakes after one update.
  Pair at(double green, double red, bool standby = false) {
    set("hydrau_press_green", green);
    set("hydrau_press_red", red);
    frames();
    const std::string which = standby ? "brake_stby_" : "brake_norm_";
    return {state(which + "l"), state(which + "r")};
  }
};

TEST(NormalBrakes, ActAbove1400PsiGreenAndShowTheParkingBrake) {
  Brakes c;
  c.set("elec_bus_ess", 1);
  EXPECT_EQ(c.at(1400, 2500), Pair(0, 0));
  EXPECT_EQ(c.value(BRAKES_NORM, 6), 1400) << "accumulator needle";
  EXPECT_EQ(c.at(1401, 2500), Pair(400, 200));
  EXPECT_EQ(c.value(BRAKES_NORM, 2), 400) << "left needle";
  EXPECT_EQ(c.value(BRAKES_NORM, 4), 200) << "right needle";
  c->set_token(PARK_BRAKE, 0.1);
  EXPECT_EQ(c.at(1401, 2500), Pair(400, 200)) << "0.1 is still released";
  c->set_token(PARK_BRAKE, 32767);
  EXPECT_EQ(c.at(1401, 2500), Pair(1638, 1638));
}

TEST(NormalBrakes, HoldWithoutTheEssentialBusAndReadZeroAirborneOrUnderTheAutomation) {
  Brakes c;
  c.set("elec_bus_ess", 1);
  ASSERT_EQ(c.at(2500, 2500), Pair(400, 200));
  c.set("elec_bus_ess", 0);
  c.pedals(16000, 16000);
  EXPECT_EQ(c.at(0, 2500), Pair(400, 200));
  EXPECT_EQ(c.state("brake_norm_accu"), 0) << "the accumulator follows green regardless";
  c.set("hyd_park_auto", 1);
  EXPECT_EQ(c.at(0, 2500).first, 0);
  c.set("hyd_park_auto", 2);
  c.set("elec_bus_ess", 1);
  EXPECT_EQ(c.at(2500, 2500).first, 800);
  c->set_token(ON_GROUND, 0);
  EXPECT_EQ(c.at(2500, 2500), Pair(0, 0));
}

TEST(StandbyBrakes, ActOnlyWithRedAbove1400AndGreenBelow1400) {
  Brakes c;
  c.set("elec_bus_main", 1);
  EXPECT_EQ(c.at(1399, 1401, true), Pair(400, 200));
  EXPECT_EQ(c.value(BRAKES_STBY, 6), 1401) << "accumulator needle shows red";
  EXPECT_EQ(c.at(1400, 1401, true), Pair(0, 0)) << "green at 1400: the normal brakes serve";
  EXPECT_EQ(c.at(1399, 1400, true), Pair(0, 0)) << "red at 1400: not enough";
  // The parking-brake lever's standby selection takes the pedals whatever green does.
  c.set("parkb_lev_state", 2);
  EXPECT_EQ(c.at(2500, 1401, true).first, 400);
  EXPECT_EQ(c.at(2500, 1400, true).first, 0);
  // Below 51 psi only the parking brake shows.
  EXPECT_EQ(c.at(0, 50, true).first, 0);
  c->set_token(PARK_BRAKE, 20000);
  EXPECT_EQ(c.at(0, 50, true), Pair(1000, 1000));
  c.set("elec_bus_main", 0);
  c->set_token(PARK_BRAKE, 0);
  EXPECT_EQ(c.at(0, 50, true).first, 1000) << "kept without the main bus";
  c->set_token(ON_GROUND, 0);
  EXPECT_EQ(c.at(0, 50, true).first, 0) << "airborne";
}

TEST(BrakeNoise, LoopsOnTheGroundFromThirtyKnotsWithABrakePastAThousand) {
  Brakes c;
  auto noise = [&](double airspeed, double left, double right) {
    c->set_token(AIRSPEED, airspeed);
    c.pedals(left, right);
    c.frames();
    auto s = k7host::sound_state(*c.sim, "BRAKESSND");
    EXPECT_EQ(s && s->playing && s->looping, c.state("brake_noise_on") == 1);
    return c.state("brake_noise_on");
  };
  EXPECT_EQ(noise(30, 1001, 0), 1);
  EXPECT_EQ(noise(29.9, 1001, 0), 0);
  EXPECT_EQ(noise(30, 1000, 0), 0);
  EXPECT_EQ(noise(30, 0, 1001), 1);
  c->set_token(PARK_BRAKE, 1);
  EXPECT_EQ(noise(30, 0, 1001), 0) << "parking brake set";
  c->set_token(PARK_BRAKE, 0);
  c->set_token(ON_GROUND, 0);
  EXPECT_EQ(noise(30, 0, 1001), 0) << "airborne";
}

// ---- servo panel, emergency levers, cabin call

struct Servos : Bed {
  Servos() : Bed{SERVOS} {}
  // The lever's click areas by the notch they lead to.
  void toward(int notch) {
    const int xy[5][2] = {{240, 200}, {240, 100}, {160, 100}, {240, 350}, {160, 350}};
    sim->click(SERVOS_PANEL, xy[notch][0], xy[notch][1]);
  }
};

TEST(ServoPanel, LeverMovesOneNotchPerClickInTheOrder21034) {
  Servos c;
  const struct {
    int area;
    int expect;
  } steps[] = {{2, 0}, {4, 0}, {1, 1}, {3, 1}, {2, 2}, {0, 2}, {1, 1},
               {0, 0}, {3, 3}, {1, 3}, {4, 4}, {0, 4}, {3, 3}, {0, 0}};
  for (const auto& s : steps) {
    c.toward(s.area);
    EXPECT_EQ(c.state("hydrau_servo_mode"), s.expect) << "after the area toward " << s.area;
    c.frames();
    for (int notch = 0; notch < 5; ++notch)
      EXPECT_EQ(c.visible(SERVOS_PANEL, 2 + 2 * notch), notch == s.expect) << notch;
  }
}

TEST(ServoPanel, AlarmsFollowGreenAndBlueAndTheLampsDarkenWithTheMainBus) {
  Servos c;
  c.set("elec_bus_main", 1);
  c.set("hydrau_press_blue", 1400);
  c.set("hydrau_press_green", 1401);
  c.frames();
  EXPECT_EQ(c.state("servo_alarm_2"), 1);
  EXPECT_EQ(c.state("servo_alarm_1"), 0);
  EXPECT_TRUE(c.visible(SERVOS_PANEL, 22)) << "lamp 2a";
  EXPECT_TRUE(c.visible(SERVOS_PANEL, 24)) << "lamp 2b";
  EXPECT_FALSE(c.visible(SERVOS_PANEL, 26)) << "lamp 1a";
  EXPECT_FALSE(c.visible(SERVOS_PANEL, 28)) << "lamp 1b";

  c->click(SERVOS_PANEL, 260, 40); // push switch 2b in: the alarm holds
  c.set("hydrau_press_blue", 2500);
  c.frames();
  EXPECT_EQ(c.state("servo_alarm_2"), 1);
  c->click(SERVOS_PANEL, 260, 40); // out again
  c.frames();
  EXPECT_EQ(c.state("servo_alarm_2"), 0);
  EXPECT_FALSE(c.visible(SERVOS_PANEL, 22));

  c->click(SERVOS_PANEL, 250, 500); // push switch 1a lights its lamp only
  c.frames();
  shows(c, SERVOS_PANEL, {26}, {28});
  EXPECT_EQ(c.state("servo_alarm_1"), 0);

  c.set("hydrau_press_green", 0);
  c.frames();
  EXPECT_EQ(c.state("servo_alarm_1"), 1);
  c->click(SERVOS_PANEL, 320, 500); // 1b in, with the alarm on
  c.set("hydrau_press_green", 2500);
  c.frames();
  EXPECT_EQ(c.state("servo_alarm_1"), 1) << "held by 1b";
  c.set("elec_bus_main", 0);
  c.frames();
  EXPECT_EQ(c.state("servo_alarm_1"), 0) << "the hold needs the main bus too";
  for (int e = 22; e <= 29; ++e)
    EXPECT_FALSE(c.visible(SERVOS_PANEL, e)) << e;
}

TEST(ServoPanel, SelectorsMoveOnlyWhereThePanelAllows) {
  Servos c;
  const struct {
    int x, y;
    const char* selector;
    double expect;
  } steps[] = {{70, 100, "servo_sel_a", 1},
               {70, 350, "servo_sel_a", 1}, // to 2 only from 0
               {70, 200, "servo_sel_a", 0},
               {70, 350, "servo_sel_a", 2},
               {340, 100, "servo_sel_b", 1}};
  for (const auto& s : steps) {
    c->click(SERVOS_PANEL, s.x, s.y);
    EXPECT_EQ(c.state(s.selector), s.expect) << s.x << "," << s.y;
  }
  c.frames();
  EXPECT_TRUE(c.visible(SERVOS_PANEL, 16)) << "selector A at 2";
  EXPECT_TRUE(c.visible(SERVOS_PANEL, 20)) << "selector B at 1";
  c->click(SERVOS_PANEL, 340, 350);
  EXPECT_EQ(c.state("servo_sel_b"), 0);
}

TEST(EmergencyLevers, GearLeverSendsGearDownOnlyAbove950PsiRed) {
  Servos c;
  c.set("hydrau_press_red", 950);
  c->click(EMERG_LEV, 50, 300);
  EXPECT_EQ(c.state("emerg_gear_lev"), 1);
  EXPECT_EQ(c.keys(KEY_GEAR_DOWN), 0u);
  c->click(EMERG_LEV, 50, 150);
  EXPECT_EQ(c.state("emerg_gear_lev"), 0);
  c.set("hydrau_press_red", 951);
  c->set_token(GEAR, 0);
  c->click(EMERG_LEV, 50, 300);
  EXPECT_EQ(c.keys(KEY_GEAR_DOWN), 1u);
  c->click(EMERG_LEV, 50, 300);
  EXPECT_EQ(c.keys(KEY_GEAR_DOWN), 1u) << "already pulled";
  c.frames();
  EXPECT_TRUE(c.visible(EMERG_LEV, 4)) << "pulled image";
  EXPECT_GT(c->token(GEAR), 0) << "the gear starts down";
}

TEST(EmergencyLevers, FlapLeverNeedsItsGuardOpenAndRedPressureForTheFlaps) {
  Servos c;
  c.set("hydrau_press_green", 2500);
  c->click(EMERG_LEV, 140, 140);
  EXPECT_EQ(c.state("emerg_flap_lev"), 0) << "guard closed";
  c->click(EMERG_LEV, 140, 240); // the rest area opens a closed guard
  EXPECT_EQ(c.state("emerg_flap_guard"), 1);
  c->click(EMERG_LEV, 140, 140);
  EXPECT_EQ(c.state("emerg_flap_lev"), 1);
  EXPECT_EQ(c.keys(KEY_FLAPS_UP), 1u);
  c->click(EMERG_LEV, 140, 320);
  EXPECT_EQ(c.state("emerg_flap_lev"), 1) << "to 2 only from 0";
  c->click(EMERG_LEV, 140, 240);
  EXPECT_EQ(c.state("emerg_flap_lev"), 0);
  EXPECT_EQ(c.state("emerg_flap_guard"), 1);
  c.set("hydrau_press_red", 950);
  c->click(EMERG_LEV, 140, 320);
  EXPECT_EQ(c.state("emerg_flap_lev"), 2);
  EXPECT_EQ(c.keys(KEY_FLAPS_DOWN), 0u) << "no red pressure, no flaps";
  c.frames();
  EXPECT_TRUE(c.visible(EMERG_LEV, 10)) << "lever at 2";
  EXPECT_TRUE(c.visible(EMERG_LEV, 14)) << "guard open";
  c->click(EMERG_LEV, 140, 240);
  c.set("hydrau_press_red", 951);
  c->click(EMERG_LEV, 140, 320);
  EXPECT_EQ(c.keys(KEY_FLAPS_DOWN), 1u) << "951 psi is enough";
  c->click(EMERG_LEV, 300, 240);
  EXPECT_EQ(c.state("emerg_flap_guard"), 0);
  c->click(EMERG_LEV, 200, 30);
  EXPECT_EQ(c.state("emerg_flap_guard"), 1);
}

TEST(CabinCall, HiAndLoChimeOnlyWhenMovedWithTheEssentialBus) {
  Bed c{CABIN_CALL};
  c.set("elec_bus_ess", 1);
  c->click(CALLSIGNS, 60, 45); // HI to 1
  EXPECT_EQ(c.calls("CLICK"), 1u);
  EXPECT_EQ(c.calls("HI"), 1u);
  c->click(CALLSIGNS, 60, 45); // already there
  c->click(CALLSIGNS, 20, 75); // HI to 2: the switch only
  EXPECT_EQ(c.state("cabin_call_hi"), 2);
  EXPECT_EQ(c.calls("CLICK"), 2u);
  EXPECT_EQ(c.calls("HI"), 1u);
  c->click(CALLSIGNS, 70, 100); // LO to 1
  c->click(CALLSIGNS, 110, 15); // A to 1: a plain switch
  EXPECT_EQ(c.calls("CLICK"), 4u);
  EXPECT_EQ(c.calls("HI"), 1u);
  EXPECT_EQ(c.calls("LO"), 1u);
  c.set("elec_bus_ess", 0);
  c->click(CALLSIGNS, 50, 70);  // HI to 0
  c->click(CALLSIGNS, 40, 110); // LO to 0
  EXPECT_EQ(c.calls("CLICK"), 6u);
  EXPECT_EQ(c.calls("HI"), 1u) << "no chime without the essential bus";
  EXPECT_EQ(c.calls("LO"), 1u);
  c.frames();
  EXPECT_TRUE(c.visible(CALLSIGNS, 4)) << "A at 1";
  EXPECT_TRUE(c.visible(CALLSIGNS, 6)) << "HI at 0";
  EXPECT_TRUE(c.visible(CALLSIGNS, 12)) << "LO at 0";
  EXPECT_FALSE(c.visible(CALLSIGNS, 10)) << "HI at 2";
  c->click(CALLSIGNS, 90, 40);
  EXPECT_EQ(c.state("cabin_call_a"), 0);
}

// ---- the stand-in's flaps (its parking brake: the start panel's automation in panels_test; its
// gear: the emergency extension above)

TEST(StandIn, FlapHandleMovesByDetentsAndTheFlapsFollowSlowly) {
  Bed c;
  auto key = [&](std::uint32_t id) {
    k7host::apply_key_event(*c.sim, id, 0);
    return c->token(FLAP_HANDLE);
  };
  for (double detent : {HANDLE_5, HANDLE_10, 16384.0 * 0.6, HANDLE_32, HANDLE_45, HANDLE_45})
    EXPECT_EQ(key(KEY_FLAPS_INCR), detent);
  EXPECT_EQ(key(KEY_FLAPS_DECR), HANDLE_32);
  c->set_token(FLAP_HANDLE, 5000);
  EXPECT_EQ(key(KEY_FLAPS_DECR), HANDLE_5);
  EXPECT_EQ(key(KEY_FLAPS_UP), 0);
  EXPECT_EQ(key(KEY_FLAPS_DECR), 0);
  EXPECT_EQ(key(KEY_FLAPS_DOWN), HANDLE_45);
  c.frames(10);
  EXPECT_NEAR(c->token(FLAP_ANGLE), 1.0, 1e-9);
  EXPECT_EQ(c->token(0x38C), c->token(FLAP_ANGLE)) << "both sides alike";
  c.frames(450);
  EXPECT_EQ(c->token(FLAP_ANGLE), 45);
}

} // namespace
