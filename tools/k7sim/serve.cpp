// `k7sim serve`: one cockpit, shared by every browser that opens the page. One lock guards the
// simulator: the frame loop and every request take it in turn, so a request always sees (and
// changes) a whole frame. Requests are checked completely before anything changes; a refused one
// answers 4xx with {"error": "..."} and leaves the cockpit as it was.
#include "tools/k7sim/serve.h"

#include "host/render.h"
#include "host/scenario_steps.h"
#include "host/sound_view.h"
#include "platform/sound_device_log.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

// The page's files, built in (web_assets.cpp, generated from web/).
struct K7WebAsset {
  const char* path;
  const char* type;
  const char* text;
};
extern const K7WebAsset k7sim_web_assets[];

namespace k7sim {

namespace {

using nlohmann::json;

constexpr std::size_t kMaxBody = 256 * 1024; // a scenario file is far smaller
constexpr int kMaxWatchedTokens = 64;
constexpr std::size_t kKeyEventsShown = 40;
constexpr int kMaxStreams = 4; // pages following the cockpit at once

// Outside light: the cockpit is dark (only luminous artwork lit) from 20:00 to 06:00.
constexpr double kDuskHour = 20, kDawnHour = 6;
constexpr std::uint32_t kTokenHours = 0x003;

// A client's mistake: answered with `status` and the message, nothing changed.
struct Refused {
  int status;
  std::string message;
};

double round3(double v) {
  return std::isfinite(v) ? std::round(v * 1000.0) / 1000.0 : 0.0;
}

// One click area of a placed gauge, in the gauge's own pixels.
struct Area {
  int x, y, w, h;
  int cursor;
  FLAGS32 flags;
};

struct Placed {
  std::string name;
  double x, y, sx, sy, w, h; // in window pixels
  std::vector<Area> areas;
};

class Cockpit {
public:
  explicit Cockpit(const k7host::Options& options) : options_(options) { fresh(); }

  std::mutex mutex;

  // ---- the frame loop
  void tick() {
    if (paused_ && steps_ == 0) return;
    const long frames = paused_ ? 1 : speed_;
    if (steps_ > 0) --steps_;
    if (scenario_ && scenario_running_) {
      run_scenario_frames(frames);
    } else {
      sim_->frames(static_cast<int>(frames));
    }
    ++version_;
  }

  // ---- the requests; each throws Refused on bad input before changing anything
  json panel() const { return panel_json_; }

  std::string bitmap(const std::string& id_text, bool transparent) {
    const auto id = whole(id_text, 0, 0xFFFFFFF, "bitmap id");
    const auto key = std::make_pair(static_cast<ID>(id), transparent);
    if (auto it = bitmaps_.find(key); it != bitmaps_.end()) return it->second;
    std::string png;
    if (!k7host::bitmap_png(*sim_, static_cast<ID>(id), transparent, png))
      throw Refused{404, "no bitmap " + id_text + " in the module"};
    return bitmaps_.emplace(key, std::move(png)).first->second;
  }

  // The PCM data of the module's live sound buffer `name` as a WAV file.
  std::string sound(const std::string& name) const {
    const auto* log = static_cast<const K7SoundDeviceLog*>(sim_->sound_device());
    using BufferBytes = const unsigned char* (*)(int, unsigned*);
    auto bytes = reinterpret_cast<BufferBytes>(sim_->module_symbol("k7_dev_sound_buffer_bytes"));
    if (log != nullptr && log->size == sizeof(K7SoundDeviceLog) && bytes != nullptr)
      for (std::uint32_t i = 0; i < log->buffer_count && i < K7_SOUND_LOG_BUFFERS; ++i) {
        const K7SoundBufferLog& b = log->buffers[i];
        unsigned size = 0;
        const unsigned char* data =
            b.released == 0 && name == b.name ? bytes(static_cast<int>(i), &size) : nullptr;
        if (data != nullptr) return wav(b, data, size);
      }
    throw Refused{404, "no sound " + name + " loaded by the module"};
  }

  // What a browser asks to be told with each frame: sound operations and key events after the
  // ones it has, and the tokens it shows.
  struct Viewer {
    std::uint32_t sound_since = 0;
    std::size_t key_since = 0;
    std::vector<std::uint32_t> tokens;
  };

