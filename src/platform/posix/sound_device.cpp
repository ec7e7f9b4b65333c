// The stand-in sound device of the native module: honours the DirectSound operations the sound
// engine uses (create, static buffers, lock, unlock, play with loop, stop, volume in hundredths
// of a decibel, release) and records them for the simulator stand-in and the tests. Playing
// positions advance with the simulated time that the host hands over each frame.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "module/dev_api.h"
#include "platform/posix/sound_standin.h"
#include "platform/sound_device.h"

using namespace standin;

struct SoundDevice {
  bool alive;
};

struct SoundBuffer {
  bool live;
  bool locked;
  bool data_in_voice; // the samples were handed to a voice; the voice frees them
  int voice;          // -1 until the first play
  std::uint32_t instance;
  std::uint16_t block_align;
  unsigned char* data;
  void* lock_part1;
  void* lock_part2;
  std::uint32_t lock_bytes1;
  std::uint32_t lock_bytes2;
};

namespace standin {
MixEvent mix_events[MAX_MIX_EVENTS];
Voice voices[MAX_VOICES];
std::uint32_t voice_count = 0;
K7SoundDeviceLog device_log = {};
} // namespace standin

namespace {

SoundDevice the_device = {};
SoundBuffer buffers[K7_SOUND_LOG_BUFFERS] = {};
unsigned faults = 0;

K7SoundDeviceLog& log_of() {
  return device_log;
}

int index_of(const SoundBuffer* b) {
  return static_cast<int>(b - buffers);
}

bool is_buffer(const SoundBuffer* b) {
  return b != nullptr && b >= buffers && b < buffers + K7_SOUND_LOG_BUFFERS;
}

void copy_name(char* dst, const char* src) {
  std::size_t n = src != nullptr ? std::strlen(src) : 0;
  // Keep the end of a long path: the file name is the useful part.
  const char* from = n >= K7_SOUND_NAME_SIZE ? src + (n - (K7_SOUND_NAME_SIZE - 1)) : src;
  std::size_t len = n >= K7_SOUND_NAME_SIZE ? K7_SOUND_NAME_SIZE - 1 : n;
  if (len > 0) std::memcpy(dst, from, len);
  dst[len] = '\0';
}

K7SoundOp& record(K7SoundOpKind kind, int sound, std::int32_t value) {
  K7SoundDeviceLog& lg = log_of();
  ++lg.op_count;
  K7SoundOp& op = lg.ops[(lg.op_count - 1) % K7_SOUND_LOG_OPS];
  op = K7SoundOp{};
  op.seq = lg.op_count;
  op.kind = static_cast<std::uint8_t>(kind);
  op.sound = sound;
  op.value = value;
  op.frame = lg.frame;
  op.time = lg.time;
  if (sound >= 0) std::memcpy(op.name, lg.buffers[sound].name, K7_SOUND_NAME_SIZE);
  return op;
}

K7SoundOp& record_buffer(K7SoundOpKind kind, const SoundBuffer* b, std::int32_t value) {
  return record(kind, index_of(b), value);
}

// A call on a null, unknown or released buffer (which the real device would not survive):
// counted, recorded, otherwise ignored.
bool live_or_count(SoundBuffer* b, K7SoundOpKind kind) {
  if (is_buffer(b) && b->live) return true;
  ++log_of().stale_calls;
  record(kind, is_buffer(b) ? index_of(b) : -1, 0).refused = 1;
  return false;
}

void release_data(SoundBuffer* b) {
  if (!b->data_in_voice) std::free(b->data);
  b->data = nullptr;
  b->data_in_voice = false;
}

// The voice that renders this buffer: an existing one with the same samples, or a new one that
// takes the buffer's samples over.
int voice_for(SoundBuffer* b) {
  if (b->voice >= 0) return b->voice;
  const K7SoundBufferLog& rec = log_of().buffers[index_of(b)];
  for (std::uint32_t v = 0; v < voice_count; ++v) {
    const Voice& vc = voices[v];
    if (vc.size == rec.data_size && vc.rate == rec.rate && vc.channels == rec.channels &&
        vc.bits == rec.bits && std::strcmp(vc.name, rec.name) == 0 &&
        std::memcmp(vc.data, b->data, rec.data_size) == 0) {
      b->voice = static_cast<int>(v);
      return b->voice;
    }
  }
  if (voice_count >= MAX_VOICES) return -1;
  Voice& vc = voices[voice_count];
  std::memcpy(vc.name, rec.name, K7_SOUND_NAME_SIZE);
  vc.channels = rec.channels;
  vc.bits = rec.bits;
  vc.rate = rec.rate;
  vc.size = rec.data_size;
  vc.data = b->data;
  b->data_in_voice = true;
  b->voice = static_cast<int>(voice_count++);
  return b->voice;
}

void mix_event(SoundBuffer* b, MixKind kind) {
  K7SoundDeviceLog& lg = log_of();
  int voice = voice_for(b);
  if (voice < 0 || lg.mix_events >= MAX_MIX_EVENTS) {
    ++lg.mix_dropped;
    return;
  }
  const K7SoundBufferLog& rec = lg.buffers[index_of(b)];
  MixEvent& e = mix_events[lg.mix_events++];
  e.time = lg.time;
  e.instance = b->instance;
  e.voice = static_cast<std::uint16_t>(voice);
  e.kind = kind;
  e.loop = rec.looping;
  e.volume = rec.volume;
}

double duration_of(const K7SoundBufferLog& rec) {
  double bytes_per_second = static_cast<double>(rec.rate) * rec.channels * (rec.bits / 8);
  return bytes_per_second > 0.0 ? rec.data_size / bytes_per_second : 0.0;
}

bool format_ok(const WavFormat& f) {
  return f.format_tag == WAV_FORMAT_PCM && (f.channels == 1 || f.channels == 2) &&
         (f.bits_per_sample == 8 || f.bits_per_sample == 16) && f.samples_per_sec >= 100 &&
         f.samples_per_sec <= 200000 && f.block_align == f.channels * f.bits_per_sample / 8;
}

// A record for a new buffer: a fresh one while there are, then a released one.
int take_record() {
  K7SoundDeviceLog& lg = log_of();
  if (lg.buffer_count < K7_SOUND_LOG_BUFFERS) return static_cast<int>(lg.buffer_count++);
  for (int i = 0; i < K7_SOUND_LOG_BUFFERS; ++i) {
    if (!buffers[i].live) return i;
  }
  return -1;
}

void free_all() {
  for (auto& b : buffers) {
    release_data(&b);
    b = SoundBuffer{};
  }
  for (std::uint32_t v = 0; v < voice_count; ++v) {
    std::free(voices[v].data);
    voices[v] = Voice{};
  }
  voice_count = 0;
}

__attribute__((destructor)) void standin_unload() {
  free_all();
}

} // namespace

