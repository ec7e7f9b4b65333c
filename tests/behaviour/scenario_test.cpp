// The scenario language: a failed expectation is reported with file, line, expected and actual;
// watched tokens are reported when they cross a band.
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

} // namespace