  static Viewer viewer(const httplib::Request& req) {
    Viewer v;
    v.sound_since = static_cast<std::uint32_t>(
        whole(req.has_param("sound") ? req.get_param_value("sound") : "0", 0, 0xFFFFFFFF, "sound"));
    v.key_since = static_cast<std::size_t>(
        whole(req.has_param("keys") ? req.get_param_value("keys") : "0", 0, 1e12, "keys"));
    if (req.has_param("tokens")) v.tokens = token_list(req.get_param_value("tokens"));
    return v;
  }

  std::uint64_t version() const { return version_; }

  json frame(const Viewer& viewer) {
    const std::uint32_t sound_since = viewer.sound_since;
    const std::size_t key_since = viewer.key_since;
    const std::vector<std::uint32_t>& tokens = viewer.tokens;
    json out;
    out["frame"] = sim_->frame_count();
    out["time"] = round3(static_cast<double>(sim_->frame_count()) / k7host::kFramesPerSecond);
    out["paused"] = paused_;
    out["speed"] = speed_;
    const double hours = sim_->token(kTokenHours);
    out["night"] = hours >= kDuskHour || hours < kDawnHour;
    out["version"] = version_;
    out["cockpit"] = cockpit_number_;
    out["open"] = sim_->open_windows();
    out["windows"] = nullptr; // filled in by frame_text()
    out["sound"] = sounds(sound_since);
    const auto& keys = sim_->key_events();
    json recent = json::array();
    std::size_t first = std::min(key_since, keys.size());
    if (keys.size() - first > kKeyEventsShown) first = keys.size() - kKeyEventsShown;
    for (std::size_t i = first; i < keys.size(); ++i)
      recent.push_back({keys[i].id, keys[i].value, keys[i].frame});
    out["keys"] = {{"count", keys.size()}, {"recent", recent}};
    json values = json::object();
    for (std::uint32_t id : tokens)
      values[std::to_string(id)] = round3(sim_->token(id));
    out["tokens"] = values;
    out["scenario"] = scenario_summary();
    return out;
  }

  // A frame as text, with the draw lists (made once per change, shared by every page) put in
  // as they are.
  std::string frame_text(const json& frame) {
    std::string text = frame.dump(-1, ' ', false, json::error_handler_t::replace);
    static const std::string slot = "\"windows\":null";
    const auto at = text.rfind(slot); // the last key: after every text a client chose
    if (at != std::string::npos) text.replace(at, slot.size(), "\"windows\":" + drawings());
    return text;
  }

  json state(const std::string& filter) const {
    json list = json::array();
    for (const StateEntry* e : sim_->state_entries()) {
      if (!filter.empty() && std::string(e->name).find(filter) == std::string::npos) continue;
      for (std::size_t i = 0; i < e->count; ++i) {
        const std::string name =
            e->count == 1 ? e->name : std::string(e->name) + "[" + std::to_string(i) + "]";
        list.push_back({{"name", name},
                        {"value", sim_->state(name).value_or(0.0)},
                        {"lowest", e->lowest},
                        {"highest", e->highest},
                        {"meaning", e->comment}});
      }
    }
    return {{"variables", list}};
  }

  void set_state(const json& body) {
    const std::string name = text_field(body, "name");
    const double value = number_field(body, "value");
    const StateEntry* entry = nullptr;
    std::string base = name.substr(0, name.find('['));
    for (const StateEntry* e : sim_->state_entries())
      if (base == e->name) entry = e;
    if (entry == nullptr || !sim_->state(name)) throw Refused{404, "no state variable " + name};
    if (value < entry->lowest || value > entry->highest)
      throw Refused{400, name + " takes " + number_text(entry->lowest) + ".." +
                             number_text(entry->highest) + ", not " + number_text(value)};
    sim_->set_state(name, value);
    ++version_;
  }

  void set_token(const json& body) {
    const double id = number_field(body, "id");
    if (id != std::floor(id) || id < 0 || id >= 65536)
      throw Refused{400, "a token id is a whole number 0..65535"};
    const double value = number_field(body, "value");
    sim_->set_token(static_cast<std::uint32_t>(id), value);
    ++version_;
  }

