// The cockpit's own sounds: sixteen WAV resources loaded into static sound buffers while
// "kestovil toggle_pan_start" is installed, played by gauges through one handle each.
#pragma once

#include <cstdint>

enum SoundId : std::uint8_t {
  SND_CLICK,
  SND_HI,
  SND_LO,
  SND_GONGMONO,
  SND_KLAXONCONT,
  SND_SONNERIE,
  SND_BRAKESSND,
  SND_CRECELLE,
  SND_KLAXONGEAR,
  SND_CACHEMETAL,
  SND_V80KTS,
  SND_V1KTS,
  SND_VRKTS,
  SND_AIRCOND,
  SND_AIRCONDENT,
  SND_AIRCONDSORT,
  SND_COUNT
};

// Resource names in loading order ("CLICK", "HI", ...).
extern const char* const sound_names[SND_COUNT];

// The volume table and the knob position are module state: sound/sound_state.h.

// Install and kill of "kestovil toggle_pan_start": create the device, load the sixteen sounds and
// apply their volumes / release them in reverse order and the device. Safe in any order and
// any number of times; an install while loaded releases everything first.
void sound_install(std::uintptr_t module_handle);
void sound_kill();

// Play, stop and volume by sound; every call is skipped while that sound is not loaded.
void sound_play(SoundId id, bool loop = false);
void sound_stop(SoundId id);
bool sound_loaded(SoundId id);

// The cockpit volume knob: -1 one step quieter, +1 one step louder (all sixteen sounds).
void sound_volume_step(int direction);
