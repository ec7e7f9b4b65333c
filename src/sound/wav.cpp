#include "sound/wav.h"

#include <cstring>

namespace {

std::uint16_t read_u16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t read_u32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The chunk's bytes laid over a zeroed WAVEFORMATEX: only the fields the chunk reaches are read.
WavFormat read_format(const unsigned char* p, std::uint32_t length) {
  WavFormat f{};
  f.format_tag = read_u16(p);
  f.channels = read_u16(p + 2);
  f.samples_per_sec = read_u32(p + 4);
  f.avg_bytes_per_sec = read_u32(p + 8);
  f.block_align = read_u16(p + 12);
  if (length >= 16) {
    f.bits_per_sample = read_u16(p + 14);
  } else if (f.format_tag == WAV_FORMAT_PCM && f.channels != 0) {
    // The short PCM form leaves the sample size implied by the frame size.
    f.bits_per_sample = static_cast<std::uint16_t>(8u * f.block_align / f.channels);
  }
  f.cb_size = 0;
  return f;
}

} // namespace

bool wav_parse(const void* image, std::size_t size, WavImage* out) {
  if (out == nullptr) return false;
  *out = WavImage{};
  if (image == nullptr || size < 12) return false;
  const auto* base = static_cast<const unsigned char*>(image);
  if (std::memcmp(base, "RIFF", 4) != 0 || std::memcmp(base + 8, "WAVE", 4) != 0) return false;

  // The walk ends at 8 + RIFF length, but never beyond the bytes actually present.
  std::uint64_t end = 8u + static_cast<std::uint64_t>(read_u32(base + 4));
  if (end > size) end = size;

  WavImage found{};
  bool have_fmt = false;
  bool have_data = false;
  std::uint64_t pos = 12;
  while (pos + 8 <= end) { // a chunk header needs 8 bytes
    const unsigned char* chunk = base + pos;
    const std::uint64_t length = read_u32(chunk + 4);
    const std::uint64_t body = pos + 8;
    if (length > end - body) break; // the chunk would run past the end: stop the walk
    if (!have_fmt && std::memcmp(chunk, "fmt ", 4) == 0) {
      if (length < WAV_FMT_MIN_SIZE) return false;
      found.format = read_format(base + body, static_cast<std::uint32_t>(length));
      have_fmt = true;
    } else if (!have_data && std::memcmp(chunk, "data", 4) == 0) {
      found.data = base + body;
      found.data_size = static_cast<std::uint32_t>(length);
      have_data = true;
    }
    if (have_fmt && have_data) {
      *out = found;
      return true;
    }
    pos = body + length + (length & 1u); // chunks are padded to an even length
  }
  return false;
}
