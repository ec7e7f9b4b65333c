// "kestovil elec_break_reset_k7": the spring-loaded breaker reset switch and the two generator
// lamps of the reset panel. A generator fault lights and latches its lamp; holding the switch
// toward that generator puts the lamp and the electrical warning out.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"
#include "module/kit.h"

namespace {

constexpr ID art(int n) {
  return k7::bitmap_id(GAUGE_INDEX_elec_break_reset, n);
}

extern ELEMENT_ICON switch_left, switch_centre, switch_right, lamp1, lamp2;

ELEMENT_STATIC_IMAGE background = k7::static_image(&gauge_elec_break_reset, art(0), {0, 0},
                                                   k7::TRANSPARENT, K7_NEXT(switch_left));
ELEMENT_ICON switch_left =
    k7::icon(&gauge_elec_break_reset, art(1), {73, 0}, k7::DAY_HIDDEN, K7_NEXT(switch_centre));
ELEMENT_ICON switch_centre =
    k7::icon(&gauge_elec_break_reset, art(2), {96, 0}, k7::ART_DAY, K7_NEXT(switch_right));
ELEMENT_ICON switch_right =
    k7::icon(&gauge_elec_break_reset, art(3), {118, 0}, k7::DAY_HIDDEN, K7_NEXT(lamp1));
ELEMENT_ICON lamp1 =
    k7::icon(&gauge_elec_break_reset, art(4), {3, 12}, k7::DAY_HIDDEN, K7_NEXT(lamp2));
ELEMENT_ICON lamp2 = k7::icon(&gauge_elec_break_reset, art(5), {206, 12}, k7::DAY_HIDDEN, K7_END);

ELEMENT_ICON* switch_images[] = {&switch_left, &switch_centre, &switch_right};

// The switch is held while the host repeats the click: it starts 10 steps out and each repeat
// pushes it 2 further, so it springs back only once the button is let go.
BOOL FSAPI on_left(PPIXPOINT, FLAGS32) {
  if (elec_reset_sw == 0)
    elec_reset_sw = -10;
  else if (elec_reset_sw >= -10 && elec_reset_sw <= -1)
    elec_reset_sw = static_cast<i8>(elec_reset_sw - 2);
  return 0;
}
BOOL FSAPI on_right(PPIXPOINT, FLAGS32) {
  if (elec_reset_sw == 0)
    elec_reset_sw = 10;
  else if (elec_reset_sw >= 1 && elec_reset_sw <= 10)
    elec_reset_sw = static_cast<i8>(elec_reset_sw + 2);
  return 0;
}
template <u8& Request> BOOL FSAPI on_lamp(PPIXPOINT, FLAGS32) {
  Request = 1;
  return 0;
}

constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({73, 0, 45, 45}, CURSOR_HAND, HELD, on_left),
    k7::mouse_area({118, 0, 45, 45}, CURSOR_HAND, HELD, on_right),
    k7::mouse_area({3, 12, 30, 30}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_lamp<elec_reset_lamp1_req>),
    k7::mouse_area({206, 12, 30, 30}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_lamp<elec_reset_lamp2_req>),
    K7_MOUSE_END,
};

void reset(u8& request, u8& latch) {
  request = 0;
  latch = 0;
  elec_warn_elec = 0;
}

// Lamp of one generator: pressed, or its generator's fault (which raises the warning and latches
// the lamp), or latched; dark without the essential bus.
void lamp(ELEMENT_ICON& element, u8 request, u8& latch, u8 fault) {
  bool lit = false;
  if (elec_bus_ess != 0) {
    if (fault == 1) {
      elec_warn_elec = 1;
      latch = 2;
    }
    lit = request == 1 || fault == 1 || latch == 2;
  }
  k7::show(element, lit);
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  if (elec_reset_sw < 0) reset(elec_reset_lamp1_req, elec_reset_lamp1_latch);
  if (elec_reset_sw > 0) reset(elec_reset_lamp2_req, elec_reset_lamp2_latch);
  lamp(lamp1, elec_reset_lamp1_req, elec_reset_lamp1_latch, elec_gen1_fault);
  lamp(lamp2, elec_reset_lamp2_req, elec_reset_lamp2_latch, elec_gen2_fault);
  k7::show_position(switch_images, elec_reset_sw < 0 ? 0 : (elec_reset_sw == 0 ? 1 : 2));
  if (elec_reset_sw < 0) ++elec_reset_sw;
  if (elec_reset_sw > 0) --elec_reset_sw;
}

} // namespace

K7_GAUGE_HEADER(elec_break_reset, background, mouse, callback);
