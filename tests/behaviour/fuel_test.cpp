// The fuel feed: pumps, feed pressures, the feed logic that picks or cuts the simulator's tank,
// the valves and the cross-feed, their lamps and the pressure gauge.
#include "engines_helpers.h"

namespace {

using namespace enginetest;
using k7test::visible;

// Chain places of the pump panel's images.
constexpr int PUMP1_CENTRE = 1, PUMP1_UP = 2, PUMP1_DOWN = 3, PUMP1_NIGHT_DOWN = 6;
constexpr int PUMP3_DOWN = 13, PUMP3_UP = 14;
constexpr int LOW_LEVEL = 21, LOW_LEVEL_NAV = 22, LOW_PRESSURE = 23, LOW_PRESSURE_NAV = 24;

// All pumps of the left side off but the one named ("lh3" ...), its switch at `position`.
void only_pump(k7host::Sim& sim, const std::string& side, int pump, int position) {
  for (int p = 1; p <= 4; ++p)
    set(sim, "fuel_pump_" + side + std::to_string(p) + "_sw", p == pump ? position : 0);
}

std::unique_ptr<k7host::Sim> fuel_panel() {
  auto sim = k7test::fresh();
  sim->open_window(WINDOW_FUEL);
  return sim;
}

TEST(FuelFeed, UnpoweredSidesBleedAtThreeAndTheEnginesAreStarvedOncePressureFallsBelow50) {
  auto sim = fuel_panel();
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 197);
  EXPECT_EQ(st(*sim, "fuel_press_rh"), 197);
  EXPECT_EQ(st(*sim, "fuel_pump_lh4_on"), 0) << "pump 4 needs the main bus";
  EXPECT_EQ(sim->token(SELECTOR_1), 4) << "suction feed from the left tank";
  EXPECT_EQ(sim->token(SELECTOR_2), 5) << "suction feed from the right tank";

  sim->frames(49);
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 50);
  sim->frame(); // the feed still sees 50, then the pressure drops to 47
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 47);
  EXPECT_EQ(sim->token(SELECTOR_1), 4);
  sim->frame();
  EXPECT_EQ(sim->token(SELECTOR_1), 0);
  EXPECT_EQ(sim->token(SELECTOR_2), 0);
  EXPECT_EQ(sim->key_count(0x101A7), 1u) << "sent only until the simulator shows it";
  EXPECT_EQ(sim->key_count(0x101A3), 1u);
  EXPECT_EQ(sim->key_count(0x103D9), 1u);
  EXPECT_EQ(sim->key_count(0x103D4), 1u);

  sim->frames(20);
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 0) << "never below 0";
}

TEST(FuelFeed, PumpThreeAloneTakes50UpdatesToNominalTheOtherPumps25) {
  auto sim = fuel_panel();
  power(*sim);
  only_pump(*sim, "lh", 3, 1);
  set(*sim, "fuel_press_lh", 0);
  sim->frames(49);
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 245);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 250);
  sim->frames(10);
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 250);

  for (int pump : {1, 2, 4}) {
    auto s = fuel_panel();
    power(*s);
    only_pump(*s, "lh", pump, 1);
    set(*s, "fuel_press_lh", 0);
    s->frames(24);
    EXPECT_EQ(st(*s, "fuel_press_lh"), 240) << "pump " << pump;
    s->frame();
    EXPECT_EQ(st(*s, "fuel_press_lh"), 250) << "pump " << pump;
    s->frames(10);
    EXPECT_EQ(st(*s, "fuel_press_lh"), 250) << "pump " << pump;
  }
}

TEST(FuelFeed, AnOverPressureSettlesOnlyWithinItsBandAndDecaysFromAbove) {
  auto sim = fuel_panel();
  power(*sim);
  only_pump(*sim, "lh", 4, 1);
  set(*sim, "fuel_press_lh", 252);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 250) << "below 253 without draw: settles";
  set(*sim, "fuel_press_lh", 253);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 250) << "253 decays by 3 to 250";
  set(*sim, "fuel_press_lh", 300);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 297);

  pin_engines(*sim, 60.0, 0.0); // the engine draws: wider band, faster decay
  set(*sim, "fuel_press_lh", 259);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 250);
  set(*sim, "fuel_press_lh", 300);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 290);
}

