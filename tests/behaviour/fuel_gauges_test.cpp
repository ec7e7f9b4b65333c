// The fuel contents, fuel used and fuel temperature gauges and the fuel heating panel.
#include "k7test.h"

namespace {

using namespace k7test;

const std::string MAIN_LH = "kestovil fuel_qtty_main_left_k7";
const std::string MAIN_RH = "kestovil fuel_qtty_main_right_k7";
const std::string AUX_LH = "kestovil fuel_qtty_aux_left_k7";
const std::string TEST_MAIN_LH = "kestovil fuel_testsw_main_left_k7";
const std::string TEST_AUX_RH = "kestovil fuel_testsw_aux_right_k7";
const std::string USED_1 = "kestovil fuelused_1_k7";
const std::string HEAT = "kestovil fuel_heat_k7";

constexpr std::uint32_t CAPACITY_L1 = 0x124, LEVEL_L1 = 0x123, CAPACITY_L2 = 0x126,
                        LEVEL_L2 = 0x125, FURTHER_CAPACITY = 0x122, FURTHER_LEVEL = 0x121,
                        FUEL_WEIGHT = 0x132, FLOW_1 = 0x27E, OIL_1 = 0x231, OIL_2 = 0x23B;
constexpr double PERCENT = 83886.08;
// A fuel weight that makes one volume figure one kilogram.
constexpr double KG_PER_FIGURE = 3.84 / 0.453;

struct Gauges : Bed {
  Gauges() : Bed{UPPER_FUEL} {
    set("elec_ac_main_b", 1);
    sim->set_token(FUEL_WEIGHT, KG_PER_FIGURE);
  }
  void left_tanks(double capacity1, double percent1, double capacity2, double percent2) {
    sim->set_token(CAPACITY_L1, capacity1);
    sim->set_token(LEVEL_L1, percent1 * PERCENT);
    sim->set_token(CAPACITY_L2, capacity2);
    sim->set_token(LEVEL_L2, percent2 * PERCENT);
  }
};

TEST(FuelContents, TheLargerTankIsTheMainOneTheSmallerTheAuxiliaryAndEqualTanksSplit) {
  Gauges g;
  g.left_tanks(2500, 50, 250, 40); // main: tank 1, 4800 kg; auxiliary: tank 2, 3840 kg
  g.frames();
  EXPECT_NEAR(g.state("fuel_qty_main_lh"), 4800, 1e-6);
  EXPECT_NEAR(g.state("fuel_qty_aux_lh"), 3840, 1e-6);
  g.left_tanks(250, 40, 2500, 50); // the other way round
  g.frames();
  EXPECT_NEAR(g.state("fuel_qty_main_lh"), 4800, 1e-6);
  EXPECT_NEAR(g.state("fuel_qty_aux_lh"), 3840, 1e-6);
  g.left_tanks(1000, 10, 1000, 20); // equal: main from tank 2, auxiliary from tank 1
  g.frames();
  EXPECT_NEAR(g.state("fuel_qty_main_lh"), 768, 1e-6);
  EXPECT_NEAR(g.state("fuel_qty_aux_lh"), 3840, 1e-6);
}

TEST(FuelContents, WithoutATank2TheFurtherTankStandsInInPercentOrTheGaugeKeepsItsValue) {
  Gauges g;
  g.left_tanks(2500, 50, 0, 0);
  g.sim->set_token(FURTHER_CAPACITY, 100);
  g.sim->set_token(FURTHER_LEVEL, 37.5 * PERCENT);
  g.frames();
  EXPECT_NEAR(g.state("fuel_qty_aux_lh"), 3750, 1e-6) << "percent times 100";
  g.sim->set_token(FURTHER_CAPACITY, 0);
  g.sim->set_token(FURTHER_LEVEL, 10 * PERCENT);
  g.frames(3);
  EXPECT_NEAR(g.state("fuel_qty_aux_lh"), 3750, 1e-6) << "no tank at all: unchanged";
}

TEST(FuelContents, NeedleFollowsAFallAtOnceClimbs500AnUpdateAndFreezesWithoutTheBus) {
  Gauges g;
  g.left_tanks(2500, 50, 250, 40);
  g.set("fuel_qty_main_lh_ind", 6000);
  g.frames();
  EXPECT_NEAR(g.value(MAIN_LH, 1), 4800, 1e-6) << "a fall is followed at once";
  g.left_tanks(2500, 65, 250, 40); // refuelled to 6240 kg
  g.frames();
  EXPECT_NEAR(g.value(MAIN_LH, 1), 5300, 1e-6);
  g.frames(2);
  EXPECT_NEAR(g.value(MAIN_LH, 1), 6300, 1e-6);
  g.frames();
  EXPECT_NEAR(g.value(MAIN_LH, 1), 6240, 1e-6) << "within 100 kg it snaps";
  g.set("elec_ac_main_b", 0);
  g.left_tanks(2500, 10, 250, 40);
  g.frames(5);
  EXPECT_NEAR(g.value(MAIN_LH, 1), 6240, 1e-6) << "frozen without the AC bus";
  g.left_tanks(2500, 100, 250, 40); // 9600 kg: the needle stops at the end of its dial
  g.set("elec_ac_main_b", 1);
  g.frames(10);
  EXPECT_EQ(g.state("fuel_qty_main_lh_ind"), 7000);
}

TEST(FuelContents, ATestSweepsToFullScaleAndBackToTheContentsWaitingForTheBus) {
  struct Case {
    const std::string gauge, button, flag;
    double rise, full;
  };
  for (const Case& c :
       {Case{MAIN_LH, TEST_MAIN_LH, "fuel_qty_test_main_lh", 100, 7000},
        Case{"kestovil fuel_qtty_aux_right_k7", TEST_AUX_RH, "fuel_qty_test_aux_rh", 250, 12000},
        Case{MAIN_RH, "", "fuel_qty_test_main_rh", 100, 7000}}) {
    Gauges g;
    g.frames(20);
    const double contents = g.value(c.gauge, 1);
    g.set("elec_ac_main_b", 0);
    if (c.button.empty()) // no button: the flag alone, as another panel would set it
      g.set(c.flag, 1);
    else
      EXPECT_TRUE(g->click(c.button, 10, 10)) << c.gauge;
    g.frames(5);
    EXPECT_EQ(g.value(c.gauge, 1), contents) << c.gauge << ": waits for the bus";
    g.set("elec_ac_main_b", 1);
    g.frames();
    EXPECT_NEAR(g.value(c.gauge, 1), contents + c.rise, 1e-6) << c.gauge;
    const int up = g.frames_until(400, [&] { return g.value(c.gauge, 1) >= c.full; });
    EXPECT_LT(up, 400) << c.gauge;
    g.frames(2); // at full scale, then the first step down
    EXPECT_NEAR(g.value(c.gauge, 1), c.full - 250, 1e-6) << c.gauge;
    g.frames_until(400, [&] { return g.state(c.flag) == 0; });
    EXPECT_NEAR(g.value(c.gauge, 1), contents, 1e-6) << c.gauge << ": ends on the contents";
  }
}

TEST(FuelUsed, CountsAQuarterSecondAtATimeOnBothBusesAndSurvivesAClockSetBack) {
  Gauges g;
  g.set("elec_bus_gen", 1);
  g->set_token(FLOW_1, 14400 / 1.3407037 / 0.453); // one kilogram per addition
  g.frames(61);                                    // armed in the first update
  EXPECT_NEAR(g.state("fuel_used_1"), 10, 1e-6) << "every sixth update at 18 a second";
  EXPECT_EQ(g.state("fuel_used_2"), 0);

  g.set("elec_bus_gen", 0);
  g.frames(36);
  EXPECT_NEAR(g.state("fuel_used_1"), 10, 1e-6) << "no generator bus: burn not counted";
  g.set("elec_bus_gen", 1);

  k7host::clock_set_back(*g.sim, 100);
  g.frames(36);
  EXPECT_NEAR(g.state("fuel_used_1"), 15, 1.01) << "the clock went back: counting goes on";

  EXPECT_TRUE(g->click(USED_1, 50, 80));
  g.frames();
  EXPECT_EQ(g.state("fuel_used_1"), 0);
  EXPECT_TRUE(g.visible(USED_1, 6)) << "button pressed";
  g.frames(9);
  EXPECT_FALSE(g.visible(USED_1, 6));
  EXPECT_TRUE(g.visible(USED_1, 7)) << "and released after 10 updates";
}

TEST(FuelUsed, DrumsShowTheCountAndTheNightDrumsCoverTheDayOnes) {
  Gauges g;
  g.set("fuel_used_1", 1239.5);
  g.frames();
  const double drums[] = {0, 1, 2, 3.5, 9.5};
  for (int i = 0; i < 5; ++i)
    EXPECT_NEAR(value_y(*g.sim, USED_1, 1 + i), drums[i], 1e-6) << "drum " << i;
  EXPECT_FALSE(g.visible(USED_1, 8));
  g.night();
  g.frames();
  EXPECT_TRUE(g.visible(USED_1, 8));
  EXPECT_NEAR(value_y(*g.sim, USED_1, 9 + 3), 3.5, 1e-6) << "night tens drum";
  EXPECT_TRUE(g.visible(USED_1, 15)) << "night button released";
  EXPECT_FALSE(g.visible(USED_1, 7));
}

TEST(FuelTemperature, NeedleClimbs20AnUpdateAndFallsToItsStopWithoutTheEssentialBus) {
  Gauges g;
  g.set("elec_bus_ess", 1);
  g->set_token(OIL_1, 491.67 + 40 * 1.5 / 0.55556); // 40 deg C
  g.frames();
  EXPECT_NEAR(g.state("fuel_temp_lh"), 40, 1e-3);
  EXPECT_NEAR(g.state("fuel_temp_lh_ind"), -60, 1e-3);
  g.frames(4);
  EXPECT_NEAR(g.state("fuel_temp_lh_ind"), 20, 1e-3);
  g.frames();
  EXPECT_NEAR(g.state("fuel_temp_lh_ind"), 40, 1e-3);
  g.set("elec_bus_ess", 0);
  g.frames();
  EXPECT_NEAR(g.state("fuel_temp_lh_ind"), 20, 1e-3);
  g.frames(6);
  EXPECT_EQ(g.state("fuel_temp_lh_ind"), -80);
}

TEST(FuelHeat, LampsLightFrom53DegreesOrTheirTestOnTheEssentialBusOnly) {
  Gauges g;
  g.set("elec_bus_ess", 1);
  const double per_degree = 1.5 / 0.55556;
  g->set_token(OIL_1, 491.67 + 53.01 * per_degree);
  g->set_token(OIL_2, 491.67 + 52.99 * per_degree);
  g.frames(2); // the heat panel sees the temperatures of the update before
  shows(g, HEAT, {7}, {8});
  EXPECT_TRUE(g->click(HEAT, 110, 60)); // right test 2
  g.frames();
  EXPECT_TRUE(g.visible(HEAT, 8));
  g.set("elec_bus_ess", 0);
  g.frames();
  shows(g, HEAT, {}, {7, 8});
  EXPECT_TRUE(g->click(HEAT, 110, 180)); // right tests off
  EXPECT_EQ(g.state("fuel_temp_test_r2"), 0);
}

TEST(FuelHeat, SwitchesClickOnAChangeAndTheBottomSpringsBackSilentlyAfter10Updates) {
  Gauges g;
  EXPECT_TRUE(g->click(HEAT, 30, 100)); // left to the top
  EXPECT_TRUE(g->click(HEAT, 30, 100)); // already there
  EXPECT_EQ(g.calls("CLICK"), 1u);
  EXPECT_TRUE(g->click(HEAT, 85, 140)); // right to the bottom: silent
  EXPECT_EQ(g.calls("CLICK"), 1u);
  g.frames(9);
  EXPECT_TRUE(g.visible(HEAT, 6)) << "right switch still down";
  g.frames();
  EXPECT_TRUE(g.visible(HEAT, 5)) << "back in the middle";
  EXPECT_TRUE(g.visible(HEAT, 1)) << "left switch up";
  EXPECT_TRUE(g->click(HEAT, 80, 60)); // right test 1: 10 updates
  g.frames(10);
  EXPECT_EQ(g.state("fuel_temp_test_r1"), 0);
  EXPECT_TRUE(g->click(HEAT, 20, 60));
  EXPECT_TRUE(g->click(HEAT, 20, 60));
  EXPECT_EQ(g.state("fuel_temp_test_l1"), 0) << "left test 1 toggles";
}

} // namespace
