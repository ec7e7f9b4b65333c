// Warning lamps and the master warning chime, engine fires and extinguishers.
#include "host/sound_view.h"
#include "k7test.h"

namespace {

using namespace k7test;

constexpr std::uint32_t OIL_1 = 0x232, OIL_2 = 0x23C, ENGINE_1_FAILED = 0x234;
constexpr std::uint32_t THROTTLE_1_K = 0x80, THROTTLE_2_K = 0xA3, PARKING_BRAKE = 0x143;
constexpr std::uint32_t KEY_THROTTLE_1_SET = 0x1011C, KEY_ENGINE_1_FAILURE = 0x10309;
constexpr double OIL_GOOD = 4800.0;
const std::string LEFT_FIRE = "kestovil warn_lhengfire_k7";
const std::string LEFT_BOTTLE = "kestovil eng1_extinct_k7";
const std::string RIGHT_BOTTLE = "kestovil eng2_extinct_k7";

// The aircraft powered on every bus the lamps use, engines healthy: no alarm at all.
struct Warnings : Bed {
  Warnings() {
    for (const char* bus : {"elec_bus_batt", "elec_bus_main", "elec_bus_ess", "elec_bus_gen_a"})
      set(bus, 1);
    sim->set_token(OIL_1, OIL_GOOD);
    sim->set_token(OIL_2, OIL_GOOD);
  }
  bool lamp(const std::string& gauge) const { return visible("kestovil " + gauge + "_k7", 0); }
  bool looping(const char* sound) const {
    auto s = k7host::sound_state(*sim, sound);
    return s && s->playing && s->looping;
  }
};

// ---- lamps with an alarm
// --------------------------------------------------------------------------

TEST(WarningLamps, EachLightsWithItsConditionChimesOnceAndDarkensWithoutItsBus) {
  // The cause: a state variable set to a value, and a token (0 none). The standby brakes take the
  // parking brake's pressure on the ground.
  const struct {
    const char *gauge, *cause;
    double value;
    std::uint32_t token;
    double token_value;
    const char *bus, *request;
    int alarm;
  } rows[] = {
      {"warn_servo", "servo_alarm_2", 1, 0, 0, "elec_bus_batt", "warn_req_servo", 2},
      {"warn_elec", "elec_warn_elec", 1, 0, 0, "elec_bus_batt", "warn_req_elec", 3},
      {"warn_lhfueltemp", "fuel_temp_lh", 2.9, 0, 0, "elec_bus_batt", "warn_req_fueltemp_l", 4},
      {"warn_lhoilpress", "elec_bus_batt", 1, OIL_1, 2700, "elec_bus_batt", "warn_req_oilpress_l",
       5},
      {"warn_rhoilpress", "elec_bus_batt", 1, OIL_2, 2700, "elec_bus_batt", "warn_req_oilpress_r",
       6},
      {"warn_redbrake", "hydrau_red_sw", 1, PARKING_BRAKE, 32767, "elec_bus_main",
       "warn_req_redbrake", 7},
      {"warn_ice", "deice_ice_warn", 1, 0, 0, "elec_bus_gen_a", "warn_req_ice", 8},
      {"warn_hydlvl", "hydrau_low_level_blue", 1, 0, 0, "elec_bus_batt", "warn_req_hydlvl", 10},
      {"warn_lhfuelpress", "fuel_press_lh", 49, 0, 0, "elec_bus_ess", "warn_req_fuelpress_l", 11},
      {"warn_rhfuelpress", "fuel_press_rh", 49, 0, 0, "elec_bus_ess", "warn_req_fuelpress_r", 12},
      {"warn_cabinexcalt", "pressu_cabin_excess", 1, 0, 0, "elec_bus_ess", "warn_req_cabinxs", 13},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.gauge);
    Warnings w;
    w.frames(2);
    ASSERT_FALSE(w.lamp(row.gauge));
    w.set(row.cause, row.value);
    if (row.token != 0) w->set_token(row.token, row.token_value);
    w.frames(2);
    EXPECT_TRUE(w.lamp(row.gauge));
    EXPECT_EQ(w.state(row.request), 2);
    EXPECT_EQ(w.state("warn_chime_id"), row.alarm);
    EXPECT_EQ(w.calls("GONGMONO"), 1u);
    w.set(row.bus, 0);
    w.frames(1);
    EXPECT_FALSE(w.lamp(row.gauge)) << "dark without " << row.bus;
  }
}