TEST(FuelFeed, AutomaticPumpOneCyclesOnPressureUnlessPumpFourIsOn) {
  auto sim = fuel_panel();
  power(*sim);
  only_pump(*sim, "lh", 1, 2);
  set(*sim, "fuel_press_lh", 104);
  sim->frame(); // 104: no start; decays to 101
  EXPECT_EQ(st(*sim, "fuel_pump_lh1_on"), 0);
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 101);
  sim->frame(); // 101: still no start; 98
  EXPECT_EQ(st(*sim, "fuel_pump_lh1_on"), 0);
  sim->frame(); // 98: starts and pushes to 108
  EXPECT_EQ(st(*sim, "fuel_pump_lh1_on"), 1);
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 108);

  // 108, 118 .. 238, 248: the pump sees 248 and stops, so the side never settles on 250.
  const int to_stop = frames_until(*sim, 100, [&] { return st(*sim, "fuel_pump_lh1_on") == 0; });
  EXPECT_EQ(to_stop, 15);
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 245) << "stopped at 248, then bled by 3";
  const int to_restart = frames_until(*sim, 100, [&] { return st(*sim, "fuel_pump_lh1_on") == 1; });
  EXPECT_EQ(to_restart, 50) << "sees 245 first, 98 on the 50th update";

  // With pump 4 on the automatic pump, once started, stays on at full pressure.
  set(*sim, "fuel_pump_lh4_sw", 1);
  sim->frames(60);
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 250);
  EXPECT_EQ(st(*sim, "fuel_pump_lh1_on"), 1);

  // It needs the HP cock open and the essential bus.
  set(*sim, "eng1_hp_cock_open", 0);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_pump_lh1_on"), 0);
  set(*sim, "eng1_hp_cock_open", 1);
  set(*sim, "fuel_press_lh", 50);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_pump_lh1_on"), 1);
  power(*sim, false, true, true);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_pump_lh1_on"), 0);
}

TEST(FuelFeed, PumpsStopWithTheirBuses) {
  auto sim = fuel_panel();
  power(*sim);
  set(*sim, "fuel_pump_lh2_sw", 1);
  set(*sim, "fuel_pump_lh3_sw", 1);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_pump_lh2_on"), 1);
  EXPECT_EQ(st(*sim, "fuel_pump_lh3_on"), 1);
  EXPECT_EQ(st(*sim, "fuel_pump_lh4_on"), 1);
  power(*sim, true, false, true); // main bus lost: pumps 2 and 4 stop
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_pump_lh2_on"), 0);
  EXPECT_EQ(st(*sim, "fuel_pump_lh3_on"), 1);
  EXPECT_EQ(st(*sim, "fuel_pump_lh4_on"), 0);
  power(*sim, false, true, true); // essential bus lost: pump 3 stops
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_pump_lh3_on"), 0);

  // Pump 2 in automatic runs only on low main-tank contents.
  power(*sim);
  set(*sim, "fuel_pump_lh2_sw", 2);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_pump_lh2_on"), 0) << "200 kg is not low";
  set(*sim, "fuel_qty_main_lh", 199.9);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_pump_lh2_on"), 1);
}

TEST(FuelFeed, LowPressureLatchAndLampsFollowPressurePumpFourAndTheirBuses) {
  auto sim = fuel_panel();
  power(*sim);
  set(*sim, "fuel_press_lh", 110);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_lowpress_lh"), 1);
  EXPECT_TRUE(visible(*sim, PUMPS_LH, LOW_PRESSURE));
  EXPECT_FALSE(visible(*sim, PUMPS_LH, LOW_PRESSURE_NAV));
  sim->frame(); // 120 now, and pump 4 ran in the last update: cleared
  EXPECT_EQ(st(*sim, "fuel_lowpress_lh"), 0);
  EXPECT_FALSE(visible(*sim, PUMPS_LH, LOW_PRESSURE));

  // With pump 4 off the latch follows the pressure: 111 is not low.
  set(*sim, "fuel_pump_lh4_sw", 0);
  set(*sim, "fuel_pump_lh1_sw", 0);
  set(*sim, "fuel_press_lh", 111);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_lowpress_lh"), 0);
  sim->frame(); // 108
  EXPECT_EQ(st(*sim, "fuel_lowpress_lh"), 1);
  EXPECT_TRUE(visible(*sim, PUMPS_LH, LOW_PRESSURE));

  // The lamp needs the main bus; the navigation lights choose its other bitmap.
  sim->set_token(NAV_LIGHTS, 1.0);
  sim->frame();
  EXPECT_FALSE(visible(*sim, PUMPS_LH, LOW_PRESSURE));
  EXPECT_TRUE(visible(*sim, PUMPS_LH, LOW_PRESSURE_NAV));
  power(*sim, true, false, true);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_lowpress_lh"), 1);
  EXPECT_FALSE(visible(*sim, PUMPS_LH, LOW_PRESSURE));
  EXPECT_FALSE(visible(*sim, PUMPS_LH, LOW_PRESSURE_NAV));

  // Low level: below 200 kg with the essential bus.
  set(*sim, "fuel_qty_main_rh", 150.0);
  sim->set_token(NAV_LIGHTS, 0.0);
  sim->frame();
  EXPECT_TRUE(visible(*sim, PUMPS_RH, LOW_LEVEL));
  EXPECT_FALSE(visible(*sim, PUMPS_LH, LOW_LEVEL));
  power(*sim, false, false, false);
  sim->frame();
  EXPECT_FALSE(visible(*sim, PUMPS_RH, LOW_LEVEL));
  EXPECT_FALSE(visible(*sim, PUMPS_RH, LOW_LEVEL_NAV));
}

