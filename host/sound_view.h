// What the module's stand-in sound device did, read through the native module's development
// exports: which sounds played, which are playing, at what volume.
#pragma once

#include "host/k7host.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace k7host {

struct SoundState {
  std::string name;
  bool loaded = false; // a live buffer holds it
  bool playing = false;
  bool looping = false;
  int volume = 0; // hundredths of a decibel
  int channels = 0;
  int rate = 0;
  int bits = 0;
};

// The sequence number of the device's latest operation (0 before any, or without a device).
std::uint32_t sound_op_count(const Sim& sim);
// Plays that started or restarted a sound, since the operation numbered `since`.
int sound_plays(const Sim& sim, const std::string& name, std::uint32_t since);
// The live buffer of a sound, or its last released one.
std::optional<SoundState> sound_state(const Sim& sim, const std::string& name);
// Every buffer the device knows, in creation order.
std::vector<SoundState> sound_states(const Sim& sim);
// Readable lines for the operations after `since` ("CLICK played", "BRAKESSND looped", ...).
std::vector<std::string> sound_events(const Sim& sim, std::uint32_t since);
// Mixes what sounded between two simulated times into a WAV file; false when it could not.
bool sound_mix(const Sim& sim, const std::string& wav_path, double from_seconds, double to_seconds);

} // namespace k7host
