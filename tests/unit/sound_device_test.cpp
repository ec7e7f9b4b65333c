// The stand-in sound device as the simulator stand-in sees it: its refusals, its record of calls
// on released buffers, and the mix of what played into a WAV file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/sound_device.h"
#include "sound/sound.h"
#include "sound/wav.h"
#include "sound_test_support.h"

namespace {

class StandinDevice : public ::testing::Test {
protected:
  void SetUp() override {
    sound_kill();
    k7_dev_sound_reset();
  }
  void TearDown() override {
    sound_kill();
    k7_dev_sound_reset();
  }
  static const K7SoundDeviceLog& dev() { return *k7_dev_sound_device(); }
};

WavFormat pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  WavFormat f{};
  f.format_tag = 1;
  f.channels = channels;
  f.samples_per_sec = rate;
  f.block_align = static_cast<std::uint16_t>(channels * bits / 8);
  f.avg_bytes_per_sec = rate * f.block_align;
  f.bits_per_sample = bits;
  return f;
}

std::vector<unsigned char> read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Peak of the left channel of a 16-bit stereo image between two times.
double peak(const WavImage& wav, double from, double to) {
  double top = 0.0;
  const auto first = static_cast<std::uint32_t>(from * 44100);
  const auto last = static_cast<std::uint32_t>(to * 44100);
  for (std::uint32_t n = first; n < last && n * 4 + 1 < wav.data_size; ++n) {
    auto s = static_cast<std::int16_t>(wav.data[n * 4] | (wav.data[n * 4 + 1] << 8));
    top = std::max(top, std::abs(s / 32768.0));
  }
  return top;
}

} // namespace

TEST_F(StandinDevice, RefusesWhatDirectSoundRefuses) {
  SoundDevice* device = snddev_create();
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(snddev_create(), nullptr); // one device at a time here
  EXPECT_EQ(snddev_buffer_create(device, pcm(1, 22050, 24), 100, "A"), nullptr);
  EXPECT_EQ(snddev_buffer_create(device, pcm(3, 22050, 16), 100, "A"), nullptr);
  EXPECT_EQ(snddev_buffer_create(device, pcm(1, 99, 16), 100, "A"), nullptr);
  EXPECT_EQ(snddev_buffer_create(device, pcm(1, 22050, 16), 3, "A"), nullptr);
  WavFormat misaligned = pcm(2, 22050, 16);
  misaligned.block_align = 2;
  EXPECT_EQ(snddev_buffer_create(device, misaligned, 100, "A"), nullptr);
  EXPECT_EQ(snddev_buffer_create(nullptr, pcm(1, 22050, 16), 100, "A"), nullptr);
  SoundBuffer* b = snddev_buffer_create(device, pcm(1, 22050, 16), 100, "A");
  ASSERT_NE(b, nullptr);
  void* p1 = nullptr;
  void* p2 = nullptr;
  std::uint32_t n1 = 0;
  std::uint32_t n2 = 0;
  EXPECT_FALSE(snddev_buffer_lock(b, 0, 101, &p1, &n1, &p2, &n2));
  EXPECT_FALSE(snddev_buffer_lock(b, 100, 1, &p1, &n1, &p2, &n2));
  // A lock running past the end wraps to the start, as on a circular buffer.
  ASSERT_TRUE(snddev_buffer_lock(b, 60, 50, &p1, &n1, &p2, &n2));
  EXPECT_EQ(n1, 40u);
  EXPECT_EQ(n2, 10u);
  EXPECT_FALSE(snddev_buffer_unlock(b, p2, n1, p1, n2)); // not what the lock handed out
  EXPECT_TRUE(snddev_buffer_unlock(b, p1, n1, p2, n2));
  snddev_buffer_set_volume(b, -10001);
  snddev_buffer_set_volume(b, 1);
  EXPECT_EQ(dev().buffers[0].volume, 0);
  snddev_buffer_release(b);
  snddev_release(device);
  EXPECT_EQ(dev().stale_calls, 0u);
}

