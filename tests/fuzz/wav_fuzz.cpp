// libFuzzer target for the WAV parser: any image either fails or yields a format and samples
// that lie wholly inside it. Reading every sample byte lets the address sanitizer see any escape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sound/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WavImage wav{};
  if (!wav_parse(data, size, &wav)) {
    if (wav.data != nullptr || wav.data_size != 0) std::abort();
    return 0;
  }
  if (wav.data < data || wav.data > data + size || wav.data_size > size ||
      static_cast<std::size_t>(wav.data - data) + wav.data_size > size) {
    std::abort();
  }
  if (wav.format.cb_size != 0) std::abort();
  unsigned sum = 0;
  for (std::uint32_t i = 0; i < wav.data_size; ++i)
    sum += wav.data[i];
  volatile unsigned sink = sum;
  (void)sink;
  return 0;
}
