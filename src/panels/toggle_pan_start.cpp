// "kestovil toggle_pan_start": the pop-up toggle of the engine start / TADG / battery commutator
// windows, and the owner of the cockpit's sounds: they are loaded when this gauge is installed
// and released when it is killed.
#include "module/gauge.h"
#include "module/services.h"
#include "sound/sound.h"

namespace {

constexpr u32 WINDOW_ENGINE_START = 10090;
constexpr u32 WINDOW_TADG_COMMUTATOR = 10100;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_toggle_pan_start, k7::bitmap_id(GAUGE_INDEX_toggle_pan_start, 0),
                     {0, 0}, IMAGE_USE_TRANSPARENCY, K7_END);

BOOL FSAPI on_toggle(PPIXPOINT, FLAGS32) {
  sim::window_toggle(WINDOW_ENGINE_START);
  sim::window_toggle(WINDOW_TADG_COMMUTATOR);
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_tooltip("display/hide start/TADG/commut bat"),
    k7::mouse_area({0, 0, 70, 70}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_toggle),
    K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA extra) {
  switch (service) {
  case PANEL_SERVICE_PRE_INSTALL: sound_install(extra); break;
  case PANEL_SERVICE_PRE_KILL: sound_kill(); break;
  default: break;
  }
}

} // namespace

K7_GAUGE_HEADER(toggle_pan_start, background, mouse, callback);