SoundDevice* snddev_create() {
  K7SoundDeviceLog& lg = log_of();
  if ((faults & K7_SND_FAULT_NO_DEVICE) != 0 || the_device.alive) {
    record(K7_SOP_DEVICE_CREATE, -1, 0).refused = 1;
    return nullptr;
  }
  the_device.alive = true;
  lg.device_alive = 1;
  ++lg.device_creations;
  record(K7_SOP_DEVICE_CREATE, -1, 1);
  return &the_device;
}

void snddev_release(SoundDevice* device) {
  if (device == nullptr) return;
  K7SoundDeviceLog& lg = log_of();
  if (!device->alive) {
    ++lg.stale_calls;
    record(K7_SOP_DEVICE_RELEASE, -1, 0).refused = 1;
    return;
  }
  device->alive = false;
  lg.device_alive = 0;
  ++lg.device_releases;
  record(K7_SOP_DEVICE_RELEASE, -1, 0);
}

SoundBuffer* snddev_buffer_create(SoundDevice* device, const WavFormat& format, std::uint32_t bytes,
                                  const char* name) {
  if (device == nullptr) return nullptr;
  K7SoundDeviceLog& lg = log_of();
  if (!device->alive) ++lg.stale_calls;
  int i = -1;
  unsigned char* data = nullptr;
  if (device->alive && (faults & K7_SND_FAULT_NO_BUFFER) == 0 && format_ok(format) && bytes >= 4 &&
      bytes <= 0x0FFFFFFFu) {
    i = take_record();
    if (i >= 0) data = static_cast<unsigned char*>(std::calloc(bytes, 1));
  }
  if (data == nullptr) {
    record(K7_SOP_BUFFER_CREATE, -1, static_cast<std::int32_t>(bytes)).refused = 1;
    return nullptr;
  }
  SoundBuffer& b = buffers[i];
  release_data(&b);
  b = SoundBuffer{};
  b.live = true;
  b.voice = -1;
  b.instance = ++lg.buffers_created;
  b.block_align = format.block_align;
  b.data = data;
  K7SoundBufferLog& rec = lg.buffers[i];
  rec = K7SoundBufferLog{};
  copy_name(rec.name, name);
  rec.channels = format.channels;
  rec.bits = format.bits_per_sample;
  rec.rate = format.samples_per_sec;
  rec.data_size = bytes;
  record(K7_SOP_BUFFER_CREATE, i, static_cast<std::int32_t>(bytes));
  return &b;
}

