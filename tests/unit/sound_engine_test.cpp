// The sound table's life with the stand-in device: install and kill of the start panel's gauge,
// the volume knob, device faults, the file fallback, and the calls that must be skipped.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/resource.h"
#include "sound/sound.h"
#include "sound/sound_state.h"
#include "sound/sound_engine.h"
#include "sound/wav.h"
#include "sound_test_support.h"

namespace {

const std::int16_t kLoadVolumes[SND_COUNT] = {-2000, -2600, -2600, -1500, -800,  -1500,
                                              -1500, -1500, -1500, -1000, -1000, -1000,
                                              -1000, -1000, -1000, -1000};

class SoundTable : public ::testing::Test {
protected:
  void SetUp() override { fresh(); }
  void TearDown() override { fresh(); }

  static void fresh() {
    sound_kill();
    k7_dev_sound_reset();
    for (int i = 0; i < SND_COUNT; ++i)
      sound_volume[i] = kLoadVolumes[i];
    sound_volume_steps = 0;
  }

  static const K7SoundDeviceLog& dev() { return *k7_dev_sound_device(); }

  // The operations recorded after sequence number `after`.
  static std::vector<K7SoundOp> ops_since(std::uint32_t after) {
    std::vector<K7SoundOp> out;
    for (std::uint32_t s = after + 1; s <= dev().op_count; ++s) {
      out.push_back(dev().ops[(s - 1) % K7_SOUND_LOG_OPS]);
    }
    return out;
  }

  static std::vector<K7SoundOp> ops_of(std::uint32_t after, int kind) {
    std::vector<K7SoundOp> out;
    for (const auto& op : ops_since(after)) {
      if (op.kind == kind) out.push_back(op);
    }
    return out;
  }

  // The device record of a loaded sound (the newest record with its name).
  static const K7SoundBufferLog* rec(SoundId id) {
    for (int i = static_cast<int>(dev().buffer_count) - 1; i >= 0; --i) {
      if (std::string(dev().buffers[i].name) == sound_names[id]) return &dev().buffers[i];
    }
    return nullptr;
  }

  // The device buffer of a loaded sound holds exactly its resource's samples, in its format.
  static void expect_holds_resource(SoundId id) {
    SCOPED_TRACE(sound_names[id]);
    const K7SoundBufferLog* r = rec(id);
    ASSERT_NE(r, nullptr);
    const void* image = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(platform_find_resource(0, sound_names[id], &image, &size));
    WavImage wav{};
    ASSERT_TRUE(wav_parse(image, size, &wav));
    unsigned bytes = 0;
    const unsigned char* data =
        k7_dev_sound_buffer_bytes(static_cast<int>(r - dev().buffers), &bytes);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(bytes, wav.data_size);
    EXPECT_EQ(std::memcmp(data, wav.data, bytes), 0);
    EXPECT_EQ(r->channels, wav.format.channels);
    EXPECT_EQ(r->rate, wav.format.samples_per_sec);
    EXPECT_EQ(r->bits, wav.format.bits_per_sample);
  }

  static int live_buffers() {
    int n = 0;
    for (std::uint32_t i = 0; i < dev().buffer_count; ++i)
      n += dev().buffers[i].released == 0;
    return n;
  }

