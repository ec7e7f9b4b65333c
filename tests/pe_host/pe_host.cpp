// pe_host: a small Windows console program that loads a gauge module the way the simulator does
// (LoadLibrary, the two exported records, a PANELS table written into ImportTable) and drives it
// a little, so the Windows build of the module can be exercised under wine.
//
//   pe_host MODULE.gau [CHECK...]      (default checks: gauges callbacks)
//
// Output lines are "kind|field|..." so a test can pick out what it compares; the gauge listing
// is "index|name|size_x_mm|callback-present" (callback-present is 0 or 1). Exit status: 0 when
// every check passed, 1 when a check failed, 2 on usage or load errors, 3 on a crash.
//
// New checks go into the kChecks table at the bottom: each gets the loaded module and returns
// true when it passed.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

// ---- the host interface, as the simulator declares it ------------------------------------------
// Only the records this host touches. Packed to 4 like the simulator's own declarations, so the
// 32-bit layout is the simulator's; on 64-bit the same declarations give the module's layout.

#if defined(__i386__)
#define FSAPI __stdcall
#else
#define FSAPI
#endif

#pragma pack(push, 4)
struct PixPoint {
  std::int32_t x, y;
};

struct GaugeHeader;
using GaugeCallback = void(FSAPI*)(GaugeHeader* gauge, std::int32_t service_id,
                                   std::uint32_t extra_data);
using Routine = void(FSAPI*)();

struct GaugeHeader {
  std::uint32_t gauge_header_version;
  char* gauge_name;
  void* elements_list;
  Routine query_routine;
  void* install_routine;
  Routine initialize_routine;
  Routine update_routine;
  void* generate_routine;
  Routine draw_routine;
  Routine kill_routine;
  void* reserved1;
  std::uint32_t size_x_mm;
  std::uint32_t size_y_mm;
  float x_adjust;
  float y_adjust;
  void* reserved2;
  void* reserved3;
  PixPoint position;
  void* reserved4;
  void* mouse_rect;
  GaugeCallback gauge_callback;
  std::uint32_t user_data;
  char* parameters;
  char* usage;
  std::int32_t reserved5;
  void* reserved6;
  PixPoint size;
  double user_area[10];
  std::uint32_t flags;
  void* reserved7;
};

struct GaugesLinkage {
  std::uint32_t module_id;
  Routine module_init;
  Routine module_deinit;
  std::uint32_t module_flags;
  std::uint32_t module_priority;
  std::uint32_t module_version;
  GaugeHeader* gauge_header_ptr[1]; // open array, ends with a null entry
};

struct Panels; // 82 pointer-sized slots; the service at 32-bit byte offset o is slot o / 4

struct GaugesImport {
  std::uint32_t panels_id;
  Panels* panels;
  std::uint32_t null_id;
  void* null_ptr;
};

struct ModuleVar {
  std::int32_t id;
  void* var_ptr;
  std::int32_t var_type;
  double var_value;
  double var_old;
};
#pragma pack(pop)

#if defined(__i386__)
static_assert(sizeof(GaugeHeader) == 204);
static_assert(offsetof(GaugeHeader, size_x_mm) == 44);
static_assert(offsetof(GaugeHeader, gauge_callback) == 84);
static_assert(offsetof(GaugeHeader, user_area) == 116);
static_assert(sizeof(GaugesImport) == 16);
static_assert(sizeof(ModuleVar) == 28);
static_assert(offsetof(GaugesLinkage, gauge_header_ptr) == 24);
#endif

constexpr unsigned kPanelsSlots = 82;
constexpr std::uint32_t kModuleId = 0x13;
constexpr std::uint32_t kLinkVersion = 0x900;
constexpr std::uint32_t kPanelsId = 0xF;

enum Service : std::int32_t { kPreInstall = 2, kPreUpdate = 6, kPreKill = 12 };

// ---- stub services -----------------------------------------------------------------------------
// Each stub has the service's exact argument list (on 32-bit Windows the callee pops them), counts
// its calls and answers something harmless.

