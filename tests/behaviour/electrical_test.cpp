// The electrical network driven through the stand-in: generators, converters, the TADG, the
// panel's lamps and meters. (The battery's fresh load, running flat, recharging and the
// commutator's pass through off, ground power, the switches' clicks and the generator switch
// are the scenarios electrical_*.k7s; the battery's arithmetic is the unit test Battery.)
#include "k7test.h"

#include <cmath>
#include <limits>

namespace {

using namespace k7test;

const std::string BUS_BAT = "kestovil elec_bus_bat_k7";
const std::string RESET = "kestovil elec_break_reset_k7";
const std::string CONV = "kestovil elec_conv_k7";
const std::string TADG = "kestovil tadg_sw_k7";
const std::string MASTER = "kestovil elec_mas_sw_k7";
const std::string AC_SW = "kestovil elec_ac_sw_k7";
const std::string DCVOLT_SEL = "kestovil elec_dcvolt_sel_k7";

// The electrical panel and the TADG window open, one update run.
Bed panel() {
  Bed p{ELECTRICAL, COMMUTATOR};
  p.frames();
  return p;
}

void engines_running(Bed& p) {
  p.engines(60, 60);
  p.frames(2);
}

TEST(Electrical, GeneratorFaultLatchesTheResetLampUntilTheResetIsHeld) {
  Bed p = panel();
  engines_running(p);
  ASSERT_EQ(p.state("elec_bus_gen_twin"), 1);
  p.set("elec_gen1_fault", 1); // as the failures panel does
  p.frames(2);
  EXPECT_EQ(p.state("elec_gen1_online"), 0);
  EXPECT_EQ(p.state("elec_gen2_amps"), 45) << "the other generator takes the load";
  EXPECT_TRUE(p.visible(RESET, 4));
  EXPECT_EQ(p.state("elec_warn_elec"), 1);
  p.set("elec_gen1_fault", 0);
  p.frames(2);
  EXPECT_EQ(p.state("elec_gen1_online"), 1);
  EXPECT_TRUE(p.visible(RESET, 4)) << "latched after the fault has gone";

  p->click(RESET, 130, 10); // held toward generator 2: lamp 1 stays
  p.frames();
  EXPECT_TRUE(p.visible(RESET, 4));
  p.frames(12);
  p->click(RESET, 80, 10); // held toward generator 1
  p.frames();
  EXPECT_FALSE(p.visible(RESET, 4));
  EXPECT_TRUE(p.visible(RESET, 1)) << "switch drawn to the left";
  p->click(RESET, 80, 10, MOUSE_DOWN_REPEAT); // held: the host repeats the click
  p.frames(9);
  EXPECT_TRUE(p.visible(RESET, 1)) << "still held";
  p.frames(3);
  EXPECT_EQ(p.state("elec_reset_sw"), 0) << "springs back once let go";
  EXPECT_TRUE(p.visible(RESET, 2));
}

TEST(Electrical, ConvertersShareTheLoadAndTheStandbyTakesOver) {
  Bed p = panel();
  engines_running(p);
  EXPECT_EQ(p.state("elec_conv1_run"), 1);
  EXPECT_EQ(p.state("elec_conv2_run"), 1);
  EXPECT_EQ(p.state("elec_conv_stby_run"), 0);
  EXPECT_EQ(p.state("elec_ac_conv2"), 1);
  p->click(CONV, 130, 30); // converter 2 off
  p->click(CONV, 115, 50); // converter 1 to 2: converter 2 takes its load regardless
  p.frames();
  EXPECT_EQ(p.state("elec_conv1_run"), 0);
  EXPECT_EQ(p.state("elec_conv2_run"), 2);
  EXPECT_EQ(p.state("elec_ac_main"), 1);
  EXPECT_EQ(p.state("elec_ac_conv2"), 0);
  EXPECT_TRUE(p.visible(CONV, 9)) << "selector 1 drawn at 2 (day)";

  p.engines(0, 0);
  p.frames(2);
  EXPECT_EQ(p.state("elec_conv2_run"), 0);
  EXPECT_EQ(p.state("elec_conv_stby_run"), 1) << "automatic start on the battery";
  EXPECT_EQ(p.state("elec_ac_main"), 0);
  EXPECT_EQ(p.state("elec_ac_ess"), 1);
  EXPECT_TRUE(p.visible(CONV, 17));
  EXPECT_EQ(p.state("elec_ac_volts"), 115);
  p->click(AC_SW, 50, 100); // voltmeter test: measures the instrument bus, dead here
  p.frames();
  EXPECT_EQ(p.state("elec_ac_volts"), 0);
  p.frames(10);
  EXPECT_EQ(p.state("elec_ac_volts"), 115);
}

TEST(Electrical, TadgGuardSwitchAndGyroCheck) {
  Bed p = panel();
  p->click(TADG, 20, 60); // lift the guard
  p.frames();
  EXPECT_EQ(p.state("elec_tadg_guard_open"), 1);
  EXPECT_EQ(p.state("elec_tadg_on"), 1);
  p->click(TADG, 20, 60); // off
  p.frames(2);
  EXPECT_EQ(p.state("elec_tadg_on"), 0);
  EXPECT_EQ(p.state("elec_batt_current"), -10);
  shows(p, TADG, {6}, {5});
  p->click(TADG, 30, 30); // on, and the guard drops over it
  p.frames();
  EXPECT_EQ(p.state("elec_tadg_sw"), 1);
  EXPECT_EQ(p.state("elec_tadg_guard_open"), 0);
  EXPECT_TRUE(p.visible(TADG, 3));

  p->set_token(0x55, 49.9);
  p.frames(3);
  EXPECT_EQ(p.keys(0x10020), 0u);
  p->set_token(0x55, 50.0);
  p.frames();
  EXPECT_EQ(p.keys(0x10020), 1u);
  EXPECT_EQ(p->token(0x55), 0.0) << "the simulator's heading gyro was reset";
  p->set_token(0x55, -50.0);
  p.frames();
  EXPECT_EQ(p.keys(0x10020), 2u);
}

TEST(Electrical, DcVoltmeterReadsItsSourceAndZeroWhileTested) {
  Bed p = panel();
  EXPECT_EQ(p.state("elec_dc_volts"), 0) << "generator bus dead";
  for (int i = 0; i < 3; ++i)
    p->click(DCVOLT_SEL, 80, 150);
  p.frames();
  EXPECT_EQ(p.state("elec_dcvolt_sel"), 3);
  EXPECT_EQ(p.value(DCVOLT_SEL, 1), 3);
  EXPECT_EQ(p.state("elec_dc_volts"), 24);
  EXPECT_EQ(p.value("kestovil elec_volt_dc_k7", 1), 24);
  p->click(DCVOLT_SEL, 50, 30);
  for (int i = 0; i < 10; ++i) {
    p.frames();
    ASSERT_EQ(p.state("elec_dc_volts"), 0) << "update " << i;
  }
  p.frames();
  EXPECT_EQ(p.state("elec_dc_volts"), 24);
  for (int i = 0; i < 5; ++i)
    p->click(DCVOLT_SEL, 80, 150);
  p.frames();
  EXPECT_EQ(p.state("elec_dcvolt_sel"), 5) << "stops at the last position";
}

TEST(Electrical, MetersClampWhatTheyShow) {
  Bed p = panel();
  p.set("elec_batt_amps_stby", 300);
  p.set("elec_batt_commut", 0); // off the normal path the standby ammeter keeps its value
  p.frames();
  EXPECT_EQ(p.value("kestovil elec_amp_batstby_k7", 1), 250);
  EXPECT_EQ(p.state("elec_batt_amps_stby"), 250);
  EXPECT_EQ(p.state("elec_batt_amps_norm"), -50);
  p.set("elec_ac_volts", 200);
  p.set("elec_acvolt_sel", 0); // no position: the voltmeter reads nothing
  p.frames();
  EXPECT_EQ(p.value("kestovil elec_volt_ac_k7", 1), 0);
}

TEST(Electrical, RadioBusesOnTheBatteryFollowTheLoadShedding) {
  Bed p = panel();
  p.set("radio_delest_sel", 2);
  p.frames();
  EXPECT_EQ(p.state("elec_bus_radio1"), 0);
  EXPECT_EQ(p.state("elec_bus_radio2"), 1);
  shows(p, BUS_BAT, {9}, {10});
  engines_running(p);
  EXPECT_EQ(p.state("elec_bus_radio1"), 1);
  EXPECT_EQ(p.state("elec_bus_radio2"), 1);
}

TEST(Electrical, BadSimulatorValuesAreHarmless) {
  Bed p = panel();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (std::uint32_t token : {0x3Cu, 0x266u, 0x227u, 0x271u, 0x284u, 0x55u, 0xAu, 0x26Cu})
    p->set_token(token, nan);
  p->set_calc("(A:Light cabin,bool)", nan);
  p->click("kestovil elec_ext_pwr_k7", 40, 10);
  p->seconds(2);
  EXPECT_EQ(p.state("elec_extpwr_connected"), 0);
  EXPECT_EQ(p.state("elec_gen1_online"), 0);
  EXPECT_EQ(p.state("elec_bus_ess"), 1);
  EXPECT_FALSE(p->click(MASTER, 200, 200)) << "outside every area";
  p.set("elec_dcvolt_sel", 200);
  p.set("elec_master_sw", 9);
  p.frames(2);
  EXPECT_EQ(p.state("elec_dcvolt_sel"), 5);
  EXPECT_EQ(p.state("elec_bus_ess"), 0) << "no master position connects anything";
  for (int i = 1; i <= 3; ++i)
    EXPECT_FALSE(p.visible(MASTER, i));
}

} // namespace
