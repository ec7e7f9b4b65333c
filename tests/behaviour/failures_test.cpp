// The failures panel's timed items and random failure against the simulation clock, wherever the
// clock stands when the panel is used (a time-of-day clock runs far past 255 s and 65535 s).
#include "k7test.h"

namespace {

using namespace k7test;

constexpr std::uint32_t ENGINE_1_FAILED = 0x234, ENGINE_2_FAILED = 0x23E;
// The generator 1 item's arm button and its delay's up button; its delay readout (element 20).
constexpr int GEN1_ARM_X = 770, GEN1_Y = 466, GEN1_DELAY_UP_X = 440;
constexpr int GEN1_DELAY_READOUT = 20;
constexpr int RANDOM_ARM_X = 620, RANDOM_Y = 742;

struct Failures : Bed {
  explicit Failures(double clock_s) : Bed({FAILURES}) {
    sim->shift_clock(clock_s);
    frames(1);
  }
  bool click(int x, int y, FLAGS32 flags = MOUSE_LEFTSINGLE) {
    return sim->click(FAILURES_PANEL, x, y, flags);
  }
  double clock() const { return sim->token(0x25C); }
};

TEST(FailureDelays, ADelayRunsFromValidationWhereverTheClockStands) {
  const struct {
    double clock_s;
    int delay_min;
  } rows[] = {{0, 0}, {0, 1}, {300, 1}, {70000, 1}, {200000, 2}, {4000000, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE("clock " + std::to_string(row.clock_s) + " s, delay " +
                 std::to_string(row.delay_min) + " min");
    Failures bed(row.clock_s);
    for (int i = 0; i < row.delay_min; ++i)
      ASSERT_TRUE(bed.click(GEN1_DELAY_UP_X, GEN1_Y, MOUSE_DOWN_REPEAT));
    ASSERT_TRUE(bed.click(GEN1_ARM_X, GEN1_Y));
    ASSERT_TRUE(validate_failures(bed));
    const double validated = bed.clock();
    bed.frames(1);
    EXPECT_EQ(bed.state("fail_gen1"), 1);
    if (row.delay_min == 0) {
      EXPECT_EQ(bed.state("elec_gen1_fault"), 1) << "no delay: due at validation";
      continue;
    }
    EXPECT_EQ(bed.state("elec_gen1_fault"), 0) << "not due at validation";
    EXPECT_EQ(bed.value(FAILURES_PANEL, GEN1_DELAY_READOUT), row.delay_min);
    bed.frames_until(100000, [&] { return bed.clock() >= validated + 60.0 * row.delay_min - 1; });
    EXPECT_EQ(bed.state("elec_gen1_fault"), 0) << "one second before the delay has run";
    EXPECT_EQ(bed.value(FAILURES_PANEL, GEN1_DELAY_READOUT), 1) << "the last minute to run";
    bed.sim->seconds(2);
    EXPECT_EQ(bed.state("elec_gen1_fault"), 1) << "due once the delay has run";
    EXPECT_EQ(bed.value(FAILURES_PANEL, GEN1_DELAY_READOUT), 0);
  }
}

// The failures in force: each random pick adds one (picks 7 to 9 fail both green pumps at once).
int failures_in_force(const Failures& bed) {
  return (bed->token(ENGINE_1_FAILED) == 1.0) + (bed->token(ENGINE_2_FAILED) == 1.0) +
         (bed.state("fail_eng1_fire") == 1) + (bed.state("fail_gen1") == 1) +
         (bed.state("fail_gen2") == 1) + (bed.state("hydrau_fail_g1") == 1);
}

TEST(RandomFailure, PicksOneFailureEvery56SecondsFromActivationWhereverTheClockStands) {
  for (double clock_s : {0.0, 1000.0, 70000.0}) {
    SCOPED_TRACE("clock " + std::to_string(clock_s) + " s");
    Failures bed(clock_s);
    ASSERT_TRUE(bed.click(RANDOM_ARM_X, RANDOM_Y));
    ASSERT_TRUE(validate_failures(bed));
    bed.frames(1);
    const double started = bed.clock();
    EXPECT_GE(bed.state("fail_random_due"), started + 55);
    bed.sim->seconds(54);
    EXPECT_EQ(failures_in_force(bed), 0) << "nothing before the first 56 s";
    bed.sim->seconds(4);
    EXPECT_EQ(failures_in_force(bed), 1) << "one pick";
    bed.sim->seconds(50);
    EXPECT_EQ(failures_in_force(bed), 1) << "no further pick within the next 56 s";

    // Off: the schedule starts again from the next activation.
    ASSERT_TRUE(bed.click(RANDOM_ARM_X + 70, RANDOM_Y));
    bed.frames(1);
    EXPECT_EQ(bed.state("fail_random_due"), 0);
    EXPECT_EQ(bed.state("fail_random_count"), 0);
  }
}

} // namespace
