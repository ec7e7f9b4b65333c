// Throttles and cocks, engine start and relight, and what they do to the simulator's engines.
#include "engines_helpers.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {

using namespace enginetest;
using k7test::visible;

// Chain places of the throttle quadrants' elements.
constexpr int LEVER_DAY = 1, LEVER_NIGHT = 6;
constexpr int LP_CLOSED = 11, LP_OPEN = 12, LP_NIGHT_OPEN = 14;
constexpr int SELECTOR_REPEAT_0 = 15, SELECTOR_REPEAT_2 = 17, MASTER_REPEAT_ON = 22;
constexpr int STARTER_LAMP_1 = 15, STARTER_LAMP_2 = 16;

// Click points inside the areas of the left quadrant (the right one mirrors them).
constexpr int THR_UP_X = 60, THR_UP_Y = 100, THR_DOWN_Y = 180;
constexpr int HP_X = 60, HP_OPEN_Y = 250, HP_CLOSE_Y = 290;
constexpr int LP_X = 20, LP_OPEN_Y = 260, LP_CLOSE_Y = 20;

double lever(const k7host::Sim& sim, const std::string& gauge) {
  return sim.element(gauge, LEVER_DAY)->value_y;
}

std::unique_ptr<k7host::Sim> quadrant() {
  auto sim = k7test::fresh();
  sim->open_window(WINDOW_THROTTLES);
  sim->frame();
  return sim;
}

// ---- throttles and cocks
// ------------------------------------------------------------------------------

TEST(Throttles, TheLeverFollowsTheThrottleAndStaysOnItsTravelWhateverTheReading) {
  auto sim = quadrant();
  sim->set_token(THROTTLE_1, 0.25);
  sim->frame();
  EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 75);
  EXPECT_EQ(lever(*sim, THROTTLE_L), 75);
  sim->set_token(THROTTLE_1, 1.0 / 3.0);
  sim->frame();
  EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 66) << "truncated toward zero";

  // Reverse thrust reads below 0: the lever stays at idle, it does not flick to cut-off.
  sim->set_token(THROTTLE_1, -0.3);
  for (int i = 0; i < 4; ++i) {
    sim->frame();
    EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 100) << "update " << i;
  }
  sim->set_token(THROTTLE_2, 1.5);
  sim->set_token(THROTTLE_1, std::numeric_limits<double>::quiet_NaN());
  sim->frames(2);
  EXPECT_EQ(st(*sim, "thr_lever_rh_pos"), 0) << "above full travel: full, not a wrapped value";
  EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 100);
  EXPECT_EQ(lever(*sim, THROTTLE_R), 0);
}

TEST(Throttles, TheHpCockClosesOnceTheThrottleIsAtItsMinimumAndLowersTheFuelLever) {
  auto sim = quadrant();
  sim->set_token(THROTTLE_1, 0.5);
  EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_CLOSE_Y));
  EXPECT_TRUE(sim->key_sent(0x101AF));
  EXPECT_EQ(st(*sim, "eng1_hp_cock_open"), 1) << "the first click only pulls the throttle back";
  EXPECT_EQ(sim->token(THROTTLE_1), 0.0);
  EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_CLOSE_Y));
  EXPECT_EQ(st(*sim, "eng1_hp_cock_open"), 0);
  EXPECT_EQ(sim->key_count(0x101AF), 1u);
  sim->frame();
  EXPECT_EQ(sim->key_count(0x101C3), 1u);
  EXPECT_LT(sim->token(FUEL_LEVER_1), 0.5);
  EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 110);
  EXPECT_EQ(lever(*sim, THROTTLE_L), 110);
  EXPECT_EQ(sim->token(FUEL_LEVER_2), 1.0) << "the other engine keeps its fuel";

  // Throttle at 0.02 counts as the minimum.
  sim->set_token(THROTTLE_2, 0.02);
  EXPECT_TRUE(sim->click(THROTTLE_R, 10, HP_CLOSE_Y));
  EXPECT_EQ(st(*sim, "eng2_hp_cock_open"), 0);
  EXPECT_FALSE(sim->key_sent(0x101B4));
}

TEST(Throttles, WithAFireOneClickPullsTheThrottleBackAndClosesTheCock) {
  auto sim = quadrant();
  set(*sim, "eng1_fire_warn", 1);
  set(*sim, "eng2_fire", 1);
  sim->set_token(THROTTLE_1, 0.8);
  sim->set_token(THROTTLE_2, 0.8);
  EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_CLOSE_Y));
  EXPECT_TRUE(sim->click(THROTTLE_R, 10, HP_CLOSE_Y));
  EXPECT_EQ(st(*sim, "eng1_hp_cock_open"), 0);
  EXPECT_EQ(st(*sim, "eng2_hp_cock_open"), 0);
  EXPECT_EQ(sim->key_count(0x101AF), 1u);
  EXPECT_EQ(sim->key_count(0x101B4), 1u);
}

