// Throttles and cocks, engine start and relight, and what they do to the simulator's engines.
// (The starts on ground power and on the battery, and the start that times out, are the scenarios
// engines_*.k7s.)
#include "k7test.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

using namespace k7test;

const std::string THROTTLE_L = "kestovil thr_hpbp_left_k7";
const std::string THROTTLE_R = "kestovil thr_hpbp_right_k7";
const std::string START_PANEL = "kestovil engstart_k7";
const std::string START_LAMPS = "kestovil engstart_lights_k7";
const std::string START_VOLTS = "kestovil engstart_volt_k7";

constexpr std::uint32_t N2_1 = 0x271, N1_2 = 0x283, N2_2 = 0x284;
constexpr std::uint32_t SELECTOR_1 = 0x133, SELECTOR_2 = 0x38A;
constexpr std::uint32_t THROTTLE_1 = 0x22E, THROTTLE_2 = 0x238;
constexpr std::uint32_t FUEL_LEVER_1 = 0x230, FUEL_LEVER_2 = 0x23A;
constexpr std::uint32_t ALTITUDE = 0x4A, AIRSPEED = 0x3D, TICK = 0x1;
constexpr std::uint32_t CRANK_1 = 0x102FC, CRANK_2 = 0x102FD;
constexpr std::uint32_t KEY_THROTTLE_CUT_1 = 0x101AF, KEY_FUEL_UP_1 = 0x101BF;
constexpr std::uint32_t KEY_FUEL_DOWN_1 = 0x101C3;

// Chain places of the throttle quadrants' elements.
constexpr int LEVER_DAY = 1, LEVER_NIGHT = 6;
constexpr int LP_CLOSED = 11, LP_OPEN = 12, LP_NIGHT_OPEN = 14;
constexpr int SELECTOR_REPEAT_0 = 15, SELECTOR_REPEAT_2 = 17, MASTER_REPEAT_ON = 22;
constexpr int STARTER_LAMP_1 = 15, STARTER_LAMP_2 = 16;

// Click points inside the areas of the left quadrant (the right one mirrors them).
constexpr int THR_X = 60, THR_UP_Y = 100, THR_DOWN_Y = 180;
constexpr int HP_X = 60, HP_OPEN_Y = 250, HP_CLOSE_Y = 290;
constexpr int LP_X = 20, LP_OPEN_Y = 260, LP_CLOSE_Y = 20;

// Click points of the start panel.
constexpr int SEL_1_X = 10, SEL_0_X = 40, SEL_2_X = 70, SEL_Y = 20;
constexpr int MASTER_X = 30, MASTER_ON_Y = 60, MASTER_OFF_Y = 85;
constexpr int BUTTON_X = 80, BUTTON_Y = 70;
constexpr int RELIGHT_1_X = 120, RELIGHT_2_X = 170, RELIGHT_Y = 30;

struct Engines : Bed {
  using Bed::Bed;
  double lever(const std::string& gauge) const { return sim->element(gauge, LEVER_DAY)->value_y; }
  bool hp(const std::string& gauge, bool open) {
    return sim->click(gauge, gauge == THROTTLE_L ? HP_X : 10, open ? HP_OPEN_Y : HP_CLOSE_Y);
  }
  bool lp(bool open) { return sim->click(THROTTLE_L, LP_X, open ? LP_OPEN_Y : LP_CLOSE_Y); }
  void press_start(int selector_x) {
    EXPECT_TRUE(sim->click(START_PANEL, selector_x, SEL_Y));
    EXPECT_TRUE(sim->click(START_PANEL, MASTER_X, MASTER_ON_Y));
    EXPECT_TRUE(sim->click(START_PANEL, BUTTON_X, BUTTON_Y));
  }
  bool relight(int x, FLAGS32 flags = MOUSE_LEFTSINGLE) {
    return sim->click(START_PANEL, x, RELIGHT_Y, flags);
  }
};

// The quadrants open, one update run.
Engines quadrant() {
  Engines e{THROTTLES};
  e.frames();
  return e;
}