unsigned g_calls[kPanelsSlots];
const char* g_slot_name[kPanelsSlots];
unsigned g_key_events;

template <unsigned Offset> void count() {
  ++g_calls[Offset / 4];
}

// Named variables: a small fixed table, enough for a module that registers a few and reads them.
constexpr int kNamedMax = 64;
char g_named[kNamedMax][64];
double g_named_value[kNamedMax];
int g_named_count;

int find_named(const char* name) {
  if (name == nullptr) return -1;
  for (int i = 0; i < g_named_count; ++i)
    if (std::strcmp(g_named[i], name) == 0) return i;
  return -1;
}
bool valid_named(std::int32_t id) {
  return id >= 0 && id < g_named_count;
}

using Bool = std::int32_t;
using Id = std::int32_t;
using Enum = std::int32_t;

Bool FSAPI is_panel_window_visible_ident(std::uint32_t) {
  return count<0x2C>(), FALSE;
}
Enum FSAPI tooltip_units_getset(int, Enum) {
  return count<0x30>(), 0;
}
void FSAPI element_list_query(void*) {
  count<0x60>();
}
void FSAPI element_list_install(void*, void*) {
  count<0x64>();
}
void FSAPI element_list_initialize(void*) {
  count<0x68>();
}
void FSAPI element_list_update(void*) {
  count<0x6C>();
}
void FSAPI element_list_generate(void*, std::uint32_t) {
  count<0x70>();
}
void FSAPI element_list_plot(void*) {
  count<0x74>();
}
void FSAPI element_list_erase(void*) {
  count<0x78>();
}
void FSAPI element_list_kill(void*) {
  count<0x7C>();
}
void FSAPI mouse_list_install(void*, void*, void*) {
  count<0x80>();
}
void FSAPI mouse_list_register(void*, void*) {
  count<0x84>();
}
void FSAPI mouse_list_unregister(void*, void*) {
  count<0x88>();
}
Bool FSAPI panel_window_toggle(std::uint32_t) {
  return count<0x8C>(), TRUE;
}
std::uint32_t FSAPI trigger_key_event(std::uint32_t event, std::uint32_t value) {
  count<0x90>();
  ++g_key_events;
  std::printf("key|0x%X|%u\n", event, value);
  return 0;
}
void FSAPI register_var_by_name(void*, Enum, char*) {
  count<0x94>();
}
void FSAPI initialize_var(ModuleVar* var) {
  count<0x98>();
  if (var != nullptr) var->var_value = 0.0;
}
void FSAPI initialize_var_by_name(ModuleVar* var, char*) {
  count<0x9C>();
  if (var != nullptr) var->var_value = 0.0;
}
void FSAPI lookup_var(ModuleVar* var) {
  count<0xA0>();
  if (var != nullptr) var->var_value = 0.0;
}
void FSAPI unregister_var_by_name(char*) {
  count<0xA4>();
}
void FSAPI unregister_all_named_vars() {
  count<0xA8>();
}
Bool FSAPI panel_window_close_ident(std::uint32_t) {
  return count<0xB4>(), TRUE;
}
Bool FSAPI panel_window_open_ident(std::uint32_t) {
  return count<0xB8>(), TRUE;
}
void FSAPI panel_window_toggle_hud_color() {
  count<0xBC>();
}
void FSAPI panel_window_toggle_hud_units() {
  count<0xC0>();
}
void FSAPI radio_stack_popup() {
  count<0xC4>();
}
void FSAPI radio_stack_autoclose() {
  count<0xC8>();
}
Id FSAPI check_named_variable(const char* name) {
  return count<0xCC>(), find_named(name);
}
Id FSAPI register_named_variable(const char* name) {
  count<0xD0>();
  int id = find_named(name);
  if (id < 0 && name != nullptr && g_named_count < kNamedMax) {
    id = g_named_count++;
    std::snprintf(g_named[id], sizeof g_named[id], "%s", name);
    g_named_value[id] = 0.0;
  }
  return id;
}
double FSAPI get_named_variable_value(Id id) {
  count<0xD4>();
  return valid_named(id) ? g_named_value[id] : 0.0;
}
double FSAPI get_named_variable_typed_value(Id id, Enum) {
  count<0xD8>();
  return valid_named(id) ? g_named_value[id] : 0.0;
}
void FSAPI set_named_variable_value(Id id, double value) {
  count<0xDC>();
  if (valid_named(id)) g_named_value[id] = value;
}
void FSAPI set_named_variable_typed_value(Id id, double value, Enum) {
  count<0xE0>();
  if (valid_named(id)) g_named_value[id] = value;
}
const char* FSAPI get_name_of_named_variable(Id id) {
  count<0xEC>();
  return valid_named(id) ? g_named[id] : nullptr;
}
const char* FSAPI panel_resource_string_get(std::uint32_t) {
  return count<0xF4>(), "";
}
Bool FSAPI panel_window_toggle_menu_id(std::uint32_t) {
  return count<0xF8>(), TRUE;
}
void FSAPI element_use_color(void*, Bool, std::uint32_t) {
  count<0x104>();
}
void FSAPI set_gauge_flags(const char*, std::uint32_t) {
  count<0x108>();
}
std::uint32_t FSAPI get_gauge_flags(const char*) {
  return count<0x10C>(), 0;
}
Bool FSAPI gauge_calculator_code_precompile(const char** out, std::uint32_t* size,
                                            const char* source) {
  count<0x110>();
  if (out != nullptr) *out = source;
  if (size != nullptr) *size = source != nullptr ? std::uint32_t(std::strlen(source) + 1) : 0;
  return TRUE;
}
Bool FSAPI execute_calculator_code(const char*, double* f, std::int32_t* i, const char** s) {
  count<0x114>();
  if (f != nullptr) *f = 0.0;
  if (i != nullptr) *i = 0;
  if (s != nullptr) *s = "";
  return TRUE;
}
Bool FSAPI format_calculator_string(char* out, std::uint32_t size, const char*) {
  count<0x118>();
  if (out != nullptr && size > 0) out[0] = '\0';
  return TRUE;
}
Enum FSAPI get_units_enum(const char*) {
  return count<0x124>(), 0;
}
Enum FSAPI get_aircraft_var_enum(const char*) {
  return count<0x128>(), 0;
}
double FSAPI aircraft_varget(Enum, Enum, std::int32_t) {
  return count<0x12C>(), 0.0;
}
Bool FSAPI panel_register_c_callback(const char*, void*) {
  return count<0x130>(), FALSE;
}
void* FSAPI panel_get_registered_c_callback(const char*) {
  return count<0x134>(), nullptr;
}
void* FSAPI panel_get_aircraft_c_callback(const char*) {
  return count<0x138>(), nullptr;
}
void FSAPI send_key_event(std::uint32_t event, std::uint32_t value) {
  count<0x13C>();
  ++g_key_events;
  std::printf("key|0x%X|%u\n", event, value);
}
void FSAPI register_key_event_handler(void*, void*) {
  count<0x140>();
}
void FSAPI unregister_key_event_handler(void*, void*) {
  count<0x144>();
}

