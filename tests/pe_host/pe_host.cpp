// pe_host: a small Windows console program that loads a gauge module the way the simulator does
// (LoadLibrary, the two exported records, a PANELS table written into ImportTable) and drives it
// a little, so the Windows build of the module can be exercised under wine.
//
//   pe_host MODULE.gau [CHECK...]      (default checks: gauges callbacks; also: sound, silent)
//
// Output lines are "kind|field|..." so a test can pick out what it compares; the gauge listing
// is "index|name|size_x_mm|callback-present" (callback-present is 0 or 1). Exit status: 0 when
// every check passed, 1 when a check failed, 2 on usage or load errors, 3 on a crash.
//
// New checks go into the kChecks table at the bottom: each gets the loaded module and returns
// true when it passed.
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include "module/panel_abi.h"
#include "sound/wav.h"

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
// Simulator values the checks set; every other token reads 0.
constexpr unsigned kTokenCount = 0x400;
double g_token[kTokenCount];

void FSAPI lookup_var(MODULE_VAR* var) {
  count<0xA0>();
  if (var != nullptr)
    var->var_value.n = var->id >= 0 && unsigned(var->id) < kTokenCount ? g_token[var->id] : 0.0;
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

// ---- DirectSound, watched ----------------------------------------------------------------------
// The sound check watches what the module asks of the real DirectSound (wine's, playing into
// ALSA's null device) from inside the process: the device and buffer interfaces of dsound.dll
// share one method table per class, so the host patches those tables once and sees every call
// the module makes, with its arguments, whatever the library traces or names internally.

// The sounds in loading order, and whether the module may ever play each one looping.
struct ExpectedSound {
  const char* name;
  bool loops;
};
constexpr ExpectedSound kSounds[] = {
    {"CLICK", false},     {"HI", false},         {"LO", false},         {"GONGMONO", false},
    {"KLAXONCONT", true}, {"SONNERIE", true},    {"BRAKESSND", true},   {"CRECELLE", false},
    {"KLAXONGEAR", true}, {"CACHEMETAL", false}, {"V80KTS", false},     {"V1KTS", false},
    {"VRKTS", false},     {"AIRCOND", true},     {"AIRCONDENT", false}, {"AIRCONDSORT", false},
};
constexpr int kSoundCount = sizeof kSounds / sizeof kSounds[0];
constexpr DWORD kBufferFlags = 0x000100E2;

struct BufferRecord {
  IDirectSoundBuffer* buffer;
  int sound; // loading order within its install
  DWORD flags, bytes;
  WAVEFORMATEX format;
  unsigned locks, unlocks, plays, looped_plays, stops, volumes;
  LONG volume; // the last one set
  bool released;
};

struct SoundLog {
  BufferRecord buffers[4 * kSoundCount];
  int buffer_count;
  int created_this_install;
  unsigned devices_created, devices_released;
  IDirectSound8* device;
  unsigned faults; // calls the module must never make
} g_sound;

template <typename... Args> void sound_fault(const char* format, Args... args) {
  ++g_sound.faults;
  std::printf("error|sound|");
  std::printf(format, args...);
  std::printf("\n");
}

BufferRecord* record_of(IDirectSoundBuffer* buffer, const char* call) {
  for (int i = g_sound.buffer_count - 1; i >= 0; --i) {
    BufferRecord& r = g_sound.buffers[i];
    if (r.buffer != buffer) continue;
    if (r.released) sound_fault("%s on %s after its release", call, kSounds[r.sound].name);
    return &r;
  }
  sound_fault("%s on a buffer the module never created", call);
  return nullptr;
}

using CreateSoundBufferFn = HRESULT(STDMETHODCALLTYPE*)(IDirectSound8*, LPCDSBUFFERDESC,
                                                        LPDIRECTSOUNDBUFFER*, LPUNKNOWN);
using SetCooperativeLevelFn = HRESULT(STDMETHODCALLTYPE*)(IDirectSound8*, HWND, DWORD);
using DeviceReleaseFn = ULONG(STDMETHODCALLTYPE*)(IDirectSound8*);
using BufferReleaseFn = ULONG(STDMETHODCALLTYPE*)(IDirectSoundBuffer*);
using LockFn = HRESULT(STDMETHODCALLTYPE*)(IDirectSoundBuffer*, DWORD, DWORD, LPVOID*, LPDWORD,
                                           LPVOID*, LPDWORD, DWORD);
using UnlockFn = HRESULT(STDMETHODCALLTYPE*)(IDirectSoundBuffer*, LPVOID, DWORD, LPVOID, DWORD);
using PlayFn = HRESULT(STDMETHODCALLTYPE*)(IDirectSoundBuffer*, DWORD, DWORD, DWORD);
using StopFn = HRESULT(STDMETHODCALLTYPE*)(IDirectSoundBuffer*);
using SetVolumeFn = HRESULT(STDMETHODCALLTYPE*)(IDirectSoundBuffer*, LONG);

struct {
  CreateSoundBufferFn create_buffer;
  SetCooperativeLevelFn cooperative_level;
  DeviceReleaseFn device_release;
  BufferReleaseFn buffer_release;
  LockFn lock;
  UnlockFn unlock;
  PlayFn play;
  StopFn stop;
  SetVolumeFn set_volume;
} g_real;

HRESULT STDMETHODCALLTYPE watch_cooperative_level(IDirectSound8* device, HWND window, DWORD level) {
  // Every device the module creates sets its cooperative level first.
  if (device != g_sound.device) {
    ++g_sound.devices_created;
    g_sound.device = device;
    g_sound.created_this_install = 0;
    std::printf("dsound|device created\n");
  }
  return g_real.cooperative_level(device, window, level);
}

ULONG STDMETHODCALLTYPE watch_device_release(IDirectSound8* device) {
  const ULONG left = g_real.device_release(device);
  if (left == 0 && device == g_sound.device) {
    for (int i = 0; i < g_sound.buffer_count; ++i)
      if (!g_sound.buffers[i].released)
        sound_fault("device released before buffer %s", kSounds[g_sound.buffers[i].sound].name);
    ++g_sound.devices_released;
    g_sound.device = nullptr;
    std::printf("dsound|device released\n");
  }
  return left;
}

HRESULT STDMETHODCALLTYPE watch_create_buffer(IDirectSound8* device, LPCDSBUFFERDESC desc,
                                              LPDIRECTSOUNDBUFFER* out, LPUNKNOWN outer) {
  const HRESULT hr = g_real.create_buffer(device, desc, out, outer);
  if (FAILED(hr) || out == nullptr || *out == nullptr || desc == nullptr) return hr;
  if (g_sound.buffer_count == sizeof g_sound.buffers / sizeof g_sound.buffers[0] ||
      g_sound.created_this_install == kSoundCount) {
    sound_fault("more buffers than sounds");
    return hr;
  }
  BufferRecord& r = g_sound.buffers[g_sound.buffer_count++];
  r = BufferRecord{};
  r.buffer = *out;
  r.sound = g_sound.created_this_install++;
  r.flags = desc->dwFlags;
  r.bytes = desc->dwBufferBytes;
  if (desc->lpwfxFormat != nullptr) r.format = *desc->lpwfxFormat;
  std::printf("dsound|buffer|%s|flags=0x%08lX|bytes=%lu|%u ch %lu Hz %u bits\n",
              kSounds[r.sound].name, static_cast<unsigned long>(r.flags),
              static_cast<unsigned long>(r.bytes), r.format.nChannels,
              static_cast<unsigned long>(r.format.nSamplesPerSec), r.format.wBitsPerSample);
  return hr;
}

ULONG STDMETHODCALLTYPE watch_buffer_release(IDirectSoundBuffer* buffer) {
  BufferRecord* r = record_of(buffer, "Release");
  const ULONG left = g_real.buffer_release(buffer);
  if (r != nullptr && left == 0) r->released = true;
  return left;
}

HRESULT STDMETHODCALLTYPE watch_lock(IDirectSoundBuffer* buffer, DWORD offset, DWORD bytes,
                                     LPVOID* p1, LPDWORD n1, LPVOID* p2, LPDWORD n2, DWORD flags) {
  if (BufferRecord* r = record_of(buffer, "Lock")) ++r->locks;
  return g_real.lock(buffer, offset, bytes, p1, n1, p2, n2, flags);
}

HRESULT STDMETHODCALLTYPE watch_unlock(IDirectSoundBuffer* buffer, LPVOID p1, DWORD n1, LPVOID p2,
                                       DWORD n2) {
  if (BufferRecord* r = record_of(buffer, "Unlock")) ++r->unlocks;
  return g_real.unlock(buffer, p1, n1, p2, n2);
}

HRESULT STDMETHODCALLTYPE watch_play(IDirectSoundBuffer* buffer, DWORD reserved, DWORD priority,
                                     DWORD flags) {
  if (BufferRecord* r = record_of(buffer, "Play")) {
    const bool looping = (flags & DSBPLAY_LOOPING) != 0;
    ++r->plays;
    r->looped_plays += looping;
    std::printf("dsound|play|%s|%s\n", kSounds[r->sound].name, looping ? "looping" : "once");
    if (looping && !kSounds[r->sound].loops)
      sound_fault("%s played looping", kSounds[r->sound].name);
    if (r->unlocks == 0) sound_fault("%s played before it was filled", kSounds[r->sound].name);
  }
  return g_real.play(buffer, reserved, priority, flags);
}

HRESULT STDMETHODCALLTYPE watch_stop(IDirectSoundBuffer* buffer) {
  if (BufferRecord* r = record_of(buffer, "Stop")) {
    ++r->stops;
    std::printf("dsound|stop|%s\n", kSounds[r->sound].name);
  }
  return g_real.stop(buffer);
}

HRESULT STDMETHODCALLTYPE watch_set_volume(IDirectSoundBuffer* buffer, LONG volume) {
  if (BufferRecord* r = record_of(buffer, "SetVolume")) {
    ++r->volumes;
    r->volume = volume;
    if (volume < -10000 || volume > 0)
      sound_fault("%s volume %ld outside -10000..0", kSounds[r->sound].name, long(volume));
  }
  return g_real.set_volume(buffer, volume);
}

template <typename Fn> void patch(void** table, int slot, Fn hook, Fn& real) {
  DWORD old = 0;
  VirtualProtect(&table[slot], sizeof(void*), PAGE_READWRITE, &old);
  real = reinterpret_cast<Fn>(table[slot]);
  table[slot] = reinterpret_cast<void*>(hook);
  VirtualProtect(&table[slot], sizeof(void*), old, &old);
}

// Creates a device and a buffer of its own to find the two method tables, releases them, then
// watches both tables. False when DirectSound has no device here.
bool watch_direct_sound() {
  static bool watching = false;
  if (watching) return true;
  using CreateFn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND8*, LPUNKNOWN);
  HMODULE library = LoadLibraryA("dsound.dll"); // kept loaded: the tables live in it
  if (library == nullptr) return false;
  auto create = reinterpret_cast<CreateFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "DirectSoundCreate8")));
  IDirectSound8* device = nullptr;
  if (create == nullptr || FAILED(create(nullptr, &device, nullptr)) || device == nullptr)
    return false;
  device->SetCooperativeLevel(GetDesktopWindow(), DSSCL_NORMAL);
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = 22050;
  format.wBitsPerSample = 16;
  format.nBlockAlign = 2;
  format.nAvgBytesPerSec = 44100;
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = kBufferFlags;
  desc.dwBufferBytes = 4410;
  desc.lpwfxFormat = &format;
  IDirectSoundBuffer* buffer = nullptr;
  if (FAILED(device->CreateSoundBuffer(&desc, &buffer, nullptr)) || buffer == nullptr) {
    device->Release();
    return false;
  }
  void** device_table = *reinterpret_cast<void***>(device);
  void** buffer_table = *reinterpret_cast<void***>(buffer);
  buffer->Release();
  device->Release();
  // IDirectSound8: Release 2, CreateSoundBuffer 3, SetCooperativeLevel 6.
  patch(device_table, 2, &watch_device_release, g_real.device_release);
  patch(device_table, 3, &watch_create_buffer, g_real.create_buffer);
  patch(device_table, 6, &watch_cooperative_level, g_real.cooperative_level);
  // IDirectSoundBuffer: Release 2, Lock 11, Play 12, SetVolume 15, Stop 18, Unlock 19.
  patch(buffer_table, 2, &watch_buffer_release, g_real.buffer_release);
  patch(buffer_table, 11, &watch_lock, g_real.lock);
  patch(buffer_table, 12, &watch_play, g_real.play);
  patch(buffer_table, 15, &watch_set_volume, g_real.set_volume);
  patch(buffer_table, 18, &watch_stop, g_real.stop);
  patch(buffer_table, 19, &watch_unlock, g_real.unlock);
  watching = true;
  return true;
}

