// DirectSound 8, loaded when the device is first wanted: without dsound.dll, or without an
// output device, creation gives null and every sound stays unloaded.
#include "platform/sound_device.h"

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

namespace {

using DirectSoundCreate8Fn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND8*, LPUNKNOWN);

DirectSoundCreate8Fn direct_sound_create8() {
  static HMODULE library = nullptr;
  static DirectSoundCreate8Fn create = nullptr;
  if (library == nullptr) {
    library = LoadLibraryA("dsound.dll");
    if (library == nullptr) return nullptr;
    FARPROC proc = GetProcAddress(library, "DirectSoundCreate8");
    create = reinterpret_cast<DirectSoundCreate8Fn>(reinterpret_cast<void (*)()>(proc));
  }
  return create;
}

IDirectSound8* ds(SoundDevice* device) {
  return reinterpret_cast<IDirectSound8*>(device);
}
IDirectSoundBuffer* dsb(SoundBuffer* buffer) {
  return reinterpret_cast<IDirectSoundBuffer*>(buffer);
}

} // namespace

SoundDevice* snddev_create() {
  DirectSoundCreate8Fn create = direct_sound_create8();
  if (create == nullptr) return nullptr;
  IDirectSound8* device = nullptr;
  if (FAILED(create(nullptr, &device, nullptr)) || device == nullptr) return nullptr;
  // Normal cooperative level for the simulator's window; a host without an active window (a
  // test program) gets the desktop so that buffers can still play.
  HWND window = GetActiveWindow();
  if (window == nullptr) window = GetDesktopWindow();
  device->SetCooperativeLevel(window, DSSCL_NORMAL);
  return reinterpret_cast<SoundDevice*>(device);
}

void snddev_release(SoundDevice* device) {
  if (device != nullptr) ds(device)->Release();
}

SoundBuffer* snddev_buffer_create(SoundDevice* device, const WavFormat& format, std::uint32_t bytes,
                                  const char*) {
  if (device == nullptr) return nullptr;
  WAVEFORMATEX wfx{};
  wfx.wFormatTag = format.format_tag;
  wfx.nChannels = format.channels;
  wfx.nSamplesPerSec = format.samples_per_sec;
  wfx.nAvgBytesPerSec = format.avg_bytes_per_sec;
  wfx.nBlockAlign = format.block_align;
  wfx.wBitsPerSample = format.bits_per_sample;
  wfx.cbSize = 0;
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof(DSBUFFERDESC);
  desc.dwFlags = SNDDEV_BUFFER_FLAGS;
  desc.dwBufferBytes = bytes;
  desc.lpwfxFormat = &wfx;
  IDirectSoundBuffer* buffer = nullptr;
  if (FAILED(ds(device)->CreateSoundBuffer(&desc, &buffer, nullptr))) return nullptr;
  return reinterpret_cast<SoundBuffer*>(buffer);
}

bool snddev_buffer_lock(SoundBuffer* buffer, std::uint32_t offset, std::uint32_t bytes,
                        void** part1, std::uint32_t* bytes1, void** part2, std::uint32_t* bytes2) {
  if (buffer == nullptr || part1 == nullptr || bytes1 == nullptr) return false;
  DWORD n1 = 0;
  DWORD n2 = 0;
  void* p2 = nullptr;
  *part1 = nullptr;
  if (FAILED(dsb(buffer)->Lock(offset, bytes, part1, &n1, &p2, &n2, 0))) return false;
  *bytes1 = n1;
  if (part2 != nullptr) *part2 = p2;
  if (bytes2 != nullptr) *bytes2 = n2;
  return true;
}

bool snddev_buffer_unlock(SoundBuffer* buffer, void* part1, std::uint32_t bytes1, void* part2,
                          std::uint32_t bytes2) {
  if (buffer == nullptr) return false;
  return SUCCEEDED(dsb(buffer)->Unlock(part1, bytes1, part2, bytes2));
}

void snddev_buffer_play(SoundBuffer* buffer, bool loop) {
  if (buffer != nullptr) dsb(buffer)->Play(0, 0, loop ? DSBPLAY_LOOPING : 0);
}

void snddev_buffer_stop(SoundBuffer* buffer) {
  if (buffer != nullptr) dsb(buffer)->Stop();
}

void snddev_buffer_set_volume(SoundBuffer* buffer, std::int32_t volume) {
  if (buffer != nullptr) dsb(buffer)->SetVolume(volume);
}

void snddev_buffer_release(SoundBuffer* buffer) {
  if (buffer != nullptr) dsb(buffer)->Release();
}