// Reserved slots: a module has no business calling them; the call is counted and reported.
template <unsigned Offset> void FSAPI reserved() {
  count<Offset>();
}

void* g_panels[kPanelsSlots];

template <typename Fn> void put(unsigned offset, const char* name, Fn fn) {
  g_panels[offset / 4] = reinterpret_cast<void*>(fn);
  g_slot_name[offset / 4] = name;
}

template <unsigned... Offsets> void put_reserved() {
  ((g_panels[Offsets / 4] = reinterpret_cast<void*>(&reserved<Offsets>),
    g_slot_name[Offsets / 4] = "reserved"),
   ...);
}

void build_panels() {
  put_reserved<0x18, 0x1C, 0x20, 0x24, 0x28, 0x34, 0x38, 0x3C, 0x40, 0x44, 0x48, 0x4C, 0x50, 0x54,
               0x58, 0x5C, 0xAC, 0xB0, 0xE4, 0xE8, 0xF0, 0xFC, 0x100, 0x11C, 0x120>();
#define K7_PUT(off, fn) put(off, #fn, &fn)
  K7_PUT(0x2C, is_panel_window_visible_ident);
  K7_PUT(0x30, tooltip_units_getset);
  K7_PUT(0x60, element_list_query);
  K7_PUT(0x64, element_list_install);
  K7_PUT(0x68, element_list_initialize);
  K7_PUT(0x6C, element_list_update);
  K7_PUT(0x70, element_list_generate);
  K7_PUT(0x74, element_list_plot);
  K7_PUT(0x78, element_list_erase);
  K7_PUT(0x7C, element_list_kill);
  K7_PUT(0x80, mouse_list_install);
  K7_PUT(0x84, mouse_list_register);
  K7_PUT(0x88, mouse_list_unregister);
  K7_PUT(0x8C, panel_window_toggle);
  K7_PUT(0x90, trigger_key_event);
  K7_PUT(0x94, register_var_by_name);
  K7_PUT(0x98, initialize_var);
  K7_PUT(0x9C, initialize_var_by_name);
  K7_PUT(0xA0, lookup_var);
  K7_PUT(0xA4, unregister_var_by_name);
  K7_PUT(0xA8, unregister_all_named_vars);
  K7_PUT(0xB4, panel_window_close_ident);
  K7_PUT(0xB8, panel_window_open_ident);
  K7_PUT(0xBC, panel_window_toggle_hud_color);
  K7_PUT(0xC0, panel_window_toggle_hud_units);
  K7_PUT(0xC4, radio_stack_popup);
  K7_PUT(0xC8, radio_stack_autoclose);
  K7_PUT(0xCC, check_named_variable);
  K7_PUT(0xD0, register_named_variable);
  K7_PUT(0xD4, get_named_variable_value);
  K7_PUT(0xD8, get_named_variable_typed_value);
  K7_PUT(0xDC, set_named_variable_value);
  K7_PUT(0xE0, set_named_variable_typed_value);
  K7_PUT(0xEC, get_name_of_named_variable);
  K7_PUT(0xF4, panel_resource_string_get);
  K7_PUT(0xF8, panel_window_toggle_menu_id);
  K7_PUT(0x104, element_use_color);
  K7_PUT(0x108, set_gauge_flags);
  K7_PUT(0x10C, get_gauge_flags);
  K7_PUT(0x110, gauge_calculator_code_precompile);
  K7_PUT(0x114, execute_calculator_code);
  K7_PUT(0x118, format_calculator_string);
  K7_PUT(0x124, get_units_enum);
  K7_PUT(0x128, get_aircraft_var_enum);
  K7_PUT(0x12C, aircraft_varget);
  K7_PUT(0x130, panel_register_c_callback);
  K7_PUT(0x134, panel_get_registered_c_callback);
  K7_PUT(0x138, panel_get_aircraft_c_callback);
  K7_PUT(0x13C, send_key_event);
  K7_PUT(0x140, register_key_event_handler);
  K7_PUT(0x144, unregister_key_event_handler);
#undef K7_PUT
}

