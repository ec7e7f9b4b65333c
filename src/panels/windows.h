// The pop-up windows of the cockpit by id, the gear/doors window cycle, and the pop-up toggle
// gauge: a small picture on a panel that opens and closes windows when clicked.
#pragma once

#include "autopilot/autopilot.h"
#include "module/gauge.h"
#include "module/services.h"

#include <cstddef>

namespace panels {

// Window ids (the panel configuration's `ident`).
enum WindowId : u32 {
  WIN_PEDESTAL = 10040,
  WIN_AUTOPILOT = 10050,
  WIN_HYDRAULICS = 10060,
  WIN_SERVOS = 10070, // always with the hydraulic panel
  WIN_ELECTRICAL = 10080,
  WIN_ENGINE_START = 10090,
  WIN_COMMUTATOR = 10100, // always with the engine start panel
  WIN_UPPER2 = 10110,
  WIN_UPPER3 = 10120,
  WIN_CLOCK = 10130,
  WIN_DOORS = 10140,
  WIN_GEAR = 10150,
  WIN_CABIN_PRESSURE = 10160,
  WIN_FAILURES = 10170,
  WIN_GPS = 10180,
  WIN_OVERVIEW = 10510,
  WIN_LOAD = 10520,
};

// Toggles one window, or a pair handled together, through the panel service.
inline void toggle_windows(u32 first, u32 second = 0) {
  sim::window_toggle(first);
  if (second != 0) sim::window_toggle(second);
}

// The gear and doors indicators share one toggle. On the ground it steps through doors only, gear
// only, neither; airborne the doors window closes and the gear window toggles.
void geardoors_cycle();

// ---- the pop-up toggle gauge
// -------------------------------------------------------------------------

// The click of a toggle: toggles its window, or its pair of windows.
template <u32 First, u32 Second = 0> BOOL FSAPI toggle_click(PPIXPOINT, FLAGS32) {
  toggle_windows(First, Second);
  return 0;
}

// Work of its own that a toggle gauge carries besides its icon (the sounds, the start-up
// sequence, the hydraulic-loss automation), given every service message.
using ToggleWork = void (*)(SINT32 service, GAUGE_EXTRA extra);

// A toggle: one click area over the whole gauge (width x height) with the hand cursor and its
// tooltip, and the gauge's icon over its background, drawn while the blink phase is 1.
// Chain: 0 background, 1 icon.
template <GAUGEHDR& Gauge, int Index, int Width, int Height, const char* Tooltip,
          PMOUSE_FUNCTION Click, ToggleWork Work = nullptr>
struct Toggle {
  static ELEMENT_ICON icon;
  static ELEMENT_STATIC_IMAGE background;
  static MOUSERECT mouse[5];

  static void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA extra) {
    if (service == PANEL_SERVICE_PRE_UPDATE) k7::show(icon, blink_phase == 1);
    if constexpr (Work != nullptr) Work(service, extra);
  }
};

template <GAUGEHDR& Gauge, int Index, int Width, int Height, const char* Tooltip,
          PMOUSE_FUNCTION Click, ToggleWork Work>
ELEMENT_ICON Toggle<Gauge, Index, Width, Height, Tooltip, Click, Work>::icon = k7::icon(
    &Gauge, k7::bitmap_id(Index, 1), {0, 0}, IMAGE_USE_TRANSPARENCY | IMAGE_HIDDEN, K7_END);

template <GAUGEHDR& Gauge, int Index, int Width, int Height, const char* Tooltip,
          PMOUSE_FUNCTION Click, ToggleWork Work>
ELEMENT_STATIC_IMAGE Toggle<Gauge, Index, Width, Height, Tooltip, Click, Work>::background =
    k7::static_image(&Gauge, k7::bitmap_id(Index, 0), {0, 0}, IMAGE_USE_TRANSPARENCY,
                     K7_NEXT(icon));

template <GAUGEHDR& Gauge, int Index, int Width, int Height, const char* Tooltip,
          PMOUSE_FUNCTION Click, ToggleWork Work>
MOUSERECT Toggle<Gauge, Index, Width, Height, Tooltip, Click, Work>::mouse[5] = {
    k7::mouse_parent(),
    k7::mouse_tooltip(Tooltip),
    k7::mouse_area({0, 0, Width, Height}, CURSOR_HAND, MOUSE_LEFTSINGLE, Click),
    K7_MOUSE_END,
};

} // namespace panels