TEST(Throttles, DuringAFireTheLeverShowsTheOtherThrottleUnlessItsOwnIsAtOrBelowZero) {
  auto sim = quadrant();
  set(*sim, "eng1_fire_warn", 1);
  sim->set_token(THROTTLE_1, 0.0);
  sim->set_token(THROTTLE_2, 0.3);
  sim->frame();
  EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 0);
  sim->set_token(THROTTLE_1, 0.5);
  sim->frame();
  EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 70);

  set(*sim, "eng2_fire", 1);
  sim->set_token(THROTTLE_2, -0.1);
  sim->set_token(THROTTLE_1, 0.45);
  sim->frame();
  EXPECT_EQ(st(*sim, "thr_lever_rh_pos"), 0);
  sim->set_token(THROTTLE_2, 0.2);
  sim->frame();
  EXPECT_EQ(st(*sim, "thr_lever_rh_pos"), 55);
}

TEST(Throttles, ReopeningTheHpCockShowsIdleForOneUpdateThenTheThrottle) {
  auto sim = quadrant();
  EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_CLOSE_Y));
  sim->frame();
  ASSERT_EQ(st(*sim, "thr_lever_lh_pos"), 110);
  EXPECT_TRUE(sim->click(THROTTLE_L, THR_UP_X, THR_UP_Y));
  EXPECT_FALSE(sim->key_sent(0x101AC)) << "the throttle does not move with the cock closed";
  sim->set_token(THROTTLE_1, 0.4);
  EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_OPEN_Y));
  EXPECT_EQ(st(*sim, "eng1_hp_cock_open"), 1);
  sim->frame();
  EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 100);
  EXPECT_GE(sim->token(FUEL_LEVER_1), 0.5);
  EXPECT_EQ(sim->key_count(0x101BF), 1u);
  sim->frame();
  EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 60);
}

TEST(Throttles, TheLpCockClosesOnlyBehindAClosedHpCockAndHoldsTheFuelOff) {
  auto sim = quadrant();
  EXPECT_TRUE(sim->click(THROTTLE_L, LP_X, LP_CLOSE_Y));
  EXPECT_EQ(st(*sim, "eng1_lp_cock_open"), 1) << "refused with the HP cock open";
  EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_CLOSE_Y));
  EXPECT_TRUE(sim->click(THROTTLE_L, LP_X, LP_CLOSE_Y));
  EXPECT_EQ(st(*sim, "eng1_lp_cock_open"), 0);
  sim->frame();
  EXPECT_TRUE(visible(*sim, THROTTLE_L, LP_CLOSED));
  EXPECT_FALSE(visible(*sim, THROTTLE_L, LP_OPEN));

  // HP cock open again behind a closed LP cock: no fuel, lever frozen in cut-off.
  EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_OPEN_Y));
  sim->frames(3);
  EXPECT_FALSE(sim->key_sent(0x101BF));
  EXPECT_LT(sim->token(FUEL_LEVER_1), 0.5);
  EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 110);

  // The lowering event repeats every update while the simulator's lever stays up.
  const auto before = sim->key_count(0x101C3);
  for (int i = 0; i < 3; ++i) {
    sim->set_token(FUEL_LEVER_1, 0.5);
    sim->frame();
  }
  EXPECT_EQ(sim->key_count(0x101C3), before + 3);

  EXPECT_TRUE(sim->click(THROTTLE_L, LP_X, LP_OPEN_Y));
  sim->frame();
  EXPECT_EQ(sim->key_count(0x101BF), 1u);
  EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 100);
  sim->frame();
  EXPECT_EQ(st(*sim, "thr_lever_lh_pos"), 100) << "throttle at idle";
}

