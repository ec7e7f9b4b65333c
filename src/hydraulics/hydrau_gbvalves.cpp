// "kestovil hydrau_gbvalves_k7": the four shut-off valves of the engine-driven pumps under their
// common guard, and behind them the four pumps and the green and blue circuit pressures.
#include "electrical/electrical.h"
#include "module/daynight.h"
#include "hydraulics/hyd_logic.h"
#include "hydraulics/hyd_sim.h"
#include "hydraulics/hydraulics.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_hydrau_gbvalves, n);
}

// Chain: 0 face, 1 night face; per valve (green 1, green 2, blue 1, blue 2) its open and shut
// images, day and night (2..17); the guard closed (18, 19) and open (20, 21).
extern ELEMENT_ICON face_night;
extern ELEMENT_ICON g1_open_day, g1_open_night, g1_shut_day, g1_shut_night;
extern ELEMENT_ICON g2_open_day, g2_open_night, g2_shut_day, g2_shut_night;
extern ELEMENT_ICON b1_open_day, b1_open_night, b1_shut_day, b1_shut_night;
extern ELEMENT_ICON b2_open_day, b2_open_night, b2_shut_day, b2_shut_night;
extern ELEMENT_ICON guard_closed_day, guard_closed_night, guard_open_day, guard_open_night;

constexpr PGAUGEHDR g = &gauge_hydrau_gbvalves;
ELEMENT_STATIC_IMAGE face = k7::static_image(g, art(0), {0, 0}, k7::ART_DAY, K7_NEXT(face_night));
ELEMENT_ICON face_night =
    k7::icon(g, art(1), {0, 0}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(g1_open_day));
ELEMENT_ICON g1_open_day = k7::icon(g, art(2), {21, 15}, k7::ART_DAY, K7_NEXT(g1_open_night));
ELEMENT_ICON g1_open_night =
    k7::icon(g, art(3), {21, 15}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(g1_shut_day));
ELEMENT_ICON g1_shut_day =
    k7::icon(g, art(4), {21, 15}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(g1_shut_night));
ELEMENT_ICON g1_shut_night =
    k7::icon(g, art(5), {21, 15}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(g2_open_day));
ELEMENT_ICON g2_open_day = k7::icon(g, art(6), {90, 10}, k7::ART_DAY, K7_NEXT(g2_open_night));
ELEMENT_ICON g2_open_night =
    k7::icon(g, art(7), {90, 10}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(g2_shut_day));
ELEMENT_ICON g2_shut_day =
    k7::icon(g, art(8), {90, 10}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(g2_shut_night));
ELEMENT_ICON g2_shut_night =
    k7::icon(g, art(9), {90, 10}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(b1_open_day));
ELEMENT_ICON b1_open_day = k7::icon(g, art(10), {167, 4}, k7::ART_DAY, K7_NEXT(b1_open_night));
ELEMENT_ICON b1_open_night =
    k7::icon(g, art(11), {167, 4}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(b1_shut_day));
ELEMENT_ICON b1_shut_day =
    k7::icon(g, art(12), {167, 4}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(b1_shut_night));
ELEMENT_ICON b1_shut_night =
    k7::icon(g, art(13), {167, 4}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(b2_open_day));
ELEMENT_ICON b2_open_day = k7::icon(g, art(14), {248, 0}, k7::ART_DAY, K7_NEXT(b2_open_night));
ELEMENT_ICON b2_open_night =
    k7::icon(g, art(15), {248, 0}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(b2_shut_day));
ELEMENT_ICON b2_shut_day =
    k7::icon(g, art(16), {248, 0}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(b2_shut_night));
ELEMENT_ICON b2_shut_night =
    k7::icon(g, art(17), {248, 0}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(guard_closed_day));
ELEMENT_ICON guard_closed_day =
    k7::icon(g, art(18), {14, 0}, k7::ART_DAY, K7_NEXT(guard_closed_night));
ELEMENT_ICON guard_closed_night =
    k7::icon(g, art(19), {14, 0}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_NEXT(guard_open_day));
ELEMENT_ICON guard_open_day =
    k7::icon(g, art(20), {14, 0}, k7::ART_DAY | IMAGE_HIDDEN, K7_NEXT(guard_open_night));
ELEMENT_ICON guard_open_night = k7::icon(g, art(21), {14, 0}, k7::ART_NIGHT | IMAGE_HIDDEN, K7_END);

