// The radio boxes through the stand-in's radios: tuning clicks reach the simulator, the drums
// roll to what it reports, and the selectors, switches and flags do what the crew expects.
// (Load shedding on the battery, with the mimic and the generators, is checked by the
// demonstration.)
#include "k7test.h"

#include <cmath>
#include <limits>
#include <set>
#include <vector>

namespace {

using namespace k7test;

const std::string NAVCOM[2] = {"kestovil radio_navcom1_k7", "kestovil radio_navcom2_k7"};
const std::string ADF[2] = {"kestovil radio_adf1_k7", "kestovil radio_adf2_k7"};
const std::string TSP = "kestovil radio_tsp_k7";
const std::string SELCAL = "kestovil radio_selcal_k7";
const std::string RADAR = "kestovil radar_set_k7";

constexpr std::uint32_t NAV_TOKEN[2] = {0x18, 0x1b}, COM_TOKEN[2] = {0x17, 0x366};
constexpr std::uint32_t CODE = 0x26, BOTH_HEARD = 0x36c, TRANSMIT1 = 0x36a, TRANSMIT2 = 0x36b;
constexpr std::uint32_t ADF_AUDIO = 0x370, SELCAL_FLAG = 0x371;
const char* const ADF_FREQUENCY[2] = {"(A:Adf active frequency:1,Kilohertz)",
                                      "(A:Adf active frequency:2,Kilohertz)"};

// Chain places.
constexpr int NAVCOM_KNOB = 1, NAVCOM_VORDME = 5, NAVCOM_COMM = 6, NAV_D3 = 10, COM_D4 = 16;
constexpr int ADF_LOOP = 5, ADF_MODE = 6, ADF_DRUM = 7;
constexpr int TSP_LAMP = 7, TSP_DRUM = 9;

// Click points of a NAV/COM box: knob k's up and down areas, then the selectors.
struct Point {
  int x, y;
};
constexpr Point KNOB_UP[4] = {{50, 70}, {110, 70}, {165, 70}, {225, 70}};
constexpr Point KNOB_DOWN[4] = {{20, 70}, {80, 70}, {138, 70}, {195, 70}};
constexpr Point VORDME_DOWN = {50, 115}, VORDME_UP = {80, 115};
constexpr Point COMM_DOWN = {165, 115}, COMM_UP = {195, 115};

// ADF box: the 100, 10 and 1 KC knobs up and down, fine tuning, loop, mode, CW / VOICE.
constexpr Point KC_UP[3] = {{75, 90}, {135, 130}, {195, 90}};
constexpr Point KC_DOWN[3] = {{45, 90}, {105, 130}, {165, 90}};
constexpr Point FINE = {140, 30}, LOOP_DOWN = {30, 150}, LOOP_UP = {60, 150};
constexpr Point MODE_DOWN = {170, 150}, MODE_UP = {200, 150}, CW = {20, 10}, VOICE = {20, 30};

// Transponder: digit d's up and down areas, mode, IDENT.
constexpr int DIGIT_X[4] = {90, 120, 180, 210};
constexpr int DIGIT_UP_Y = 20, DIGIT_DOWN_Y = 45;
constexpr Point TSP_MODE_DOWN = {25, 80}, TSP_MODE_UP = {55, 80}, IDENT = {180, 80};

// A packed frequency in MHz.
double megahertz(double packed) {
  const unsigned p = static_cast<unsigned>(packed);
  return 100 + 10 * (p >> 12) + ((p >> 8) & 0xF) + ((p >> 4) & 0xF) / 10.0 + (p & 0xF) / 100.0;
}

struct Radios : Bed {
  Radios() : Bed({THROTTLES}) { frames(); }
  bool click(const std::string& gauge, Point p) { return sim->click(gauge, p.x, p.y); }
  double drum(const std::string& gauge, int element) const {
    return sim->element(gauge, element)->value_y;
  }
  // The positions one drum shows, frame by frame, until it settles on a whole position.
  std::vector<double> roll(const std::string& gauge, int element) {
    std::vector<double> seen;
    for (int i = 0; i < 20; ++i) {
      frames();
      seen.push_back(drum(gauge, element));
      if (seen.back() == std::floor(seen.back()) && seen.size() > 1 &&
          seen.back() == seen[seen.size() - 2])
        break;
    }
    seen.pop_back();
    return seen;
  }
  void settle() { frames(45); }
};

// ---- NAV/COM

TEST(NavCom, EachTuningAreaStepsItsOwnFrequencyThroughItsOwnEvent) {
  Radios r;
  std::set<std::uint32_t> events;
  for (int box = 0; box < 2; ++box) {
    r->set_token(NAV_TOKEN[box], 0x1250); // 112.50
    r->set_token(COM_TOKEN[box], 0x2550); // 125.50
  }
  for (int box = 0; box < 2; ++box)
    for (int knob = 0; knob < 4; ++knob)
      for (int up = 0; up < 2; ++up) {
        SCOPED_TRACE("box " + std::to_string(box + 1) + " knob " + std::to_string(knob + 1) +
                     (up ? " up" : " down"));
        const std::uint32_t tuned = knob < 2 ? NAV_TOKEN[box] : COM_TOKEN[box];
        std::vector<double> before;
        for (std::uint32_t t : {NAV_TOKEN[0], COM_TOKEN[0], NAV_TOKEN[1], COM_TOKEN[1]})
          before.push_back(r->token(t));
        const std::size_t sent = r->key_events().size();
        const double was = megahertz(r->token(tuned));
        ASSERT_TRUE(r.click(NAVCOM[box], up ? KNOB_UP[knob] : KNOB_DOWN[knob]));
        ASSERT_EQ(r->key_events().size(), sent + 1) << "one key event per click";
        EXPECT_EQ(r->key_events().back().value, 0u);
        EXPECT_TRUE(events.insert(r->key_events().back().id).second) << "an event of its own";
        const double step = megahertz(r->token(tuned)) - was;
        const bool whole = knob % 2 == 0;
        EXPECT_NEAR(std::fabs(step), whole ? 1.0 : (knob < 2 ? 0.05 : 0.025),
                    0.006); // .025 shows as .02 or .03
        EXPECT_EQ(step > 0, up == 1);
        int changed = 0;
        int i = 0;
        for (std::uint32_t t : {NAV_TOKEN[0], COM_TOKEN[0], NAV_TOKEN[1], COM_TOKEN[1]})
          changed += r->token(t) != before[i++];
        EXPECT_EQ(changed, 1) << "only its own frequency moves";
      }
  EXPECT_EQ(events.size(), 16u);
}

TEST(NavCom, KnobsTurnRoundUpwardsAndStopAtZeroDownwards) {
  Radios r;
  r.set("radio_knob_angle1[0]", 350);
  r.click(NAVCOM[0], KNOB_UP[0]);
  EXPECT_EQ(r.state("radio_knob_angle1[0]"), 0);
  r.click(NAVCOM[0], KNOB_DOWN[0]);
  EXPECT_EQ(r.state("radio_knob_angle1[0]"), 0);
  r.click(NAVCOM[0], KNOB_UP[0]);
  r.click(NAVCOM[0], KNOB_UP[0]);
  r.click(NAVCOM[0], KNOB_DOWN[0]);
  r.frames();
  EXPECT_EQ(r.value(NAVCOM[0], NAVCOM_KNOB), 10);
  EXPECT_EQ(r.state("radio_knob_angle1[1]"), 0) << "the other knobs stay";
  EXPECT_EQ(r.calls("CLICK"), 0u) << "tuning knobs make no switch click";
}

TEST(NavCom, SelectorsStopAtTheirEndsAndOneCommStaysOn) {
  Radios r;
  r.click(NAVCOM[0], VORDME_UP); // already at O RIDE
  EXPECT_EQ(r.state("radio_vordme_sel1"), 3);
  EXPECT_EQ(r.calls("CLICK"), 0u);
  for (int i = 0; i < 4; ++i)
    r.click(NAVCOM[0], VORDME_DOWN);
  EXPECT_EQ(r.state("radio_vordme_sel1"), 0);
  EXPECT_EQ(r.calls("CLICK"), 3u);
  r.frames();
  EXPECT_EQ(r.value(NAVCOM[0], NAVCOM_VORDME), 0);

  r.click(NAVCOM[1], COMM_DOWN); // COMM 2 from NORM to OFF: COMM 1 is on
  EXPECT_EQ(r.state("radio_comm_sel2"), 0);
  r.click(NAVCOM[0], COMM_DOWN); // COMM 1 cannot follow
  EXPECT_EQ(r.state("radio_comm_sel1"), 1);
  EXPECT_EQ(r.calls("CLICK"), 4u) << "a selector that does not move does not click";
  r.click(NAVCOM[0], COMM_UP);
  r.click(NAVCOM[0], COMM_UP);
  EXPECT_EQ(r.state("radio_comm_sel1"), 2);
  r.click(NAVCOM[0], COMM_DOWN); // LIMITE to NORM is always allowed
  EXPECT_EQ(r.state("radio_comm_sel1"), 1);
  r.frames();
  EXPECT_EQ(r.value(NAVCOM[0], NAVCOM_COMM), 1);
  EXPECT_EQ(r.calls("CLICK"), 6u);
}

TEST(NavCom, DrumsTurnOverLikeAnOdometer) {
  Radios r;
  r->set_token(NAV_TOKEN[0], 0x0890); // 108.90
  r.settle();
  EXPECT_EQ(r.drum(NAVCOM[0], NAV_D3), 9);
  r->set_token(NAV_TOKEN[0], 0x0800); // 9 to 0: forward through the top (the roll: unit Drum)
  EXPECT_EQ(r.roll(NAVCOM[0], NAV_D3), (std::vector<double>{9.25, 9.5, 9.75, 0}));
  // the last COM drum shows the 25 kHz endings 0, 2, 5, 7 in its four positions
  for (auto [packed, position] : {std::pair{0x1802, 1}, {0x1805, 2}, {0x1807, 3}, {0x1800, 0}}) {
    r->set_token(COM_TOKEN[1], packed);
    r.settle();
    EXPECT_EQ(r.drum(NAVCOM[1], COM_D4), position) << std::hex << packed;
  }
}

TEST(NavCom, BoxTwoChoosesTheTransmitterAndWhetherBothAreHeard) {
  Radios r;
  r.frames(2);
  EXPECT_EQ(r->token(BOTH_HEARD), 1) << "both COMM selectors on: both heard";

  r.set("elec_bus_radio2", 1);
  r.click(NAVCOM[0], COMM_DOWN); // COMM 1 off
  r.frames(2);
  EXPECT_EQ(r->token(BOTH_HEARD), 0);
  EXPECT_EQ(r->token(TRANSMIT2), 1);
  EXPECT_EQ(r->token(TRANSMIT1), 0);

  r.set("elec_bus_radio2", 0); // COMM 2 left alone without its bus: transceiver 1 transmits
  r.frames(2);
  EXPECT_EQ(r->token(TRANSMIT1), 1);
  EXPECT_EQ(r->token(TRANSMIT2), 0);

  r.set("elec_bus_radio2", 1);
  r.click(NAVCOM[0], COMM_UP);
  r.click(NAVCOM[1], COMM_DOWN); // COMM 2 off: transceiver 1
  r.frames(2);
  EXPECT_EQ(r->token(BOTH_HEARD), 0);
  EXPECT_EQ(r->token(TRANSMIT1), 1);
  const std::uint64_t now = r->frame_count();
  r.frames(10);
  for (std::uint32_t key : {0x103A1u, 0x1039Fu, 0x103A0u})
    EXPECT_EQ(r.keys(key, now), 0u) << "nothing is sent once the flags agree";
}

// ---- ADF

TEST(Adf, DrumsShowTheActiveFrequency) {
  Radios r;
  r->set_calc(ADF_FREQUENCY[0], 1020.5);
  r->set_calc(ADF_FREQUENCY[1], 1799.9);
  r.settle();
  std::vector<double> shown[2];
  for (int box = 0; box < 2; ++box)
    for (int d = 0; d < 5; ++d)
      shown[box].push_back(r.drum(ADF[box], ADF_DRUM + d));
  EXPECT_EQ(shown[0], (std::vector<double>{1, 0, 2, 0, 5}));
  EXPECT_EQ(shown[1], (std::vector<double>{1, 7, 9, 9, 9}));
  r->set_calc(ADF_FREQUENCY[1], 350); // the thousands drum turns over forward
  EXPECT_EQ(r.roll(ADF[1], ADF_DRUM), (std::vector<double>{1.25, 1.5, 1.75, 0}));
}

TEST(Adf, KnobsTuneTheirOwnReceiverAndFineTuningTakesOnlyTheRightKnob) {
  Radios r;
  const double tenths[3] = {100, 10, 1};
  for (int box = 0; box < 2; ++box)
    for (int fine = 0; fine < 2; ++fine) {
      if (fine) r.click(ADF[box], FINE);
      EXPECT_EQ(r.state(box ? "radio_adf_fine2" : "radio_adf_fine1"), fine);
      for (int knob = 0; knob < 3; ++knob)
        for (int up = 0; up < 2; ++up) {
          SCOPED_TRACE("box " + std::to_string(box + 1) + " knob " + std::to_string(knob) +
                       (fine ? " fine" : "") + (up ? " up" : " down"));
          r->set_calc(ADF_FREQUENCY[box], 500);
          r->set_calc(ADF_FREQUENCY[1 - box], 700);
          r.click(ADF[box], up ? KC_UP[knob] : KC_DOWN[knob]);
          const double step = (fine && knob == 2) ? 0.1 : tenths[knob];
          EXPECT_NEAR(r->calc(ADF_FREQUENCY[box]), 500 + (up ? step : -step), 1e-9);
          EXPECT_EQ(r->calc(ADF_FREQUENCY[1 - box]), 700);
        }
      if (fine) r.click(ADF[box], FINE);
    }
  EXPECT_EQ(r.state("radio_adf_fine1"), 0);
}

TEST(Adf, ModeAndLoopStopAtTheirLimits) {
  Radios r;
  r.click(ADF[1], MODE_DOWN);
  r.click(ADF[1], MODE_DOWN);
  EXPECT_EQ(r.state("radio_adf_mode2"), 0);
  EXPECT_EQ(r.calls("CLICK"), 1u) << "at OFF it does not move, and does not click";
  for (int i = 0; i < 6; ++i)
    r.click(ADF[1], MODE_UP);
  EXPECT_EQ(r.state("radio_adf_mode2"), 4);
  EXPECT_EQ(r.calls("CLICK"), 5u);
  for (int i = 0; i < 35; ++i)
    r.click(ADF[1], LOOP_DOWN);
  EXPECT_EQ(r.state("radio_adf_loop2"), -30);
  r.frames();
  EXPECT_EQ(r.value(ADF[1], ADF_LOOP), -30);
  EXPECT_EQ(r.value(ADF[1], ADF_MODE), 4);
  for (int i = 0; i < 65; ++i)
    r.click(ADF[1], LOOP_UP);
  EXPECT_EQ(r.state("radio_adf_loop2"), 30);
  EXPECT_EQ(r.state("radio_adf_mode1"), 1) << "box 1 untouched";
}

TEST(Adf, BoxOneSetsTheSimulatorsAudioFromCwAndVoice) {
  Radios r;
  r->set_token(ADF_AUDIO, 1);
  r.frames(2); // CW: audio off
  EXPECT_EQ(r->token(ADF_AUDIO), 0);
  r.set("elec_bus_radio1", 1);
  r.click(ADF[0], VOICE);
  EXPECT_EQ(r.calls("CLICK"), 1u);
  r.frames(2); // VOICE with radio bus 1: on
  EXPECT_EQ(r->token(ADF_AUDIO), 1);
  EXPECT_GE(r.keys(0x10131), 1u);
  r.set("elec_bus_radio1", 0);
  r.frames(2); // VOICE without radio bus 1: off again
  EXPECT_EQ(r->token(ADF_AUDIO), 0);
  r.click(ADF[0], VOICE); // already there
  EXPECT_EQ(r.calls("CLICK"), 1u);

  const std::uint64_t now = r->frame_count();
  r.set("radio_adf_cw1", 1);
  r.click(ADF[1], VOICE); // box 2 has no say over the audio
  r.set("elec_bus_radio1", 1);
  r.frames(5);
  EXPECT_EQ(r->token(ADF_AUDIO), 0);
  EXPECT_EQ(r.keys(0x10131, now) + r.keys(0x1012C, now), 0u);
}

// ---- transponder

TEST(Transponder, SquawkSetDigitByDigitShowsOnTheDrums) {
  Radios r; // the stand-in's code is 1200
  for (int i = 0; i < 2; ++i)
    r->click(TSP, DIGIT_X[0], DIGIT_DOWN_Y); // 1, 0, 7
  for (int i = 0; i < 3; ++i)
    r->click(TSP, DIGIT_X[1], DIGIT_DOWN_Y); // 2, 1, 0, 7
  EXPECT_EQ(r->token(CODE), 0x7700);
  r.settle();
  std::vector<double> drums;
  for (int d = 0; d < 4; ++d)
    drums.push_back(r.drum(TSP, TSP_DRUM + d));
  EXPECT_EQ(drums, (std::vector<double>{7, 7, 0, 0}));
  r->click(TSP, DIGIT_X[3], DIGIT_DOWN_Y); // 0 to 7: back through the top of eight positions
  EXPECT_EQ(r.roll(TSP, TSP_DRUM + 3), (std::vector<double>{7.9, 7.65, 7.4, 7.15, 7}));
}

TEST(Transponder, IdentLightsTheReplyLampForTwelveFramesInAOrB) {
  Radios r;
  r.power();
  auto lit_frames = [&r]() {
    r.click(TSP, IDENT);
    int lit = 0;
    for (int i = 0; i < 30; ++i) {
      r.frames();
      lit += r.visible(TSP, TSP_LAMP);
    }
    return lit;
  };
  EXPECT_EQ(lit_frames(), 12) << "mode A";
  r.click(TSP, TSP_MODE_UP);
  r.click(TSP, TSP_MODE_UP);
  EXPECT_EQ(r.state("radio_tsp_mode"), 3);
  EXPECT_EQ(lit_frames(), 12) << "mode B";
  r.click(TSP, TSP_MODE_DOWN);
  r.click(TSP, TSP_MODE_DOWN);
  EXPECT_EQ(lit_frames(), 0) << "STBY";
  r.click(TSP, TSP_MODE_DOWN);
  r.click(TSP, TSP_MODE_DOWN);
  EXPECT_EQ(r.state("radio_tsp_mode"), 0);
  EXPECT_EQ(r.calls("CLICK"), 4u) << "the mode stops at B and at OFF without a click";
  EXPECT_EQ(lit_frames(), 0) << "OFF";
  r.set("radio_tsp_mode", 2);
  r.power(false);
  EXPECT_EQ(lit_frames(), 0) << "no essential bus";
  // a held button keeps the count up, never past 12
  r.power();
  for (int i = 0; i < 8; ++i)
    r->click(TSP, IDENT.x, IDENT.y, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT);
  EXPECT_EQ(r.state("radio_tsp_ident"), 12);
}

// ---- SELCAL

TEST(Selcal, PositionOneWithTheEssentialBusKeepsTheSimulatorFlagOn) {
  Radios r;
  r.power();
  r.frames(2);
  EXPECT_EQ(r->token(SELCAL_FLAG), 1);
  r.power(false);
  r.frames(2);
  EXPECT_EQ(r->token(SELCAL_FLAG), 0) << "without the bus it goes off";
  r.power();
  r.frames(2);
  for (Point p : {Point{120, 20}, Point{150, 20}}) { // centre (0), right (2)
    r.click(SELCAL, p);
    r.frames(2);
    EXPECT_EQ(r->token(SELCAL_FLAG), 0);
    r.click(SELCAL, {90, 20});
    r.frames(2);
    EXPECT_EQ(r->token(SELCAL_FLAG), 1);
  }
  EXPECT_EQ(r.keys(0x103AE), 7u) << "one event per change, none while the flag agrees";
  EXPECT_EQ(r.calls("CLICK"), 4u);
  r.click(SELCAL, {80, 45}); // RESET does nothing
  r.click(SELCAL, {90, 20}); // already at 1
  EXPECT_EQ(r.calls("CLICK"), 4u);
  EXPECT_TRUE(r.visible(SELCAL, 2));
}

// ---- weather radar

TEST(Radar, RangeAndTiltStopAtTheirLimitsAndTheVolumeAreasStepTheSounds) {
  Radios r;
  r.click(RADAR, {40, 40}); // range down from ARRET
  EXPECT_EQ(r.calls("CLICK"), 0u);
  for (int i = 0; i < 6; ++i)
    r.click(RADAR, {70, 40});
  EXPECT_EQ(r.state("radio_radar_range"), 4);
  EXPECT_EQ(r.calls("CLICK"), 4u);
  for (int i = 0; i < 17; ++i)
    r.click(RADAR, {195, 40});
  EXPECT_EQ(r.state("radio_radar_tilt"), 15);
  r.frames();
  EXPECT_EQ(r.value(RADAR, 1), 4);
  EXPECT_EQ(r.value(RADAR, 2), 15);
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(r.state("radio_radar_tilt_values[" + std::to_string(i) + "]"), 1500);
  for (int i = 0; i < 32; ++i)
    r.click(RADAR, {165, 40});
  EXPECT_EQ(r.state("radio_radar_tilt"), -15);
  EXPECT_EQ(r.state("radio_radar_tilt_values[0]"), -1500);
  EXPECT_EQ(r.state("radio_radar_tilt_values[15]"), -1500);
  // the sound volume areas, clear of the range selector
  const double click_volume = r.state("sound_volume[0]");
  r.click(RADAR, {30, 85});
  r.click(RADAR, {30, 85});
  r.click(RADAR, {60, 85});
  EXPECT_EQ(r.state("sound_volume_steps"), -1);
  EXPECT_EQ(r.state("sound_volume[0]"), click_volume - 100);
  EXPECT_EQ(r.state("radio_radar_range"), 4);
}

// ---- what the simulator may give

TEST(Radios, NonsenseFromTheSimulatorLeavesEveryDrumOnItsDigitsAndSendsNothing) {
  Radios r;
  r.power();
  r.set("elec_bus_radio1", 1);
  r.set("elec_bus_radio2", 1);
  r.frames(3); // the flags settle first
  const std::uint64_t now = r->frame_count();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double bad[] = {nan, -1.0, 0x1FFFF * 1.0, 0xFABC * 1.0, 1e300, -1e300};
  for (double v : bad) {
    SCOPED_TRACE(v);
    for (std::uint32_t t : {NAV_TOKEN[0], COM_TOKEN[0], NAV_TOKEN[1], COM_TOKEN[1], CODE})
      r->set_token(t, v);
    r->set_calc(ADF_FREQUENCY[0], v);
    r->set_calc(ADF_FREQUENCY[1], v);
    for (std::uint32_t flag : {BOTH_HEARD, TRANSMIT1, TRANSMIT2, ADF_AUDIO, SELCAL_FLAG})
      r->set_token(flag, nan);
    r.frames(50);
    for (const char* table : {"radio_navcom_shown1", "radio_navcom_shown2", "radio_adf_shown1",
                              "radio_adf_shown2", "radio_tsp_shown"})
      for (int i = 0; i < 10; ++i) {
        auto shown = r->state(std::string(table) + "[" + std::to_string(i) + "]");
        if (!shown) break;
        EXPECT_GE(*shown, 0) << table << i;
        EXPECT_LE(*shown, std::string(table) == "radio_tsp_shown" ? 7 : 9) << table << i;
        EXPECT_EQ(*shown, std::floor(*shown)) << table << i << " settles on a digit";
      }
  }
  r.power(false); // the other way round: flags that should go off
  r.set("elec_bus_radio1", 0);
  r.set("radio_adf_cw1", 0);
  r.set("radio_comm_sel2", 0);
  r.frames(10);
  for (std::uint32_t key : {0x103A1u, 0x1039Fu, 0x103A0u, 0x1012Cu, 0x10131u, 0x103AEu})
    EXPECT_EQ(r.keys(key, now), 0u) << std::hex << key << ": a flag that is neither on nor off";
}

} // namespace
