// The electrical network driven through the stand-in: buses, battery, generators, converters,
// the TADG and the panel's lamps and meters, and what a bus drop does across the panel.
#include "k7test.h"

#include "platform/sound_device_log.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

using k7test::state;
using k7test::visible;

const std::string BUS_BAT = "kestovil elec_bus_bat_k7";
const std::string BREAKER = "kestovil elec_breaker_k7";
const std::string RESET = "kestovil elec_break_reset_k7";
const std::string CONV = "kestovil elec_conv_k7";
const std::string TADG = "kestovil tadg_sw_k7";
const std::string COMMUT = "kestovil commut_batt_k7";
const std::string MASTER = "kestovil elec_mas_sw_k7";
const std::string NIGHT = "kestovil panelnight_k7";
const std::string KNOBS = "kestovil elec_panlight_k7";
const std::string AC_SW = "kestovil elec_ac_sw_k7";
const std::string DCVOLT_SEL = "kestovil elec_dcvolt_sel_k7";

constexpr std::uint32_t WINDOW_ELEC = 10080;
constexpr std::uint32_t WINDOW_TADG = 10100;
constexpr std::uint32_t ENG1_N2 = 0x271;
constexpr std::uint32_t ENG2_N2 = 0x284;

// A fresh module with the electrical panel and the TADG window open, one update run.
std::unique_ptr<k7host::Sim> panel() {
  auto sim = k7test::fresh();
  sim->open_window(WINDOW_ELEC);
  sim->open_window(WINDOW_TADG);
  sim->frame();
  return sim;
}

// How many times a sound was played on the stand-in's sound device.
unsigned plays(const k7host::Sim& sim, const char* sound) {
  const auto* log = static_cast<const K7SoundDeviceLog*>(sim.sound_device());
  if (log == nullptr) return 0;
  unsigned n = 0;
  for (std::uint32_t i = 0; i < log->buffer_count && i < K7_SOUND_LOG_BUFFERS; ++i)
    if (std::strcmp(log->buffers[i].name, sound) == 0) n += log->buffers[i].play_calls;
  return n;
}

void engines_running(k7host::Sim& sim) {
  sim.set_token(ENG1_N2, 60.0);
  sim.set_token(ENG2_N2, 60.0);
  sim.frames(2);
}

TEST(Electrical, FlatBatteryDarkensTheWholePanelAndStaysFlat) {
  auto sim = panel();
  // Lamps that hang on the essential bus: a generator fault-lamp test, a reset-panel lamp, the
  // standby converter (it starts with no converter running), the TADG, the night lighting.
  ASSERT_TRUE(sim->click(BREAKER, 50, 100));
  ASSERT_TRUE(sim->click(RESET, 10, 20));
  ASSERT_TRUE(sim->click(KNOBS, 60, 40));
  sim->seconds(1799);
  ASSERT_EQ(state(*sim, "elec_batt_charge"), 1);
  EXPECT_TRUE(visible(*sim, BREAKER, 7));
  EXPECT_TRUE(visible(*sim, RESET, 4));
  EXPECT_TRUE(visible(*sim, CONV, 17));
  EXPECT_TRUE(visible(*sim, TADG, 5));
  EXPECT_TRUE(visible(*sim, NIGHT, 1));
  EXPECT_EQ(state(*sim, "elec_panel_night"), 1);

  sim->seconds(1);
  EXPECT_EQ(state(*sim, "elec_batt_charge"), 0);
  EXPECT_EQ(state(*sim, "elec_bus_ess"), 0);
  EXPECT_EQ(state(*sim, "elec_bus_main"), 0);
  EXPECT_EQ(state(*sim, "elec_bus_batt"), 0);
  EXPECT_EQ(state(*sim, "elec_bus_extinct"), 1) << "the extinguisher supply is never cleared";
  sim->frames(2);
  EXPECT_FALSE(visible(*sim, BREAKER, 7));
  EXPECT_FALSE(visible(*sim, RESET, 4));
  EXPECT_FALSE(visible(*sim, CONV, 17));
  EXPECT_FALSE(visible(*sim, TADG, 5));
  EXPECT_FALSE(visible(*sim, TADG, 6)) << "the TADG-off lamp needs the essential bus too";
  EXPECT_FALSE(visible(*sim, NIGHT, 1));
  EXPECT_EQ(state(*sim, "elec_panel_night"), 0);
  EXPECT_EQ(state(*sim, "elec_tadg_on"), 0);
  EXPECT_EQ(state(*sim, "elec_batt_current"), -10);
  EXPECT_EQ(sim->token(0xA), 0.0) << "the simulator's panel light went out with the bus";

  // The lighter load does not give the battery its charge back: no flicker, ever.
  for (int i = 0; i < 18 * 600; ++i) {
    sim->frame();
    ASSERT_EQ(state(*sim, "elec_bus_ess"), 0) << "frame " << i;
    ASSERT_EQ(state(*sim, "elec_batt_charge"), 0) << "frame " << i;
  }
}

