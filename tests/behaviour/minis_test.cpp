// The pedestal's copies of captain's instruments: the attitude director copy shows what the
// full-size one computes, and the coupled-approach lamp copy runs the lamp's own rule.
#include "k7test.h"

namespace {

using namespace k7test;

const char* const ADI_MINI = "kestovil fdadimini_k7";
const char* const COUPL_MINI = "kestovil land_coupl_lightmini_k7";
constexpr std::uint32_t BANK = 0x50, ATTITUDE_FAIL = 0x114;
constexpr int SPHERE = 1, FLAG_FD = 4, FLAG_ATT = 5;

TEST(Miniatures, AttitudeCopyFollowsTheAttitudeDirector) {
  Bed b({THROTTLES});
  b.set("elec_tadg_on", 1);
  b->set_token(BANK, 30);
  b.frames(2);
  EXPECT_EQ(K7_COPY(b->element(ADI_MINI, SPHERE)->value_r), 30);
  EXPECT_FALSE(b.visible(ADI_MINI, FLAG_ATT));
  b->set_token(ATTITUDE_FAIL, 1);
  b.frames();
  shows(b, ADI_MINI, {FLAG_FD, FLAG_ATT});
  EXPECT_EQ(K7_COPY(b->header(ADI_MINI)->mouse_rect[0].help_id), 43789);
}

TEST(Miniatures, RadioAltimeterCopySwitchStartsTheRadioAltimeter) {
  const char* const RALT_MINI = "kestovil raltmini_k7";
  constexpr int OFF_FLAG = 4, WARM_LIGHT = 5;
  Bed b({THROTTLES});
  b.set("elec_ac_main", 1);
  b.frames();
  EXPECT_TRUE(b.visible(RALT_MINI, OFF_FLAG));
  b->click(RALT_MINI, 195, 20); // switch on
  b.frames(2);
  EXPECT_EQ(b.state("ralt_on"), 1);
  EXPECT_TRUE(b.visible(RALT_MINI, WARM_LIGHT)) << "warming up, on the copy too";
  EXPECT_EQ(b.visible(RALT_MINI, WARM_LIGHT), b.visible("kestovil ralt_k7", WARM_LIGHT));
}

TEST(Miniatures, AirspeedCopyMovesTheSameMarkers) {
  Bed b({THROTTLES});
  const double low = b.state("ias_marker_low");
  b->click("kestovil iasmini_k7", 37, 20); // lower marker +1
  b.frames();
  EXPECT_EQ(b.state("ias_marker_low"), low + 1);
  EXPECT_EQ(b.value("kestovil iasmini_k7", 4), low + 1);
  EXPECT_EQ(b.value("kestovil ias_k7", 4), low + 1);
  EXPECT_FALSE(b->click("kestovil iasmini_k7", 100, 80)) << "no readout area on the copy";
}

TEST(Miniatures, CoupledApproachLampCopy) {
  Bed b({THROTTLES});
  b.set("elec_bus_ess", 1);
  b.frames();
  EXPECT_FALSE(b.visible(COUPL_MINI, 0));
  b.set("land_coupl_state", 1);
  b.frames();
  EXPECT_TRUE(b.visible(COUPL_MINI, 0));
  EXPECT_NE(b.state("warn_req_coupl"), 0) << "the alarm is asked for (the chime may take it)";
  b.set("land_test", 1);
  b.frames();
  EXPECT_FALSE(b.visible(COUPL_MINI, 0)) << "testing without a radio altitude";
  b.set("land_test", 0);
  b.frames();
  EXPECT_TRUE(b.visible(COUPL_MINI, 0));
  b.set("warn_req_coupl", 2);
  b.set("land_coupl_timer_on", 0); // the alarm period the test started is over
  b.set("land_coupl_mode", 0);
  b.set("land_coupl_state", 0);
  b.frames();
  EXPECT_FALSE(b.visible(COUPL_MINI, 0));
  EXPECT_EQ(b.state("warn_req_coupl"), 0) << "the accepted alarm clears with the coupling";
}

TEST(Miniatures, HsiCopyTakesTheHsiClicksAndShowsItsFlags) {
  const char* const HSI = "kestovil hsi_k7";
  const char* const HSI_MINI = "kestovil hsimini_k7";
  constexpr int FROM = 4, TO = 5, HDG_UNITS = 24;
  Bed b({THROTTLES});
  b.set("elec_ac_ess", 1);
  b.set("elec_tadg_on", 1);
  b.set("elec_bus_radio1", 1);
  b.set("radio_vordme_sel1", 1);
  b.set("hsi_heading_sel", 100);
  b.frames();
  b->click(HSI_MINI, 319, 224); // heading +1
  b.frames();
  EXPECT_EQ(b.state("hsi_heading_sel"), 101);
  EXPECT_TRUE(b.visible(HSI, 26)) << "the readout on the HSI";
  EXPECT_TRUE(b.visible(HSI_MINI, HDG_UNITS)) << "and on the copy";

  b->set_token(0x2B, 2); // FROM
  b.frames();
  EXPECT_TRUE(b.visible(HSI, FROM));
  shows(b, HSI_MINI, {FROM}, {TO});
  b->set_token(0x2B, 1);
  b.frames();
  shows(b, HSI_MINI, {TO}, {FROM});
}

} // namespace
