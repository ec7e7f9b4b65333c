// The fuel feed: pumps, feed pressures, the feed logic that picks or cuts the simulator's tank,
// the valves and the cross-feed, their lamps and the pressure gauge. (The cross-feed open with no
// pump running is the scenario fuel_crossfeed_no_pumps.)
#include "k7test.h"

#include <cmath>

namespace {

using namespace k7test;

const std::string PUMPS_LH = "kestovil fuel_pumps_lh_k7";
const std::string PUMPS_RH = "kestovil fuel_pumps_rh_k7";
const std::string VALVES_LH = "kestovil fuel_valves_lh_k7";
const std::string VALVES_RH = "kestovil fuel_valves_rh_k7";
const std::string CROSSFEED = "kestovil fuel_crossfeed_k7";
const std::string PRESSURE = "kestovil fuel_press_k7";

constexpr std::uint32_t N2_1 = 0x271, N2_2 = 0x284, SELECTOR_1 = 0x133, SELECTOR_2 = 0x38A;
constexpr std::uint32_t FUEL_VALVE_1 = 0x37F, FUEL_VALVE_2 = 0x380;
constexpr std::uint32_t ALTITUDE = 0x4A, NAV_LIGHTS = 0x26B;

// Chain places of the pump panel's images.
constexpr int PUMP1_CENTRE = 1, PUMP1_UP = 2, PUMP1_DOWN = 3, PUMP1_NIGHT_DOWN = 6;
constexpr int PUMP3_DOWN = 13, PUMP3_UP = 14;
constexpr int LOW_LEVEL = 21, LOW_LEVEL_NAV = 22, LOW_PRESSURE = 23, LOW_PRESSURE_NAV = 24;

// The fuel panel open.
struct Fuel : Bed {
  Fuel() : Bed{FUEL} {}
  // All pumps of a side ("lh", "rh") off but the one named, its switch at `position`.
  void only_pump(const std::string& side, int pump, int position) {
    for (int p = 1; p <= 4; ++p)
      set("fuel_pump_" + side + std::to_string(p) + "_sw", p == pump ? position : 0);
  }
  double selector(int engine) const { return sim->token(engine == 1 ? SELECTOR_1 : SELECTOR_2); }
};

TEST(FuelFeed, UnpoweredSidesBleedAtThreeAndTheEnginesAreStarvedOncePressureFallsBelow50) {
  Fuel f;
  f.frames();
  EXPECT_EQ(f.state("fuel_press_lh"), 197);
  EXPECT_EQ(f.state("fuel_press_rh"), 197);
  EXPECT_EQ(f.state("fuel_pump_lh4_on"), 0) << "pump 4 needs the main bus";
  EXPECT_EQ(f.selector(1), 4) << "suction feed from the left tank";
  EXPECT_EQ(f.selector(2), 5) << "suction feed from the right tank";

  f.frames(49);
  EXPECT_EQ(f.state("fuel_press_lh"), 50);
  f.frames(); // the feed still sees 50, then the pressure drops to 47
  EXPECT_EQ(f.state("fuel_press_lh"), 47);
  EXPECT_EQ(f.selector(1), 4);
  f.frames();
  EXPECT_EQ(f.selector(1), 0);
  EXPECT_EQ(f.selector(2), 0);
  for (std::uint32_t key : {0x101A7u, 0x101A3u, 0x103D9u, 0x103D4u})
    EXPECT_EQ(f.keys(key), 1u) << std::hex << key << ": sent only until the simulator shows it";
  f.frames(20);
  EXPECT_EQ(f.state("fuel_press_lh"), 0) << "never below 0";
}

TEST(FuelFeed, PumpThreeAloneTakes50UpdatesToNominalTheOtherPumps25) {
  for (int pump : {1, 2, 3, 4}) {
    Fuel f;
    f.power();
    f.only_pump("lh", pump, 1);
    f.set("fuel_press_lh", 0);
    const int updates = pump == 3 ? 50 : 25;
    f.frames(updates - 1);
    EXPECT_EQ(f.state("fuel_press_lh"), pump == 3 ? 245 : 240) << "pump " << pump;
    f.frames();
    EXPECT_EQ(f.state("fuel_press_lh"), 250) << "pump " << pump;
    f.frames(10);
    EXPECT_EQ(f.state("fuel_press_lh"), 250) << "pump " << pump;
  }
}

TEST(FuelFeed, AnOverPressureSettlesOnlyWithinItsBandAndDecaysFromAbove) {
  Fuel f;
  f.power();
  f.only_pump("lh", 4, 1);
  auto after = [&](double pressure) {
    f.set("fuel_press_lh", pressure);
    f.frames();
    return f.state("fuel_press_lh");
  };
  EXPECT_EQ(after(252), 250) << "below 253 without draw: settles";
  EXPECT_EQ(after(253), 250) << "253 decays by 3 to 250";
  EXPECT_EQ(after(300), 297);
  f.pin_engines(20.0, 0.0); // at 20 % N2 the engine does not draw yet
  EXPECT_EQ(after(300), 297);
  f.pin_engines(20.1, 0.0); // above it draws: wider band, faster decay
  EXPECT_EQ(after(259), 250);
  EXPECT_EQ(after(300), 290);
  f.pin_engines(0.0, 60.0); // the other engine draws on this side only through the cross-feed
  EXPECT_EQ(after(300), 297);
  f.set("fuel_crossfeed_open", 1);
  EXPECT_EQ(after(300), 290);
}

TEST(FuelFeed, AutomaticPumpOneCyclesOnPressureUnlessPumpFourIsOn) {
  Fuel f;
  f.power();
  f.only_pump("lh", 1, 2);
  f.set("fuel_press_lh", 104);
  f.frames(); // 104: no start; decays to 101
  EXPECT_EQ(f.state("fuel_pump_lh1_on"), 0);
  EXPECT_EQ(f.state("fuel_press_lh"), 101);
  f.frames(); // 101: still no start; 98
  EXPECT_EQ(f.state("fuel_pump_lh1_on"), 0);
  f.frames(); // 98: starts and pushes to 108
  EXPECT_EQ(f.state("fuel_pump_lh1_on"), 1);
  EXPECT_EQ(f.state("fuel_press_lh"), 108);

  // 108, 118 .. 238, 248: the pump sees 248 and stops, so the side never settles on 250.
  EXPECT_EQ(f.frames_until(100, [&] { return f.state("fuel_pump_lh1_on") == 0; }), 15);
  EXPECT_EQ(f.state("fuel_press_lh"), 245) << "stopped at 248, then bled by 3";
  EXPECT_EQ(f.frames_until(100, [&] { return f.state("fuel_pump_lh1_on") == 1; }), 50)
      << "sees 245 first, 98 on the 50th update";

  // With pump 4 on the automatic pump, once started, stays on at full pressure.
  f.set("fuel_pump_lh4_sw", 1);
  f.frames(60);
  EXPECT_EQ(f.state("fuel_press_lh"), 250);
  EXPECT_EQ(f.state("fuel_pump_lh1_on"), 1);

  // It needs the HP cock open and the essential bus.
  f.set("eng1_hp_cock_open", 0);
  f.frames();
  EXPECT_EQ(f.state("fuel_pump_lh1_on"), 0);
  f.set("eng1_hp_cock_open", 1);
  f.set("fuel_press_lh", 50);
  f.frames();
  EXPECT_EQ(f.state("fuel_pump_lh1_on"), 1);
  f.power(false, true, true);
  f.frames();
  EXPECT_EQ(f.state("fuel_pump_lh1_on"), 0);
}

TEST(FuelFeed, PumpsStopWithTheirBuses) {
  Fuel f;
  f.power();
  f.set("fuel_pump_lh2_sw", 1);
  f.set("fuel_pump_lh3_sw", 1);
  f.frames();
  EXPECT_EQ(f.state("fuel_pump_lh2_on"), 1);
  EXPECT_EQ(f.state("fuel_pump_lh3_on"), 1);
  EXPECT_EQ(f.state("fuel_pump_lh4_on"), 1);
  f.power(true, false, true); // main bus lost: pumps 2 and 4 stop
  f.frames();
  EXPECT_EQ(f.state("fuel_pump_lh2_on"), 0);
  EXPECT_EQ(f.state("fuel_pump_lh3_on"), 1);
  EXPECT_EQ(f.state("fuel_pump_lh4_on"), 0);
  f.power(false, true, true); // essential bus lost: pump 3 stops
  f.frames();
  EXPECT_EQ(f.state("fuel_pump_lh3_on"), 0);

  // Pump 2 in automatic runs only on low main-tank contents.
  f.power();
  f.set("fuel_pump_lh2_sw", 2);
  f.frames();
  EXPECT_EQ(f.state("fuel_pump_lh2_on"), 0) << "200 kg is not low";
  f.set("fuel_qty_main_lh", 199.9);
  f.frames();
  EXPECT_EQ(f.state("fuel_pump_lh2_on"), 1);
}

TEST(FuelFeed, LowPressureLatchAndLampsFollowPressurePumpFourAndTheirBuses) {
  Fuel f;
  f.power();
  f.set("fuel_press_lh", 110);
  f.frames();
  EXPECT_EQ(f.state("fuel_lowpress_lh"), 1);
  shows(f, PUMPS_LH, {LOW_PRESSURE}, {LOW_PRESSURE_NAV});
  f.frames(); // 120 now, and pump 4 ran in the last update: cleared
  EXPECT_EQ(f.state("fuel_lowpress_lh"), 0);
  EXPECT_FALSE(f.visible(PUMPS_LH, LOW_PRESSURE));

  // With pump 4 off the latch follows the pressure: 111 is not low.
  f.set("fuel_pump_lh4_sw", 0);
  f.set("fuel_pump_lh1_sw", 0);
  f.set("fuel_press_lh", 111);
  f.frames();
  EXPECT_EQ(f.state("fuel_lowpress_lh"), 0);
  f.frames(); // 108
  EXPECT_EQ(f.state("fuel_lowpress_lh"), 1);
  EXPECT_TRUE(f.visible(PUMPS_LH, LOW_PRESSURE));

  // The lamp needs the main bus; the navigation lights choose its other bitmap.
  f->set_token(NAV_LIGHTS, 1.0);
  f.frames();
  shows(f, PUMPS_LH, {LOW_PRESSURE_NAV}, {LOW_PRESSURE});
  f.power(true, false, true);
  f.frames();
  EXPECT_EQ(f.state("fuel_lowpress_lh"), 1);
  shows(f, PUMPS_LH, {}, {LOW_PRESSURE, LOW_PRESSURE_NAV});

  // Low level: below 200 kg with the essential bus.
  f.set("fuel_qty_main_rh", 150.0);
  f->set_token(NAV_LIGHTS, 0.0);
  f.frames();
  EXPECT_TRUE(f.visible(PUMPS_RH, LOW_LEVEL));
  EXPECT_FALSE(f.visible(PUMPS_LH, LOW_LEVEL));
  f.power(false, false, false);
  f.frames();
  shows(f, PUMPS_RH, {}, {LOW_LEVEL, LOW_LEVEL_NAV});
}

TEST(FuelFeed, TheFeedPicksThePumpedTankTheSuctionTankOrNone) {
  Fuel f;
  f.power();
  f.frames(2);
  EXPECT_EQ(f.selector(1), 4) << "pumps 1 and 4 only: suction-side value";
  EXPECT_EQ(f.selector(2), 5);
  f.set("fuel_pump_lh3_sw", 1);
  f.set("fuel_pump_rh2_sw", 1);
  f.frames(2);
  EXPECT_EQ(f.selector(1), 2);
  EXPECT_EQ(f.selector(2), 3);
  f.set("fuel_valve_lh_b", 0); // closing a side's valve cuts its engine
  f.frames(2);
  EXPECT_EQ(f.selector(1), 0);
  EXPECT_EQ(f.selector(2), 3);
}

TEST(FuelFeed, SuctionFeedHoldsTo17000FeetOnTheLeftAnd20000OnTheRight) {
  Fuel f;
  f.power();
  f.only_pump("lh", 0, 0);
  f.only_pump("rh", 0, 0);
  f.set("fuel_press_lh", 40);
  f.set("fuel_press_rh", 40);
  f.pin_engines(60.0, 60.0);
  const struct {
    double altitude, n2_1, n2_2, selector_1, selector_2;
  } cases[] = {{16999, 60, 60, 4, 5},
               {17000, 60, 60, 0, 5}, // flame-out by starvation
               {20000, 60, 60, 0, 0},
               {1000, 19.9, 20, 0, 5}}; // below the ceiling suction needs 20 % N2
  for (const auto& c : cases) {
    f->set_token(ALTITUDE, c.altitude);
    f.engines(c.n2_1, c.n2_2);
    f.frames();
    EXPECT_EQ(f.selector(1), c.selector_1) << c.altitude << " ft, N2 " << c.n2_1;
    EXPECT_EQ(f.selector(2), c.selector_2) << c.altitude << " ft, N2 " << c.n2_2;
  }
}

TEST(FuelFeed, ThroughTheCrossFeedAClosedSideCopiesTheOtherSideOnlyWhileNoPumpOfItsOwnRuns) {
  Fuel f;
  f.power();
  f.set("fuel_pump_rh3_sw", 1); // right engine on its pumped tank (3)
  f.frames(12);
  ASSERT_EQ(f.selector(2), 3);
  f.set("fuel_valve_lh_a", 0);
  f.set("fuel_valve_lh_b", 0);
  f.set("fuel_crossfeed_open", 1);
  f.frames(2);
  EXPECT_EQ(f.selector(1), 3) << "engine 1 fed from the right engine's tank";
  EXPECT_NE(f.state("fuel_press_lh"), f.state("fuel_press_rh"))
      << "the left pumps 1 and 4 still run, so the left side bleeds on its own";
  f.only_pump("lh", 0, 0);
  f.frames(2);
  EXPECT_EQ(f.state("fuel_press_lh"), 250);
  EXPECT_EQ(f.state("fuel_press_rh"), 250);

  // Right engine on suction (5): engine 1 follows; anything else gives off.
  f.set("fuel_pump_rh2_sw", 0);
  f.set("fuel_pump_rh3_sw", 0);
  f.frames(3);
  EXPECT_EQ(f.selector(2), 5);
  EXPECT_EQ(f.selector(1), 5);
  f.set("fuel_valve_rh_b", 0);
  f.frames(2);
  EXPECT_EQ(f.selector(2), 0);
  EXPECT_EQ(f.selector(1), 0);
}

TEST(FuelFeed, AnUnusedSelectorValueIsReplacedOnTheNextUpdate) {
  Fuel f;
  f.power();
  f.frames();
  f->set_token(SELECTOR_1, 1.0);
  f->set_token(SELECTOR_2, 7.5);
  f.frames();
  EXPECT_EQ(f.selector(1), 4);
  EXPECT_EQ(f.selector(2), 5);
  EXPECT_EQ(f.state("fuel_sel_eng1"), 6);
  EXPECT_EQ(f.state("fuel_sel_eng2"), 6);
  EXPECT_EQ(f.keys(0x101A7), 2u);
  f.pin_engines(std::nan(""), 0); // a nonsense speed changes nothing here
  f.frames();
  EXPECT_EQ(f.state("fuel_sel_eng1"), 4);
  EXPECT_EQ(f.keys(0x101A7), 2u);
}

TEST(FuelValves, TheSimulatorsEngineValveFollowsThePanelValveOrTheCrossFeed) {
  Fuel f;
  f.set("fuel_valve_lh_b", 0);
  f.frames(3);
  EXPECT_EQ(f->token(FUEL_VALVE_1), 1.0) << "nothing is sent without the essential bus";
  EXPECT_EQ(f.keys(0x103BE), 0u);
  f.power();
  f.frames(4);
  EXPECT_EQ(f->token(FUEL_VALVE_1), 0.0);
  EXPECT_EQ(f.keys(0x103BE), 1u);

  // Cross-feed open with the right engine's valve open keeps engine 1's valve open.
  f.set("fuel_crossfeed_open", 1);
  f.frames();
  EXPECT_EQ(f->token(FUEL_VALVE_1), 1.0);
  f->set_token(FUEL_VALVE_2, 0.0);
  f.set("fuel_valve_rh_b", 0);
  f.frames(2);
  EXPECT_EQ(f->token(FUEL_VALVE_1), 0.0);
  EXPECT_EQ(f->token(FUEL_VALVE_2), 0.0);
  f.set("fuel_valve_lh_b", 1);
  f.frames();
  EXPECT_EQ(f->token(FUEL_VALVE_1), 1.0);
  EXPECT_EQ(f->token(FUEL_VALVE_2), 1.0) << "now kept open through the cross-feed";
}

TEST(FuelValves, ValveLightsShowOpenShutOrDark) {
  Fuel f;
  f.frames();
  for (int e = 5; e <= 8; ++e)
    EXPECT_FALSE(f.visible(VALVES_LH, e)) << "dark without the essential bus";
  f.power();
  f.frames();
  shows(f, VALVES_LH, {5, 7}, {6, 8});
  f.set("fuel_valve_rh_b", 0);
  f.frames();
  shows(f, VALVES_RH, {6, 8}, {5});
  EXPECT_TRUE(f.visible(VALVES_LH, 5)) << "the other side keeps its lights";

  f.set("fuel_crossfeed_open", 1);
  f.frames();
  shows(f, CROSSFEED, {2, 3}, {1, 4});
  f.power(false, false, false);
  f.frames();
  shows(f, CROSSFEED, {}, {3, 4});
  EXPECT_TRUE(f.visible(CROSSFEED, 2)) << "the lever still shows";
}

TEST(FuelClicks, PumpSwitchesMoveByTheirAreasAndStayWhenClickedWhereTheyStand) {
  Fuel f;
  f.frames();
  EXPECT_TRUE(f.visible(PUMPS_LH, PUMP1_DOWN)) << "automatic at load";
  const struct {
    const std::string& gauge;
    int x, y;
    const char* pump;
    double position;
    unsigned clicks;
  } steps[] = {{PUMPS_LH, 40, 5, "lh1", 1, 1},
               {PUMPS_LH, 40, 5, "lh1", 1, 1}, // already there
               {PUMPS_LH, 40, 20, "lh1", 0, 2},
               {PUMPS_LH, 10, 30, "lh3", 0, 2}, // already down
               {PUMPS_LH, 10, 10, "lh3", 1, 3},
               {PUMPS_LH, 40, 70, "lh4", 0, 4},
               {PUMPS_LH, 10, 80, "lh2", 2, 4}, // automatic already
               // The right panel is the mirror image.
               {PUMPS_RH, 10, 5, "rh1", 1, 5},
               {PUMPS_RH, 40, 10, "rh3", 1, 6},
               {PUMPS_RH, 10, 70, "rh4", 0, 7},
               {PUMPS_RH, 40, 62, "rh2", 0, 8}};
  for (const auto& s : steps) {
    EXPECT_TRUE(f->click(s.gauge, s.x, s.y));
    EXPECT_EQ(f.state(std::string("fuel_pump_") + s.pump + "_sw"), s.position) << s.pump;
    EXPECT_EQ(f.calls("CLICK"), s.clicks) << s.pump << " at " << s.x << "," << s.y;
  }
  EXPECT_FALSE(f->click(PUMPS_RH, 66, 90)) << "no area there";
  f.frames();
  shows(f, PUMPS_LH, {PUMP1_CENTRE}, {PUMP1_UP, PUMP1_DOWN});

  f.night();
  f.set("fuel_pump_lh1_sw", 2);
  f.frames();
  shows(f, PUMPS_LH, {PUMP1_NIGHT_DOWN}, {PUMP1_DOWN, PUMP3_DOWN, PUMP3_UP});
}

TEST(FuelClicks, ValveSwitchesMoveTogetherAndTheCrossFeedOpensAndCloses) {
  Fuel f;
  EXPECT_TRUE(f->click(VALVES_LH, 10, 80));
  EXPECT_EQ(f.state("fuel_valve_lh_a"), 0);
  EXPECT_EQ(f.state("fuel_valve_lh_b"), 0);
  EXPECT_TRUE(f->click(VALVES_LH, 50, 80));
  EXPECT_EQ(f.calls("CLICK"), 1u) << "both switches already down";
  EXPECT_TRUE(f->click(VALVES_LH, 50, 30));
  EXPECT_EQ(f.state("fuel_valve_lh_a"), 1);
  EXPECT_EQ(f.state("fuel_valve_lh_b"), 1);

  // Switches that disagree (a preset wrote only one) are brought together from either area.
  f.set("fuel_valve_rh_a", 1);
  f.set("fuel_valve_rh_b", 0);
  EXPECT_TRUE(f->click(VALVES_RH, 50, 30));
  EXPECT_EQ(f.state("fuel_valve_rh_a"), 1);
  EXPECT_EQ(f.state("fuel_valve_rh_b"), 1);
  f.frames();
  shows(f, VALVES_RH, {2, 4}, {1});

  EXPECT_TRUE(f->click(CROSSFEED, 10, 10));
  EXPECT_EQ(f.state("fuel_crossfeed_open"), 1);
  EXPECT_TRUE(f->click(CROSSFEED, 10, 60));
  EXPECT_EQ(f.state("fuel_crossfeed_open"), 0);
  EXPECT_EQ(f.calls("CLICK"), 5u);
}

TEST(FuelPressureGauge, NeedlesFollowThePressureOnlyWithTheirBusAndStayOnTheDial) {
  Fuel f;
  f.frames();
  EXPECT_EQ(f.state("fuel_press_lh_ind"), 0) << "no instrument bus";
  f.power();
  f.frames();
  EXPECT_EQ(f.state("fuel_press_lh_ind"), f.state("fuel_press_lh"));
  EXPECT_EQ(f.value(PRESSURE, 1), f.state("fuel_press_lh"));
  EXPECT_EQ(f.value(PRESSURE, 2), f.state("fuel_press_rh"));
  const double shown = f.state("fuel_press_lh_ind");
  f.power(true, true, false);
  f.frames(5);
  EXPECT_EQ(f.state("fuel_press_lh_ind"), shown) << "needles stay where they were";

  f.set("fuel_press_lh_ind", 700);
  f.set("fuel_press_rh_ind", -20);
  f.frames();
  EXPECT_EQ(f.value(PRESSURE, 1), 500);
  EXPECT_EQ(f.value(PRESSURE, 2), 0);
  EXPECT_EQ(f.state("fuel_press_lh_ind"), 500) << "written back";
  EXPECT_EQ(f.state("fuel_press_rh_ind"), 0);

  EXPECT_FALSE(f.visible(PRESSURE, 3));
  f.night();
  f.frames();
  for (int e = 3; e <= 5; ++e)
    EXPECT_TRUE(f.visible(PRESSURE, e));
  EXPECT_EQ(f.value(PRESSURE, 4), 500);
}

} // namespace
