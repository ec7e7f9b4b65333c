// What the radio drums are asked to show, from whatever value the simulator gives.
#include "radios/radio_digits.h"

#include <gtest/gtest.h>
#include <array>
#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();

std::array<int, 4> packed(double value, u8 top) {
  u8 d[4];
  k7::packed_digits(value, d, top);
  return {d[0], d[1], d[2], d[3]};
}

std::array<int, 5> adf(double khz) {
  u8 d[5];
  k7::adf_digits(khz, d);
  return {d[0], d[1], d[2], d[3], d[4]};
}

TEST(RadioDigits, PackedFrequenciesSplitIntoTheirFourDigits) {
  EXPECT_EQ(packed(0x2345, 9), (std::array<int, 4>{2, 3, 4, 5}));
  EXPECT_EQ(packed(0x1802, 9), (std::array<int, 4>{1, 8, 0, 2})); // 118.025
  EXPECT_EQ(packed(0x9999, 9), (std::array<int, 4>{9, 9, 9, 9}));
  EXPECT_EQ(packed(0x7700, 7), (std::array<int, 4>{7, 7, 0, 0})); // squawk 7700
}

TEST(RadioDigits, ValuesThatAreNotPackedDecimalStayOnTheDrums) {
  // nibbles of 10 to 15 are held to the drum's top digit
  EXPECT_EQ(packed(0xABCD, 9), (std::array<int, 4>{9, 9, 9, 9}));
  EXPECT_EQ(packed(0x1A3F, 9), (std::array<int, 4>{1, 9, 3, 9}));
  EXPECT_EQ(packed(0x89AF, 7), (std::array<int, 4>{7, 7, 7, 7}));
  EXPECT_EQ(packed(0x0718, 7), (std::array<int, 4>{0, 7, 1, 7}));
  // anything outside 0..0xFFFF, and what is not a number, reads as 0
  for (double bad : {-1.0, -0x1234 * 1.0, 65536.0, 0x12345 * 1.0, 1e300, NaN, INF, -INF})
    EXPECT_EQ(packed(bad, 9), (std::array<int, 4>{0, 0, 0, 0})) << bad;
  EXPECT_EQ(packed(65535.0, 9), (std::array<int, 4>{9, 9, 9, 9})) << "the top edge is taken";
}

TEST(RadioDigits, AdfFrequenciesShowToTheNearestTenth) {
  EXPECT_EQ(adf(1020.5), (std::array<int, 5>{1, 0, 2, 0, 5}));
  EXPECT_EQ(adf(350.0), (std::array<int, 5>{0, 3, 5, 0, 0}));
  EXPECT_EQ(adf(190.0), (std::array<int, 5>{0, 1, 9, 0, 0}));
  EXPECT_EQ(adf(1799.9), (std::array<int, 5>{1, 7, 9, 9, 9}));
  EXPECT_EQ(adf(1020.49999), (std::array<int, 5>{1, 0, 2, 0, 5})) << "not a tenths drum at 4.9999";
  EXPECT_EQ(adf(999.96), (std::array<int, 5>{1, 0, 0, 0, 0})) << "rounding carries into thousands";
}

TEST(RadioDigits, AdfFrequenciesOutsideTheDialStayOnTheDrums) {
  EXPECT_EQ(adf(2000.0), (std::array<int, 5>{1, 9, 9, 9, 9}));
  EXPECT_EQ(adf(1e12), (std::array<int, 5>{1, 9, 9, 9, 9}));
  EXPECT_EQ(adf(-350.0), (std::array<int, 5>{0, 0, 0, 0, 0}));
  for (double bad : {NaN, INF, -INF})
    EXPECT_EQ(adf(bad), (std::array<int, 5>{0, 0, 0, 0, 0})) << bad;
}

} // namespace
