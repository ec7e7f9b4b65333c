// The captain's attitude director and horizontal situation indicator on the main panel, driven
// through the stand-in: the sphere toppling and erecting with the TADG, the knobs round north,
// the drums and readouts, the glide slope, and what a gyro or heading failure leaves on the dial.
#include "k7test.h"

#include <vector>

namespace {

using namespace k7test;

const char* const ADI = "kestovil fdadi_k7";
const char* const HSI = "kestovil hsi_k7";

constexpr std::uint32_t TICK = 0x1, DME1 = 0x1F, DME2 = 0x23, CDI = 0x28, GSI = 0x29;
constexpr std::uint32_t TO_FROM = 0x2B, GS_VALID = 0x2C, COURSE = 0x2D, CODES = 0x2E;
constexpr std::uint32_t SIGNAL = 0x31, PITCH = 0x4E, BANK = 0x50, HEADING = 0x54;
constexpr std::uint32_t KEY_NAV1_COURSE = 0x100B4;

// Elements by their place in the chain.
constexpr int SPHERE = 1, FLAG_FD = 4, FLAG_ATT = 5, FACE_NIGHT = 9;
constexpr int COURSE_PTR = 2, NAV_FLAG = 3, FROM = 4, TO = 5, DEV_BAR = 6, GS_SCALE = 7,
              GS_FLAG = 9, MARKER = 10, CRS_UNITS = 12, DME_UNITS = 15, DME_SRC2 = 18,
              DME_SHUTTER = 19, HDG_FLAG = 24, GPS = 25, HDG_UNITS = 26;

// Click points inside the knob areas.
struct Point {
  int x, y;
};
constexpr Point COURSE_DOWN_1{30, 224}, COURSE_UP_1{72, 224}, COURSE_DOWN_10{30, 266},
    COURSE_UP_10{72, 266}, HEADING_DOWN_1{277, 224}, HEADING_UP_1{319, 224},
    HEADING_DOWN_10{277, 266}, HEADING_UP_10{319, 266}, DME_SOURCE{250, 40};

// The main panel with the gyro supplied and both radio buses on.
struct Cockpit : Bed {
  Cockpit() {
    set("elec_ac_ess", 1);
    set("elec_tadg_on", 1);
    set("elec_bus_radio1", 1);
    set("elec_bus_radio2", 1);
  }
  // A localizer with a glide slope, received on NAV 1.
  void tune_ils() {
    sim->set_token(CODES, 0x80 | 0x40);
    sim->set_token(SIGNAL, 1);
    sim->set_token(GS_VALID, 1);
  }
  void gyro(bool on) { set("elec_tadg_on", on); }
  void click(Point p) { sim->click(HSI, p.x, p.y); }
  double bank() const { return state("adi_bank_ind"); }
  // A moving image's or sprite's vertical value, as last drawn.
  double drawn_y(const char* gauge, int element) const {
    return K7_COPY(sim->element(gauge, element)->value_y);
  }
};

// ---- attitude director

TEST(AttitudeDirector, TopplesToSixtyDegreesOfBankAndLevelPitchWithoutTheTadg) {
  Cockpit c;
  c->set_token(PITCH, 10);
  c.frames();
  c.gyro(false);
  c.frames(3);
  EXPECT_EQ(c.drawn_y(ADI, SPHERE), 7) << "pitch sinks a degree an update";
  c.frames(27);
  EXPECT_EQ(c.bank(), 30);
  EXPECT_EQ(c.state("adi_pitch_ind"), 0);
  c.frames(29);
  EXPECT_EQ(K7_COPY(c->element(ADI, SPHERE)->value_r), 60);
  c.frames(10);
  EXPECT_EQ(c.bank(), 60) << "the toppled gyro rests at 60";
}

TEST(AttitudeDirector, ErectsTheShorterWayAndSnapsWithinTwoDegrees) {
  struct Case {
    double bank;
    int updates_to_snap, probe; // after `probe` updates...
    double probe_shown;         // ...the display shows this
  };
  for (const Case& k : {Case{30, 29, 28, 32}, Case{-150, 150, 121, -180},
                        Case{-150, 150, 149, -152}, Case{100, 39, 30, 90}}) {
    SCOPED_TRACE(k.bank);
    Cockpit c;
    c.gyro(false);
    c.frames(60);
    c->set_token(BANK, k.bank);
    c.gyro(true);
    c.frames(k.probe);
    EXPECT_NEAR(c.bank(), k.probe_shown, 1e-9);
    c.frames(k.updates_to_snap - k.probe - 1);
    EXPECT_NE(c.bank(), k.bank);
    EXPECT_EQ(c.state("adi_bank_erecting"), 1);
    c.frames();
    EXPECT_EQ(c.bank(), k.bank);
    EXPECT_EQ(c.state("adi_bank_erecting"), 0);
  }
}

// The toppled gyro leaves the pitch near level until the aircraft pitches away. (A short topple
// that left it well off level, turning back toward the true pitch, is the unit test GyroPitch and,
// through the stand-in, the standby horizon's test, which shares the routine.)
TEST(AttitudeDirector, PitchErectsOnlyAwayFromLevelAndStopsAtTheSphereStop) {
  Cockpit c;
  c.gyro(false);
  c.frames(20);
  c->set_token(PITCH, 1.5);
  c.gyro(true);
  c.frames(20);
  EXPECT_EQ(c.state("adi_pitch_ind"), 0);
  c->set_token(PITCH, 5);
  c.frames(3);
  EXPECT_EQ(c.state("adi_pitch_ind"), 3);
  c.frames();
  EXPECT_EQ(c.state("adi_pitch_ind"), 5);

  for (double beyond : {50.0, -60.0}) { // drawn at the sphere's stop
    c->set_token(PITCH, beyond);
    c.frames();
    EXPECT_EQ(c.drawn_y(ADI, SPHERE), beyond > 0 ? 43 : -43);
    EXPECT_EQ(c.state("adi_pitch_ind"), beyond > 0 ? 43 : -43);
  }
}

TEST(AttitudeDirector, FailureTokensShowBothFlagsWithoutTopplingTheSphere) {
  for (std::uint32_t token : {0x114u, 0x120u}) {
    Cockpit c;
    c->set_token(BANK, 30);
    c.frames();
    EXPECT_FALSE(c.visible(ADI, FLAG_ATT));
    c->set_token(token, 1);
    c.frames(5);
    EXPECT_TRUE(c.visible(ADI, FLAG_ATT) && c.visible(ADI, FLAG_FD));
    EXPECT_EQ(c.bank(), 30);
    c->set_token(token, 0);
    c.frames();
    EXPECT_FALSE(c.visible(ADI, FLAG_ATT)) << "the gyro is supplied";
  }
}

TEST(AttitudeDirector, LeftPointerRestsAndNightArtworkSwapsIn) {
  Cockpit c;
  EXPECT_EQ(c.state("adi_speed_index"), 5);
  c.frames();
  EXPECT_EQ(c.state("adi_speed_index"), 10);
  c.night();
  c.frames();
  EXPECT_TRUE(c.visible(ADI, FACE_NIGHT) && c.visible(ADI, 10) && c.visible(HSI, 22));
  EXPECT_FALSE(c.visible(ADI, 0) || c.visible(ADI, 8) || c.visible(HSI, 20));
}

// ---- horizontal situation indicator: knobs

TEST(HsiKnobs, CourseKnobSendsTheNextCourseRoundNorth) {
  struct Case {
    double course;
    Point area;
    std::uint32_t sent;
  };
  for (const Case& k :
       {Case{359, COURSE_UP_1, 0}, Case{355, COURSE_UP_10, 5}, Case{5, COURSE_DOWN_10, 355},
        Case{0, COURSE_DOWN_1, 359}, Case{100, COURSE_DOWN_1, 99}, Case{0.5, COURSE_DOWN_1, 359},
        Case{359.5, COURSE_UP_1, 0}, Case{355.5, COURSE_UP_10, 5}, Case{350.5, COURSE_UP_10, 360},
        Case{9.5, COURSE_DOWN_10, 359}}) {
    SCOPED_TRACE(k.course);
    Cockpit c;
    c->set_token(COURSE, 200); // an earlier course
    c.frames();
    c->set_token(COURSE, k.course);
    c.frames();
    const auto since = c->frame_count();
    c.click(k.area);
    EXPECT_EQ(c.keys(KEY_NAV1_COURSE, since), 1u);
    EXPECT_EQ(c->key_events().back().value, k.sent);
  }
}

// The step round north case by case is the unit test HeadingKnob; here each area and several
// clicks within one update.
TEST(HsiKnobs, HeadingKnobStepsTheSelectionRoundNorth) {
  struct Case {
    int from;
    std::vector<Point> clicks; // within one update
    int to;
  };
  for (const Case& k : {Case{350, {HEADING_UP_10, HEADING_UP_1}, 0}, Case{0, {HEADING_DOWN_1}, 359},
                        Case{15, {HEADING_DOWN_10, HEADING_DOWN_10}, 355}}) {
    SCOPED_TRACE(k.from);
    Cockpit c;
    c.set("hsi_heading_sel", k.from);
    c.frames();
    for (Point p : k.clicks)
      c.click(p);
    EXPECT_EQ(c.state("hsi_heading_sel"), k.to);
  }
}

TEST(HsiKnobs, OnlyLeftClicksInsideTheAreasAct) {
  Cockpit c;
  c.frames();
  EXPECT_FALSE(c->click(HSI, COURSE_UP_1.x, COURSE_UP_1.y, MOUSE_RIGHTSINGLE));
  EXPECT_FALSE(c->click(HSI, 150, 150));
  EXPECT_FALSE(c->click(ADI, 100, 100));
  c.frames();
  EXPECT_EQ(c.keys(KEY_NAV1_COURSE), 0u);
  EXPECT_FALSE(c.visible(HSI, HDG_UNITS));
}

// ---- horizontal situation indicator: readouts

TEST(HsiReadouts, HeadingReadoutShowsThirtyTicksFromItsLastClick) {
  Cockpit c;
  c.set("hsi_heading_sel", 123);
  c.frames();
  c.click(HEADING_UP_1);
  EXPECT_FALSE(c.visible(HSI, HDG_UNITS));
  c.frames();
  EXPECT_TRUE(c.visible(HSI, HDG_UNITS));
  EXPECT_EQ(c.drawn_y(HSI, HDG_UNITS + 2) * 100 + c.drawn_y(HSI, HDG_UNITS + 1) * 10 +
                c.drawn_y(HSI, HDG_UNITS),
            124);
  const double t0 = c.state("hsi_hdg_readout_t0");
  c.frames(20);
  c.click(HEADING_UP_1); // restarts the period
  c.frames(2);
  const double t1 = c.state("hsi_hdg_readout_t0");
  EXPECT_EQ(t1, t0 + 22);
  c.frames_until(100, [&] { return c->token(TICK) == t1 + 29; });
  EXPECT_TRUE(c.visible(HSI, HDG_UNITS));
  c.frames();
  EXPECT_FALSE(c.visible(HSI, HDG_UNITS));

  // A readout whose moment passed without an update at that very tick still goes out.
  c.click(HEADING_DOWN_1);
  c.frames();
  c.set("hsi_hdg_readout_t0", c->token(TICK) - 40);
  c.frames();
  EXPECT_FALSE(c.visible(HSI, HDG_UNITS));
}

TEST(HsiReadouts, DmeDrumsTurnOverLikeAnOdometerFromEitherReceiver) {
  struct Case {
    double distance;
    double hundreds, tens, units;
  };
  for (const Case& k : {Case{123.4, 1, 2, 3.4}, Case{199.5, 1.5, 9.5, 9.5}}) {
    SCOPED_TRACE(k.distance);
    Cockpit c;
    c->set_token(DME1, k.distance);
    c.frames();
    EXPECT_FALSE(c.visible(HSI, DME_SHUTTER));
    EXPECT_NEAR(c.drawn_y(HSI, DME_UNITS + 2), k.hundreds, 1e-6);
    EXPECT_NEAR(c.drawn_y(HSI, DME_UNITS + 1), k.tens, 1e-6);
    EXPECT_NEAR(c.drawn_y(HSI, DME_UNITS), k.units, 1e-6);
  }
  Cockpit c;
  c->set_token(DME1, 12);
  c->set_token(DME2, 34);
  c.click(DME_SOURCE);
  c.frames();
  EXPECT_TRUE(c.visible(HSI, DME_SRC2));
  EXPECT_EQ(c.state("hsi_dme_dist"), 34);
  c->set_token(DME2, -1); // a negative distance: no DME
  c.frames();
  EXPECT_TRUE(c.visible(HSI, DME_SHUTTER));
  EXPECT_EQ(c.state("hsi_dme_dist"), 0);
  c.click(DME_SOURCE);
  c.frames();
  EXPECT_FALSE(c.visible(HSI, DME_SRC2));
  EXPECT_EQ(c.state("hsi_dme_dist"), 12);
}

TEST(HsiReadouts, CourseDrumsRollAQuarterAnUpdateAndSettleOnTheCourse) {
  // (A drum left between quarter positions is the unit test Drum.)
  for (double course : {125.0, 125.7}) {
    SCOPED_TRACE(course);
    Cockpit c;
    c->set_token(COURSE, course);
    c.frames();
    EXPECT_EQ(c.drawn_y(HSI, CRS_UNITS), 0.25);
    c.frames(30);
    EXPECT_EQ(c.drawn_y(HSI, CRS_UNITS + 1), 2);
    EXPECT_EQ(c.drawn_y(HSI, CRS_UNITS + 2), 1);
    for (int i = 0; i < 2; ++i, c.frames())
      EXPECT_NEAR(c.drawn_y(HSI, CRS_UNITS), course - 120, 1e-9) << "settled";
  }
}

// ---- horizontal situation indicator: NAV 1 and failures

TEST(HsiNav, GlideSlopePointerFollowsWithinItsTravel) {
  for (auto [deviation, settles] : {std::pair{120.0, 11.0}, {200.0, 11.0}, {-200.0, 0.0}}) {
    SCOPED_TRACE(deviation);
    Cockpit c;
    c.tune_ils();
    c->set_token(GSI, deviation);
    c.frames(3);
    if (deviation == 120) {
      EXPECT_EQ(c.state("hsi_gs_ptr"), 3) << "one unit an update";
    }
    c.frames(15);
    for (int i = 0; i < 3; ++i, c.frames())
      EXPECT_EQ(c.state("hsi_gs_ptr"), settles);
  }
}

TEST(HsiNav, GlideSlopeFlagNeedsAGlideSlopeStationAndTheArrowsTheBoxOn) {
  Cockpit c;
  c.tune_ils();
  c.frames();
  EXPECT_TRUE(c.visible(HSI, GS_SCALE) && !c.visible(HSI, GS_FLAG));
  c->set_token(GS_VALID, 0);
  c.frames();
  EXPECT_TRUE(c.visible(HSI, GS_FLAG));
  c->set_token(CODES, 0x80); // a localizer alone
  c.set("hsi_gs_ptr", 5);
  c.frames(5);
  EXPECT_FALSE(c.visible(HSI, GS_FLAG) || c.visible(HSI, GS_SCALE));
  EXPECT_EQ(c.state("hsi_gs_ptr"), 0);
  c.frames(3);
  EXPECT_EQ(c.state("hsi_gs_ptr"), -1) << "stowed";

  // The TO-FROM arrows and the NAV flag need the NAV box on.
  c->set_token(CODES, 0x80 | 0x40);
  c->set_token(TO_FROM, 2);
  c.frames();
  EXPECT_TRUE(c.visible(HSI, FROM) && !c.visible(HSI, TO) && !c.visible(HSI, NAV_FLAG));
  c.set("radio_vordme_sel1", 0);
  c->set_token(TO_FROM, 1);
  c.frames();
  EXPECT_TRUE(c.visible(HSI, FROM)) << "the arrows keep their state";
  EXPECT_TRUE(c.visible(HSI, NAV_FLAG));
}

TEST(HsiNav, GyroOrPanelPowerLossFreezesTheDialAndRaisesTheFlags) {
  for (bool gyro_lost : {true, false}) {
    SCOPED_TRACE(gyro_lost ? "TADG off" : "token 0x117");
    Cockpit c;
    c.tune_ils();
    c->set_token(HEADING, 45);
    c->set_token(COURSE, 90);
    c->set_token(CDI, 50);
    c->set_token(DME1, 12);
    c->set_token(TO_FROM, 1);
    c->set_token(0x350, 1); // GPS drives NAV 1
    c.click(DME_SOURCE);
    c.frames();
    EXPECT_EQ(c.value(HSI, DEV_BAR), 50);
    EXPECT_FALSE(c.visible(HSI, HDG_FLAG));
    if (gyro_lost)
      c.gyro(false);
    else
      c->set_token(0x117, 1);
    c->set_token(HEADING, 80);
    c->set_token(COURSE, 120);
    c.frames();
    for (int e : {NAV_FLAG, GS_FLAG, DME_SHUTTER, HDG_FLAG})
      EXPECT_TRUE(c.visible(HSI, e)) << e;
    for (int e : {TO, FROM, GS_SCALE})
      EXPECT_FALSE(c.visible(HSI, e)) << e;
    if (!gyro_lost) continue;
    EXPECT_EQ(c.state("hsi_card_heading"), 45);
    EXPECT_EQ(c.value(HSI, COURSE_PTR), 405);
    EXPECT_EQ(c.value(HSI, MARKER), 315);
    EXPECT_EQ(c.value(HSI, DEV_BAR), 0);
    EXPECT_EQ(c.state("hsi_dme_src"), 1);
    EXPECT_FALSE(c.visible(HSI, DME_SRC2) || c.visible(HSI, GPS));
  }
  Cockpit c; // the heading failure token raises the heading flag alone
  c->set_token(0x11A, 1);
  c.frames();
  EXPECT_TRUE(c.visible(HSI, HDG_FLAG));
}

} // namespace