TEST(Throttles, ThrottleAreasSendTheSimulatorsEventsAndRepeatWhileHeld) {
  auto sim = quadrant();
  const auto clicked = clicks(*sim);
  EXPECT_TRUE(sim->click(THROTTLE_L, THR_UP_X, THR_UP_Y));
  EXPECT_TRUE(sim->click(THROTTLE_L, THR_UP_X, THR_UP_Y, MOUSE_DOWN_REPEAT));
  EXPECT_TRUE(sim->click(THROTTLE_L, THR_UP_X, THR_UP_Y, MOUSE_DOWN_REPEAT));
  EXPECT_EQ(sim->key_count(0x101AC), 3u);
  EXPECT_NEAR(sim->token(THROTTLE_1), 0.075, 1e-9);
  EXPECT_NEAR(sim->token(0x80), 0.075 * 16384, 1e-6);
  EXPECT_TRUE(sim->click(THROTTLE_L, THR_UP_X, THR_DOWN_Y));
  EXPECT_EQ(sim->key_count(0x101AE), 1u);
  EXPECT_TRUE(sim->click(THROTTLE_R, 10, THR_UP_Y));
  EXPECT_TRUE(sim->click(THROTTLE_R, 10, THR_DOWN_Y));
  EXPECT_EQ(sim->key_count(0x101B1), 1u);
  EXPECT_EQ(sim->key_count(0x101B3), 1u);
  EXPECT_FALSE(sim->click(THROTTLE_L, HP_X, HP_OPEN_Y, MOUSE_DOWN_REPEAT))
      << "the cock areas take single clicks only";
  EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_CLOSE_Y));
  EXPECT_TRUE(sim->click(THROTTLE_L, LP_X, LP_CLOSE_Y));
  EXPECT_EQ(clicks(*sim), clicked) << "the quadrant makes no switch clicks";
}

TEST(Throttles, QuadrantImagesFollowNightLightingTheStartControlsAndTheStarters) {
  auto sim = quadrant();
  EXPECT_TRUE(visible(*sim, THROTTLE_L, LEVER_DAY));
  EXPECT_FALSE(visible(*sim, THROTTLE_L, LEVER_NIGHT));
  EXPECT_TRUE(visible(*sim, THROTTLE_L, SELECTOR_REPEAT_0));
  night_lighting(*sim);
  set(*sim, "eng_start_master", 1);
  set(*sim, "eng_start_sel", 2);
  sim->frame();
  for (int e = LEVER_DAY; e < LEVER_NIGHT; ++e) {
    EXPECT_FALSE(visible(*sim, THROTTLE_L, e));
    EXPECT_TRUE(visible(*sim, THROTTLE_L, e + 5));
    EXPECT_TRUE(visible(*sim, THROTTLE_R, e + 5));
  }
  EXPECT_TRUE(visible(*sim, THROTTLE_L, LP_NIGHT_OPEN));
  EXPECT_FALSE(visible(*sim, THROTTLE_L, LP_OPEN));
  EXPECT_TRUE(visible(*sim, THROTTLE_L, SELECTOR_REPEAT_2 + 3));
  EXPECT_FALSE(visible(*sim, THROTTLE_L, SELECTOR_REPEAT_0 + 3));
  EXPECT_TRUE(visible(*sim, THROTTLE_L, MASTER_REPEAT_ON + 2));

  set(*sim, "eng2_starter_on", 1);
  power(*sim, false, false, false);
  sim->frame();
  EXPECT_FALSE(visible(*sim, THROTTLE_R, STARTER_LAMP_2)) << "no essential bus";
  power(*sim);
  sim->frame();
  EXPECT_TRUE(visible(*sim, THROTTLE_R, STARTER_LAMP_2));
  EXPECT_FALSE(visible(*sim, THROTTLE_R, STARTER_LAMP_1));
}

// ---- engine start
// -------------------------------------------------------------------------------------

// Click points of the start panel.
constexpr int SEL_1_X = 10, SEL_0_X = 40, SEL_2_X = 70, SEL_Y = 20;
constexpr int MASTER_X = 30, MASTER_ON_Y = 60, MASTER_OFF_Y = 85;
constexpr int BUTTON_X = 80, BUTTON_Y = 70;
constexpr int RELIGHT_1_X = 120, RELIGHT_2_X = 170, RELIGHT_Y = 30;

// The start panel, fuel panel and quadrants open, the buses powered (set directly).
std::unique_ptr<k7host::Sim> start_panel() {
  auto sim = k7test::fresh();
  sim->open_window(WINDOW_START);
  sim->open_window(WINDOW_FUEL);
  sim->open_window(WINDOW_THROTTLES);
  power(*sim);
  sim->frame();
  return sim;
}

void press_start(k7host::Sim& sim, int selector_x) {
  EXPECT_TRUE(sim.click(START, selector_x, SEL_Y));
  EXPECT_TRUE(sim.click(START, MASTER_X, MASTER_ON_Y));
  EXPECT_TRUE(sim.click(START, BUTTON_X, BUTTON_Y));
}