TEST(Electrical, CommutatorStartPassKeepsTheBatteryBus) {
  auto sim = panel();
  sim->click(COMMUT, 40, 300); // start, straight from normal: refused
  sim->frame();
  EXPECT_EQ(state(*sim, "elec_batt_commut"), 1);

  sim->seconds(100);
  // An engine start from the battery: 1 -> 0 -> 2, then back 2 -> 0 -> 1, one update each.
  const struct {
    int x, y;
    double position;
  } steps[] = {{40, 150, 0}, {40, 300, 2}, {40, 150, 0}, {40, 10, 1}};
  for (const auto& step : steps) {
    ASSERT_TRUE(sim->click(COMMUT, step.x, step.y));
    sim->frame();
    ASSERT_EQ(state(*sim, "elec_batt_commut"), step.position);
    EXPECT_EQ(state(*sim, "elec_bus_batt"), 1) << "at " << step.position;
    EXPECT_EQ(state(*sim, "elec_bus_ess"), 1) << "at " << step.position;
    EXPECT_EQ(state(*sim, "elec_bus_main"), step.position == 1 ? 1 : 0) << "normal path only";
    EXPECT_TRUE(visible(*sim, COMMUT, step.position == 1 ? 1 : (step.position == 0 ? 2 : 3)));
  }
  const double clock = std::floor(sim->token(0x25C));
  EXPECT_EQ(state(*sim, "elec_batt_charge"), 1800 - clock) << "nothing lost to the pass";
}

TEST(Electrical, MasterMovesBetweenBatteryAndGroundPowerWithoutABusDrop) {
  auto sim = panel();
  sim->click("kestovil elec_ext_pwr_k7", 50, 20);
  sim->frames(2);
  ASSERT_EQ(state(*sim, "elec_extpwr_connected"), 1);
  const int positions[][2] = {{10, 20}, {80, 20}, {10, 20}}; // ground, battery, ground
  for (const auto& at : positions) {
    ASSERT_TRUE(sim->click(MASTER, at[0], at[1]));
    for (int i = 0; i < 3; ++i) {
      sim->frame();
      ASSERT_EQ(state(*sim, "elec_bus_ess"), 1) << "master at x " << at[0] << ", update " << i;
      ASSERT_EQ(state(*sim, "elec_tadg_on"), 1);
    }
  }
  EXPECT_EQ(state(*sim, "elec_bus_gen"), 1);
  EXPECT_EQ(state(*sim, "elec_batt_current"), 0) << "the battery rests on ground power";
}

