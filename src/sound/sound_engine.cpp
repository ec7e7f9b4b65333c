#include "sound/sound_engine.h"

#include <cstring>

#include "platform/file_map.h"
#include "platform/resource.h"
#include "platform/sound_device.h"
#include "sound/wav.h"

namespace {

SoundDevice* sound_device = nullptr;    // null until created and again after release
std::uintptr_t sound_module_handle = 0; // where the sound resources are looked up

// Copies the samples into the buffer: lock all of it from the start, copy the first part and the
// second part if the lock handed one back, unlock.
bool sound_fill(SoundHandle handle, const WavImage& wav) {
  void* part1 = nullptr;
  void* part2 = nullptr;
  std::uint32_t bytes1 = 0;
  std::uint32_t bytes2 = 0;
  if (!snddev_buffer_lock(handle, 0, wav.data_size, &part1, &bytes1, &part2, &bytes2)) {
    return false;
  }
  std::uint32_t first = bytes1 < wav.data_size ? bytes1 : wav.data_size;
  if (part1 != nullptr) std::memcpy(part1, wav.data, first);
  if (part2 != nullptr) {
    std::uint32_t rest = wav.data_size - first;
    std::memcpy(part2, wav.data + first, bytes2 < rest ? bytes2 : rest);
  }
  return snddev_buffer_unlock(handle, part1, bytes1, part2, bytes2);
}

} // namespace

void sound_init(std::uintptr_t module_handle) {
  sound_module_handle = module_handle;
  if (sound_device == nullptr) sound_device = snddev_create();
}

SoundHandle sound_load(const char* name) {
  if (name == nullptr) return nullptr;
  WavImage wav{};
  const void* resource = nullptr;
  std::size_t resource_size = 0;
  bool parsed = platform_find_resource(sound_module_handle, name, &resource, &resource_size) &&
                wav_parse(resource, resource_size, &wav);
  MappedFile file{};
  bool mapped = false;
  if (!parsed) {
    mapped = platform_map_file(name, &file);
    parsed = mapped && wav_parse(file.data, file.size, &wav);
  }
  SoundHandle handle = nullptr;
  if (parsed) {
    handle = snddev_buffer_create(sound_device, wav.format, wav.data_size, name);
    if (handle != nullptr && !sound_fill(handle, wav)) {
      snddev_buffer_release(handle);
      handle = nullptr;
    }
  }
  if (mapped) platform_unmap_file(&file);
  return handle;
}

void sound_play(SoundHandle handle, int loop) {
  if (handle != nullptr) snddev_buffer_play(handle, loop == 1);
}

void sound_stop(SoundHandle handle) {
  if (handle != nullptr) snddev_buffer_stop(handle);
}

void sound_set_volume(SoundHandle handle, std::int32_t volume) {
  if (handle == nullptr) return;
  if (volume < SNDDEV_VOLUME_MIN) volume = SNDDEV_VOLUME_MIN;
  if (volume > SNDDEV_VOLUME_MAX) volume = SNDDEV_VOLUME_MAX;
  snddev_buffer_set_volume(handle, volume);
}

void sound_release(SoundHandle& handle) {
  if (handle == nullptr) return;
  snddev_buffer_release(handle);
  handle = nullptr;
}

void sound_shutdown() {
  if (sound_device == nullptr) return;
  snddev_release(sound_device);
  sound_device = nullptr;
}

bool sound_device_present() {
  return sound_device != nullptr;
}
