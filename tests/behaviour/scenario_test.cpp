// The scenario language: a failed expectation is reported with file, line, expected and actual;
// watched tokens and state variables are reported when they cross a band.
#include "k7test.h"

#include <cstdio>
#include <string>

namespace {

std::string run(k7host::Sim& sim, const std::string& script, k7host::ScenarioResult& result,
                bool narrate = false) {
  std::FILE* out = std::tmpfile();
  result = k7host::run_scenario(sim, script, "check.k7s", out, narrate);
  std::rewind(out);
  std::string text;
  char buf[512];
  while (std::fgets(buf, sizeof buf, out) != nullptr)
    text += buf;
  std::fclose(out);
  return text;
}

TEST(Scenario, FailedExpectationNamesFileLineExpectedAndActual) {
  auto sim = k7test::fresh();
  k7host::ScenarioResult r;
  const std::string text = run(*sim,
                               "# comment\n"
                               "set state hydrau_press_red 1200\n"
                               "expect state hydrau_press_red == 1200\n"
                               "expect state hydrau_press_red >= 1400\n",
                               r);
  EXPECT_EQ(r.expectations, 2);
  EXPECT_EQ(r.failures, 1);
  EXPECT_FALSE(r.error);
  EXPECT_NE(text.find("check.k7s:4:"), std::string::npos) << text;
  EXPECT_NE(text.find(">= 1400"), std::string::npos) << text;
  EXPECT_NE(text.find("1200"), std::string::npos) << text;
}

TEST(Scenario, AnExpectationOnSeveralElementsChecksAndReportsEachOne) {
  auto sim = k7test::fresh();
  k7host::ScenarioResult r;
  const std::string text =
      run(*sim, "open 10080\nframes 1\nexpect hidden \"kestovil elec_ext_pwr_k7\" 1 0\n", r);
  EXPECT_EQ(r.expectations, 2);
  EXPECT_EQ(r.failures, 1) << "the background shows";
  EXPECT_NE(text.find("hidden \"kestovil elec_ext_pwr_k7\" 0\n"), std::string::npos) << text;
}

TEST(Scenario, StepsActOnTheSimulator) {
  auto sim = k7test::fresh();
  k7host::ScenarioResult r;
  run(*sim,
      "set token 0x3C 0\n"
      "set named airport_stairs_available 1\n"
      "open 10080\n"
      "seconds 2\n"
      "expect token 0x3C == 0\n"
      "expect named airport_stairs_available == 1\n"
      "expect window 10080 open\n"
      "close 10080\n"
      "expect window 10080 closed\n",
      r);
  EXPECT_EQ(r.failures, 0);
  EXPECT_FALSE(r.error);
  EXPECT_EQ(sim->frame_count(), 36u);
  EXPECT_EQ(sim->token(0x25C), 2.0) << "the clock follows the frames at 18 per second";
  EXPECT_EQ(sim->token(0x1), 36.0) << "the tick count follows the frames";
}

TEST(Scenario, UnreadableStepsAndUnknownNamesAreScriptErrors) {
  for (const char* script : {"frobnicate 3\n", "expect state no_such_thing == 1\n",
                             "click \"kestovil nothing_k7\" 1 1\n", "set token 0x3C\n",
                             "expect key\n", "click \"unclosed 1 1\n", "open 4242\n"}) {
    auto sim = k7test::fresh();
    k7host::ScenarioResult r;
    run(*sim, script, r);
    EXPECT_TRUE(r.error) << script;
  }
}

TEST(Scenario, WatchReportsTokensByBandAndPrintShowsThem) {
  auto sim = k7test::fresh();
  k7host::ScenarioResult r;
  const std::string text = run(*sim,
                               "set token 0x271 5\nwatch 0x271/10 0x133\nframes 1\n"
                               "set token 0x271 25\nset token 0x133 3\nframes 1\n"
                               "print 0x271\nwatch 0x4A/0\n",
                               r, true);
  EXPECT_TRUE(r.error) << "a zero step is refused";
  EXPECT_NE(text.find("token 0x271"), std::string::npos) << text;
  EXPECT_NE(text.find(" 0 -> 3\n"), std::string::npos) << text;
  EXPECT_NE(text.find("0 -> 20"), std::string::npos) << "band of 10 reported, not 25: " << text;
}

TEST(Scenario, WatchReportsAStateVariableByBandOnceEach) {
  auto sim = k7test::fresh();
  k7host::ScenarioResult r;
  const std::string text = run(*sim,
                               "open 10060\nopen 10070\nset state elec_bus_ess 1\n"
                               "set state elec_bus_ess_hyd 1\nset state elec_bus_main 1\n"
                               "set state elec_ac_instr 1\nwatch hydrau_press_green/1000\n"
                               "set token 0x271 60\nset token 0x284 60\nseconds 6\n"
                               "expect state hydrau_press_green == 2500\n",
                               r, true);
  EXPECT_EQ(r.failures, 0) << text;
  EXPECT_NE(text.find("hydrau_press_green           0 -> 1000\n"), std::string::npos) << text;
  EXPECT_NE(text.find("1000 -> 2000\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("-> 30\n"), std::string::npos) << "not every update: " << text;
  std::size_t lines = 0;
  for (std::size_t at = text.find("hydrau_press_green"); at != std::string::npos;
       at = text.find("hydrau_press_green", at + 1))
    ++lines;
  EXPECT_EQ(lines, 2u) << text;

  for (const char* bad : {"watch hydrau_press_green/0\n", "watch hydrau_press_green/x\n",
                          "watch no_such_thing/10\n"}) {
    k7host::ScenarioResult e;
    run(*sim, bad, e);
    EXPECT_TRUE(e.error) << bad;
  }
}

} // namespace