TEST(WarningLamps, FuelTemperatureRightSideChimesButLeavesTheLampDark) {
  Warnings w;
  w.set("fuel_temp_test_r2", 1);
  w.frames(2);
  EXPECT_FALSE(w.lamp("warn_lhfueltemp"));
  EXPECT_EQ(w.state("warn_req_fueltemp_r"), 2);
  EXPECT_EQ(w.state("warn_chime_id"), 4);
  w.set("fuel_temp_test_r2", 0);
  w.frames(2);
  EXPECT_EQ(w.state("warn_chime_id"), 0);
}

// A servo alarm warns until the yellow pump of its side gives 1901 psi; a low level until its
// level switch is on. Either way the lamp goes out and the alarm is given back.
TEST(WarningLamps, ServoAndLevelWarningsEndOnceTakenCareOf) {
  const struct {
    const char* cause;
    const char* remedy;
    double short_of, enough;
    const char* gauge;
  } rows[] = {{"servo_alarm_1", "hydrau_yellow1_press", 1900, 1901, "warn_servo"},
              {"hydrau_low_level_green", "hydrau_level_sw_green", 0, 1, "warn_hydlvl"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.gauge);
    Warnings w;
    w.set(row.cause, 1);
    w.set(row.remedy, row.short_of);
    w.frames(3);
    EXPECT_TRUE(w.lamp(row.gauge));
    w.set(row.remedy, row.enough);
    w.frames(2);
    EXPECT_FALSE(w.lamp(row.gauge));
    EXPECT_EQ(w.state("warn_chime_id"), 0);
    w.set(row.remedy, row.short_of);
    w.frames(2);
    EXPECT_FALSE(w.lamp(row.gauge)) << "stays taken care of while the cause lasts";
  }
}

// ---- the master warning chime
// ---------------------------------------------------------------------

TEST(Chime, TwoAlarmsInOneUpdateChimeInTableOrderTheSecondWhenTheFirstEnds) {
  Warnings w;
  w->set_token(OIL_2, 0);
  w->set_token(OIL_1, 0);
  w.frames(3);
  EXPECT_TRUE(w.lamp("warn_lhoilpress") && w.lamp("warn_rhoilpress"));
  EXPECT_EQ(w.state("warn_chime_id"), 5);
  EXPECT_EQ(w.state("warn_req_oilpress_r"), 1);
  EXPECT_EQ(w.calls("GONGMONO"), 1u);
  w->set_token(OIL_1, OIL_GOOD);
  w.frames(2);
  EXPECT_EQ(w.state("warn_chime_id"), 6);
  EXPECT_EQ(w.state("warn_req_oilpress_r"), 2);
  EXPECT_EQ(w.calls("GONGMONO"), 2u);
}

TEST(Chime, AConditionEndedBeforeAcceptanceWaitsDarkAndIsAcceptedLater) {
  Warnings w;
  w.set("elec_warn_elec", 1);
  w.frames(2);
  ASSERT_EQ(w.state("warn_chime_id"), 3);
  w->set_token(OIL_1, 0);
  w.frames(2);
  w->set_token(OIL_1, OIL_GOOD);
  w.frames(2);
  EXPECT_FALSE(w.lamp("warn_lhoilpress"));
  EXPECT_EQ(w.state("warn_req_oilpress_l"), 1);
  w.set("elec_warn_elec", 0);
  w.frames(4);
  EXPECT_EQ(w.calls("GONGMONO"), 2u) << "the waiting alarm chimed";
  EXPECT_EQ(w.state("warn_req_oilpress_l"), 0);
  EXPECT_EQ(w.state("warn_chime_id"), 0);
}

