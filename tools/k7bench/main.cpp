// k7bench: the cost of the module per panel frame, with every window of the default panel open.
//   k7bench [--module PATH] [--empty] [FRAMES]
// Reports wall time per frame, instructions per frame where the machine counts them, and heap
// allocations the module made after install. --empty runs the same frames through an empty module:
// every gauge callback and element callback replaced by one that does nothing (libk7floor), the
// floor against which the module's own cost is measured. scripts/bench runs both under callgrind
// and prints the module's instructions per frame by subsystem.
#include "host/k7host.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <linux/perf_event.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <memory>
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

int fail(const std::string& message) {
  std::fprintf(stderr, "k7bench: %s\n", message.c_str());
  return 2;
}

} // namespace

extern "C" void FSAPI k7floor_gauge(PGAUGEHDR, SINT32, GAUGE_EXTRA);
extern "C" FLOAT64 FSAPI k7floor_element(void*);

namespace {

template <typename Fn> void empty(Fn& callback) {
  if (callback != nullptr) callback = reinterpret_cast<Fn>(&k7floor_element);
}

// Every gauge callback and every element callback the simulator calls in a frame does nothing.
void empty_module(k7host::Sim& sim) {
  for (const auto& g : sim.gauges()) {
    GAUGEHDR* h = sim.header(g.name);
    if (h->gauge_callback != nullptr) h->gauge_callback = k7floor_gauge;
    if (h->elements_list == nullptr) continue;
    for (ELEMENT_HEADER* e = *h->elements_list; e != nullptr;
         e = e->next_element != nullptr ? e->next_element[0] : nullptr) {
      switch (e->element_type) {
      case ELEMENT_TYPE_NEEDLE: empty(reinterpret_cast<ELEMENT_NEEDLE*>(e)->update_cb); break;
      case ELEMENT_TYPE_ICON: empty(reinterpret_cast<ELEMENT_ICON*>(e)->update_cb); break;
      case ELEMENT_TYPE_STRING: empty(reinterpret_cast<ELEMENT_STRING*>(e)->update_cb); break;
      case ELEMENT_TYPE_MOVING_IMAGE:
        empty(reinterpret_cast<ELEMENT_MOVING_IMAGE*>(e)->update_x_cb);
        empty(reinterpret_cast<ELEMENT_MOVING_IMAGE*>(e)->update_y_cb);
        break;
      case ELEMENT_TYPE_SPRITE:
        empty(reinterpret_cast<ELEMENT_SPRITE*>(e)->update_x_cb);
        empty(reinterpret_cast<ELEMENT_SPRITE*>(e)->update_y_cb);
        empty(reinterpret_cast<ELEMENT_SPRITE*>(e)->update_0_cb);
        break;
      case ELEMENT_TYPE_SLIDER:
        empty(reinterpret_cast<ELEMENT_SLIDER*>(e)->update_x_cb);
        empty(reinterpret_cast<ELEMENT_SLIDER*>(e)->update_y_cb);
        break;
      default: break;
      }
    }
  }
}

// The frames measured, apart from the settling ones: scripts/bench counts instructions in here.
__attribute__((noinline)) void measured_frame(k7host::Sim& sim) {
  sim.frame();
}

} // namespace

int main(int argc, char** argv) {
  int frames = 2000;
  bool empty_run = false;
  k7host::Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--empty") {
      empty_run = true;
    } else if (arg == "--module") {
      if (i + 1 >= argc) return fail("--module needs a path");
      options.module_path = argv[++i];
    } else if (arg.rfind("--", 0) == 0) {
      return fail("unknown option " + arg);
    } else {
      char* end = nullptr;
      const long n = std::strtol(arg.c_str(), &end, 10);
      if (arg.empty() || *end != '\0' || n <= 0 || n > 100000000)
        return fail("FRAMES must be a positive whole number, not '" + arg + "'");
      frames = static_cast<int>(n);
    }
  }
  std::unique_ptr<k7host::Sim> loaded;
  try {
    loaded = std::make_unique<k7host::Sim>(options);
  } catch (const std::exception& e) {
    return fail(e.what());
  }
  k7host::Sim& sim = *loaded;
  if (empty_run) empty_module(sim);
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
    measured_frame(sim);
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
  std::printf("k7bench: %d frames, %zu gauges, every window open%s\n", frames, sim.gauges().size(),
              empty_run ? ", EMPTY module (callbacks do nothing)" : "");
  std::printf(
      "  wall time per frame (stand-in included): mean %.1f us, median %.1f us, p99 %.1f us\n",
      sum / frames, pct(0.5), pct(0.99));
  if (perf >= 0 && instructions > 0)
    std::printf("  instructions per frame (stand-in included): %.0f\n",
                static_cast<double>(instructions) / frames);
  else
    std::printf(
        "  instructions: not counted on this machine (scripts/bench counts them with callgrind)\n");
  std::printf("  heap allocations by the module after install: %lu\n", module_allocations);
  return 0;
}
