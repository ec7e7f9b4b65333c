// WAV parsing: the format and samples of well-formed images, and malformed images that must
// fail (or stop) without a read outside the image. Images are parsed from exact-size heap
// copies, so a sanitizer build catches any overread.
#include <gtest/gtest.h>

#include <memory>

#include "platform/resource.h"
#include "sound/sound.h"
#include "sound/wav.h"
#include "sound_test_support.h"

using namespace wavtest;

namespace {

struct Parsed {
  bool ok = false;
  WavImage wav{};
  std::unique_ptr<unsigned char[]> image;
  std::size_t size = 0;

  // The samples lie wholly inside the image.
  bool data_inside() const {
    return wav.data >= image.get() && wav.data + wav.data_size <= image.get() + size;
  }
  std::size_t data_offset() const { return static_cast<std::size_t>(wav.data - image.get()); }
};

Parsed parse(const Bytes& bytes) {
  Parsed p;
  p.size = bytes.size();
  p.image.reset(new unsigned char[p.size > 0 ? p.size : 1]);
  if (!bytes.empty()) std::memcpy(p.image.get(), bytes.data(), bytes.size());
  p.ok = wav_parse(p.image.get(), p.size, &p.wav);
  return p;
}

Bytes fmt(std::size_t length = 16) {
  return chunk("fmt ", fmt_body(1, 22050, 16, length));
}

// An image that ends after `extra` bytes of what would be a data chunk's header.
Bytes cut_header(std::size_t extra) {
  Bytes image = riff({fmt()});
  const char* tail = "data\x10\x00\x00";
  image.insert(image.end(), tail, tail + extra);
  image[4] = static_cast<unsigned char>(image.size() - 8);
  return image;
}

} // namespace

TEST(WavParse, ReadsFormatAndSamplesOfAPlainPcmImage) {
  Parsed p = parse(simple_wav(2, 44100, 16, 400));
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.wav.format.format_tag, 1);
  EXPECT_EQ(p.wav.format.channels, 2);
  EXPECT_EQ(p.wav.format.samples_per_sec, 44100u);
  EXPECT_EQ(p.wav.format.avg_bytes_per_sec, 44100u * 4);
  EXPECT_EQ(p.wav.format.block_align, 4);
  EXPECT_EQ(p.wav.format.bits_per_sample, 16);
  EXPECT_EQ(p.wav.format.cb_size, 0);
  EXPECT_EQ(p.wav.data_size, 400u);
  EXPECT_EQ(p.data_offset(), 44u);
  EXPECT_EQ(std::memcmp(p.wav.data, samples(400).data(), 400), 0);
}

