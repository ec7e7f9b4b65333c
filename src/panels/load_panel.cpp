// "kestovil panload": the load panel the start-up sequence shows after the flight is loaded. Its
// left half starts the flight cold and dark, its right half with the engines running.
#include "module/runs.h"
#include "module/services.h"
#include "panels/panels.h"
#include "panels/windows.h"

namespace panels {

namespace {

enum Half : u8 { NEITHER = 0, LEFT = 1, RIGHT = 2 };

constexpr PIXBOX halves[] = {{0, 45, 270, 199}, {270, 45, 269, 199}};
constexpr PIXBOX whole_panel = {0, 0, 539, 244};

// Chain: 0 background, 1 left half highlighted, 2 right half highlighted (each the size of its
// half).
constexpr k7::ImageEntry half_images[] = {
    {k7::bitmap_id(GAUGE_INDEX_panload, 1), {halves[0].x, halves[0].y}, k7::HIDDEN},
    {k7::bitmap_id(GAUGE_INDEX_panload, 2), {halves[1].x, halves[1].y}, k7::HIDDEN},
};
using HalfImages = k7::Run<gauge_panload, half_images>;
ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_panload, k7::bitmap_id(GAUGE_INDEX_panload, 0), {0, 0},
                     IMAGE_USE_TRANSPARENCY, HalfImages::head);

// Passing over a half highlights it; a click on it is the pilot's choice (1 cold and dark, 2
// running), and the panel closes.
template <Half H> BOOL FSAPI on_half(PPIXPOINT, FLAGS32 flags) {
  if ((flags & MOUSE_MOVE) != 0) panel_load_hilite = H;
  if ((flags & MOUSE_LEFTSINGLE) != 0) {
    panel_load_choice = H;
    panel_load_hilite = NEITHER;
    sim::window_close(WIN_LOAD);
  }
  return 0;
}

BOOL FSAPI on_elsewhere(PPIXPOINT, FLAGS32) {
  panel_load_hilite = NEITHER;
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area(halves[0], CURSOR_HAND, MOUSE_LEFTSINGLE | MOUSE_MOVE, on_half<LEFT>),
    k7::mouse_area(halves[1], CURSOR_HAND, MOUSE_LEFTSINGLE | MOUSE_MOVE, on_half<RIGHT>),
    k7::mouse_area(whole_panel, CURSOR_NONE, MOUSE_MOVE, on_elsewhere),
    K7_MOUSE_END,
};

// The start-up sequence learns from this callback that the panel has a load panel.
void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  panel_load_present = 1;
  k7::show(HalfImages::element[0], panel_load_hilite == LEFT);
  k7::show(HalfImages::element[1], panel_load_hilite == RIGHT);
}

} // namespace

} // namespace panels

K7_GAUGE_HEADER(panload, panels::background, panels::mouse, panels::callback);