// The start panel, fuel panel and quadrants open, the buses powered (set directly).
Engines start_panel() {
  Engines e{START, FUEL, THROTTLES};
  e.power();
  e.frames();
  return e;
}

// ---- throttles and cocks

TEST(Throttles, TheLeverFollowsTheThrottleAndStaysOnItsTravelWhateverTheReading) {
  Engines e = quadrant();
  e->set_token(THROTTLE_1, 0.25);
  e.frames();
  EXPECT_EQ(e.state("thr_lever_lh_pos"), 75);
  EXPECT_EQ(e.lever(THROTTLE_L), 75);
  e->set_token(THROTTLE_1, 1.0 / 3.0);
  e.frames();
  EXPECT_EQ(e.state("thr_lever_lh_pos"), 66) << "truncated toward zero";

  // Reverse thrust reads below 0: the lever stays at idle, it does not flick to cut-off.
  e->set_token(THROTTLE_1, -0.3);
  for (int i = 0; i < 4; ++i) {
    e.frames();
    EXPECT_EQ(e.state("thr_lever_lh_pos"), 100) << "update " << i;
  }
  e->set_token(THROTTLE_2, 1.5);
  e->set_token(THROTTLE_1, std::numeric_limits<double>::quiet_NaN());
  e.frames(2);
  EXPECT_EQ(e.state("thr_lever_rh_pos"), 0) << "above full travel: full, not a wrapped value";
  EXPECT_EQ(e.state("thr_lever_lh_pos"), 100);
  EXPECT_EQ(e.lever(THROTTLE_R), 0);
}

TEST(Throttles, TheHpCockClosesOnceTheThrottleIsAtItsMinimumAndLowersTheFuelLever) {
  Engines e = quadrant();
  e->set_token(THROTTLE_1, 0.5);
  EXPECT_TRUE(e.hp(THROTTLE_L, false));
  EXPECT_EQ(e.keys(KEY_THROTTLE_CUT_1), 1u);
  EXPECT_EQ(e.state("eng1_hp_cock_open"), 1) << "the first click only pulls the throttle back";
  EXPECT_EQ(e->token(THROTTLE_1), 0.0);
  EXPECT_TRUE(e.hp(THROTTLE_L, false));
  EXPECT_EQ(e.state("eng1_hp_cock_open"), 0);
  EXPECT_EQ(e.keys(KEY_THROTTLE_CUT_1), 1u);
  e.frames();
  EXPECT_EQ(e.keys(KEY_FUEL_DOWN_1), 1u);
  EXPECT_LT(e->token(FUEL_LEVER_1), 0.5);
  EXPECT_EQ(e.state("thr_lever_lh_pos"), 110);
  EXPECT_EQ(e.lever(THROTTLE_L), 110);
  EXPECT_EQ(e->token(FUEL_LEVER_2), 1.0) << "the other engine keeps its fuel";

  // Throttle at 0.02 counts as the minimum.
  e->set_token(THROTTLE_2, 0.02);
  EXPECT_TRUE(e.hp(THROTTLE_R, false));
  EXPECT_EQ(e.state("eng2_hp_cock_open"), 0);
  EXPECT_EQ(e.keys(0x101B4), 0u);
}

TEST(Throttles, WithAFireOneClickPullsTheThrottleBackAndClosesTheCock) {
  Engines e = quadrant();
  e.set("eng1_fire_warn", 1);
  e.set("eng2_fire", 1);
  e->set_token(THROTTLE_1, 0.8);
  e->set_token(THROTTLE_2, 0.8);
  EXPECT_TRUE(e.hp(THROTTLE_L, false));
  EXPECT_TRUE(e.hp(THROTTLE_R, false));
  EXPECT_EQ(e.state("eng1_hp_cock_open"), 0);
  EXPECT_EQ(e.state("eng2_hp_cock_open"), 0);
  EXPECT_EQ(e.keys(KEY_THROTTLE_CUT_1), 1u);
  EXPECT_EQ(e.keys(0x101B4), 1u);
}