bool snddev_buffer_lock(SoundBuffer* buffer, std::uint32_t offset, std::uint32_t bytes,
                        void** part1, std::uint32_t* bytes1, void** part2, std::uint32_t* bytes2) {
  if (part1 == nullptr || bytes1 == nullptr) return false;
  *part1 = nullptr;
  *bytes1 = 0;
  if (part2 != nullptr) *part2 = nullptr;
  if (bytes2 != nullptr) *bytes2 = 0;
  if (!live_or_count(buffer, K7_SOP_LOCK)) return false;
  const std::uint32_t size = log_of().buffers[index_of(buffer)].data_size;
  K7SoundOp& op = record_buffer(K7_SOP_LOCK, buffer, static_cast<std::int32_t>(bytes));
  if ((faults & K7_SND_FAULT_LOCK) != 0 || buffer->locked || bytes == 0 || bytes > size ||
      offset >= size) {
    op.refused = 1;
    return false;
  }
  std::uint32_t first = size - offset < bytes ? size - offset : bytes;
  if ((faults & K7_SND_FAULT_SPLIT_LOCK) != 0 && first == bytes && bytes >= 2) first = bytes / 2;
  void* second = nullptr;
  std::uint32_t second_bytes = bytes - first;
  if (second_bytes > 0) {
    if (part2 == nullptr || bytes2 == nullptr) {
      op.refused = 1;
      return false;
    }
    // The remainder wraps to the start of the buffer, or (split fault) follows the first part.
    second = (offset + first < size) ? buffer->data + offset + first : buffer->data;
  }
  *part1 = buffer->data + offset;
  *bytes1 = first;
  if (second != nullptr) {
    *part2 = second;
    *bytes2 = second_bytes;
  }
  buffer->locked = true;
  buffer->lock_part1 = *part1;
  buffer->lock_bytes1 = first;
  buffer->lock_part2 = second;
  buffer->lock_bytes2 = second_bytes;
  return true;
}

bool snddev_buffer_unlock(SoundBuffer* buffer, void* part1, std::uint32_t bytes1, void* part2,
                          std::uint32_t bytes2) {
  if (!live_or_count(buffer, K7_SOP_UNLOCK)) return false;
  K7SoundOp& op = record_buffer(K7_SOP_UNLOCK, buffer, static_cast<std::int32_t>(bytes1 + bytes2));
  if (!buffer->locked || part1 != buffer->lock_part1 || bytes1 > buffer->lock_bytes1 ||
      part2 != buffer->lock_part2 || bytes2 > buffer->lock_bytes2) {
    op.refused = 1;
    return false;
  }
  buffer->locked = false;
  log_of().buffers[index_of(buffer)].filled = 1;
  return true;
}

void snddev_buffer_play(SoundBuffer* buffer, bool loop) {
  if (!live_or_count(buffer, K7_SOP_PLAY)) return;
  K7SoundBufferLog& rec = log_of().buffers[index_of(buffer)];
  K7SoundOp& op = record_buffer(K7_SOP_PLAY, buffer, loop ? 1 : 0);
  ++rec.play_calls;
  const std::uint8_t looping = loop ? 1 : 0;
  if (rec.playing != 0 && rec.looping == looping) {
    op.no_effect = 1; // already playing this way: it carries on from where it is
    return;
  }
  if (rec.playing == 0) {
    ++rec.starts;
    rec.started_at = log_of().time;
  }
  rec.playing = 1;
  rec.looping = looping;
  mix_event(buffer, MIX_PLAY);
}