TEST(FuelFeed, TheFeedPicksThePumpedTankTheSuctionTankOrNone) {
  auto sim = fuel_panel();
  power(*sim);
  sim->frames(2);
  EXPECT_EQ(sim->token(SELECTOR_1), 4) << "pumps 1 and 4 only: suction-side value";
  EXPECT_EQ(sim->token(SELECTOR_2), 5);
  set(*sim, "fuel_pump_lh3_sw", 1);
  set(*sim, "fuel_pump_rh2_sw", 1);
  sim->frames(2);
  EXPECT_EQ(sim->token(SELECTOR_1), 2);
  EXPECT_EQ(sim->token(SELECTOR_2), 3);

  // Closing a side's valve cuts its engine.
  set(*sim, "fuel_valve_lh_b", 0);
  sim->frames(2);
  EXPECT_EQ(sim->token(SELECTOR_1), 0);
  EXPECT_EQ(sim->token(SELECTOR_2), 3);
}

TEST(FuelFeed, SuctionFeedHoldsTo17000FeetOnTheLeftAnd20000OnTheRight) {
  auto sim = fuel_panel();
  power(*sim);
  only_pump(*sim, "lh", 0, 0);
  only_pump(*sim, "rh", 0, 0);
  set(*sim, "fuel_press_lh", 40);
  set(*sim, "fuel_press_rh", 40);
  pin_engines(*sim, 60.0, 60.0);
  sim->set_token(ALTITUDE, 16999.0);
  sim->frame();
  EXPECT_EQ(sim->token(SELECTOR_1), 4);
  EXPECT_EQ(sim->token(SELECTOR_2), 5);
  sim->set_token(ALTITUDE, 17000.0);
  sim->frame();
  EXPECT_EQ(sim->token(SELECTOR_1), 0) << "flame-out by starvation";
  EXPECT_EQ(sim->token(SELECTOR_2), 5);
  sim->set_token(ALTITUDE, 20000.0);
  sim->frame();
  EXPECT_EQ(sim->token(SELECTOR_2), 0);

  // Below the ceiling suction needs the engine turning at 20 % N2.
  sim->set_token(ALTITUDE, 1000.0);
  sim->set_token(N2_1, 19.9);
  sim->set_token(N2_2, 20.0);
  sim->frame();
  EXPECT_EQ(sim->token(SELECTOR_1), 0);
  EXPECT_EQ(sim->token(SELECTOR_2), 5);
}

TEST(FuelFeed, ThroughTheCrossFeedAClosedSideCopiesTheOtherSideOnlyWhileNoPumpOfItsOwnRuns) {
  auto sim = fuel_panel();
  power(*sim);
  set(*sim, "fuel_pump_rh3_sw", 1); // right engine on its pumped tank (3)
  sim->frames(12);
  ASSERT_EQ(sim->token(SELECTOR_2), 3);
  set(*sim, "fuel_valve_lh_a", 0);
  set(*sim, "fuel_valve_lh_b", 0);
  set(*sim, "fuel_crossfeed_open", 1);
  sim->frames(2);
  EXPECT_EQ(sim->token(SELECTOR_1), 3) << "engine 1 fed from the right engine's tank";
  EXPECT_NE(st(*sim, "fuel_press_lh"), st(*sim, "fuel_press_rh"))
      << "the left pumps 1 and 4 still run, so the left side bleeds on its own";

  only_pump(*sim, "lh", 0, 0);
  sim->frames(2);
  EXPECT_EQ(st(*sim, "fuel_press_lh"), st(*sim, "fuel_press_rh"));
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 250);

  // Right engine on suction (5): engine 1 follows; anything else gives off.
  set(*sim, "fuel_pump_rh2_sw", 0);
  set(*sim, "fuel_pump_rh3_sw", 0);
  sim->frames(3);
  EXPECT_EQ(sim->token(SELECTOR_2), 5);
  EXPECT_EQ(sim->token(SELECTOR_1), 5);
  set(*sim, "fuel_valve_rh_b", 0);
  sim->frames(2);
  EXPECT_EQ(sim->token(SELECTOR_2), 0);
  EXPECT_EQ(sim->token(SELECTOR_1), 0);
}