TEST(Chime, NothingChimesAndNoBellRingsWithoutTheEssentialBus) {
  Warnings w;
  w.set("elec_bus_ess", 0);
  w->set_token(OIL_1, 0);
  w.set("warn_req_firebell", 1);
  w.frames(5);
  EXPECT_TRUE(w.lamp("warn_lhoilpress"));
  EXPECT_EQ(w.state("warn_req_oilpress_l"), 1);
  EXPECT_EQ(w.calls("GONGMONO"), 0u);
  EXPECT_EQ(w.state("warn_req_firebell"), 0);
  EXPECT_EQ(w.calls("SONNERIE"), 0u);
  w.set("elec_bus_ess", 1);
  w.frames(2);
  EXPECT_EQ(w.calls("GONGMONO"), 1u);
}

// The air conditioning clears only its request; the chime gives the alarm back itself, so one
// overheat does not silence every later alarm.
TEST(Chime, AnAirConditioningAlarmDoesNotHoldTheChimeForGood) {
  Warnings w;
  w.set("warn_req_airc", 1);
  w.frames(2);
  ASSERT_EQ(w.state("warn_chime_id"), 15);
  w.set("warn_req_airc", 0);
  w.frames(2);
  EXPECT_EQ(w.state("warn_chime_id"), 0);
  w->set_token(OIL_2, 0);
  w.frames(2);
  EXPECT_EQ(w.state("warn_chime_id"), 6);
  EXPECT_EQ(w.calls("GONGMONO"), 2u);
}

// ---- lamps without an alarm
// -----------------------------------------------------------------------

TEST(WarningLamps, StallHornLoopsWhileTheStallLampIsLit) {
  Warnings w;
  w->set_token(0x43, 1.0);
  w.frames(3);
  EXPECT_TRUE(w.lamp("warn_stall"));
  EXPECT_TRUE(w.looping("KLAXONCONT"));
  EXPECT_EQ(w.calls("KLAXONCONT"), 1u) << "started once, not every update";
  w.set("elec_bus_gen_a", 0);
  w.frames(1);
  EXPECT_FALSE(w.lamp("warn_stall"));
  EXPECT_FALSE(w.looping("KLAXONCONT"));
}

// ---- engine fires
// ---------------------------------------------------------------------------------

TEST(EngineFire, ThrottleOneIsBroughtTo35PercentOfThrottleTwoBeyondTwoUnits) {
  const struct {
    double throttle_2, throttle_1;
    bool sent;
    double target;
  } rows[] = {{10000, 3502, false, 3500},
              {10000, 3503, true, 3500},
              {10000, 3498, false, 3500},
              {10000, 3497, true, 3500},
              // A throttle 2 no lever gives: the target stays within the lever's travel.
              {-1e300, 3000, true, 0},
              {1e300, 0, true, 5734}};
  for (const auto& row : rows) {
    Warnings w;
    w.set("eng1_fire", 1);
    w->set_token(THROTTLE_2_K, row.throttle_2);
    w->set_token(THROTTLE_1_K, row.throttle_1);
    k7host::engines_hold(*w.sim, true);
    const auto before = w->frame_count();
    w.frames(1);
    EXPECT_EQ(w.keys(KEY_THROTTLE_1_SET, before) > 0, row.sent) << row.throttle_1;
    if (row.sent) {
      EXPECT_EQ(w->token(THROTTLE_1_K), row.target) << row.throttle_2;
    }
  }
}

