// The simulator stand-in: loading, the PANELS services, frames, windows, clicks, inspection.
#include "host/k7host.h"
#include "host/model.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <limits.h>
#include <stdexcept>
#include <unistd.h>

namespace k7host {

extern "C" {
int k7host_in_module = 0;
}

namespace {

// The simulator whose module is being called; the PANELS services act on it. Each call into a
// module sets it, so several simulators with their own module instances live in one process.
thread_local Sim::Impl* current = nullptr;

// Marks a call into module code: services called from inside it act on this simulator.
struct ModuleCall {
  Sim::Impl* saved;
  explicit ModuleCall(Sim::Impl* impl) : saved(current) {
    current = impl;
    ++k7host_in_module;
  }
  ~ModuleCall() {
    --k7host_in_module;
    current = saved;
  }
};

// Marks a service: code run for the module inside the simulator is not the module's own.
struct InService {
  int saved;
  InService() : saved(k7host_in_module) { k7host_in_module = 0; }
  ~InService() { k7host_in_module = saved; }
};

} // namespace

struct PlacedGauge {
  GaugeInfo* info = nullptr;
  GAUGEHDR* header = nullptr;
  std::size_t window = 0;
  PanelGauge placement;
  bool installed = false;
  std::vector<ElementView> views;
};

struct Window {
  PanelWindow config;
  bool open = false;
  bool dropped = false;            // taken out of the panel (drop_window)
  std::vector<std::size_t> gauges; // indexes into placed
};

struct Sim::Impl {
  Sim* owner = nullptr;
  void* handle = nullptr;
  std::string loaded_copy;
  GAUGESIMPORT* import_table = nullptr;
  GAUGESLINKAGE* linkage = nullptr;
  PANELS panels{};

  std::vector<GaugeInfo> infos;
  std::map<std::string, std::size_t> info_by_name;
  PanelConfig config;
  std::vector<Window> windows;
  std::vector<PlacedGauge> placed;
  std::map<std::string, std::size_t> placed_by_name;

  std::map<std::uint32_t, double> tokens;
  std::vector<std::string> named_names;
  std::vector<double> named_values;
  std::vector<bool> named_set_by_module;
  std::map<std::string, double> calc_values;
  std::vector<KeyEvent> key_log;
  std::vector<ElementServiceCall> element_calls;
  std::uint64_t frame = 0;
  double clock = 0.0;
  double clock_shift = 0.0; // seconds added to the clock (and ticks) by shift_clock
  std::vector<std::uint32_t> asked_tokens;
  std::bitset<4096> asked_token_seen; // tokens below 4096 already in asked_tokens (every real one)
  void (*frame_hook)(Sim&, void*) = nullptr;
  void* frame_hook_data = nullptr;

  bool start_up = false; // the cockpit's start-up sequence runs after loading
  const StateTable* state_tables = nullptr;
  std::vector<std::vector<unsigned char>> state_snapshot;
  void (*sound_frame)(double) = nullptr;

  ID named_id(const std::string& name) {
    for (std::size_t i = 0; i < named_names.size(); ++i)
      if (named_names[i] == name) return static_cast<ID>(i);
    named_names.push_back(name);
    named_values.push_back(0.0);
    named_set_by_module.push_back(false);
    return static_cast<ID>(named_names.size() - 1);
  }

  Window* window_by_ident(std::uint32_t ident) {
    for (Window& w : windows)
      if (!w.config.main_panel && !w.dropped && w.config.ident == ident) return &w;
    return nullptr;
  }

  void call_gauge(PlacedGauge& g, SINT32 message, GAUGE_EXTRA extra) {
    if (g.header == nullptr || g.header->gauge_callback == nullptr) return;
    ModuleCall call(this);
    g.header->gauge_callback(g.header, message, extra);
  }