TEST(FuelFeed, WithTheCrossFeedOpenAndNoPumpOnEitherSideBothSidesBleedAndTheEnginesStarve) {
  auto sim = fuel_panel();
  power(*sim);
  only_pump(*sim, "lh", 0, 0);
  only_pump(*sim, "rh", 0, 0);
  set(*sim, "fuel_crossfeed_open", 1);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 197);
  EXPECT_EQ(st(*sim, "fuel_press_rh"), 197);
  sim->frames(60);
  EXPECT_LT(st(*sim, "fuel_press_lh"), 50);
  EXPECT_LT(st(*sim, "fuel_press_rh"), 50);
  EXPECT_EQ(sim->token(SELECTOR_1), 0);
  EXPECT_EQ(sim->token(SELECTOR_2), 0);

  // A pump on one side brings both up again through the cross-feed.
  set(*sim, "fuel_pump_rh4_sw", 1);
  sim->frames(30);
  EXPECT_EQ(st(*sim, "fuel_press_rh"), 250);
  EXPECT_EQ(st(*sim, "fuel_press_lh"), 250);
}

TEST(FuelFeed, AnUnusedSelectorValueIsReplacedOnTheNextUpdate) {
  auto sim = fuel_panel();
  power(*sim);
  sim->frame();
  sim->set_token(SELECTOR_1, 1.0);
  sim->set_token(SELECTOR_2, 7.5);
  sim->frame();
  EXPECT_EQ(sim->token(SELECTOR_1), 4);
  EXPECT_EQ(sim->token(SELECTOR_2), 5);
  EXPECT_EQ(st(*sim, "fuel_sel_eng1"), 6);
  EXPECT_EQ(st(*sim, "fuel_sel_eng2"), 6);
  EXPECT_EQ(sim->key_count(0x101A7), 2u);
  k7host::engines_hold(*sim, true);
  sim->set_token(N2_1, std::nan("")); // a nonsense speed changes nothing here
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_sel_eng1"), 4);
  EXPECT_EQ(sim->key_count(0x101A7), 2u);
}

TEST(FuelValves, TheSimulatorsEngineValveFollowsThePanelValveOrTheCrossFeed) {
  auto sim = fuel_panel();
  set(*sim, "fuel_valve_lh_b", 0);
  sim->frames(3);
  EXPECT_EQ(sim->token(FUEL_VALVE_1), 1.0) << "nothing is sent without the essential bus";
  EXPECT_FALSE(sim->key_sent(0x103BE));

  power(*sim);
  sim->frame();
  EXPECT_EQ(sim->token(FUEL_VALVE_1), 0.0);
  EXPECT_EQ(sim->key_count(0x103BE), 1u);
  sim->frames(3);
  EXPECT_EQ(sim->key_count(0x103BE), 1u);

  // Cross-feed open with the right engine's valve open keeps engine 1's valve open.
  set(*sim, "fuel_crossfeed_open", 1);
  sim->frame();
  EXPECT_EQ(sim->token(FUEL_VALVE_1), 1.0);
  sim->set_token(FUEL_VALVE_2, 0.0);
  set(*sim, "fuel_valve_rh_b", 0);
  sim->frames(2);
  EXPECT_EQ(sim->token(FUEL_VALVE_1), 0.0);
  EXPECT_EQ(sim->token(FUEL_VALVE_2), 0.0);

  set(*sim, "fuel_valve_lh_b", 1);
  sim->frame();
  EXPECT_EQ(sim->token(FUEL_VALVE_1), 1.0);
  EXPECT_EQ(sim->token(FUEL_VALVE_2), 1.0) << "now kept open through the cross-feed";
}

