// A host that is not well-behaved: windows opened and closed at random, clicks anywhere with any
// mouse flags, tokens, named variables and calculator results at extreme values, service messages
// in odd orders, the clock jumping back and forth. After every frame it checks what the module
// must keep true whatever the host does. Seeded: a run is repeated exactly from its seed.
#pragma once

#include "host/k7host.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace k7host {

struct HostileOptions {
  std::uint64_t seed = 1;
  std::uint64_t frames = 20000;
  Options sim; // module and panel; `install` is chosen at random for each load
  // A fault put in on purpose: called before every frame with the frame's number in the run.
  void (*fault)(Sim& sim, std::uint64_t frame) = nullptr;
  std::FILE* log = nullptr; // progress and the finding, or null
};

struct HostileResult {
  std::uint64_t frames = 0; // frames run
  std::uint64_t loads = 0;  // fresh loads of the module
  std::uint64_t clicks = 0; // clicks an area took
  std::string finding;      // empty when every check held; else what broke, with seed and frame
};

HostileResult run_hostile(const HostileOptions& options);

// The checks, each giving the first fault found or an empty string.
// Every state variable within its declared range (NaN is out of every range).
std::string check_state_ranges(const Sim& sim);
// Every element value the simulator asked for in the last frame finite.
std::string check_element_values(const Sim& sim);
// Key events from `first` on: an event id the simulator knows, and a value it can take.
std::string check_key_events(const Sim& sim, std::size_t first);

} // namespace k7host