TEST(Throttles, DuringAFireTheLeverShowsTheOtherThrottleUnlessItsOwnIsAtOrBelowZero) {
  Engines e = quadrant();
  const struct {
    const char* fire;
    bool left;
    double own, other, shown;
  } cases[] = {{"eng1_fire", true, 0.0, 0.0, 0}, // the fire pulls throttle 1 to 35 % of 2
               {"eng1_fire", true, 0.5, 0.3, 70},
               {"eng2_fire", false, -0.1, 0.45, 0},
               {"eng2_fire", false, 0.2, 0.45, 55}};
  for (const auto& c : cases) {
    e.set(c.fire, 1);
    e->set_token(c.left ? THROTTLE_1 : THROTTLE_2, c.own);
    e->set_token(c.left ? THROTTLE_2 : THROTTLE_1, c.other);
    e.frames();
    EXPECT_EQ(e.state(c.left ? "thr_lever_lh_pos" : "thr_lever_rh_pos"), c.shown)
        << c.fire << " " << c.own << " " << c.other;
  }
}

TEST(Throttles, ReopeningTheHpCockShowsIdleForOneUpdateThenTheThrottle) {
  Engines e = quadrant();
  EXPECT_TRUE(e.hp(THROTTLE_L, false));
  e.frames();
  ASSERT_EQ(e.state("thr_lever_lh_pos"), 110);
  EXPECT_TRUE(e->click(THROTTLE_L, THR_X, THR_UP_Y));
  EXPECT_EQ(e.keys(0x101AC), 0u) << "the throttle does not move with the cock closed";
  e->set_token(THROTTLE_1, 0.4);
  EXPECT_TRUE(e.hp(THROTTLE_L, true));
  EXPECT_EQ(e.state("eng1_hp_cock_open"), 1);
  e.frames();
  EXPECT_EQ(e.state("thr_lever_lh_pos"), 100);
  EXPECT_GE(e->token(FUEL_LEVER_1), 0.5);
  EXPECT_EQ(e.keys(KEY_FUEL_UP_1), 1u);
  e.frames();
  EXPECT_EQ(e.state("thr_lever_lh_pos"), 60);
}

TEST(Throttles, TheLpCockClosesOnlyBehindAClosedHpCockAndHoldsTheFuelOff) {
  Engines e = quadrant();
  EXPECT_TRUE(e.lp(false));
  EXPECT_EQ(e.state("eng1_lp_cock_open"), 1) << "refused with the HP cock open";
  EXPECT_TRUE(e.hp(THROTTLE_L, false));
  EXPECT_TRUE(e.lp(false));
  EXPECT_EQ(e.state("eng1_lp_cock_open"), 0);
  e.frames();
  shows(e, THROTTLE_L, {LP_CLOSED}, {LP_OPEN});

  // HP cock open again behind a closed LP cock: no fuel, lever frozen in cut-off.
  EXPECT_TRUE(e.hp(THROTTLE_L, true));
  e.frames(3);
  EXPECT_EQ(e.keys(KEY_FUEL_UP_1), 0u);
  EXPECT_LT(e->token(FUEL_LEVER_1), 0.5);
  EXPECT_EQ(e.state("thr_lever_lh_pos"), 110);

  // The lowering event repeats every update while the simulator's lever stays up.
  const auto before = e.keys(KEY_FUEL_DOWN_1);
  for (int i = 0; i < 3; ++i) {
    e->set_token(FUEL_LEVER_1, 0.5);
    e.frames();
  }
  EXPECT_EQ(e.keys(KEY_FUEL_DOWN_1), before + 3);

  EXPECT_TRUE(e.lp(true));
  e.frames();
  EXPECT_EQ(e.keys(KEY_FUEL_UP_1), 1u);
  EXPECT_EQ(e.state("thr_lever_lh_pos"), 100);
  e.frames();
  EXPECT_EQ(e.state("thr_lever_lh_pos"), 100) << "throttle at idle";
}

