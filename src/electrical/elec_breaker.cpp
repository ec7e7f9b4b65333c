// "kestovil elec_breaker_k7": the two guarded generator switches with their fault lamps. Switching
// a faulty generator off acknowledges the fault: its lamp and the electrical warning go out, and
// the generator stays off line until the fault is cleared.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"
#include "module/kit.h"
#include "sound/sound.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_elec_breaker, n);
}

// Chain: generator 1's switch images (on under its guard, on with the guard up, off), the same
// for generator 2, then the two fault lamps.
extern ELEMENT_ICON gen1_guarded, gen1_open, gen1_off, gen2_guarded, gen2_open, gen2_off;
extern ELEMENT_ICON gen1_lamp, gen2_lamp;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_elec_breaker, art(0), {0, 0}, k7::TRANSPARENT, K7_NEXT(gen1_guarded));
ELEMENT_ICON gen1_guarded =
    k7::icon(&gauge_elec_breaker, art(1), {38, 0}, k7::ART_DAY, K7_NEXT(gen1_open));
ELEMENT_ICON gen1_open =
    k7::icon(&gauge_elec_breaker, art(2), {38, 0}, k7::DAY_HIDDEN, K7_NEXT(gen1_off));
ELEMENT_ICON gen1_off =
    k7::icon(&gauge_elec_breaker, art(3), {38, 45}, k7::DAY_HIDDEN, K7_NEXT(gen2_guarded));
ELEMENT_ICON gen2_guarded =
    k7::icon(&gauge_elec_breaker, art(4), {162, 0}, k7::ART_DAY, K7_NEXT(gen2_open));
ELEMENT_ICON gen2_open =
    k7::icon(&gauge_elec_breaker, art(5), {162, 0}, k7::DAY_HIDDEN, K7_NEXT(gen2_off));
ELEMENT_ICON gen2_off =
    k7::icon(&gauge_elec_breaker, art(6), {162, 45}, k7::DAY_HIDDEN, K7_NEXT(gen1_lamp));
ELEMENT_ICON gen1_lamp =
    k7::icon(&gauge_elec_breaker, art(7), {48, 90}, k7::DAY_HIDDEN, K7_NEXT(gen2_lamp));
ELEMENT_ICON gen2_lamp = k7::icon(&gauge_elec_breaker, art(8), {174, 90}, k7::DAY_HIDDEN, K7_END);

struct Generator {
  u8& sw;
  u8& guard_open;
  u8& fault;
  u8& lamp_test;
  ELEMENT_ICON* images[3]; // on and guarded, on with the guard up, off
  ELEMENT_ICON& lamp;
};

Generator generators[] = {
    {elec_gen1_sw,
     elec_gen1_guard_open,
     elec_gen1_fault,
     elec_gen1_lamp_test,
     {&gen1_guarded, &gen1_open, &gen1_off},
     gen1_lamp},
    {elec_gen2_sw,
     elec_gen2_guard_open,
     elec_gen2_fault,
     elec_gen2_lamp_test,
     {&gen2_guarded, &gen2_open, &gen2_off},
     gen2_lamp},
};

// Upper area: lift the guard; with it up, turn the generator on; when already on, close the guard.
template <int N> BOOL FSAPI on_upper(PPIXPOINT, FLAGS32) {
  Generator& g = generators[N];
  if (g.guard_open == 0) {
    g.guard_open = 1;
  } else if (g.sw == 0) {
    sound_play(SND_CLICK);
    g.sw = 1;
  } else {
    sound_play(SND_CACHEMETAL);
    g.guard_open = 0;
  }
  return 0;
}

// Lower area: lift the guard; with it up, turn the generator off.
template <int N> BOOL FSAPI on_lower(PPIXPOINT, FLAGS32) {
  Generator& g = generators[N];
  if (g.guard_open == 0) {
    g.guard_open = 1;
  } else if (g.sw != 0) {
    sound_play(SND_CLICK);
    g.sw = 0;
  }
  return 0;
}

template <int N> BOOL FSAPI on_lamp(PPIXPOINT, FLAGS32) {
  generators[N].lamp_test = 1;
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({38, 0, 50, 45}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_upper<0>),
    k7::mouse_area({38, 45, 50, 45}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_lower<0>),
    k7::mouse_area({162, 0, 50, 45}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_upper<1>),
    k7::mouse_area({162, 45, 50, 45}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_lower<1>),
    k7::mouse_area({48, 90, 30, 30}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_lamp<0>),
    k7::mouse_area({174, 90, 30, 30}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_lamp<1>),
    K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  // Both switches first, then both lamps, so that one generator switched off does not put out
  // the warning that the other one's fault raises.
  for (Generator& g : generators) {
    const std::size_t image = g.sw == 0 ? 2 : (g.guard_open == 0 ? 0 : 1);
    k7::show_position(g.images, image);
    if (g.sw == 0) {
      if (g.fault == 1) g.fault = 2;
      g.lamp_test = 0;
      elec_warn_elec = 0;
    }
  }
  for (Generator& g : generators) {
    const bool lit = elec_bus_ess != 0 && (g.lamp_test != 0 || g.fault == 1);
    k7::show(g.lamp, lit);
    if (lit) elec_warn_elec = 1;
  }
}

} // namespace

K7_GAUGE_HEADER(elec_breaker, background, mouse, callback);
