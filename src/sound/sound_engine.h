// The sound engine at the level of single buffers: the device, loading a WAV resource (or file)
// into a static buffer, and the calls on a buffer. Gauges use the sound table of sound.h.
#pragma once

#include <cstdint>

struct SoundBuffer;
using SoundHandle = SoundBuffer*; // null when the sound is not loaded

// Keeps the module handle for resource look-up and creates the device (null when there is none).
void sound_init(std::uintptr_t module_handle);
// The RCDATA resource `name`, else the file of that path, as a filled static buffer; null when
// neither parses as a WAV image or the device refuses the buffer.
SoundHandle sound_load(const char* name);
// Plays from the current position (loop 1 loops, 0 plays once); a playing sound is not restarted.
void sound_play(SoundHandle handle, int loop);
// Stops; the position stays where it stopped.
void sound_stop(SoundHandle handle);
// Sets the volume in hundredths of a decibel, clamped to -10000..0.
void sound_set_volume(SoundHandle handle, std::int32_t volume);
// Releases the buffer and sets the handle to null; a null handle is left alone.
void sound_release(SoundHandle& handle);
// Releases the device, if any, and sets it to null.
void sound_shutdown();

// For tests and the development exports.
bool sound_device_present();