// ---- driving the module as the simulator does ---------------------------------------------------

GaugeHeader* gauge_named(Module& m, const char* name) {
  for (unsigned i = 0; i < m.gauge_count; ++i)
    if (m.gauges[i]->gauge_name != nullptr && std::strcmp(m.gauges[i]->gauge_name, name) == 0)
      return m.gauges[i];
  return nullptr;
}

void send_all(Module& m, SINT32 service) {
  const auto resources = reinterpret_cast<GAUGE_EXTRA>(m.handle);
  for (unsigned i = 0; i < m.gauge_count; ++i)
    send(m.gauges[i], service, service == PANEL_SERVICE_PRE_INSTALL ? resources : 0);
}

// A left click at (x, y) of a gauge, handed to the click area that holds it. False when no area
// took it.
bool click(Module& m, const char* gauge, PIXPOINT at, FLAGS32 flags = MOUSE_LEFTSINGLE) {
  GaugeHeader* g = gauge_named(m, gauge);
  if (g == nullptr || g->mouse_rect == nullptr) return false;
  for (MOUSERECT* r = g->mouse_rect; r->rect_type != MOUSE_RECT_EOL; ++r) {
    const PIXBOX& b = r->relative_box;
    if (r->rect_type != MOUSE_RECT_CHILD || at.x < b.x || at.y < b.y || at.x >= b.x + b.size_x ||
        at.y >= b.y + b.size_y || (static_cast<FLAGS32>(r->mouse_flags) & flags) == 0 ||
        r->mouse_function == nullptr)
      continue;
    doing("click on \"%s\" at %d,%d", gauge, int(at.x), int(at.y));
    MOUSECALLBACK event{};
    event.relative_point = at;
    event.user_data = g;
    event.mouse = r;
    r->mouse_function(reinterpret_cast<PPIXPOINT>(&event), flags);
    return true;
  }
  return false;
}