const k7::DayNight face_art = {&face.header, &face_night.header};
// Positions: 0 shut, 1 open.
const k7::DayNight valve_art[4][2] = {
    {{&g1_shut_day.header, &g1_shut_night.header}, {&g1_open_day.header, &g1_open_night.header}},
    {{&g2_shut_day.header, &g2_shut_night.header}, {&g2_open_day.header, &g2_open_night.header}},
    {{&b1_shut_day.header, &b1_shut_night.header}, {&b1_open_day.header, &b1_open_night.header}},
    {{&b2_shut_day.header, &b2_shut_night.header}, {&b2_open_day.header, &b2_open_night.header}},
};
const k7::DayNight guard_art[2] = {
    {&guard_closed_day.header, &guard_closed_night.header},
    {&guard_open_day.header, &guard_open_night.header},
};

MODULE_VAR eng1_n2 = sim::token(hyd::TOKEN_ENG1_N2);
MODULE_VAR eng2_n2 = sim::token(hyd::TOKEN_ENG2_N2);

// One engine-driven pump with its valve.
struct EnginePump {
  u8& command;
  u8& travel;
  u16& press;
  u8& settled;
  int engine; // 0 or 1
  const u16& level;
  const u8& failed;
};
const u8 never_fails = 0;
const EnginePump pumps[4] = {
    {hydrau_valve_g1, hydrau_valve_g1_pos, hydrau_pump_g1_press, hydrau_pump_g1_settled, 0,
     hydrau_level_green, hydrau_fail_g1},
    {hydrau_valve_g2, hydrau_valve_g2_pos, hydrau_pump_g2_press, hydrau_pump_g2_settled, 1,
     hydrau_level_green, hydrau_fail_g2},
    {hydrau_valve_b1, hydrau_valve_b1_pos, hydrau_pump_b1_press, hydrau_pump_b1_settled, 0,
     hydrau_level_blue, never_fails},
    {hydrau_valve_b2, hydrau_valve_b2_pos, hydrau_pump_b2_press, hydrau_pump_b2_settled, 1,
     hydrau_level_blue, never_fails},
};

// Up area: a shut valve opens; an open one lets the guard close over the switches.
template <int V> BOOL FSAPI on_up(PPIXPOINT, FLAGS32) {
  if (pumps[V].command == 0) {
    k7::switch_to(pumps[V].command, 1);
  } else if (hydrau_valves_guard_open != 0) {
    hydrau_valves_guard_open = 0;
    sound_play(SND_CACHEMETAL);
  }
  return FALSE_K7;
}

// Down area: a closed guard opens first; with the guard open an open valve shuts.
template <int V> BOOL FSAPI on_down(PPIXPOINT, FLAGS32) {
  if (hydrau_valves_guard_open == 0)
    hydrau_valves_guard_open = 1;
  else if (pumps[V].command != 0)
    k7::switch_to(pumps[V].command, 0);
  return FALSE_K7;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({21, 15, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_up<0>),
    k7::mouse_area({21, 60, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_down<0>),
    k7::mouse_area({90, 10, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_up<1>),
    k7::mouse_area({90, 55, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_down<1>),
    k7::mouse_area({167, 4, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_up<2>),
    k7::mouse_area({167, 49, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_down<2>),
    k7::mouse_area({248, 0, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_up<3>),
    k7::mouse_area({248, 45, 50, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_down<3>),
    K7_MOUSE_END,
};

void update() {
  const double n2[2] = {sim::read_finite(eng1_n2), sim::read_finite(eng2_n2)};
  for (const EnginePump& p : pumps) {
    // The valves are driven from the essential bus; without it they stay where they are.
    if (elec_bus_ess != 0) {
      if (p.command != 0 && p.travel < 30) ++p.travel;
      if (p.command == 0 && p.travel > 0) --p.travel;
    }
    const bool driven = p.travel >= 20 && n2[p.engine] >= 20.0 && p.level >= 21 && p.failed == 0;
    hyd::engine_pump_step(p.press, p.settled, driven);
  }
  hydrau_press_green =
      hydrau_pump_g1_press > hydrau_pump_g2_press ? hydrau_pump_g1_press : hydrau_pump_g2_press;
  hydrau_press_blue =
      hydrau_pump_b1_press > hydrau_pump_b2_press ? hydrau_pump_b1_press : hydrau_pump_b2_press;

  k7::draw(face_art);
  for (int v = 0; v < 4; ++v)
    k7::draw_position(valve_art[v], pumps[v].command != 0 ? 1u : 0u);
  k7::draw_position(guard_art, hydrau_valves_guard_open != 0 ? 1u : 0u);
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service == PANEL_SERVICE_PRE_UPDATE) update();
}

} // namespace

K7_GAUGE_HEADER(hydrau_gbvalves, face, mouse, callback);