  json click(const json& body) {
    const double ident_number = number_field(body, "window");
    const double x = number_field(body, "x"), y = number_field(body, "y");
    const FLAGS32 flags = mouse_flags(body);
    const auto ident = static_cast<std::uint32_t>(ident_number);
    if (ident_number != std::floor(ident_number) || ident_number < 0 ||
        placed_.find(ident) == placed_.end())
      throw Refused{404, "no window " + number_text(ident_number) + " in the panel"};
    if (!sim_->window_open(ident))
      throw Refused{409, "window " + std::to_string(ident) + " is not open"};
    // The gauge drawn last lies on top.
    const auto& gauges = placed_.at(ident);
    for (auto g = gauges.rbegin(); g != gauges.rend(); ++g) {
      const double gx = (x - g->x) / g->sx, gy = (y - g->y) / g->sy;
      for (const Area& a : g->areas) {
        if (gx < a.x || gy < a.y || gx >= a.x + a.w || gy >= a.y + a.h) continue;
        if ((a.flags & flags) == 0) continue;
        const bool taken = sim_->click(g->name, static_cast<int>(gx), static_cast<int>(gy), flags);
        ++version_;
        return {{"taken", taken}, {"gauge", g->name}};
      }
    }
    return {{"taken", false}};
  }

  void window(const json& body) {
    const double ident_number = number_field(body, "ident");
    const std::string action = text_field(body, "action");
    if (action != "open" && action != "close" && action != "toggle")
      throw Refused{400, "action is open, close or toggle, not " + action};
    const auto ident = static_cast<std::uint32_t>(ident_number);
    if (ident_number != std::floor(ident_number) || ident_number <= 0 ||
        ident_number > 4294967295.0 || !sim_->window_known(ident))
      throw Refused{404, "no pop-up window " + number_text(ident_number) + " in the panel"};
    if (action == "open") sim_->open_window(ident);
    if (action == "close") sim_->close_window(ident);
    if (action == "toggle") sim_->toggle_window(ident);
    ++version_;
  }

  void run(const json& body) {
    if (!body.is_object() || body.size() != 1) throw Refused{400, "one of pause, speed or step"};
    if (body.contains("pause")) {
      if (!body["pause"].is_boolean()) throw Refused{400, "pause is true or false"};
      paused_ = body["pause"].get<bool>();
    } else if (body.contains("speed")) {
      const double s = number_field(body, "speed");
      if (s != 1 && s != 4 && s != 16) throw Refused{400, "speed is 1, 4 or 16"};
      speed_ = static_cast<int>(s);
    } else if (body.contains("step")) {
      const double n = number_field(body, "step");
      if (n != std::floor(n) || n < 1 || n > 1000) throw Refused{400, "step is 1..1000 frames"};
      if (!paused_) throw Refused{409, "pause before stepping"};
      steps_ += static_cast<int>(n);
    } else {
      throw Refused{400, "one of pause, speed or step"};
    }
  }

  void reset() { fresh(); }

  void load_scenario(const json& body) {
    const std::string text = text_field(body, "text");
    std::string name = body.contains("name") ? text_field(body, "name") : "scenario";
    if (name.empty() || name.size() > 200) name = "scenario";
    bool start_fresh = true;
    if (body.contains("fresh")) {
      if (!body["fresh"].is_boolean()) throw Refused{400, "fresh is true or false"};
      start_fresh = body["fresh"].get<bool>();
    }
    // A scenario is checked against the cockpit it will run in; a fresh one has the same gauges,
    // windows and variables.
    const auto problems = k7host::scenario_problems(*sim_, text, false);
    if (!problems.empty()) {
      std::string message = name + " cannot be read:";
      for (const auto& p : problems)
        message += "\n" + p;
      throw Refused{400, message};
    }
    if (start_fresh) fresh();
    scenario_ = std::make_unique<k7host::ScenarioSteps>(*sim_, text, name);
    scenario_name_ = name;
    scenario_running_ = false;
    ++scenario_version_;
  }

  void scenario_step() {
    need_scenario();
    scenario_->finish_line();
    ++scenario_version_;
    ++version_;
  }

  void scenario_run(const json& body) {
    need_scenario();
    if (!body.contains("run") || !body["run"].is_boolean())
      throw Refused{400, "run is true or false"};
    scenario_running_ = body["run"].get<bool>();
    ++scenario_version_;
  }

  json scenario() const {
    if (!scenario_) return {{"loaded", false}};
    json lines = json::array();
    for (const auto& l : scenario_->lines())
      lines.push_back({{"number", l.number},
                       {"text", l.text},
                       {"status", k7host::status_name(l.status)},
                       {"output", l.output}});
    json out = scenario_summary();
    out["lines"] = lines;
    return out;
  }

