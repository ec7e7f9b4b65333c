// The flight director mode selector and the autopilot panel through the stand-in: clicks, modes,
// lamps and the key events that set the simulator's autopilot.
#include "behaviour/k7test.h"

#include <cmath>
#include <vector>

namespace {

using namespace k7test;

// ---- the mode selector

struct Spot {
  int x, y;
};
constexpr Spot DRUM_UP{60, 10}, DRUM_DOWN{60, 40}, LEVER_LEFT{35, 20}, LEVER_RIGHT{95, 20};
constexpr Spot HEADING_BUTTON{65, 75}, LEFT_KNOB_DOWN{10, 10}, RIGHT_KNOB_UP{110, 60};

struct Selector {
  int sel, sub, push;
};

TEST(FdSelector, EveryCellOfTheTransitionTable) {
  Bed bed;
  const Spot controls[] = {DRUM_UP, DRUM_DOWN, LEVER_LEFT, LEVER_RIGHT};
  // From each position (HEADING pushed), where drum up, drum down, lever left, lever right lead.
  struct Row {
    Selector from;
    Selector to[4];
  } rows[] = {
      {{1, 0, 1}, {{1, 0, 0}, {2, 0, 1}, {1, 0, 1}, {1, 0, 1}}},
      {{2, 0, 1}, {{1, 0, 0}, {3, 0, 1}, {2, 2, 0}, {2, 1, 0}}},
      {{2, 1, 1}, {{1, 1, 0}, {6, 1, 1}, {2, 0, 0}, {2, 1, 0}}},
      {{2, 2, 1}, {{1, 2, 0}, {5, 2, 1}, {2, 2, 0}, {2, 0, 0}}},
      {{3, 0, 1}, {{2, 0, 1}, {4, 0, 0}, {5, 0, 0}, {6, 0, 0}}},
      {{5, 2, 1}, {{2, 2, 1}, {4, 2, 0}, {5, 2, 1}, {3, 2, 0}}},
      {{6, 1, 1}, {{2, 1, 1}, {4, 1, 0}, {3, 1, 0}, {6, 1, 1}}},
      {{4, 1, 1}, {{6, 1, 1}, {4, 1, 0}, {4, 1, 1}, {4, 1, 1}}},
  };
  for (const Row& row : rows)
    for (int c = 0; c < 4; ++c) {
      bed.set("fd_mode_sel", row.from.sel);
      bed.set("fd_mode_sub", row.from.sub);
      bed.set("fd_mode_push", row.from.push);
      bed->click(FD_SELECTOR, controls[c].x, controls[c].y);
      const Selector& to = row.to[c];
      SCOPED_TRACE(testing::Message()
                   << "from " << row.from.sel << "/" << row.from.sub << ", control " << c);
      EXPECT_EQ(bed.state("fd_mode_sel"), to.sel);
      EXPECT_EQ(bed.state("fd_mode_sub"), to.sub);
      EXPECT_EQ(bed.state("fd_mode_push"), to.push);
    }
}

TEST(FdSelector, HeadingTogglesOnlyInAltHoldOrIlsVorWithTheLeverCentred) {
  Bed bed;
  const Selector cases[] = {{2, 0, 1}, {3, 0, 1}, {2, 1, 0}, {2, 2, 0},
                            {1, 0, 0}, {4, 0, 0}, {5, 0, 0}, {6, 0, 0}};
  for (const Selector& c : cases) {
    bed.set("fd_mode_sel", c.sel);
    bed.set("fd_mode_sub", c.sub);
    bed.set("fd_mode_push", 0);
    bed->click(FD_SELECTOR, HEADING_BUTTON.x, HEADING_BUTTON.y);
    EXPECT_EQ(bed.state("fd_mode_push"), c.push) << c.sel << "/" << c.sub;
  }
  bed.set("fd_mode_sel", 3);
  bed->click(FD_SELECTOR, HEADING_BUTTON.x, HEADING_BUTTON.y);
  bed->click(FD_SELECTOR, HEADING_BUTTON.x, HEADING_BUTTON.y);
  EXPECT_EQ(bed.state("fd_mode_push"), 0) << "a second push releases it";
}

TEST(FdSelector, KnobsStopAtTheirLimitsAndTurnTheirImages) {
  Bed bed;
  bed.set("fd_knob_value", -23);
  bed->click(FD_SELECTOR, LEFT_KNOB_DOWN.x, LEFT_KNOB_DOWN.y);
  EXPECT_EQ(bed.state("fd_knob_value"), -23);
  bed.set("fd_knob_value", 22);
  bed->click(FD_SELECTOR, RIGHT_KNOB_UP.x, RIGHT_KNOB_UP.y);
  bed->click(FD_SELECTOR, RIGHT_KNOB_UP.x, RIGHT_KNOB_UP.y, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT);
  EXPECT_EQ(bed.state("fd_knob_value"), 23) << "held, the knob turns on to its stop";
  EXPECT_EQ(bed.state("fd_knob_anim"), 1) << "three clicks";
  bed.frames();
  shows(bed, FD_SELECTOR, {20, 21}, {18});
}

TEST(FdSelector, TheDrumShowsThePositionByDayAndByNight) {
  Bed bed;
  bed.frames();
  EXPECT_TRUE(bed.visible(FD_SELECTOR, 6)) << "ILS-VOR at load";
  bed->click(FD_SELECTOR, LEVER_RIGHT.x, LEVER_RIGHT.y);
  bed.night();
  bed.frames();
  EXPECT_TRUE(bed.visible(FD_SELECTOR, 16)) << "BLUE RIGHT, night copy";
  shows(bed, FD_SELECTOR, {}, {8, 14});
  EXPECT_EQ(bed->element(FD_SELECTOR, 16)->bitmap, 18512u);
}

// The flight director drives the attitude director's bars and flags.
TEST(FlightDirector, BarsAndFlagsOnTheAttitudeDirector) {
  Bed bed;
  const char* const adi = "kestovil fdadi_k7";
  constexpr int FD_FLAG = 4, ROLL_BAR = 7;
  bed.set("elec_ac_ess", 0);
  bed.frames(5);
  EXPECT_TRUE(bed.visible(adi, FD_FLAG));
  EXPECT_EQ(bed.state("fd_roll_bar"), 14) << "stowed";
  bed.set("elec_ac_ess", 1);
  bed->click(FD_SELECTOR, HEADING_BUTTON.x, HEADING_BUTTON.y);
  bed.set("hsi_heading_sel", 10);
  bed->set_token(0x54, 350); // 20 degrees right of the heading, across north
  bed.frames(5);
  EXPECT_FALSE(bed.visible(adi, FD_FLAG));
  EXPECT_EQ(bed.value(adi, ROLL_BAR), 7.25) << "the bar on a 25-degree bank command";
}

// ---- the autopilot panel

constexpr Spot ENGAGE{30, 20}, HEADING{30, 50}, NAV{60, 80}, APPROACH{90, 80}, ALT_A{150, 80},
    ALT_B{180, 80}, TURN_LEFT{70, 20}, TURN_CENTRE{100, 20}, TURN_RIGHT{130, 20}, WHEEL_UP{170, 20},
    WHEEL_DOWN{170, 45};
enum Lamp { LAMP_ENGAGE = 10, LAMP_HEADING, LAMP_NAV, LAMP_APPROACH, LAMP_ALT_A, LAMP_ALT_B };
constexpr int WHEEL_UP_IMAGE = 4, WHEEL_CENTRE_IMAGE = 5, READY_LAMP = 3;

enum : std::uint32_t {
  KEY_DISCONNECT = 0x100FF,
  KEY_ENGAGE = 0x10100,
  KEY_HEADING_OFF = 0x10117,
  KEY_LEVELER_OFF = 0x10119,
  KEY_NAV_OFF = 0x1011B,
  KEY_NAV_OFF_2 = 0x10115,
  KEY_APPROACH_OFF = 0x10116,
  KEY_VS_REF = 0x101F4,
  KEY_ALT_REF = 0x1024C,
  KEY_AILERON = 0x1009F,
};

// Ready, engaged and holding the pitch attitude at 5000 ft.
struct Engaged : Bed {
  Engaged() {
    autopilot_supplies(*this);
    sim->click(AP_READY, 20, 20);
    frames();
    press(ENGAGE);
    frames(2);
    EXPECT_EQ(state("ap_pitch_hold"), 1);
  }
  void press(Spot s) { EXPECT_TRUE(sim->click(AP_PANEL, s.x, s.y)); }
  // The stand-in stops flying the vertical modes: the test sets V/S, pitch and altitude itself.
  void hands_off_vertical() { sim->set_token(0x6c, 0.0); }
};

// The ids of the key events sent from the log index `index` on, in order.
std::vector<std::uint32_t> sent_since(const Bed& bed, std::size_t index) {
  std::vector<std::uint32_t> ids;
  for (std::size_t i = index; i < bed->key_events().size(); ++i)
    ids.push_back(bed->key_events()[i].id);
  return ids;
}

TEST(Autopilot, EachButtonLightsItsLampOverItself) {
  Engaged bed;
  bed.set("fd_heading_cmd", 75);
  const std::size_t before = bed->key_events().size();
  bed.press(NAV); // no station: toward the FD's heading command on the heading hold
  EXPECT_EQ(sent_since(bed, before),
            (std::vector<std::uint32_t>{0x101FA, 0x1010F, KEY_LEVELER_OFF}));
  EXPECT_EQ(last_key_value(bed, 0x101FA), 75);
  struct Case {
    Spot button;
    int lamp, x, y;
  } cases[] = {{ENGAGE, LAMP_ENGAGE, 27, 18},
               {NAV, LAMP_NAV, 56, 78},
               {HEADING, LAMP_HEADING, 27, 48},
               {APPROACH, LAMP_APPROACH, 85, 78},
               {ALT_B, LAMP_ALT_B, 178, 78}};
  for (const Case& c : cases) {
    if (c.lamp != LAMP_ENGAGE && c.lamp != LAMP_NAV) bed.press(c.button);
    bed.frames();
    const auto lamp = bed->element(AP_PANEL, c.lamp);
    EXPECT_TRUE(lamp && !lamp->hidden) << c.lamp;
    EXPECT_EQ(lamp->bitmap, 20496u);
    EXPECT_EQ(lamp->position.x, c.x);
    EXPECT_EQ(lamp->position.y, c.y);
  }
}

TEST(Autopilot, PitchHoldGainByErrorBandAndAFrozenVsWithinATenth) {
  Engaged bed;
  bed.hands_off_vertical();
  bed.set("ap_pitch_target", 0);
  bed->set_token(0x41, 0);
  struct Case {
    double pitch_up;
    int vs_cmd;
  } cases[] = {{1.5, -2250}, {1.49, -1490}, {-0.5, 250}, {0.1, -10}, {0.099, 0}};
  for (const Case& c : cases) {
    bed->set_token(0x4e, -c.pitch_up);
    bed.frames();
    EXPECT_EQ(bed.state("ap_vs_cmd"), c.vs_cmd) << "pitch " << c.pitch_up;
  }
  EXPECT_EQ(bed.state("ap_pitch_latched"), 1);
  bed->set_token(0x4e, -0.05);
  bed->set_token(0x41, 300 * 1.30048);
  bed.frames();
  EXPECT_EQ(bed.state("ap_vs_cmd"), 0) << "within a tenth the V/S is frozen once, not followed";
  EXPECT_EQ(last_key_value(bed, KEY_VS_REF), 0);
  EXPECT_EQ(last_key_value(bed, KEY_ALT_REF), 69000) << "climbing: no altitude in the way";
}

TEST(Autopilot, HoldASendsItsReferenceUntilStrictlyWithinHalfAFoot) {
  Engaged bed;
  bed.hands_off_vertical();
  bed->set_token(0x4a, 5000.7);
  bed.press(ALT_A);
  bed.frames();
  EXPECT_EQ(bed.state("ap_alt_ref"), 5000);
  EXPECT_EQ(bed.state("ap_alt_capture"), 1);
  for (double altitude : {5000.5, 4999.5}) {
    bed->set_token(0x4a, altitude);
    const auto next = bed->frame_count() + 1;
    bed.frames();
    EXPECT_EQ(bed.keys(KEY_ALT_REF, next), 1u) << altitude;
  }
  bed->set_token(0x4a, 5000.49);
  const auto next = bed->frame_count() + 1;
  bed.frames();
  EXPECT_EQ(bed.state("ap_alt_capture"), 2);
  bed->set_token(0x4a, 5003);
  bed.frames();
  EXPECT_EQ(bed.keys(KEY_ALT_REF, next), 0u) << "captured: no more references";
}

TEST(Autopilot, AltitudeHoldsExcludeEachOtherAndAWheelClickResumesThePitchHold) {
  Engaged bed;
  bed.press(ALT_A);
  bed.press(ALT_B);
  EXPECT_EQ(bed.state("ap_alt_hold_a"), 0);
  EXPECT_EQ(bed.state("ap_alt_hold_b"), 1);
  bed.frames();
  shows(bed, AP_PANEL, {LAMP_ALT_B}, {LAMP_ALT_A});
  bed.press(ALT_A);
  EXPECT_EQ(bed.state("ap_alt_hold_b"), 0);
  bed.frames();
  EXPECT_TRUE(bed.visible(AP_PANEL, LAMP_ALT_A));
  EXPECT_EQ(bed->element(AP_PANEL, LAMP_ALT_A)->bitmap, 20496u);
  EXPECT_EQ(bed->element(AP_PANEL, LAMP_ALT_A)->position.x, 147);
  bed->set_token(0x6c, 0);
  bed.frames();
  EXPECT_FALSE(bed.visible(AP_PANEL, LAMP_ALT_A)) << "dark while the simulator holds nothing";

  const double target = bed.state("ap_pitch_target");
  bed.press(WHEEL_DOWN);
  EXPECT_EQ(bed.state("ap_alt_hold_a"), 0);
  EXPECT_NEAR(bed.state("ap_pitch_target"), target + 0.4, 1e-9);
  const auto next = bed->frame_count() + 1;
  bed.frames();
  EXPECT_EQ(bed.keys(KEY_VS_REF, next), 1u) << "the pitch hold flies again";
}

TEST(Autopilot, TurnKnobLawAndItsLeftStepWithoutReadiness) {
  Engaged bed;
  bed.set("ap_ready", 0); // until the next frame
  bed.press(TURN_RIGHT);
  EXPECT_EQ(bed.state("ap_turn_active"), 0) << "the right step asks for readiness";
  bed.press(TURN_LEFT);
  EXPECT_EQ(bed.state("ap_turn_sel"), -5) << "the left step does not";
  bed.frames(2); // ready again
  for (int i = 0; i < 8; ++i)
    bed.press(TURN_RIGHT);
  EXPECT_EQ(bed.state("ap_turn_sel"), 30);
  struct Case {
    double bank; // left wing down positive; half degrees, as the stand-in rolls a little
    int aileron;
  } cases[] = {{-30.5, 340}, {-29.5, 370 - 1000}, {-20.5, 370 - 6000}, {10.5, -8000}};
  for (const Case& c : cases) {
    bed->set_token(0x50, c.bank);
    bed->set_token(0x4f, c.bank < 0 ? 360 + c.bank : c.bank);
    bed.frames();
    EXPECT_EQ(last_key_value(bed, KEY_AILERON), c.aileron) << "bank " << c.bank;
  }
  bed.press(TURN_CENTRE);
  EXPECT_EQ(bed.state("ap_turn_active"), 0);
  EXPECT_EQ(bed.state("ap_turn_sel"), 0);
}

TEST(Autopilot, BankJustShortOf360ReadsLevel) {
  Engaged bed;
  bed.press(TURN_LEFT); // the turn knob takes the bank, the selection back at 0
  bed.press(TURN_RIGHT);
  bed->set_token(0x50, -2.5);
  bed.frames();
  EXPECT_EQ(bed.state("ap_bank_int"), 2);
  bed->set_token(0x50, -0.5); // 359.5 on the 0..360 bank
  bed.frames();
  EXPECT_EQ(bed.state("ap_bank_int"), 0);
  EXPECT_EQ(last_key_value(bed, KEY_AILERON), -30) << "level: bias - 30";
}

TEST(Autopilot, LossOfReadinessDisconnectsOnTheNextFrame) {
  struct Cause {
    const char* name;
    double value;
  } causes[] = {{"elec_bus_gen_c", 0}, {"elec_ac_main", 0},          {"elec_ac_main_b", 0},
                {"elec_tadg_on", 0},   {"hydrau_press_green", 1400}, {"ap_ready_sw", 0}};
  for (const Cause& c : causes) {
    Engaged bed;
    bed.press(HEADING);
    bed.set(c.name, c.value);
    bed.frames();
    EXPECT_EQ(bed.keys(KEY_DISCONNECT), 1u) << c.name;
    bed.frames();
    EXPECT_EQ(bed->token(0x67), 0.0) << c.name;
    EXPECT_EQ(bed.state("ap_pitch_hold"), 0) << c.name;
    EXPECT_EQ(bed.state("ap_hdg_mode"), 0) << c.name;
  }
  Engaged blue;
  blue.set("hydrau_press_green", 0);
  blue.set("hydrau_press_blue", 1401);
  blue.frames(2);
  EXPECT_EQ(blue.state("ap_ready"), 1) << "either circuit will do";
}

TEST(Autopilot, MasterOffClearsEverythingAndTurnsOffOnlyWhatIsOn) {
  Engaged bed;
  bed.press(HEADING);
  bed.press(ALT_A);
  bed.set("ap_turn_sel", 10);
  bed.frames();
  EXPECT_TRUE(bed.visible(AP_PANEL, LAMP_HEADING));
  EXPECT_EQ(bed->element(AP_PANEL, LAMP_HEADING)->position.y, 48);
  bed->set_token(0x67, 0.0); // the simulator's autopilot dropped out; its heading hold is on
  const auto since = bed->frame_count() + 1;
  bed.frames();
  EXPECT_EQ(bed.keys(KEY_HEADING_OFF, since), 1u);
  for (std::uint32_t off : {KEY_LEVELER_OFF, KEY_NAV_OFF, KEY_NAV_OFF_2, KEY_APPROACH_OFF})
    EXPECT_EQ(bed.keys(off, since), 0u) << std::hex << off;
  for (const char* name : {"ap_pitch_hold", "ap_hdg_mode", "ap_alt_hold_a", "ap_turn_sel",
                           "ap_turn_active", "ap_coord_active"})
    EXPECT_EQ(bed.state(name), 0) << name;
  for (int lamp = LAMP_ENGAGE; lamp <= LAMP_ALT_B; ++lamp)
    EXPECT_FALSE(bed.visible(AP_PANEL, lamp)) << lamp;
  EXPECT_TRUE(bed.visible(AP_READY, READY_LAMP)) << "ready to engage again";
}

TEST(Autopilot, WithTheMasterOffOnlyEngageActs) {
  Bed bed;
  autopilot_supplies(bed);
  bed->click(AP_READY, 20, 20);
  bed.frames();
  bed.set("land_test", 2);
  for (Spot s :
       {HEADING, NAV, APPROACH, ALT_A, ALT_B, TURN_LEFT, TURN_CENTRE, TURN_RIGHT, WHEEL_DOWN})
    bed->click(AP_PANEL, s.x, s.y);
  EXPECT_TRUE(bed->key_events().empty());
  for (const char* name : {"ap_hdg_mode", "ap_nav_mode", "ap_appr", "ap_alt_hold_a",
                           "ap_alt_hold_b", "ap_turn_sel", "ap_turn_active"})
    EXPECT_EQ(bed.state(name), 0) << name;
  EXPECT_EQ(bed.state("ap_wheel_dn_clk"), 1) << "the wheel still turns";
  EXPECT_EQ(bed.state("land_test"), 0) << "the approach button still ends the landing test";
  bed->click(AP_PANEL, ENGAGE.x, ENGAGE.y);
  EXPECT_EQ(bed.keys(KEY_ENGAGE), 1u);
  EXPECT_EQ(bed.state("ap_coupled"), 1);
}

TEST(Autopilot, ReadyOffSendsItsSevenEventsOnce) {
  Engaged bed;
  const std::size_t before = bed->key_events().size();
  bed->click(AP_READY, 20, 20);
  EXPECT_EQ(sent_since(bed, before),
            (std::vector<std::uint32_t>{KEY_DISCONNECT, KEY_LEVELER_OFF, KEY_HEADING_OFF,
                                        KEY_NAV_OFF, KEY_NAV_OFF_2, KEY_APPROACH_OFF, 0x1022E}));
  bed.frames(3);
  EXPECT_EQ(bed.keys(0x1022E), 1u);
  EXPECT_EQ(bed.keys(KEY_DISCONNECT), 1u) << "the master went off with the first one";
  EXPECT_EQ(bed.calls("CLICK"), 2u);
}

TEST(Autopilot, WheelImageReturnsAtOrPastItsTick) {
  Engaged bed;
  bed.press(WHEEL_UP);
  bed.frames();
  shows(bed, AP_PANEL, {WHEEL_UP_IMAGE}, {WHEEL_CENTRE_IMAGE});
  bed.frames(3);
  EXPECT_TRUE(bed.visible(AP_PANEL, WHEEL_CENTRE_IMAGE)) << "three ticks later";
  bed.press(WHEEL_UP);
  bed.frames();
  bed.set("ap_wheel_timer_end", bed->token(0x1) - 1); // its tick went by unseen
  bed.frames();
  EXPECT_TRUE(bed.visible(AP_PANEL, WHEEL_CENTRE_IMAGE));
  EXPECT_EQ(bed.state("ap_wheel_up_clk"), 0);
}

// ---- the approach and the go-around

constexpr double METRES_PER_FOOT = 1 / 3.281;

// Engaged in the approach mode on the localizer, the glide armed at 140 kt (a glide command of
// -700 ft/min), the test setting height, V/S and pitch.
struct Approach : Engaged {
  Approach() {
    hands_off_vertical();
    sim->set_token(0x3d, 140);
    sim->set_token(0x2c, 1.0); // glide slope received, heading along the course
    press(APPROACH);
    set("fd_gs_state", 1);
  }
  // Two frames: the computer flies the flight director's command of the frame before.
  void fly(double height_m, double vs_fpm, double pitch_up = 0.7) {
    sim->set_token(0x266, height_m);
    sim->set_token(0x41, vs_fpm * 1.30048);
    sim->set_token(0x4e, -pitch_up);
    for (const char* sample : {"fd_vs_sample_1", "fd_vs_sample_2", "fd_vs_sample_3"})
      set(sample, -700 * 1.30048);
    frames(2);
  }
};

TEST(Approach, VsReferenceByHeightBandRoundedToTheLowerHundred) {
  Approach bed;
  struct Case {
    double speed, height_m, vs_fpm, glide_dev;
    int attphase, sent;
  } cases[] = {
      {140, 400, -680, 0, 2, -800},                       // 20 above the command: command - 100
      {140, 400, -721, 0, 2, -600},                       // below it: command + 100
      {140, 400, -690, 0, 2, -700},                       // within 20: the command
      {150, 400, -730, 0, 2, -900},                       // -850 lies on the half: a hundred lower
      {144, 400, -720, 0, 2, -720},                       // -720 goes as it is
      {164, 400, -820, 0, 2, -820},                       // and -820
      {140, 300 * METRES_PER_FOOT, -700, -3.05, 2, -700}, // -669.5: the lower hundred
      {140, 300 * METRES_PER_FOOT, -700, 2.05, 2, -720},  // -720.5
      {140, 15, -700, 0, 3, -247},                        // flare: -100 - 3 x 49.2 ft, truncated
      {140, 10, -700, 0, 3, -200},                        // -198 rounds down to -200
      {140, 15, -700, 0, 2, -700},                        // no flare without the lever in 3
  };
  for (const Case& c : cases) {
    bed->set_token(0x3d, c.speed);
    bed.set("ap_attphase_lever", c.attphase);
    bed->set_token(0x29, c.glide_dev);
    bed.fly(c.height_m, c.vs_fpm);
    EXPECT_EQ(last_key_value(bed, KEY_VS_REF), c.sent) << c.height_m << " m, " << c.vs_fpm;
    EXPECT_EQ(last_key_value(bed, KEY_ALT_REF), 0);
  }
  EXPECT_EQ(bed.state("ap_pitch_hold"), 1) << "engaged before the approach";
  EXPECT_TRUE(bed.visible(AP_PANEL, LAMP_APPROACH));
}

TEST(Approach, ElevatorStepsNearTheGroundAndTheCommandOnTheGround) {
  Approach bed;
  struct Case {
    double height_m, pitch_up;
    std::uint32_t step; // 0: none
  } cases[] = {{25, 1.2, 0x10048}, {25, 0.29, 0x10050}, {25, 0.3, 0x1009E}, {60, 0.0, 0}};
  for (const Case& c : cases) {
    const auto next = bed->frame_count() + 1;
    bed.fly(c.height_m, -700, c.pitch_up);
    for (std::uint32_t step : {0x10048u, 0x10050u, 0x1009Eu})
      EXPECT_EQ(bed.keys(step, next) > 0, step == c.step)
          << std::hex << step << " at pitch " << c.pitch_up << ", " << c.height_m << " m";
  }
  bed->set_token(0x3c, 1.0);
  for (double elevator : {2500.0, 3000.0, 4000.0}) {
    bed->set_token(0x13d, elevator);
    bed.fly(0, 0);
    EXPECT_EQ(last_key_value(bed, 0x1009E), elevator <= 3000 ? 3000 : elevator + 100);
  }
}

TEST(Approach, ArmedGlideEndsBothAltitudeHolds) {
  Approach bed;
  bed.press(ALT_B);
  EXPECT_EQ(bed.state("ap_appr"), 0) << "a hold pressed with the glide armed ends the approach";
  bed.press(APPROACH);
  bed.set("ap_alt_hold_a", 1);
  bed.fly(400, -700);
  EXPECT_EQ(bed.state("ap_alt_hold_a"), 0);
}

TEST(GoAround, TakeOffThrustOnALocalizerHandsOverToHeadingAndClimbs) {
  Engaged bed;
  bed.hands_off_vertical();
  bed->set_token(0x2e, 0x80); // a localizer tuned
  bed->set_token(0x22e, 0.95);
  bed->set_token(0x238, 0.5);
  bed.frames();
  bed.press(NAV);
  bed.press(APPROACH);
  bed->set_token(0x6f, 1.0); // the simulator's approach and NAV modes still on
  bed->set_token(0x69, 1.0);
  bed.frames();
  EXPECT_EQ(bed.state("ap_nav_to_hdg"), 1);
  EXPECT_EQ(bed.state("ap_hdg_mode"), 1);
  EXPECT_EQ(bed.state("ap_appr"), 0);
  EXPECT_EQ(bed.state("ap_nav_mode"), 0);
  for (int frame = 0; frame < 3; ++frame) {
    bed->set_token(0x6f, 1.0);
    bed->set_token(0x69, 1.0);
    const auto next = bed->frame_count() + 1;
    bed.frames();
    EXPECT_EQ(bed.keys(KEY_APPROACH_OFF, next), 1u) << "dropped again every frame";
    EXPECT_EQ(bed.keys(KEY_NAV_OFF, next), 1u);
  }
  struct Climb {
    double from, to;
  } climbs[] = {{1.0, 1.001}, {7.0, 7.01}, {8.0, 8.001}, {9.9995, 10.0}, {10.0, 10.0}};
  for (const Climb& c : climbs) {
    bed.set("ap_pitch_target", c.from);
    bed.frames();
    EXPECT_NEAR(bed.state("ap_pitch_target"), c.to, 1e-9) << "from " << c.from;
  }
  bed.set("ap_pitch_target", 5.0);
  bed->set_token(0x41, 2000 * 1.30048);
  bed.frames();
  EXPECT_EQ(bed.state("ap_pitch_target"), 5.0) << "climbing at 2000 ft/min it stops rising";
  bed->set_token(0x22e, 0.94);
  bed.frames();
  EXPECT_EQ(bed.state("ap_nav_to_hdg"), 0);
  bed->set_token(0x6f, 1.0);
  const auto next = bed->frame_count() + 1;
  bed.frames();
  EXPECT_EQ(bed.keys(KEY_APPROACH_OFF, next), 0u) << "the law has let go";
}

// ---- the stand-in's runway: what NAV 1 receives from the aircraft's place

struct Runway : Bed {
  Runway() {
    sim->set_named("k7host_ils_course", 90);
    sim->set_named("k7host_ils_field", 600);
    sim->set_named("k7host_ils", 1);
    sim->set_token(0x3c, 0.0);
    sim->set_token(0x54, 90);
  }
  void place(double nm, double right_ft, double above_ft) {
    sim->set_named("k7host_ils_distance", nm);
    sim->set_named("k7host_ils_offset", right_ft);
    sim->set_token(0x4a, 600 + above_ft);
    frames();
  }
};

TEST(ApproachStandIn, DeviationsAndReceptionFromThePlace) {
  Runway bed;
  struct Case {
    double nm, right_ft, above_ft;
    int localizer_sign, glide_sign; // 2: not received
  } cases[] = {
      {5, -500, 1000, +1, -1}, // left of the centreline, below the glide path
      {5, 500, 2500, -1, +1},  // right of it, above
      {5, 0, 1643.9, 0, 0},    // on both beams (3 degrees from 1000 ft beyond the threshold)
      {12, 0, 3000, 0, 2},     // localizer only: the glide slope reaches 10 nm
      {30, 0, 5000, 2, 2},     // out of range
      {5, 30000, 1000, 2, 2},  // far out to the side
      {-2, 0, 0, 2, 2},        // behind the localizer antenna
  };
  auto sign = [](double v) { return std::fabs(v) < 1.0 ? 0 : (v > 0 ? 1 : -1); };
  for (const Case& c : cases) {
    bed.place(c.nm, c.right_ft, c.above_ft);
    const bool localizer = c.localizer_sign != 2, glide = c.glide_sign != 2;
    EXPECT_EQ(bed->token(0x31) > 0, localizer) << c.nm << " nm, " << c.right_ft << " ft right";
    EXPECT_EQ(bed->token(0x2e), localizer ? 0xC0 : 0) << c.nm << " nm";
    EXPECT_EQ(bed->token(0x2c), glide ? 1.0 : 0.0) << c.nm << " nm";
    if (localizer) {
      EXPECT_EQ(sign(bed->token(0x28)), c.localizer_sign) << c.nm << " nm, " << c.right_ft;
      EXPECT_EQ(bed->token(0x2d), 90);
    }
    if (glide) {
      EXPECT_EQ(sign(bed->token(0x29)), c.glide_sign) << c.nm << " nm, " << c.above_ft;
    }
  }
  bed.place(5, 0, 1000);
  bed->set_token(0x3d, 120);
  bed.frames(18);
  EXPECT_NEAR(bed->named("k7host_ils_distance"), 5 - 120.0 / 3600, 0.001) << "a second at 120 kt";
}

TEST(ApproachStandIn, TouchdownWhenTheHeightComesDownToZero) {
  Bed bed;
  bed->set_token(0x3c, 0.0);
  bed->set_token(0x266, 0.0);
  bed.frames(2);
  EXPECT_EQ(bed->token(0x3c), 0.0) << "set airborne at zero height: left as it is";
  bed->set_token(0x266, 0.4);
  bed.frames();
  bed->set_token(0x266, 0.0);
  bed.frames();
  EXPECT_EQ(bed->token(0x3c), 1.0);
}

// ---- the second panel

const char* const SECOND_PANEL = "kestovil apseul_k7";
constexpr std::uint32_t SECOND_PANEL_WINDOW = 10050;
enum SecondImage { SECOND_WHEEL_UP = 3, SECOND_WHEEL_CENTRE, SECOND_LAMP_ENGAGE = 6 };

struct TwoPanels : Engaged {
  TwoPanels() { sim->open_window(SECOND_PANEL_WINDOW); }
  void press_second(Spot s) { EXPECT_TRUE(sim->click(SECOND_PANEL, s.x, s.y)); }
};

TEST(SecondPanel, ActsOnTheSameModesAndBothPanelsShowThem) {
  TwoPanels bed;
  bed.press_second(HEADING);
  bed.frames();
  EXPECT_TRUE(bed.visible(AP_PANEL, LAMP_HEADING));
  EXPECT_TRUE(bed.visible(SECOND_PANEL, SECOND_LAMP_ENGAGE + 1));
  bed.press(ALT_B);
  bed.frames();
  shows(bed, SECOND_PANEL, {SECOND_LAMP_ENGAGE + 5}, {SECOND_LAMP_ENGAGE + 4});
  bed.press_second(TURN_RIGHT);
  bed.press_second(TURN_CENTRE);
  EXPECT_EQ(bed.state("ap_turn_active"), 0);
  EXPECT_EQ(bed.state("ap_turn_sel"), 5) << "the second panel's centre keeps the selection";
  bed.frames();
  EXPECT_EQ(bed.state("ap_turn_sel"), 0) << "the wing levelling takes it back";
  bed.press_second(WHEEL_UP);
  EXPECT_EQ(bed.state("apseul_wheel_up_clk"), 1);
  EXPECT_EQ(bed.state("ap_wheel_up_clk"), 0) << "its own wheel image";
  bed.frames();
  shows(bed, SECOND_PANEL, {SECOND_WHEEL_UP}, {SECOND_WHEEL_CENTRE});
  bed.set("apseul_wheel_timer_end", bed->token(0x1) - 1);
  bed.frames();
  EXPECT_TRUE(bed.visible(SECOND_PANEL, SECOND_WHEEL_CENTRE)) << "its moment went by unseen";
}

TEST(SecondPanel, EngageAndDisconnectDifferences) {
  TwoPanels bed;
  bed.set("ap_turn_sel", 10);
  bed.set("ap_turn_active", 1);
  const std::size_t before = bed->key_events().size();
  bed.press_second(ENGAGE); // disconnect, landing phase 2
  EXPECT_EQ(sent_since(bed, before),
            (std::vector<std::uint32_t>{KEY_DISCONNECT, 0x101A0, KEY_LEVELER_OFF, KEY_HEADING_OFF,
                                        KEY_NAV_OFF, KEY_NAV_OFF_2, KEY_APPROACH_OFF}));
  EXPECT_EQ(bed.state("ap_coord_active"), 1) << "left alone";
  EXPECT_EQ(bed.state("ap_turn_sel"), 10) << "left alone";
  EXPECT_EQ(bed.state("ap_coupled"), 0);
  bed.frames(); // master off: the computer clears the rest
  bed.set("ap_coord_active", 0);
  const std::size_t engage = bed->key_events().size();
  bed.press_second(ENGAGE);
  EXPECT_EQ(sent_since(bed, engage), (std::vector<std::uint32_t>{KEY_ENGAGE, 0x101A1}));
  EXPECT_EQ(bed.state("ap_coord_active"), 0) << "no rudder coordination armed by this panel";
  EXPECT_EQ(bed.state("ap_coupled"), 1);
  bed.frames();
  EXPECT_TRUE(bed.visible(SECOND_PANEL, SECOND_LAMP_ENGAGE));
}

} // namespace
