// Helpers of the sound tests: WAV images built byte by byte, and the stand-in device's
// development entry points.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sound_device_log.h"

extern "C" {
const K7SoundDeviceLog* k7_dev_sound_device();
void k7_dev_sound_frame(double seconds);
long k7_dev_sound_mix(const char* wav_path, double from_seconds, double to_seconds);
void k7_dev_sound_inject(unsigned faults);
void k7_dev_sound_reset();
const unsigned char* k7_dev_sound_buffer_bytes(int buffer, unsigned* size);
}

namespace wavtest {

using Bytes = std::vector<unsigned char>;

inline void put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<unsigned char>(v));
  b.push_back(static_cast<unsigned char>(v >> 8));
}

inline void put32(Bytes& b, std::uint32_t v) {
  put16(b, v & 0xFFFFu);
  put16(b, v >> 16);
}

// A chunk: id, length (the body's unless `declared` is given), body, pad byte when odd.
inline Bytes chunk(const char* id, const Bytes& body, bool pad = true, std::int64_t declared = -1) {
  Bytes b(id, id + 4);
  put32(b, declared >= 0 ? static_cast<std::uint32_t>(declared)
                         : static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (pad && body.size() % 2 == 1) b.push_back(0);
  return b;
}

// The body of a "fmt " chunk cut (or zero-extended) to `length` bytes.
inline Bytes fmt_body(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                      std::size_t length = 16, std::uint16_t tag = 1, std::uint16_t cb = 0) {
  Bytes b;
  const std::uint32_t align = channels * bits / 8u;
  put16(b, tag);
  put16(b, channels);
  put32(b, rate);
  put32(b, rate * align);
  put16(b, align);
  put16(b, bits);
  put16(b, cb);
  b.resize(length, 0);
  return b;
}

inline Bytes samples(std::size_t n, unsigned char seed = 1) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i)
    b[i] = static_cast<unsigned char>(seed + i * 7);
  return b;
}

// "RIFF", length (of what follows unless `declared` is given), "WAVE", chunks.
inline Bytes riff(const std::vector<Bytes>& chunks, std::int64_t declared = -1) {
  Bytes body{'W', 'A', 'V', 'E'};
  for (const auto& c : chunks)
    body.insert(body.end(), c.begin(), c.end());
  Bytes b{'R', 'I', 'F', 'F'};
  put32(b, declared >= 0 ? static_cast<std::uint32_t>(declared)
                         : static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

inline Bytes simple_wav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                        std::size_t data_bytes) {
  return riff({chunk("fmt ", fmt_body(channels, rate, bits)), chunk("data", samples(data_bytes))});
}

} // namespace wavtest
