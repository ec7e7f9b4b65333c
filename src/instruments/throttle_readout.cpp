// "kestovil th_val_k7": both throttle levers in percent on drums, shown for a while after a lever
// moves. A click switches the automatic display off (its label shows for a moment) or back on.
// With an engine 1 fire the left readout shows lever 2; once its extinguisher has fired, 000.
#include "instruments/instruments.h"
#include "module/daynight.h"
#include "module/services.h"
#include "warnings/warnings.h"

#include <cmath>
#include <initializer_list>

i32 thr_digits_left[3] = {};
i32 thr_digits_right[3] = {};
i32 thr_sample_a[2] = {};
i32 thr_sample_b[2] = {};

namespace {

constexpr i32 SHOW_TICKS = 36;
enum : u8 { AUTOMATIC = 0, SWITCHED_OFF = 1, LABEL_SHOWING = 2 };
enum : u8 { QUIET = 0, SHOWING = 1, MOVED_AGAIN = 2 };

// ---- elements
// -------------------------------------------------------------------------------------------

FLOAT64 FSAPI no_shift(ELEMENT_MOVING_IMAGE*) {
  return 0.0;
}
template <i32 (&Digits)[3], int I> FLOAT64 FSAPI digit(ELEMENT_MOVING_IMAGE*) {
  return Digits[I];
}

constexpr ELEMENT_MOVING_IMAGE drum(PIXPOINT at, PMOVING_UPDATE_CB value, PELEMENT_HEADER* next) {
  return k7::moving_image(&gauge_th_val, 28752, at, k7::HIDDEN, {no_shift, 0, 0}, {value, 0, 10},
                          next);
}

// Chain: 0 background, 1-3 left drums (hundreds, tens, units), 4-6 right drums, 7 label.
extern ELEMENT_MOVING_IMAGE left_h, left_t, left_u, right_h, right_t, right_u;
extern ELEMENT_ICON label;
ELEMENT_STATIC_IMAGE background = k7::static_image(
    &gauge_th_val, k7::bitmap_id(GAUGE_INDEX_th_val, 0), {0, 0}, k7::TRANSPARENT, K7_NEXT(left_h));
ELEMENT_MOVING_IMAGE left_h = drum({0, 0}, digit<thr_digits_left, 0>, K7_NEXT(left_t));
ELEMENT_MOVING_IMAGE left_t = drum({12, 0}, digit<thr_digits_left, 1>, K7_NEXT(left_u));
ELEMENT_MOVING_IMAGE left_u = drum({24, 0}, digit<thr_digits_left, 2>, K7_NEXT(right_h));
ELEMENT_MOVING_IMAGE right_h = drum({87, 0}, digit<thr_digits_right, 0>, K7_NEXT(right_t));
ELEMENT_MOVING_IMAGE right_t = drum({99, 0}, digit<thr_digits_right, 1>, K7_NEXT(right_u));
ELEMENT_MOVING_IMAGE right_u = drum({111, 0}, digit<thr_digits_right, 2>, K7_NEXT(label));
ELEMENT_ICON label = k7::icon(&gauge_th_val, 28736, {36, 0}, k7::HIDDEN, K7_END);

BOOL FSAPI on_readout(PPIXPOINT, FLAGS32) {
  if (thr_readout_mode != AUTOMATIC) {
    thr_readout_mode = AUTOMATIC;
    thr_moved = SHOWING; // on at once
  } else {
    thr_readout_mode = LABEL_SHOWING;
  }
  return 0;
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({0, 0, 123, 16}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_readout),
    K7_MOUSE_END,
};

// ---- the update
// -----------------------------------------------------------------------------------------

MODULE_VAR throttle1_var = sim::token(0x22E);
MODULE_VAR throttle2_var = sim::token(0x238);
MODULE_VAR tick_var = sim::token(0x1);

// Hundreds, tens and units of a lever position (a fraction: 1.0 reads 100), a reverse position by
// its magnitude.
void set_digits(i32 (&digits)[3], double lever) {
  const double v = k7::clamp(std::fabs(lever), 0.0, 9.99);
  const double hundreds = std::trunc(v);
  const double tens = std::trunc(10 * v - 10 * hundreds);
  const double units = std::trunc(100 * v - (10 * tens + 100 * hundreds));
  digits[0] = static_cast<i32>(hundreds);
  digits[1] = k7::clamp(static_cast<i32>(tens), 0, 9);
  digits[2] = k7::clamp(static_cast<i32>(units), 0, 9);
}

i32 ticks_on(i32 tick) {
  return static_cast<i32>(k7::clamp<i64>(static_cast<i64>(tick) + SHOW_TICKS, 0, 2147483647));
}

// A lever moved since the reference sample: the reference is taken on one update and compared
// on the following ones until they differ.
void detect_movement(double lever1, double lever2) {
  const i32 now[2] = {k7::clamp(k7::sat_cast<i32>(lever1 * 100), -100, 100),
                      k7::clamp(k7::sat_cast<i32>(lever2 * 100), -100, 100)};
  if (thr_sample_phase == 0) {
    thr_sample_a[0] = now[0];
    thr_sample_a[1] = now[1];
    thr_sample_phase = 1;
    return;
  }
  thr_sample_b[0] = now[0];
  thr_sample_b[1] = now[1];
  if (thr_sample_b[0] != thr_sample_a[0] || thr_sample_b[1] != thr_sample_a[1]) {
    thr_moved = thr_moved == QUIET ? SHOWING : MOVED_AGAIN;
    thr_sample_phase = 0;
  }
}

// Whether the drums show: from a movement until 36 ticks after the last one.
bool automatic_display(i32 tick) {
  if (thr_moved == SHOWING && thr_show_run == 0) {
    thr_show_run = 1;
    thr_show_end = ticks_on(tick);
  } else if (thr_moved == MOVED_AGAIN && thr_show_run == 1) {
    thr_show_end = ticks_on(tick);
    thr_moved = SHOWING;
  }
  if (thr_show_run == 1 && thr_show_end > tick) return true;
  thr_moved = QUIET;
  thr_show_run = 0;
  return false;
}

// The label of the switched-off display shows for 36 ticks after the click.
void update_label(i32 tick) {
  if (thr_readout_mode != LABEL_SHOWING) {
    thr_label_run = 0;
    return;
  }
  if (thr_label_run == 0) {
    thr_label_run = 1;
    thr_label_end = ticks_on(tick);
  } else if (tick >= thr_label_end) {
    thr_label_run = 0;
    thr_readout_mode = SWITCHED_OFF;
  }
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double lever1 = sim::read_finite(throttle1_var);
  const double lever2 = sim::read_finite(throttle2_var);
  const i32 tick = k7::clamp(k7::sat_cast<i32>(sim::read_finite(tick_var)), 0, 2147483647);

  set_digits(thr_digits_left, eng1_fire == 1 ? lever2 : (eng1_extinct_fired == 1 ? 0.0 : lever1));
  set_digits(thr_digits_right, lever2);
  detect_movement(lever1, lever2);

  bool drums = false;
  if (thr_readout_mode == AUTOMATIC) {
    drums = automatic_display(tick);
  } else {
    thr_moved = QUIET;
    thr_show_run = 0;
  }
  update_label(tick);
  for (ELEMENT_MOVING_IMAGE* d : {&left_h, &left_t, &left_u, &right_h, &right_t, &right_u})
    k7::show(*d, drums);
  k7::show(label, thr_readout_mode == LABEL_SHOWING && thr_label_run == 1);
}

} // namespace

K7_GAUGE_HEADER(th_val, background, mouse, callback);