// What every install must do: one device, then the sixteen buffers with the flags, the format and
// the length of each WAV resource, filled and given a volume.
bool install_was_right(Module& m, unsigned install) {
  bool ok = g_sound.devices_created == install;
  if (!ok)
    std::printf("error|sound|%u devices created after %u installs\n", g_sound.devices_created,
                install);
  const int first = g_sound.buffer_count - kSoundCount;
  if (g_sound.created_this_install != kSoundCount || first < 0) {
    std::printf("error|sound|%d buffers created by install %u\n", g_sound.created_this_install,
                install);
    return false;
  }
  for (int i = 0; i < kSoundCount; ++i) {
    const BufferRecord& r = g_sound.buffers[first + i];
    const char* name = kSounds[i].name;
    WavImage wav{};
    HRSRC found = FindResourceA(m.handle, name, MAKEINTRESOURCEA(10)); // RT_RCDATA
    HGLOBAL loaded = found != nullptr ? LoadResource(m.handle, found) : nullptr;
    const void* image = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (image == nullptr || !wav_parse(image, SizeofResource(m.handle, found), &wav)) {
      std::printf("error|sound|resource %s missing or not a WAV image\n", name);
      ok = false;
      continue;
    }
    const WAVEFORMATEX& f = r.format;
    const bool format_right =
        f.wFormatTag == wav.format.format_tag && f.nChannels == wav.format.channels &&
        f.nSamplesPerSec == wav.format.samples_per_sec &&
        f.nAvgBytesPerSec == wav.format.avg_bytes_per_sec &&
        f.nBlockAlign == wav.format.block_align && f.wBitsPerSample == wav.format.bits_per_sample;
    if (r.flags != kBufferFlags || r.bytes != wav.data_size || !format_right) {
      std::printf("error|sound|%s: flags 0x%08lX, %lu bytes, format %s (resource: %u bytes)\n",
                  name, static_cast<unsigned long>(r.flags), static_cast<unsigned long>(r.bytes),
                  format_right ? "right" : "wrong", wav.data_size);
      ok = false;
    }
    if (r.locks == 0 || r.unlocks != r.locks || r.volumes == 0) {
      std::printf("error|sound|%s: %u locks, %u unlocks, %u volumes at install\n", name, r.locks,
                  r.unlocks, r.volumes);
      ok = false;
    }
  }
  return ok;
}