void snddev_buffer_stop(SoundBuffer* buffer) {
  if (!live_or_count(buffer, K7_SOP_STOP)) return;
  K7SoundBufferLog& rec = log_of().buffers[index_of(buffer)];
  K7SoundOp& op = record_buffer(K7_SOP_STOP, buffer, 0);
  if (rec.playing == 0) {
    op.no_effect = 1;
    return;
  }
  rec.playing = 0;
  mix_event(buffer, MIX_STOP);
}

void snddev_buffer_set_volume(SoundBuffer* buffer, std::int32_t volume) {
  if (!live_or_count(buffer, K7_SOP_VOLUME)) return;
  K7SoundBufferLog& rec = log_of().buffers[index_of(buffer)];
  K7SoundOp& op = record_buffer(K7_SOP_VOLUME, buffer, volume);
  if (volume < SNDDEV_VOLUME_MIN || volume > SNDDEV_VOLUME_MAX) {
    op.refused = 1; // DirectSound answers an invalid-parameter error and keeps the volume
    return;
  }
  if (rec.volume == volume) {
    op.no_effect = 1;
    return;
  }
  rec.volume = volume;
  if (buffer->voice >= 0) mix_event(buffer, MIX_VOLUME);
}

void snddev_buffer_release(SoundBuffer* buffer) {
  if (!live_or_count(buffer, K7_SOP_RELEASE)) return;
  K7SoundDeviceLog& lg = log_of();
  K7SoundBufferLog& rec = lg.buffers[index_of(buffer)];
  record_buffer(K7_SOP_RELEASE, buffer, 0);
  if (rec.playing != 0) {
    rec.playing = 0;
    mix_event(buffer, MIX_STOP);
  }
  rec.released = 1;
  ++lg.buffers_released;
  buffer->live = false;
  buffer->locked = false;
  release_data(buffer);
}

// ---- development exports -----------------------------------------------------------------------

K7_DEV_EXPORT const K7SoundDeviceLog* k7_dev_sound_device() {
  device_log.size = sizeof(K7SoundDeviceLog);
  device_log.faults = static_cast<std::uint8_t>(faults);
  return &device_log;
}

K7_DEV_EXPORT void k7_dev_sound_frame(double seconds) {
  K7SoundDeviceLog& lg = log_of();
  if (!std::isfinite(seconds)) return;
  ++lg.frame;
  if (seconds <= lg.time) return; // simulated time only moves forward
  const double dt = seconds - lg.time;
  lg.time = seconds;
  for (int i = 0; i < K7_SOUND_LOG_BUFFERS; ++i) {
    K7SoundBufferLog& rec = lg.buffers[i];
    if (!buffers[i].live || rec.playing == 0) continue;
    const double duration = duration_of(rec);
    rec.position += dt;
    if (rec.position < duration) continue;
    if (rec.looping != 0 && duration > 0.0) {
      rec.position = std::fmod(rec.position, duration);
    } else {
      // A one-shot at its end stops and goes back to the start.
      rec.playing = 0;
      rec.position = 0.0;
      record(K7_SOP_END, i, 0);
      mix_event(&buffers[i], MIX_END);
    }
  }
}

K7_DEV_EXPORT void k7_dev_sound_inject(unsigned fault_bits) {
  faults = fault_bits;
}

K7_DEV_EXPORT void k7_dev_sound_reset() {
  free_all();
  the_device = SoundDevice{};
  faults = 0;
  device_log = K7SoundDeviceLog{};
}

K7_DEV_EXPORT const unsigned char* k7_dev_sound_buffer_bytes(int buffer, unsigned* size) {
  if (buffer < 0 || buffer >= K7_SOUND_LOG_BUFFERS || !buffers[buffer].live) return nullptr;
  if (size != nullptr) *size = device_log.buffers[buffer].data_size;
  return buffers[buffer].data;
}