// ---- crash reporting ---------------------------------------------------------------------------
// What the host is doing right now, for the crash message.
char g_doing[160] = "starting";

LONG WINAPI on_crash(EXCEPTION_POINTERS* info) {
  const DWORD code = info != nullptr && info->ExceptionRecord != nullptr
                         ? info->ExceptionRecord->ExceptionCode
                         : 0;
  std::printf("crash|0x%08lX|%s\n", static_cast<unsigned long>(code), g_doing);
  std::fflush(stdout);
  ExitProcess(3);
}

template <typename... Args> void doing(const char* format, Args... args) {
  std::snprintf(g_doing, sizeof g_doing, format, args...);
}

// ---- the loaded module -------------------------------------------------------------------------
struct Module {
  HMODULE handle = nullptr;
  GaugesImport* import_table = nullptr;
  GaugesLinkage* linkage = nullptr;
  GaugeHeader** gauges = nullptr;
  unsigned gauge_count = 0;
};

constexpr unsigned kMaxGauges = 4096;

bool load(const char* path, Module& m) {
  doing("loading %s", path);
  m.handle = LoadLibraryA(path);
  if (m.handle == nullptr) {
    std::printf("error|LoadLibrary failed|%s|%lu\n", path, GetLastError());
    return false;
  }
  m.import_table = reinterpret_cast<GaugesImport*>(
      reinterpret_cast<void*>(GetProcAddress(m.handle, "ImportTable")));
  m.linkage = reinterpret_cast<GaugesLinkage*>(
      reinterpret_cast<void*>(GetProcAddress(m.handle, "Linkage")));
  if (m.import_table == nullptr || m.linkage == nullptr) {
    std::printf("error|missing export|ImportTable=%d|Linkage=%d\n", m.import_table != nullptr,
                m.linkage != nullptr);
    return false;
  }
  bool ok = true;
  if (m.import_table->panels_id != kPanelsId) {
    std::printf("error|ImportTable entry id 0x%X, expected 0x%X\n", m.import_table->panels_id,
                kPanelsId);
    ok = false;
  }
  if (m.linkage->module_id != kModuleId || m.linkage->module_version != kLinkVersion) {
    std::printf("error|Linkage id 0x%X version 0x%X, expected 0x%X 0x%X\n", m.linkage->module_id,
                m.linkage->module_version, kModuleId, kLinkVersion);
    ok = false;
  }
  build_panels();
  m.import_table->panels = reinterpret_cast<Panels*>(g_panels);

  m.gauges = m.linkage->gauge_header_ptr;
  while (m.gauge_count < kMaxGauges && m.gauges[m.gauge_count] != nullptr)
    ++m.gauge_count;
  if (m.gauge_count == 0 || m.gauge_count == kMaxGauges) {
    std::printf("error|gauge table has %u entries\n", m.gauge_count);
    ok = false;
  }
  std::printf("linkage|module_id=0x%X|version=0x%X|gauges=%u\n", m.linkage->module_id,
              m.linkage->module_version, m.gauge_count);

  doing("ModuleInit");
  if (m.linkage->module_init != nullptr) m.linkage->module_init();
  return ok;
}

