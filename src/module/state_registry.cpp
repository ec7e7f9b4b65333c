// The registry of all module state: every subsystem's table, found by name.
#include "module/dev_api.h"
#include "module/state.h"

#include <cstring>

extern const StateTable state_table_sound;
extern const StateTable state_table_panels;
extern const StateTable state_table_electrical;
extern const StateTable state_table_hydraulics;
extern const StateTable state_table_warnings;
extern const StateTable state_table_instruments;
extern const StateTable state_table_engines;
extern const StateTable state_table_gear;
extern const StateTable state_table_autopilot;
extern const StateTable state_table_radios;
extern const StateTable state_table_environment;

namespace {
const StateTable* const all_tables[] = {
    &state_table_sound,      &state_table_panels,      &state_table_electrical,
    &state_table_hydraulics, &state_table_warnings,    &state_table_instruments,
    &state_table_engines,    &state_table_gear,        &state_table_autopilot,
    &state_table_radios,     &state_table_environment,
};
constexpr std::size_t table_count = sizeof(all_tables) / sizeof(all_tables[0]);

StateTable table_list[table_count + 1];
} // namespace

const StateTable* state_tables() {
  for (std::size_t i = 0; i < table_count; ++i)
    table_list[i] = *all_tables[i];
  table_list[table_count] = {nullptr, 0};
  return table_list;
}

const StateEntry* state_find(const char* name) {
  if (name == nullptr) return nullptr;
  for (const StateTable* table : all_tables)
    for (std::size_t i = 0; i < table->count; ++i)
      if (std::strcmp(table->entries[i].name, name) == 0) return &table->entries[i];
  return nullptr;
}

#if defined(K7_DEV_BUILD)
// Development build: the stand-in reads the registry through this.
K7_DEV_EXPORT const StateTable* k7_dev_state_tables() {
  return state_tables();
}
#endif