  // The install sequence: the device, 16 x (create, lock, unlock) in table order, 16 volumes.
  static void expect_install_sequence(std::uint32_t after) {
    std::vector<K7SoundOp> ops = ops_since(after);
    ASSERT_EQ(ops.size(), 1u + 3u * SND_COUNT + SND_COUNT);
    EXPECT_EQ(ops[0].kind, K7_SOP_DEVICE_CREATE);
    EXPECT_EQ(ops[0].refused, 0);
    for (int i = 0; i < SND_COUNT; ++i) {
      SCOPED_TRACE(sound_names[i]);
      const K7SoundOp* load = &ops[1 + 3 * i];
      EXPECT_EQ(load[0].kind, K7_SOP_BUFFER_CREATE);
      EXPECT_EQ(load[1].kind, K7_SOP_LOCK);
      EXPECT_EQ(load[2].kind, K7_SOP_UNLOCK);
      for (int k = 0; k < 3; ++k) {
        EXPECT_STREQ(load[k].name, sound_names[i]);
        EXPECT_EQ(load[k].refused, 0);
      }
      const K7SoundOp& volume = ops[1 + 3 * SND_COUNT + i];
      EXPECT_EQ(volume.kind, K7_SOP_VOLUME);
      EXPECT_STREQ(volume.name, sound_names[i]);
      EXPECT_EQ(volume.value, sound_volume[i]);
    }
  }
};

TEST_F(SoundTable, InstallLoadsTheSixteenSoundsInOrderWithTheirVolumes) {
  sound_install(0);
  expect_install_sequence(0);
  EXPECT_EQ(dev().device_alive, 1);
  EXPECT_EQ(live_buffers(), SND_COUNT);
  for (int i = 0; i < SND_COUNT; ++i) {
    const auto id = static_cast<SoundId>(i);
    EXPECT_TRUE(sound_loaded(id));
    expect_holds_resource(id);
    EXPECT_EQ(rec(id)->volume, kLoadVolumes[i]);
    EXPECT_EQ(rec(id)->filled, 1);
    EXPECT_EQ(rec(id)->playing, 0);
  }
}

TEST_F(SoundTable, KillReleasesInReverseOrderThenTheDeviceAndASecondInstallRepeatsAll) {
  sound_install(0);
  const std::uint32_t mark = dev().op_count;
  sound_kill();
  std::vector<K7SoundOp> ops = ops_since(mark);
  ASSERT_EQ(ops.size(), SND_COUNT + 1u);
  for (int i = 0; i < SND_COUNT; ++i) {
    EXPECT_EQ(ops[i].kind, K7_SOP_RELEASE);
    EXPECT_STREQ(ops[i].name, sound_names[SND_COUNT - 1 - i]);
  }
  EXPECT_EQ(ops[SND_COUNT].kind, K7_SOP_DEVICE_RELEASE);
  EXPECT_EQ(dev().device_alive, 0);
  EXPECT_EQ(live_buffers(), 0);
  for (int i = 0; i < SND_COUNT; ++i)
    EXPECT_FALSE(sound_loaded(static_cast<SoundId>(i)));
  EXPECT_FALSE(sound_device_present());

  const std::uint32_t again = dev().op_count;
  sound_install(0);
  expect_install_sequence(again);
  EXPECT_EQ(dev().device_creations, 2u);
  EXPECT_EQ(live_buffers(), SND_COUNT);
  EXPECT_EQ(dev().stale_calls, 0u);
}

TEST_F(SoundTable, InstallWhileLoadedReleasesEverythingFirst) {
  sound_install(0);
  const std::uint32_t mark = dev().op_count;
  sound_install(0);
  std::vector<K7SoundOp> ops = ops_since(mark);
  ASSERT_GT(ops.size(), SND_COUNT + 1u);
  for (int i = 0; i < SND_COUNT; ++i)
    EXPECT_EQ(ops[i].kind, K7_SOP_RELEASE);
  EXPECT_EQ(ops[SND_COUNT].kind, K7_SOP_DEVICE_RELEASE);
  expect_install_sequence(mark + SND_COUNT + 1);
  EXPECT_EQ(live_buffers(), SND_COUNT); // nothing leaked from the first install
  EXPECT_EQ(dev().device_releases + 1, dev().device_creations);
  EXPECT_EQ(dev().stale_calls, 0u);
}

TEST_F(SoundTable, KillBeforeInstallASecondKillAndCallsAfterTheKillTouchNothing) {
  sound_kill();
  EXPECT_EQ(dev().op_count, 0u);
  sound_install(0);
  sound_play(SND_KLAXONCONT, true);
  sound_kill();
  const std::uint32_t mark = dev().op_count;
  sound_kill();
  sound_play(SND_CLICK);
  sound_play(SND_KLAXONCONT, true);
  sound_stop(SND_KLAXONCONT);
  sound_volume_step(-1);
  EXPECT_EQ(dev().op_count, mark);
  EXPECT_EQ(dev().device_releases, 1u);
  EXPECT_EQ(dev().stale_calls, 0u);
  EXPECT_EQ(sound_volume_steps, -1); // the knob itself still turns
  // The next install applies the knob's volumes.
  sound_install(0);
  EXPECT_EQ(rec(SND_CLICK)->volume, kLoadVolumes[SND_CLICK] - 100);
}

TEST_F(SoundTable, WithoutADeviceEveryHandleIsNullAndEveryCallIsSkipped) {
  k7_dev_sound_inject(K7_SND_FAULT_NO_DEVICE);
  sound_install(0);
  EXPECT_FALSE(sound_device_present());
  for (int i = 0; i < SND_COUNT; ++i)
    EXPECT_FALSE(sound_loaded(static_cast<SoundId>(i)));
  EXPECT_EQ(dev().buffers_created, 0u);
  const std::uint32_t mark = dev().op_count;
  sound_play(SND_CLICK);
  sound_stop(SND_CLICK);
  sound_volume_step(1);
  sound_kill();
  sound_kill();
  EXPECT_EQ(dev().op_count, mark);
  EXPECT_EQ(dev().stale_calls, 0u);
}

TEST_F(SoundTable, ARefusedBufferLeavesOnlyThatHandleNull) {
  k7_dev_sound_inject(K7_SND_FAULT_NO_BUFFER);
  sound_install(0);
  EXPECT_TRUE(sound_device_present());
  EXPECT_EQ(live_buffers(), 0);
  EXPECT_FALSE(sound_loaded(SND_CLICK));
  EXPECT_EQ(ops_of(0, K7_SOP_VOLUME).size(), 0u);
  k7_dev_sound_inject(0);
  sound_install(0); // a later install loads them all
  EXPECT_EQ(live_buffers(), SND_COUNT);
}

TEST_F(SoundTable, AFailedFillReleasesTheBuffer) {
  k7_dev_sound_inject(K7_SND_FAULT_LOCK);
  sound_install(0);
  EXPECT_EQ(dev().buffers_created, static_cast<std::uint32_t>(SND_COUNT));
  EXPECT_EQ(dev().buffers_released, static_cast<std::uint32_t>(SND_COUNT));
  for (int i = 0; i < SND_COUNT; ++i)
    EXPECT_FALSE(sound_loaded(static_cast<SoundId>(i)));
  const std::uint32_t mark = dev().op_count;
  sound_play(SND_CLICK);
  sound_kill(); // only the device is left to release
  std::vector<K7SoundOp> ops = ops_since(mark);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].kind, K7_SOP_DEVICE_RELEASE);
  EXPECT_EQ(dev().stale_calls, 0u);
}

