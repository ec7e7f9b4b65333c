// Renders what the stand-in device played into a WAV file (44100 Hz, stereo, 16 bits), so that a
// scenario can be listened to: every buffer's play, stop, volume and end events are replayed
// against its samples on the simulated time line.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "module/dev_api.h"
#include "platform/posix/sound_standin.h"

using namespace standin;

namespace {

constexpr std::uint32_t MIX_RATE = 44100;
constexpr double MIX_MAX_SECONDS = 4.0 * 3600.0;
constexpr std::uint32_t MIX_BLOCK = 4096; // output frames per write

struct Player {
  bool playing;
  bool looping;
  double position; // source frames
  double gain;
  int voice;
};

double gain_of(std::int32_t volume) {
  return std::pow(10.0, volume / 2000.0);
}

std::uint32_t frames_of(const Voice& v) {
  std::uint32_t align = v.channels * (v.bits / 8u);
  return align > 0 ? v.size / align : 0;
}

double sample(const Voice& v, std::uint32_t frame, std::uint32_t channel) {
  std::uint32_t c = channel < v.channels ? channel : 0;
  std::size_t at = (static_cast<std::size_t>(frame) * v.channels + c) * (v.bits / 8u);
  if (v.bits == 8) return (v.data[at] - 128) / 128.0;
  auto s = static_cast<std::int16_t>(v.data[at] | (v.data[at + 1] << 8));
  return s / 32768.0;
}

void apply(Player& p, const MixEvent& e) {
  p.voice = e.voice;
  p.gain = gain_of(e.volume);
  switch (e.kind) {
  case MIX_PLAY:
    p.playing = true;
    p.looping = e.loop != 0;
    break;
  case MIX_STOP: p.playing = false; break;
  case MIX_VOLUME: break;
  case MIX_END:
    p.playing = false;
    p.position = 0.0;
    break;
  }
}

void put_u16(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

void put_u32(unsigned char* p, std::uint32_t v) {
  put_u16(p, v & 0xFFFFu);
  put_u16(p + 2, v >> 16);
}

bool write_header(std::FILE* f, std::uint32_t frames) {
  unsigned char h[44];
  const std::uint32_t data = frames * 4u;
  std::memcpy(h, "RIFF", 4);
  put_u32(h + 4, 36u + data);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  put_u32(h + 16, 16);
  put_u16(h + 20, 1);
  put_u16(h + 22, 2);
  put_u32(h + 24, MIX_RATE);
  put_u32(h + 28, MIX_RATE * 4u);
  put_u16(h + 32, 4);
  put_u16(h + 34, 16);
  std::memcpy(h + 36, "data", 4);
  put_u32(h + 40, data);
  return std::fwrite(h, 1, sizeof h, f) == sizeof h;
}

} // namespace

// Renders simulated seconds [from_seconds, to_seconds) into wav_path; to_seconds <= 0 means up to
// the latest frame. Returns the number of frames written, or -1 when the file cannot be written.
K7_DEV_EXPORT long k7_dev_sound_mix(const char* wav_path, double from_seconds, double to_seconds) {
  if (wav_path == nullptr) return -1;
  if (!(to_seconds > 0.0)) to_seconds = device_log.time;
  if (!(from_seconds >= 0.0)) from_seconds = 0.0;
  if (!(to_seconds <= MIX_MAX_SECONDS)) to_seconds = MIX_MAX_SECONDS;
  if (to_seconds < from_seconds) to_seconds = from_seconds;
  const auto first = static_cast<std::uint64_t>(std::llround(from_seconds * MIX_RATE));
  const auto last = static_cast<std::uint64_t>(std::llround(to_seconds * MIX_RATE));
  const auto frames = static_cast<std::uint32_t>(last - first);

  const std::uint32_t events = device_log.mix_events;
  std::uint32_t players_count = 0;
  for (std::uint32_t i = 0; i < events; ++i) {
    if (mix_events[i].instance + 1 > players_count) players_count = mix_events[i].instance + 1;
  }
  auto* players = static_cast<Player*>(std::calloc(players_count + 1, sizeof(Player)));
  auto* block = static_cast<unsigned char*>(std::malloc(MIX_BLOCK * 4u));
  std::FILE* f = std::fopen(wav_path, "wb");
  bool ok = players != nullptr && block != nullptr && f != nullptr && write_header(f, frames);

  std::uint32_t next = 0;
  std::uint32_t in_block = 0;
  for (std::uint64_t n = 0; ok && n < last; ++n) {
    const double t = static_cast<double>(n) / MIX_RATE;
    while (next < events && mix_events[next].time <= t) {
      apply(players[mix_events[next].instance], mix_events[next]);
      ++next;
    }
    double left = 0.0;
    double right = 0.0;
    for (std::uint32_t i = 0; i < players_count; ++i) {
      Player& p = players[i];
      if (!p.playing) continue;
      const Voice& v = voices[p.voice];
      const std::uint32_t length = frames_of(v);
      if (p.position < length) {
        if (n >= first) {
          auto at = static_cast<std::uint32_t>(p.position);
          double frac = p.position - at;
          std::uint32_t after = at + 1 < length ? at + 1 : (p.looping ? 0 : at);
          double l = sample(v, at, 0) * (1.0 - frac) + sample(v, after, 0) * frac;
          double r = sample(v, at, 1) * (1.0 - frac) + sample(v, after, 1) * frac;
          left += l * p.gain;
          right += r * p.gain;
        }
        p.position += static_cast<double>(v.rate) / MIX_RATE;
      }
      // A one-shot past its end stays silent until the device reports its end.
      if (p.position >= length && p.looping && length > 0) {
        p.position = std::fmod(p.position, static_cast<double>(length));
      }
    }
    if (n < first) continue;
    auto clip = [](double x) {
      long s = std::lround(x * 32767.0);
      return static_cast<std::uint32_t>(s < -32768 ? -32768 : (s > 32767 ? 32767 : s)) & 0xFFFFu;
    };
    put_u16(block + in_block * 4u, clip(left));
    put_u16(block + in_block * 4u + 2u, clip(right));
    if (++in_block == MIX_BLOCK) {
      ok = std::fwrite(block, 4, in_block, f) == in_block;
      in_block = 0;
    }
  }
  if (ok && in_block > 0) ok = std::fwrite(block, 4, in_block, f) == in_block;
  if (f != nullptr && std::fclose(f) != 0) ok = false;
  std::free(block);
  std::free(players);
  return ok ? static_cast<long>(frames) : -1;
}
