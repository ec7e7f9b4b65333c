// The pedestal levers, the gear and door indicators and the exterior lights, through the stand-in.
// (The gear horn is the scenario gear_horn.)
#include "k7test.h"

namespace {

using namespace k7test;

const std::string SPDBRK = "kestovil spdbrk_lev_k7";
const std::string FLAPS = "kestovil flaps_lev_k7";
const std::string GEAR = "kestovil gear_lev_k7";
const std::string PARKB = "kestovil parkb_lev_k7";
const std::string GEARIND = "kestovil gearind_k7";
const std::string DOORS_IND = "kestovil doors_ind_k7";
const std::string NAV = "kestovil lights_nav_k7";
const std::string LAND = "kestovil lights_land_k7";

constexpr std::uint32_t ON_GROUND = 0x3C, AIRSPEED = 0x3D, PARKING_BRAKE = 0x143,
                        SPOILER_HANDLE = 0x145, FLAP_HANDLE = 0x148, GEAR_1 = 0x14D, GEAR_2 = 0x14C,
                        GEAR_3 = 0x14E, STANDBY = 0x338, RADIO_HEIGHT = 0x266, NAV_LIGHT = 0x26B,
                        SECOND_LIGHT = 0xB, LANDING_LIGHT = 0xE;
constexpr std::uint32_t KEY_STANDBY = 0x10305, KEY_GEAR_UP = 0x1021F, KEY_GEAR_DOWN = 0x10220,
                        KEY_PARKING_BRAKE = 0x100D8, KEY_WINDOW = 0x103CB;

struct Pedestal : Bed {
  Pedestal() : Bed{PEDESTAL} {}
  void pressures(double green, double red) {
    set("hydrau_press_green", green);
    set("hydrau_press_red", red);
  }
  void gear(double p1, double p2, double p3) {
    sim->set_token(GEAR_1, p1);
    sim->set_token(GEAR_2, p2);
    sim->set_token(GEAR_3, p3);
  }
  void airborne() { sim->set_token(ON_GROUND, 0); }
};

// ---- levers
// -------------------------------------------------------------------------------------------

TEST(Levers, EachLeverCommandsOnlyAbove1750GreenOrTheBrakeThresholds) {
  struct Case {
    std::string gauge;
    int x, y;
    std::uint32_t key;
    double green, red;
    bool sent;
  };
  const Case cases[] = {
      {SPDBRK, 20, 100, 0x10210, 1750, 0, false},
      {SPDBRK, 20, 100, 0x10210, 1751, 0, true},
      {SPDBRK, 20, 10, 0x10211, 1750, 0, false},
      {SPDBRK, 20, 10, 0x10211, 1751, 0, true},
      {FLAPS, 30, 200, 0x100DE, 1750, 3000, false},
      {FLAPS, 30, 200, 0x100DE, 1751, 0, true},
      {FLAPS, 30, 10, 0x100DF, 1750, 3000, false},
      {FLAPS, 30, 10, 0x100DF, 1751, 0, true},
      {GEAR, 20, 10, KEY_GEAR_UP, 1750, 3000, false},
      {GEAR, 20, 10, KEY_GEAR_UP, 1751, 0, true},
      {GEAR, 20, 200, KEY_GEAR_DOWN, 1750, 3000, false},
      {GEAR, 20, 200, KEY_GEAR_DOWN, 1751, 0, true},
  };
  for (const Case& c : cases) {
    Pedestal p;
    p.pressures(c.green, c.red);
    EXPECT_TRUE(p->click(c.gauge, c.x, c.y));
    EXPECT_EQ(p.keys(c.key), c.sent ? 1u : 0u)
        << c.gauge << std::hex << " " << c.key << std::dec << " at " << c.green << " psi";
    EXPECT_EQ(p.calls("CLICK"), 0u) << "lever clicks are silent";
  }
  // The parking brake: set by green above 1400 or red above 950.
  for (auto [green, red, sent] :
       {std::tuple{1400, 950, false}, std::tuple{1401, 0, true}, std::tuple{0, 951, true}}) {
    Pedestal p;
    p.pressures(green, red);
    p->click(PARKB, 10, 150);
    p->click(PARKB, 10, 150);
    EXPECT_EQ(p.keys(KEY_PARKING_BRAKE), sent ? 1u : 0u) << green << " / " << red;
  }
}

TEST(Levers, LeversWithoutPressureMoveAloneAndFollowTheSimulatorWhenItDrives) {
  Pedestal p;
  p.pressures(0, 0);
  p->click(SPDBRK, 20, 100);
  p.frames(3);
  EXPECT_EQ(p.state("spdbrk_lev_state"), 2) << "kept out though the handle reads 0";
  EXPECT_TRUE(p.visible(SPDBRK, 2));
  p->set_token(SPOILER_HANDLE, 16383);
  p.frames();
  EXPECT_EQ(p.state("spdbrk_lev_state"), 1);
  p->set_token(SPOILER_HANDLE, 0);
  p.frames();
  EXPECT_EQ(p.state("spdbrk_lev_state"), 0);

  for (int i = 0; i < 7; ++i)
    p->click(FLAPS, 30, 200);
  EXPECT_EQ(p.state("flaps_lev_pos"), 5) << "whole detents, at most 5";
  p.frames();
  for (int image = 1; image <= 6; ++image)
    EXPECT_FALSE(p.visible(FLAPS, image)) << "beyond 2.95: the face alone";
  p.pressures(3000, 3000);
  p->set_token(FLAP_HANDLE, 4800); // 1.5 detents
  p.frames();
  EXPECT_EQ(p.state("flaps_lev_pos"), 1.5) << "green back: the lever jumps to the handle";
  EXPECT_TRUE(p.visible(FLAPS, 2));
  p.night();
  p.frames();
  shows(p, FLAPS, {5}, {2});

  // With pressure on the ground the gear lever follows the handle; neutral once all gear is up.
  p->set_token(0x14B, 0);
  p.frames();
  EXPECT_EQ(p.state("gear_lev_state"), 2);
  p.gear(0, 0, 0);
  p.frames();
  EXPECT_EQ(p.state("gear_lev_state"), 0);
}

// The standby value swings between about 0.1 and 0.2 from here on.
void expect_swing(Pedestal& p, const char* how) {
  p.frames(300);
  double low = 1, high = 0;
  for (int i = 0; i < 200; ++i) {
    p.frames();
    low = std::min(low, p->token(STANDBY));
    high = std::max(high, p->token(STANDBY));
  }
  EXPECT_GE(low, 0.08) << how;
  EXPECT_LE(high, 0.22) << how;
}

struct Standby : Pedestal {
  Standby() {
    pin_engines(70, 70);
    fans(30);
  }
  void fans(double n1) {
    sim->set_token(0x270, n1);
    sim->set_token(0x283, n1);
  }
};

TEST(Levers, StandbyFlapsSwingOnRedPressureWhateverStateGreenLeftThemIn) {
  {
    Standby p; // green never seen: the value rests at 0 in state 0
    p.pressures(0, 3000);
    expect_swing(p, "from rest at 0");
  }
  {
    Standby p; // green up to 1.0, then lost
    p.pressures(3000, 3000);
    p.frames(150);
    EXPECT_EQ(p.state("flaps_standby_state"), 0);
    p.pressures(0, 3000);
    expect_swing(p, "from 1.0");
  }
  {
    Standby p; // green lost while the value still rises (state 6)
    p.pressures(3000, 3000);
    p.frames(30);
    EXPECT_EQ(p.state("flaps_standby_state"), 6);
    p.pressures(0, 3000);
    expect_swing(p, "from state 6");

    p.fans(5); // engines stopped: the swing is ended once, not toggled for ever
    const auto since = p->frame_count() + 1;
    p.frames(50);
    EXPECT_EQ(p.keys(KEY_STANDBY, since), 1u);
    EXPECT_EQ(p.state("flaps_standby_state"), 0);
    p.fans(30); // and starts again with them
    expect_swing(p, "engines restarted");
  }
}

TEST(Levers, InFlightWithoutGreenTheGearIsHeldAndAnEmergencyExtensionOnlyGoesDown) {
  Pedestal p;
  k7host::gear_hold(*p.sim, true);
  p.airborne();
  p.pressures(0, 0);
  p.gear(4999, 10, 0);
  p.frames(3);
  EXPECT_EQ(p.keys(KEY_GEAR_UP), 3u) << "nearly up: kept up every update";
  EXPECT_EQ(p.state("gear_hyd_lost"), 1);
  p.gear(5000, 10, 0);
  const auto since = p->frame_count() + 1;
  p.frames();
  EXPECT_EQ(p.keys(KEY_GEAR_UP, since), 0u);
  for (auto [p1, sent] : {std::pair{15000.0, false}, std::pair{15001.0, true},
                          std::pair{16382.0, true}, std::pair{16383.0, false}}) {
    p.gear(p1, 16383, 16383);
    const auto before = p->frame_count() + 1;
    p.frames();
    EXPECT_EQ(p.keys(KEY_GEAR_DOWN, before), sent ? 1u : 0u) << p1;
  }

  p.pressures(0, 951);
  p.set("emerg_gear_lev", 1);
  p.set("gear_pos_max", 0);
  p.gear(8000, 8000, 8000);
  p.frames();
  EXPECT_EQ(p.state("gear_hyd_lost"), 0);
  EXPECT_EQ(p.state("gear_pos_max"), 8000);
  p.gear(7900, 7900, 7900); // going back up
  const auto back = p->frame_count() + 1;
  p.frames();
  EXPECT_EQ(p.keys(KEY_GEAR_DOWN, back), 1u);
  p.gear(16300, 16300, 16300);
  p.frames();
  EXPECT_EQ(p.state("gear_hyd_lost"), 1) << "locked down ends the guard";
}

TEST(Levers, TheParkingBrakeLeverNeverReleasesASetBrakeNorSetsAReleasedOne) {
  Pedestal p;
  p.pressures(3000, 3000);
  p->set_token(PARKING_BRAKE, 32767); // set by the simulator
  p.set("parkb_lev_state", 1);
  p->click(PARKB, 10, 150); // to set: the brake already is
  EXPECT_EQ(p.keys(KEY_PARKING_BRAKE), 0u);
  EXPECT_GT(p->token(PARKING_BRAKE), 0);
  p->click(PARKB, 10, 50); // to intermediate: releases
  EXPECT_EQ(p.keys(KEY_PARKING_BRAKE), 1u);
  EXPECT_EQ(p->token(PARKING_BRAKE), 0);
  p.set("parkb_lev_state", 2);
  p->click(PARKB, 10, 50); // released already: nothing to send
  EXPECT_EQ(p.keys(KEY_PARKING_BRAKE), 1u);

  // Set without pressure: nothing is sent and the lever is back to released next update.
  Pedestal q;
  // Red at 950 does not hold the brake (it must exceed 950), and the start panel's automation
  // sets the brake for the crew only below 950.
  q.pressures(0, 950);
  q->click(PARKB, 10, 150);
  q->click(PARKB, 10, 150);
  q.frames();
  EXPECT_EQ(q.state("parkb_lev_state"), 0);
  q.frames();
  EXPECT_TRUE(q.visible(PARKB, 3)) << "released image";
}

TEST(Levers, FuelValveRepeatersShowTheLeftValveOnTheEssentialBusAndAreDarkWithout) {
  Pedestal p;
  p.frames();
  for (int lamp = 7; lamp <= 14; ++lamp)
    EXPECT_FALSE(p.visible(PARKB, lamp)) << lamp;
  p.power();
  p.frames();
  shows(p, PARKB, {7, 9});
  p.set("fuel_valve_lh_b", 0);
  p.frames();
  shows(p, PARKB, {8, 10}, {7});
}

// ---- gear indicator and doors
// -----------------------------------------------------------------------------------------

struct Indicators : Pedestal {
  Indicators() {
    sim->open_window(GEAR_INDICATOR);
    sim->open_window(DOORS);
    power();
  }
};

// Chain places on the gear indicator: up-lock 2-4 (second set 5-7), transit 8-10, down 11-13
// (second set 14-16).
TEST(GearIndicator, LampsByPositionBusHydraulicsAndTheNavigationSwitchsBitmapSet) {
  Indicators g;
  g.gear(500, 4500, 11700);
  g.set("lights_nav_sw", 1);
  g.frames();
  EXPECT_FALSE(g.visible(GEARIND, 2)) << "500: up-lock dark";
  EXPECT_TRUE(g.visible(GEARIND, 3));
  EXPECT_FALSE(g.visible(GEARIND, 9)) << "4500: not yet in transit";
  EXPECT_FALSE(g.visible(GEARIND, 10)) << "11700: out of transit";
  EXPECT_TRUE(g.visible(GEARIND, 13)) << "11700: down and locked";
  g.gear(501, 4501, 11699);
  g.frames();
  shows(g, GEARIND, {2, 9, 10}, {13});

  g.gear(8000, 16383, 16383);
  g.set("lights_nav_sw", 0);
  g.frames();
  EXPECT_FALSE(g.visible(GEARIND, 2));
  EXPECT_TRUE(g.visible(GEARIND, 5)) << "second set";
  EXPECT_TRUE(g.visible(GEARIND, 15));
  g.set("gear_hyd_lost", 1);
  g.airborne(); // so that the gear lever keeps the flag
  g.pressures(0, 0);
  g.frames();
  shows(g, GEARIND, {}, {5, 8});
  EXPECT_TRUE(g.visible(GEARIND, 15)) << "down and locked still works";
  g.power(false);
  g.frames();
  for (int lamp = 2; lamp <= 16; ++lamp)
    EXPECT_FALSE(g.visible(GEARIND, lamp)) << lamp;
}

TEST(GearIndicator, TheWindowIsCalledStrictlyInsideBothEndsOfTheStroke) {
  Indicators g;
  for (auto [p1, sent] :
       {std::pair{0.0, false}, std::pair{1.0, true}, std::pair{999.0, true},
        std::pair{1000.0, false}, std::pair{15000.0, false}, std::pair{15001.0, true},
        std::pair{15999.0, true}, std::pair{16000.0, false}, std::pair{16383.0, false}}) {
    g.gear(p1, 16383, 16383);
    g.set("panel_geardoors_state", 0);
    const auto since = g->frame_count() + 1;
    g.frames();
    EXPECT_EQ(g.keys(KEY_WINDOW, since), sent ? 1u : 0u) << p1;
    EXPECT_EQ(g.state("panel_geardoors_state"), sent ? 2 : 0) << p1;
  }
}

TEST(Doors, TheDoorFollowsItsRequestClosesAbove60KnotsAndTheRequestWinsOverOtherModules) {
  Indicators d;
  EXPECT_TRUE(d->click(DOORS_IND, 20, 40));
  d.frames();
  EXPECT_EQ(d->named("forward_door_open"), 1.0);
  d.frames();
  EXPECT_TRUE(d.visible(DOORS_IND, 2)) << "forward door lamp";
  d->set_named("forward_door_open", 0.0); // another module closes it
  d.frames();
  EXPECT_EQ(d->named("forward_door_open"), 1.0) << "the request is written back";
  d->set_token(AIRSPEED, 60);
  d.frames();
  EXPECT_EQ(d.state("door_fwd_req"), 1) << "not at 60 kt";
  d->set_token(AIRSPEED, 60.5);
  d.frames();
  EXPECT_EQ(d.state("door_fwd_req"), 0);
  EXPECT_EQ(d->named("forward_door_open"), 1.0);
  d.frames();
  EXPECT_EQ(d->named("forward_door_open"), 0.0) << "closed on the next update";

  d.airborne();
  EXPECT_TRUE(d->click(DOORS_IND, 20, 40));
  EXPECT_TRUE(d->click(DOORS_IND, 90, 40));
  EXPECT_EQ(d.state("door_fwd_req"), 0) << "buttons do nothing in flight";
  EXPECT_EQ(d.state("stairs_req"), 0);
}

TEST(Doors, StairsStayOnlyParkedOnGroundPowerAndAreWithdrawnWithTheRequest) {
  Indicators d;
  d.set("elec_extpwr_available", 1);
  d->set_token(PARKING_BRAKE, 32767);
  EXPECT_TRUE(d->click(DOORS_IND, 90, 40));
  d.frames();
  EXPECT_EQ(d->named("airport_stairs_available"), 1.0);
  d->set_token(PARKING_BRAKE, 0);
  d.frames();
  EXPECT_EQ(d.state("stairs_req"), 0);
  EXPECT_EQ(d->named("airport_stairs_available"), 0.0) << "withdrawn in the same update";

  // In flight the stairs are still looked at up to a radio height of 2.0.
  d.airborne();
  for (auto [height, withdrawn] : {std::pair{2.0, true}, std::pair{2.01, false}}) {
    d->set_token(RADIO_HEIGHT, height);
    d->set_named("airport_stairs_available", 1.0);
    d.frames();
    EXPECT_EQ(d->named("airport_stairs_available"), withdrawn ? 0.0 : 1.0) << height;
  }
}

TEST(Doors, LampTestsLight12UpdatesHoldingKeepsThemLitAndNothingLightsWithoutTheBus) {
  Indicators d;
  EXPECT_TRUE(d->click(DOORS_IND, 40, 10, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT));
  d.frames(11);
  EXPECT_TRUE(d.visible(DOORS_IND, 3));
  d.frames();
  EXPECT_FALSE(d.visible(DOORS_IND, 3));
  EXPECT_TRUE(d->click(DOORS_IND, 150, 40, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT));
  for (int i = 0; i < 40; ++i) {
    d.frames();
    d->click(DOORS_IND, 150, 40, MOUSE_DOWN_REPEAT);
  }
  EXPECT_TRUE(d.visible(DOORS_IND, 5)) << "held";
  d.set("parkb_lev_state", 1);
  d->set_named("forward_door_open", 1.0);
  d.power(false);
  d.frames();
  for (int lamp = 2; lamp <= 5; ++lamp)
    EXPECT_FALSE(d.visible(DOORS_IND, lamp)) << lamp;
}

// ---- lights
// -------------------------------------------------------------------------------------------

struct Lights : Bed {
  Lights() : Bed{LIGHTS} {}
  void buses(bool on) {
    for (const char* bus :
         {"elec_bus_ess", "elec_bus_main", "elec_bus_gen_a", "elec_bus_gen_b", "elec_bus_gen_c"})
      set(bus, on);
  }
};

TEST(Lights, EachLightIsToggledEveryUpdateItDisagreesAndNeverWhileItAgrees) {
  struct Case {
    std::string gauge, bus;
    int on_x, on_y;
    std::uint32_t token, key;
  };
  for (const Case& c :
       {Case{"kestovil lights_nac_k7", "elec_bus_gen_a", 70, 50, 0x26D, 0x1034A},
        Case{"kestovil lights_taxi_k7", "elec_bus_main", 60, 50, 0x171, 0x102C0},
        Case{"kestovil lights_beacon_k7", "elec_bus_gen_b", 80, 50, 0x170, 0x102BF}}) {
    Lights l;
    l.buses(true);
    EXPECT_TRUE(l->click(c.gauge, c.on_x, c.on_y));
    l.frames(5);
    EXPECT_EQ(l.keys(c.key), 1u) << c.gauge;
    EXPECT_EQ(l->token(c.token), 1.0) << c.gauge;
    for (int i = 0; i < 3; ++i) { // the simulator keeps turning it off
      l->set_token(c.token, 0.0);
      l.frames();
    }
    EXPECT_EQ(l.keys(c.key), 4u) << c.gauge;
    l.set(c.bus, 0);
    l.frames(3);
    EXPECT_EQ(l.keys(c.key), 5u) << c.gauge << ": off without its bus";
    EXPECT_EQ(l->token(c.token), 0.0) << c.gauge;
    l->set_token(c.token, 0.5); // neither on nor off: left alone
    l.frames();
    EXPECT_EQ(l.keys(c.key), 5u) << c.gauge;
  }
}

TEST(Lights, NavigationOffSteadyOrAlternating30TicksEachSurvivingAClockSetBack) {
  Lights l;
  l.buses(true);
  l->click(NAV, 60, 60); // steady
  l.frames(2);
  EXPECT_EQ(l->token(NAV_LIGHT), 1.0);
  EXPECT_EQ(l->token(SECOND_LIGHT), 0.0);
  l.set("elec_bus_gen_c", 0);
  l->click(NAV, 60, 10); // alternating, but without its bus: steady
  l.frames(40);
  EXPECT_EQ(l->token(NAV_LIGHT), 1.0);
  EXPECT_EQ(l.keys(0x10204), 0u);

  l.set("elec_bus_gen_c", 1);
  l.frames();
  const auto start = l->frame_count();
  auto lights = [&] { return std::pair{l->token(NAV_LIGHT), l->token(SECOND_LIGHT)}; };
  EXPECT_EQ(lights(), (std::pair{0.0, 1.0})) << "the second light first";
  l.frames(29);
  EXPECT_EQ(lights(), (std::pair{0.0, 1.0}));
  l.frames();
  EXPECT_EQ(lights(), (std::pair{1.0, 0.0})) << "30 ticks on";
  l.frames(30);
  EXPECT_EQ(lights(), (std::pair{0.0, 1.0})) << "60 ticks on";
  EXPECT_EQ(l.state("lights_nav_alt_phase"), 1);
  EXPECT_EQ(l->frame_count() - start, 60u);

  l.frames(10);
  k7host::clock_set_back(*l.sim, 2); // 36 ticks back, behind the last cycle's start
  l.frames(2);
  l.frames(30);
  EXPECT_EQ(lights(), (std::pair{1.0, 0.0})) << "the cycle restarted";

  l.set("elec_bus_ess", 0);
  l.frames();
  EXPECT_EQ(lights(), (std::pair{0.0, 0.0}));
  EXPECT_EQ(l.state("lights_nav_alt_run"), 0);
}

TEST(Lights, LandingLightsExtendOnTheirBusFromTheFirstUpdateAndSpringTheSwitchBack) {
  Lights l;
  l.buses(true);
  EXPECT_TRUE(l->click(LAND, 60, 130)); // lights on while retracted
  EXPECT_TRUE(l->click(LAND, 20, 130)); // already on
  EXPECT_EQ(l.calls("CLICK"), 1u);
  l.frames();
  EXPECT_EQ(l.state("lights_land_extended"), 1);
  EXPECT_EQ(l->token(LANDING_LIGHT), 1.0) << "on from the update it is extended";
  EXPECT_TRUE(l.visible(LAND, 3)) << "extension switch at extend";
  l.frames(48);
  EXPECT_TRUE(l.visible(LAND, 3));
  l.frames();
  EXPECT_TRUE(l.visible(LAND, 2)) << "back in the middle after 50 updates";

  l.set("elec_bus_gen_c", 0);
  EXPECT_TRUE(l->click(LAND, 20, 20)); // retract without power
  l.frames(60);
  EXPECT_EQ(l.state("lights_land_extended"), 1) << "no motion without the bus";
  EXPECT_EQ(l->token(LANDING_LIGHT), 0.0);
  l.set("elec_bus_gen_c", 1);
  EXPECT_TRUE(l->click(LAND, 20, 70)); // left extend: the light stays off
  EXPECT_TRUE(l->click(LAND, 20, 50)); // stop
  l.frames();
  EXPECT_EQ(l.state("lights_land_motor"), 0);
  EXPECT_EQ(l->token(LANDING_LIGHT), 0.0);
  EXPECT_EQ(l.calls("CLICK"), 2u) << "extend and stop are silent";
}

} // namespace
