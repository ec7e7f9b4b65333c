// The autothrottle panel: engaging and arming, the retard near the ground, the speed knob and
// the speed counter.
#include "behaviour/k7test.h"

#include <vector>

namespace {

using namespace k7test;

const char* const AT = "kestovil autothr_k7";
constexpr int HUNDREDS = 5, TENS = 6, UNITS = 7, LAMP = 8;
constexpr int BUTTON_X = 100, BUTTON_Y = 40, KNOB_X = 170, KNOB_UP_Y = 20, KNOB_DOWN_Y = 60;

enum : std::uint32_t {
  KEY_ARM = 0x1022D,
  KEY_DISARM = 0x1022E,
  KEY_SPEED_REF = 0x101F5,
  KEY_THROTTLE1 = 0x1011C,
  KEY_THROTTLE2 = 0x1011D,
};

// The autopilot engaged, airborne at `metres` above the ground.
struct Flying : Bed {
  explicit Flying(double metres) {
    autopilot_supplies(*this);
    sim->set_token(0x266, metres);
    sim->click(AP_READY, 20, 20);
    frames();
    sim->click(AP_PANEL, 30, 20);
    frames(2);
  }
  void engage() { EXPECT_TRUE(sim->click(AT, BUTTON_X, BUTTON_Y)); }
  double drum(int element) const { return sim->element(AT, element)->value_y; }
  void throttles(double one, double two) {
    sim->set_token(0x80, one);
    sim->set_token(0xa3, two);
  }
};

TEST(Autothrottle, EngagedLowTheRetardClosesTheThrottlesToIdleNotIntoReverse) {
  Flying bed(10);
  bed.engage();
  EXPECT_EQ(bed.state("at_active"), 1);
  EXPECT_EQ(bed.keys(KEY_ARM), 0u) << "not armed below 15.25 m";
  EXPECT_EQ(last_key_value(bed, 0x10144), 1);
  struct Case {
    double one, two;
    int sent_one, sent_two;
  } cases[] = {{8000, 8000, 7950, 7950}, {30, 50, 0, 0}, {0, -4000, 0, 0}};
  for (const Case& c : cases) {
    bed.throttles(c.one, c.two);
    bed.frames();
    EXPECT_EQ(last_key_value(bed, KEY_THROTTLE1), c.sent_one) << c.one;
    EXPECT_EQ(last_key_value(bed, KEY_THROTTLE2), c.sent_two) << c.two;
  }
  EXPECT_TRUE(bed.visible(AT, LAMP));
  bed.throttles(10000, 500); // go-around thrust on one engine
  const auto next = bed->frame_count() + 1;
  bed.frames();
  EXPECT_EQ(bed.keys(KEY_THROTTLE1, next) + bed.keys(KEY_THROTTLE2, next), 0u);
  bed.throttles(500, 500);
  bed->set_token(0x3c, 1.0);
  bed.frames();
  EXPECT_EQ(bed.keys(KEY_THROTTLE1, next), 0u) << "not on the ground";
}

TEST(Autothrottle, RetardHeightByAirspeed) {
  Flying bed(100);
  const struct {
    double knots, metres;
  } cases[] = {{119.9, 15.25}, {120, 21.3}, {122, 21.3}, {123, 25.9}, {124.9, 25.9}, {125, 30.5}};
  for (const auto& c : cases) {
    bed->set_token(0x3d, c.knots);
    bed.frames();
    EXPECT_EQ(bed.state("at_retard_height"), c.metres) << c.knots;
  }
  bed.engage();
  bed.throttles(6000, 6000);
  bed->set_token(0x266, 30.4);
  const auto next = bed->frame_count() + 1;
  bed.frames();
  EXPECT_EQ(bed.keys(KEY_THROTTLE1, next), 1u) << "at 125 kt the retard starts below 30.5 m";
  EXPECT_EQ(bed.keys(KEY_DISARM, next), 1u) << "the simulator's autothrottle let go";
}

TEST(Autothrottle, ArmsAboveTheLowestRetardHeightAndDisarmsWhenNotEngaged) {
  Flying bed(100);
  bed.engage();
  EXPECT_EQ(bed.keys(KEY_ARM), 1u);
  EXPECT_EQ(bed->token(0x73), 1.0);
  bed.engage();
  EXPECT_EQ(bed.state("at_active"), 0);
  EXPECT_EQ(bed->token(0x73), 0.0);
  bed->set_token(0x73, 1.0); // armed behind the panel's back
  bed.frames();
  EXPECT_EQ(bed->token(0x73), 0.0);

  bed.engage();
  bed.frames();
  EXPECT_TRUE(bed.visible(AT, LAMP));
  bed->set_token(0x67, 0.0);
  bed.frames();
  EXPECT_EQ(bed.state("at_active"), 0);
  EXPECT_EQ(bed->token(0x73), 0.0);
  EXPECT_FALSE(bed.visible(AT, LAMP));
}

TEST(Autothrottle, SpeedKnobReferenceAndCounter) {
  Flying bed(100);
  bed->set_token(0x74, 0);
  bed.frames();
  EXPECT_EQ(last_key_value(bed, KEY_SPEED_REF), 145) << "a reference of 0 replaced";
  bed->set_token(0x74, 0);
  bed.frames();
  EXPECT_EQ(bed.keys(KEY_SPEED_REF), 2u) << "every frame";
  EXPECT_EQ(bed.drum(HUNDREDS), 1);
  EXPECT_EQ(bed.drum(TENS), 4);
  EXPECT_EQ(bed.drum(UNITS), 5);
  const struct {
    double speed, hundreds, tens;
  } rolls[] = {{148.9, 1, 4}, {149.5, 1, 4.5}, {189.5, 1, 8.5},
               {198.9, 1, 9}, {199.0, 1, 9},   {199.5, 1.5, 9.5}, // a 9 rolls on toward 0
               {200.0, 2, 0}};
  for (const auto& r : rolls) {
    bed->set_token(0x74, r.speed);
    bed.frames();
    EXPECT_NEAR(bed.drum(HUNDREDS), r.hundreds, 1e-6) << r.speed;
    EXPECT_NEAR(bed.drum(TENS), r.tens, 1e-6) << r.speed;
  }

  std::vector<int> frames;
  for (int y : {KNOB_DOWN_Y, KNOB_DOWN_Y, KNOB_DOWN_Y, KNOB_UP_Y, KNOB_UP_Y, KNOB_UP_Y}) {
    bed->click(AT, KNOB_X, y);
    frames.push_back(static_cast<int>(bed.state("at_knob_anim")));
  }
  EXPECT_EQ(frames, (std::vector<int>{3, 2, 1, 2, 0, 1}));
  EXPECT_EQ(last_key_value(bed, KEY_SPEED_REF), 145);
  bed.set("at_speed_sel", 350);
  bed->click(AT, KNOB_X, KNOB_UP_Y);
  EXPECT_EQ(bed.state("at_speed_sel"), 350);
  bed.set("at_speed_sel", 90);
  bed->click(AT, KNOB_X, KNOB_DOWN_Y);
  EXPECT_EQ(bed.state("at_speed_sel"), 90);
  EXPECT_EQ(last_key_value(bed, KEY_SPEED_REF), 90);
}

} // namespace