TEST(EngineFire, BottleFiresOnlyIntoAWarningEngineFromItsBusAndTheCocksPutTheFireOut) {
  Warnings w;
  w.set("eng1_fire", 1);
  w.set("eng1_hp_cock_open", 0);
  w.set("eng1_lp_cock_open", 0);
  w.frames(2);
  EXPECT_TRUE(w.visible(LEFT_FIRE, 0));
  EXPECT_TRUE(w.looping("SONNERIE"));
  EXPECT_EQ(w.state("eng1_fire"), 1) << "closed cocks alone do not put it out";
  EXPECT_TRUE(w->click(LEFT_BOTTLE, 16, 16));
  EXPECT_TRUE(w->click(RIGHT_BOTTLE, 16, 16));
  EXPECT_EQ(w.state("eng1_extinct_fired"), 0) << "the extinguisher bus has never been up";
  w.set("elec_bus_extinct", 1);
  EXPECT_TRUE(w->click(RIGHT_BOTTLE, 16, 16));
  EXPECT_EQ(w.state("eng2_extinct_fired"), 0) << "no fire in engine 2";
  EXPECT_TRUE(w->click(LEFT_BOTTLE, 16, 16));
  w.frames(3);
  EXPECT_EQ(w.state("eng1_fire"), 3);
  EXPECT_FALSE(w.visible(LEFT_FIRE, 0));
  EXPECT_FALSE(w.looping("SONNERIE"));

  w.set("eng2_fire", 1);
  w.set("eng2_hp_cock_open", 0);
  w.set("eng2_lp_cock_open", 0);
  w.frames(1);
  EXPECT_TRUE(w->click(RIGHT_BOTTLE, 16, 16));
  w.frames(2);
  EXPECT_EQ(w.state("eng2_fire"), 0);
  EXPECT_EQ(w.state("eng2_extinct_fired"), 0) << "re-armed once the fire is out";
}

// After the shot engine 1 stays failed while the fire item (or the engine-1 failure item) is on,
// and is given back once when neither is: never failed and restored on alternate updates.
TEST(EngineFire, EngineOneFailureAfterTheShotFollowsTheFireItemWithoutAlternating) {
  Warnings w;
  w.set("elec_bus_extinct", 1);
  w.set("eng1_fire", 1);
  w.set("fail_eng1_fire", 1);
  w.frames(1);
  EXPECT_TRUE(w->click(LEFT_BOTTLE, 16, 16));
  w.frames(10);
  EXPECT_EQ(w.keys(KEY_ENGINE_1_FAILURE), 1u);
  EXPECT_EQ(w->token(ENGINE_1_FAILED), 1.0);
  w.set("fail_eng1_fire", 0);
  w.frames(10);
  EXPECT_EQ(w.keys(KEY_ENGINE_1_FAILURE), 2u);
  EXPECT_EQ(w->token(ENGINE_1_FAILED), 0.0);
  // The failures panel's engine-1 failure item comes on: the engine is failed once and stays so.
  w->open_window(k7test::FAILURES);
  w.set("fail_eng1", 1);
  w.frames(10);
  EXPECT_EQ(w.keys(KEY_ENGINE_1_FAILURE), 3u);
  EXPECT_EQ(w->token(ENGINE_1_FAILED), 1.0);
}

TEST(EngineFire, TheLeftBottleStaysFiredAfterExtinctionAndRearmsAfterAReset) {
  Warnings w;
  w.set("elec_bus_extinct", 1);
  w.set("eng1_fire", 1);
  w.frames(1);
  EXPECT_TRUE(w->click(LEFT_BOTTLE, 16, 16));
  w.set("eng1_hp_cock_open", 0);
  w.set("eng1_lp_cock_open", 0);
  w.frames(5);
  ASSERT_EQ(w.state("eng1_fire"), 3);
  EXPECT_EQ(w.state("eng1_extinct_fired"), 1);
  EXPECT_TRUE(w.visible(LEFT_BOTTLE, 1));
  w.set("eng1_fire", 0);
  w.frames(1);
  EXPECT_EQ(w.state("eng1_extinct_fired"), 0);
  EXPECT_FALSE(w.visible(LEFT_BOTTLE, 1));
}

} // namespace
