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

TEST(WavParse, FmtChunkNeedsAtLeastFourteenBytes) {
  for (std::size_t length : {0u, 4u, 12u, 13u}) {
    Parsed p =
        parse(riff({chunk("fmt ", fmt_body(1, 22050, 16, length)), chunk("data", samples(64))}));
    EXPECT_FALSE(p.ok) << "fmt chunk of " << length << " bytes";
    EXPECT_EQ(p.wav.data, nullptr);
  }
}

TEST(WavParse, FourteenByteFmtChunkLoadsWithTheSampleSizeFromTheBlockAlign) {
  // Stereo 16-bit: block align 4, so 16 bits per sample; mono 8-bit: align 1, 8 bits.
  Parsed stereo =
      parse(riff({chunk("fmt ", fmt_body(2, 44100, 16, 14)), chunk("data", samples(64))}));
  ASSERT_TRUE(stereo.ok);
  EXPECT_EQ(stereo.wav.format.bits_per_sample, 16);
  EXPECT_EQ(stereo.wav.format.block_align, 4);
  EXPECT_EQ(stereo.wav.format.cb_size, 0);
  Parsed mono8 =
      parse(riff({chunk("fmt ", fmt_body(1, 11025, 8, 14)), chunk("data", samples(64))}));
  ASSERT_TRUE(mono8.ok);
  EXPECT_EQ(mono8.wav.format.bits_per_sample, 8);
  // A 14-byte chunk with no channels: no division, the sample size stays 0.
  Bytes zero_channels = fmt_body(0, 11025, 8, 14);
  Parsed odd = parse(riff({chunk("fmt ", zero_channels), chunk("data", samples(64))}));
  ASSERT_TRUE(odd.ok);
  EXPECT_EQ(odd.wav.format.bits_per_sample, 0);
}

TEST(WavParse, ExtraFormatBytesAreNeverPassedOn) {
  // An 18-byte chunk announcing 22 further bytes, and a 40-byte extensible chunk: the device
  // is only ever handed the 18-byte record, so the extra size is 0.
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

TEST(WavParse, OddLengthChunksAreSkippedWithTheirPadByte) {
  Parsed p = parse(riff({chunk("LIST", samples(3)), chunk("fmt ", fmt_body(1, 22050, 16)),
                         chunk("junk", samples(5)), chunk("data", samples(33))}));
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.wav.data_size, 33u);
  EXPECT_EQ(p.data_offset(), 12u + 12u + 24u + 14u + 8u);
  EXPECT_TRUE(p.data_inside());
  // A writer that left out the pad byte shifts every later chunk by one: no "fmt " is found.
  Parsed unpadded = parse(riff({chunk("LIST", samples(3), false),
                                chunk("fmt ", fmt_body(1, 22050, 16)), chunk("data", samples(8))}));
  EXPECT_FALSE(unpadded.ok);
  // Odd sample data at the very end without its pad byte is still whole.
  Parsed tail =
      parse(riff({chunk("fmt ", fmt_body(1, 11025, 8)), chunk("data", samples(33), false)}));
  ASSERT_TRUE(tail.ok);
  EXPECT_EQ(tail.wav.data_size, 33u);
  EXPECT_TRUE(tail.data_inside());
}

TEST(WavParse, FirstFmtAndFirstDataWinInEitherOrder) {
  Parsed p = parse(riff({chunk("data", samples(20, 9)), chunk("fmt ", fmt_body(1, 11025, 8)),
                         chunk("fmt ", fmt_body(2, 44100, 16)), chunk("data", samples(40))}));
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.wav.format.channels, 1);
  EXPECT_EQ(p.wav.format.samples_per_sec, 11025u);
  EXPECT_EQ(p.wav.data_size, 20u);
  EXPECT_EQ(p.wav.data[0], 9);
}

