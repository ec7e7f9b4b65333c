// The landing-aid lamps around the autopilot: the coupling supervision and its alarm, the flashing
// disconnect lamp, the approach flag, the deviation lamps, the autothrottle lamp and the test.
#include "behaviour/k7test.h"

#include <string>

namespace {

using namespace k7test;

const char* const FLASH = "kestovil land_flash_ap_light_k7";
const char* const FLAG = "kestovil land_flag_light_k7";
const char* const LOC = "kestovil land_dev_loc_light_k7";
const char* const GLIDE = "kestovil land_dev_glide_light_k7";
const char* const COUPLING = "kestovil land_coupl_light_k7";
const char* const THR = "kestovil land_thr_light_k7";
const char* const REMINDER = "kestovil land_testrem_light_k7";
const char* const TEST = "kestovil land_test_sw_k7";
constexpr int LIT = 1; // every lamp: its face, then the lit lamp over it

constexpr double METRES_PER_FOOT = 1 / 3.281;

// Engaged on the localizer and glide (the flight director captures both) with the essential bus.
struct Coupled : Bed {
  Coupled() {
    autopilot_supplies(*this);
    set("elec_bus_ess", 1);
    set("hydrau_press_blue", 3000);
    sim->set_token(0x2c, 1.0); // glide received
    sim->set_token(0x31, 1.0); // receiver signal
    sim->set_token(0x266, 1000 * METRES_PER_FOOT);
    sim->click(AP_READY, 20, 20);
    frames();
    sim->click(AP_PANEL, 30, 20); // ENGAGE
    frames(2);
  }
  void approach() { sim->click(AP_PANEL, 90, 80); }
  void height(double feet) { sim->set_token(0x266, feet * METRES_PER_FOOT); }
  bool lit(const char* lamp) const { return visible(lamp, LIT); }
};

TEST(LandingAids, AutopilotLostWhileCoupledAlarmsAndFlashesThenForgets) {
  struct Loss {
    const char* how;
    void (*lose)(Coupled&);
  } losses[] = {
      {"master off by the simulator", [](Coupled& b) { b->set_token(0x67, 0.0); }},
      {"READY switched off", [](Coupled& b) { b->click(AP_READY, 20, 20); }},
  };
  for (const Loss& loss : losses) {
    SCOPED_TRACE(loss.how);
    Coupled bed;
    EXPECT_FALSE(bed.lit(COUPLING));
    loss.lose(bed);
    std::string flashing;
    int alarm = 0;
    for (int tick = 0; tick < 84; ++tick) {
      bed.frames();
      flashing += bed.lit(FLASH) ? '*' : '.';
      if (bed.lit(COUPLING)) ++alarm;
      if (tick == 2) {
        EXPECT_NE(bed.state("warn_req_coupl"), 0) << "alarm 9 requested";
      }
      if (tick == 40) { // the chime has taken it, whether or not its gauge runs here
        bed.set("warn_req_coupl", 2);
        bed.set("warn_chime_id", 9);
      }
    }
    EXPECT_EQ(alarm, 77);
    std::string blinks;
    for (int i = 0; i < 10; ++i)
      blinks += "****....";
    const std::size_t start = flashing.find('*');
    EXPECT_LE(start, 1u);
    EXPECT_EQ(flashing.substr(start, 80), blinks);
    EXPECT_EQ(flashing.find('*', start + 80), std::string::npos) << flashing;
    EXPECT_EQ(bed.state("ap_coupled"), 0) << "the coupling is forgotten";
    EXPECT_EQ(bed.state("warn_req_coupl"), 0);
    EXPECT_EQ(bed.state("warn_chime_id"), 0);
  }
  Coupled bed;
  bed->click(AP_PANEL, 30, 20); // a deliberate disconnect
  bed.frames(10);
  EXPECT_FALSE(bed.lit(COUPLING));
  EXPECT_FALSE(bed.lit(FLASH));
  EXPECT_EQ(bed.state("warn_req_coupl"), 0);
}

TEST(LandingAids, FlashingEndsAtOrPastItsMomentsAndResetsWithoutTheBus) {
  Coupled bed;
  bed.frames(100); // ticks to go back from
  bed->set_token(0x67, 0.0);
  bed.frames(2);
  EXPECT_TRUE(bed.lit(FLASH));
  bed.set("land_flash_phase", bed->token(0x1) - 9); // a blink moment went by unseen
  bed.frames();
  EXPECT_TRUE(bed.lit(FLASH));
  EXPECT_EQ(bed.state("land_flash_phase"), bed->token(0x1)) << "the blink renewed";
  bed.set("land_flash_start", bed->token(0x1) - 81); // and the end
  bed.frames();
  EXPECT_EQ(bed.state("land_flash_run"), 0);
  EXPECT_FALSE(bed.lit(FLASH));

  Coupled dark;
  dark->set_token(0x67, 0.0);
  dark.frames(2);
  dark.set("elec_bus_ess", 0);
  dark.frames();
  for (const char* name : {"land_flash_run", "land_flash_req", "land_flash_alt"})
    EXPECT_EQ(dark.state(name), 0) << name;
  for (const char* lamp : {FLASH, FLAG, LOC, GLIDE, COUPLING, THR, REMINDER})
    EXPECT_FALSE(dark.lit(lamp)) << lamp;
}

TEST(LandingAids, AlarmAndFlagTestPeriodsEndAtOrPastTheirTick) {
  Coupled lost;
  lost->set_token(0x67, 0.0);
  lost.frames(2);
  EXPECT_EQ(lost.state("land_coupl_state"), 1);
  lost.set("land_coupl_timer", lost->token(0x1) - 1); // its tick went by unseen
  lost.frames();
  EXPECT_EQ(lost.state("land_coupl_state"), 0);
  EXPECT_EQ(lost.state("land_coupl_timer_on"), 0);
  EXPECT_EQ(lost.state("ap_coupled"), 0) << "the coupling forgotten all the same";

  Coupled tested;
  tested.approach();
  tested->click(TEST, 40, 10);
  tested.frames(2);
  EXPECT_TRUE(tested.lit(FLAG));
  tested.set("land_flag_timer", tested->token(0x1) - 1);
  tested.frames();
  EXPECT_FALSE(tested.lit(FLAG)) << "the flag's test period over";
  EXPECT_EQ(tested.state("land_flag_timer_on"), 2);
  tested.frames(90);
  EXPECT_EQ(tested.state("land_test"), 2);
  tested->click(AP_PANEL, 90, 80); // the approach button, off: the test is forgotten
  EXPECT_EQ(tested.state("ap_appr"), 0);
  EXPECT_EQ(tested.state("land_test"), 0);
}

TEST(LandingAids, ClickOnTheFlashingLampTogglesTheBlinkPhaseAndLocksTheOverview) {
  Coupled bed;
  bed.set("panel_overview_lock", 0);
  EXPECT_TRUE(bed->click(FLASH, 14, 14));
  EXPECT_EQ(bed.state("blink_phase"), 1);
  EXPECT_EQ(bed.state("panel_overview_lock"), 1);
  bed.set("panel_overview_lock", 2);
  bed->click(FLASH, 27, 27);
  EXPECT_EQ(bed.state("blink_phase"), 0);
  EXPECT_EQ(bed.state("panel_overview_lock"), 2);
}

TEST(LandingAids, DeviationLampsByHeightAndMode) {
  Coupled bed;
  bed.set("fd_gs_state", 2);
  bed->set_token(0x6f, 1.0);
  struct Case {
    double feet, loc_dev, glide_dev;
    bool loc, glide;
  } cases[] = {
      {80, 0, 30, false, false},     {150, 0, 30, false, true},  {80, 0, -41, false, true},
      {60, 0, 50, false, false},     {150, 0, 22, false, false}, {1000, 12, 0, false, false},
      {1000, -12.5, 0, true, false},
  };
  for (const Case& c : cases) {
    bed.height(c.feet);
    bed->set_token(0x28, c.loc_dev);
    bed->set_token(0x29, c.glide_dev);
    bed.frames(2);
    EXPECT_EQ(bed.lit(LOC), c.loc) << c.feet << " ft, localizer " << c.loc_dev;
    EXPECT_EQ(bed.lit(GLIDE), c.glide) << c.feet << " ft, glide " << c.glide_dev;
  }
  bed->set_token(0x6f, 0.0); // neither the simulator's approach nor the FD in APPROACH
  bed.frames(2);
  EXPECT_FALSE(bed.lit(LOC));
  bed.set("fd_mode_sel", 4);
  bed.frames(2);
  EXPECT_TRUE(bed.lit(LOC));
}

TEST(LandingAids, ApproachFlagAndTheCouplingAlarmWhenTheGlideIsLost) {
  Coupled bed;
  bed.approach();
  bed.height(150);
  bed->set_token(0x80, 12799);
  bed->set_token(0xa3, 16383);
  bed->set_token(0x2c, 0.0);
  bed.frames(2);
  EXPECT_TRUE(bed.lit(FLAG));
  EXPECT_EQ(bed.state("land_coupl_mode"), 2);
  EXPECT_EQ(bed.state("land_coupl_state"), 1);
  EXPECT_TRUE(bed.lit(COUPLING));
  bed->set_token(0x2c, 1.0);
  bed.frames();
  EXPECT_FALSE(bed.lit(FLAG)) << "cleared as the glide comes back in the approach";

  Coupled climb; // at go-around thrust the missing glide is no fault
  climb.approach();
  climb.height(150);
  climb->set_token(0x80, 12800);
  climb->set_token(0xa3, 12800);
  climb->set_token(0x2c, 0.0);
  climb.frames(2);
  EXPECT_FALSE(climb.lit(FLAG));
}

TEST(LandingAids, AutothrottleLampLatchesOnAnEngineBelowTen) {
  Coupled bed;
  bed->click("kestovil autothr_k7", 100, 40); // engaged and armed
  EXPECT_EQ(bed->token(0x73), 1.0);
  bed->set_token(0x270, 50);
  bed->set_token(0x283, 9);
  bed.frames();
  EXPECT_TRUE(bed.lit(THR));
  bed->set_token(0x283, 50);
  bed.frames();
  EXPECT_TRUE(bed.lit(THR)) << "latched";
  bed->click("kestovil autothr_k7", 100, 40); // disengaged: disarmed
  bed.frames();
  EXPECT_FALSE(bed.lit(THR));
}

TEST(LandingAids, TestReminderAndTheTest) {
  Coupled bed;
  bed.approach();
  bed.height(301);
  bed.frames();
  EXPECT_FALSE(bed.lit(REMINDER));
  bed.height(300);
  bed.frames();
  EXPECT_TRUE(bed.lit(REMINDER));
  bed->click(REMINDER, 10, 10);
  bed.frames(3);
  EXPECT_FALSE(bed.lit(REMINDER)) << "acknowledged";

  Coupled tested;
  tested.approach();
  tested.height(300);
  tested.frames();
  EXPECT_TRUE(tested.lit(REMINDER));
  tested->click(TEST, 40, 10);
  EXPECT_EQ(tested.state("land_test"), 1);
  for (int frame = 0; frame < 2; ++frame) {
    tested.set("ralt_valid", 1); // the radio altimeter valid (it is off in this bed)
    tested.frames();
  }
  EXPECT_FALSE(tested.lit(REMINDER));
  for (const char* lamp : {FLAG, LOC, GLIDE, COUPLING, FLASH})
    EXPECT_TRUE(tested.lit(lamp)) << lamp << " lit by the test";
  EXPECT_EQ(tested.state("warn_req_coupl"), 0) << "no alarm for a test";
  tested.frames(77);
  EXPECT_EQ(tested.state("land_test"), 2) << "done, the approach still on";
  for (const char* lamp : {FLAG, COUPLING, REMINDER})
    EXPECT_FALSE(tested.lit(lamp)) << lamp;

  Coupled no_ralt; // the radio altimeter invalid: the coupling lamp stays dark in the test
  no_ralt.set("ralt_valid", 0);
  no_ralt->click(TEST, 40, 10);
  no_ralt.frames(2);
  EXPECT_EQ(no_ralt.state("land_coupl_mode"), 3);
  EXPECT_FALSE(no_ralt.lit(COUPLING));
  EXPECT_FALSE(no_ralt.lit(FLASH));

  Coupled dark;
  dark.set("elec_bus_ess", 0);
  dark->click(TEST, 40, 10);
  EXPECT_EQ(dark.state("land_test"), 0) << "the test needs the essential bus";
}

} // namespace
