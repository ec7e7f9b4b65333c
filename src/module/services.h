// Everything the module asks of the simulator goes through the PANELS table whose address the
// simulator wrote into ImportTable. Until it has, every service is skipped and reads give 0.
#pragma once

#include "module/panel_abi.h"
#include "module/types.h"

extern "C" GAUGESIMPORT ImportTable;

namespace sim {

// The service at the given 32-bit offset of the PANELS table, or null.
template <typename Fn> inline Fn service(std::size_t offset32) {
  PANELS* panels = ImportTable.PANELSentry.fnptr;
  if (panels == nullptr) return nullptr;
  return reinterpret_cast<Fn>(panels->slot[panels_slot(offset32)]);
}

// A module variable reading one simulator token (declare one per use, static, in the gauge file).
constexpr MODULE_VAR token(ENUM id) {
  MODULE_VAR v{};
  v.id = id;
  return v;
}

// Sends a key event to the simulator.
void key_event(u32 event_id, u32 value = 0);

// Refreshes a module variable from its token and returns its value as a double.
double read(MODULE_VAR& var);
// The same, with NaN and infinities read as 0: for values used in arithmetic and comparisons.
double read_finite(MODULE_VAR& var);
// The low 32 bits of a module variable's value, for the tokens that are read as integers.
u32 read_u32(MODULE_VAR& var);

// Named variables shared with the panel's other modules.
double named_get(const char* name);
void named_set(const char* name, double value);

// Evaluates a calculator expression; 0 when the simulator gives nothing.
double calc(const char* expression);

// Pop-up windows: toggle through the panel service, or open and close by key event.
void window_toggle(u32 window_id);
void window_open(u32 window_id);
void window_close(u32 window_id);

} // namespace sim