TEST(WavParse, MalformedImagesFailWithNothingFound) {
  Bytes good = simple_wav(1, 22050, 16, 16);
  Bytes not_riff = good, not_wave = good;
  not_riff[0] = 'X';
  not_wave[11] = 'X';
  const Bytes data64 = chunk("data", samples(64));
  const Bytes full = riff({fmt(), data64}, 0x7FFFFFF0);
  const struct {
    const char* why;
    Bytes image;
  } cases[] = {
      {"fmt chunk of 0 bytes", riff({fmt(0), data64})},
      {"fmt chunk of 4 bytes", riff({fmt(4), data64})},
      {"fmt chunk of 12 bytes", riff({fmt(12), data64})},
      {"fmt chunk of 13 bytes", riff({fmt(13), data64})},
      {"not RIFF", not_riff},
      {"not WAVE", not_wave},
      {"11 bytes", Bytes(good.begin(), good.begin() + 11)},
      {"12 bytes", Bytes(good.begin(), good.begin() + 12)},
      {"empty", Bytes{}},
      {"no data chunk", riff({fmt()})},
      {"no fmt chunk", riff({chunk("data", samples(16))})},
      // A writer that left out a pad byte shifts every later chunk by one: no "fmt " is found.
      {"unpadded odd chunk", riff({chunk("LIST", samples(3), false), fmt(), data64})},
      {"samples cut by the end of the image", Bytes(full.begin(), full.end() - 10)},
      {"RIFF length ending before the data chunk", riff({fmt(), data64}, 4 + 24)},
      {"RIFF length ending inside the samples", riff({fmt(), data64}, 4 + 24 + 8 + 63)},
      {"data announced longer than what follows",
       riff({fmt(), chunk("data", samples(16), true, 17)})},
      {"fmt announced longer than the image",
       riff({chunk("fmt ", fmt_body(1, 22050, 16), true, 1000)})},
      {"skipped length wrapping 32 bits",
       riff({chunk("junk", samples(4), true, 0xFFFFFFFF), fmt(), data64})},
      {"skipped length nearly wrapping",
       riff({chunk("junk", samples(4), true, 0xFFFFFFF8), fmt(), data64})},
      {"4 bytes of a chunk header", cut_header(4)},
      {"7 bytes of a chunk header", cut_header(7)},
  };
  for (const auto& c : cases) {
    Parsed p = parse(c.image);
    EXPECT_FALSE(p.ok) << c.why;
    EXPECT_EQ(p.wav.data, nullptr) << c.why;
    EXPECT_EQ(p.wav.data_size, 0u) << c.why;
  }
  WavImage out{};
  EXPECT_FALSE(wav_parse(nullptr, 100, &out));
  EXPECT_FALSE(wav_parse(good.data(), good.size(), nullptr));
}

TEST(WavParse, FourteenByteFmtChunkTakesTheSampleSizeFromTheBlockAlign) {
  // Stereo 16-bit: block align 4, so 16 bits per sample; mono 8-bit: align 1, 8 bits.
  Parsed stereo =
      parse(riff({chunk("fmt ", fmt_body(2, 44100, 16, 14)), chunk("data", samples(64))}));
  ASSERT_TRUE(stereo.ok);
  EXPECT_EQ(stereo.wav.format.bits_per_sample, 16);
  EXPECT_EQ(stereo.wav.format.block_align, 4);
  Parsed mono8 =
      parse(riff({chunk("fmt ", fmt_body(1, 11025, 8, 14)), chunk("data", samples(64))}));
  ASSERT_TRUE(mono8.ok);
  EXPECT_EQ(mono8.wav.format.bits_per_sample, 8);
  // No channels: no division, the sample size stays 0.
  Parsed odd = parse(riff({chunk("fmt ", fmt_body(0, 11025, 8, 14)), chunk("data", samples(64))}));
  ASSERT_TRUE(odd.ok);
  EXPECT_EQ(odd.wav.format.bits_per_sample, 0);
}

TEST(WavParse, ExtraFormatBytesAreNeverPassedOn) {
  // An 18-byte chunk announcing 22 further bytes, and a 40-byte extensible chunk.
  Parsed ex =
      parse(riff({chunk("fmt ", fmt_body(1, 22050, 16, 18, 1, 22)), chunk("data", samples(32))}));
  ASSERT_TRUE(ex.ok);
  EXPECT_EQ(ex.wav.format.cb_size, 0);
  EXPECT_EQ(ex.wav.format.bits_per_sample, 16);
  Parsed ext = parse(
      riff({chunk("fmt ", fmt_body(2, 48000, 16, 40, 0xFFFE, 22)), chunk("data", samples(32))}));
  ASSERT_TRUE(ext.ok);
  EXPECT_EQ(ext.wav.format.format_tag, 0xFFFE);
  EXPECT_EQ(ext.wav.format.cb_size, 0);
}