TEST(Throttles, ThrottleAreasSendTheSimulatorsEventsAndRepeatWhileHeld) {
  Engines e = quadrant();
  EXPECT_TRUE(e->click(THROTTLE_L, THR_X, THR_UP_Y));
  EXPECT_TRUE(e->click(THROTTLE_L, THR_X, THR_UP_Y, MOUSE_DOWN_REPEAT));
  EXPECT_TRUE(e->click(THROTTLE_L, THR_X, THR_UP_Y, MOUSE_DOWN_REPEAT));
  EXPECT_EQ(e.keys(0x101AC), 3u);
  EXPECT_NEAR(e->token(THROTTLE_1), 0.075, 1e-9);
  EXPECT_NEAR(e->token(0x80), 0.075 * 16384, 1e-6);
  EXPECT_TRUE(e->click(THROTTLE_L, THR_X, THR_DOWN_Y));
  EXPECT_EQ(e.keys(0x101AE), 1u);
  EXPECT_TRUE(e->click(THROTTLE_R, 10, THR_UP_Y));
  EXPECT_TRUE(e->click(THROTTLE_R, 10, THR_DOWN_Y));
  EXPECT_EQ(e.keys(0x101B1), 1u);
  EXPECT_EQ(e.keys(0x101B3), 1u);
  EXPECT_FALSE(e->click(THROTTLE_L, HP_X, HP_OPEN_Y, MOUSE_DOWN_REPEAT))
      << "the cock areas take single clicks only";
  EXPECT_TRUE(e.hp(THROTTLE_L, false));
  EXPECT_TRUE(e.lp(false));
  EXPECT_EQ(e.calls("CLICK"), 0u) << "the quadrant makes no switch clicks";
}

TEST(Throttles, QuadrantImagesFollowNightLightingTheStartControlsAndTheStarters) {
  Engines e = quadrant();
  shows(e, THROTTLE_L, {LEVER_DAY, SELECTOR_REPEAT_0}, {LEVER_NIGHT});
  e.night();
  e.set("eng_start_master", 1);
  e.set("eng_start_sel", 2);
  e.frames();
  for (int n = LEVER_DAY; n < LEVER_NIGHT; ++n) {
    shows(e, THROTTLE_L, {n + 5}, {n});
    EXPECT_TRUE(e.visible(THROTTLE_R, n + 5));
  }
  shows(e, THROTTLE_L, {LP_NIGHT_OPEN, SELECTOR_REPEAT_2 + 3, MASTER_REPEAT_ON + 2},
        {LP_OPEN, SELECTOR_REPEAT_0 + 3});

  e.set("eng2_starter_on", 1);
  e.power(false, false, false);
  e.frames();
  EXPECT_FALSE(e.visible(THROTTLE_R, STARTER_LAMP_2)) << "no essential bus";
  e.power();
  e.frames();
  shows(e, THROTTLE_R, {STARTER_LAMP_2}, {STARTER_LAMP_1});
}

// ---- engine start

TEST(EngineStart, N2OfExactly40DoesNotEndTheStartAboveItDoes) {
  Engines e = start_panel();
  e.ground_power();
  e.pin_engines(40.0, 0.0);
  e.press_start(SEL_1_X);
  e.frames(3);
  EXPECT_EQ(e.state("eng1_starter_on"), 1);
  e->set_token(N2_1, 40.001);
  e.frames();
  EXPECT_EQ(e.state("eng1_starter_on"), 0);
  EXPECT_EQ(e.state("eng1_start_req"), 0);
}

