// "kestovil panel_display": the thin strip along the top of the main panel that brings up the
// overview when the mouse passes over it. "kestovil panel_overview": a picture of the cockpit
// whose parts open their windows; the part under the mouse is highlighted.
#include "module/runs.h"
#include "module/services.h"
#include "panels/panels.h"
#include "panels/windows.h"

#include <array>

namespace panels {

namespace {

enum OverviewLock : u8 { LOCK_NONE = 0, LOCK_AFTER_CHOICE = 2, LOCK_HOVER_OFF = 10 };

constexpr u32 KEY_ATC_MENU_OPEN = 0x103D1;
constexpr u32 KEY_ATC_MENU_CLOSE = 0x103D2;
constexpr FLAGS32 HOVER_AND_CLICK = MOUSE_LEFTSINGLE | MOUSE_MOVE;

// ---- the strip
// --------------------------------------------------------------------------------------------

// Passing over the strip opens the overview, unless the pilot has turned that off with a right
// click (a left click turns it back on). Right after a choice in the overview the first pass only
// clears the choice's hold, so that the overview does not spring back over the window just chosen.
BOOL FSAPI on_strip(PPIXPOINT, FLAGS32 flags) {
  if ((flags & MOUSE_RIGHTSINGLE) != 0) {
    panel_overview_lock = LOCK_HOVER_OFF;
  } else if ((flags & MOUSE_LEFTSINGLE) != 0) {
    if (panel_overview_lock == LOCK_HOVER_OFF) panel_overview_lock = LOCK_NONE;
  } else if ((flags & MOUSE_MOVE) != 0) {
    if (panel_overview_lock == LOCK_AFTER_CHOICE) {
      panel_overview_lock = LOCK_NONE;
    } else if (panel_overview_lock != LOCK_HOVER_OFF) {
      panel_overview_hilite = 0;
      sim::window_open(WIN_OVERVIEW);
    }
  }
  return 0;
}

ELEMENT_STATIC_IMAGE strip_background =
    k7::static_image(&gauge_panel_display, k7::bitmap_id(GAUGE_INDEX_panel_display, 0), {0, 0},
                     IMAGE_USE_TRANSPARENCY, K7_END);

MOUSERECT strip_mouse[] = {
    k7::mouse_parent(),
    k7::mouse_tooltip("display overview panel"),
    k7::mouse_area({0, 0, 1280, 10}, CURSOR_HAND, MOUSE_RIGHTSINGLE | MOUSE_LEFTSINGLE | MOUSE_MOVE,
                   on_strip),
    K7_MOUSE_END,
};

void FSAPI strip_callback(PGAUGEHDR, SINT32, GAUGE_EXTRA) {}

// ---- the overview
// -----------------------------------------------------------------------------------------

// The areas of the picture: where each part of the cockpit lies, the highlight it lights (0 for
// none) and what a click does. A part may be drawn in two places.
struct Area {
  PIXBOX box;
  u8 highlight;
};
constexpr Area areas[] = {
    {{459, 15, 80, 161}, 1}, {{340, 82, 119, 95}, 2}, {{353, 251, 120, 79}, 2},
    {{243, 361, 64, 36}, 3}, {{243, 294, 64, 36}, 3}, {{307, 251, 46, 43}, 4},
    {{144, 251, 44, 79}, 5}, {{243, 280, 64, 14}, 5}, {{144, 81, 196, 95}, 6},
    {{144, 15, 221, 66}, 7}, {{300, 220, 51, 31}, 8}, {{188, 397, 55, 53}, 0},
    {{243, 397, 55, 53}, 0}, {{298, 397, 55, 53}, 0}, {{0, 0, 52, 53}, 0},
};
constexpr std::size_t HIGHLIGHTED_AREAS = 11; // the first eleven areas have a highlight image
constexpr PIXBOX whole_picture = {0, 0, 539, 450};

// Chain: 0 picture, 1-11 the highlight images of the first eleven areas, each the size of its
// area and drawn over it.
constexpr ID highlight_art(std::size_t n) {
  return k7::bitmap_id(GAUGE_INDEX_panel_overview, static_cast<int>(n) + 1);
}
constexpr std::array<k7::ImageEntry, HIGHLIGHTED_AREAS> highlights() {
  std::array<k7::ImageEntry, HIGHLIGHTED_AREAS> images{};
  for (std::size_t n = 0; n < HIGHLIGHTED_AREAS; ++n)
    images[n] = {highlight_art(n), {areas[n].box.x, areas[n].box.y}, k7::HIDDEN};
  return images;
}
constexpr auto highlight_images = highlights();
using Highlights = k7::Run<gauge_panel_overview, highlight_images>;
ELEMENT_STATIC_IMAGE picture =
    k7::static_image(&gauge_panel_overview, k7::bitmap_id(GAUGE_INDEX_panel_overview, 0), {0, 0},
                     IMAGE_USE_TRANSPARENCY, Highlights::head);

void toggle_electrical() {
  toggle_windows(WIN_ELECTRICAL);
}
void toggle_hydraulics() {
  toggle_windows(WIN_HYDRAULICS, WIN_SERVOS);
}
void toggle_pedestal() {
  toggle_windows(WIN_PEDESTAL);
}
void toggle_cabin_pressure() {
  toggle_windows(WIN_CABIN_PRESSURE);
}
void toggle_engine_start() {
  toggle_windows(WIN_ENGINE_START, WIN_COMMUTATOR);
}
void toggle_upper2() {
  toggle_windows(WIN_UPPER2);
}
void toggle_upper3() {
  toggle_windows(WIN_UPPER3);
}
void toggle_clock() {
  toggle_windows(WIN_CLOCK);
}
void atc_menu() {
  sim::key_event(KEY_ATC_MENU_CLOSE);
  sim::key_event(KEY_ATC_MENU_OPEN);
}
void toggle_failures() {
  toggle_windows(WIN_FAILURES);
}
// The close button: a hold of the overview (by the lock) ends, and the overview closes below.
void close_overview() {
  panel_overview_lock = LOCK_NONE;
}

// Passing over an area highlights its part; a click acts, then the overview makes way for the
// window chosen unless it is held open.
template <std::size_t N, void (*Action)()> BOOL FSAPI on_area(PPIXPOINT, FLAGS32 flags) {
  if ((flags & MOUSE_MOVE) != 0) panel_overview_hilite = areas[N].highlight;
  if ((flags & MOUSE_LEFTSINGLE) != 0) {
    Action();
    if (panel_overview_lock == LOCK_NONE) {
      sim::window_close(WIN_OVERVIEW);
      panel_overview_lock = LOCK_AFTER_CHOICE;
      panel_overview_hilite = 0;
    }
  }
  return 0;
}

BOOL FSAPI on_picture(PPIXPOINT, FLAGS32) {
  panel_overview_hilite = 0;
  return 0;
}

template <std::size_t N, void (*Action)()> constexpr MOUSERECT area() {
  return k7::mouse_area(areas[N].box, CURSOR_HAND, HOVER_AND_CLICK, on_area<N, Action>);
}

MOUSERECT overview_mouse[] = {
    k7::mouse_parent(),
    area<0, toggle_electrical>(),
    area<1, toggle_hydraulics>(),
    area<2, toggle_hydraulics>(),
    area<3, toggle_pedestal>(),
    area<4, toggle_pedestal>(),
    area<5, toggle_cabin_pressure>(),
    area<6, toggle_engine_start>(),
    area<7, toggle_engine_start>(),
    area<8, toggle_upper2>(),
    area<9, toggle_upper3>(),
    area<10, geardoors_cycle>(),
    area<11, toggle_clock>(),
    area<12, atc_menu>(),
    area<13, toggle_failures>(),
    area<14, close_overview>(),
    // Anywhere else on the picture: nothing highlighted.
    k7::mouse_area(whole_picture, CURSOR_NONE, MOUSE_MOVE, on_picture),
    K7_MOUSE_END,
};

void FSAPI overview_callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  for (std::size_t n = 0; n < HIGHLIGHTED_AREAS; ++n)
    k7::show(Highlights::element[n],
             areas[n].highlight != 0 && areas[n].highlight == panel_overview_hilite);
}

} // namespace

} // namespace panels

K7_GAUGE_HEADER(panel_display, panels::strip_background, panels::strip_mouse,
                panels::strip_callback);
K7_GAUGE_HEADER(panel_overview, panels::picture, panels::overview_mouse, panels::overview_callback);
