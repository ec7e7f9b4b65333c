// k7bench: the cost of the module per panel frame, with every window of the default panel open.
//   k7bench [FRAMES]
// Reports wall time per frame, instructions per frame where the machine counts them (otherwise
// see the callgrind recipe in the README), and heap allocations the module made after install.
#include "host/k7host.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <linux/perf_event.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

// ---- counting the module's allocations: malloc and friends interposed for the whole process ----

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);
extern "C" void __libc_free(void*);

namespace {
unsigned long module_allocations = 0;
bool counting = false;
inline void note_allocation() {
  if (counting && k7host::k7host_in_module > 0) ++module_allocations;
}
} // namespace

extern "C" void* malloc(size_t n) {
  note_allocation();
  return __libc_malloc(n);
}
extern "C" void* calloc(size_t n, size_t m) {
  note_allocation();
  return __libc_calloc(n, m);
}
extern "C" void* realloc(void* p, size_t n) {
  note_allocation();
  return __libc_realloc(p, n);
}
extern "C" void free(void* p) {
  __libc_free(p);
}

namespace {

long perf_open() {
  perf_event_attr attr{};
  attr.type = PERF_TYPE_HARDWARE;
  attr.size = sizeof attr;
  attr.config = PERF_COUNT_HW_INSTRUCTIONS;
  attr.disabled = 1;
  attr.exclude_kernel = 1;
  attr.exclude_hv = 1;
  return syscall(SYS_perf_event_open, &attr, 0, -1, -1, 0);
}

} // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  k7host::Sim sim;
  for (const auto& w : sim.panel().windows)
    if (!w.main_panel) sim.open_window(w.ident);
  sim.frames(18); // settle: first frames of every gauge

  const long perf = perf_open();
  std::vector<double> wall;
  wall.reserve(static_cast<std::size_t>(frames));
  unsigned long long instructions = 0;
  counting = true;
  if (perf >= 0) {
    ioctl(static_cast<int>(perf), PERF_EVENT_IOC_RESET, 0);
    ioctl(static_cast<int>(perf), PERF_EVENT_IOC_ENABLE, 0);
  }
  for (int i = 0; i < frames; ++i) {
    // Keep every window open: the module may close some of them itself.
    for (const auto& w : sim.panel().windows)
      if (!w.main_panel) sim.open_window(w.ident);
    const auto t0 = std::chrono::steady_clock::now();
    sim.frame();
    const auto t1 = std::chrono::steady_clock::now();
    wall.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
  }
  if (perf >= 0) {
    ioctl(static_cast<int>(perf), PERF_EVENT_IOC_DISABLE, 0);
    if (read(static_cast<int>(perf), &instructions, sizeof instructions) != sizeof instructions)
      instructions = 0;
    close(static_cast<int>(perf));
  }
  counting = false;

  std::sort(wall.begin(), wall.end());
  double sum = 0;
  for (double w : wall)
    sum += w;
  const auto pct = [&](double p) {
    return wall[std::min(wall.size() - 1,
                         static_cast<std::size_t>(p * static_cast<double>(wall.size())))];
  };
  std::printf("k7bench: %d frames, %zu gauges, every window open\n", frames, sim.gauges().size());
  std::printf(
      "  wall time per frame (stand-in included): mean %.1f us, median %.1f us, p99 %.1f us\n",
      sum / frames, pct(0.5), pct(0.99));
  if (perf >= 0 && instructions > 0)
    std::printf("  instructions per frame (stand-in included): %.0f\n",
                static_cast<double>(instructions) / frames);
  else
    std::printf(
        "  instructions: not counted on this machine (see the README's callgrind recipe)\n");
  std::printf("  heap allocations by the module after install: %lu\n", module_allocations);
  return 0;
}
