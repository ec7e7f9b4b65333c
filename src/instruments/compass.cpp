// "kestovil compass_k7": the standby magnetic compass. It has no gauge callback: its card strip
// reads the magnetic heading itself. A click on it opens or closes the simulator's ATC window.
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/services.h"

namespace {

constexpr u32 KEY_ATC_OPEN = 0x103D1;
constexpr u32 KEY_ATC_CLOSE = 0x103D2;

MODULE_VAR compass_heading = sim::token(0x53);

FAILURE_RECORD compass_failure[] = {{FAIL_SYSTEM_MAGNETIC_COMPASS, FAIL_ACTION_FREEZE, 0},
                                    {FAIL_NONE, FAIL_ACTION_NONE, 0}};

// The strip runs 0..360 across its window: north at 360 - heading; a heading off the dial shows 0.
FLOAT64 FSAPI card_position(ELEMENT_MOVING_IMAGE*) {
  const double position = 360.0 - sim::read_finite(compass_heading);
  return position >= 0.0 && position <= 360.0 ? position : 0.0;
}
FLOAT64 FSAPI no_shift(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}

extern ELEMENT_MOVING_IMAGE card;
ELEMENT_STATIC_IMAGE face = k7::static_image(&gauge_compass, k7::bitmap_id(GAUGE_INDEX_compass, 0),
                                             {0, 0}, k7::TRANSPARENT, K7_NEXT(card));
ELEMENT_MOVING_IMAGE card = [] {
  auto e = k7::moving_image(&gauge_compass, 22544, {22, 41}, k7::TRANSPARENT,
                            {card_position, 0, 360}, {no_shift, 0, 0}, K7_END);
  e.header.failure_systems = compass_failure;
  return e;
}();

BOOL FSAPI on_atc(PPIXPOINT, FLAGS32) {
  if (atc_window_open == 1) {
    sim::key_event(KEY_ATC_CLOSE, 0);
    atc_window_open = 0;
  } else {
    sim::key_event(KEY_ATC_OPEN, 0);
    atc_window_open = 1;
  }
  return FALSE_K7;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_tooltip("toggle atc window"),
    k7::mouse_area({0, 0, 118, 124}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_atc),
    K7_MOUSE_END,
};

} // namespace

K7_GAUGE_HEADER(compass, face, mouse, nullptr);