TEST_F(SoundTable, ALockInTwoPartsIsFilledWhole) {
  k7_dev_sound_inject(K7_SND_FAULT_SPLIT_LOCK);
  sound_install(0);
  ASSERT_EQ(live_buffers(), SND_COUNT);
  for (int i = 0; i < SND_COUNT; ++i)
    expect_holds_resource(static_cast<SoundId>(i));
}

TEST_F(SoundTable, TheKnobMovesAllVolumesByOneDecibelWithinFifteenSteps) {
  sound_install(0);
  for (int n = 0; n < 14; ++n)
    sound_volume_step(-1);
  EXPECT_EQ(sound_volume_steps, -14);
  const std::uint32_t mark = dev().op_count;
  sound_volume_step(-1); // from -14: still allowed
  EXPECT_EQ(sound_volume_steps, -15);
  std::vector<K7SoundOp> applied = ops_of(mark, K7_SOP_VOLUME);
  ASSERT_EQ(applied.size(), static_cast<std::size_t>(SND_COUNT));
  for (int i = 0; i < SND_COUNT; ++i) {
    EXPECT_EQ(sound_volume[i], kLoadVolumes[i] - 1500);
    EXPECT_EQ(applied[i].value, kLoadVolumes[i] - 1500);
    EXPECT_STREQ(applied[i].name, sound_names[i]);
  }
  const std::uint32_t at_stop = dev().op_count;
  sound_volume_step(-1); // from -15: refused, nothing changes or is applied
  EXPECT_EQ(sound_volume_steps, -15);
  EXPECT_EQ(sound_volume[SND_CLICK], kLoadVolumes[SND_CLICK] - 1500);
  EXPECT_EQ(dev().op_count, at_stop);
  for (int n = 0; n < 40; ++n)
    sound_volume_step(1);
  EXPECT_EQ(sound_volume_steps, 15);
  EXPECT_EQ(sound_volume[SND_KLAXONCONT], kLoadVolumes[SND_KLAXONCONT] + 1500);
  // Louder than full is applied as full.
  EXPECT_EQ(rec(SND_KLAXONCONT)->volume, 0);
  EXPECT_EQ(rec(SND_CLICK)->volume, -500);
  sound_volume_step(0);
  EXPECT_EQ(sound_volume_steps, 15);
}

