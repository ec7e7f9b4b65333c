// The cockpit's sounds live with the start-panel toggle: loaded when it is installed (the
// scenario sound_install), released when it is killed, loaded again by its next install. The
// sequences themselves are the unit tests SoundTable.
#include "host/sound_view.h"
#include "k7test.h"

namespace {

const char* const kStartToggle = "kestovil toggle_pan_start";
const char* const kMaster = "kestovil elec_mas_sw_k7";

TEST(Sound, TheToggleKillReleasesEverySoundAndItsNextInstallLoadsThemAgain) {
  k7test::Bed b{k7test::ELECTRICAL};
  ASSERT_EQ(k7host::sound_states(*b.sim).size(), 16u);
  b->send_message(kStartToggle, PANEL_SERVICE_PRE_KILL);
  for (const auto& s : k7host::sound_states(*b.sim))
    EXPECT_FALSE(s.loaded) << s.name;

  // Switches still work, silently: no sound may be touched after the release.
  const std::uint32_t released = k7host::sound_op_count(*b.sim);
  EXPECT_TRUE(b->click(kMaster, 50, 20));
  b.frames(3);
  EXPECT_EQ(b.state("elec_master_sw"), 0);
  b->send_message(kStartToggle, PANEL_SERVICE_PRE_KILL); // a second kill is harmless
  EXPECT_EQ(k7host::sound_op_count(*b.sim), released);
  EXPECT_EQ(static_cast<const K7SoundDeviceLog*>(b->sound_device())->stale_calls, 0u);

  b->send_message(kStartToggle, PANEL_SERVICE_PRE_INSTALL);
  for (const auto& s : k7host::sound_states(*b.sim))
    EXPECT_TRUE(k7host::sound_state(*b.sim, s.name)->loaded) << s.name;
  EXPECT_TRUE(b->click(kMaster, 80, 20));
  EXPECT_EQ(k7host::sound_plays(*b.sim, "CLICK", released), 1);
}

} // namespace
