// A scenario a line at a time (the trainer's stepping): what each line comes to, frames spread
// over calls, and scripts refused before anything runs.
#include "host/scenario_steps.h"
#include "k7test.h"

namespace {

using k7host::ScenarioLine;

const char* const kBattery = R"(# the battery, off and on
open 10080
click "kestovil elec_mas_sw_k7" 57 30
seconds 2
expect state elec_master_sw == 0
expect state elec_master_sw == 2
click "kestovil elec_mas_sw_k7" 93 30
frames 1
expect state elec_master_sw == 2
)";

TEST(ScenarioSteps, EachLineShowsWhatItCameTo) {
  k7test::Bed sim;
  k7host::ScenarioSteps steps(*sim.sim, kBattery, "battery.k7s");
  ASSERT_EQ(steps.lines().size(), 8u) << "the comment is not a line";
  EXPECT_EQ(steps.lines()[0].number, 2);

  steps.advance(1); // open
  steps.advance(1); // click
  steps.advance(10);
  EXPECT_EQ(steps.current(), 2u) << "two seconds are still running";
  EXPECT_EQ(steps.lines()[2].status, ScenarioLine::RUNNING);
  EXPECT_EQ(steps.pending_frames(), 26);
  EXPECT_EQ(sim->frame_count(), 10u);
  steps.finish_line();
  EXPECT_EQ(sim->frame_count(), 36u);
  EXPECT_EQ(steps.lines()[2].status, ScenarioLine::RAN);

  while (!steps.finished())
    steps.advance(100);
  const auto& l = steps.lines();
  EXPECT_EQ(l[3].status, ScenarioLine::PASSED);
  EXPECT_EQ(l[4].status, ScenarioLine::FAILED);
  EXPECT_NE(l[4].output.find("expected == 2"), std::string::npos) << l[4].output;
  EXPECT_EQ(l[7].status, ScenarioLine::PASSED);
  EXPECT_EQ(steps.result().expectations, 3);
  EXPECT_EQ(steps.result().failures, 1);
  EXPECT_FALSE(steps.result().error);
  steps.advance(5); // past the end: nothing
  EXPECT_EQ(sim->frame_count(), 37u);
}

TEST(ScenarioSteps, ProblemsAreFoundWithoutRunning) {
  k7test::Bed sim;
  struct Case {
    const char* script;
    const char* why; // empty: readable
  };
  const Case cases[] = {
      {"say hello\nframes 3\nexpect state elec_master_sw >= 0\nwatch elec_master_sw", ""},
      {"frobnicate", "unknown step"},
      {"frames many", "needs a count"},
      {"say \"unclosed", "unclosed quote"},
      {"set state no_such_variable 1", "no state variable"},
      {"click \"no gauge\" 1 1", "no gauge"},
      {"click \"kestovil elec_mas_sw_k7\" 1 1 thumb", "click GAUGE"},
      {"open 4711", "no window 4711"},
      {"expect state no_such_variable == 1", "does not have"},
      {"expect state elec_master_sw =< 1", "cannot read this expectation"},
      {"render 0 /tmp/k7_steps_test.png", "writes files"},
      {"click \"kestovil elec_mas_sw_k7\" 4.7e37 1", "click GAUGE"},
  };
  for (const Case& c : cases) {
    const auto problems = k7host::scenario_problems(*sim.sim, c.script, false);
    if (*c.why == '\0') {
      EXPECT_TRUE(problems.empty()) << c.script << ": " << problems.front();
    } else {
      ASSERT_EQ(problems.size(), 1u) << c.script;
      EXPECT_NE(problems[0].find(c.why), std::string::npos) << problems[0];
    }
  }
  EXPECT_TRUE(k7host::scenario_problems(*sim.sim, "render 0 x.png", true).empty());
  EXPECT_EQ(sim->frame_count(), 0u) << "checking ran the simulator";
  EXPECT_FALSE(sim->window_open(k7test::ELECTRICAL));
}

// Numbers no gauge or log could hold are unreadable steps, not values cast out of range.
TEST(ScenarioSteps, FarOutNumbersAreUnreadable) {
  for (const char* step :
       {"click \"kestovil elec_mas_sw_k7\" 4.7e37 1",
        "expect value \"kestovil elec_mas_sw_k7\" 1e30 == 0",
        "expect visible \"kestovil elec_mas_sw_k7\" -1e30", "expect keycount -5e20 == 0"}) {
    k7test::Bed sim;
    std::FILE* out = std::tmpfile();
    const auto r = k7host::run_scenario(*sim.sim, step, "far", out, false);
    std::fclose(out);
    EXPECT_TRUE(r.error) << step;
    EXPECT_EQ(r.expectations, 0) << step;
  }
}

} // namespace
