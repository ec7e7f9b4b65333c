#include "sound/sound.h"

#include "sound/sound_engine.h"
#include "sound/sound_state.h"

const char* const sound_names[SND_COUNT] = {
    "CLICK",     "HI",       "LO",         "GONGMONO",   "KLAXONCONT", "SONNERIE",
    "BRAKESSND", "CRECELLE", "KLAXONGEAR", "CACHEMETAL", "V80KTS",     "V1KTS",
    "VRKTS",     "AIRCOND",  "AIRCONDENT", "AIRCONDSORT"};

namespace {

constexpr int SOUND_VOLUME_STEP = 100; // hundredths of a decibel per knob step
constexpr int SOUND_STEPS_MAX = 15;

SoundHandle sound_handles[SND_COUNT] = {};

SoundHandle handle_of(SoundId id) {
  return id < SND_COUNT ? sound_handles[id] : nullptr;
}

void apply_volumes() {
  for (int i = 0; i < SND_COUNT; ++i)
    sound_set_volume(sound_handles[i], sound_volume[i]);
}

} // namespace

void sound_install(std::uintptr_t module_handle) {
  sound_kill(); // a second install starts from nothing, as the first did
  sound_init(module_handle);
  for (int i = 0; i < SND_COUNT; ++i)
    sound_handles[i] = sound_load(sound_names[i]);
  apply_volumes();
}

void sound_kill() {
  for (int i = SND_COUNT - 1; i >= 0; --i)
    sound_release(sound_handles[i]);
  sound_shutdown();
}

void sound_play(SoundId id, bool loop) {
  sound_play(handle_of(id), loop ? 1 : 0);
}

void sound_stop(SoundId id) {
  sound_stop(handle_of(id));
}

bool sound_loaded(SoundId id) {
  return handle_of(id) != nullptr;
}

void sound_volume_step(int direction) {
  int delta = 0;
  if (direction < 0 && sound_volume_steps >= -(SOUND_STEPS_MAX - 1)) delta = -1;
  if (direction > 0 && sound_volume_steps <= SOUND_STEPS_MAX - 1) delta = 1;
  if (delta == 0) return;
  sound_volume_steps = static_cast<std::int8_t>(sound_volume_steps + delta);
  for (auto& volume : sound_volume) {
    int v = volume + delta * SOUND_VOLUME_STEP;
    if (v < INT16_MIN) v = INT16_MIN;
    if (v > INT16_MAX) v = INT16_MAX;
    volume = static_cast<std::int16_t>(v);
  }
  apply_volumes();
}
