// What the simulator sees of the module: the two exported records, the gauge table and the seven
// element routines that every gauge header shares.
#include "module/gauge.h"
#include "module/services.h"

#if defined(_WIN32)
#define K7_EXPORT extern "C" __declspec(dllexport)
#else
#define K7_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {
void FSAPI module_init() {}
void FSAPI module_deinit() {}
} // namespace

K7_EXPORT GAUGESIMPORT ImportTable;
GAUGESIMPORT ImportTable = {{PANELS_TABLE_ID, nullptr}, {0, nullptr}};

K7_EXPORT GAUGESLINKAGE Linkage;
GAUGESLINKAGE Linkage = {GAUGES_MODULE_ID,
                         module_init,
                         module_deinit,
                         0,
                         0,
                         FS9LINK_VERSION,
                         {
#define K7_GAUGE(index, ident, name, size_mm, callback, state) &gauge_##ident,
#include "module/catalogue.def"
#undef K7_GAUGE
                             nullptr}};

#if defined(_WIN32)
// The library's entry point: nothing to set up.
extern "C" int __stdcall DllMain(void*, unsigned long, void*) {
  return 1;
}
#endif

// ---- the seven shared element routines
// ------------------------------------------------------------- Each forwards to the simulator's
// element-list service with the first element of gauge 0's list, whatever gauge the simulator is
// serving.

namespace {
PELEMENT_HEADER gauge0_first_element() {
  const GAUGEHDR* gauge0 = Linkage.gauge_header_ptr[0];
  return gauge0->elements_list != nullptr ? *gauge0->elements_list : nullptr;
}
} // namespace

void FSAPI shared_query_routine() {
  if (auto f = sim::service<PFN_ELEMENT_LIST>(PANELS_ELEMENT_LIST_QUERY)) f(gauge0_first_element());
}
void FSAPI shared_install_routine(PVOID resource_file_handle) {
  if (auto f = sim::service<PFN_ELEMENT_LIST_INSTALL>(PANELS_ELEMENT_LIST_INSTALL))
    f(gauge0_first_element(), resource_file_handle);
}
void FSAPI shared_initialize_routine() {
  if (auto f = sim::service<PFN_ELEMENT_LIST>(PANELS_ELEMENT_LIST_INITIALIZE))
    f(gauge0_first_element());
}
void FSAPI shared_update_routine() {
  if (auto f = sim::service<PFN_ELEMENT_LIST>(PANELS_ELEMENT_LIST_UPDATE))
    f(gauge0_first_element());
}
void FSAPI shared_generate_routine(UINT32 phase) {
  if (auto f = sim::service<PFN_ELEMENT_LIST_GENERATE>(PANELS_ELEMENT_LIST_GENERATE))
    f(gauge0_first_element(), phase);
}
void FSAPI shared_draw_routine() {
  if (auto f = sim::service<PFN_ELEMENT_LIST>(PANELS_ELEMENT_LIST_PLOT)) f(gauge0_first_element());
}
void FSAPI shared_kill_routine() {
  if (auto f = sim::service<PFN_ELEMENT_LIST>(PANELS_ELEMENT_LIST_KILL)) f(gauge0_first_element());
}

// ---- element helpers
// ---------------------------------------------------------------------------------

namespace k7 {

FAILURE_RECORD no_failures[1] = {{FAIL_NONE, FAIL_ACTION_NONE, 0}};

FLOAT64 FSAPI icon_first_image(ELEMENT_ICON*) {
  return 0.0;
}

ELEMENT_HEADER* chain_element(const GAUGEHDR& gauge, int n) {
  if (gauge.elements_list == nullptr || n < 0) return nullptr;
  ELEMENT_HEADER* e = *gauge.elements_list;
  for (int i = 0; i < n && e != nullptr; ++i)
    e = e->next_element != nullptr ? e->next_element[0] : nullptr;
  return e;
}

} // namespace k7