TEST(Electrical, SwitchesClickOnceWhenTheyMoveAndStaySilentInPlace) {
  auto sim = panel();
  ASSERT_NE(sim->sound_device(), nullptr);
  ASSERT_EQ(plays(*sim, "CLICK"), 0u);
  sim->click(MASTER, 80, 20); // already at battery
  sim->click(CONV, 80, 50);   // converter 1 already on
  sim->click(COMMUT, 40, 10); // already normal
  EXPECT_EQ(plays(*sim, "CLICK"), 0u);
  sim->click(MASTER, 50, 20);
  EXPECT_EQ(plays(*sim, "CLICK"), 1u);
  sim->click(COMMUT, 40, 150); // the commutator turns silently
  sim->click("kestovil elec_ext_pwr_k7", 50, 20);
  EXPECT_EQ(plays(*sim, "CLICK"), 1u);

  // The guarded generator switch, from on under its guard: lift, close over it, lift again.
  sim->click(BREAKER, 60, 10);
  EXPECT_EQ(state(*sim, "elec_gen1_guard_open"), 1);
  EXPECT_EQ(plays(*sim, "CACHEMETAL"), 0u);
  sim->click(BREAKER, 60, 10);
  EXPECT_EQ(state(*sim, "elec_gen1_guard_open"), 0);
  EXPECT_EQ(plays(*sim, "CACHEMETAL"), 1u);
  sim->click(BREAKER, 60, 10);
  EXPECT_EQ(state(*sim, "elec_gen1_guard_open"), 1);
  EXPECT_EQ(state(*sim, "elec_gen1_sw"), 1);
  EXPECT_EQ(plays(*sim, "CLICK"), 1u);
  EXPECT_EQ(plays(*sim, "CACHEMETAL"), 1u);

  // The TADG turned on from off: the switch clicks and the guard drops over it.
  sim->click(TADG, 20, 60);
  sim->click(TADG, 20, 60);
  EXPECT_EQ(plays(*sim, "CLICK"), 2u);
  sim->click(TADG, 30, 30);
  EXPECT_EQ(plays(*sim, "CLICK"), 3u);
  EXPECT_EQ(plays(*sim, "CACHEMETAL"), 2u);
}

TEST(Electrical, GeneratorFaultLatchesTheResetLampUntilTheResetIsHeld) {
  auto sim = panel();
  engines_running(*sim);
  ASSERT_EQ(state(*sim, "elec_bus_gen_twin"), 1);
  sim->set_state("elec_gen1_fault", 1); // as the failures panel does
  sim->frames(2);
  EXPECT_EQ(state(*sim, "elec_gen1_online"), 0);
  EXPECT_EQ(state(*sim, "elec_gen2_amps"), 45) << "the other generator takes the load";
  EXPECT_TRUE(visible(*sim, RESET, 4));
  EXPECT_EQ(state(*sim, "elec_warn_elec"), 1);
  sim->set_state("elec_gen1_fault", 0);
  sim->frames(2);
  EXPECT_EQ(state(*sim, "elec_gen1_online"), 1);
  EXPECT_TRUE(visible(*sim, RESET, 4)) << "latched after the fault has gone";

  sim->click(RESET, 130, 10); // held toward generator 2: lamp 1 stays
  sim->frame();
  EXPECT_TRUE(visible(*sim, RESET, 4));
  sim->frames(12);
  sim->click(RESET, 80, 10); // held toward generator 1
  sim->frame();
  EXPECT_FALSE(visible(*sim, RESET, 4));
  EXPECT_TRUE(visible(*sim, RESET, 1)) << "switch drawn to the left";
  sim->click(RESET, 80, 10, MOUSE_DOWN_REPEAT); // held: the host repeats the click
  sim->frames(9);
  EXPECT_TRUE(visible(*sim, RESET, 1)) << "still held";
  sim->frames(3);
  EXPECT_EQ(state(*sim, "elec_reset_sw"), 0) << "springs back once let go";
  EXPECT_TRUE(visible(*sim, RESET, 2));
}

TEST(Electrical, SimulatorSwitchesAreAlignedOnceAndOnlyOnce) {
  auto sim = panel();
  sim->frames(5);
  EXPECT_EQ(sim->key_count(0x102C1), 1u);
  EXPECT_EQ(sim->key_count(0x102F5), 1u);
  EXPECT_EQ(sim->key_count(0x102C2), 1u);
  EXPECT_EQ(sim->key_count(0x1033B), 0u) << "generators off line";
  EXPECT_EQ(state(*sim, "elec_sim_aligned"), 0);
  engines_running(*sim);
  sim->frames(2);
  EXPECT_EQ(sim->key_count(0x1033B), 1u);
  EXPECT_EQ(sim->key_count(0x1033C), 1u);
  EXPECT_EQ(state(*sim, "elec_sim_aligned"), 1);
  sim->set_token(0x16C, 0.0); // the simulator's battery switch turned off by hand
  sim->frames(5);
  EXPECT_EQ(sim->key_count(0x102C1), 1u) << "the alignment never runs again";
}