TEST(EngineStart, FromGroundPowerTheEngineCranksLightsEndsItsStartAbove40AndReachesIdle) {
  auto sim = start_panel();
  ground_power(*sim);
  press_start(*sim, SEL_1_X);
  EXPECT_EQ(st(*sim, "eng1_start_req"), 1);
  sim->frame();
  EXPECT_EQ(st(*sim, "eng_start_volts"), 112);
  EXPECT_EQ(sim->element(START_VOLTS, 2)->value, 112);
  EXPECT_EQ(st(*sim, "eng1_starter_on"), 1);
  EXPECT_TRUE(visible(*sim, START_LAMPS, 1));
  EXPECT_TRUE(visible(*sim, START_LAMPS, 2));
  EXPECT_FALSE(visible(*sim, START_LAMPS, 3));
  EXPECT_TRUE(visible(*sim, START_LAMPS, 5)) << "ground-start lamp";

  // The starter event comes every update of the start, and only then.
  const std::uint64_t from = sim->frame_count() + 1;
  const int cranked = frames_until(*sim, 990, [&] { return st(*sim, "eng1_starter_on") == 0; });
  EXPECT_LT(cranked, 400);
  EXPECT_GT(sim->token(N2_1), 40.0);
  EXPECT_LT(sim->token(N2_1), 41.0) << "ended in the first update above 40 %";
  EXPECT_EQ(sim->key_count(CRANK_1, from), static_cast<std::size_t>(cranked));
  EXPECT_EQ(st(*sim, "eng1_start_req"), 0);
  EXPECT_FALSE(visible(*sim, START_LAMPS, 1));

  sim->seconds(20);
  EXPECT_GE(sim->token(N2_1), 60.0);
  EXPECT_LE(sim->token(N2_1), 65.0);
  EXPECT_GT(sim->token(N1_1), 20.0);
  EXPECT_EQ(sim->token(N2_2), 0.0) << "the other engine stays still";
  EXPECT_EQ(st(*sim, "fuel_draw_lh"), 1);
}

TEST(EngineStart, FromTheBatteryInItsStartPositionTheEngineReachesIdle) {
  auto sim = start_panel();
  set(*sim, "elec_batt_commut", 2);
  press_start(*sim, SEL_2_X);
  sim->frame();
  EXPECT_EQ(st(*sim, "eng_start_volts"), 130);
  EXPECT_EQ(sim->element(START_VOLTS, 2)->value, 130);
  EXPECT_EQ(st(*sim, "eng2_starter_on"), 1);
  EXPECT_FALSE(visible(*sim, START_LAMPS, 5)) << "no ground power connected";
  sim->seconds(40);
  EXPECT_EQ(st(*sim, "eng2_starter_on"), 0);
  EXPECT_GE(sim->token(N2_2), 60.0);
  EXPECT_EQ(sim->token(N2_1), 0.0);

  // A flat battery gives no start supply: the request is dropped at once.
  set(*sim, "elec_batt_charge", 0);
  press_start(*sim, SEL_1_X);
  sim->frame();
  EXPECT_EQ(st(*sim, "eng_start_volts"), 0);
  EXPECT_EQ(st(*sim, "eng1_start_req"), 0);
  EXPECT_EQ(st(*sim, "eng1_starter_on"), 0);
}

TEST(EngineStart, WithTheHpCockClosedTheEngineCranksWithoutLightingAndTheStartEndsAt990Ticks) {
  auto sim = start_panel();
  ground_power(*sim);
  set(*sim, "eng1_hp_cock_open", 0);
  press_start(*sim, SEL_1_X);
  sim->frame();
  const double end = st(*sim, "eng1_start_end");
  EXPECT_EQ(end, sim->token(TICK) + 990);

  frames_until(*sim, 2000, [&] { return sim->token(TICK) == end - 1; });
  const std::uint64_t tick989 = sim->frame_count();
  EXPECT_EQ(st(*sim, "eng1_starter_on"), 1) << "tick 989 of the start: still cranking";
  EXPECT_TRUE(sim->key_sent(CRANK_1, tick989));
  EXPECT_GT(sim->token(N2_1), 20.0) << "turned over by the starter";
  EXPECT_LE(sim->token(N2_1), 40.0) << "never lit";
  EXPECT_LT(sim->token(FUEL_LEVER_1), 0.5);

  sim->frame();
  EXPECT_EQ(st(*sim, "eng1_starter_on"), 0) << "tick 990: the start is over";
  EXPECT_EQ(st(*sim, "eng1_start_run"), 0);
  EXPECT_FALSE(sim->key_sent(CRANK_1, tick989 + 1));
  sim->seconds(15);
  EXPECT_LT(sim->token(N2_1), 5.0) << "runs down";
}

