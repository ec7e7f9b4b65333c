// The surface, trim and flap indicators and the throttle readout on the main panel, driven through
// the stand-in.
#include "k7test.h"

namespace {

using namespace k7test;

const char* const ELEV = "kestovil surf_elev_k7";
const char* const AIL = "kestovil surf_ail_k7";
const char* const RUD = "kestovil surf_rud_k7";
const char* const READOUT = "kestovil th_val_k7";
constexpr std::uint32_t AILERON = 0x139, RUDDER = 0x13C, ELEVATOR = 0x13D, TRIM = 0x13E;
constexpr std::uint32_t THROTTLE_1 = 0x22E, THROTTLE_2 = 0x238;
constexpr int NEEDLE = 1, TRIM_INDEX = 4, LEFT_UNITS = 3, RIGHT_HUNDREDS = 4, LABEL = 7;

TEST(SurfaceIndicators, OneClickShowsAllThreeAndTheNeedlesFreezeWithoutTheirSupply) {
  Bed b;
  b.set("elec_ac_instr", 1);
  b.set("hydrau_press_blue", 3000); // the flight controls have their hydraulics
  b.frames();
  for (const char* g : {ELEV, AIL, RUD})
    EXPECT_FALSE(b.visible(g, NEEDLE)) << g;
  for (const char* g : {ELEV, AIL, RUD})
    EXPECT_EQ(K7_COPY(b->header(g)->mouse_rect[0].help_id), 43575) << g;
  b->click(AIL, 60, 60);
  b.frames();
  for (const char* g : {ELEV, AIL, RUD})
    EXPECT_TRUE(b.visible(g, NEEDLE)) << g;
  EXPECT_TRUE(b.visible(ELEV, TRIM_INDEX));
  b.night();
  b.frames();
  EXPECT_FALSE(b.visible(RUD, NEEDLE));
  EXPECT_TRUE(b.visible(RUD, NEEDLE + 2)) << "night copy";

  b->set_token(ELEVATOR, -8000);
  b->set_token(AILERON, 8000);
  b->set_token(RUDDER, 20000);
  b.frames();
  EXPECT_EQ(b.state("surf_elev_ind"), -6000);
  EXPECT_EQ(b.state("surf_ail_ind"), 11000);
  EXPECT_EQ(b.state("surf_rud_ind"), 25000) << "held on the dial";
  // The flight-control hydraulics go (the start panel's automation notes it in this update).
  b.set("hydrau_press_blue", 0);
  b.frames();
  b->set_token(ELEVATOR, 4000);
  b->set_token(AILERON, 0);
  b.frames();
  EXPECT_EQ(b.state("surf_elev_ind"), -6000);
  EXPECT_EQ(b.state("surf_ail_ind"), 11000);
  b.set("hydrau_press_blue", 3000);
  b.set("elec_ac_instr", 0);
  b.frames();
  EXPECT_EQ(b.state("surf_elev_ind"), -6000);
  b.set("elec_ac_instr", 1);
  b.frames();
  EXPECT_EQ(b.state("surf_elev_ind"), 7500);

  b->click(RUD, 10, 10);
  b.frames();
  for (const char* g : {ELEV, AIL, RUD})
    EXPECT_FALSE(b.visible(g, NEEDLE + 2)) << g;
}

TEST(SurfaceIndicators, TrimIndexWithAndWithoutTheCorrection) {
  Bed b;
  b->click(ELEV, 60, 60);
  b->set_token(TRIM, 14000);
  b.frames();
  EXPECT_EQ(b.state("surf_trim_ind"), 15) << "without TRIM_CORR";
  b->set_named("TRIM_CORR", 1.0);
  b.frames();
  EXPECT_EQ(b.state("surf_trim_ind"), 15) << "16.5 shown as 15";
  b->set_token(TRIM, -4000);
  b.frames();
  EXPECT_EQ(b.state("surf_trim_ind"), 7.5);
  b->set_named("TRIM_CORR", 0.5);
  b.frames();
  EXPECT_EQ(b.state("surf_trim_ind"), 6);
  b->set_token(TRIM, -30000);
  b.frames();
  EXPECT_EQ(K7_COPY(b->element(ELEV, TRIM_INDEX)->value_y), 0) << "kept within its travel";
}

TEST(ThrottleReadout, ShowsTheLeversWhileTheyMoveAndFor36TicksAfter) {
  Bed b;
  b.pin_engines(0, 0);
  b.frames(2);
  EXPECT_FALSE(b.visible(READOUT, LEFT_UNITS)) << "off while the levers rest";
  b->set_token(THROTTLE_1, 0.855);
  b->set_token(THROTTLE_2, 1.0);
  b.frames(2);
  EXPECT_EQ(b.state("thr_digits_left[0]"), 0);
  EXPECT_EQ(b.state("thr_digits_left[1]"), 8);
  EXPECT_EQ(b.state("thr_digits_left[2]"), 5);
  EXPECT_EQ(K7_COPY(b->element(READOUT, RIGHT_HUNDREDS)->value_y), 1);
  EXPECT_TRUE(b.visible(READOUT, LEFT_UNITS));
  // The lever keeps moving for 60 updates: the readout stays on until 36 ticks after it stops.
  for (int i = 0; i < 60; ++i) {
    b->set_token(THROTTLE_1, 0.2 + 0.01 * (i % 2));
    b.frames();
    ASSERT_TRUE(b.visible(READOUT, LEFT_UNITS)) << i;
  }
  const int on_for = b.frames_until(100, [&] { return !b.visible(READOUT, LEFT_UNITS); });
  EXPECT_GE(on_for, 35);
  EXPECT_LE(on_for, 37);

  // Engine 1 on fire: the left readout shows lever 2; extinguished, 000.
  b.set("eng1_fire", 1);
  b.frames();
  EXPECT_EQ(b.state("thr_digits_left[0]"), 1);
  b.set("eng1_fire", 3);
  b.set("eng1_extinct_fired", 1);
  b.frames();
  EXPECT_EQ(b.state("thr_digits_left[1]") + b.state("thr_digits_left[2]"), 0);
}

TEST(ThrottleReadout, ClickSwitchesItOffWithItsLabelAndBackOn) {
  Bed b;
  b.pin_engines(0, 0);
  b.frames();
  b->click(READOUT, 60, 8);
  b.frames();
  EXPECT_TRUE(b.visible(READOUT, LABEL));
  b->set_token(THROTTLE_2, 0.5);
  const int label_for = b.frames_until(100, [&] { return !b.visible(READOUT, LABEL); });
  EXPECT_GE(label_for, 35);
  EXPECT_LE(label_for, 37);
  EXPECT_FALSE(b.visible(READOUT, LEFT_UNITS)) << "switched off: a lever movement shows nothing";
  EXPECT_EQ(b.state("thr_readout_mode"), 1);
  b->click(READOUT, 60, 8);
  b.frames();
  EXPECT_TRUE(b.visible(READOUT, LEFT_UNITS)) << "on at once";
  EXPECT_FALSE(b.visible(READOUT, LABEL));
}

} // namespace