  // A scenario that rebuilds the cockpit as it stands: the simulator's values the module reads,
  // every state variable, the open windows.
  std::string saved() const {
    std::string s =
        "# The cockpit at t=" +
        number_text(static_cast<double>(sim_->frame_count()) / k7host::kFramesPerSecond) +
        " s, saved by k7sim serve: load it into a fresh cockpit.\n";
    for (std::uint32_t id : sim_->tokens_asked()) {
      char line[96];
      std::snprintf(line, sizeof line, "set token 0x%03X %s\n", id,
                    number_text(sim_->token(id)).c_str());
      s += line;
    }
    for (const std::string& n : sim_->named_asked())
      if (n.find_first_of(" \t\"#") == std::string::npos)
        s += "set named " + n + " " + number_text(sim_->named(n)) + "\n";
    for (const StateEntry* e : sim_->state_entries())
      for (std::size_t i = 0; i < e->count; ++i) {
        const std::string name =
            e->count == 1 ? e->name : std::string(e->name) + "[" + std::to_string(i) + "]";
        s += "set state " + name + " " + number_text(sim_->state(name).value_or(0.0)) + "\n";
      }
    for (const auto& w : sim_->panel().windows)
      if (!w.main_panel)
        s += (sim_->window_open(w.ident) ? "open " : "close ") + std::to_string(w.ident) + "\n";
    return s;
  }

private:
  k7host::Options options_;
  std::unique_ptr<k7host::Sim> sim_;
  std::map<std::uint32_t, std::vector<Placed>> placed_;
  json panel_json_;
  std::map<std::pair<ID, bool>, std::string> bitmaps_;
  bool paused_ = false;
  int speed_ = 1;
  int steps_ = 0;
  std::uint64_t version_ = 0;
  int cockpit_number_ = 0; // counts fresh cockpits: the page forgets its sounds on a new one
  std::uint64_t drawn_version_ = ~0ull;
  std::string drawn_;
  std::unique_ptr<k7host::ScenarioSteps> scenario_;
  std::string scenario_name_;
  bool scenario_running_ = false;
  std::uint64_t scenario_version_ = 0;

  void fresh() {
    // The new cockpit is loaded before the old one goes: a module that fails to load leaves the
    // old cockpit in place.
    auto next = std::make_unique<k7host::Sim>(options_);
    scenario_.reset();
    scenario_running_ = false;
    sim_ = std::move(next);
    ++cockpit_number_;
    ++version_;
    ++scenario_version_;
    if (panel_json_.is_null()) describe_panel();
  }

  // ---- input
  static std::string number_text(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    // the shortest text that reads back the same
    for (int p = 1; p <= 17; ++p) {
      char shorter[40];
      std::snprintf(shorter, sizeof shorter, "%.*g", p, v);
      if (std::strtod(shorter, nullptr) == v) return shorter;
    }
    return buf;
  }

  static double whole(const std::string& text, double lo, double hi, const char* what) {
    char* end = nullptr;
    const double v = text.empty() || text.size() > 20 ? NAN : std::strtod(text.c_str(), &end);
    if (!std::isfinite(v) || end == nullptr || *end != '\0' || v != std::floor(v) || v < lo ||
        v > hi)
      throw Refused{400, std::string(what) + " must be a whole number " + number_text(lo) + ".." +
                             number_text(hi) + ", not '" + text.substr(0, 40) + "'"};
    return v;
  }

  static std::vector<std::uint32_t> token_list(const std::string& text) {
    std::vector<std::uint32_t> ids;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
      const auto comma = text.find(',', start);
      const std::string part =
          text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
      ids.push_back(static_cast<std::uint32_t>(whole(part, 0, 65535, "token id")));
      if (ids.size() > kMaxWatchedTokens) throw Refused{400, "too many tokens asked"};
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    return ids;
  }

  static double number_field(const json& body, const char* key) {
    if (!body.contains(key) || !body[key].is_number())
      throw Refused{400, std::string(key) + " must be a number"};
    const double v = body[key].get<double>();
    if (!std::isfinite(v)) throw Refused{400, std::string(key) + " must be finite"};
    return v;
  }

  static std::string text_field(const json& body, const char* key) {
    if (!body.contains(key) || !body[key].is_string())
      throw Refused{400, std::string(key) + " must be a text"};
    return body[key].get<std::string>();
  }