TEST_F(SoundTable, AVolumePushedBelowTheFloorIsAppliedAsTheFloor) {
  sound_install(0);
  sound_volume[SND_CLICK] = -9950;
  sound_volume_step(-1);
  EXPECT_EQ(sound_volume[SND_CLICK], -10050);
  EXPECT_EQ(rec(SND_CLICK)->volume, -10000);
  std::vector<K7SoundOp> applied = ops_of(0, K7_SOP_VOLUME);
  for (const auto& op : applied)
    EXPECT_EQ(op.refused, 0);
  // And the knob can not wrap a table entry round.
  sound_volume[SND_HI] = -32700;
  sound_volume_step(-1);
  EXPECT_EQ(sound_volume[SND_HI], -32768);
  EXPECT_EQ(rec(SND_HI)->volume, -10000);
}

TEST_F(SoundTable, HandleCallsClampTheVolumeAndSkipNullHandles) {
  sound_init(0);
  SoundHandle h = sound_load("GONGMONO");
  ASSERT_NE(h, nullptr);
  const K7SoundBufferLog* r = rec(SND_GONGMONO);
  sound_set_volume(h, -20000);
  EXPECT_EQ(r->volume, -10000);
  sound_set_volume(h, 300);
  EXPECT_EQ(r->volume, 0);
  sound_set_volume(h, -10000);
  EXPECT_EQ(r->volume, -10000);
  const std::uint32_t mark = dev().op_count;
  SoundHandle none = nullptr;
  sound_play(none, 1);
  sound_stop(none);
  sound_set_volume(none, -100);
  sound_release(none);
  EXPECT_EQ(dev().op_count, mark);
  sound_release(h);
  EXPECT_EQ(h, nullptr);
  sound_release(h); // the second release is skipped
  sound_shutdown();
  sound_shutdown();
  EXPECT_EQ(dev().device_releases, 1u);
  EXPECT_EQ(dev().stale_calls, 0u);
}

// ---- playing ------------------------------------------------------------------------------------

TEST_F(SoundTable, AOneShotPlaysToItsEndAndIsNotRestartedWhilePlaying) {
  sound_install(0);
  const K7SoundBufferLog* gong = rec(SND_GONGMONO); // 0.99 s
  k7_dev_sound_frame(1.0);
  sound_play(SND_GONGMONO);
  EXPECT_EQ(gong->playing, 1);
  EXPECT_EQ(gong->looping, 0);
  k7_dev_sound_frame(1.5);
  EXPECT_NEAR(gong->position, 0.5, 1e-9);
  sound_play(SND_GONGMONO); // a new alarm while it sounds: it carries on
  EXPECT_EQ(gong->starts, 1u);
  EXPECT_NEAR(gong->position, 0.5, 1e-9);
  k7_dev_sound_frame(1.98);
  EXPECT_EQ(gong->playing, 1); // one step before its end
  k7_dev_sound_frame(2.0);
  EXPECT_EQ(gong->playing, 0);
  EXPECT_EQ(gong->position, 0.0);
  sound_play(SND_GONGMONO);
  EXPECT_EQ(gong->starts, 2u);
  EXPECT_EQ(gong->play_calls, 3u);
  EXPECT_EQ(ops_of(0, K7_SOP_END).size(), 1u);
}

