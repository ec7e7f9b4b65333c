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

#include "module/panel_abi.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

constexpr unsigned kPanelsSlots = PANELS_SLOT_COUNT;
using GaugeHeader = GAUGEHDR;

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

using Bool = BOOL;
using Id = ID;
using Enum = ENUM;

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
void FSAPI initialize_var(MODULE_VAR* var) {
  count<0x98>();
  if (var != nullptr) var->var_value.n = 0.0;
}
void FSAPI initialize_var_by_name(MODULE_VAR* var, char*) {
  count<0x9C>();
  if (var != nullptr) var->var_value.n = 0.0;
}
void FSAPI lookup_var(MODULE_VAR* var) {
  count<0xA0>();
  if (var != nullptr) var->var_value.n = 0.0;
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

PANELS g_panels;

template <typename Fn> void put(unsigned offset, const char* name, Fn fn) {
  g_panels.slot[panels_slot(offset)] = reinterpret_cast<PANELS_SLOT>(fn);
  g_slot_name[panels_slot(offset)] = name;
}

template <unsigned... Offsets> void put_reserved() {
  ((g_panels.slot[panels_slot(Offsets)] = &reserved<Offsets>,
    g_slot_name[panels_slot(Offsets)] = "reserved"),
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
  GAUGESIMPORT* import_table = nullptr;
  GAUGESLINKAGE* linkage = nullptr;
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
  m.import_table = reinterpret_cast<GAUGESIMPORT*>(
      reinterpret_cast<void*>(GetProcAddress(m.handle, "ImportTable")));
  m.linkage = reinterpret_cast<GAUGESLINKAGE*>(
      reinterpret_cast<void*>(GetProcAddress(m.handle, "Linkage")));
  if (m.import_table == nullptr || m.linkage == nullptr) {
    std::printf("error|missing export|ImportTable=%d|Linkage=%d\n", m.import_table != nullptr,
                m.linkage != nullptr);
    return false;
  }
  bool ok = true;
  if (m.import_table->PANELSentry.fnID != PANELS_TABLE_ID) {
    std::printf("error|ImportTable entry id 0x%X, expected 0x%X\n",
                unsigned(m.import_table->PANELSentry.fnID), unsigned(PANELS_TABLE_ID));
    ok = false;
  }
  if (m.linkage->ModuleID != GAUGES_MODULE_ID || m.linkage->ModuleVersion != FS9LINK_VERSION) {
    std::printf("error|Linkage id 0x%X version 0x%X, expected 0x%X 0x%X\n",
                unsigned(m.linkage->ModuleID), m.linkage->ModuleVersion, unsigned(GAUGES_MODULE_ID),
                FS9LINK_VERSION);
    ok = false;
  }
  build_panels();
  m.import_table->PANELSentry.fnptr = &g_panels;

  m.gauges = m.linkage->gauge_header_ptr;
  while (m.gauge_count < kMaxGauges && m.gauges[m.gauge_count] != nullptr)
    ++m.gauge_count;
  if (m.gauge_count == 0 || m.gauge_count == kMaxGauges) {
    std::printf("error|gauge table has %u entries\n", m.gauge_count);
    ok = false;
  }
  std::printf("linkage|module_id=0x%X|version=0x%X|gauges=%u\n", unsigned(m.linkage->ModuleID),
              m.linkage->ModuleVersion, m.gauge_count);

  doing("ModuleInit");
  if (m.linkage->ModuleInit != nullptr) m.linkage->ModuleInit();
  return ok;
}

void unload(Module& m) {
  doing("ModuleDeinit");
  if (m.linkage != nullptr && m.linkage->ModuleDeinit != nullptr) m.linkage->ModuleDeinit();
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

void send(GaugeHeader* g, SINT32 service, GAUGE_EXTRA extra) {
  if (g->gauge_callback == nullptr) return;
  doing("message %d to gauge \"%s\"", service, name_of(g));
  g->gauge_callback(g, service, extra);
}

// Install, one update and kill: first for the start-up toggle gauge on its own, then for every
// gauge with a callback, in the simulator's order (all installed, all updated, all killed).
bool check_callbacks(Module& m) {
  // Install carries the resource handle: the module's own handle.
  const auto resources = reinterpret_cast<GAUGE_EXTRA>(m.handle);
  const char* const first = "kestovil toggle_pan_start";

  GaugeHeader* start = nullptr;
  for (unsigned i = 0; i < m.gauge_count; ++i)
    if (m.gauges[i]->gauge_name != nullptr && std::strcmp(m.gauges[i]->gauge_name, first) == 0)
      start = m.gauges[i];
  if (start == nullptr || start->gauge_callback == nullptr) {
    std::printf("error|gauge \"%s\" missing or without callback\n", first);
    return false;
  }
  for (SINT32 service :
       {PANEL_SERVICE_PRE_INSTALL, PANEL_SERVICE_PRE_UPDATE, PANEL_SERVICE_PRE_KILL})
    send(start, service, resources);
  std::printf("callbacks|%s|2,6,12 ok\n", first);

  unsigned with_callback = 0;
  for (unsigned i = 0; i < m.gauge_count; ++i) {
    send(m.gauges[i], PANEL_SERVICE_PRE_INSTALL, resources);
    with_callback += m.gauges[i]->gauge_callback != nullptr;
  }
  for (unsigned i = 0; i < m.gauge_count; ++i)
    send(m.gauges[i], PANEL_SERVICE_PRE_UPDATE, 0);
  for (unsigned i = 0; i < m.gauge_count; ++i)
    send(m.gauges[i], PANEL_SERVICE_PRE_KILL, 0);
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