  void ask_elements(PlacedGauge& g);
  void build_views(PlacedGauge& g);
};

// ---- PANELS services
// ---------------------------------------------------------------------------------

namespace {

void FSAPI svc_element_list(std::size_t offset, PELEMENT_HEADER element) {
  if (current == nullptr) return;
  InService in;
  current->element_calls.push_back({static_cast<int>(offset), element});
}
void FSAPI svc_element_list_query(PELEMENT_HEADER e) {
  svc_element_list(PANELS_ELEMENT_LIST_QUERY, e);
}
void FSAPI svc_element_list_install(PELEMENT_HEADER e, PVOID) {
  svc_element_list(PANELS_ELEMENT_LIST_INSTALL, e);
}
void FSAPI svc_element_list_initialize(PELEMENT_HEADER e) {
  svc_element_list(PANELS_ELEMENT_LIST_INITIALIZE, e);
}
void FSAPI svc_element_list_update(PELEMENT_HEADER e) {
  svc_element_list(PANELS_ELEMENT_LIST_UPDATE, e);
}
void FSAPI svc_element_list_generate(PELEMENT_HEADER e, UINT32) {
  svc_element_list(PANELS_ELEMENT_LIST_GENERATE, e);
}
void FSAPI svc_element_list_plot(PELEMENT_HEADER e) {
  svc_element_list(PANELS_ELEMENT_LIST_PLOT, e);
}
void FSAPI svc_element_list_erase(PELEMENT_HEADER e) {
  svc_element_list(PANELS_ELEMENT_LIST_ERASE, e);
}
void FSAPI svc_element_list_kill(PELEMENT_HEADER e) {
  svc_element_list(PANELS_ELEMENT_LIST_KILL, e);
}

BOOL FSAPI svc_panel_window_toggle(UINT32 id) {
  if (current == nullptr) return 0;
  InService in;
  Window* w = current->window_by_ident(id);
  if (w == nullptr) return 0;
  w->open = !w->open;
  return 1;
}

BOOL FSAPI svc_panel_window_open_ident(UINT32 id) {
  if (current == nullptr) return 0;
  InService in;
  Window* w = current->window_by_ident(id);
  if (w == nullptr) return 0;
  w->open = true;
  return 1;
}

BOOL FSAPI svc_panel_window_close_ident(UINT32 id) {
  if (current == nullptr) return 0;
  InService in;
  Window* w = current->window_by_ident(id);
  if (w == nullptr) return 0;
  w->open = false;
  return 1;
}

ERR FSAPI svc_trigger_key_event(ID32 event, UINT32 value) {
  if (current == nullptr) return 0;
  InService in;
  current->key_log.push_back({event, value, current->frame});
  apply_key_event(*current->owner, event, value);
  return 0;
}

void FSAPI svc_lookup_var(MODULE_VAR* var) {
  if (current == nullptr || var == nullptr) return;
  InService in;
  const std::uint32_t id = static_cast<std::uint32_t>(var->id);
  auto& asked = current->asked_tokens;
  if (id < current->asked_token_seen.size()) {
    if (!current->asked_token_seen.test(id)) {
      current->asked_token_seen.set(id);
      asked.push_back(id);
    }
  } else if (std::find(asked.begin(), asked.end(), id) == asked.end()) {
    asked.push_back(id);
  }
  auto it = current->tokens.find(id);
  const double value = it == current->tokens.end() ? 0.0 : it->second;
  var->var_old = var->var_value;
  std::memset(&var->var_value, 0, sizeof var->var_value);
  if (id == TOKEN_PP_ELECT) {
    const double clamped =
        std::isfinite(value) ? std::clamp(value, -2147483648.0, 4294967295.0) : 0;
    var->var_value.d = clamped < 0 ? static_cast<VAR32>(static_cast<std::int32_t>(clamped))
                                   : static_cast<VAR32>(clamped);
  } else {
    var->var_value.n = value;
  }
}

ID FSAPI svc_check_named_variable(const char* name) {
  if (current == nullptr || name == nullptr) return -1;
  InService in;
  return current->named_id(name);
}

FLOAT64 FSAPI svc_get_named_variable_value(ID id) {
  if (current == nullptr || id < 0 || static_cast<std::size_t>(id) >= current->named_values.size())
    return 0.0;
  return current->named_values[static_cast<std::size_t>(id)];
}

void FSAPI svc_set_named_variable_value(ID id, FLOAT64 value) {
  if (current == nullptr || id < 0 || static_cast<std::size_t>(id) >= current->named_values.size())
    return;
  current->named_values[static_cast<std::size_t>(id)] = value;
  current->named_set_by_module[static_cast<std::size_t>(id)] = true;
}

BOOL FSAPI svc_execute_calculator_code(const char* code, FLOAT64* fvalue, SINT32* ivalue,
                                       const char** svalue) {
  if (current == nullptr || code == nullptr) return 0;
  InService in;
  auto it = current->calc_values.find(code);
  const double value = it == current->calc_values.end() ? 0.0 : it->second;
  if (it == current->calc_values.end()) current->calc_values.emplace(code, 0.0);
  if (fvalue != nullptr) *fvalue = value;
  if (ivalue != nullptr)
    *ivalue = static_cast<SINT32>(std::isfinite(value) ? std::clamp(value, -2e9, 2e9) : 0);
  if (svalue != nullptr) *svalue = "";
  return 1;
}

template <typename Fn> void put(PANELS& panels, std::size_t offset, Fn fn) {
  panels.slot[panels_slot(offset)] = reinterpret_cast<PANELS_SLOT>(fn);
}

void fill_panels(PANELS& p) {
  put(p, PANELS_ELEMENT_LIST_QUERY, svc_element_list_query);
  put(p, PANELS_ELEMENT_LIST_INSTALL, svc_element_list_install);
  put(p, PANELS_ELEMENT_LIST_INITIALIZE, svc_element_list_initialize);
  put(p, PANELS_ELEMENT_LIST_UPDATE, svc_element_list_update);
  put(p, PANELS_ELEMENT_LIST_GENERATE, svc_element_list_generate);
  put(p, PANELS_ELEMENT_LIST_PLOT, svc_element_list_plot);
  put(p, PANELS_ELEMENT_LIST_ERASE, svc_element_list_erase);
  put(p, PANELS_ELEMENT_LIST_KILL, svc_element_list_kill);
  put(p, PANELS_PANEL_WINDOW_TOGGLE, svc_panel_window_toggle);
  put(p, PANELS_TRIGGER_KEY_EVENT, svc_trigger_key_event);
  put(p, PANELS_LOOKUP_VAR, svc_lookup_var);
  put(p, PANELS_PANEL_WINDOW_CLOSE_IDENT, svc_panel_window_close_ident);
  put(p, PANELS_PANEL_WINDOW_OPEN_IDENT, svc_panel_window_open_ident);
  put(p, PANELS_CHECK_NAMED_VARIABLE, svc_check_named_variable);
  put(p, PANELS_GET_NAMED_VARIABLE_VALUE, svc_get_named_variable_value);
  put(p, PANELS_SET_NAMED_VARIABLE_VALUE, svc_set_named_variable_value);
  put(p, PANELS_EXECUTE_CALCULATOR_CODE, svc_execute_calculator_code);
}

std::string copy_to_temp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot read the gauge module");
  char name[] = "/tmp/k7gauges-XXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) throw std::runtime_error("cannot make a temporary copy of " + path);
  std::vector<char> buffer(1 << 16);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const std::streamsize n = in.gcount();
    if (n > 0 && write(fd, buffer.data(), static_cast<std::size_t>(n)) != n) {
      close(fd);
      unlink(name);
      throw std::runtime_error(path + ": cannot copy the gauge module to /tmp");
    }
  }
  close(fd);
  return name;
}

