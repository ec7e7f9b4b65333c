// What the stand-in imitates of the aircraft and the simulator beyond the panel services: the
// effects of key events and a small aircraft model stepped once per frame. Not a flight model.
#pragma once

#include "host/k7host.h"

namespace k7host {

// Applies the effect of a key event the module sent (window events, switches, starter, ...).
void apply_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
// Tokens of the aircraft at rest on the ground, cold and dark.
void aircraft_reset(Sim& sim);
// One frame of the aircraft model, before the gauges are served.
void aircraft_frame(Sim& sim);

// Each part of the model: the key events it gives an effect to (true when it took the event), its
// tokens at rest, and its step per frame. One file each (aircraft_<part>.cpp).
bool electrical_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void electrical_reset(Sim& sim);
void electrical_frame(Sim& sim);
bool hydraulics_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void hydraulics_reset(Sim& sim);
void hydraulics_frame(Sim& sim);
bool engines_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void engines_reset(Sim& sim);
void engines_frame(Sim& sim);
// While held, the engine model leaves N1 and N2 as they are set (tests that pin an engine speed);
// key events still move the selectors, valves, levers and throttles.
void engines_hold(Sim& sim, bool hold);
bool engine_gauges_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void engine_gauges_reset(Sim& sim);
void engine_gauges_frame(Sim& sim);
bool airdata_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void airdata_reset(Sim& sim);
void airdata_frame(Sim& sim);
// Whether the simulator's ATC window stands open (the module opens and closes it by key event).
bool airdata_atc_window_open(const Sim& sim);
// While held, the gear stays where it is set; gear events still move the handle.
void gear_hold(Sim& sim, bool hold);
bool gear_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void gear_reset(Sim& sim);
void gear_frame(Sim& sim);
// From the next frame on, the simulator's clocks (ticks 0x1, seconds 0x25C and 0x25F) read this
// many seconds less than before: a clock set back.
void clock_set_back(Sim& sim, double seconds);
bool autopilot_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void autopilot_reset(Sim& sim);
void autopilot_frame(Sim& sim);
bool attitude_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void attitude_reset(Sim& sim);
bool radios_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void radios_reset(Sim& sim);
bool approach_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void approach_reset(Sim& sim);
void approach_frame(Sim& sim);
bool warnings_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void warnings_reset(Sim& sim);
void warnings_frame(Sim& sim);
bool environment_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void environment_reset(Sim& sim);
void environment_frame(Sim& sim);
bool failures_key_event(Sim& sim, std::uint32_t id, std::uint32_t value);
void failures_reset(Sim& sim);
void failures_frame(Sim& sim);

} // namespace k7host