TEST(EngineStart, N2OfExactly40DoesNotEndTheStartAboveItDoes) {
  auto sim = start_panel();
  ground_power(*sim);
  pin_engines(*sim, 40.0, 0.0);
  press_start(*sim, SEL_1_X);
  sim->frames(3);
  EXPECT_EQ(st(*sim, "eng1_starter_on"), 1);
  sim->set_token(N2_1, 40.001);
  sim->frame();
  EXPECT_EQ(st(*sim, "eng1_starter_on"), 0);
  EXPECT_EQ(st(*sim, "eng1_start_req"), 0);
}

TEST(EngineStart, TheStartStopsAtOnceWithoutSupplyEssentialBusOrMaster) {
  auto sim = start_panel();
  ground_power(*sim);
  press_start(*sim, SEL_1_X);
  sim->frames(2);
  ASSERT_EQ(st(*sim, "eng1_starter_on"), 1);
  ground_power(*sim, false);
  sim->frame();
  EXPECT_EQ(st(*sim, "eng_start_volts"), 0);
  EXPECT_EQ(st(*sim, "eng1_starter_on"), 0);
  EXPECT_EQ(st(*sim, "eng1_start_req"), 0);

  ground_power(*sim);
  EXPECT_TRUE(sim->click(START, BUTTON_X, BUTTON_Y));
  sim->frame();
  ASSERT_EQ(st(*sim, "eng1_starter_on"), 1);
  power(*sim, false, true, true);
  sim->frame();
  EXPECT_EQ(st(*sim, "eng1_starter_on"), 0);
  EXPECT_EQ(st(*sim, "eng1_start_run"), 0);

  power(*sim);
  EXPECT_TRUE(sim->click(START, BUTTON_X, BUTTON_Y));
  sim->frame();
  ASSERT_EQ(st(*sim, "eng1_starter_on"), 1);
  EXPECT_TRUE(sim->click(START, MASTER_X, MASTER_OFF_Y));
  sim->frame();
  EXPECT_EQ(st(*sim, "eng1_starter_on"), 0);
  EXPECT_TRUE(visible(*sim, START, 4)) << "master shown off";
}

TEST(EngineStart, TheSelectorIsReadOnlyWhenTheButtonIsPressedSoBothEnginesCanCrankTogether) {
  auto sim = start_panel();
  ground_power(*sim);
  const auto clicked = clicks(*sim);
  EXPECT_TRUE(sim->click(START, SEL_0_X, SEL_Y));
  EXPECT_TRUE(sim->click(START, MASTER_X, MASTER_ON_Y));
  EXPECT_TRUE(sim->click(START, BUTTON_X, BUTTON_Y));
  EXPECT_TRUE(sim->click(START, RELIGHT_1_X, RELIGHT_Y));
  EXPECT_EQ(clicks(*sim), clicked + 1) << "only the master switch moved with a click";
  sim->frame();
  EXPECT_EQ(st(*sim, "eng1_start_req"), 0) << "neutral selector: nothing";
  EXPECT_EQ(st(*sim, "eng2_start_req"), 0);

  EXPECT_TRUE(sim->click(START, SEL_1_X, SEL_Y));
  EXPECT_TRUE(sim->click(START, BUTTON_X, BUTTON_Y));
  EXPECT_TRUE(sim->click(START, SEL_2_X, SEL_Y));
  EXPECT_TRUE(sim->click(START, BUTTON_X, BUTTON_Y, MOUSE_DOWN_REPEAT));
  EXPECT_TRUE(sim->click(START, SEL_0_X, SEL_Y));
  const std::uint64_t from = sim->frame_count() + 1;
  sim->frames(3);
  EXPECT_EQ(st(*sim, "eng1_starter_on"), 1);
  EXPECT_EQ(st(*sim, "eng2_starter_on"), 1);
  EXPECT_EQ(sim->key_count(CRANK_1, from), 3u);
  EXPECT_EQ(sim->key_count(CRANK_2, from), 3u);
  for (int lamp = 1; lamp <= 4; ++lamp)
    EXPECT_TRUE(visible(*sim, START_LAMPS, lamp));
  EXPECT_TRUE(visible(*sim, START, 1)) << "selector shown in neutral";
}

TEST(EngineStart, WithTheFuelSelectorOffTheLampStaysOnButNothingCranksAndTheTimerRuns) {
  auto sim = k7test::fresh();
  sim->open_window(WINDOW_START); // the fuel panel is not loaded: its selector copy stays off
  power(*sim);
  ground_power(*sim);
  press_start(*sim, SEL_1_X);
  sim->frames(5);
  EXPECT_EQ(st(*sim, "eng1_starter_on"), 1);
  EXPECT_TRUE(visible(*sim, START_LAMPS, 1));
  EXPECT_FALSE(sim->key_sent(CRANK_1));
  frames_until(*sim, 1200, [&] { return st(*sim, "eng1_starter_on") == 0; });
  EXPECT_EQ(sim->token(TICK), st(*sim, "eng1_start_end"));
}