// DirectSound has no null buffer: on Windows a call through one is a crash. The stand-in counts
// such calls with the other faulty ones, so a module call through a sound that never loaded is
// caught (the module's null-handle guards: sound_play, sound_stop, sound_set_volume and
// sound_release).
TEST_F(StandinDevice, CallsOnANullBufferAreCountedAsFaults) {
  snddev_buffer_play(nullptr, false);
  snddev_buffer_stop(nullptr);
  snddev_buffer_set_volume(nullptr, -100);
  snddev_buffer_release(nullptr);
  EXPECT_EQ(dev().stale_calls, 4u);
}

TEST_F(StandinDevice, CallsOnAReleasedBufferAreCountedAsFaults) {
  SoundDevice* device = snddev_create();
  SoundBuffer* b = snddev_buffer_create(device, pcm(1, 22050, 16), 100, "A");
  snddev_buffer_release(b);
  snddev_buffer_play(b, false);
  snddev_buffer_set_volume(b, -100);
  snddev_buffer_release(b);
  snddev_release(device);
  snddev_release(device);
  EXPECT_EQ(dev().stale_calls, 4u);
  EXPECT_EQ(dev().buffers[0].play_calls, 0u);
}

TEST_F(StandinDevice, TheRecordTellsWhatPlayedWithItsFrameAndTime) {
  sound_install(0);
  const std::uint32_t mark = dev().op_count;
  k7_dev_sound_frame(0.05);
  k7_dev_sound_frame(0.10);
  sound_play(SND_CLICK);
  std::vector<std::string> lines;
  for (std::uint32_t s = mark + 1; s <= dev().op_count; ++s) {
    const K7SoundOp* op = &dev().ops[(s - 1) % K7_SOUND_LOG_OPS];
    if (op->kind == K7_SOP_PLAY && !op->no_effect)
      lines.push_back(std::string(op->name) + " played");
    EXPECT_EQ(op->frame, 2u);
    EXPECT_DOUBLE_EQ(op->time, 0.10);
  }
  EXPECT_EQ(lines, std::vector<std::string>{"CLICK played"});
}

TEST_F(StandinDevice, TheMixHasEachSoundWhereItPlayed) {
  sound_install(0);
  sound_volume_step(1);
  k7_dev_sound_frame(0.5);
  sound_play(SND_CLICK); // 0.09 s
  k7_dev_sound_frame(1.0);
  sound_play(SND_KLAXONCONT, true);
  k7_dev_sound_frame(1.5);
  sound_stop(SND_KLAXONCONT);
  k7_dev_sound_frame(2.0);
  sound_kill(); // what played can still be mixed after the release
  const std::string path = testing::TempDir() + "k7sound_mix.wav";
  ASSERT_EQ(k7_dev_sound_mix(path.c_str(), 0.0, 0.0), 2 * 44100);
  std::vector<unsigned char> bytes = read_file(path);
  WavImage wav{};
  ASSERT_TRUE(wav_parse(bytes.data(), bytes.size(), &wav));
  EXPECT_EQ(wav.format.channels, 2);
  EXPECT_EQ(wav.format.samples_per_sec, 44100u);
  EXPECT_EQ(wav.data_size, 2u * 44100u * 4u);
  EXPECT_EQ(peak(wav, 0.0, 0.49), 0.0);
  EXPECT_GT(peak(wav, 0.5, 0.6), 0.02); // the click, at -19 dB
  EXPECT_EQ(peak(wav, 0.6, 0.99), 0.0);
  EXPECT_GT(peak(wav, 1.0, 1.49), 0.1); // the horn, at -7 dB
  EXPECT_EQ(peak(wav, 1.51, 2.0), 0.0);
  // A window of the run, and a file that can not be written.
  EXPECT_EQ(k7_dev_sound_mix(path.c_str(), 1.0, 1.5), 44100 / 2);
  EXPECT_EQ(k7_dev_sound_mix("/nonexistent/dir/mix.wav", 0.0, 1.0), -1);
  EXPECT_EQ(k7_dev_sound_mix(nullptr, 0.0, 1.0), -1);
  std::remove(path.c_str());
}
