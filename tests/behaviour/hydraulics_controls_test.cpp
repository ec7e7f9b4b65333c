// Brakes, servo panel, emergency levers with the flap-handle lock, cabin call, and the stand-in's
// brakes, flaps and gear that they act on.
#include "hydraulics_support.h"

#include "host/model.h"

namespace {

using namespace hydtest;

// The hydraulic panel stays closed in these tests unless they open it: the circuit pressures
// then stand as the test sets them.
struct Controls : Cockpit {
  Controls() : Cockpit(false) {}
  void pressures(double green, double red) {
    set("hydrau_press_green", green);
    set("hydrau_press_red", red);
  }
  void pedals(double left, double right) {
    sim->set_token(TOKEN_BRAKE_LEFT, left);
    sim->set_token(TOKEN_BRAKE_RIGHT, right);
  }
  void brakes(double& left, double& right, const char* l, const char* r) {
    frames(1);
    left = state(l);
    right = state(r);
  }
};

TEST(NormalBrakes, ReadZeroBelow1401PsiGreen) {
  Controls c;
  c.bus("elec_bus_ess", true);
  c.pedals(8000, 4000);
  double l = -1, r = -1;
  c.pressures(1400, 2500);
  c.brakes(l, r, "brake_norm_l", "brake_norm_r");
  EXPECT_EQ(l, 0);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(c.value(BRAKES_NORM, 6), 1400) << "accumulator needle";
  c.pressures(1401, 2500);
  c.brakes(l, r, "brake_norm_l", "brake_norm_r");
  EXPECT_EQ(l, 400);
  EXPECT_EQ(r, 200);
  EXPECT_EQ(c.value(BRAKES_NORM, 2), 400) << "left needle";
  EXPECT_EQ(c.value(BRAKES_NORM, 4), 200) << "right needle";
  c.sim->set_token(TOKEN_PARK_BRAKE, 0.1);
  c.brakes(l, r, "brake_norm_l", "brake_norm_r");
  EXPECT_EQ(l, 400) << "0.1 is still released";
  c.sim->set_token(TOKEN_PARK_BRAKE, 32767);
  c.brakes(l, r, "brake_norm_l", "brake_norm_r");
  EXPECT_EQ(l, 1638);
  EXPECT_EQ(r, 1638);
}

TEST(NormalBrakes, HoldWithoutTheEssentialBusAndReadZeroAirborneOrUnderTheAutomation) {
  Controls c;
  c.bus("elec_bus_ess", true);
  c.pedals(8000, 4000);
  c.pressures(2500, 2500);
  double l = -1, r = -1;
  c.brakes(l, r, "brake_norm_l", "brake_norm_r");
  ASSERT_EQ(l, 400);
  c.bus("elec_bus_ess", false);
  c.pressures(0, 2500);
  c.pedals(16000, 16000);
  c.brakes(l, r, "brake_norm_l", "brake_norm_r");
  EXPECT_EQ(l, 400);
  EXPECT_EQ(r, 200);
  EXPECT_EQ(c.state("brake_norm_accu"), 0) << "the accumulator follows green regardless";
  c.set("hyd_park_auto", 1);
  c.brakes(l, r, "brake_norm_l", "brake_norm_r");
  EXPECT_EQ(l, 0);
  c.set("hyd_park_auto", 2);
  c.bus("elec_bus_ess", true);
  c.pressures(2500, 2500);
  c.brakes(l, r, "brake_norm_l", "brake_norm_r");
  EXPECT_EQ(l, 800);
  c.sim->set_token(TOKEN_ON_GROUND, 0);
  c.brakes(l, r, "brake_norm_l", "brake_norm_r");
  EXPECT_EQ(l, 0);
  EXPECT_EQ(r, 0);
}

TEST(StandbyBrakes, ActOnlyWithRedAbove1400AndGreenBelow1400) {
  Controls c;
  c.bus("elec_bus_main", true);
  c.pedals(8000, 4000);
  double l = -1, r = -1;
  c.pressures(1399, 1401);
  c.brakes(l, r, "brake_stby_l", "brake_stby_r");
  EXPECT_EQ(l, 400);
  EXPECT_EQ(r, 200);
  EXPECT_EQ(c.value(BRAKES_STBY, 6), 1401) << "accumulator needle shows red";
  c.pressures(1400, 1401);
  c.brakes(l, r, "brake_stby_l", "brake_stby_r");
  EXPECT_EQ(l, 0) << "green at 1400: the normal brakes serve";
  c.pressures(1399, 1400);
  c.brakes(l, r, "brake_stby_l", "brake_stby_r");
  EXPECT_EQ(l, 0) << "red at 1400: not enough";

  // The parking-brake lever's standby selection takes the pedals whatever green does.
  c.set("parkb_lev_state", 2);
  c.pressures(2500, 1401);
  c.brakes(l, r, "brake_stby_l", "brake_stby_r");
  EXPECT_EQ(l, 400);
  c.pressures(2500, 1400);
  c.brakes(l, r, "brake_stby_l", "brake_stby_r");
  EXPECT_EQ(l, 0);

  // Below 51 psi only the parking brake shows.
  c.pressures(0, 50);
  c.brakes(l, r, "brake_stby_l", "brake_stby_r");
  EXPECT_EQ(l, 0);
  c.sim->set_token(TOKEN_PARK_BRAKE, 20000);
  c.brakes(l, r, "brake_stby_l", "brake_stby_r");
  EXPECT_EQ(l, 1000);
  EXPECT_EQ(r, 1000);

  c.bus("elec_bus_main", false);
  c.sim->set_token(TOKEN_PARK_BRAKE, 0);
  c.brakes(l, r, "brake_stby_l", "brake_stby_r");
  EXPECT_EQ(l, 1000) << "kept without the main bus";
  c.sim->set_token(TOKEN_ON_GROUND, 0);
  c.brakes(l, r, "brake_stby_l", "brake_stby_r");
  EXPECT_EQ(l, 0) << "airborne";
}

TEST(BrakeNoise, LoopsOnTheGroundAtThirtyKnotsWithABrakeApplied) {
  Controls c;
  c.sim->set_token(TOKEN_AIRSPEED, 30);
  c.pedals(1001, 0);
  c.frames(1);
  EXPECT_EQ(c.state("brake_noise_on"), 1);
  EXPECT_TRUE(c.looping("BRAKESSND"));
  c.sim->set_token(TOKEN_AIRSPEED, 29.9);
  c.frames(1);
  EXPECT_EQ(c.state("brake_noise_on"), 0);
  EXPECT_FALSE(c.looping("BRAKESSND"));
  c.sim->set_token(TOKEN_AIRSPEED, 30);
  c.pedals(1000, 0);
  c.frames(1);
  EXPECT_EQ(c.state("brake_noise_on"), 0);
  c.pedals(0, 1001);
  c.frames(1);
  EXPECT_EQ(c.state("brake_noise_on"), 1);
  c.sim->set_token(TOKEN_PARK_BRAKE, 1);
  c.frames(1);
  EXPECT_EQ(c.state("brake_noise_on"), 0);
  EXPECT_FALSE(c.looping("BRAKESSND"));
  c.sim->set_token(TOKEN_PARK_BRAKE, 0);
  c.sim->set_token(TOKEN_ON_GROUND, 0);
  c.frames(1);
  EXPECT_EQ(c.state("brake_noise_on"), 0);
}

struct Servos : Controls {
  Servos() { sim->open_window(WINDOW_SERVOS); }
  // The lever's click areas by the notch they lead to.
  void toward(int notch) {
    const int xy[5][2] = {{240, 200}, {240, 100}, {160, 100}, {240, 350}, {160, 350}};
    click(SERVOS, xy[notch][0], xy[notch][1]);
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
    c.frames(1);
    for (int notch = 0; notch < 5; ++notch)
      EXPECT_EQ(c.visible(SERVOS, 2 + 2 * notch), notch == s.expect) << notch;
  }
}

TEST(ServoPanel, AlarmsFollowGreenAndBlueAndTheLampsDarkenWithTheMainBus) {
  Servos c;
  c.bus("elec_bus_main", true);
  c.set("hydrau_press_blue", 1400);
  c.set("hydrau_press_green", 1401);
  c.frames(1);
  EXPECT_EQ(c.state("servo_alarm_2"), 1);
  EXPECT_EQ(c.state("servo_alarm_1"), 0);
  EXPECT_TRUE(c.visible(SERVOS, 22)) << "lamp 2a";
  EXPECT_TRUE(c.visible(SERVOS, 24)) << "lamp 2b";
  EXPECT_FALSE(c.visible(SERVOS, 26)) << "lamp 1a";
  EXPECT_FALSE(c.visible(SERVOS, 28)) << "lamp 1b";

  c.click(SERVOS, 260, 40); // push switch 2b in: the alarm holds
  c.set("hydrau_press_blue", 2500);
  c.frames(1);
  EXPECT_EQ(c.state("servo_alarm_2"), 1);
  c.click(SERVOS, 260, 40); // out again
  c.frames(1);
  EXPECT_EQ(c.state("servo_alarm_2"), 0);
  EXPECT_FALSE(c.visible(SERVOS, 22));

  c.click(SERVOS, 250, 500); // push switch 1a lights its lamp only
  c.frames(1);
  EXPECT_TRUE(c.visible(SERVOS, 26));
  EXPECT_FALSE(c.visible(SERVOS, 28));
  EXPECT_EQ(c.state("servo_alarm_1"), 0);

  c.set("hydrau_press_green", 0);
  c.frames(1);
  EXPECT_EQ(c.state("servo_alarm_1"), 1);
  c.click(SERVOS, 320, 500); // 1b in, with the alarm on
  c.set("hydrau_press_green", 2500);
  c.frames(1);
  EXPECT_EQ(c.state("servo_alarm_1"), 1) << "held by 1b";
  c.bus("elec_bus_main", false);
  c.frames(1);
  EXPECT_EQ(c.state("servo_alarm_1"), 0) << "the hold needs the main bus too";
  for (int e = 22; e <= 29; ++e)
    EXPECT_FALSE(c.visible(SERVOS, e)) << e;
}

TEST(ServoPanel, SelectorsMoveOnlyWhereThePanelAllows) {
  Servos c;
  c.click(SERVOS, 70, 100);
  EXPECT_EQ(c.state("servo_sel_a"), 1);
  c.click(SERVOS, 70, 350);
  EXPECT_EQ(c.state("servo_sel_a"), 1) << "to 2 only from 0";
  c.click(SERVOS, 70, 200);
  EXPECT_EQ(c.state("servo_sel_a"), 0);
  c.click(SERVOS, 70, 350);
  EXPECT_EQ(c.state("servo_sel_a"), 2);
  c.click(SERVOS, 340, 100);
  EXPECT_EQ(c.state("servo_sel_b"), 1);
  c.frames(1);
  EXPECT_TRUE(c.visible(SERVOS, 16)) << "selector A at 2";
  EXPECT_TRUE(c.visible(SERVOS, 20)) << "selector B at 1";
  c.click(SERVOS, 340, 350);
  EXPECT_EQ(c.state("servo_sel_b"), 0);
}

TEST(EmergencyLevers, GearLeverSendsGearDownOnlyWithRedPressure) {
  Servos c;
  c.set("hydrau_press_red", 950);
  auto since = c.now();
  c.click(EMERG_LEV, 50, 300);
  EXPECT_EQ(c.state("emerg_gear_lev"), 1);
  EXPECT_EQ(c.keys(KEY_GEAR_DOWN, since), 0u);
  c.click(EMERG_LEV, 50, 150);
  EXPECT_EQ(c.state("emerg_gear_lev"), 0);
  c.set("hydrau_press_red", 951);
  c.sim->set_token(TOKEN_GEAR, 0);
  c.click(EMERG_LEV, 50, 300);
  EXPECT_EQ(c.keys(KEY_GEAR_DOWN, since), 1u);
  c.click(EMERG_LEV, 50, 300);
  EXPECT_EQ(c.keys(KEY_GEAR_DOWN, since), 1u) << "already pulled";
  c.frames(1);
  EXPECT_TRUE(c.visible(EMERG_LEV, 4)) << "pulled image";
  EXPECT_GT(c.sim->token(TOKEN_GEAR), 0) << "the gear starts down";
}

TEST(EmergencyLevers, FlapLeverNeedsItsGuardOpenAndRedPressureForTheFlaps) {
  Servos c;
  c.set("hydrau_press_green", 2500);
  auto since = c.now();
  c.click(EMERG_LEV, 140, 140);
  EXPECT_EQ(c.state("emerg_flap_lev"), 0) << "guard closed";
  c.click(EMERG_LEV, 140, 240); // the rest area opens a closed guard
  EXPECT_EQ(c.state("emerg_flap_guard"), 1);
  c.click(EMERG_LEV, 140, 140);
  EXPECT_EQ(c.state("emerg_flap_lev"), 1);
  EXPECT_EQ(c.keys(KEY_FLAPS_UP, since), 1u);
  c.click(EMERG_LEV, 140, 320);
  EXPECT_EQ(c.state("emerg_flap_lev"), 1) << "to 2 only from 0";
  c.click(EMERG_LEV, 140, 240);
  EXPECT_EQ(c.state("emerg_flap_lev"), 0);
  EXPECT_EQ(c.state("emerg_flap_guard"), 1);
  c.set("hydrau_press_red", 950);
  c.click(EMERG_LEV, 140, 320);
  EXPECT_EQ(c.state("emerg_flap_lev"), 2);
  EXPECT_EQ(c.keys(KEY_FLAPS_DOWN, since), 0u) << "no red pressure, no flaps";
  c.frames(1);
  EXPECT_TRUE(c.visible(EMERG_LEV, 10)) << "lever at 2";
  EXPECT_TRUE(c.visible(EMERG_LEV, 14)) << "guard open";
  c.click(EMERG_LEV, 300, 240);
  EXPECT_EQ(c.state("emerg_flap_guard"), 0);
  c.click(EMERG_LEV, 200, 30);
  EXPECT_EQ(c.state("emerg_flap_guard"), 1);
}

TEST(FlapHandleLock, HandleMovesFreelyWithTheGuardClosedAndGreenAt1750) {
  Servos c;
  c.set("hydrau_press_green", 1750);
  const auto since = c.now();
  c.sim->set_token(TOKEN_FLAP_HANDLE, HANDLE_10);
  c.frames(110);
  EXPECT_EQ(c.sim->token(TOKEN_FLAP_ANGLE), 10);
  EXPECT_EQ(c.sim->token(TOKEN_FLAP_HANDLE), HANDLE_10);
  EXPECT_EQ(c.keys(KEY_FLAPS_INCR, since) + c.keys(KEY_FLAPS_DECR, since), 0u);
}

TEST(FlapHandleLock, BelowGreen1750OrWithTheGuardOpenTheHandleIsPulledBackToTheFlapDetent) {
  for (bool guard_open : {false, true}) {
    Servos c;
    c.set("hydrau_press_green", guard_open ? 2500 : 1749);
    c.set("emerg_flap_guard", guard_open ? 1 : 0);
    const auto since = c.now();
    c.sim->set_token(TOKEN_FLAP_HANDLE, HANDLE_10);
    c.frames(1);
    EXPECT_EQ(c.sim->token(TOKEN_FLAP_HANDLE), HANDLE_5) << "one detent per update";
    c.frames(1);
    EXPECT_EQ(c.sim->token(TOKEN_FLAP_HANDLE), 0);
    c.frames(20);
    EXPECT_EQ(c.keys(KEY_FLAPS_DECR, since), 2u);
    EXPECT_EQ(c.keys(KEY_FLAPS_INCR, since), 0u);
    EXPECT_LT(c.sim->token(TOKEN_FLAP_ANGLE), 0.01) << "the flaps went back to 0";
  }
}

TEST(FlapHandleLock, EmergencyLeverOutOfRestReleasesTheHandle) {
  Servos c;
  c.set("hydrau_press_green", 0);
  c.set("emerg_flap_lev", 1);
  const auto since = c.now();
  c.sim->set_token(TOKEN_FLAP_HANDLE, HANDLE_10);
  c.frames(30);
  EXPECT_EQ(c.keys(KEY_FLAPS_INCR, since) + c.keys(KEY_FLAPS_DECR, since), 0u);
}

TEST(FlapHandleLock, FlapAngleOfExactly32SendsNothing) {
  Servos c;
  c.set("hydrau_press_green", 0);
  c.sim->set_token(TOKEN_FLAP_HANDLE, HANDLE_32);
  c.sim->set_token(TOKEN_FLAP_ANGLE, 32);
  const auto since = c.now();
  c.frames(50);
  EXPECT_EQ(c.keys(KEY_FLAPS_INCR, since) + c.keys(KEY_FLAPS_DECR, since), 0u);
  EXPECT_EQ(c.sim->token(TOKEN_FLAP_ANGLE), 32);
}

// A handle beyond the detent of the flap angle is brought back, never pushed further away: at
// 28 degrees with the handle fully down, one event back to the 32-degree detent, then nothing.
TEST(FlapHandleLock, HandleBeyondItsDetentComesBackOnceAndStays) {
  Servos c;
  c.set("hydrau_press_green", 0);
  c.sim->set_token(TOKEN_FLAP_HANDLE, HANDLE_45);
  c.sim->set_token(TOKEN_FLAP_ANGLE, 28);
  const auto since = c.now();
  c.frames(1);
  EXPECT_EQ(c.keys(KEY_FLAPS_DECR, since), 1u);
  EXPECT_EQ(c.sim->token(TOKEN_FLAP_HANDLE), HANDLE_32);
  c.frames(60);
  EXPECT_EQ(c.keys(KEY_FLAPS_DECR, since), 1u);
  EXPECT_EQ(c.keys(KEY_FLAPS_INCR, since), 0u);
  EXPECT_EQ(c.sim->token(TOKEN_FLAP_ANGLE), 32);
  EXPECT_EQ(c.sim->token(TOKEN_FLAP_HANDLE), HANDLE_32);
}

TEST(FlapHandleLock, ExactlyFiveDegreesKeepsTheTargetOfItsRow) {
  Servos c;
  c.set("hydrau_press_green", 0);
  c.sim->set_token(TOKEN_FLAP_HANDLE, HANDLE_5);
  c.sim->set_token(TOKEN_FLAP_ANGLE, 5);
  const auto since = c.now();
  c.frames(1);
  EXPECT_EQ(c.keys(KEY_FLAPS_INCR, since), 1u);
  EXPECT_EQ(c.sim->token(TOKEN_FLAP_HANDLE), HANDLE_10);
}

TEST(CabinCall, HiAndLoChimeOnlyWhenMovedWithTheEssentialBus) {
  Cockpit c;
  c.bus("elec_bus_ess", true);
  auto mark = c.sound_mark();
  c.click(CALLSIGNS, 60, 45); // HI to 1
  EXPECT_EQ(c.played("CLICK", mark), 1);
  EXPECT_EQ(c.played("HI", mark), 1);
  c.quiet();
  mark = c.sound_mark();
  c.click(CALLSIGNS, 60, 45); // already there
  EXPECT_EQ(c.played("CLICK", mark), 0);
  EXPECT_EQ(c.played("HI", mark), 0);
  c.click(CALLSIGNS, 20, 75); // HI to 2: the switch only
  EXPECT_EQ(c.played("CLICK", mark), 1);
  EXPECT_EQ(c.played("HI", mark), 0);
  c.quiet();
  c.click(CALLSIGNS, 70, 100); // LO to 1
  EXPECT_EQ(c.played("LO", mark), 1);
  c.quiet();
  c.click(CALLSIGNS, 110, 15); // A to 1: a plain switch
  EXPECT_EQ(c.played("CLICK", mark), 3);
  EXPECT_EQ(c.played("HI", mark), 0);
  EXPECT_EQ(c.played("LO", mark), 1);

  c.bus("elec_bus_ess", false);
  c.quiet();
  mark = c.sound_mark();
  c.click(CALLSIGNS, 50, 70); // HI to 0
  EXPECT_EQ(c.played("CLICK", mark), 1);
  c.quiet();
  c.click(CALLSIGNS, 40, 110); // LO to 0
  EXPECT_EQ(c.played("CLICK", mark), 2);
  EXPECT_EQ(c.played("HI", mark), 0) << "no chime without the essential bus";
  EXPECT_EQ(c.played("LO", mark), 0);
}

TEST(CabinCall, SwitchesMoveToTheirAreasAndShowTheirPositions) {
  Cockpit c;
  c.power(true);
  c.click(CALLSIGNS, 110, 15);
  EXPECT_EQ(c.state("cabin_call_a"), 1);
  c.click(CALLSIGNS, 60, 45);
  EXPECT_EQ(c.state("cabin_call_hi"), 1);
  c.click(CALLSIGNS, 70, 100);
  EXPECT_EQ(c.state("cabin_call_lo"), 1);
  c.frames(1);
  EXPECT_TRUE(c.visible(CALLSIGNS, 4)) << "A at 1";
  EXPECT_TRUE(c.visible(CALLSIGNS, 8)) << "HI at 1";
  EXPECT_TRUE(c.visible(CALLSIGNS, 14)) << "LO at 1";
  c.click(CALLSIGNS, 20, 75);
  EXPECT_EQ(c.state("cabin_call_hi"), 2);
  c.click(CALLSIGNS, 50, 70);
  EXPECT_EQ(c.state("cabin_call_hi"), 0);
  c.click(CALLSIGNS, 90, 40);
  EXPECT_EQ(c.state("cabin_call_a"), 0);
  c.click(CALLSIGNS, 40, 110);
  EXPECT_EQ(c.state("cabin_call_lo"), 0);
  c.frames(1);
  EXPECT_TRUE(c.visible(CALLSIGNS, 2));
  EXPECT_TRUE(c.visible(CALLSIGNS, 6));
  EXPECT_TRUE(c.visible(CALLSIGNS, 12));
  EXPECT_FALSE(c.visible(CALLSIGNS, 10));
}

TEST(StandIn, ParkingBrakeKeyToggles) {
  auto sim = k7test::fresh();
  EXPECT_EQ(sim->token(TOKEN_PARK_BRAKE), 0);
  k7host::apply_key_event(*sim, KEY_PARKING_BRAKES, 0);
  EXPECT_GT(sim->token(TOKEN_PARK_BRAKE), 0);
  k7host::apply_key_event(*sim, KEY_PARKING_BRAKES, 0);
  EXPECT_EQ(sim->token(TOKEN_PARK_BRAKE), 0);
}

TEST(StandIn, FlapHandleMovesByDetentsAndTheFlapsFollowSlowly) {
  auto sim = k7test::fresh();
  const double down[] = {HANDLE_5, HANDLE_10, HANDLE_20, HANDLE_32, HANDLE_45, HANDLE_45};
  for (double d : down) {
    k7host::apply_key_event(*sim, KEY_FLAPS_INCR, 0);
    EXPECT_EQ(sim->token(TOKEN_FLAP_HANDLE), d);
  }
  k7host::apply_key_event(*sim, KEY_FLAPS_DECR, 0);
  EXPECT_EQ(sim->token(TOKEN_FLAP_HANDLE), HANDLE_32);
  sim->set_token(TOKEN_FLAP_HANDLE, 5000);
  k7host::apply_key_event(*sim, KEY_FLAPS_DECR, 0);
  EXPECT_EQ(sim->token(TOKEN_FLAP_HANDLE), HANDLE_5);
  k7host::apply_key_event(*sim, KEY_FLAPS_UP, 0);
  EXPECT_EQ(sim->token(TOKEN_FLAP_HANDLE), 0);
  k7host::apply_key_event(*sim, KEY_FLAPS_DECR, 0);
  EXPECT_EQ(sim->token(TOKEN_FLAP_HANDLE), 0);
  k7host::apply_key_event(*sim, KEY_FLAPS_DOWN, 0);
  EXPECT_EQ(sim->token(TOKEN_FLAP_HANDLE), HANDLE_45);
  sim->frames(10);
  EXPECT_NEAR(sim->token(TOKEN_FLAP_ANGLE), 1.0, 1e-9);
  EXPECT_EQ(sim->token(0x38C), sim->token(TOKEN_FLAP_ANGLE)) << "both sides alike";
  sim->frames(450);
  EXPECT_EQ(sim->token(TOKEN_FLAP_ANGLE), 45);
}

TEST(StandIn, GearMovesOnlyAfterItsKeyAndSpoilersStayAsSet) {
  auto sim = k7test::fresh();
  sim->set_token(TOKEN_GEAR, 0);
  sim->set_token(TOKEN_SPOILERS, 12000);
  sim->frames(20);
  EXPECT_EQ(sim->token(TOKEN_GEAR), 0);
  EXPECT_EQ(sim->token(TOKEN_SPOILERS), 12000);
  k7host::apply_key_event(*sim, KEY_GEAR_DOWN, 0);
  sim->frames(72);
  EXPECT_GT(sim->token(TOKEN_GEAR), 5000);
  EXPECT_LT(sim->token(TOKEN_GEAR), 16383);
  sim->frames(80);
  EXPECT_EQ(sim->token(TOKEN_GEAR), 16383);
  sim->set_token(TOKEN_GEAR, 9000);
  sim->frames(10);
  EXPECT_EQ(sim->token(TOKEN_GEAR), 9000) << "arrived: the token is the test's again";
}

} // namespace