std::size_t type_size(StateType t) {
  switch (t) {
  case StateType::U8:
  case StateType::I8: return 1;
  case StateType::U16:
  case StateType::I16: return 2;
  case StateType::U32:
  case StateType::I32: return 4;
  case StateType::F64: return 8;
  }
  return 1;
}

double read_value(const StateEntry& e, std::size_t i) {
  const unsigned char* p = static_cast<const unsigned char*>(e.address) + i * type_size(e.type);
  switch (e.type) {
  case StateType::U8: return *reinterpret_cast<const std::uint8_t*>(p);
  case StateType::I8: return *reinterpret_cast<const std::int8_t*>(p);
  case StateType::U16: return *reinterpret_cast<const std::uint16_t*>(p);
  case StateType::I16: return *reinterpret_cast<const std::int16_t*>(p);
  case StateType::U32: return *reinterpret_cast<const std::uint32_t*>(p);
  case StateType::I32: return *reinterpret_cast<const std::int32_t*>(p);
  case StateType::F64: return *reinterpret_cast<const double*>(p);
  }
  return 0.0;
}

template <typename T> T clamp_to(double v) {
  if (!std::isfinite(v)) return T{0};
  const double lo = static_cast<double>(std::numeric_limits<T>::lowest());
  const double hi = static_cast<double>(std::numeric_limits<T>::max());
  return static_cast<T>(std::clamp(std::round(v), lo, hi));
}

