// The pop-up toggles, the overview and load panels, the start-up sequence after loading and the
// start panel's hydraulic-loss automation, driven through the stand-in.
#include "k7test.h"

#include <algorithm>
#include <vector>

namespace {

using namespace k7test;

constexpr std::uint32_t KEY_OPEN = 0x103CB, KEY_CLOSE = 0x103CC, KEY_SPEED_REF = 0x101F5;
constexpr std::uint32_t ON_GROUND = 0x3C, AIRSPEED = 0x3D, RADIO_HEIGHT = 0x266;
const char* const STRIP = "kestovil panel_display";
const char* const OVERVIEW_PANEL = "kestovil panel_overview";
const char* const LOAD = "kestovil panload";
constexpr std::uint32_t ALL_WINDOWS[] = {10040, 10050, 10060, 10070, 10080, 10090, 10100, 10110,
                                         10120, 10130, 10140, 10150, 10160, 10170, 10180};

std::vector<std::uint32_t> open_windows(const Bed& b) {
  return b->open_windows();
}

// ---- toggles

TEST(Toggles, EachOpensAndClosesItsWindowsAndShowsItsIconWithTheBlinkPhase) {
  const struct {
    const char* gauge;
    const char* tooltip;
    std::uint32_t placed_in; // 0: the main panel
    std::uint32_t first, second;
    int width;
  } toggles[] = {
      {"kestovil toggle_pan_start", "display/hide start/TADG/commut bat", 0, 10090, 10100, 70},
      {"kestovil toggle_pan_clock", "display/hide clock", 0, 10130, 0, 70},
      {"kestovil toggle_pan_gps", "display/hide GPS", 0, 10180, 0, 70},
      {"kestovil toggle_pan_ap", "display/hide autopilot only", 0, 10050, 0, 70},
      {"kestovil toggle_pan_hyd", "display/hide hydraulic/servo panels", 0, 10060, 10070, 77},
      {"kestovil toggle_pan_hyd2", "close hydraulic & servo panels", 10060, 10060, 10070, 204},
      {"kestovil toggle_pan_elec", "display/hide electrical panel", 0, 10080, 0, 96},
      {"kestovil toggle_pan_elec2", "close electrical panel", 10080, 10080, 0, 63},
      {"kestovil toggle_pan_up2", "display/hide Upper2 panel", 0, 10110, 0, 85},
      {"kestovil toggle_pan_up22", "close Upper2 panel", 10110, 10110, 0, 127},
      {"kestovil toggle_pan_up3", "display/hide Upper3 panel", 0, 10120, 0, 85},
      {"kestovil toggle_pan_up32", "close Upper3 panel", 10120, 10120, 0, 70},
      {"kestovil toggle_pan_ped2", "close pedestal", 10040, 10040, 0, 78},
      {"kestovil toggle_pan_pressu", "display/hide cabin press panel", 0, 10160, 0, 70},
      {"kestovil toggle_pan_fail", "display/hide failures & easy start panel", 0, 10170, 0, 70},
  };
  for (const auto& t : toggles) {
    Bed b;
    EXPECT_EQ(b->tooltip(t.gauge), t.tooltip);
    if (t.placed_in != 0) {
      b->open_window(t.first);
      if (t.second != 0) b->open_window(t.second);
    }
    const bool was_open = b->window_open(t.first);
    EXPECT_FALSE(b->click(t.gauge, t.width, 5)) << t.gauge << ": nothing beyond its right edge";
    EXPECT_TRUE(b->click(t.gauge, t.width - 1, 30)) << t.gauge;
    EXPECT_EQ(b->window_open(t.first), !was_open) << t.gauge;
    if (t.second != 0) {
      EXPECT_EQ(b->window_open(t.second), !was_open) << t.gauge;
    }
    if (t.placed_in != 0) continue; // closed with its own window
    EXPECT_TRUE(b->click(t.gauge, 0, 0));
    EXPECT_EQ(b->window_open(t.first), was_open) << t.gauge << ": a second click undoes it";

    b.frames();
    EXPECT_FALSE(b.visible(t.gauge, 1)) << t.gauge << ": icon hidden";
    b.set("blink_phase", 1);
    b.frames();
    EXPECT_TRUE(b.visible(t.gauge, 1)) << t.gauge << ": icon shown in the blink phase";
  }
}

TEST(Toggles, GearAndDoorsCycleOnTheGroundAndToggleTheGearAirborne) {
  Bed b;
  const char* const GEARDOORS = "kestovil toggle_pan_geardoors";
  EXPECT_EQ(b->tooltip(GEARDOORS), "display/hide gear ind./doors ind. panel");
  const struct {
    bool doors, gear;
    int state;
  } cycle[] = {{true, false, 1}, {false, true, 2}, {false, false, 0}, {true, false, 1}};
  for (const auto& step : cycle) {
    const std::size_t opens = b.keys(KEY_OPEN), closes = b.keys(KEY_CLOSE);
    b->click(GEARDOORS, 50, 30);
    EXPECT_EQ(b->window_open(10140), step.doors) << "state " << step.state;
    EXPECT_EQ(b->window_open(10150), step.gear) << "state " << step.state;
    EXPECT_EQ(b.state("panel_geardoors_state"), step.state);
    EXPECT_EQ(b.keys(KEY_OPEN) - opens, step.state == 0 ? 0u : 1u) << "state " << step.state;
    EXPECT_EQ(b.keys(KEY_CLOSE) - closes, step.state == 0 ? 2u : 1u) << "state " << step.state;
  }
  b->set_token(ON_GROUND, 0);
  b->click(GEARDOORS, 50, 30);
  EXPECT_FALSE(b->window_open(10140));
  EXPECT_TRUE(b->window_open(10150));
  b->click(GEARDOORS, 50, 30);
  EXPECT_FALSE(b->window_open(10150)) << "airborne the gear window toggles";
  EXPECT_EQ(b.state("panel_geardoors_state"), 1) << "the ground cycle waits";
}

TEST(Toggles, TestGaugePushesTheElevatorWhileItsFlagIsSet) {
  Bed b;
  b.set("hydrau_press_blue", 3000); // flight controls driven: the automation leaves them alone
  b.frames();
  EXPECT_EQ(b.keys(0x1009E), 0u);
  b->click("testgauge2k", 10, 10);
  b.frames(3);
  EXPECT_EQ(b.keys(0x1009E), 3u);
  EXPECT_EQ(last_key_value(b, 0x1009E), -15000);
  b->set_token(0x13D, -8192);
  b.frames();
  EXPECT_EQ(b->element("testgauge2k", 1)->text, "-0.500000");
  b->click("testgauge2k", 10, 10);
  b.frames(3);
  EXPECT_EQ(b.keys(0x1009E), 4u);
}

// ---- overview strip and overview

TEST(Overview, TheStripOpensItUnlessLockedAndChoicesCloseItUnlessLocked) {
  Bed b;
  EXPECT_EQ(b->tooltip(STRIP), "display overview panel");
  b->click(STRIP, 600, 5, MOUSE_MOVE);
  EXPECT_TRUE(b->window_open(OVERVIEW));
  b->click(OVERVIEW_PANEL, 470, 20); // the electrical panel
  EXPECT_TRUE(b->window_open(10080));
  EXPECT_FALSE(b->window_open(OVERVIEW)) << "a choice makes way for its window";
  EXPECT_EQ(b.state("panel_overview_lock"), 2);
  b->click(STRIP, 600, 5, MOUSE_MOVE);
  EXPECT_FALSE(b->window_open(OVERVIEW)) << "not straight back over the window chosen";
  EXPECT_EQ(b.state("panel_overview_lock"), 0);
  b->click(STRIP, 600, 5, MOUSE_MOVE);
  EXPECT_TRUE(b->window_open(OVERVIEW));

  // Locked with a right click: passing over the strip does nothing, choices leave it open.
  b->click(STRIP, 600, 5, MOUSE_RIGHTSINGLE);
  EXPECT_EQ(b.state("panel_overview_lock"), 10);
  b->close_window(OVERVIEW);
  b->click(STRIP, 600, 5, MOUSE_MOVE);
  EXPECT_FALSE(b->window_open(OVERVIEW));
  b->open_window(OVERVIEW);
  b->click(OVERVIEW_PANEL, 150, 20); // upper panel 3
  EXPECT_TRUE(b->window_open(10120));
  EXPECT_TRUE(b->window_open(OVERVIEW));
  EXPECT_EQ(b.state("panel_overview_lock"), 10);
  b->click(STRIP, 600, 5, MOUSE_LEFTSINGLE);
  EXPECT_EQ(b.state("panel_overview_lock"), 0);

  // Held by the flashing lamp (lock 1): the strip opens it and choices leave it open.
  b.set("panel_overview_lock", 1);
  b->close_window(OVERVIEW);
  b->click(STRIP, 600, 5, MOUSE_MOVE);
  EXPECT_TRUE(b->window_open(OVERVIEW));
  b->click(OVERVIEW_PANEL, 150, 20);
  EXPECT_TRUE(b->window_open(OVERVIEW));
  b->click(OVERVIEW_PANEL, 10, 10); // the close button ends any hold
  EXPECT_FALSE(b->window_open(OVERVIEW));
}

TEST(Overview, EachAreaHighlightsItsPartAndOpensItsWindows) {
  const struct {
    int x, y;
    int highlight;
    std::vector<int> images; // chain elements of the highlight, drawn together
    std::vector<std::uint32_t> windows;
  } areas[] = {
      {470, 20, 1, {1}, {10080}},
      {350, 90, 2, {2, 3}, {10060, 10070}},
      {470, 320, 2, {2, 3}, {10060, 10070}},
      {250, 365, 3, {4, 5}, {10040}},
      {300, 325, 3, {4, 5}, {10040}},
      {310, 255, 4, {6}, {10160}},
      {150, 260, 5, {7, 8}, {10090, 10100}},
      {250, 285, 5, {7, 8}, {10090, 10100}},
      {150, 90, 6, {9}, {10110}},
      {360, 20, 7, {10}, {10120}},
      {305, 225, 8, {11}, {10140}}, // on the ground: the doors first
      {190, 400, 0, {}, {10130}},
      {350, 449, 0, {}, {10170}},
  };
  for (const auto& a : areas) {
    Bed b({OVERVIEW});
    b->click(OVERVIEW_PANEL, a.x, a.y, MOUSE_MOVE);
    EXPECT_EQ(b.state("panel_overview_hilite"), a.highlight) << a.x << "," << a.y;
    b.frames();
    for (int n = 1; n <= 11; ++n) {
      const bool lit = std::find(a.images.begin(), a.images.end(), n) != a.images.end();
      EXPECT_EQ(b.visible(OVERVIEW_PANEL, n), lit) << a.x << "," << a.y << " image " << n;
    }
    EXPECT_TRUE(b->click(OVERVIEW_PANEL, a.x, a.y));
    for (std::uint32_t w : a.windows)
      EXPECT_TRUE(b->window_open(w)) << a.x << "," << a.y << " window " << w;
    EXPECT_EQ(open_windows(b).size(), a.windows.size()) << "the overview closed, nothing else";
  }

  Bed b({OVERVIEW});
  b->click(OVERVIEW_PANEL, 350, 90, MOUSE_MOVE);
  b->click(OVERVIEW_PANEL, 100, 300, MOUSE_MOVE); // a bare part of the picture
  EXPECT_EQ(b.state("panel_overview_hilite"), 0);
  EXPECT_FALSE(b->click(OVERVIEW_PANEL, 100, 300)) << "no action there";
  b->click(OVERVIEW_PANEL, 250, 400); // the ATC menu, closed then opened
  const auto& keys = b->key_events();
  ASSERT_GE(keys.size(), 3u);
  EXPECT_EQ(keys[keys.size() - 3].id, 0x103D2u);
  EXPECT_EQ(keys[keys.size() - 2].id, 0x103D1u);
  EXPECT_EQ(keys.back().id, KEY_CLOSE);
}

TEST(LoadPanel, HalvesHighlightAndAClickChoosesAndCloses) {
  Bed b({LOAD_PANEL});
  b->click(LOAD, 400, 100, MOUSE_MOVE);
  b.frames();
  EXPECT_EQ(b.state("panel_load_present"), 1);
  EXPECT_FALSE(b.visible(LOAD, 1));
  EXPECT_TRUE(b.visible(LOAD, 2));
  b->click(LOAD, 100, 20, MOUSE_MOVE); // above the halves
  b.frames();
  EXPECT_FALSE(b.visible(LOAD, 2));
  b->click(LOAD, 269, 243);
  EXPECT_EQ(b.state("panel_load_choice"), 1);
  EXPECT_FALSE(b->window_open(LOAD_PANEL));
  b->open_window(LOAD_PANEL);
  b->click(LOAD, 270, 45);
  EXPECT_EQ(b.state("panel_load_choice"), 2);
}

// ---- the start-up sequence

TEST(StartUp, WithoutALoadPanelItCountsDownThenGoesColdAndDarkLeavingTheElectricalPanel) {
  Bed b;
  b.sim = fresh_with_start_up();
  b->drop_window(LOAD_PANEL);
  b.frames();
  EXPECT_EQ(b.state("panel_load_choice"), 15);
  for (std::uint32_t w : {10040u, 10050u, 10060u, 10070u, 10080u, 10090u, 10100u, 10110u, 10120u,
                          10130u, 10150u, 10160u, 10180u})
    EXPECT_TRUE(b->window_open(w)) << w;
  EXPECT_FALSE(b->window_open(10140));
  EXPECT_FALSE(b->window_open(FAILURES));
  b.frames(12); // 13 updates after the one that set the counter
  EXPECT_EQ(b.state("panel_start_state"), 0);
  b.frames();
  EXPECT_EQ(b.state("panel_start_state"), 1);
  EXPECT_EQ(b.state("panel_load_choice"), 1);
  EXPECT_EQ(b.keys(KEY_SPEED_REF), 0u);
  b.frames();
  EXPECT_EQ(b.keys(KEY_SPEED_REF), 1u) << "cold and dark from the next update";
  EXPECT_EQ(last_key_value(b, KEY_SPEED_REF), 125);
  b.frames(8);
  EXPECT_EQ(b.state("panel_start_state"), 10);
  b.frames();
  EXPECT_EQ(b.state("panel_start_state"), 11);
  EXPECT_EQ(open_windows(b), std::vector<std::uint32_t>{10080});
  EXPECT_EQ(b.state("elec_master_sw"), 0);
  EXPECT_EQ(b.state("eng2_hp_cock_open"), 0);
  EXPECT_EQ(b.state("fuel_pump_rh4_sw"), 0);
  EXPECT_EQ(b.state("elec_gen2_sw"), 1);
  EXPECT_EQ(b.state("airc_valve_rh_sw"), 0);
  EXPECT_EQ(b.state("preset_easy_start"), 0);
  b.frames(20);
  EXPECT_EQ(b.keys(KEY_SPEED_REF), 9u) << "once in each of states 1 to 9, then no more";
}

TEST(StartUp, WithALoadPanelItWaitsForThePilotsChoice) {
  Bed b;
  b.sim = fresh_with_start_up();
  b.frames(200);
  EXPECT_EQ(b.state("panel_start_state"), 0);
  EXPECT_TRUE(b->window_open(LOAD_PANEL));
  EXPECT_TRUE(b->window_open(10060));
  b->click(LOAD, 100, 100); // cold and dark
  b.frames(11);
  EXPECT_EQ(b.state("panel_start_state"), 11);
  EXPECT_EQ(open_windows(b), std::vector<std::uint32_t>{10080});
  EXPECT_EQ(b.keys(KEY_SPEED_REF), 9u);
}

// A running start on the ground: the easy start runs from the failures window, which stays open
// until the preset has set itself off, and closes on the next update.
TEST(StartUp, RunningStartOnTheGroundKeepsTheFailuresWindowUntilTheEasyStartIsDone) {
  Bed b;
  b.sim = fresh_with_start_up();
  b.frames(2);
  b->click(LOAD, 400, 100); // engines running
  b.frames(2);
  EXPECT_TRUE(b->window_open(FAILURES));
  EXPECT_EQ(b.state("preset_easy_start"), 1);
  EXPECT_EQ(b.state("lights_beacon_sw"), 1);
  b.frames(9);
  ASSERT_EQ(b.state("panel_start_state"), 11);
  EXPECT_EQ(b.keys(KEY_SPEED_REF), 0u);
  EXPECT_EQ(open_windows(b), std::vector<std::uint32_t>{FAILURES});
  b.set("preset_easy_start", 0); // the preset has finished
  b.frames();
  EXPECT_TRUE(open_windows(b).empty());
  EXPECT_EQ(b.state("panel_fail_held_open"), 0);
  b->open_window(FAILURES); // the pilot's own opening is left alone
  b.frames(3);
  EXPECT_TRUE(b->window_open(FAILURES));
}

TEST(StartUp, AirborneAboveOneHundredItStartsRunningWithTheAirAsInFlight) {
  Bed b;
  b.sim = fresh_with_start_up();
  b->drop_window(LOAD_PANEL);
  b->set_token(ON_GROUND, 0);
  b->set_token(RADIO_HEIGHT, 100.5);
  b->set_token(AIRSPEED, 250);
  b.frames(15);
  EXPECT_EQ(b.state("panel_start_state"), 2);
  EXPECT_EQ(b.state("panel_load_choice"), 1) << "the count-down's choice, overruled by height";
  EXPECT_EQ(b.state("airc_valve_rh_pos"), 255);
  EXPECT_EQ(b.state("air_mainvalve_lh_pos"), 100);
  EXPECT_EQ(b.state("pressu_cabin_alt"), 0);
  EXPECT_EQ(b.state("lights_nav_sw"), 1);
  EXPECT_EQ(b.state("preset_easy_start"), 1);
  EXPECT_TRUE(b->window_open(FAILURES));
  b.frames(9);
  EXPECT_EQ(b.state("panel_start_state"), 11);
  EXPECT_FALSE(b->window_open(10080)) << "closed in state 9";
  EXPECT_EQ(b.keys(KEY_SPEED_REF), 0u);

  Bed exactly;
  exactly.sim = fresh_with_start_up();
  exactly->drop_window(LOAD_PANEL);
  exactly->set_token(ON_GROUND, 0);
  exactly->set_token(RADIO_HEIGHT, 100.0);
  exactly.frames(30);
  EXPECT_EQ(exactly.keys(KEY_SPEED_REF), 9u) << "at 100 exactly: cold and dark";
}

// ---- the hydraulic-loss automation

struct Automation : Bed {
  Automation(double green, double red = 2500, double blue = 3000, double yellow = 3000) {
    set("hydrau_press_green", green);
    set("hydrau_press_red", red);
    set("hydrau_press_blue", blue);
    set("hydrau_yellow1_press", yellow);
    set("hydrau_yellow2_press", yellow);
  }
};

TEST(Automation, AirBrakesFoldWithoutGreenAtTheirThresholds) {
  const struct {
    double green, position, airspeed;
    std::uint32_t key; // 0: nothing sent
  } rows[] = {
      {1750, 0.9, 0, 0},         {1750, 1, 0, 0x10211}, {1750, 2999, 200, 0x10211},
      {1750, 3000, 60, 0},       {1750, 6000, 60, 0},   {1750, 6001, 60, 0x10210},
      {1750, 16381, 0, 0x10210}, {1750, 16382, 60, 0},  {1750, 4000, 61, 0},
      {1750, 4001, 61, 0x100FA}, {1751, 2000, 0, 0},    {1751, 9000, 200, 0},
  };
  for (const auto& r : rows) {
    Automation a(r.green);
    a->set_token(0x146, r.position);
    a->set_token(AIRSPEED, r.airspeed);
    a.frames();
    for (std::uint32_t key : {0x10211u, 0x10210u, 0x100FAu})
      EXPECT_EQ(a.keys(key), key == r.key ? 1u : 0u)
          << std::hex << key << std::dec << " at " << r.green << " psi, " << r.position << ", "
          << r.airspeed << " kt";
    if (r.key == 0x100FA) {
      EXPECT_EQ(last_key_value(a, 0x100FA), 7000);
    }
  }
}

TEST(Automation, RudderIsCentredWhileTaxiingWithoutRed) {
  const struct {
    double on_ground, airspeed, rudder, red;
    bool centred;
  } rows[] = {{1, 10, 500, 949, true},    {1, 60, -500, 949, true}, {1, 9.9, 500, 949, false},
              {1, 60.1, 500, 949, false}, {1, 30, 0, 949, false},   {1, 30, 500, 950, false},
              {0, 30, 500, 949, false}};
  for (const auto& r : rows) {
    Automation a(3000, r.red);
    a->set_token(ON_GROUND, r.on_ground);
    a->set_token(AIRSPEED, r.airspeed);
    a->set_token(0x13C, r.rudder);
    a.frames();
    EXPECT_EQ(a.keys(0x10099), r.centred ? 1u : 0u)
        << r.on_ground << " " << r.airspeed << " kt, rudder " << r.rudder << ", red " << r.red;
  }
}

TEST(Automation, FlightControlsLostWithoutBlueYellowAndGreen) {
  const struct {
    double blue, yellow, green;
    bool lost;
  } rows[] = {{1750, 1899, 1750, true},
              {1751, 1899, 1750, false},
              {1750, 1900, 1750, false},
              {1750, 1899, 1751, false}};
  for (const auto& r : rows) {
    Automation a(r.green, 2500, r.blue, r.yellow);
    a->set_token(0x139, 300);
    a.frames();
    EXPECT_EQ(a.state("hyd_flight_ctl_lost"), r.lost)
        << r.blue << " " << r.yellow << " " << r.green;
    EXPECT_EQ(a.keys(0x1004C), r.lost ? 1u : 0u);
  }
  Automation ground(0, 2500, 0, 0);
  ground.frames(3);
  EXPECT_EQ(ground.keys(0x1004C) + ground.keys(0x1009E) + ground.keys(0x100A0), 0u)
      << "on the ground only controls away from centre";
  ground->set_token(0x13D, -200);
  ground.frames();
  EXPECT_EQ(ground.keys(0x1009E), 1u);
  Automation airborne(0, 2500, 0, 0);
  airborne->set_token(ON_GROUND, 0);
  airborne.frames(2);
  for (std::uint32_t key : {0x1004Cu, 0x100A0u, 0x1009Eu})
    EXPECT_EQ(airborne.keys(key), 2u) << std::hex << key;
}

constexpr std::uint32_t PARKING_BRAKE = 0x143, KEY_PARKING_BRAKE = 0x10306;

TEST(Automation, ParkingBrakeIsSetWithoutRedAndGreenAndReleasedWhenEitherReturns) {
  Automation a(0, 949);
  a.frames();
  EXPECT_EQ(a.keys(KEY_PARKING_BRAKE), 1u);
  EXPECT_GT(a->token(PARKING_BRAKE), 0);
  EXPECT_EQ(a.state("hyd_park_auto"), 1);
  a.frames(10);
  EXPECT_EQ(a.keys(KEY_PARKING_BRAKE), 1u) << "set once";
  a.set("hydrau_press_red", 950);
  a.frames(10);
  EXPECT_EQ(a.keys(KEY_PARKING_BRAKE), 2u) << "released once";
  EXPECT_EQ(a->token(PARKING_BRAKE), 0);
  EXPECT_EQ(a.state("hyd_park_auto"), 0);

  Automation g(0, 949);
  g.frames();
  g.set("hydrau_press_green", 1751);
  g.frames(5);
  EXPECT_EQ(g.keys(KEY_PARKING_BRAKE), 2u) << "released on green too";
  EXPECT_EQ(g->token(PARKING_BRAKE), 0);
}

// Red drained by brake applications while green is back (engines running): the brake is left
// alone, not set and released by turns.
TEST(Automation, ParkingBrakeIsLeftAloneWithRedLowAndGreenUp) {
  Automation a(1751, 900);
  a.frames(20);
  EXPECT_EQ(a.keys(KEY_PARKING_BRAKE), 0u);
  EXPECT_EQ(a->token(PARKING_BRAKE), 0);
  a->set_token(PARKING_BRAKE, 32767); // the pilot's own brake
  a.frames(20);
  EXPECT_EQ(a.keys(KEY_PARKING_BRAKE), 0u);
}

// The pilot treads on the brakes (2) and releases the parking brake: when red returns, the
// automation's release must not set it again.
TEST(Automation, ABrakeThePilotReleasedIsNotSetByTheRelease) {
  Automation a(0, 900);
  a.frames();
  a->set_token(0x140, 6000);
  a.frames();
  EXPECT_EQ(a.state("hyd_park_auto"), 2);
  a->set_token(PARKING_BRAKE, 0);
  a->set_token(0x140, 0);
  a.set("hydrau_press_red", 2500);
  a.frames(3);
  EXPECT_EQ(a.keys(KEY_PARKING_BRAKE), 1u) << "only the setting";
  EXPECT_EQ(a->token(PARKING_BRAKE), 0);
  EXPECT_EQ(a.state("hyd_park_auto"), 0);
}

} // namespace