TEST(FuelValves, ValveLightsShowOpenShutOrDark) {
  auto sim = fuel_panel();
  sim->frame();
  for (int e = 5; e <= 8; ++e)
    EXPECT_FALSE(visible(*sim, VALVES_LH, e)) << "dark without the essential bus";
  power(*sim);
  sim->frame();
  EXPECT_TRUE(visible(*sim, VALVES_LH, 5));
  EXPECT_FALSE(visible(*sim, VALVES_LH, 6));
  EXPECT_TRUE(visible(*sim, VALVES_LH, 7));
  EXPECT_FALSE(visible(*sim, VALVES_LH, 8));
  set(*sim, "fuel_valve_rh_b", 0);
  sim->frame();
  EXPECT_FALSE(visible(*sim, VALVES_RH, 5));
  EXPECT_TRUE(visible(*sim, VALVES_RH, 6));
  EXPECT_TRUE(visible(*sim, VALVES_RH, 8));
  EXPECT_TRUE(visible(*sim, VALVES_LH, 5)) << "the other side keeps its lights";

  set(*sim, "fuel_crossfeed_open", 1);
  sim->frame();
  EXPECT_TRUE(visible(*sim, CROSSFEED, 2));
  EXPECT_FALSE(visible(*sim, CROSSFEED, 1));
  EXPECT_TRUE(visible(*sim, CROSSFEED, 3));
  EXPECT_FALSE(visible(*sim, CROSSFEED, 4));
  power(*sim, false, false, false);
  sim->frame();
  EXPECT_FALSE(visible(*sim, CROSSFEED, 3));
  EXPECT_FALSE(visible(*sim, CROSSFEED, 4));
  EXPECT_TRUE(visible(*sim, CROSSFEED, 2)) << "the lever still shows";
}

TEST(FuelClicks, PumpSwitchesMoveByTheirAreasAndStayWhenClickedWhereTheyStand) {
  auto sim = fuel_panel();
  sim->frame();
  EXPECT_TRUE(visible(*sim, PUMPS_LH, PUMP1_DOWN)) << "automatic at load";
  const auto clicked = clicks(*sim);
  EXPECT_TRUE(sim->click(PUMPS_LH, 40, 5));
  EXPECT_EQ(st(*sim, "fuel_pump_lh1_sw"), 1);
  EXPECT_EQ(clicks(*sim), clicked + 1);
  EXPECT_TRUE(sim->click(PUMPS_LH, 40, 5));
  EXPECT_EQ(clicks(*sim), clicked + 1) << "already there: no click";
  EXPECT_TRUE(sim->click(PUMPS_LH, 40, 20));
  EXPECT_EQ(st(*sim, "fuel_pump_lh1_sw"), 0);
  EXPECT_EQ(clicks(*sim), clicked + 2);
  sim->frame();
  EXPECT_TRUE(visible(*sim, PUMPS_LH, PUMP1_CENTRE));
  EXPECT_FALSE(visible(*sim, PUMPS_LH, PUMP1_UP));
  EXPECT_FALSE(visible(*sim, PUMPS_LH, PUMP1_DOWN));
  EXPECT_TRUE(sim->click(PUMPS_LH, 10, 30));
  EXPECT_EQ(st(*sim, "fuel_pump_lh3_sw"), 0) << "already down";
  EXPECT_TRUE(sim->click(PUMPS_LH, 10, 10));
  EXPECT_EQ(st(*sim, "fuel_pump_lh3_sw"), 1);
  EXPECT_TRUE(sim->click(PUMPS_LH, 40, 70));
  EXPECT_EQ(st(*sim, "fuel_pump_lh4_sw"), 0);
  EXPECT_TRUE(sim->click(PUMPS_LH, 10, 80));
  EXPECT_EQ(st(*sim, "fuel_pump_lh2_sw"), 2);

  // The right panel is the mirror image.
  EXPECT_TRUE(sim->click(PUMPS_RH, 10, 5));
  EXPECT_EQ(st(*sim, "fuel_pump_rh1_sw"), 1);
  EXPECT_TRUE(sim->click(PUMPS_RH, 40, 10));
  EXPECT_EQ(st(*sim, "fuel_pump_rh3_sw"), 1);
  EXPECT_TRUE(sim->click(PUMPS_RH, 10, 70));
  EXPECT_EQ(st(*sim, "fuel_pump_rh4_sw"), 0);
  EXPECT_TRUE(sim->click(PUMPS_RH, 40, 62));
  EXPECT_EQ(st(*sim, "fuel_pump_rh2_sw"), 0);
  EXPECT_EQ(st(*sim, "fuel_pump_lh2_sw"), 2);
  EXPECT_FALSE(sim->click(PUMPS_RH, 66, 90)) << "no area there";

  sim->frame();
  night_lighting(*sim);
  set(*sim, "fuel_pump_lh1_sw", 2);
  sim->frame();
  EXPECT_TRUE(visible(*sim, PUMPS_LH, PUMP1_NIGHT_DOWN));
  EXPECT_FALSE(visible(*sim, PUMPS_LH, PUMP1_DOWN));
  EXPECT_FALSE(visible(*sim, PUMPS_LH, PUMP3_DOWN));
  EXPECT_FALSE(visible(*sim, PUMPS_LH, PUMP3_UP));
}

