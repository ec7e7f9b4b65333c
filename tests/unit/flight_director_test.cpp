// The flight director computer frame by frame, against a small stand-in of the simulator's
// services: tokens by id, key events logged.
#include "autopilot/ap_units.h"
#include "autopilot/autopilot.h"
#include "autopilot/flight_director.h"
#include "electrical/electrical.h"
#include "instruments/instruments.h"
#include "module/services.h"

#include <gtest/gtest.h>
#include <cmath>
#include <map>

const StateTable* state_tables();

namespace {

std::map<u32, double> tokens;

void FSAPI fake_lookup_var(MODULE_VAR* var) {
  const auto it = tokens.find(var->id);
  var->var_value.n = it == tokens.end() ? 0.0 : it->second;
}
ERR FSAPI fake_key_event(ID32, UINT32) {
  return 0;
}
PANELS fake_panels{};

template <typename T> void put(const StateEntry& e) {
  *static_cast<T*>(e.address) = static_cast<T>(e.load_value);
}
void reset_state() {
  for (const StateTable* t = state_tables(); t->entries != nullptr; ++t)
    for (std::size_t i = 0; i < t->count; ++i) {
      const StateEntry& e = t->entries[i];
      if (e.count != 1) continue;
      switch (e.type) {
      case StateType::U8: put<u8>(e); break;
      case StateType::I8: put<i8>(e); break;
      case StateType::U16: put<u16>(e); break;
      case StateType::I16: put<i16>(e); break;
      case StateType::U32: put<u32>(e); break;
      case StateType::I32: put<i32>(e); break;
      case StateType::F64: put<f64>(e); break;
      }
    }
  for (f64& z : fd_zone)
    z = 0.0;
}

enum : u32 {
  COURSE = 0x2d,
  HEADING = 0x54,
  BANK = 0x50,
  VS = 0x41,
  LATERAL_DEV = 0x28,
  GLIDE_DEV = 0x29,
  GLIDE_RECEIVED = 0x2c,
  SIGNAL = 0x31,
  BODY_LONG = 0x227,
  BODY_LAT = 0x228,
  HEIGHT = 0x266,
  ATT_FAIL = 0x114,
  TICK = 0x1,
};

struct Fd : ::testing::Test {
  void SetUp() override {
    reset_state();
    tokens.clear();
    fake_panels.slot[panels_slot(PANELS_LOOKUP_VAR)] =
        reinterpret_cast<PANELS_SLOT>(fake_lookup_var);
    fake_panels.slot[panels_slot(PANELS_TRIGGER_KEY_EVENT)] =
        reinterpret_cast<PANELS_SLOT>(fake_key_event);
    ImportTable.PANELSentry.fnptr = &fake_panels;
    elec_ac_ess = 1;
    elec_tadg_on = 1;
  }
  void TearDown() override { ImportTable.PANELSentry.fnptr = nullptr; }
  static void frame(int n = 1) {
    for (int i = 0; i < n; ++i)
      fd_computer_update();
  }
  // A localizer is tuned: the capture zone is 99 wide.
  static void localizer() { hsi_nav1_loc = 1; }
};

TEST(HeadingDifference, WrapsIntoPlusMinus180FromEitherSideOfNorth) {
  EXPECT_EQ(ap::heading_difference(360, 0), 0.0) << "a selected heading of 360 is north";
  EXPECT_EQ(ap::heading_difference(10, 350), 20.0);
  EXPECT_EQ(ap::heading_difference(350, 10), -20.0);
  EXPECT_EQ(ap::heading_difference(360, 359.5), 0.5);
  EXPECT_EQ(std::fabs(ap::heading_difference(190, 10)), 180.0);
  EXPECT_EQ(ap::heading_difference(0, 181), 179.0);
}

TEST_F(Fd, HeadingSelectRollIsTheErrorUpTo3DegreesThenStepPlusBank) {
  struct Case {
    u32 selected;
    double heading, bank, command;
    i32 step;
  } cases[] = {
      {93, 90.0, 0.5, 3.0, 1},       {93, 89.9, 2.0, 7.0, 5},     {0, 359.6, 2.0, 0.0, 0},
      {360, 20.0, -3.0, -28.0, -25}, {100, 102.5, 0.0, -2.5, -1}, {100, 88.0, 1.0, 16.0, 15},
  };
  for (const Case& c : cases) {
    hsi_heading_sel = c.selected;
    tokens[HEADING] = c.heading;
    tokens[BANK] = c.bank;
    frame();
    EXPECT_NEAR(fd_hdg_roll_cmd, c.command, 1e-9) << c.selected << " from " << c.heading;
    EXPECT_EQ(fd_hdg_step, c.step) << c.selected << " from " << c.heading;
  }
}

TEST_F(Fd, WithoutSignalTheHeadingCommandIsThePresentHeading) {
  tokens[HEADING] = 123.7;
  tokens[COURSE] = 200;
  tokens[LATERAL_DEV] = 5;
  frame();
  EXPECT_EQ(fd_zone[0], 0.0);
  EXPECT_EQ(fd_intercept, 0);
  EXPECT_EQ(fd_heading_cmd, 123);
  tokens[SIGNAL] = 150; // zone 10: a deviation of 5 is inside it
  frame();
  EXPECT_EQ(fd_zone[0], 10.0);
  EXPECT_EQ(fd_heading_cmd, 200 + fd_intercept);
}

TEST_F(Fd, InterceptAngleInEachBandAndAtBothEdges) {
  localizer(); // zones 99, 33, 22, 14.67, 7.33, 4.89 with both latches clear
  tokens[COURSE] = 100;
  struct Case {
    double deviation;
    i32 intercept;
  } cases[] = {
      {99.5, 0}, {99, 20}, {33.5, 20}, {33, 15}, {22.5, 15}, {22, 10},  {15, 10},  {14.6, 5},
      {7.4, 5},  {7.3, 1}, {4.9, 1},   {4.8, 0}, {0, 0},     {-99, 20}, {-4.9, 1}, {-100, 0},
  };
  for (const Case& c : cases) {
    fd_band_latch_in = fd_band_latch_mid = 0;
    tokens[LATERAL_DEV] = c.deviation;
    frame();
    EXPECT_EQ(fd_intercept, c.intercept) << "deviation " << c.deviation;
  }
  tokens[LATERAL_DEV] = -50;
  frame();
  EXPECT_EQ(fd_heading_cmd, 80) << "left of the beam: course minus intercept";
  tokens[LATERAL_DEV] = 50;
  frame();
  EXPECT_EQ(fd_heading_cmd, 120);
}

TEST_F(Fd, InnerBandsNarrowOnlyOnceLatchedMovingInAndOut) {
  localizer();
  struct Step {
    double deviation;
    i32 intercept;
    u8 latch_in, latch_mid;
  } steps[] = {
      {10, 5, 0, 0}, {6, 1, 0, 1},   {3, 0, 1, 1}, {4.5, 0, 1, 1},
      {6, 1, 2, 1},  {4, 1, 2, 1},   // inner band latched: 4 now gives 1 where 4.5 gave 0
      {10, 5, 2, 2}, {6.5, 5, 2, 2}, // middle band latched: 6.5 gives 5 where 6 gave 1
      {5, 1, 2, 3},  {3, 0, 3, 3},
  };
  for (const Step& s : steps) {
    tokens[LATERAL_DEV] = s.deviation;
    frame();
    EXPECT_EQ(fd_intercept, s.intercept) << "deviation " << s.deviation;
    EXPECT_EQ(fd_band_latch_in, s.latch_in) << "deviation " << s.deviation;
    EXPECT_EQ(fd_band_latch_mid, s.latch_mid) << "deviation " << s.deviation;
  }
}

TEST_F(Fd, DriftIsZeroAtRestAndTheCorrectedCourseWrapsOnceThroughNorth) {
  frame();
  EXPECT_EQ(fd_drift, 0.0) << "no velocity: no drift, and no NaN in the state";
  localizer();
  tokens[LATERAL_DEV] = -50; // intercept 20, left of the beam
  tokens[BODY_LONG] = 100 * std::cos(10 * M_PI / 180);
  tokens[BODY_LAT] = 100 * std::sin(10 * M_PI / 180);
  struct Case {
    double course;
    i32 command;
  } cases[] = {{25.5, 355}, {5.5, 335}, {40.5, 10}};
  for (const Case& c : cases) {
    tokens[COURSE] = c.course;
    frame();
    EXPECT_NEAR(fd_drift, 10.0, 1e-9);
    EXPECT_EQ(fd_heading_cmd, c.command) << "course " << c.course;
  }
  tokens[BODY_LAT] = -tokens[BODY_LAT]; // drift the other way, right of the beam
  tokens[LATERAL_DEV] = 50;
  tokens[COURSE] = 355;
  frame();
  EXPECT_EQ(fd_heading_cmd, 25);
}

TEST_F(Fd, CapturedGlideCommandByDeviationEveryTwentyTicksEvenAfterMissedTicks) {
  tokens[HEIGHT] = 300;
  tokens[TICK] = 100;
  tokens[GLIDE_RECEIVED] = 1;
  tokens[COURSE] = 90;
  tokens[HEADING] = 90;
  tokens[0x3d] = 130; // basic glide V/S -845.3
  fd_gs_state = 2;
  tokens[GLIDE_DEV] = -15;
  frame(); // the clock starts: the first command at tick 120
  EXPECT_EQ(fd_glide_vs_cmd, -850.0);
  tokens[TICK] = 119;
  frame();
  EXPECT_EQ(fd_glide_vs_cmd, -850.0);
  tokens[TICK] = 125; // tick 120 was missed: the late frame still computes
  frame();
  EXPECT_EQ(fd_glide_vs_cmd, 0.0) << "deviation -15: 0";
  tokens[GLIDE_DEV] = 15;
  tokens[TICK] = 139;
  frame();
  EXPECT_EQ(fd_glide_vs_cmd, 0.0);
  tokens[TICK] = 200; // far behind: one step per frame catches up
  frame();
  EXPECT_EQ(fd_glide_vs_cmd, -1500.0) << "deviation 15: -1500";
  tokens[GLIDE_DEV] = 5;
  frame();
  EXPECT_NEAR(fd_glide_vs_cmd, -65 * 13.0048 - 50, 1e-9);
}

TEST_F(Fd, FlyingTheCommandedDescentExactlyGivesNoApproachPitchCommand) {
  fd_mode_sel = 4;
  fd_gs_state = 2;
  tokens[GLIDE_RECEIVED] = 1;
  tokens[HEIGHT] = 150; // below 200 m: the command is the mean of the V/S samples
  fd_vs_sample_1 = fd_vs_sample_2 = fd_vs_sample_3 = -700 * 1.30048;
  tokens[VS] = -700 * 1.30048;
  tokens[GLIDE_DEV] = -1;
  frame(20);
  EXPECT_NEAR(fd_glide_pitch_cmd, 0.0, 1e-9);
  EXPECT_NEAR(fd_appr_pitch_cmd, 0.0, 1e-9);
  EXPECT_NEAR(fd_pitch_bar, 6.0, 1e-9) << "the pitch bar centred";
}

TEST_F(Fd, UnpoweredBarsStowTwoUnitsAFrameAndShowTheFlags) {
  elec_tadg_on = 0;
  frame();
  EXPECT_EQ(fd_roll_bar, 8.0);
  EXPECT_EQ(fd_pitch_bar, 4.0);
  EXPECT_EQ(adi_flag_fd_shown, 1);
  EXPECT_EQ(adi_flag_att_shown, 1);
  frame(4);
  EXPECT_EQ(fd_roll_bar, 14.0);
  EXPECT_EQ(fd_pitch_bar, -4.0);
  elec_tadg_on = 1;
  elec_ac_ess = 0;
  fd_roll_bar = 6.0;
  frame();
  EXPECT_EQ(fd_roll_bar, 8.0) << "without the essential AC bus too";
  EXPECT_EQ(adi_flag_fd_shown, 1);
  EXPECT_EQ(adi_flag_att_shown, 0) << "the gyros still run: the attitude is good";
}

TEST_F(Fd, IlsVorWithoutHeadingStowsOneUnitAFrameWithOnlyTheFdFlag) {
  frame();
  EXPECT_EQ(fd_roll_bar, 7.0);
  EXPECT_EQ(fd_pitch_bar, 5.0);
  EXPECT_EQ(adi_flag_fd_shown, 1);
  EXPECT_EQ(adi_flag_att_shown, 0);
  fd_mode_push = 1; // HEADING pushed: the bars steer, both flags hidden
  frame();
  EXPECT_EQ(adi_flag_fd_shown, 0);
  EXPECT_LT(fd_roll_bar, 7.0);
}

TEST_F(Fd, AltHoldWithHeadingPutsTheRollBarOnItsTargetInOneFrame) {
  fd_mode_sel = 2;
  fd_mode_push = 1;
  hsi_heading_sel = 110;
  tokens[HEADING] = 90; // error 20: command 25 + bank 0, target 7.25
  frame();
  EXPECT_EQ(fd_roll_bar, 7.25);
  fd_mode_sel = 6; // a radio law from here starts slowly: it was entered from elsewhere
  EXPECT_EQ(fd_trk_blue_right, 2);
}

TEST_F(Fd, RollBarTracksFastAfterAStowThenFinely) {
  fd_mode_sel = 6;
  fd_roll_bar = 11.0; // target 6 with a centred radio command
  tokens[HEADING] = 0;
  frame(4);
  EXPECT_EQ(fd_roll_bar, 7.0) << "1 a frame while far";
  frame();
  EXPECT_NEAR(fd_roll_bar, 6.95, 1e-9) << "then 0.05 a frame";
  frame(20);
  EXPECT_EQ(fd_roll_bar, 6.0);
  EXPECT_EQ(fd_trk_blue_right, 1);
}

TEST_F(Fd, AttitudeFailureShowsBothFlagsWithoutTouchingTheBars) {
  fd_mode_sel = 2;
  fd_mode_push = 1;
  hsi_heading_sel = 110;
  tokens[HEADING] = 90;
  frame();
  const double roll = fd_roll_bar, pitch = fd_pitch_bar;
  tokens[ATT_FAIL] = 1;
  frame();
  EXPECT_EQ(adi_flag_fd_shown, 1);
  EXPECT_EQ(adi_flag_att_shown, 1);
  EXPECT_EQ(fd_roll_bar, roll);
  EXPECT_EQ(fd_pitch_bar, pitch);
  tokens[ATT_FAIL] = 0;
  frame();
  EXPECT_EQ(adi_flag_att_shown, 0);
}

} // namespace
