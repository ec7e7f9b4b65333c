// The randomized host: see hostile.h.
#include "host/hostile.h"

#include "platform/sound_device_log.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace k7host {

namespace {

// ---- the checks ---------------------------------------------------------------------------------

double read_entry(const StateEntry& e, std::size_t i) {
  const auto* p = static_cast<const unsigned char*>(e.address);
  switch (e.type) {
  case StateType::U8: return reinterpret_cast<const std::uint8_t*>(p)[i];
  case StateType::I8: return reinterpret_cast<const std::int8_t*>(p)[i];
  case StateType::U16: return reinterpret_cast<const std::uint16_t*>(p)[i];
  case StateType::I16: return reinterpret_cast<const std::int16_t*>(p)[i];
  case StateType::U32: return reinterpret_cast<const std::uint32_t*>(p)[i];
  case StateType::I32: return reinterpret_cast<const std::int32_t*>(p)[i];
  case StateType::F64: return reinterpret_cast<const double*>(p)[i];
  }
  return 0.0;
}

std::string number(double v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

// What the simulator can take with a key event. Events that carry a quantity take it within the
// quantity's range; every other event takes a small unsigned value (0, 1, a count), never the
// wrapped-around image of a negative number or a NaN turned into an integer.
struct KeyValueRange {
  std::uint32_t first, last; // event ids
  double lowest, highest;    // value, read as signed when lowest < 0
};
constexpr KeyValueRange key_value_ranges[] = {
    {0x1009E, 0x1009E, -16384, 16384}, // elevator set
    {0x100A0, 0x100A0, -16384, 16384}, // rudder set
    {0x100FA, 0x100FA, 0, 16384},      // spoilers set
    {0x1011C, 0x1011F, 0, 16384},      // throttle 1..4 set
    {0x1009F, 0x1009F, -16384, 16384}, // aileron set
    {0x101F4, 0x101F4, -20000, 20000}, // autopilot vertical-speed reference, ft/min
    {0x101F5, 0x101F5, 0, 1000},       // autopilot speed set, knots
    {0x101FA, 0x101FA, 0, 360},        // autopilot heading reference, degrees
    {0x1024C, 0x1024C, -2000, 100000}, // autopilot altitude reference, feet (below sea level too)
    {0x101F8, 0x101F8, 0, 16 * 1100},  // barometric setting, 1/16 hPa
    {0x103CA, 0x103CC, 10000, 19999},  // panel window toggle/open/close: a user window id
};
constexpr std::uint32_t KEY_FIRST = 0x10000;
constexpr std::uint32_t KEY_LAST = 0x10000 + 1112;
constexpr std::uint32_t SMALL_VALUE_LIMIT = 0xFFFF;

} // namespace

std::string check_state_ranges(const Sim& sim) {
  for (const StateEntry* e : sim.state_entries())
    for (std::size_t i = 0; i < e->count; ++i) {
      const double v = read_entry(*e, i);
      if (v >= e->lowest && v <= e->highest) continue;
      std::string name = e->name;
      if (e->count > 1) name += "[" + std::to_string(i) + "]";
      return "state " + name + " = " + number(v) + ", outside " + number(e->lowest) + ".." +
             number(e->highest);
    }
  return {};
}

std::string check_element_values(const Sim& sim) {
  for (const GaugeInfo& g : sim.gauges()) {
    if (g.window == ~0u || !sim.window_open(g.window)) continue;
    for (const ElementView& v : sim.elements(g.name)) {
      if (!v.asked) continue;
      if (std::isfinite(v.value) && std::isfinite(v.value_y) && std::isfinite(v.value_r)) continue;
      return "element " + std::to_string(v.index) + " of \"" + g.name + "\" gave " +
             number(v.value) + ", " + number(v.value_y) + ", " + number(v.value_r);
    }
  }
  return {};
}

std::string check_key_events(const Sim& sim, std::size_t first) {
  const auto& events = sim.key_events();
  for (std::size_t i = first; i < events.size(); ++i) {
    const KeyEvent& k = events[i];
    char what[96];
    std::snprintf(what, sizeof what, "key event 0x%X value %u (0x%X)", k.id, k.value, k.value);
    if (k.id < KEY_FIRST || k.id > KEY_LAST) return std::string(what) + ": no such event";
    bool known = false;
    for (const KeyValueRange& r : key_value_ranges) {
      if (k.id < r.first || k.id > r.last) continue;
      known = true;
      const double v = r.lowest < 0 ? static_cast<double>(static_cast<std::int32_t>(k.value))
                                    : static_cast<double>(k.value);
      if (v < r.lowest || v > r.highest)
        return std::string(what) + ": outside " + number(r.lowest) + ".." + number(r.highest);
    }
    if (!known && k.value > SMALL_VALUE_LIMIT)
      return std::string(what) + ": not a value this event takes";
  }
  return {};
}

namespace {

// ---- the host's moves ---------------------------------------------------------------------------

// Values no simulator should send, and some it does.
const double extreme_values[] = {0.0,
                                 1.0,
                                 -1.0,
                                 0.5,
                                 2.0,
                                 100.0,
                                 16384.0,
                                 32767.0,
                                 65535.0,
                                 65536.0,
                                 4294967296.0,
                                 -4294967296.0,
                                 2147483648.0,
                                 -2147483649.0,
                                 1e300,
                                 -1e300,
                                 1e-300,
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN(),
                                 -50.0,
                                 -16384.0};

const FLAGS32 flag_bits[] = {MOUSE_RIGHTSINGLE,
                             MOUSE_MIDDLESINGLE,
                             MOUSE_LEFTSINGLE,
                             MOUSE_RIGHTDOUBLE,
                             MOUSE_MIDDLEDOUBLE,
                             MOUSE_LEFTDOUBLE,
                             MOUSE_RIGHTDRAG,
                             MOUSE_MIDDLEDRAG,
                             MOUSE_LEFTDRAG,
                             MOUSE_MOVE,
                             0x00200000u,
                             MOUSE_RIGHTRELEASE,
                             MOUSE_MIDDLERELEASE,
                             MOUSE_LEFTRELEASE,
                             0x00010000u,
                             0x00008000u,
                             0x00004000u,
                             0x00002000u,
                             0x00001000u,
                             MOUSE_LEAVE,
                             MOUSE_GETALL,
                             0x00100000u,
                             0x1u,
                             0x0u};
constexpr FLAGS32 DOWN_REPEAT = 0x00200000u;

// Tokens held at a value for a while: the aircraft model would overwrite them at each frame.
struct Override {
  std::uint32_t id;
  double value;
  std::uint64_t until; // frame of the load
};

struct Host {
  std::mt19937_64 rng;
  std::vector<Override> overrides;
  std::uint64_t frame_in_load = 0;