TEST(EngineStart, TheGroundStartLampShowsGroundPowerOrItsBatteryStart) {
  auto sim = start_panel();
  set(*sim, "elec_extpwr_connected", 1);
  sim->frame();
  EXPECT_FALSE(visible(*sim, START_LAMPS, 5)) << "connected but not feeding, commutator normal";
  set(*sim, "elec_batt_commut", 2);
  sim->frame();
  EXPECT_TRUE(visible(*sim, START_LAMPS, 5));
  EXPECT_EQ(st(*sim, "eng_start_volts"), 130);
  power(*sim, false, false, false);
  sim->frame();
  EXPECT_FALSE(visible(*sim, START_LAMPS, 5));
}

// ---- relight
// ------------------------------------------------------------------------------------------

std::unique_ptr<k7host::Sim> in_flight(double n2_1, double n2_2) {
  auto sim = k7test::fresh();
  sim->open_window(WINDOW_START);
  power(*sim);
  sim->set_token(AIRSPEED, 150.0);
  pin_engines(*sim, n2_1, n2_2);
  sim->frame();
  return sim;
}

TEST(Relight, OnePressKeepsTheRelightForElevenUpdatesWithoutMasterSelectorOrSupply) {
  auto sim = in_flight(12.0, 80.0);
  EXPECT_TRUE(sim->click(START, RELIGHT_1_X, RELIGHT_Y));
  EXPECT_EQ(st(*sim, "eng1_relight_timer"), 12);
  const std::uint64_t from = sim->frame_count() + 1;
  sim->frames(15);
  EXPECT_EQ(sim->key_count(CRANK_1, from), 11u);
  EXPECT_EQ(sim->key_count(CRANK_2, from), 0u);
  EXPECT_EQ(st(*sim, "eng1_relight_timer"), 0);

  // Held: a press and two repeats give 16, so 15 updates.
  EXPECT_TRUE(sim->click(START, RELIGHT_2_X, RELIGHT_Y));
  EXPECT_TRUE(sim->click(START, RELIGHT_2_X, RELIGHT_Y, MOUSE_DOWN_REPEAT));
  EXPECT_TRUE(sim->click(START, RELIGHT_2_X, RELIGHT_Y, MOUSE_DOWN_REPEAT));
  EXPECT_EQ(st(*sim, "eng2_relight_timer"), 16);
  sim->frames(20);
  EXPECT_EQ(sim->key_count(CRANK_2, from), 0u) << "engine 1 is not at 80 %";
}

TEST(Relight, ALongHoldSaturatesTheTimerInsteadOfWrappingIt) {
  auto sim = in_flight(12.0, 80.0);
  EXPECT_TRUE(sim->click(START, RELIGHT_1_X, RELIGHT_Y));
  for (int i = 0; i < 200; ++i)
    sim->click(START, RELIGHT_1_X, RELIGHT_Y, MOUSE_DOWN_REPEAT);
  EXPECT_EQ(st(*sim, "eng1_relight_timer"), 255);
  const std::uint64_t from = sim->frame_count() + 1;
  sim->frames(300);
  EXPECT_EQ(sim->key_count(CRANK_1, from), 254u);
}

TEST(Relight, NeedsAirspeedTheEssentialBusAWindmillingEngineAndTheOtherRunning) {
  struct Case {
    double airspeed, n2_1, n2_2;
    bool ess;
    bool cranks;
  };
  const Case cases[] = {
      {150.0, 12.0, 80.0, true, true},   {149.9, 12.0, 80.0, true, false},
      {150.0, 11.9, 80.0, true, false},  {150.0, 12.0, 79.9, true, false},
      {150.0, 12.0, 80.0, false, false},
  };
  for (const Case& c : cases) {
    auto sim = in_flight(c.n2_1, c.n2_2);
    sim->set_token(AIRSPEED, c.airspeed);
    power(*sim, c.ess);
    EXPECT_TRUE(sim->click(START, RELIGHT_1_X, RELIGHT_Y));
    sim->frames(3);
    EXPECT_EQ(sim->key_sent(CRANK_1), c.cranks)
        << c.airspeed << " kt, N2 " << c.n2_1 << " / " << c.n2_2 << ", bus " << c.ess;
  }
}

