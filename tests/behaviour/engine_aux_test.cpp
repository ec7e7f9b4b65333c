// Engine auxiliaries: air-brake lamps, synchroniser beat, parachute, marker lamps, and the
// air-conditioning noise that the marker-lamp gauge plays.
#include "host/sound_view.h"
#include "k7test.h"

#include <string>

namespace {

using namespace k7test;

constexpr std::uint32_t AIRBRAKE_L = 0x146, AIRBRAKE_R = 0x147, THROTTLE_2 = 0x238;
constexpr std::uint32_t FAN_1 = 0x270, FAN_2 = 0x283, MARKER = 0x162;
constexpr std::uint32_t ON_GROUND = 0x3C, PARKING_BRAKE = 0x143;
const std::string AIRBRAKES = "kestovil airbrakes_ind_k7";
const std::string AIRBRAKES_WARN = "kestovil airbrakes_warn_k7";
const std::string SYNCH_SW = "kestovil synch_sw_k7";
const std::string SYNCH_LIGHT = "kestovil synch_light_k7";
const std::string CHUTE = "kestovil parachute_k7";
const std::string OMI = "kestovil omi_k7";
constexpr int TRANSIT_L = 1, EXTENDED_L = 3, BEAT_LAMP = 1;

struct Aux : Bed {
  Aux() {
    set("elec_bus_ess", 1);
    k7host::engines_hold(*sim, true); // fan speeds stay where the test puts them
  }
};

TEST(EngineAux, AirBrakeLampsAndTheHighThrustWarning) {
  const struct {
    double green, position;
    bool transit, extended;
  } rows[] = {{2500, 1000, false, false}, {2500, 1001, true, false},  {2500, 7999, true, false},
              {2500, 8000, false, true},  {1750, 2000, false, false}, {1750, 2001, true, false}};
  Aux a;
  for (const auto& row : rows) {
    a.set("hydrau_press_green", row.green);
    a->set_token(AIRBRAKE_L, row.position);
    // The indicator alone: with green low, the start panel's automation folds the air brakes.
    a->send_message(AIRBRAKES, PANEL_SERVICE_PRE_UPDATE);
    EXPECT_EQ(a.visible(AIRBRAKES, TRANSIT_L), row.transit) << row.green << " " << row.position;
    EXPECT_EQ(a.visible(AIRBRAKES, EXTENDED_L), row.extended) << row.green << " " << row.position;
  }
  a.set("hydrau_press_green", 2500);
  a->set_token(THROTTLE_2, 0.96);
  a.frames(1);
  EXPECT_TRUE(a.visible(AIRBRAKES_WARN, 0));
  a->set_token(AIRBRAKE_L, 1000);
  a->set_token(AIRBRAKE_R, 1001);
  a.frames(1);
  EXPECT_TRUE(a.visible(AIRBRAKES_WARN, 0)) << "either air brake";
  a.set("elec_bus_ess", 0);
  a->set_token(AIRBRAKE_L, 9000);
  a.frames(1);
  EXPECT_FALSE(a.visible(AIRBRAKES_WARN, 0));
  EXPECT_FALSE(a.visible(AIRBRAKES, EXTENDED_L));
}

// The beat lamp over a number of updates, '#' lit and '.' dark.
std::string beat(Aux& a, double fan_1, double fan_2, int updates = 16) {
  a->set_token(FAN_1, fan_1);
  a->set_token(FAN_2, fan_2);
  std::string seen;
  for (int i = 0; i < updates; ++i) {
    a.frames(1);
    seen += a.visible(SYNCH_LIGHT, BEAT_LAMP) ? '#' : '.';
  }
  return seen;
}

TEST(EngineAux, SynchroniserBeatsFasterAsTheFansPartAndStopsWhenTheyMatch) {
  Aux a;
  EXPECT_TRUE(a->click(SYNCH_SW, 40, 10));
  EXPECT_EQ(beat(a, 80, 55), "................") << "knob at the centre";
  EXPECT_TRUE(a->click(SYNCH_LIGHT, 60, 20));
  EXPECT_EQ(a.state("synch_sel"), 20);
  EXPECT_EQ(beat(a, 80, 55, 12), "####....####");
  EXPECT_EQ(beat(a, 80, 79.95), "################") << "no beat: the lamp stays as it was";
  EXPECT_EQ(a.state("synch_phase2"), 0);
  EXPECT_EQ(beat(a, 80, 70), "##############..") << "10 % apart: 14 ticks";
  EXPECT_TRUE(a->click(SYNCH_SW, 10, 10));
  EXPECT_EQ(beat(a, 80, 55), "................");
}

TEST(EngineAux, ParachuteDeploysOnlyOnTheGroundWithTheBrakeOffAndAlwaysStows) {
  const struct {
    double on_ground, parking_brake;
    bool deployed, after_click;
  } rows[] = {{0.0, 0.0, false, false},
              {1.0, 32767.0, false, false},
              {1.0, 0.0, false, true},
              {0.0, 32767.0, true, false}};
  for (const auto& row : rows) {
    Aux a;
    a.set("chute_deployed", row.deployed);
    a->set_token(ON_GROUND, row.on_ground);
    a->set_token(PARKING_BRAKE, row.parking_brake);
    EXPECT_TRUE(a->click(CHUTE, 20, 100));
    a.frames(1);
    EXPECT_EQ(a.state("chute_deployed"), row.after_click) << row.on_ground << row.parking_brake;
    EXPECT_EQ(a->named("Chute_deploy"), row.after_click ? 1.0 : 0.0);
    EXPECT_EQ(a.visible(CHUTE, 1), row.after_click) << "deployed handle by day";
    EXPECT_EQ(a.visible(CHUTE, 0), !row.after_click) << "stowed handle by day";
  }
}

TEST(EngineAux, MarkerLampsNeedTheEssentialBusAndTheSelcalSelector) {
  const struct {
    int ess, selcal;
    double marker;
    int lit; // element, 0 none
  } rows[] = {{1, 1, 1.0, 1}, {1, 2, 2.0, 2}, {1, 1, 3.0, 3}, {1, 1, 4.0, 0},
              {1, 1, 2.5, 0}, {1, 0, 1.0, 0}, {0, 1, 2.0, 0}};
  Aux a;
  for (const auto& row : rows) {
    a.set("elec_bus_ess", row.ess);
    a.set("radio_selcal_sel", row.selcal);
    a->set_token(MARKER, row.marker);
    a.frames(1);
    for (int lamp = 1; lamp <= 3; ++lamp)
      EXPECT_EQ(a.visible(OMI, lamp), lamp == row.lit)
          << "marker " << row.marker << " ess " << row.ess << " selcal " << row.selcal;
  }
}

// Air flowing on one side: the opening sound, the steady noise 108 ticks later, the closing
// sound when it stops. A due tick already gone by (the gauge was not served for a while) does not
// hold the sequence: the steady noise follows the opening sound at once.
TEST(EngineAux, AirConditioningNoiseFollowsTheAirSupply) {
  Aux a;
  auto flow = [&](bool on) {
    a.set("airc_valve_rh_pos", on ? 255 : 254);
    a.set("air_mainvalve_rh_pos", 100);
    a.set("air_eng_running_rh", 1);
  };
  flow(true);
  a.frames(3);
  EXPECT_EQ(a.calls("AIRCONDENT"), 1u);
  a.frames(104);
  EXPECT_EQ(a.calls("AIRCOND"), 0u);
  a.frames(2);
  EXPECT_EQ(a.calls("AIRCOND"), 1u);
  flow(false);
  a.frames(1);
  EXPECT_EQ(a.calls("AIRCONDSORT"), 1u);
  EXPECT_EQ(a.state("airc_noise_state"), 0);

  a.set("airc_noise_state", 1);
  a.set("airc_noise_due", 50);
  flow(true);
  a.frames(2);
  EXPECT_EQ(a.calls("AIRCONDENT"), 2u);
  EXPECT_EQ(a.calls("AIRCOND"), 2u);
}

} // namespace