TEST(Electrical, ConvertersShareTheLoadAndTheStandbyTakesOver) {
  auto sim = panel();
  engines_running(*sim);
  EXPECT_EQ(state(*sim, "elec_conv1_run"), 1);
  EXPECT_EQ(state(*sim, "elec_conv2_run"), 1);
  EXPECT_EQ(state(*sim, "elec_conv_stby_run"), 0);
  EXPECT_EQ(state(*sim, "elec_ac_conv2"), 1);
  sim->click(CONV, 130, 30); // converter 2 off
  sim->click(CONV, 115, 50); // converter 1 to 2: converter 2 takes its load regardless
  sim->frame();
  EXPECT_EQ(state(*sim, "elec_conv1_run"), 0);
  EXPECT_EQ(state(*sim, "elec_conv2_run"), 2);
  EXPECT_EQ(state(*sim, "elec_ac_main"), 1);
  EXPECT_EQ(state(*sim, "elec_ac_conv2"), 0);
  EXPECT_TRUE(visible(*sim, CONV, 9)) << "selector 1 drawn at 2 (day)";

  sim->set_token(ENG1_N2, 0.0);
  sim->set_token(ENG2_N2, 0.0);
  sim->frames(2);
  EXPECT_EQ(state(*sim, "elec_conv2_run"), 0);
  EXPECT_EQ(state(*sim, "elec_conv_stby_run"), 1) << "automatic start on the battery";
  EXPECT_EQ(state(*sim, "elec_ac_main"), 0);
  EXPECT_EQ(state(*sim, "elec_ac_ess"), 1);
  EXPECT_TRUE(visible(*sim, CONV, 17));
  EXPECT_EQ(state(*sim, "elec_ac_volts"), 115);
  sim->click(AC_SW, 50, 100); // voltmeter test: measures the instrument bus, dead here
  sim->frame();
  EXPECT_EQ(state(*sim, "elec_ac_volts"), 0);
  sim->frames(10);
  EXPECT_EQ(state(*sim, "elec_ac_volts"), 115);
}

TEST(Electrical, TadgGuardSwitchAndGyroCheck) {
  auto sim = panel();
  sim->click(TADG, 20, 60); // lift the guard
  sim->frame();
  EXPECT_EQ(state(*sim, "elec_tadg_guard_open"), 1);
  EXPECT_EQ(state(*sim, "elec_tadg_on"), 1);
  sim->click(TADG, 20, 60); // off
  sim->frames(2);
  EXPECT_EQ(state(*sim, "elec_tadg_on"), 0);
  EXPECT_EQ(state(*sim, "elec_batt_current"), -10);
  EXPECT_TRUE(visible(*sim, TADG, 6));
  EXPECT_FALSE(visible(*sim, TADG, 5));
  sim->click(TADG, 30, 30); // on, and the guard drops over it
  sim->frame();
  EXPECT_EQ(state(*sim, "elec_tadg_sw"), 1);
  EXPECT_EQ(state(*sim, "elec_tadg_guard_open"), 0);
  EXPECT_TRUE(visible(*sim, TADG, 3));

  sim->set_token(0x55, 49.9);
  sim->frames(3);
  EXPECT_EQ(sim->key_count(0x10020), 0u);
  sim->set_token(0x55, 50.0);
  sim->frame();
  EXPECT_EQ(sim->key_count(0x10020), 1u);
  EXPECT_EQ(sim->token(0x55), 0.0) << "the simulator's heading gyro was reset";
  sim->set_token(0x55, -50.0);
  sim->frame();
  EXPECT_EQ(sim->key_count(0x10020), 2u);
}