TEST(Relight, TheRelightRelightsAFlamedOutEngineInTheStandIn) {
  auto sim = k7test::fresh();
  sim->open_window(WINDOW_START);
  sim->open_window(WINDOW_FUEL);
  sim->open_window(WINDOW_THROTTLES);
  power(*sim);
  sim->set_token(AIRSPEED, 200.0);
  sim->set_token(0x3C, 0.0);
  pin_engines(*sim, 16.0, 90.0);   // engine 1 windmilling, engine 2 running
  sim->set_token(THROTTLE_2, 0.6); // and staying above 80 %
  sim->frame();
  k7host::engines_hold(*sim, false);
  k7host::apply_key_event(*sim, CRANK_2, 0); // lights engine 2 in the stand-in
  for (int i = 0; i < 30; ++i)
    sim->click(START, RELIGHT_1_X, RELIGHT_Y, i == 0 ? MOUSE_LEFTSINGLE : MOUSE_DOWN_REPEAT);
  sim->frames(5);
  ASSERT_TRUE(sim->key_sent(CRANK_1));
  sim->seconds(20);
  EXPECT_GE(sim->token(N2_1), 60.0);
}

TEST(Relight, TheRelightFaceIsInert) {
  auto sim = k7test::fresh();
  sim->open_window(WINDOW_START);
  sim->frame();
  EXPECT_TRUE(sim->click(RELIGHT_FACE, 10, 10));
  sim->frame();
  EXPECT_TRUE(sim->key_events().empty());
  EXPECT_EQ(st(*sim, "eng1_relight_timer"), 0);
  EXPECT_EQ(st(*sim, "eng2_relight_timer"), 0);
}

// ---- across the systems
// -------------------------------------------------------------------------------

// Engine 1 started from ground power and left idling.
std::unique_ptr<k7host::Sim> engine1_idling() {
  auto sim = start_panel();
  ground_power(*sim);
  press_start(*sim, SEL_1_X);
  sim->seconds(40);
  EXPECT_GE(sim->token(N2_1), 60.0);
  return sim;
}

TEST(EnginesAndFuel, ClosingTheHpCockStopsTheEngineAndItsAutomaticPump) {
  auto sim = engine1_idling();
  set(*sim, "fuel_press_lh", 90); // pump 1 in automatic comes on
  sim->frame();
  ASSERT_EQ(st(*sim, "fuel_pump_lh1_on"), 1);
  EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_CLOSE_Y));
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_pump_lh1_on"), 0);
  const int to_20 = frames_until(*sim, 1000, [&] { return sim->token(N2_1) <= 20.0; });
  EXPECT_LT(to_20, 400);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_draw_lh"), 0);
}

TEST(EnginesAndFuel, ClosingTheLpCockOrStarvingTheSideStopsTheEngine) {
  {
    auto sim = engine1_idling();
    EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_CLOSE_Y));
    EXPECT_TRUE(sim->click(THROTTLE_L, LP_X, LP_CLOSE_Y));
    EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_OPEN_Y));
    sim->seconds(30);
    EXPECT_LE(sim->token(N2_1), 20.0) << "the LP cock holds the fuel off";
  }
  {
    auto sim = engine1_idling();
    EXPECT_TRUE(sim->click(VALVES_LH, 10, 80)); // left valve closed: no feed
    sim->frame();
    EXPECT_EQ(sim->token(SELECTOR_1), 0);
    sim->seconds(30);
    EXPECT_LE(sim->token(N2_1), 20.0);
  }
  {
    // No pump on the left side, high up: the suction feed no longer holds.
    auto sim = engine1_idling();
    for (const char* sw :
         {"fuel_pump_lh1_sw", "fuel_pump_lh2_sw", "fuel_pump_lh3_sw", "fuel_pump_lh4_sw"})
      set(*sim, sw, 0);
    sim->set_token(ALTITUDE, 25000.0);
    sim->seconds(30);
    EXPECT_LE(sim->token(N2_1), 20.0);
    EXPECT_EQ(sim->token(SELECTOR_1), 0);
  }
}

// ---- with the electrical network
// ----------------------------------------------------------------------

// The network's windows open as well, the commutator turned to its start position. (The battery
// start itself, with its 120 A, is the scenario engines_battery_start.)
std::unique_ptr<k7host::Sim> networked() {
  auto sim = k7test::fresh();
  for (std::uint32_t w :
       {WINDOW_ELECTRICAL, WINDOW_COMMUTATOR, WINDOW_START, WINDOW_FUEL, WINDOW_THROTTLES})
    sim->open_window(w);
  sim->frame();
  EXPECT_TRUE(sim->click("kestovil commut_batt_k7", 50, 160)); // off
  EXPECT_TRUE(sim->click("kestovil commut_batt_k7", 50, 300)); // start position
  sim->frame();
  EXPECT_EQ(st(*sim, "elec_batt_commut"), 2);
  return sim;
}

