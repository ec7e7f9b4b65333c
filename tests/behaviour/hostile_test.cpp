// The randomized host: short runs that must hold every check, runs that repeat from their seed,
// and faults put in on purpose that the checks must catch.
#include "host/hostile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using k7host::HostileOptions;
using k7host::run_hostile;
using k7host::Sim;

namespace {

HostileOptions run_of(std::uint64_t seed, std::uint64_t frames) {
  HostileOptions o;
  o.seed = seed;
  o.frames = frames;
  return o;
}

} // namespace

// CI's short run: a few seeds, about 20,000 frames in all.
TEST(HostileHost, ShortRunsOnSeveralSeedsHoldEveryCheck) {
  for (std::uint64_t seed : {1u, 2u, 3u, 4u}) {
    const auto r = run_hostile(run_of(seed, 5000));
    EXPECT_EQ(r.finding, "") << "seed " << seed;
    EXPECT_EQ(r.frames, 5000u);
    EXPECT_GT(r.clicks, 100u) << "the host should reach the click areas";
  }
}

TEST(HostileHost, ARunRepeatsFromItsSeedAndAnotherSeedRunsDifferently) {
  const auto a = run_hostile(run_of(11, 1500));
  const auto b = run_hostile(run_of(11, 1500));
  const auto c = run_hostile(run_of(12, 1500));
  EXPECT_EQ(a.loads, b.loads);
  EXPECT_EQ(a.clicks, b.clicks);
  EXPECT_NE(a.clicks, c.clicks);
}

namespace {

// Faults put in on purpose at frame 300 of the run.
constexpr std::uint64_t FAULT_FRAME = 300;

void enumeration_out_of_range(Sim& sim, std::uint64_t frame) {
  if (frame == FAULT_FRAME) sim.set_state("cabin_call_hi", 3); // a 0/1/2 switch
}
void charge_noted_below_empty(Sim& sim, std::uint64_t frame) {
  if (frame == FAULT_FRAME) sim.set_state("elec_batt_chg_noted", -5);
}
void nan_noted(Sim& sim, std::uint64_t frame) {
  if (frame == FAULT_FRAME)
    sim.set_state("hydrau_flap_note_angle", std::numeric_limits<double>::quiet_NaN());
}
void volume_table_entry(Sim& sim, std::uint64_t frame) {
  if (frame == FAULT_FRAME) sim.set_state("sound_volume[5]", 5000);
}
// What the module would send if it turned a NaN or a negative number into an event value.
void send_key(Sim& sim, std::uint32_t id, std::uint32_t value) {
  sim.take_key_event(id, value);
}
void throttle_from_nan(Sim& sim, std::uint64_t frame) {
  if (frame == FAULT_FRAME) send_key(sim, 0x1011C, 0x80000000u);
}
void negative_frequency_step(Sim& sim, std::uint64_t frame) {
  if (frame == FAULT_FRAME) send_key(sim, 0x102C1, static_cast<std::uint32_t>(-1));
}
void window_nobody_has(Sim& sim, std::uint64_t frame) {
  if (frame == FAULT_FRAME) send_key(sim, 0x103CA, 42);
}
void no_such_event(Sim& sim, std::uint64_t frame) {
  if (frame == FAULT_FRAME) send_key(sim, 0x20000, 0);
}

// A needle on the main panel whose routine gives NaN: the module's own element routines are swapped
// for this one in the loaded copy.
FLOAT64 FSAPI needle_gives_nan(ELEMENT_NEEDLE*) {
  return std::numeric_limits<double>::quiet_NaN();
}
ELEMENT_NEEDLE* first_needle(ELEMENT_HEADER* e) {
  if (e == nullptr) return nullptr;
  if (e->element_type == ELEMENT_TYPE_NEEDLE) return reinterpret_cast<ELEMENT_NEEDLE*>(e);
  for (ELEMENT_HEADER** n = e->next_element; n != nullptr && *n != nullptr; ++n)
    if (ELEMENT_NEEDLE* found = first_needle(*n)) return found;
  return nullptr;
}
void needle_routine_nan(Sim& sim, std::uint64_t frame) {
  if (frame != FAULT_FRAME) return;
  for (const auto& g : sim.gauges()) {
    if (g.window != 0) continue;
    GAUGEHDR* h = sim.header(g.name);
    if (h == nullptr || h->elements_list == nullptr) continue;
    if (ELEMENT_NEEDLE* n = first_needle(h->elements_list[0])) {
      n->update_cb = needle_gives_nan;
      return;
    }
  }
}

struct FaultCase {
  void (*fault)(Sim&, std::uint64_t);
  const char* reported;
};

} // namespace