  static FLAGS32 mouse_flags(const json& body) {
    static const std::map<std::string, FLAGS32> names = {
        {"left", MOUSE_LEFTSINGLE},
        {"right", MOUSE_RIGHTSINGLE},
        {"middle", MOUSE_MIDDLESINGLE},
        {"move", MOUSE_MOVE},
        {"repeat", MOUSE_DOWN_REPEAT},
        {"leftrelease", MOUSE_LEFTRELEASE},
        {"rightrelease", MOUSE_RIGHTRELEASE},
        {"leftdrag", MOUSE_LEFTDRAG},
        {"wheelup", MOUSE_WHEEL_UP},
        {"wheeldown", MOUSE_WHEEL_DOWN},
        {"leave", MOUSE_LEAVE},
    };
    const std::string button = body.contains("button") ? text_field(body, "button") : "left";
    const auto it = names.find(button);
    if (it == names.end()) throw Refused{400, "no mouse button " + button};
    return it->second;
  }

  void need_scenario() const {
    if (!scenario_) throw Refused{409, "no scenario loaded"};
    if (scenario_->finished()) throw Refused{409, "the scenario has run to its end"};
  }

  // ---- output
  void describe_panel() {
    json windows = json::array();
    for (const auto& w : sim_->panel().windows) {
      const std::uint32_t ident = w.main_panel ? 0 : w.ident;
      const k7host::WindowDrawing d = k7host::window_draw_list(*sim_, ident);
      std::vector<Placed>& list = placed_[ident];
      json gauges = json::array();
      for (const auto& pg : w.gauges) {
        GAUGEHDR* h = sim_->header(pg.name);
        k7host::BitmapInfo face;
        if (h == nullptr || h->elements_list == nullptr || *h->elements_list == nullptr ||
            !k7host::module_bitmap_size(*sim_, (*h->elements_list)->resource_id, face))
          continue;
        Placed p;
        p.name = pg.name;
        p.sx = pg.w > 0 ? static_cast<double>(pg.w) / face.width : 1.0;
        p.sy = pg.h > 0 ? static_cast<double>(pg.h) / face.height : p.sx;
        p.x = pg.x;
        p.y = pg.y;
        p.w = face.width * p.sx;
        p.h = face.height * p.sy;
        json areas = json::array();
        if (h->mouse_rect != nullptr)
          for (const MOUSERECT* r = h->mouse_rect; r->rect_type != MOUSE_RECT_EOL; ++r) {
            if (r->rect_type != MOUSE_RECT_CHILD) continue;
            const Area a{r->relative_box.x,           r->relative_box.y,
                         r->relative_box.size_x,      r->relative_box.size_y,
                         static_cast<int>(r->cursor), static_cast<FLAGS32>(r->mouse_flags)};
            p.areas.push_back(a);
            areas.push_back({a.x, a.y, a.w, a.h, a.cursor, a.flags});
          }
        // The tooltip the simulator shows over the gauge.
        const std::string tooltip = sim_->tooltip(pg.name);
        gauges.push_back({{"name", p.name},
                          {"x", p.x},
                          {"y", p.y},
                          {"sx", round3(p.sx)},
                          {"sy", round3(p.sy)},
                          {"w", round3(p.w)},
                          {"h", round3(p.h)},
                          {"tooltip", tooltip},
                          {"areas", areas}});
        list.push_back(std::move(p));
      }
      windows.push_back({{"ident", ident},
                         {"title", w.title},
                         {"main", w.main_panel},
                         {"width", d.width},
                         {"height", d.height},
                         {"background", w.background_color},
                         {"gauges", gauges}});
    }
    panel_json_ = {{"windows", windows}, {"fps", k7host::kFramesPerSecond}};
  }