  std::uint64_t below(std::uint64_t n) { return n == 0 ? 0 : rng() % n; }
  bool chance(unsigned percent) { return below(100) < percent; }
  double extreme() {
    if (chance(30)) return static_cast<double>(below(200001)) / 10.0 - 5000.0; // plausible
    return extreme_values[below(std::size(extreme_values))];
  }
};

void apply_overrides(Sim& sim, void* data) {
  auto& host = *static_cast<Host*>(data);
  for (const Override& o : host.overrides)
    if (host.frame_in_load <= o.until) sim.set_token(o.id, o.value);
}

struct Area {
  std::string gauge;
  PIXBOX box;
  FLAGS32 flags;
};

struct Catalogue {
  std::vector<std::string> placed;    // gauges the panel places
  std::vector<Area> areas;            // their click areas
  std::vector<std::uint32_t> windows; // pop-up window ids
};

Catalogue discover(const Sim& sim) {
  Catalogue c;
  for (const GaugeInfo& g : sim.gauges()) {
    if (g.window == ~0u) continue;
    c.placed.push_back(g.name);
    const GAUGEHDR* h = sim.header(g.name);
    if (h == nullptr || h->mouse_rect == nullptr) continue;
    for (const MOUSERECT* r = h->mouse_rect; r->rect_type != MOUSE_RECT_EOL; ++r)
      if (r->rect_type == MOUSE_RECT_CHILD)
        c.areas.push_back({g.name, r->relative_box, static_cast<FLAGS32>(r->mouse_flags)});
  }
  for (const PanelWindow& w : sim.panel().windows)
    if (!w.main_panel) c.windows.push_back(w.ident);
  return c;
}

struct Repeat {
  Area area;
  int x = 0, y = 0;
  int left = 0;
};

// One frame's worth of mischief. Returns false when the module should be loaded afresh.
bool misbehave(Sim& sim, Host& h, const Catalogue& c, Repeat& repeat, HostileResult& result) {
  if (repeat.left > 0) {
    --repeat.left;
    if (sim.click(repeat.area.gauge, repeat.x, repeat.y, MOUSE_LEFTSINGLE | DOWN_REPEAT))
      ++result.clicks;
  }
  const int moves = static_cast<int>(h.below(4));
  for (int m = 0; m < moves; ++m) {
    switch (h.below(16)) {
    case 0:
    case 1: // windows
      if (!c.windows.empty()) {
        const std::uint32_t w = c.windows[h.below(c.windows.size())];
        if (h.chance(50))
          sim.toggle_window(w);
        else if (h.chance(50))
          sim.open_window(w);
        else
          sim.close_window(w);
      }
      break;
    case 2:
    case 3:
    case 4:
    case 5: { // a click in or just outside an area
      if (c.areas.empty()) break;
      const Area& a = c.areas[h.below(c.areas.size())];
      int x = a.box.x +
              static_cast<int>(h.below(static_cast<std::uint64_t>(std::max(1, a.box.size_x))));
      int y = a.box.y +
              static_cast<int>(h.below(static_cast<std::uint64_t>(std::max(1, a.box.size_y))));
      if (h.chance(15)) x = h.chance(50) ? a.box.x - 1 : a.box.x + a.box.size_x;
      if (h.chance(15)) y = h.chance(50) ? a.box.y - 1 : a.box.y + a.box.size_y;
      FLAGS32 flags = a.flags;
      if (h.chance(30)) flags = flag_bits[h.below(std::size(flag_bits))];
      if (h.chance(5)) flags = static_cast<FLAGS32>(h.rng());
      if (sim.click(a.gauge, x, y, flags)) ++result.clicks;
      if (h.chance(20)) repeat = {a, x, y, static_cast<int>(h.below(12))};
      break;
    }
    case 6:
    case 7: { // a token held at an odd value for a while
      const auto asked = sim.tokens_asked();
      const std::uint32_t id = !asked.empty() && h.chance(80)
                                   ? asked[h.below(asked.size())]
                                   : static_cast<std::uint32_t>(h.below(0x38E));
      h.overrides.push_back({id, h.extreme(), h.frame_in_load + h.below(200)});
      break;
    }
    case 8: { // a named variable
      const auto names = sim.named_asked();
      if (!names.empty()) sim.set_named(names[h.below(names.size())], h.extreme());
      break;
    }
    case 9: { // a calculator result
      const auto expressions = sim.calc_asked();
      if (!expressions.empty()) sim.set_calc(expressions[h.below(expressions.size())], h.extreme());
      break;
    }
    case 10: { // a service message out of turn, or one nobody knows
      if (c.placed.empty()) break;
      static const SINT32 messages[] = {PANEL_SERVICE_PRE_INSTALL,
                                        PANEL_SERVICE_PRE_KILL,
                                        PANEL_SERVICE_PRE_UPDATE,
                                        0,
                                        1,
                                        3,
                                        4,
                                        5,
                                        7,
                                        8,
                                        9,
                                        10,
                                        11,
                                        13,
                                        14,
                                        15,
                                        16,
                                        17,
                                        18,
                                        99,
                                        -1};
      const SINT32 message = messages[h.below(std::size(messages))];
      sim.send_message(c.placed[h.below(c.placed.size())], message,
                       static_cast<GAUGE_EXTRA>(h.below(3)));
      break;
    }
    case 11:
      if (h.chance(10) && !c.placed.empty())
        sim.call_element_routines(c.placed[h.below(c.placed.size())], nullptr,
                                  static_cast<UINT32>(h.below(4)));
      break;
    case 12: // the clock jumps
      if (h.chance(20)) {
        static const double jumps[] = {-1.0, -60.0, -3600.0, -1e6, 1.0, 60.0, 3600.0, 1e6, 1e8};
        sim.shift_clock(jumps[h.below(std::size(jumps))]);
      }
      break;
    case 13: // the whole panel killed, or installed again
      if (h.chance(3)) {
        if (h.chance(50))
          sim.kill_all();
        else
          sim.install_all();
      }
      break;
    case 14: // ground and air
      sim.set_token(TOKEN_AIRCRAFT_ON_GROUND, h.chance(70) ? 1.0 : 0.0);
      sim.set_token(TOKEN_AIRSPEED, h.chance(50) ? 0.0 : static_cast<double>(h.below(400)));
      break;
    default:
      if (h.below(1000) == 0) return false; // a fresh load
      break;
    }
  }
  return true;
}

const K7SoundDeviceLog* sound_log(const Sim& sim) {
  return static_cast<const K7SoundDeviceLog*>(sim.sound_device());
}

} // namespace

HostileResult run_hostile(const HostileOptions& options) {
  HostileResult result;
  Host host;
  host.rng.seed(options.seed);
  if (options.log != nullptr)
    std::fprintf(options.log, "hostile host: seed %llu, %llu frames\n",
                 static_cast<unsigned long long>(options.seed),
                 static_cast<unsigned long long>(options.frames));

  while (result.frames < options.frames && result.finding.empty()) {
    Options sim_options = options.sim;
    sim_options.install = host.chance(90);
    // Every second load runs the cockpit's start-up sequence (without drawing from the seed's
    // stream, so that a seed's first load stays as it was).
    sim_options.start_up = result.loads % 2 == 1;
    Sim sim(sim_options);
    ++result.loads;
    host.overrides.clear();
    host.frame_in_load = 0;
    sim.set_frame_hook(apply_overrides, &host);
    const Catalogue catalogue = discover(sim);
    Repeat repeat;
    std::size_t keys_seen = 0;
    const K7SoundDeviceLog* sound = sound_log(sim);
    const std::uint32_t stale_at_load = sound != nullptr ? sound->stale_calls : 0;
    const std::uint64_t length = 200 + host.below(6000);

    for (std::uint64_t f = 0; f < length && result.frames < options.frames; ++f) {
      const bool keep = misbehave(sim, host, catalogue, repeat, result);
      if (options.fault != nullptr) options.fault(sim, result.frames);
      sim.frame();
      ++host.frame_in_load;
      ++result.frames;
      if (host.overrides.size() > 64)
        std::erase_if(host.overrides,
                      [&](const Override& o) { return o.until < host.frame_in_load; });

      std::string finding = check_state_ranges(sim);
      if (finding.empty()) finding = check_element_values(sim);
      if (finding.empty()) finding = check_key_events(sim, keys_seen);
      keys_seen = sim.key_events().size();
      if (finding.empty() && sound != nullptr && sound->stale_calls != stale_at_load)
        finding = "a sound call on a null or released buffer";
      if (!finding.empty()) {
        result.finding = "seed " + std::to_string(options.seed) + ", frame " +
                         std::to_string(result.frames) + " (load " + std::to_string(result.loads) +
                         ", frame " + std::to_string(host.frame_in_load) + " of it): " + finding;
        break;
      }
      if (!keep) break;
    }
    if (options.log != nullptr && result.finding.empty() && result.loads % 20 == 0)
      std::fprintf(options.log, "  %llu frames\n", static_cast<unsigned long long>(result.frames));
  }
  if (options.log != nullptr) {
    if (result.finding.empty())
      std::fprintf(options.log,
                   "hostile host: seed %llu: %llu frames, %llu loads, %llu clicks "
                   "taken, no finding\n",
                   static_cast<unsigned long long>(options.seed),
                   static_cast<unsigned long long>(result.frames),
                   static_cast<unsigned long long>(result.loads),
                   static_cast<unsigned long long>(result.clicks));
    else
      std::fprintf(options.log, "hostile host: FINDING: %s\n", result.finding.c_str());
  }
  return result;
}

} // namespace k7host
