// The rolling drum and the gyro pieces, update by update.
#include "instruments/gyro.h"
#include "module/drum.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<double> roll(double shown, double target, int positions, int updates) {
  std::vector<double> seen;
  for (int i = 0; i < updates; ++i)
    seen.push_back(shown = k7::drum_roll(shown, target, positions));
  return seen;
}

TEST(Drum, RollsAQuarterAnUpdateAndSnapsWithinTwoTenths) {
  EXPECT_EQ(roll(1, 3, 10, 8), (std::vector<double>{1.25, 1.5, 1.75, 2, 2.25, 2.5, 2.75, 3}));
  EXPECT_EQ(roll(8, 7, 10, 4), (std::vector<double>{7.75, 7.5, 7.25, 7}));
  // a fractional target is reached too, not stepped round for ever
  EXPECT_EQ(roll(5, 5.7, 10, 3), (std::vector<double>{5.25, 5.5, 5.7}));
  // off the quarter grid it lands on the digit instead of stepping past it
  EXPECT_EQ(roll(5.22, 0, 10, 21).back(), 0);
  for (double v : roll(5.22, 0, 10, 21))
    EXPECT_GE(v, 0);
}

TEST(Drum, TurnsOverForwardFromTheTopToZero) {
  EXPECT_EQ(roll(9, 0, 10, 4), (std::vector<double>{9.25, 9.5, 9.75, 0}));
  EXPECT_EQ(roll(3, 0, 4, 4), (std::vector<double>{3.25, 3.5, 3.75, 0}));
  EXPECT_EQ(roll(1, 0, 2, 4), (std::vector<double>{1.25, 1.5, 1.75, 0}));
  // below the top band it runs back down through the digits
  EXPECT_EQ(roll(8.75, 0, 10, 1), (std::vector<double>{8.5}));
}

TEST(Drum, JumpsFromZeroToJustBelowTheTopAndFalls) {
  EXPECT_EQ(roll(0, 9, 10, 5), (std::vector<double>{9.9, 9.65, 9.4, 9.15, 9}));
  EXPECT_EQ(roll(0, 3, 4, 3), (std::vector<double>{3.9, 3.65, 3.4}));
  EXPECT_EQ(roll(0, 1, 2, 5), (std::vector<double>{1.9, 1.65, 1.4, 1.15, 1}));
}

TEST(GyroPitch, TopplesToLevelAndErectsOneDegreeAnUpdate) {
  u8 erecting = 0;
  double shown = 10;
  for (double e : {9, 8, 7})
    EXPECT_EQ(shown = k7::gyro_pitch_step(shown, 10, false, erecting), e);
  EXPECT_EQ(erecting, 1);
  EXPECT_EQ(k7::gyro_pitch_step(1.5, 10, false, erecting), 0) << "within 2 degrees: level";
  for (double e : {8, 10}) // within 2 degrees of the pitch: snapped
    EXPECT_EQ(shown = k7::gyro_pitch_step(shown, 10, true, erecting), e);
  EXPECT_EQ(erecting, 0);
  EXPECT_EQ(k7::gyro_pitch_step(3, -4, true, erecting), -4) << "following";
}

TEST(GyroPitch, NearLevelAnErectingDisplayStaysUnlessFarOff) {
  u8 erecting = 1;
  EXPECT_EQ(k7::gyro_pitch_step(0, 1.5, true, erecting), 0);
  EXPECT_EQ(erecting, 1);
  // a short topple from 10 degrees left the display at 8; flown level it comes down to within 2
  double shown = 8;
  for (double e : {7, 6, 5, 4, 3, 2, 2})
    EXPECT_EQ(shown = k7::gyro_pitch_step(shown, 0.5, true, erecting), e);
  EXPECT_EQ(erecting, 1);
  EXPECT_EQ(k7::gyro_pitch_step(shown, -6, true, erecting), 1) << "pitching away: erects";
}

TEST(HeadingKnob, StepsRoundTheCompass) {
  struct Case {
    i32 from, step, to;
  } cases[] = {{350, 10, 360}, {360, 1, 0},  {359, 1, 0},   {0, -1, 359}, {0, -10, 350},
               {5, -10, 355},  {355, 10, 5}, {100, -1, 99}, {15, 10, 25}, {351, 10, 1}};
  for (const Case& c : cases)
    EXPECT_EQ(k7::heading_knob_step(c.from, c.step), c.to) << c.from << " " << c.step;
}

} // namespace
