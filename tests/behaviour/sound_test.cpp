// The cockpit's sounds through the stand-in: loaded with the start-panel toggle, released with it.
#include "host/sound_view.h"
#include "k7test.h"
#include "platform/sound_device_log.h"

#include <string>
#include <vector>

namespace {

const char* const kStartToggle = "kestovil toggle_pan_start";

TEST(Sound, InstallLoadsAllSixteenInOrderWithTheirFormats) {
  auto sim = k7test::fresh();
  const auto sounds = k7host::sound_states(*sim);
  ASSERT_EQ(sounds.size(), 16u);
  const char* order[] = {"CLICK",      "HI",         "LO",         "GONGMONO",
                         "KLAXONCONT", "SONNERIE",   "BRAKESSND",  "CRECELLE",
                         "KLAXONGEAR", "CACHEMETAL", "V80KTS",     "V1KTS",
                         "VRKTS",      "AIRCOND",    "AIRCONDENT", "AIRCONDSORT"};
  for (std::size_t i = 0; i < 16; ++i) {
    EXPECT_EQ(sounds[i].name, order[i]);
    EXPECT_TRUE(sounds[i].loaded) << order[i];
  }
  EXPECT_EQ(sounds[6].bits, 8) << "BRAKESSND is 8-bit";
  EXPECT_EQ(sounds[9].rate, 44100) << "CACHEMETAL";
  EXPECT_EQ(sounds[10].rate, 11025) << "V80KTS";
  EXPECT_EQ(sounds[13].channels, 2) << "AIRCOND is stereo";
}

TEST(Sound, KillReleasesInReverseOrderAndASecondInstallLoadsAgain) {
  auto sim = k7test::fresh();
  const std::uint32_t before_kill = k7host::sound_op_count(*sim);
  sim->send_message(kStartToggle, PANEL_SERVICE_PRE_KILL);
  for (const auto& s : k7host::sound_states(*sim))
    EXPECT_FALSE(s.loaded) << s.name;
  const auto* log = static_cast<const K7SoundDeviceLog*>(sim->sound_device());
  ASSERT_NE(log, nullptr);
  std::vector<std::string> released;
  for (std::uint32_t seq = before_kill + 1; seq <= log->op_count; ++seq) {
    const K7SoundOp& op = log->ops[(seq - 1) % K7_SOUND_LOG_OPS];
    if (op.kind == K7_SOP_RELEASE) released.push_back(op.name);
  }
  ASSERT_EQ(released.size(), 16u);
  EXPECT_EQ(released.front(), "AIRCONDSORT");
  EXPECT_EQ(released[1], "AIRCONDENT");
  EXPECT_EQ(released.back(), "CLICK");
  EXPECT_TRUE(k7host::sound_events(*sim, before_kill).empty()) << "nothing plays on release";

  sim->send_message(kStartToggle, PANEL_SERVICE_PRE_KILL); // a second kill is harmless
  sim->send_message(kStartToggle, PANEL_SERVICE_PRE_INSTALL);
  for (const char* name : {"CLICK", "AIRCONDSORT", "BRAKESSND"}) {
    auto s = k7host::sound_state(*sim, name);
    ASSERT_TRUE(s.has_value()) << name;
    EXPECT_TRUE(s->loaded) << name;
  }
}

TEST(Sound, ClickAfterTheSoundsAreReleasedIsSilentAndSafe) {
  auto sim = k7test::fresh();
  sim->send_message(kStartToggle, PANEL_SERVICE_PRE_KILL);
  const std::uint32_t since = k7host::sound_op_count(*sim);
  // The start toggle's own click still works; no sound may be touched after release.
  EXPECT_TRUE(sim->click(kStartToggle, 10, 10));
  sim->frames(3);
  EXPECT_EQ(k7host::sound_plays(*sim, "CLICK", since), 0);
}

} // namespace