TEST(EngineStart, TheStartStopsAtOnceWithoutSupplyEssentialBusOrMaster) {
  Engines e = start_panel();
  e.ground_power();
  e.press_start(SEL_1_X);
  e.frames(2);
  ASSERT_EQ(e.state("eng1_starter_on"), 1);
  e.ground_power(false);
  e.frames();
  EXPECT_EQ(e.state("eng_start_volts"), 0);
  EXPECT_EQ(e.state("eng1_starter_on"), 0);
  EXPECT_EQ(e.state("eng1_start_req"), 0);

  e.ground_power();
  EXPECT_TRUE(e->click(START_PANEL, BUTTON_X, BUTTON_Y));
  e.frames();
  ASSERT_EQ(e.state("eng1_starter_on"), 1);
  e.power(false, true, true);
  e.frames();
  EXPECT_EQ(e.state("eng1_starter_on"), 0);
  EXPECT_EQ(e.state("eng1_start_run"), 0);

  e.power();
  EXPECT_TRUE(e->click(START_PANEL, BUTTON_X, BUTTON_Y));
  e.frames();
  ASSERT_EQ(e.state("eng1_starter_on"), 1);
  EXPECT_TRUE(e->click(START_PANEL, MASTER_X, MASTER_OFF_Y));
  e.frames();
  EXPECT_EQ(e.state("eng1_starter_on"), 0);
  EXPECT_TRUE(e.visible(START_PANEL, 4)) << "master shown off";

  // The battery in its start position, but flat: no start supply, the request dropped at once.
  e.ground_power(false);
  e.set("elec_batt_commut", 2);
  e.set("elec_batt_charge", 0);
  e.press_start(SEL_1_X);
  e.frames();
  EXPECT_EQ(e.state("eng_start_volts"), 0);
  EXPECT_EQ(e.state("eng1_start_req"), 0);
  EXPECT_EQ(e.state("eng1_starter_on"), 0);
}

TEST(EngineStart, TheSelectorIsReadOnlyWhenTheButtonIsPressedSoBothEnginesCanCrankTogether) {
  Engines e = start_panel();
  e.ground_power();
  e.press_start(SEL_0_X);
  EXPECT_TRUE(e.relight(RELIGHT_1_X));
  EXPECT_EQ(e.calls("CLICK"), 1u) << "only the master switch moved with a click";
  e.frames();
  EXPECT_EQ(e.state("eng1_start_req"), 0) << "neutral selector: nothing";
  EXPECT_EQ(e.state("eng2_start_req"), 0);

  EXPECT_TRUE(e->click(START_PANEL, SEL_1_X, SEL_Y));
  EXPECT_TRUE(e->click(START_PANEL, BUTTON_X, BUTTON_Y));
  EXPECT_TRUE(e->click(START_PANEL, SEL_2_X, SEL_Y));
  EXPECT_TRUE(e->click(START_PANEL, BUTTON_X, BUTTON_Y, MOUSE_DOWN_REPEAT));
  EXPECT_TRUE(e->click(START_PANEL, SEL_0_X, SEL_Y));
  const std::uint64_t since = e->frame_count();
  e.frames(3);
  EXPECT_EQ(e.state("eng1_starter_on"), 1);
  EXPECT_EQ(e.state("eng2_starter_on"), 1);
  EXPECT_EQ(e.keys(CRANK_1, since + 1), 3u) << "the starter event every update of the start";
  EXPECT_EQ(e.keys(CRANK_2, since + 1), 3u);
  for (int lamp = 1; lamp <= 4; ++lamp)
    EXPECT_TRUE(e.visible(START_LAMPS, lamp));
  EXPECT_TRUE(e.visible(START_PANEL, 1)) << "selector shown in neutral";
}

TEST(EngineStart, WithTheFuelSelectorOffTheLampStaysOnButNothingCranksAndTheTimerRuns) {
  Engines e{START}; // the fuel panel is not loaded: its selector copy stays off
  e.power();
  e.ground_power();
  e.press_start(SEL_1_X);
  e.frames(5);
  EXPECT_EQ(e.state("eng1_starter_on"), 1);
  EXPECT_TRUE(e.visible(START_LAMPS, 1));
  EXPECT_EQ(e.keys(CRANK_1), 0u);
  e.frames_until(1200, [&] { return e.state("eng1_starter_on") == 0; });
  EXPECT_EQ(e->token(TICK), e.state("eng1_start_end"));
}

