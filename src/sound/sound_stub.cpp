// Silent sound layer: no device, every handle null, every call skipped.
#include "sound/sound.h"

void sound_install(std::uintptr_t) {}
void sound_kill() {}
void sound_play(SoundId, bool) {}
void sound_stop(SoundId) {}
bool sound_loaded(SoundId) {
  return false;
}
void sound_volume_step(int) {}