void write_value(const StateEntry& e, std::size_t i, double v) {
  unsigned char* p = static_cast<unsigned char*>(e.address) + i * type_size(e.type);
  switch (e.type) {
  case StateType::U8: *reinterpret_cast<std::uint8_t*>(p) = clamp_to<std::uint8_t>(v); break;
  case StateType::I8: *reinterpret_cast<std::int8_t*>(p) = clamp_to<std::int8_t>(v); break;
  case StateType::U16: *reinterpret_cast<std::uint16_t*>(p) = clamp_to<std::uint16_t>(v); break;
  case StateType::I16: *reinterpret_cast<std::int16_t*>(p) = clamp_to<std::int16_t>(v); break;
  case StateType::U32: *reinterpret_cast<std::uint32_t*>(p) = clamp_to<std::uint32_t>(v); break;
  case StateType::I32: *reinterpret_cast<std::int32_t*>(p) = clamp_to<std::int32_t>(v); break;
  case StateType::F64: *reinterpret_cast<double*>(p) = v; break;
  }
}

} // namespace

// ---- elements
// ------------------------------------------------------------------------------------------

void Sim::Impl::build_views(PlacedGauge& g) {
  g.views.clear();
  if (g.header == nullptr || g.header->elements_list == nullptr) return;
  ELEMENT_HEADER* e = *g.header->elements_list;
  for (int n = 0; e != nullptr && n < 4096; ++n) {
    ElementView v;
    v.index = n;
    v.type = e->element_type;
    v.bitmap = e->resource_id;
    v.position = e->position;
    v.hidden = (e->image_flags & IMAGE_HIDDEN) != 0;
    g.views.push_back(v);
    e = e->next_element != nullptr ? e->next_element[0] : nullptr;
  }
}

void Sim::Impl::ask_elements(PlacedGauge& g) {
  if (g.header == nullptr || g.header->elements_list == nullptr) return;
  ELEMENT_HEADER* e = *g.header->elements_list;
  for (std::size_t n = 0; e != nullptr && n < g.views.size(); ++n) {
    ElementView& v = g.views[n];
    v.hidden = (e->image_flags & IMAGE_HIDDEN) != 0;
    v.asked = false;
    if (!v.hidden) {
      ModuleCall call(this);
      v.asked = true;
      switch (e->element_type) {
      case ELEMENT_TYPE_NEEDLE: {
        auto* el = reinterpret_cast<ELEMENT_NEEDLE*>(e);
        if (el->update_cb != nullptr) v.value = el->update_cb(el);
        break;
      }
      case ELEMENT_TYPE_ICON: {
        auto* el = reinterpret_cast<ELEMENT_ICON*>(e);
        if (el->update_cb != nullptr) v.value = el->update_cb(el);
        break;
      }
      case ELEMENT_TYPE_MOVING_IMAGE: {
        auto* el = reinterpret_cast<ELEMENT_MOVING_IMAGE*>(e);
        if (el->update_x_cb != nullptr) v.value = el->update_x_cb(el);
        if (el->update_y_cb != nullptr) v.value_y = el->update_y_cb(el);
        break;
      }
      case ELEMENT_TYPE_SPRITE: {
        auto* el = reinterpret_cast<ELEMENT_SPRITE*>(e);
        if (el->update_x_cb != nullptr) v.value = el->update_x_cb(el);
        if (el->update_y_cb != nullptr) v.value_y = el->update_y_cb(el);
        if (el->update_0_cb != nullptr) v.value_r = el->update_0_cb(el);
        break;
      }
      case ELEMENT_TYPE_SLIDER: {
        auto* el = reinterpret_cast<ELEMENT_SLIDER*>(e);
        if (el->update_x_cb != nullptr) v.value = el->update_x_cb(el);
        if (el->update_y_cb != nullptr) v.value_y = el->update_y_cb(el);
        break;
      }
      case ELEMENT_TYPE_STRING: {
        auto* el = reinterpret_cast<ELEMENT_STRING*>(e);
        if (el->update_cb != nullptr) v.value = el->update_cb(el);
        if (el->string != nullptr) {
          const std::size_t limit = el->max_string_length > 0 ? el->max_string_length : 256;
          v.text.assign(el->string, strnlen(el->string, limit));
        }
        break;
      }
      default: break;
      }
    }
    e = e->next_element != nullptr ? e->next_element[0] : nullptr;
  }
}

// ---- Sim
// -------------------------------------------------------------------------------------------------

namespace {

// The last state of the cockpit's start-up sequence: nothing left to open, set or close.
constexpr double START_UP_DONE = 11.0;

void mark_start_up_done(Sim& sim) {
  sim.set_state("panel_start_state", START_UP_DONE);
}

} // namespace

