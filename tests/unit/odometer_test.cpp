// The five-drum counter: digits stand still between carries and turn over in the last unit.
#include "module/odometer.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  double value;
  double drums[5]; // ten-thousands .. units
};

TEST(Odometer, DrumsStandOnTheirDigitsAndTurnOnlyThroughTheLastUnitBeforeACarry) {
  const Case cases[] = {
      {0.0, {0, 0, 0, 0, 0}},        {1234.5, {0, 1, 2, 3, 4.5}},
      {1239.5, {0, 1, 2, 3.5, 9.5}}, // tens halfway through its carry
      {1238.9, {0, 1, 2, 3, 8.9}},   // one step before the last unit: tens still
      {1239.0, {0, 1, 2, 3, 9}},     // the last unit starts: tens starts to turn
      {1299.5, {0, 1, 2.5, 0, 9.5}}, // hundreds turning, the tens 9 already dropped to 0
      {1998.9, {0, 1, 9, 9, 8.9}},   // one step before the thousands carry
      {1999.5, {0, 1.5, 0, 0, 9.5}}, // thousands halfway
      {9999.5, {0.5, 0, 0, 0, 9.5}}, // top drum halfway between 0 and 1
      {10000.0, {1, 0, 0, 0, 0}},    // carried
      {99999.5, {0, 0, 0, 0, 9.5}},  // the top drum past 9 shows 0
      {123456.0, {0, 3, 4, 5, 6}},   // above 99 999 kg: the lower drums go on counting
  };
  for (const Case& c : cases) {
    double drums[5];
    k7::odometer(c.value, drums);
    for (int i = 0; i < 5; ++i)
      EXPECT_NEAR(drums[i], c.drums[i], 1e-6) << c.value << " kg, drum " << i;
  }
}

TEST(Odometer, UnitsDrumReadsZeroAtItsTopAndBadCountsShowZeros) {
  EXPECT_EQ(k7::odometer_drum(9.9995, 1, false), 0.0);
  EXPECT_NEAR(k7::odometer_drum(9.998, 1, false), 9.998, 1e-9);
  for (double bad : {std::nan(""), -5.0, HUGE_VAL}) {
    double drums[5];
    k7::odometer(bad, drums);
    for (double d : drums) {
      EXPECT_GE(d, 0.0) << bad;
      EXPECT_LE(d, 10.0) << bad;
    }
  }
}

} // namespace