TEST_F(SoundTable, ALoopRunsUntilStoppedAndResumesWhereItStopped) {
  sound_install(0);
  const K7SoundBufferLog* horn = rec(SND_KLAXONCONT); // 1.00 s
  sound_play(SND_KLAXONCONT, true);
  const std::uint32_t mark = dev().op_count;
  sound_play(SND_KLAXONCONT, true); // every update while the stall lasts
  EXPECT_EQ(ops_since(mark).back().no_effect, 1);
  EXPECT_EQ(horn->starts, 1u);
  k7_dev_sound_frame(3.25);
  EXPECT_EQ(horn->playing, 1);
  EXPECT_NEAR(horn->position, 0.25, 1e-9);
  sound_stop(SND_KLAXONCONT);
  k7_dev_sound_frame(4.0);
  EXPECT_EQ(horn->playing, 0);
  EXPECT_NEAR(horn->position, 0.25, 1e-9); // the position stays where it stopped
  sound_play(SND_KLAXONCONT, true);
  k7_dev_sound_frame(4.5);
  EXPECT_NEAR(horn->position, 0.75, 1e-9);
  sound_stop(SND_KLAXONCONT);
  sound_stop(SND_KLAXONCONT);
  EXPECT_EQ(ops_since(dev().op_count - 1).back().no_effect, 1);
}

// ---- the file fallback --------------------------------------------------------------------------

namespace {

std::string temp_file(const wavtest::Bytes& bytes) {
  char path[] = "/tmp/k7sound_XXXXXX";
  int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  FILE* f = fdopen(fd, "wb");
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

bool mapped(const std::string& path) {
  std::ifstream maps("/proc/self/maps");
  std::string text((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
  return text.find(path) != std::string::npos;
}

} // namespace

TEST_F(SoundTable, ANameThatIsNoResourceIsLoadedAsAFileAndUnmapped) {
  const std::string good = temp_file(wavtest::simple_wav(1, 22050, 16, 2000));
  const std::string bad =
      temp_file(wavtest::riff({wavtest::chunk("fmt ", wavtest::fmt_body(1, 22050, 16, 12)),
                               wavtest::chunk("data", wavtest::samples(64))}));
  const std::string empty = temp_file({});
  sound_init(0);
  SoundHandle h = sound_load(good.c_str());
  ASSERT_NE(h, nullptr);
  EXPECT_FALSE(mapped(good));
  const K7SoundBufferLog& r = dev().buffers[dev().buffer_count - 1];
  EXPECT_EQ(r.data_size, 2000u);
  EXPECT_EQ(std::string(good).substr(good.size() - 5),
            std::string(r.name).substr(std::strlen(r.name) - 5));
  EXPECT_EQ(sound_load(bad.c_str()), nullptr);
  EXPECT_FALSE(mapped(bad));
  EXPECT_EQ(sound_load(empty.c_str()), nullptr);
  EXPECT_EQ(sound_load("/tmp"), nullptr);
  EXPECT_EQ(sound_load("NOSUCHSOUND"), nullptr);
  EXPECT_EQ(sound_load(""), nullptr);
  EXPECT_EQ(sound_load(nullptr), nullptr);
  EXPECT_EQ(dev().buffers_created, 1u);
  sound_release(h);
  sound_shutdown();
  std::remove(good.c_str());
  std::remove(bad.c_str());
  std::remove(empty.c_str());
}

} // namespace