Sim::Sim(const Options& options) : impl_(std::make_unique<Impl>()) {
  Impl& s = *impl_;
  s.owner = this;
  const std::string path =
      options.module_path.empty() ? default_module_path() : options.module_path;
  s.loaded_copy = copy_to_temp(path);
  s.handle = dlopen(s.loaded_copy.c_str(), RTLD_NOW | RTLD_LOCAL);
  unlink(s.loaded_copy.c_str());
  if (s.handle == nullptr) {
    // The loader names the temporary copy; the user knows the module by the path they gave.
    std::string why = dlerror();
    if (const auto at = why.find(s.loaded_copy); at != std::string::npos)
      why.replace(at, s.loaded_copy.size(), path);
    if (why.rfind(path + ": ", 0) == 0) why.erase(0, path.size() + 2);
    throw std::runtime_error(path + ": not a loadable gauge module (" + why + ")");
  }
  s.import_table = static_cast<GAUGESIMPORT*>(dlsym(s.handle, "ImportTable"));
  s.linkage = static_cast<GAUGESLINKAGE*>(dlsym(s.handle, "Linkage"));
  if (s.import_table == nullptr || s.linkage == nullptr) {
    dlclose(s.handle);
    throw std::runtime_error(path + ": not a gauge module (no ImportTable and Linkage exports)");
  }

  fill_panels(s.panels);
  s.import_table->PANELSentry.fnptr = &s.panels;

  for (int i = 0; s.linkage->gauge_header_ptr[i] != nullptr; ++i) {
    GAUGEHDR* h = s.linkage->gauge_header_ptr[i];
    GaugeInfo info;
    info.table_index = i;
    info.name = h->gauge_name != nullptr ? h->gauge_name : "";
    info.size_mm = h->size_x_mm;
    info.has_callback = h->gauge_callback != nullptr;
    info.window = ~0u;
    s.info_by_name.emplace(info.name, s.infos.size());
    s.infos.push_back(info);
  }

  auto tables = reinterpret_cast<const StateTable* (*)()>(dlsym(s.handle, "k7_dev_state_tables"));
  s.state_tables = tables != nullptr ? tables() : nullptr;
  for (const StateEntry* e : state_entries()) {
    const auto* p = static_cast<const unsigned char*>(e->address);
    s.state_snapshot.emplace_back(p, p + e->count * type_size(e->type));
  }
  s.sound_frame = reinterpret_cast<void (*)(double)>(dlsym(s.handle, "k7_dev_sound_frame"));
  s.start_up = options.start_up;
  if (!s.start_up) mark_start_up_done(*this);

  // The simulator's state at the start of a flight: on the ground, at rest.
  s.tokens[TOKEN_AIRCRAFT_ON_GROUND] = 1.0;
  s.tokens[TOKEN_TICK18] = 0.0;
  s.tokens[TOKEN_ELAPSED_SECONDS] = 0.0;
  aircraft_reset(*this);

  s.config = parse_panel_cfg(options.panel_cfg.empty() ? default_panel_cfg() : options.panel_cfg);
  for (const PanelWindow& pw : s.config.windows) {
    Window w;
    w.config = pw;
    w.open = pw.main_panel || pw.visible;
    const std::size_t wi = s.windows.size();
    for (const PanelGauge& pg : pw.gauges) {
      auto it = s.info_by_name.find(pg.name);
      if (pg.module != "k7gauges" || it == s.info_by_name.end()) {
        s.config.problems.push_back("not a gauge of this module: " + pg.module + "!" + pg.name);
        continue;
      }
      PlacedGauge g;
      g.info = &s.infos[it->second];
      g.header = s.linkage->gauge_header_ptr[g.info->table_index];
      g.window = wi;
      g.placement = pg;
      if (g.info->window == ~0u) g.info->window = pw.main_panel ? 0 : pw.ident;
      s.build_views(g);
      w.gauges.push_back(s.placed.size());
      s.placed_by_name.emplace(pg.name, s.placed.size());
      s.placed.push_back(std::move(g));
    }
    s.windows.push_back(std::move(w));
  }
  if (options.install) install_all();
}

Sim::~Sim() {
  kill_all();
  if (impl_->handle != nullptr) dlclose(impl_->handle);
}

GAUGESIMPORT* Sim::import_table() const {
  return impl_->import_table;
}
GAUGESLINKAGE* Sim::linkage() const {
  return impl_->linkage;
}
const std::vector<GaugeInfo>& Sim::gauges() const {
  return impl_->infos;
}