bool kill_was_right(unsigned kills) {
  bool ok = g_sound.devices_released == kills && g_sound.device == nullptr;
  for (int i = 0; i < g_sound.buffer_count; ++i)
    if (!g_sound.buffers[i].released) {
      std::printf("error|sound|%s not released by kill %u\n",
                  kSounds[g_sound.buffers[i].sound].name, kills);
      ok = false;
    }
  if (g_sound.devices_released != kills)
    std::printf("error|sound|%u devices released after %u kills\n", g_sound.devices_released,
                kills);
  return ok;
}

BufferRecord& newest(int sound) {
  return g_sound.buffers[g_sound.buffer_count - kSoundCount + sound];
}

constexpr int kClick = 0, kBrakes = 6;

// Sound through wine's DirectSound: install (device, sixteen buffers), a switch click ("CLICK"
// once), the brake noise (looping) started and stopped, the volume knob one step each way, kill
// (everything released), and the same again.
bool check_sound(Module& m) {
  if (!watch_direct_sound()) {
    std::printf("error|sound|DirectSound has no device here\n");
    return false;
  }
  bool ok = true;
  for (unsigned round = 1; round <= 2; ++round) {
    send_all(m, PANEL_SERVICE_PRE_INSTALL);
    ok &= install_was_right(m, round);
    if (!ok) break;
    send_all(m, PANEL_SERVICE_PRE_UPDATE);

    // The master switch moved (off, then back to the battery), clicked twice: heard once, as a
    // switch already in place stays silent.
    const PIXPOINT position = round == 1 ? PIXPOINT{50, 20} : PIXPOINT{80, 20};
    ok &= click(m, "kestovil elec_mas_sw_k7", position);
    ok &= click(m, "kestovil elec_mas_sw_k7", position);
    if (newest(kClick).plays != 1 || newest(kClick).looped_plays != 0) {
      std::printf("error|sound|the master switch gave %u plays of CLICK\n", newest(kClick).plays);
      ok = false;
    }

    // Rolling on the ground with a pedal pressed: the brake noise loops until released.
    g_token[0x3C] = 1.0;
    g_token[0x3D] = 60.0;
    g_token[0x140] = 8000.0;
    for (int frame = 0; frame < 3; ++frame)
      send_all(m, PANEL_SERVICE_PRE_UPDATE);
    g_token[0x140] = 0.0;
    send_all(m, PANEL_SERVICE_PRE_UPDATE);
    const BufferRecord& brakes = newest(kBrakes);
    if (brakes.looped_plays != 1 || brakes.plays != 1 || brakes.stops != 1) {
      std::printf("error|sound|brake noise: %u plays, %u looping, %u stops\n", brakes.plays,
                  brakes.looped_plays, brakes.stops);
      ok = false;
    }
    g_token[0x3C] = g_token[0x3D] = 0.0;

    // The cockpit volume knob on the radar box, one step quieter and one louder: every sound
    // 100 hundredths of a decibel down, then back (the quietest ones stay at -10000).
    LONG before[kSoundCount];
    for (int i = 0; i < kSoundCount; ++i)
      before[i] = newest(i).volume;
    ok &= click(m, "kestovil radar_set_k7", {30, 80});
    for (int i = 0; i < kSoundCount; ++i)
      if (newest(i).volume != (before[i] > -9900 ? before[i] - 100 : -10000)) {
        std::printf("error|sound|%s at %ld after a step quieter, was %ld\n", kSounds[i].name,
                    long(newest(i).volume), long(before[i]));
        ok = false;
      }
    ok &= click(m, "kestovil radar_set_k7", {60, 80});
    for (int i = 0; i < kSoundCount; ++i)
      if (newest(i).volume != before[i] && before[i] > -9900) {
        std::printf("error|sound|%s at %ld after a step back, was %ld\n", kSounds[i].name,
                    long(newest(i).volume), long(before[i]));
        ok = false;
      }

    send_all(m, PANEL_SERVICE_PRE_KILL);
    ok &= kill_was_right(round);
  }
  if (g_sound.faults != 0) ok = false;
  std::printf("sound|devices=%u|buffers=%d|faults=%u\n", g_sound.devices_created,
              g_sound.buffer_count, g_sound.faults);
  return ok;
}

// Without a sound device: every handle stays null, nothing is created, and the cockpit still
// installs, clicks, runs and kills without a crash.
bool check_silent(Module& m) {
  send_all(m, PANEL_SERVICE_PRE_INSTALL);
  const bool clicked = click(m, "kestovil elec_mas_sw_k7", {80, 20});
  for (int frame = 0; frame < 3; ++frame)
    send_all(m, PANEL_SERVICE_PRE_UPDATE);
  send_all(m, PANEL_SERVICE_PRE_KILL);
  if (!clicked) std::printf("error|silent|the master switch took no click\n");
  return clicked;
}

struct Check {
  const char* name;
  bool (*run)(Module&);
};

constexpr Check kChecks[] = {
    {"gauges", check_gauges},
    {"callbacks", check_callbacks},
    {"sound", check_sound},
    {"silent", check_silent},
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
