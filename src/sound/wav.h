// WAV images (RIFF/WAVE) as stored in the sound resources and files: the format block and the
// sample data, found without ever reading outside the image.
#pragma once

#include <cstddef>
#include <cstdint>

// The wave format handed to the sound device, field for field a WAVEFORMATEX (18 bytes in the
// device's own layout; the platform layer builds that record from this one). Fields that the
// image's "fmt " chunk does not reach are zero; extra format bytes are never passed on, so
// cb_size is always 0.
struct WavFormat {
  std::uint16_t format_tag;
  std::uint16_t channels;
  std::uint32_t samples_per_sec;
  std::uint32_t avg_bytes_per_sec;
  std::uint16_t block_align;
  std::uint16_t bits_per_sample;
  std::uint16_t cb_size;
};

constexpr std::uint16_t WAV_FORMAT_PCM = 1;
constexpr std::uint32_t WAV_FMT_MIN_SIZE = 14; // tag, channels, rate, byte rate, block align

struct WavImage {
  WavFormat format;
  const unsigned char* data; // first sample byte, inside the image
  std::uint32_t data_size;   // bytes of sample data, all inside the image
};

// Parses `size` bytes at `image`. Returns true with `out` filled when the image begins with
// "RIFF", a length and "WAVE" and a "fmt " chunk of at least 14 bytes and a "data" chunk were
// both found, each lying wholly inside the image. On false, `out` is left zeroed.
bool wav_parse(const void* image, std::size_t size, WavImage* out);
