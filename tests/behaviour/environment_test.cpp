// Air conditioning and pressurisation through the stand-in. The valves, the temperature control,
// the safety valves, the cabin's return with the feed lost, the excess lamp and the excess panel
// are the scenarios aircond_*.k7s and pressu_*.k7s; here a long climb and the rules that read best
// as tables.
#include "k7test.h"

#include <algorithm>

namespace {

using namespace k7test;

constexpr std::uint32_t ON_GROUND = 0x3C, ALTITUDE = 0x4A;

// The air line of the left engine delivering, set up through the state (the air-conditioning
// window stays closed, so nothing recomputes it).
void left_line_delivers(Bed& bed) {
  bed.set("elec_bus_ess", 1);
  bed.set("air_eng_running_lh", 1);
  bed.set("air_mainvalve_lh_pos", 100);
  bed.set("airc_valve_lh_pos", 255);
}

void climb(Bed& bed, double to_feet, double fpm) {
  bed->set_named("k7host_profile_to", to_feet);
  bed->set_named("k7host_profile_rate", fpm);
}

TEST(Pressurisation, steady_climb_with_the_selector_at_zero_stays_under_the_limit) {
  Bed bed({CABIN_PRESSURE});
  left_line_delivers(bed);
  climb(bed, 35000, 2000);
  double highest = 0.0;
  const int frames = bed.frames_until(40000, [&] {
    highest = std::max(highest, bed.state("pressu_diff"));
    return bed->named("k7host_profile_rate") == 0.0;
  });
  EXPECT_LT(frames, 40000);
  EXPECT_EQ(bed->token(ALTITUDE), 35000);
  EXPECT_GT(highest, 8.0); // the safety valves did have work to do
  EXPECT_LE(highest, 8.2);
  EXPECT_GT(bed.state("pressu_cabin_alt"), 5000); // relieved upward, not held at 0
}

// Airborne, the conditioning valves move only once the start-up sequence is through; then 1 per
// frame with the switch, 5 per frame when forced shut, and every step stops at its end.
TEST(AirConditioning, airborne_conditioning_valves_follow_their_rules_and_stop_at_their_ends) {
  struct Case {
    double start_state;
    int sw;
    double throttle;
    int from;
    int frames;
    int expected;
  };
  const Case cases[] = {
      {0, 1, 0.0, 100, 10, 100}, // start-up not through: the valve stays where it is
      {11, 1, 0.0, 100, 10, 110}, {11, 1, 0.0, 252, 10, 255}, {11, 0, 0.0, 3, 10, 0},
      {11, 1, 1.0, 253, 60, 0}, // take-off power: 5 per frame, from an odd position
  };
  for (const Case& c : cases) {
    Bed bed({AIR_CONDITIONING});
    bed.set("elec_bus_ess", 1);
    bed->set_token(ON_GROUND, 0);
    bed->set_token(0x22E, c.throttle);
    bed.set("panel_start_state", c.start_state);
    bed.set("airc_valve_lh_sw", c.sw);
    bed.set("airc_valve_lh_pos", c.from);
    bed.frames(c.frames);
    EXPECT_EQ(bed.state("airc_valve_lh_pos"), c.expected)
        << "start state " << c.start_state << ", switch " << c.sw << ", from " << c.from;
    EXPECT_EQ(bed.state("airc_ground_seq"), 1);
  }
}

} // namespace