void unload(Module& m) {
  doing("ModuleDeinit");
  if (m.linkage != nullptr && m.linkage->module_deinit != nullptr) m.linkage->module_deinit();
  doing("FreeLibrary");
  if (m.handle != nullptr) FreeLibrary(m.handle);
  m = Module{};
}

const char* name_of(const GaugeHeader* g) {
  return g->gauge_name != nullptr ? g->gauge_name : "(null)";
}

// ---- checks ------------------------------------------------------------------------------------

// The gauge table: one line per gauge, and the header fields the simulator relies on.
bool check_gauges(Module& m) {
  bool ok = true;
  for (unsigned i = 0; i < m.gauge_count; ++i) {
    const GaugeHeader* g = m.gauges[i];
    doing("reading gauge header %u", i);
    std::printf("%u|%s|%u|%d\n", i, name_of(g), g->size_x_mm, g->gauge_callback != nullptr);
    if (g->gauge_name == nullptr || g->gauge_name[0] == '\0') {
      std::printf("error|gauge %u has no name\n", i);
      ok = false;
    }
    if (g->gauge_header_version < 610 || g->gauge_header_version > 900) {
      std::printf("error|gauge %u header version %u\n", i, g->gauge_header_version);
      ok = false;
    }
  }
  return ok;
}

void send(GaugeHeader* g, std::int32_t service, std::uint32_t extra) {
  if (g->gauge_callback == nullptr) return;
  doing("message %d to gauge \"%s\"", service, name_of(g));
  g->gauge_callback(g, service, extra);
}