  // The draw lists of the main panel and the open windows: for each window, one list per placed
  // gauge (in the order of the panel description) of compact arrays:
  //   [bitmap, flags, xx, yx, xy, yy, x0, y0, mask, mxx, myx, mxy, myy, mx0, my0]
  // flags: 1 black is clear, 2 lit at night, 4 a text [.., box x, y, w, h, text, fg, bg].
  // Made once per change and shared by every browser.
  const std::string& drawings() {
    if (drawn_version_ == version_) return drawn_;
    json windows = json::object();
    std::vector<std::uint32_t> shown = sim_->open_windows();
    shown.insert(shown.begin(), 0);
    for (std::uint32_t ident : shown) {
      const std::vector<Placed>& gauges = placed_[ident];
      std::map<std::string, std::size_t> index;
      for (std::size_t i = 0; i < gauges.size(); ++i)
        index.emplace(gauges[i].name, i);
      json lists = json::array();
      for (std::size_t i = 0; i < gauges.size(); ++i)
        lists.push_back(json::array());
      const k7host::WindowDrawing d = k7host::window_draw_list(*sim_, ident);
      for (const auto& it : d.items) {
        const auto at = index.find(it.gauge);
        if (at == index.end()) continue;
        const auto& t = it.transform;
        const int flags = (it.transparent ? 1 : 0) | (it.luminous ? 2 : 0) |
                          (it.kind == k7host::DrawItem::TEXT ? 4 : 0);
        json item = {it.bitmap,    flags,        round3(t.xx), round3(t.yx),
                     round3(t.xy), round3(t.yy), round3(t.x0), round3(t.y0)};
        if (it.kind == k7host::DrawItem::TEXT) {
          item.insert(item.end(), {it.box_x, it.box_y, it.box_w, it.box_h});
          item.push_back(it.text);
          item.push_back(it.fg);
          item.push_back(it.bg);
        } else if (it.mask != 0) {
          const auto& m = it.mask_transform;
          item.insert(item.end(),
                      {json(it.mask), json(round3(m.xx)), json(round3(m.yx)), json(round3(m.xy)),
                       json(round3(m.yy)), json(round3(m.x0)), json(round3(m.y0))});
        }
        lists[at->second].push_back(std::move(item));
      }
      windows[std::to_string(ident)] = std::move(lists);
    }
    drawn_ = windows.dump(-1, ' ', false, json::error_handler_t::replace);
    drawn_version_ = version_;
    return drawn_;
  }

  json sounds(std::uint32_t since) const {
    json ops = json::array();
    json buffers = json::array();
    const auto* log = static_cast<const K7SoundDeviceLog*>(sim_->sound_device());
    std::uint32_t count = 0;
    if (log != nullptr && log->size == sizeof(K7SoundDeviceLog)) {
      count = log->op_count;
      std::uint32_t first = since + 1;
      if (count >= K7_SOUND_LOG_OPS && first + K7_SOUND_LOG_OPS <= count)
        first = count - K7_SOUND_LOG_OPS + 1;
      if (since > count) first = count + 1; // a fresh cockpit: nothing to replay
      for (std::uint32_t s = first; s <= count; ++s) {
        const K7SoundOp& op = log->ops[(s - 1) % K7_SOUND_LOG_OPS];
        if (op.no_effect != 0 || op.refused != 0) continue;
        if (op.kind != K7_SOP_PLAY && op.kind != K7_SOP_STOP && op.kind != K7_SOP_VOLUME) continue;
        ops.push_back({op.seq, k7_sound_op_name(op.kind), op.name, op.value});
      }
    }
    for (const auto& s : k7host::sound_states(*sim_))
      if (s.loaded) buffers.push_back({s.name, s.playing, s.looping, s.volume});
    return {{"count", count}, {"ops", ops}, {"buffers", buffers}};
  }

  json scenario_summary() const {
    if (!scenario_) return {{"loaded", false}, {"version", scenario_version_}};
    const auto& lines = scenario_->lines();
    const std::size_t at = scenario_->current();
    const auto& r = scenario_->result();
    int errors = 0;
    for (const auto& l : lines)
      if (l.status == k7host::ScenarioLine::ERROR) ++errors;
    return {{"loaded", true},
            {"name", scenario_name_},
            {"version", scenario_version_},
            {"running", scenario_running_},
            {"finished", scenario_->finished()},
            {"current", at},
            {"line", at < lines.size() ? lines[at].number : 0},
            {"lines_total", lines.size()},
            {"pending", scenario_->pending_frames()},
            {"expectations", r.expectations},
            {"failures", r.failures},
            {"errors", errors}};
  }

  void run_scenario_frames(long budget) {
    // Steps between "frames" lines take no time: up to a few hundred of them per tick.
    for (int lines = 0; lines < 500 && budget > 0 && !scenario_->finished(); ++lines) {
      const std::uint64_t before = sim_->frame_count();
      scenario_->advance(budget);
      budget -= static_cast<long>(sim_->frame_count() - before);
    }
    if (scenario_->finished()) scenario_running_ = false;
    ++scenario_version_;
  }