TEST(Electrical, DcVoltmeterReadsItsSourceAndZeroWhileTested) {
  auto sim = panel();
  EXPECT_EQ(state(*sim, "elec_dc_volts"), 0) << "generator bus dead";
  for (int i = 0; i < 3; ++i)
    sim->click(DCVOLT_SEL, 80, 150);
  sim->frame();
  EXPECT_EQ(state(*sim, "elec_dcvolt_sel"), 3);
  EXPECT_EQ(sim->element(DCVOLT_SEL, 1)->value, 3);
  EXPECT_EQ(state(*sim, "elec_dc_volts"), 24);
  EXPECT_EQ(sim->element("kestovil elec_volt_dc_k7", 1)->value, 24);
  sim->click(DCVOLT_SEL, 50, 30);
  for (int i = 0; i < 10; ++i) {
    sim->frame();
    ASSERT_EQ(state(*sim, "elec_dc_volts"), 0) << "update " << i;
  }
  sim->frame();
  EXPECT_EQ(state(*sim, "elec_dc_volts"), 24);
  for (int i = 0; i < 5; ++i)
    sim->click(DCVOLT_SEL, 80, 150);
  sim->frame();
  EXPECT_EQ(state(*sim, "elec_dcvolt_sel"), 5) << "stops at the last position";
}

TEST(Electrical, MetersClampWhatTheyShow) {
  auto sim = panel();
  sim->set_state("elec_batt_amps_stby", 300);
  sim->set_state("elec_batt_commut", 0); // off the normal path the standby ammeter keeps its value
  sim->frame();
  EXPECT_EQ(sim->element("kestovil elec_amp_batstby_k7", 1)->value, 250);
  EXPECT_EQ(state(*sim, "elec_batt_amps_stby"), 250);
  EXPECT_EQ(state(*sim, "elec_batt_amps_norm"), -50);
  sim->set_state("elec_ac_volts", 200);
  sim->set_state("elec_acvolt_sel", 0); // no position: the voltmeter reads nothing
  sim->frame();
  EXPECT_EQ(sim->element("kestovil elec_volt_ac_k7", 1)->value, 0);
}

TEST(Electrical, RadioBusesOnTheBatteryFollowTheLoadShedding) {
  auto sim = panel();
  sim->set_state("radio_delest_sel", 2);
  sim->frame();
  EXPECT_EQ(state(*sim, "elec_bus_radio1"), 0);
  EXPECT_EQ(state(*sim, "elec_bus_radio2"), 1);
  EXPECT_TRUE(visible(*sim, BUS_BAT, 9));
  EXPECT_FALSE(visible(*sim, BUS_BAT, 10));
  engines_running(*sim);
  EXPECT_EQ(state(*sim, "elec_bus_radio1"), 1);
  EXPECT_EQ(state(*sim, "elec_bus_radio2"), 1);
}

TEST(Electrical, BadSimulatorValuesAreHarmless) {
  auto sim = panel();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (std::uint32_t token : {0x3Cu, 0x266u, 0x227u, 0x271u, 0x284u, 0x55u, 0xAu, 0x26Cu})
    sim->set_token(token, nan);
  sim->set_calc("(A:Light cabin,bool)", nan);
  sim->click("kestovil elec_ext_pwr_k7", 40, 10);
  sim->seconds(2);
  EXPECT_EQ(state(*sim, "elec_extpwr_connected"), 0);
  EXPECT_EQ(state(*sim, "elec_gen1_online"), 0);
  EXPECT_EQ(state(*sim, "elec_bus_ess"), 1);
  EXPECT_FALSE(sim->click(MASTER, 200, 200)) << "outside every area";
  sim->set_state("elec_dcvolt_sel", 200);
  sim->set_state("elec_master_sw", 9);
  sim->frames(2);
  EXPECT_EQ(state(*sim, "elec_dcvolt_sel"), 5);
  EXPECT_EQ(state(*sim, "elec_bus_ess"), 0) << "no master position connects anything";
  for (int i = 1; i <= 3; ++i)
    EXPECT_FALSE(visible(*sim, MASTER, i));
}

} // namespace