TEST(WavParse, ImagesWithoutRiffWaveOrWithoutBothChunksFail) {
  Bytes good = simple_wav(1, 22050, 16, 16);
  Bytes not_riff = good;
  not_riff[0] = 'X';
  Bytes not_wave = good;
  not_wave[11] = 'X';
  EXPECT_FALSE(parse(not_riff).ok);
  EXPECT_FALSE(parse(not_wave).ok);
  EXPECT_FALSE(parse(Bytes(good.begin(), good.begin() + 11)).ok);
  EXPECT_FALSE(parse(Bytes(good.begin(), good.begin() + 12)).ok);
  EXPECT_FALSE(parse(Bytes{}).ok);
  EXPECT_FALSE(parse(riff({chunk("fmt ", fmt_body(1, 22050, 16))})).ok);
  EXPECT_FALSE(parse(riff({chunk("data", samples(16))})).ok);
  WavImage out{};
  EXPECT_FALSE(wav_parse(nullptr, 100, &out));
  EXPECT_FALSE(wav_parse(good.data(), good.size(), nullptr));
}

TEST(WavParse, RiffLengthPastTheEndStopsAtTheLastByte) {
  // The walk ends at the image's end: the chunks that are wholly there still load...
  Parsed whole =
      parse(riff({chunk("fmt ", fmt_body(1, 22050, 16)), chunk("data", samples(64))}, 0xFFFFFFFF));
  ASSERT_TRUE(whole.ok);
  EXPECT_TRUE(whole.data_inside());
  // ...and sample data cut short by the end of the image fails the parse.
  const Bytes full =
      riff({chunk("fmt ", fmt_body(1, 22050, 16)), chunk("data", samples(64))}, 0x7FFFFFF0);
  EXPECT_FALSE(parse(Bytes(full.begin(), full.end() - 10)).ok);
}

TEST(WavParse, RiffLengthShorterThanTheImageEndsTheWalkEarly) {
  // RIFF length covering "WAVE" and the fmt chunk only: the data chunk lies outside the RIFF.
  Parsed p =
      parse(riff({chunk("fmt ", fmt_body(1, 22050, 16)), chunk("data", samples(64))}, 4 + 24));
  EXPECT_FALSE(p.ok);
  // Covering the data chunk's header but not all its samples: the chunk straddles the end.
  Parsed q = parse(
      riff({chunk("fmt ", fmt_body(1, 22050, 16)), chunk("data", samples(64))}, 4 + 24 + 8 + 63));
  EXPECT_FALSE(q.ok);
}

TEST(WavParse, ChunksStraddlingTheEndFailWithoutOverflow) {
  // Sample data announced longer than what follows.
  EXPECT_FALSE(
      parse(riff({chunk("fmt ", fmt_body(1, 22050, 16)), chunk("data", samples(16), true, 17)}))
          .ok);
  // A fmt chunk announced longer than the image.
  EXPECT_FALSE(parse(riff({chunk("fmt ", fmt_body(1, 22050, 16), true, 1000)})).ok);
  // A skipped chunk whose length would wrap a 32-bit position.
  EXPECT_FALSE(parse(riff({chunk("junk", samples(4), true, 0xFFFFFFFF),
                           chunk("fmt ", fmt_body(1, 22050, 16)), chunk("data", samples(8))}))
                   .ok);
  EXPECT_FALSE(parse(riff({chunk("junk", samples(4), true, 0xFFFFFFF8),
                           chunk("fmt ", fmt_body(1, 22050, 16)), chunk("data", samples(8))}))
                   .ok);
}

TEST(WavParse, AHeaderNeedsEightBytes) {
  // fmt found, then only 4 or 7 bytes of what would be the data chunk's header.
  Bytes base = riff({chunk("fmt ", fmt_body(1, 22050, 16))});
  for (std::size_t extra : {4u, 7u}) {
    Bytes image = base;
    const char* tail = "data\x10\x00\x00";
    image.insert(image.end(), tail, tail + extra);
    image[4] = static_cast<unsigned char>(image.size() - 8);
    EXPECT_FALSE(parse(image).ok) << extra << " bytes left";
  }
  // Exactly eight: an empty data chunk is found.
  Bytes image = base;
  const Bytes empty = chunk("data", Bytes{});
  image.insert(image.end(), empty.begin(), empty.end());
  image[4] = static_cast<unsigned char>(image.size() - 8);
  Parsed p = parse(image);
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.wav.data_size, 0u);
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
    const auto* bytes = static_cast<const unsigned char*>(data);
    ASSERT_GT(size, 44u);
    EXPECT_EQ(std::memcmp(bytes + 12, "fmt \x10\x00\x00\x00", 8), 0);
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
