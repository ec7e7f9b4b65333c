// Key events the stand-in gives an effect to: the panel windows here, the aircraft's in the
// parts of the model.
#include "host/model.h"

namespace k7host {

namespace {

struct KeyEffect {
  std::uint32_t id;
  void (*apply)(Sim& sim, std::uint32_t value);
};

const KeyEffect window_effects[] = {
    {KEY_PANEL_ID_OPEN, [](Sim& s, std::uint32_t window) { s.open_window(window); }},
    {KEY_PANEL_ID_CLOSE, [](Sim& s, std::uint32_t window) { s.close_window(window); }},
    {KEY_PANEL_ID_TOGGLE, [](Sim& s, std::uint32_t window) { s.toggle_window(window); }},
};

} // namespace

void apply_key_event(Sim& sim, std::uint32_t id, std::uint32_t value) {
  for (const KeyEffect& effect : window_effects)
    if (effect.id == id) {
      effect.apply(sim, value);
      return;
    }
  if (electrical_key_event(sim, id, value)) return;
  if (gear_key_event(sim, id, value)) return; // before the hydraulics: it sees the gear events too
  if (hydraulics_key_event(sim, id, value)) return;
  if (airdata_key_event(sim, id, value)) return;
  if (autopilot_key_event(sim, id, value)) return;
  if (approach_key_event(sim, id, value)) return;
  if (attitude_key_event(sim, id, value)) return;
  if (engine_gauges_key_event(sim, id, value)) return;
  if (radios_key_event(sim, id, value)) return;
  if (warnings_key_event(sim, id, value)) return;
  if (environment_key_event(sim, id, value)) return;
  if (failures_key_event(sim, id, value)) return;
  engines_key_event(sim, id, value);
}

} // namespace k7host