TEST(FuelClicks, ValveSwitchesMoveTogetherAndTheCrossFeedOpensAndCloses) {
  auto sim = fuel_panel();
  const auto clicked = clicks(*sim);
  EXPECT_TRUE(sim->click(VALVES_LH, 10, 80));
  EXPECT_EQ(st(*sim, "fuel_valve_lh_a"), 0);
  EXPECT_EQ(st(*sim, "fuel_valve_lh_b"), 0);
  EXPECT_TRUE(sim->click(VALVES_LH, 50, 80));
  EXPECT_EQ(clicks(*sim), clicked + 1) << "both switches already down";
  EXPECT_TRUE(sim->click(VALVES_LH, 50, 30));
  EXPECT_EQ(st(*sim, "fuel_valve_lh_a"), 1);
  EXPECT_EQ(st(*sim, "fuel_valve_lh_b"), 1);

  // Switches that disagree (a preset wrote only one) are brought together from either area.
  set(*sim, "fuel_valve_rh_a", 1);
  set(*sim, "fuel_valve_rh_b", 0);
  EXPECT_TRUE(sim->click(VALVES_RH, 50, 30));
  EXPECT_EQ(st(*sim, "fuel_valve_rh_a"), 1);
  EXPECT_EQ(st(*sim, "fuel_valve_rh_b"), 1);
  sim->frame();
  EXPECT_TRUE(visible(*sim, VALVES_RH, 2));
  EXPECT_TRUE(visible(*sim, VALVES_RH, 4));
  EXPECT_FALSE(visible(*sim, VALVES_RH, 1));

  EXPECT_TRUE(sim->click(CROSSFEED, 10, 10));
  EXPECT_EQ(st(*sim, "fuel_crossfeed_open"), 1);
  EXPECT_TRUE(sim->click(CROSSFEED, 10, 60));
  EXPECT_EQ(st(*sim, "fuel_crossfeed_open"), 0);
  EXPECT_EQ(clicks(*sim), clicked + 5);
}

TEST(FuelPressureGauge, NeedlesFollowThePressureOnlyWithTheirBusAndStayOnTheDial) {
  auto sim = fuel_panel();
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_press_lh_ind"), 0) << "no instrument bus";
  power(*sim);
  sim->frame();
  EXPECT_EQ(st(*sim, "fuel_press_lh_ind"), st(*sim, "fuel_press_lh"));
  EXPECT_EQ(sim->element(PRESSURE, 1)->value, st(*sim, "fuel_press_lh"));
  EXPECT_EQ(sim->element(PRESSURE, 2)->value, st(*sim, "fuel_press_rh"));
  const double shown = st(*sim, "fuel_press_lh_ind");
  power(*sim, true, true, false);
  sim->frames(5);
  EXPECT_EQ(st(*sim, "fuel_press_lh_ind"), shown) << "needles stay where they were";

  set(*sim, "fuel_press_lh_ind", 700);
  set(*sim, "fuel_press_rh_ind", -20);
  sim->frame();
  EXPECT_EQ(sim->element(PRESSURE, 1)->value, 500);
  EXPECT_EQ(sim->element(PRESSURE, 2)->value, 0);
  EXPECT_EQ(st(*sim, "fuel_press_lh_ind"), 500) << "written back";
  EXPECT_EQ(st(*sim, "fuel_press_rh_ind"), 0);

  EXPECT_FALSE(visible(*sim, PRESSURE, 3));
  night_lighting(*sim);
  sim->frame();
  for (int e = 3; e <= 5; ++e)
    EXPECT_TRUE(visible(*sim, PRESSURE, e));
  EXPECT_EQ(sim->element(PRESSURE, 4)->value, 500);
  EXPECT_EQ(sim->header(PRESSURE)->mouse_rect[0].help_id, 43854);
}

} // namespace
