// The engine instrument row on the main panel, driven through the stand-in: smoothed needles with
// their power, the thrust reference index, the tachometer hands, the nozzle lamps' window
// refreshes at night, and the TAT dial with its flap overlay.
#include "k7test.h"

#include <cmath>
#include <vector>

namespace {

using namespace k7test;

constexpr std::uint32_t N1_1 = 0x270, EGT_1 = 0x237, FF_1 = 0x27E, OILP_2 = 0x23C, OILT_1 = 0x231;
constexpr std::uint32_t THROTTLE_1 = 0x22E, THROTTLE_2 = 0x238, TAT = 0x15E, FLAPS_L = 0x38B;
constexpr std::uint32_t FLAPS_HANDLE = 0x148, KEY_WINDOW_TOGGLE = 0x103CA;

// The stand-in's flap handle position that holds the flaps at `angle` (its detents at 0, 5, 10
// and 20 degrees, linear between).
double flap_handle_for(double angle) {
  const double handle[] = {0, 16384.0 / 9, 16384 * 0.4, 16384 * 0.6}, at[] = {0, 5, 10, 20};
  for (int i = 1; i < 4; ++i)
    if (angle <= at[i])
      return handle[i - 1] +
             (handle[i] - handle[i - 1]) * (angle - at[i - 1]) / (at[i] - at[i - 1]);
  return handle[3];
}

double rankine(double celsius) {
  return celsius / 0.55556 + 491.67;
}

// Engines stopped and held, the main panel powered as the test sets it.
struct Row : Bed {
  Row() : Bed({CLOCK, AUTOPILOT}) { pin_engines(0, 0); }
};

TEST(EngineGauges, SmoothedNeedlesStepTowardTheirTargetAndRunDownUnpowered) {
  Row r;
  r.set("elec_ac_main_b", 1);
  r.set("elec_bus_gen", 1);
  r->set_token(FF_1, 3000 / 0.453); // 3000 kg/h
  const int updates = r.frames_until(100, [&] { return r.state("eng_ff_ind_1") == 3000; });
  EXPECT_EQ(updates, 30);
  r->set_token(FF_1, 3050 / 0.453);
  r.frames();
  EXPECT_NEAR(r.state("eng_ff_ind_1"), 3050, 1e-6) << "within one step it lands on the target";
  r.set("elec_bus_gen", 0);
  r.frames(30);
  EXPECT_EQ(r.state("eng_ff_ind_1"), 50);
  r.frames();
  EXPECT_EQ(r.state("eng_ff_ind_1"), 0);

  // Oil temperature from 100 deg C without the main bus: 20 an update to its -50 stop.
  r.set("elec_bus_main", 1);
  r->set_token(OILT_1, rankine(100));
  r.frames(10);
  EXPECT_NEAR(r.state("eng_oilt_ind_1"), 100, 0.01);
  r.set("elec_bus_main", 0);
  std::vector<double> seen;
  for (int i = 0; i < 9; ++i) {
    r.frames();
    seen.push_back(std::round(r.state("eng_oilt_ind_1") * 100) / 100);
  }
  EXPECT_EQ(seen, (std::vector<double>{80, 60, 40, 20, 0, -20, -40, -50, -50}));

  // Oil pressure of engine 2 needs the instrument AC bus; engine 1's stays where it is.
  r.set("elec_ac_instr", 1);
  r->set_token(OILP_2, 200 * 40);
  r.frames(8);
  EXPECT_NEAR(r.state("eng_oilp_ind_2"), 40, 1e-9);
  EXPECT_EQ(r.state("eng_oilp_ind_1"), 0);
  r.set("elec_ac_instr", 0);
  r.frames(8);
  EXPECT_EQ(r.state("eng_oilp_ind_2"), 0);
}

TEST(EngineGauges, UnpoweredReadingsAndValuesOffTheDial) {
  Row r;
  // Thrust and exhaust temperature read without power; the thrust needle is held on its dial,
  // the exhaust temperature is not clamped.
  r->set_token(N1_1, 130);
  r->set_token(EGT_1, rankine(950));
  r.frames();
  EXPECT_EQ(r.value("kestovil thrust_1_k7", 2), 115);
  EXPECT_NEAR(r.value("kestovil engtemp_1_k7", 1), 950, 0.01);
  r->set_token(N1_1, std::nan(""));
  r.frames();
  EXPECT_EQ(r.value("kestovil thrust_1_k7", 2), 0);
}

TEST(EngineGauges, ThrustIndexStopsAtItsEnds) {
  Row r;
  const char* const thrust = "kestovil thrust_2_k7";
  const FLAGS32 held = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;
  r.frames();
  EXPECT_EQ(K7_COPY(r->element(thrust, 1)->value_r), 21) << "starts at step 7";
  for (int i = 0; i < 20; ++i)
    r->click(thrust, 90, 100, held);
  EXPECT_EQ(r.state("eng_thrust_index_2"), 0);
  for (int i = 0; i < 100; ++i)
    r->click(thrust, 105, 100, held);
  r.frames();
  EXPECT_EQ(r.state("eng_thrust_index_2"), 90);
  EXPECT_EQ(K7_COPY(r->element(thrust, 1)->value_r), 270);
  EXPECT_EQ(r.state("eng_thrust_index_1"), 7) << "the other engine's index stays";
}

TEST(EngineGauges, TachometerHandsShowTheTurbineSpeed) {
  Row r;
  r->set_named("leftTurbineRPM", 8437);
  r.frames();
  EXPECT_EQ(r.value("kestovil rpm_1_k7", 2), 8437) << "short hand";
  EXPECT_NEAR(r.value("kestovil rpm_1_k7", 1), 437, 1e-9) << "long hand";
  EXPECT_EQ(r.value("kestovil rpm_2_k7", 2), 0);
  r->set_named("leftTurbineRPM", 1e9);
  r.frames();
  EXPECT_EQ(r.value("kestovil rpm_1_k7", 2), 10000);
}

TEST(EngineGauges, NozzleLampRefreshesItsWindowTwicePerChangeAtNight) {
  Row r;
  r.set("elec_bus_main", 1);
  r.night();
  r.frames();
  std::uint64_t mark = r->frame_count();
  r->set_token(THROTTLE_1, 1.0);
  r.frames();
  EXPECT_EQ(r.keys(KEY_WINDOW_TOGGLE, mark), 2u);
  EXPECT_TRUE(r.visible("kestovil nozzle_1_k7", 0));
  EXPECT_EQ(r.state("eng_nozzle_state_1"), 5);
  r.frames(10);
  EXPECT_EQ(r.keys(KEY_WINDOW_TOGGLE, mark), 2u) << "nothing while it stays lit";
  const auto& keys = r->key_events();
  EXPECT_EQ(keys.back().value, 10130u);

  // Off at night: two more; by day a change is not refreshed until the lighting comes on.
  r->set_token(THROTTLE_1, 0.9);
  r.frames();
  EXPECT_EQ(r.keys(KEY_WINDOW_TOGGLE, mark), 4u);
  EXPECT_FALSE(r.visible("kestovil nozzle_1_k7", 0));
  r.night(false);
  r->set_token(THROTTLE_2, 0.99);
  r.frames(3);
  EXPECT_EQ(r.keys(KEY_WINDOW_TOGGLE, mark), 4u);
  EXPECT_TRUE(r.visible("kestovil nozzle_2_k7", 0));
  r.night();
  r.frames(3);
  EXPECT_EQ(r.keys(KEY_WINDOW_TOGGLE, mark), 4u) << "lit by day, still lit: nothing to redraw";
  r.night(false);
  r->set_token(THROTTLE_2, 0.5);
  r.frames();
  r.night();
  r.frames(3);
  EXPECT_EQ(r.keys(KEY_WINDOW_TOGGLE, mark), 6u) << "gone out by day: redrawn at night";
  EXPECT_EQ(r->key_events().back().value, 10050u);
}

TEST(EngineGauges, TatDriftsToZeroWithoutTheBatteryBus) {
  Row r;
  r->set_token(TAT, -40.0 / 256);
  r.set("tat_ind", -40);
  r.frames(100);
  EXPECT_NEAR(r.state("tat_ind"), -35, 1e-9);
  r.frames(700);
  EXPECT_EQ(r.state("tat_ind"), 0);
  r.set("elec_bus_batt", 1);
  r.frames(40);
  EXPECT_NEAR(r.state("tat_ind"), -2, 1e-9);
}

TEST(EngineGauges, FlapOverlayComesUpOncePerTravel) {
  Row r;
  const char* const tat = "kestovil tat_k7";
  constexpr int OVERLAY = 2;
  const auto flaps = [&](double v) { // the flaps standing at v, their handle with them
    r->set_token(FLAPS_L, v);
    r->set_token(FLAPS_HANDLE, flap_handle_for(v));
    r.frames();
  };
  flaps(5.0);
  EXPECT_EQ(r.state("flaps_dial_shown"), 0) << "at a detent";
  flaps(7.5);
  EXPECT_EQ(r.state("flaps_dial_shown"), 1);
  EXPECT_TRUE(r.visible(tat, OVERLAY));
  r->click(tat, 90, 90);
  flaps(8.0);
  EXPECT_EQ(r.state("flaps_dial_shown"), 0) << "clicked away, it stays down for this travel";
  EXPECT_FALSE(r.visible(tat, OVERLAY));
  flaps(10.0);
  flaps(12.0);
  EXPECT_EQ(r.state("flaps_dial_shown"), 1) << "past a detent, the next travel raises it";
  flaps(0.0);
  EXPECT_EQ(r.state("flaps_dial_shown"), 0) << "flaps up";
  r->click(tat, 90, 90);
  flaps(0.0);
  EXPECT_EQ(r.state("flaps_dial_shown"), 1) << "the up reset is done once";

  // The shown angles follow only while the indication is alive.
  r.set("elec_ac_instr", 1);
  flaps(15);
  EXPECT_EQ(r.state("flaps_ind_left"), 15);
  r.set("hydrau_press_green", 1000);
  r.set("emerg_flap_guard", 1);
  r.set("hydrau_press_red", 2500);
  flaps(20);
  EXPECT_EQ(r.state("flaps_ind_left"), 15) << "guard open, lever at rest";
  r.set("emerg_flap_lev", 1);
  flaps(20);
  EXPECT_EQ(r.state("flaps_ind_left"), 20);
}

} // namespace