TEST(EnginesAndNetwork, TheGeneratorGoesOffLineWithTheHpCockOrBelow20PercentN2) {
  auto sim = networked();
  press_start(*sim, SEL_1_X);
  sim->seconds(40);
  ASSERT_EQ(st(*sim, "elec_gen1_online"), 1);
  EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_CLOSE_Y));
  sim->frame();
  sim->frame();
  EXPECT_EQ(st(*sim, "elec_gen1_online"), 0) << "HP cock closed";
  EXPECT_GT(sim->token(N2_1), 20.0);

  // Open again: the engine has gone out but still turns above 20 %, so the generator is back
  // on line until the speed falls to 20 %.
  EXPECT_TRUE(sim->click(THROTTLE_L, HP_X, HP_OPEN_Y));
  sim->frame();
  EXPECT_EQ(st(*sim, "elec_gen1_online"), 1);
  frames_until(*sim, 1000, [&] { return sim->token(N2_1) <= 20.0; });
  EXPECT_EQ(st(*sim, "elec_gen1_online"), 0);
  EXPECT_EQ(st(*sim, "elec_bus_gen"), 0);
}

// ---- the stand-in's engines and the scenario words they bring
// -----------------------------------------------------------------

TEST(StandInEngines, TheStarterAloneTurnsTheEngineButFuelIsNeededToLightIt) {
  auto sim = k7test::fresh();
  for (int i = 0; i < 18 * 20; ++i) {
    sim->frame();
    sim->set_token(SELECTOR_1, 0.0); // no fuel
    k7host::apply_key_event(*sim, CRANK_1, 0);
  }
  EXPECT_NEAR(sim->token(N2_1), 28.0, 1e-9) << "the starter's top speed";
  sim->set_token(SELECTOR_1, 2.0);
  for (int i = 0; i < 18 * 20; ++i) {
    sim->frame();
    k7host::apply_key_event(*sim, CRANK_1, 0);
  }
  EXPECT_NEAR(sim->token(N2_1), 62.0, 1e-9) << "lit and at idle";
  EXPECT_NEAR(sim->token(N1_1), 24.0, 1e-9);
  sim->set_token(THROTTLE_1, 1.0);
  sim->seconds(20);
  EXPECT_NEAR(sim->token(N2_1), 100.0, 1e-9);
  EXPECT_NEAR(sim->token(N1_1), 100.0, 1e-9);
  k7host::apply_key_event(*sim, 0x101C3, 0); // fuel lever down
  sim->seconds(60);
  EXPECT_EQ(sim->token(N2_1), 0.0);
}

TEST(StandInEngines, AnEngineSpeedSetFromOutsideStaysUntilTheNextStarterEvent) {
  auto sim = k7test::fresh();
  sim->set_token(N2_2, 60.0);
  sim->seconds(5);
  EXPECT_EQ(sim->token(N2_2), 60.0);
  EXPECT_NEAR(sim->token(N1_2), 4.0 + 20.0 * 40.0 / 42.0, 1e-9) << "N1 follows the speed set";
  sim->set_token(N1_2, 33.0);
  sim->frames(2);
  EXPECT_EQ(sim->token(N1_2), 33.0) << "so does an N1 set from outside";
  sim->set_token(SELECTOR_2, 3.0);
  k7host::apply_key_event(*sim, CRANK_2, 0);
  sim->seconds(5);
  EXPECT_NEAR(sim->token(N2_2), 62.0, 1e-9) << "handed back: lit, and at idle";
  EXPECT_NEAR(sim->token(N1_2), 24.0, 1e-9);
}

TEST(StandInEngines, ScenariosWatchAndPrintTokens) {
  auto sim = k7test::fresh();
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  const auto r = k7host::run_scenario(*sim,
                                      "set token 0x271 5\nwatch 0x271/10 0x133\nframes 1\n"
                                      "set token 0x271 25\nset token 0x133 3\nframes 1\n"
                                      "print 0x271\nwatch 0x4A/0\n",
                                      "watch.k7s", out, true);
  std::rewind(out);
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, out) != nullptr)
    text += buffer;
  std::fclose(out);
  EXPECT_TRUE(r.error) << "a zero step is refused";
  EXPECT_NE(text.find("token 0x271"), std::string::npos) << text;
  EXPECT_NE(text.find(" 0 -> 3\n"), std::string::npos) << text;
  EXPECT_NE(text.find("0 -> 20"), std::string::npos) << "band of 10 reported, not 25: " << text;
}

} // namespace