  static std::string wav(const K7SoundBufferLog& b, const unsigned char* data, unsigned size) {
    std::string out;
    auto u32 = [&](std::uint32_t v) {
      for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&](std::uint16_t v) {
      out.push_back(static_cast<char>(v & 0xFF));
      out.push_back(static_cast<char>(v >> 8));
    };
    const std::uint16_t block = static_cast<std::uint16_t>(b.channels * (b.bits / 8));
    out += "RIFF";
    u32(36 + size);
    out += "WAVEfmt ";
    u32(16);
    u16(1); // PCM
    u16(b.channels);
    u32(b.rate);
    u32(b.rate * block);
    u16(block);
    u16(b.bits);
    out += "data";
    u32(size);
    out.append(reinterpret_cast<const char*>(data), size);
    return out;
  }
};

json parse_body(const httplib::Request& req) {
  json body = json::parse(req.body, nullptr, false);
  if (body.is_discarded() || !body.is_object())
    throw Refused{400, "the request body must be a JSON object"};
  return body;
}

void answer(httplib::Response& res, const json& j) {
  res.set_content(j.dump(-1, ' ', false, json::error_handler_t::replace), "application/json");
}

// Runs a request against the cockpit under its lock; a refusal becomes the 4xx answer.
template <typename Fn> void guarded(Cockpit& c, httplib::Response& res, Fn fn) {
  try {
    std::lock_guard<std::mutex> lock(c.mutex);
    fn();
  } catch (const Refused& r) {
    res.status = r.status;
    answer(res, {{"error", r.message}});
  }
}

} // namespace

int serve(const ServeOptions& options) {
  Cockpit cockpit(options.sim);
  httplib::Server server;
  server.set_payload_max_length(kMaxBody);
  server.set_read_timeout(5, 0);
  // A frame is a small answer on a kept-alive connection: without this it waits for the
  // browser's delayed acknowledgement, tens of milliseconds.
  server.set_tcp_nodelay(true);
  server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
        std::string what = "internal error";
        try {
          std::rethrow_exception(ep);
        } catch (const std::exception& e) {
          what = e.what();
        } catch (...) {
        }
        res.status = 500;
        answer(res, {{"error", what}});
      });
  // Anything not found, and errors without a body of their own, answer in JSON too.
  server.set_error_handler([](const httplib::Request& req, httplib::Response& res) {
    if (!res.body.empty()) return;
    answer(res,
           {{"error", res.status == 404 ? "nothing at " + req.path
                                        : "request refused (" + std::to_string(res.status) + ")"}});
  });

  for (const K7WebAsset* a = k7sim_web_assets; a->path != nullptr; ++a) {
    const K7WebAsset asset = *a;
    server.Get(asset.path, [asset](const httplib::Request&, httplib::Response& res) {
      res.set_content(asset.text, asset.type);
      res.set_header("Cache-Control", "no-cache");
    });
  }

  Cockpit& c = cockpit;
  server.Get("/api/panel", [&c](const httplib::Request&, httplib::Response& res) {
    guarded(c, res, [&] { answer(res, c.panel()); });
  });
  server.Get(R"(/api/bitmap/([^/]*))", [&c](const httplib::Request& req, httplib::Response& res) {
    guarded(c, res, [&] {
      const std::string t = req.has_param("transparent") ? req.get_param_value("transparent") : "0";
      if (t != "0" && t != "1") throw Refused{400, "transparent is 0 or 1"};
      res.set_content(c.bitmap(req.matches[1], t == "1"), "image/png");
      res.set_header("Cache-Control", "max-age=3600");
    });
  });
  server.Get(R"(/api/sound/([^/]*))", [&c](const httplib::Request& req, httplib::Response& res) {
    guarded(c, res, [&] { res.set_content(c.sound(req.matches[1]), "audio/wav"); });
  });
  server.Get("/api/frame", [&c](const httplib::Request& req, httplib::Response& res) {
    guarded(c, res, [&] {
      res.set_content(c.frame_text(c.frame(Cockpit::viewer(req))), "application/json");
    });
  });
  // The frames as they come, pushed (server-sent events): no request per frame. Each stream holds
  // one of the server's threads, so there are few of them.
  static std::atomic<int> streams{0};
  server.Get("/api/stream", [&c](const httplib::Request& req, httplib::Response& res) {
    guarded(c, res, [&] {
      if (streams >= kMaxStreams) throw Refused{503, "too many pages open on this cockpit"};
      auto viewer = std::make_shared<Cockpit::Viewer>(Cockpit::viewer(req));
      auto sent = std::make_shared<std::uint64_t>(~0ull);
      ++streams;
      res.set_header("Cache-Control", "no-cache");
      res.set_chunked_content_provider(
          "text/event-stream",
          [&c, viewer, sent](std::size_t, httplib::DataSink& sink) {
            // Waits for a frame it has not sent, then sends the cockpit as it is now.
            for (int waited = 0; waited < 100; ++waited) {
              if (!sink.is_writable()) return false;
              std::string event;
              {
                std::lock_guard<std::mutex> lock(c.mutex);
                if (c.version() != *sent) {
                  *sent = c.version();
                  const json f = c.frame(*viewer);
                  viewer->sound_since = f["sound"]["count"].get<std::uint32_t>();
                  viewer->key_since = f["keys"]["count"].get<std::size_t>();
                  event = "data: " + c.frame_text(f) + "\n\n";
                }
              }
              if (!event.empty()) return sink.write(event.data(), event.size());
              std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            static const char keep_alive[] = ": still here\n\n";
            return sink.write(keep_alive, sizeof keep_alive - 1);
          },
          [](bool) { --streams; });
    });
  });
  server.Get("/api/state", [&c](const httplib::Request& req, httplib::Response& res) {
    guarded(c, res, [&] {
      answer(res, c.state(req.has_param("filter") ? req.get_param_value("filter") : ""));
    });
  });
  server.Get("/api/scenario", [&c](const httplib::Request&, httplib::Response& res) {
    guarded(c, res, [&] { answer(res, c.scenario()); });
  });
  server.Get("/api/save", [&c](const httplib::Request&, httplib::Response& res) {
    guarded(c, res, [&] {
      res.set_content(c.saved(), "text/plain");
      res.set_header("Content-Disposition", "attachment; filename=\"cockpit.k7s\"");
    });
  });

  // The changes: each takes a JSON object and answers {"ok": true, ...} or the refusal.
  using Change = void (Cockpit::*)(const json&);
  const std::pair<const char*, Change> changes[] = {
      {"/api/state", &Cockpit::set_state},        {"/api/token", &Cockpit::set_token},
      {"/api/window", &Cockpit::window},          {"/api/run", &Cockpit::run},
      {"/api/scenario", &Cockpit::load_scenario}, {"/api/scenario/run", &Cockpit::scenario_run},
  };
  for (const auto& [path, change] : changes) {
    const Change f = change;
    server.Post(path, [&c, f](const httplib::Request& req, httplib::Response& res) {
      guarded(c, res, [&] {
        const json body = parse_body(req);
        (c.*f)(body);
        answer(res, {{"ok", true}});
      });
    });
  }
  server.Post("/api/click", [&c](const httplib::Request& req, httplib::Response& res) {
    guarded(c, res, [&] { answer(res, c.click(parse_body(req))); });
  });
  server.Post("/api/scenario/step", [&c](const httplib::Request&, httplib::Response& res) {
    guarded(c, res, [&] {
      c.scenario_step();
      answer(res, {{"ok", true}});
    });
  });
  server.Post("/api/reset", [&c](const httplib::Request&, httplib::Response& res) {
    guarded(c, res, [&] {
      c.reset();
      answer(res, {{"ok", true}});
    });
  });

  int port = options.port;
  if (port == 0) {
    port = server.bind_to_any_port(options.bind);
  } else if (!server.bind_to_port(options.bind, port)) {
    port = -1;
  }
  if (port <= 0) {
    std::fprintf(stderr, "k7sim: cannot listen on %s port %d\n", options.bind.c_str(),
                 options.port);
    return 2;
  }

  std::atomic<bool> running{true};
  std::thread frames([&] {
    using clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<clock::duration>(
        std::chrono::duration<double>(1.0 / k7host::kFramesPerSecond));
    auto next = clock::now();
    while (running) {
      try {
        std::lock_guard<std::mutex> lock(c.mutex);
        c.tick();
      } catch (const std::exception& e) {
        std::fprintf(stderr, "k7sim: frame: %s\n", e.what());
      }
      next += period;
      const auto now = clock::now();
      if (next < now - period * 4) next = now; // fell behind: do not race to catch up
      std::this_thread::sleep_until(next);
    }
  });

  std::printf("k7sim: the cockpit is at http://%s:%d/\n", options.bind.c_str(), port);
  std::fflush(stdout);
  const bool ok = server.listen_after_bind();
  running = false;
  frames.join();
  return ok ? 0 : 2;
}

} // namespace k7sim