TEST(WavParse, OddChunksSkipTheirPadByteAndTheFirstFmtAndDataWin) {
  Parsed p = parse(
      riff({chunk("LIST", samples(3)), chunk("data", samples(33, 9)), chunk("junk", samples(5)),
            fmt(), chunk("fmt ", fmt_body(2, 44100, 8)), chunk("data", samples(40))}));
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.wav.format.channels, 1);
  EXPECT_EQ(p.wav.format.samples_per_sec, 22050u);
  EXPECT_EQ(p.wav.data_size, 33u);
  EXPECT_EQ(p.wav.data[0], 9);
  EXPECT_EQ(p.data_offset(), 12u + 12u + 8u);
  // Odd sample data at the very end without its pad byte is still whole.
  Parsed tail = parse(riff({fmt(), chunk("data", samples(33), false)}));
  ASSERT_TRUE(tail.ok);
  EXPECT_EQ(tail.wav.data_size, 33u);
  EXPECT_TRUE(tail.data_inside());
}

TEST(WavParse, TheWalkStopsAtTheImagesEndWhateverTheRiffLengthSays) {
  Parsed whole = parse(riff({fmt(), chunk("data", samples(64))}, 0xFFFFFFFF));
  ASSERT_TRUE(whole.ok);
  EXPECT_TRUE(whole.data_inside());
  // Exactly eight bytes of header left: an empty data chunk is found.
  Parsed empty = parse(riff({fmt(), chunk("data", Bytes{})}));
  ASSERT_TRUE(empty.ok);
  EXPECT_EQ(empty.wav.data_size, 0u);
}

// The sixteen sound resources: plain PCM with a 16-byte fmt chunk, in the formats and about the
// lengths that the cockpit's sound table gives.
TEST(WavParse, EverySoundResourceHasItsTableFormat) {
  struct Expected {
    std::uint16_t channels;
    std::uint32_t rate;
    std::uint16_t bits;
    double seconds;
  };
  const Expected table[SND_COUNT] = {
      {1, 22050, 16, 0.09}, {1, 22050, 16, 0.91}, {1, 22050, 16, 0.87}, {1, 22050, 16, 0.99},
      {1, 22050, 16, 1.00}, {1, 22050, 16, 1.12}, {1, 22050, 8, 3.11},  {1, 22050, 16, 2.44},
      {1, 22050, 16, 1.29}, {1, 44100, 16, 0.06}, {1, 11025, 8, 1.01},  {1, 11025, 8, 1.17},
      {1, 11025, 8, 1.14},  {2, 44100, 16, 3.01}, {2, 44100, 16, 6.42}, {2, 44100, 16, 5.00}};
  for (int i = 0; i < SND_COUNT; ++i) {
    SCOPED_TRACE(sound_names[i]);
    const void* data = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(platform_find_resource(0, sound_names[i], &data, &size));
    ASSERT_GT(size, 44u);
    EXPECT_EQ(std::memcmp(static_cast<const char*>(data) + 12, "fmt \x10\x00\x00\x00", 8), 0);
    WavImage wav{};
    ASSERT_TRUE(wav_parse(data, size, &wav));
    EXPECT_EQ(wav.format.format_tag, WAV_FORMAT_PCM);
    EXPECT_EQ(wav.format.channels, table[i].channels);
    EXPECT_EQ(wav.format.samples_per_sec, table[i].rate);
    EXPECT_EQ(wav.format.bits_per_sample, table[i].bits);
    EXPECT_EQ(wav.format.block_align, table[i].channels * table[i].bits / 8);
    const double seconds = static_cast<double>(wav.data_size) / wav.format.avg_bytes_per_sec;
    EXPECT_NEAR(seconds, table[i].seconds, 0.006);
  }
  // Names are found as Windows finds them, without regard to case; others are not.
  const void* data = nullptr;
  std::size_t size = 0;
  EXPECT_TRUE(platform_find_resource(0, "click", &data, &size));
  EXPECT_FALSE(platform_find_resource(0, "CLICKS", &data, &size));
  EXPECT_FALSE(platform_find_resource(0, "CLIC", &data, &size));
  EXPECT_FALSE(platform_find_resource(0, nullptr, &data, &size));
}