TEST(EngineStart, TheGroundStartLampShowsGroundPowerOrItsBatteryStart) {
  Engines e = start_panel();
  e.set("elec_extpwr_connected", 1);
  e.frames();
  EXPECT_FALSE(e.visible(START_LAMPS, 5)) << "connected but not feeding, commutator normal";
  e.set("elec_batt_commut", 2);
  e.frames();
  EXPECT_TRUE(e.visible(START_LAMPS, 5));
  EXPECT_EQ(e.state("eng_start_volts"), 130);
  EXPECT_EQ(e.value(START_VOLTS, 2), 130);
  e.power(false, false, false);
  e.frames();
  EXPECT_FALSE(e.visible(START_LAMPS, 5));
}

// ---- relight

Engines in_flight(double n2_1, double n2_2) {
  Engines e{START};
  e.power();
  e->set_token(AIRSPEED, 150.0);
  e.pin_engines(n2_1, n2_2);
  e.frames();
  return e;
}

TEST(Relight, OnePressKeepsTheRelightElevenUpdatesWithoutMasterOrSelectorAndAHoldNeverWraps) {
  Engines e = in_flight(12.0, 80.0);
  EXPECT_TRUE(e->click("kestovil eng_relight_k7", 10, 10)); // the face is inert
  e.frames();
  EXPECT_EQ(e.keys(CRANK_1) + e.keys(CRANK_2), 0u);
  EXPECT_EQ(e.state("eng1_relight_timer") + e.state("eng2_relight_timer"), 0);
  EXPECT_TRUE(e.relight(RELIGHT_1_X));
  EXPECT_EQ(e.state("eng1_relight_timer"), 12);
  const std::uint64_t from = e->frame_count() + 1;
  e.frames(15);
  EXPECT_EQ(e.keys(CRANK_1, from), 11u);
  EXPECT_EQ(e.keys(CRANK_2, from), 0u);
  EXPECT_EQ(e.state("eng1_relight_timer"), 0);

  // Held: a press and two repeats give 16, so 15 updates.
  EXPECT_TRUE(e.relight(RELIGHT_2_X));
  EXPECT_TRUE(e.relight(RELIGHT_2_X, MOUSE_DOWN_REPEAT));
  EXPECT_TRUE(e.relight(RELIGHT_2_X, MOUSE_DOWN_REPEAT));
  EXPECT_EQ(e.state("eng2_relight_timer"), 16);
  e.frames(20);
  EXPECT_EQ(e.keys(CRANK_2, from), 0u) << "engine 1 is not at 80 %";

  // A long hold saturates the timer instead of wrapping it.
  EXPECT_TRUE(e.relight(RELIGHT_1_X));
  for (int i = 0; i < 200; ++i)
    e.relight(RELIGHT_1_X, MOUSE_DOWN_REPEAT);
  EXPECT_EQ(e.state("eng1_relight_timer"), 255);
  const std::uint64_t held = e->frame_count() + 1;
  e.frames(300);
  EXPECT_EQ(e.keys(CRANK_1, held), 254u);
}

TEST(Relight, NeedsAirspeedTheEssentialBusAWindmillingEngineAndTheOtherRunning) {
  const struct {
    double airspeed, n2_1, n2_2;
    bool ess, cranks;
  } cases[] = {
      {150.0, 12.0, 80.0, true, true},   {149.9, 12.0, 80.0, true, false},
      {150.0, 11.9, 80.0, true, false},  {150.0, 12.0, 79.9, true, false},
      {150.0, 12.0, 80.0, false, false},
  };
  for (const auto& c : cases) {
    Engines e = in_flight(c.n2_1, c.n2_2);
    e->set_token(AIRSPEED, c.airspeed);
    e.power(c.ess);
    EXPECT_TRUE(e.relight(RELIGHT_1_X));
    e.frames(3);
    EXPECT_EQ(e.keys(CRANK_1) > 0, c.cranks)
        << c.airspeed << " kt, N2 " << c.n2_1 << " / " << c.n2_2 << ", bus " << c.ess;
  }
}

