// The sound output under the sound engine: DirectSound 8 on Windows, a recording stand-in
// elsewhere. Every function accepts null device and buffer pointers and then does nothing
// (creation returns null, lock fails).
#pragma once

#include <cstdint>

#include "sound/wav.h"

struct SoundDevice; // IDirectSound8 on Windows
struct SoundBuffer; // IDirectSoundBuffer on Windows

// Buffer flags: static buffer, frequency, pan and volume control, accurate play position.
constexpr std::uint32_t SNDDEV_BUFFER_FLAGS = 0x000100E2;
constexpr std::int32_t SNDDEV_VOLUME_MIN = -10000; // hundredths of a decibel
constexpr std::int32_t SNDDEV_VOLUME_MAX = 0;

// The default device at normal cooperative level for the active window; null when none.
SoundDevice* snddev_create();
void snddev_release(SoundDevice* device);

// A static buffer of `bytes` bytes in `format`; `name` only labels it (stand-in record).
SoundBuffer* snddev_buffer_create(SoundDevice* device, const WavFormat& format, std::uint32_t bytes,
                                  const char* name);
bool snddev_buffer_lock(SoundBuffer* buffer, std::uint32_t offset, std::uint32_t bytes,
                        void** part1, std::uint32_t* bytes1, void** part2, std::uint32_t* bytes2);
bool snddev_buffer_unlock(SoundBuffer* buffer, void* part1, std::uint32_t bytes1, void* part2,
                          std::uint32_t bytes2);
void snddev_buffer_play(SoundBuffer* buffer, bool loop);
void snddev_buffer_stop(SoundBuffer* buffer);
void snddev_buffer_set_volume(SoundBuffer* buffer, std::int32_t volume);
void snddev_buffer_release(SoundBuffer* buffer);