const GaugeInfo* Sim::gauge(const std::string& name) const {
  auto it = impl_->info_by_name.find(name);
  return it == impl_->info_by_name.end() ? nullptr : &impl_->infos[it->second];
}

GAUGEHDR* Sim::header(const std::string& name) const {
  const GaugeInfo* g = gauge(name);
  return g == nullptr ? nullptr : impl_->linkage->gauge_header_ptr[g->table_index];
}

void Sim::set_token(std::uint32_t id, double value) {
  impl_->tokens[id] = value;
}
double Sim::token(std::uint32_t id) const {
  auto it = impl_->tokens.find(id);
  return it == impl_->tokens.end() ? 0.0 : it->second;
}

void Sim::set_named(const std::string& name, double value) {
  const ID id = impl_->named_id(name);
  impl_->named_values[static_cast<std::size_t>(id)] = value;
}
double Sim::named(const std::string& name) const {
  for (std::size_t i = 0; i < impl_->named_names.size(); ++i)
    if (impl_->named_names[i] == name) return impl_->named_values[i];
  return 0.0;
}
bool Sim::named_written(const std::string& name) const {
  for (std::size_t i = 0; i < impl_->named_names.size(); ++i)
    if (impl_->named_names[i] == name) return impl_->named_set_by_module[i];
  return false;
}
void Sim::set_calc(const std::string& expression, double value) {
  impl_->calc_values[expression] = value;
}
double Sim::calc(const std::string& expression) const {
  auto it = impl_->calc_values.find(expression);
  return it == impl_->calc_values.end() ? 0.0 : it->second;
}

void Sim::install_all() {
  for (PlacedGauge& g : impl_->placed) {
    if (g.installed) continue;
    g.installed = true;
    impl_->call_gauge(g, PANEL_SERVICE_PRE_INSTALL, reinterpret_cast<GAUGE_EXTRA>(impl_->handle));
  }
}

void Sim::kill_all() {
  for (PlacedGauge& g : impl_->placed) {
    if (!g.installed) continue;
    g.installed = false;
    impl_->call_gauge(g, PANEL_SERVICE_PRE_KILL, 0);
  }
}

void Sim::frame() {
  Impl& s = *impl_;
  ++s.frame;
  s.clock = static_cast<double>(s.frame) / kFramesPerSecond;
  s.tokens[TOKEN_TICK18] =
      std::max(0.0, static_cast<double>(s.frame) + std::round(s.clock_shift * kFramesPerSecond));
  s.tokens[TOKEN_ELAPSED_SECONDS] = std::max(0.0, s.clock + s.clock_shift);
  aircraft_frame(*this);
  if (s.frame_hook != nullptr) s.frame_hook(*this, s.frame_hook_data);
  if (s.sound_frame != nullptr) s.sound_frame(s.clock);

  // The windows open at the start of the frame are served in this frame.
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < s.windows.size(); ++i)
    if (s.windows[i].open) open.push_back(i);
  for (std::size_t wi : open)
    for (std::size_t gi : s.windows[wi].gauges)
      if (s.placed[gi].installed) s.call_gauge(s.placed[gi], PANEL_SERVICE_PRE_UPDATE, 0);
  for (std::size_t wi : open)
    for (std::size_t gi : s.windows[wi].gauges)
      if (s.placed[gi].installed) s.ask_elements(s.placed[gi]);
}

void Sim::ask_window_elements(std::uint32_t ident) {
  Impl& s = *impl_;
  for (Window& w : s.windows)
    if (ident == 0 ? w.config.main_panel : (!w.config.main_panel && w.config.ident == ident))
      for (std::size_t gi : w.gauges)
        if (s.placed[gi].installed) s.ask_elements(s.placed[gi]);
}

void Sim::frames(int count) {
  for (int i = 0; i < count; ++i)
    frame();
}

void Sim::seconds(double s) {
  frames(static_cast<int>(std::lround(s * kFramesPerSecond)));
}
std::uint64_t Sim::frame_count() const {
  return impl_->frame;
}

void Sim::send_message(const std::string& gauge, SINT32 message, GAUGE_EXTRA extra) {
  auto it = impl_->placed_by_name.find(gauge);
  if (it != impl_->placed_by_name.end()) {
    impl_->call_gauge(impl_->placed[it->second], message, extra);
    return;
  }
  if (GAUGEHDR* h = header(gauge); h != nullptr && h->gauge_callback != nullptr) {
    ModuleCall call(impl_.get());
    h->gauge_callback(h, message, extra);
  }
}