TEST(HostileHost, FaultsPutInOnPurposeAreCaughtAtTheirFrameWithTheSeed) {
  const FaultCase cases[] = {
      {enumeration_out_of_range, "state cabin_call_hi = 3, outside 0..2"},
      {charge_noted_below_empty, "state elec_batt_chg_noted = -5, outside 0..1800"},
      {nan_noted, "state hydrau_flap_note_angle = nan"},
      {volume_table_entry, "state sound_volume[5] = 5000"},
      {throttle_from_nan, "key event 0x1011C value 2147483648 (0x80000000): outside 0..16384"},
      {negative_frequency_step, "key event 0x102C1 value 4294967295 (0xFFFFFFFF): not a value"},
      {window_nobody_has, "key event 0x103CA value 42 (0x2A): outside 10000..19999"},
      {no_such_event, "key event 0x20000 value 0 (0x0): no such event"},
      {needle_routine_nan, " gave nan"},
  };
  for (const FaultCase& c : cases) {
    HostileOptions o = run_of(5, 1000);
    o.fault = c.fault;
    const auto r = run_hostile(o);
    EXPECT_NE(r.finding.find(c.reported), std::string::npos) << r.finding;
    EXPECT_NE(r.finding.find("seed 5, frame 301 "), std::string::npos) << r.finding;
    EXPECT_EQ(r.frames, FAULT_FRAME + 1);
  }
}

// Events the module really sends, with the values the simulator takes, pass the check.
TEST(HostileHost, KeyEventsWithValuesTheSimulatorTakesPass) {
  Sim sim;
  send_key(sim, 0x103CA, 10130);                              // toggle the clock window
  send_key(sim, 0x1009E, static_cast<std::uint32_t>(-15000)); // elevator pushed down
  send_key(sim, 0x1011C, 5734);                               // throttle 1
  send_key(sim, 0x10309, 1);
  send_key(sim, 0x1024C, static_cast<std::uint32_t>(-1300)); // altitude held below sea level
  ASSERT_GE(sim.key_events().size(), 5u);
  EXPECT_EQ(k7host::check_key_events(sim, 0), "");
}

// Found by the randomized host: the fuel-used counters kept a due time of 1e300 s from a clock no
// simulator gives. The clock is held at an odd value after the aircraft model has set it.
TEST(HostileHost, FuelUsedDueTimeStaysATimeWhateverTheClock) {
  for (double clock : {1e300, -1e300}) {
    Sim sim;
    std::FILE* out = std::tmpfile();
    k7host::run_scenario(sim,
                         "open 10080\nopen 10110\nset state elec_master_sw 1\n"
                         "click \"kestovil elec_ext_pwr_k7\" 60 24\nseconds 2\n",
                         "setup", out, false);
    std::fclose(out);
    ASSERT_EQ(sim.state("fuel_used_armed_1").value_or(0), 1.0) << "the counter should be timing";
    static double held;
    held = clock;
    sim.set_frame_hook([](Sim& s, void*) { s.set_token(0x25F, held); }, nullptr);
    sim.frames(3);
    EXPECT_EQ(k7host::check_state_ranges(sim), "") << clock;
  }
}