// Install, one update and kill: first for the start-up toggle gauge on its own, then for every
// gauge with a callback, in the simulator's order (all installed, all updated, all killed).
bool check_callbacks(Module& m) {
  // The resource handle travels in a 32-bit argument; on 32-bit Windows it is the module handle.
  const auto resources = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(m.handle));
  const char* const first = "kestovil toggle_pan_start";

  GaugeHeader* start = nullptr;
  for (unsigned i = 0; i < m.gauge_count; ++i)
    if (m.gauges[i]->gauge_name != nullptr && std::strcmp(m.gauges[i]->gauge_name, first) == 0)
      start = m.gauges[i];
  if (start == nullptr || start->gauge_callback == nullptr) {
    std::printf("error|gauge \"%s\" missing or without callback\n", first);
    return false;
  }
  for (std::int32_t service : {kPreInstall, kPreUpdate, kPreKill})
    send(start, service, resources);
  std::printf("callbacks|%s|2,6,12 ok\n", first);

  unsigned with_callback = 0;
  for (unsigned i = 0; i < m.gauge_count; ++i) {
    send(m.gauges[i], kPreInstall, resources);
    with_callback += m.gauges[i]->gauge_callback != nullptr;
  }
  for (unsigned i = 0; i < m.gauge_count; ++i)
    send(m.gauges[i], kPreUpdate, 0);
  for (unsigned i = 0; i < m.gauge_count; ++i)
    send(m.gauges[i], kPreKill, 0);
  std::printf("callbacks|all|%u gauges with a callback|2,6,12 ok\n", with_callback);
  return true;
}

struct Check {
  const char* name;
  bool (*run)(Module&);
};

constexpr Check kChecks[] = {
    {"gauges", check_gauges},
    {"callbacks", check_callbacks},
};

const Check* find_check(const char* name) {
  for (const Check& c : kChecks)
    if (std::strcmp(c.name, name) == 0) return &c;
  return nullptr;
}

// Services used and reserved slots called; a call into a reserved slot fails the run.
bool report_services() {
  bool ok = true;
  std::printf("services|");
  const char* sep = "";
  for (unsigned s = 0; s < kPanelsSlots; ++s) {
    if (g_calls[s] == 0) continue;
    std::printf("%s%s=%u", sep, g_slot_name[s] != nullptr ? g_slot_name[s] : "?", g_calls[s]);
    sep = ",";
    if (g_slot_name[s] != nullptr && std::strcmp(g_slot_name[s], "reserved") == 0) {
      std::printf("(reserved slot at 0x%X)", s * 4);
      ok = false;
    }
  }
  std::printf("\n");
  return ok;
}

} // namespace

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(on_crash);
  std::setvbuf(stdout, nullptr, _IONBF, 0);

  if (argc < 2) {
    std::printf("usage: pe_host MODULE.gau [CHECK...]\nchecks:");
    for (const Check& c : kChecks)
      std::printf(" %s", c.name);
    std::printf("\n");
    return 2;
  }
  const char* default_checks[] = {"gauges", "callbacks"};
  const char* const* names = argc > 2 ? argv + 2 : default_checks;
  const int count_names = argc > 2 ? argc - 2 : 2;
  for (int i = 0; i < count_names; ++i)
    if (find_check(names[i]) == nullptr) {
      std::printf("error|unknown check %s\n", names[i]);
      return 2;
    }

  Module m;
  if (!load(argv[1], m)) return 2;

  unsigned passed = 0, failed = 0;
  for (int i = 0; i < count_names; ++i) {
    const bool ok = find_check(names[i])->run(m);
    std::printf("check|%s|%s\n", names[i], ok ? "ok" : "FAILED");
    (ok ? passed : failed) += 1;
  }
  if (!report_services()) ++failed;
  const unsigned gauges = m.gauge_count;
  unload(m);
  std::printf("summary|gauges=%u|key events=%u|checks passed=%u|checks failed=%u\n", gauges,
              g_key_events, passed, failed);
  return failed == 0 ? 0 : 1;
}