void Sim::call_element_routines(const std::string& gauge, PVOID resource_handle, UINT32 phase) {
  GAUGEHDR* h = header(gauge);
  if (h == nullptr) return;
  ModuleCall call(impl_.get());
  if (h->query_routine != nullptr) h->query_routine();
  if (h->install_routine != nullptr) h->install_routine(resource_handle);
  if (h->initialize_routine != nullptr) h->initialize_routine();
  if (h->update_routine != nullptr) h->update_routine();
  if (h->generate_routine != nullptr) h->generate_routine(phase);
  if (h->draw_routine != nullptr) h->draw_routine();
  if (h->kill_routine != nullptr) h->kill_routine();
}

bool Sim::window_known(std::uint32_t ident) const {
  return impl_->window_by_ident(ident) != nullptr;
}
bool Sim::window_open(std::uint32_t ident) const {
  if (ident == 0) return true;
  const Window* w = impl_->window_by_ident(ident);
  return w != nullptr && w->open;
}
void Sim::open_window(std::uint32_t ident) {
  if (Window* w = impl_->window_by_ident(ident)) w->open = true;
}
void Sim::close_window(std::uint32_t ident) {
  if (Window* w = impl_->window_by_ident(ident)) w->open = false;
}
void Sim::toggle_window(std::uint32_t ident) {
  if (Window* w = impl_->window_by_ident(ident)) w->open = !w->open;
}
void Sim::drop_window(std::uint32_t ident) {
  if (Window* w = impl_->window_by_ident(ident)) {
    w->open = false;
    w->dropped = true;
  }
}
std::vector<std::uint32_t> Sim::open_windows() const {
  std::vector<std::uint32_t> ids;
  for (const Window& w : impl_->windows)
    if (w.open && !w.config.main_panel) ids.push_back(w.config.ident);
  return ids;
}
const PanelConfig& Sim::panel() const {
  return impl_->config;
}

bool Sim::click(const std::string& gauge, int x, int y, FLAGS32 mouse_flags) {
  auto it = impl_->placed_by_name.find(gauge);
  if (it == impl_->placed_by_name.end()) return false;
  PlacedGauge& g = impl_->placed[it->second];
  if (!impl_->windows[g.window].open || !g.installed || g.header->mouse_rect == nullptr)
    return false;
  for (MOUSERECT* r = g.header->mouse_rect; r->rect_type != MOUSE_RECT_EOL; ++r) {
    if (r->rect_type != MOUSE_RECT_CHILD) continue;
    const PIXBOX& b = r->relative_box;
    if (x < b.x || y < b.y || x >= b.x + b.size_x || y >= b.y + b.size_y) continue;
    if ((static_cast<FLAGS32>(r->mouse_flags) & mouse_flags) == 0) continue;
    if (r->mouse_function == nullptr) return false;
    MOUSECALLBACK event{};
    event.relative_point = {x, y};
    event.user_data = g.header;
    event.mouse = r;
    event.screen_point = {g.placement.x + x, g.placement.y + y};
    ModuleCall call(impl_.get());
    r->mouse_function(reinterpret_cast<PPIXPOINT>(&event), mouse_flags);
    return true;
  }
  return false;
}

std::string Sim::tooltip(const std::string& gauge) const {
  GAUGEHDR* h = header(gauge);
  if (h == nullptr || h->mouse_rect == nullptr) return {};
  for (MOUSERECT* r = h->mouse_rect; r->rect_type != MOUSE_RECT_EOL; ++r)
    if (r->rect_type == MOUSE_RECT_USER && r->tooltip_text != nullptr) return r->tooltip_text;
  return {};
}

std::optional<ElementView> Sim::element(const std::string& gauge, int index) const {
  auto it = impl_->placed_by_name.find(gauge);
  if (it == impl_->placed_by_name.end()) return std::nullopt;
  PlacedGauge& g = impl_->placed[it->second];
  if (index < 0 || static_cast<std::size_t>(index) >= g.views.size()) return std::nullopt;
  ElementView v = g.views[static_cast<std::size_t>(index)];
  const ELEMENT_HEADER* e = *g.header->elements_list;
  for (int n = 0; n < index && e != nullptr; ++n)
    e = e->next_element != nullptr ? e->next_element[0] : nullptr;
  if (e != nullptr) v.hidden = (e->image_flags & IMAGE_HIDDEN) != 0;
  return v;
}

