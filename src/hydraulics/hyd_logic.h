// The hydraulic rules that do not depend on the simulator: one update of each kind of pump, the
// reservoir level, the brake pressures and the flap-handle lock. The gauge callbacks gather the
// inputs and call these.
#pragma once

#include "module/types.h"

namespace hyd {

// Pressures at which things change, psi.
constexpr u16 GREEN_LOADS_ON_YELLOW = 1750; // green below this: the yellow pumps take its loads
constexpr u16 LOW_FLOW = 1400;              // low-flow lamps below this
constexpr u16 RED_LEVER_MIN = 951;          // emergency levers need this much red pressure

// Engine-driven pump, one update. `driven`: the valve open far enough, the engine turning, fluid
// in the reservoir and no failure. The first run-up overshoots to 2550..2579, then 2500 holds.
void engine_pump_step(u16& press, u8& settled, bool driven);

// Yellow electric pump, one update. `runs`: commanded and fluid in its reservoir. `holds_500`:
// the servo lever keeps this pump at 500 psi while it is stopped with the green circuit low.
void yellow_pump_step(u16& press, u8& running, u8& loaded, bool runs, bool green_low,
                      bool holds_500);

// What the red pump regulates to.
enum RedTarget : u8 { RED_NORMAL, RED_FLAPS, RED_GEAR };

// Red standby pump, one update once it runs (or not).
void red_pump_step(u16& press, u8& running, u8& runup_done, bool runs, RedTarget target);

// One brake application takes this much from the red circuit, never below 0.
u16 red_after_brake_application(u16 press);

// Green reservoir level without a leak: 15 with the level failure, else 50 with the gear up to 60
// with it down (token 0x14D).
u16 green_level_normal(bool level_failed, double gear);
// Green reservoir level while leaking, from the fluid left (`reserve`), the gear and the spoilers.
u16 green_level_leaking(u16 reserve, double gear, double spoilers);

// Brake pressure from a brake token (0..32767): token / 20, whole psi.
u16 brake_psi(double token);

// Flap-handle lock: the key event that brings the flap handle toward the detent matching the
// flap angle, or 0 when it is there or no detent matches.
constexpr u32 KEY_FLAPS_INCR = 0x100DE; // the handle one detent down (more flap)
constexpr u32 KEY_FLAPS_DECR = 0x100DF; // the handle one detent back
u32 flap_lock_key(double flap_angle, double flap_handle);

// Command of a yellow pump by the servo lever, one update: selected, it goes 0 -> 3 (waiting for
// power) -> 1 (running) once the main bus is powered; not selected, 0.
void yellow_command_step(u8& command, bool selected, bool main_bus);

} // namespace hyd
