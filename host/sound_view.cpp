#include "host/sound_view.h"
#include "platform/sound_device_log.h"

namespace k7host {

namespace {

const K7SoundDeviceLog* device_log(const Sim& sim) {
  const auto* log = static_cast<const K7SoundDeviceLog*>(sim.sound_device());
  return log != nullptr && log->size == sizeof(K7SoundDeviceLog) ? log : nullptr;
}

SoundState view(const K7SoundBufferLog& b) {
  SoundState s;
  s.name = b.name;
  s.loaded = b.released == 0;
  s.playing = b.playing != 0;
  s.looping = b.looping != 0;
  s.volume = b.volume;
  s.channels = b.channels;
  s.rate = static_cast<int>(b.rate);
  s.bits = b.bits;
  return s;
}

// The operations after `since` that are still in the ring, oldest first.
template <typename Fn> void each_op_after(const K7SoundDeviceLog& log, std::uint32_t since, Fn fn) {
  std::uint32_t first = since + 1;
  if (log.op_count >= K7_SOUND_LOG_OPS && first + K7_SOUND_LOG_OPS <= log.op_count)
    first = log.op_count - K7_SOUND_LOG_OPS + 1;
  for (std::uint32_t s = first; s <= log.op_count; ++s)
    fn(log.ops[(s - 1) % K7_SOUND_LOG_OPS]);
}

} // namespace

std::uint32_t sound_op_count(const Sim& sim) {
  const K7SoundDeviceLog* log = device_log(sim);
  return log != nullptr ? log->op_count : 0;
}

int sound_plays(const Sim& sim, const std::string& name, std::uint32_t since) {
  const K7SoundDeviceLog* log = device_log(sim);
  if (log == nullptr) return 0;
  int plays = 0;
  each_op_after(*log, since, [&](const K7SoundOp& op) {
    if (op.kind == K7_SOP_PLAY && op.no_effect == 0 && op.refused == 0 && name == op.name) ++plays;
  });
  return plays;
}

std::optional<SoundState> sound_state(const Sim& sim, const std::string& name) {
  const K7SoundDeviceLog* log = device_log(sim);
  if (log == nullptr) return std::nullopt;
  std::optional<SoundState> found;
  for (std::uint32_t i = 0; i < log->buffer_count && i < K7_SOUND_LOG_BUFFERS; ++i) {
    const K7SoundBufferLog& b = log->buffers[i];
    if (name != b.name) continue;
    if (b.released == 0) return view(b);
    found = view(b);
  }
  return found;
}

std::vector<SoundState> sound_states(const Sim& sim) {
  std::vector<SoundState> out;
  const K7SoundDeviceLog* log = device_log(sim);
  if (log == nullptr) return out;
  for (std::uint32_t i = 0; i < log->buffer_count && i < K7_SOUND_LOG_BUFFERS; ++i)
    out.push_back(view(log->buffers[i]));
  return out;
}

std::vector<std::string> sound_events(const Sim& sim, std::uint32_t since) {
  std::vector<std::string> out;
  const K7SoundDeviceLog* log = device_log(sim);
  if (log == nullptr) return out;
  each_op_after(*log, since, [&](const K7SoundOp& op) {
    if (op.no_effect != 0 || op.refused != 0) return;
    if (op.kind == K7_SOP_PLAY)
      out.push_back(std::string(op.name) + (op.value != 0 ? " looped" : " played"));
    else if (op.kind == K7_SOP_STOP)
      out.push_back(std::string(op.name) + " stopped");
  });
  return out;
}

bool sound_mix(const Sim& sim, const std::string& wav_path, double from_seconds,
               double to_seconds) {
  auto mix = reinterpret_cast<long (*)(const char*, double, double)>(
      sim.module_symbol("k7_dev_sound_mix"));
  return mix != nullptr && mix(wav_path.c_str(), from_seconds, to_seconds) >= 0;
}

} // namespace k7host
