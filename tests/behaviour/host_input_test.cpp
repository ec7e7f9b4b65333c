// Odd things a host may do: unknown messages, stray clicks, kill before install, NaN values.
#include "k7test.h"

#include <cmath>
#include <limits>

namespace {

TEST(HostInput, UnknownServiceMessagesAreIgnoredByEveryGauge) {
  auto sim = k7test::fresh();
  sim->frames(2);
  for (const auto& g : sim->gauges())
    for (SINT32 message : {-1, 0, 1, 3, 4, 5, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 18, 99, 100000})
      sim->send_message(g.name, message, 0xDEADBEEF);
  sim->frames(2);
  EXPECT_EQ(k7test::state(*sim, "hydrau_press_red"), 2500.0);
}

TEST(HostInput, ClicksOutsideEveryAreaOrWithUnacceptedFlagsDoNothing) {
  auto sim = k7test::fresh();
  sim->frames(1);
  const auto before = sim->key_events().size();
  for (const auto& g : sim->gauges()) {
    EXPECT_FALSE(sim->click(g.name, -5, -5)) << g.name;
    EXPECT_FALSE(sim->click(g.name, 100000, 100000)) << g.name;
    EXPECT_FALSE(sim->click(g.name, 1, 1, 0)) << g.name << ": no mouse flags";
  }
  EXPECT_FALSE(sim->click("kestovil no_such_gauge_k7", 1, 1));
  EXPECT_EQ(sim->key_events().size(), before);
}

TEST(HostInput, KillBeforeInstallAndRepeatedInstallsAreHarmless) {
  k7host::Options options;
  options.install = false;
  k7host::Sim sim(options);
  for (const auto& g : sim.gauges())
    sim.send_message(g.name, PANEL_SERVICE_PRE_KILL);
  sim.install_all();
  for (const auto& g : sim.gauges())
    sim.send_message(g.name, PANEL_SERVICE_PRE_INSTALL);
  sim.open_window(k7test::ELECTRICAL);
  sim.frames(3);
  EXPECT_TRUE(sim.click("kestovil elec_mas_sw_k7", 50, 20));
  sim.frames(1);
  EXPECT_EQ(k7test::state(sim, "elec_master_sw"), 0.0) << "the panel works after two installs";
  sim.kill_all();
  sim.kill_all();
  for (const auto& g : sim.gauges())
    sim.send_message(g.name, PANEL_SERVICE_PRE_UPDATE);
  const auto* sound = static_cast<const K7SoundDeviceLog*>(sim.sound_device());
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->stale_calls, 0u) << "nothing touched a released sound or device";
}

TEST(HostInput, NaNAndHugeTokenValuesDoNotUpsetTheFrame) {
  const double odd[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(), 1e300, -1e300};
  for (double value : odd) {
    auto sim = k7test::fresh();
    for (const auto& w : sim->panel().windows)
      if (!w.main_panel) sim->open_window(w.ident);
    for (std::uint32_t token = 2; token <= 0x38D; ++token)
      if (token != 0x25C) sim->set_token(token, value);
    sim->set_named("airport_extpwr_connected", value);
    sim->frames(40);
    // The sanitizer build turns any out-of-range conversion into a failure; here the panel must
    // also still make sense: bus flags stay flags, pressures stay pressures, switches still work.
    for (const StateEntry* e : sim->state_entries()) {
      const std::string name = e->name;
      const bool bus = name.rfind("elec_bus_", 0) == 0 || name.rfind("elec_ac_", 0) == 0;
      if (bus && name != "elec_ac_volts") {
        const double v = *sim->state(name);
        EXPECT_TRUE(v == 0.0 || v == 1.0) << name << " = " << v << " with tokens at " << value;
      }
    }
    for (const char* pressure : {"hydrau_press_green", "hydrau_press_blue", "hydrau_press_red"})
      EXPECT_LE(*sim->state(pressure), 3000.0) << pressure << " with tokens at " << value;
    EXPECT_TRUE(sim->click("kestovil elec_mas_sw_k7", 50, 20));
    sim->frames(1);
    EXPECT_EQ(*sim->state("elec_master_sw"), 0.0) << "with tokens at " << value;
  }
}

} // namespace