TEST(Relight, TheRelightRelightsAFlamedOutEngineInTheStandIn) {
  Engines e{START, FUEL, THROTTLES};
  e.power();
  e->set_token(AIRSPEED, 200.0);
  e->set_token(0x3C, 0.0);
  e.pin_engines(16.0, 90.0);     // engine 1 windmilling, engine 2 running
  e->set_token(THROTTLE_2, 0.6); // and staying above 80 %
  e.frames();
  k7host::engines_hold(*e.sim, false);
  k7host::apply_key_event(*e.sim, CRANK_2, 0); // lights engine 2 in the stand-in
  for (int i = 0; i < 30; ++i)
    e.relight(RELIGHT_1_X, i == 0 ? MOUSE_LEFTSINGLE : MOUSE_DOWN_REPEAT);
  e.frames(5);
  ASSERT_GT(e.keys(CRANK_1), 0u);
  e->seconds(20);
  EXPECT_GE(e->token(N2_1), 60.0);
}

// ---- across the systems

// Engine 1 started from ground power and left idling.
Engines engine1_idling() {
  Engines e = start_panel();
  e.ground_power();
  e.press_start(SEL_1_X);
  e->seconds(40);
  EXPECT_GE(e->token(N2_1), 60.0);
  return e;
}

TEST(EnginesAndFuel, ClosingTheHpCockStopsTheEngineAndItsAutomaticPump) {
  Engines e = engine1_idling();
  e.set("fuel_press_lh", 90); // pump 1 in automatic comes on
  e.frames();
  ASSERT_EQ(e.state("fuel_pump_lh1_on"), 1);
  EXPECT_TRUE(e.hp(THROTTLE_L, false));
  e.frames();
  EXPECT_EQ(e.state("fuel_pump_lh1_on"), 0);
  EXPECT_LT(e.frames_until(1000, [&] { return e->token(N2_1) <= 20.0; }), 400);
  e.frames();
  EXPECT_EQ(e.state("fuel_draw_lh"), 0);
}

TEST(EnginesAndFuel, ClosingTheLpCockOrStarvingTheSideStopsTheEngine) {
  {
    Engines e = engine1_idling();
    EXPECT_TRUE(e.hp(THROTTLE_L, false));
    EXPECT_TRUE(e.lp(false));
    EXPECT_TRUE(e.hp(THROTTLE_L, true));
    e->seconds(30);
    EXPECT_LE(e->token(N2_1), 20.0) << "the LP cock holds the fuel off";
  }
  {
    Engines e = engine1_idling();
    EXPECT_TRUE(e->click("kestovil fuel_valves_lh_k7", 10, 80)); // left valve closed: no feed
    e.frames();
    EXPECT_EQ(e->token(SELECTOR_1), 0);
    e->seconds(30);
    EXPECT_LE(e->token(N2_1), 20.0);
  }
  {
    // No pump on the left side, high up: the suction feed no longer holds.
    Engines e = engine1_idling();
    for (int p = 1; p <= 4; ++p)
      e.set("fuel_pump_lh" + std::to_string(p) + "_sw", 0);
    e->set_token(ALTITUDE, 25000.0);
    e->seconds(30);
    EXPECT_LE(e->token(N2_1), 20.0);
    EXPECT_EQ(e->token(SELECTOR_1), 0);
  }
}

// ---- the stand-in's engines (its starter and lighting are the engines_* scenarios)

TEST(StandInEngines, AnEngineSpeedSetFromOutsideStaysUntilTheNextStarterEvent) {
  Bed b;
  b->set_token(N2_2, 60.0);
  b->seconds(5);
  EXPECT_EQ(b->token(N2_2), 60.0);
  EXPECT_GT(b->token(N1_2), 20.0) << "N1 follows the speed set";
  b->set_token(N1_2, 33.0);
  b.frames(2);
  EXPECT_EQ(b->token(N1_2), 33.0) << "so does an N1 set from outside";
  b->set_token(SELECTOR_2, 3.0);
  k7host::apply_key_event(*b.sim, CRANK_2, 0);
  b->seconds(5);
  EXPECT_NEAR(b->token(N2_2), 62.0, 1e-9) << "handed back: lit, and at idle";
  EXPECT_NEAR(b->token(N1_2), 24.0, 1e-9);
}

} // namespace