std::vector<ElementView> Sim::elements(const std::string& gauge) const {
  std::vector<ElementView> out;
  for (int i = 0;; ++i) {
    auto v = element(gauge, i);
    if (!v) break;
    out.push_back(*v);
  }
  return out;
}

const std::vector<KeyEvent>& Sim::key_events() const {
  return impl_->key_log;
}
std::size_t Sim::key_count(std::uint32_t id, std::uint64_t since) const {
  return static_cast<std::size_t>(
      std::count_if(impl_->key_log.begin(), impl_->key_log.end(),
                    [&](const KeyEvent& k) { return k.id == id && k.frame >= since; }));
}
const std::vector<ElementServiceCall>& Sim::element_service_calls() const {
  return impl_->element_calls;
}

std::vector<const StateEntry*> Sim::state_entries() const {
  std::vector<const StateEntry*> out;
  if (impl_->state_tables == nullptr) return out;
  for (const StateTable* t = impl_->state_tables; t->entries != nullptr; ++t)
    for (std::size_t i = 0; i < t->count; ++i)
      out.push_back(&t->entries[i]);
  return out;
}

namespace {
// "name" or "name[i]"
bool split_index(const std::string& text, std::string& name, std::size_t& index) {
  const auto open = text.find('[');
  if (open == std::string::npos) {
    name = text;
    index = 0;
    return true;
  }
  if (text.back() != ']') return false;
  name = text.substr(0, open);
  const std::string digits = text.substr(open + 1, text.size() - open - 2);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  index = std::stoul(digits);
  return true;
}
} // namespace

std::optional<double> Sim::state(const std::string& text) const {
  std::string name;
  std::size_t index = 0;
  if (!split_index(text, name, index)) return std::nullopt;
  for (const StateEntry* e : state_entries())
    if (name == e->name && index < e->count) return read_value(*e, index);
  return std::nullopt;
}

bool Sim::set_state(const std::string& text, double value) {
  std::string name;
  std::size_t index = 0;
  if (!split_index(text, name, index)) return false;
  for (const StateEntry* e : state_entries())
    if (name == e->name && index < e->count) {
      write_value(*e, index, value);
      return true;
    }
  return false;
}

void Sim::reset_state() {
  const auto entries = state_entries();
  for (std::size_t i = 0; i < entries.size() && i < impl_->state_snapshot.size(); ++i)
    std::memcpy(entries[i]->address, impl_->state_snapshot[i].data(),
                impl_->state_snapshot[i].size());
  if (!impl_->start_up) mark_start_up_done(*this);
}

const void* Sim::sound_device() const {
  auto f = reinterpret_cast<const void* (*)()>(dlsym(impl_->handle, "k7_dev_sound_device"));
  return f != nullptr ? f() : nullptr;
}

void* Sim::module_symbol(const char* name) const {
  return dlsym(impl_->handle, name);
}

std::vector<std::uint32_t> Sim::tokens_asked() const {
  return impl_->asked_tokens;
}
std::vector<std::string> Sim::named_asked() const {
  return impl_->named_names;
}
std::vector<std::string> Sim::calc_asked() const {
  std::vector<std::string> out;
  for (const auto& [expression, value] : impl_->calc_values)
    out.push_back(expression);
  return out;
}
void Sim::take_key_event(std::uint32_t id, std::uint32_t value) {
  ModuleCall call(impl_.get());
  svc_trigger_key_event(id, value);
}
void Sim::shift_clock(double seconds) {
  impl_->clock_shift += seconds;
}
void Sim::set_frame_hook(void (*hook)(Sim&, void*), void* data) {
  impl_->frame_hook = hook;
  impl_->frame_hook_data = data;
}

std::string program_dir() {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string p(buf, static_cast<std::size_t>(n));
  const auto slash = p.rfind('/');
  return slash == std::string::npos ? "." : p.substr(0, slash);
}

std::string default_module_path() {
  if (const char* env = std::getenv("K7_MODULE"); env != nullptr && *env != '\0') return env;
#ifdef K7_MODULE_BUILD_PATH
  if (access(K7_MODULE_BUILD_PATH, R_OK) == 0) return K7_MODULE_BUILD_PATH;
#endif
  return program_dir() + "/libk7gauges.so";
}

} // namespace k7host
