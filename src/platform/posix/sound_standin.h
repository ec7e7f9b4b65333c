// Inside the stand-in sound device: what the mixer needs to replay what sounded. Each change of
// a buffer's playing state or volume is kept as a mix event; its samples are kept as a "voice"
// (one per distinct sound content) that outlives the buffer, so a scenario can be rendered after
// the sounds were released.
#pragma once

#include <cstdint>

#include "platform/sound_device_log.h"

namespace standin {

enum MixKind : std::uint8_t { MIX_PLAY, MIX_STOP, MIX_VOLUME, MIX_END };

struct MixEvent {
  double time;
  std::uint32_t instance; // buffer creation number, one playing state per buffer
  std::uint16_t voice;
  MixKind kind;
  std::uint8_t loop;
  std::int32_t volume; // the buffer's volume after the event
};

struct Voice {
  char name[K7_SOUND_NAME_SIZE];
  std::uint16_t channels;
  std::uint16_t bits;
  std::uint32_t rate;
  std::uint32_t size;
  unsigned char* data; // owned by the voice
};

constexpr std::uint32_t MAX_MIX_EVENTS = 1u << 15;
constexpr std::uint32_t MAX_VOICES = 128;

extern MixEvent mix_events[MAX_MIX_EVENTS];
extern Voice voices[MAX_VOICES];
extern std::uint32_t voice_count;
extern K7SoundDeviceLog device_log;

} // namespace standin
