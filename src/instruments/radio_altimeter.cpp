// "kestovil ralt_k7": the radio altimeter. Switched on with the main AC bus it warms up for 180
// ticks, then tracks the radio height up to 5000 ft, where it switches itself off. A decision
// height lamp lights at or below the height set; a lamp test, a test button and a self-test that
// drives the pointer to 115 ft each stay in for 36 ticks.
#include "electrical/electrical.h"
#include "instruments/airdata_kit.h"
#include "instruments/instruments.h"
#include "instruments/ralt_shared.h"
#include "module/daynight.h"

namespace {

constexpr i32 WARM_UP_TICKS = 180;
constexpr i32 BUTTON_TICKS = 36;
constexpr double SWITCH_OFF_FEET = 5000.0;
constexpr double POINTER_MAX = 2750.0;
constexpr u32 DH_MAX = 2500;
constexpr u32 DH_STEP = 5;
constexpr double METRES_TO_FEET = 3.281;

MODULE_VAR radio_height = sim::token(0x266); // metres

// Without a valid height the pointer runs down: fast from high up, slowly near the ground.
double wound_down(double pointer) {
  if (pointer > 500.0) return pointer - 50.0;
  if (pointer > 0.0) return pointer > 10.0 ? pointer - 10.0 : 0.0;
  return 0.0;
}

double tracked(double pointer, double h) {
  if (pointer > h + 500.0) return pointer - 50.0;
  if (pointer > h + 10.0) return pointer - 10.0;
  if (pointer < h - 10.0) return pointer + 50.0;
  return h;
}

// The self-test drives the pointer to 115 ft and holds it there.
double self_tested(double pointer) {
  if (pointer < 110.0) return pointer + 5.0;
  if (pointer > 500.0) return pointer - 10.0;
  if (pointer > 120.0) return pointer - 5.0;
  return 115.0;
}

// ---- elements
// ------------------------------------------------------------------------------------------

constexpr NONLINEARITY dial[] = {
    {{105, 14}, 0, 0},    {{142, 23}, 50, 0},   {{171, 53}, 100, 0},  {{180, 93}, 150, 0},
    {{157, 142}, 200, 0}, {{134, 157}, 250, 0}, {{105, 163}, 300, 0}, {{66, 153}, 500, 0},
    {{51, 140}, 600, 0},  {{41, 127}, 700, 0},  {{34, 114}, 800, 0},  {{31, 101}, 900, 0},
    {{30, 88}, 1000, 0},  {{43, 46}, 1500, 0},  {{72, 21}, 2000, 0},  {{96, 14}, 2750, 0},
};
constexpr PIXPOINT PIVOT{105, 88};
constexpr FLAGS NEEDLE = IMAGE_USE_TRANSPARENCY | IMAGE_BILINEAR_COLOR;

FLOAT64 FSAPI pointer_value(ELEMENT_NEEDLE*) {
  ralt_ind = k7::clamp(ralt_ind, 0.0, POINTER_MAX);
  return ralt_ind;
}
FLOAT64 FSAPI dh_value(ELEMENT_NEEDLE*) {
  if (ralt_dh > DH_MAX) ralt_dh = DH_MAX;
  return ralt_dh;
}

// Chain: 0 face, 1 fixed icon, 2 decision height index, 3 pointer, 4 OFF flag, 5 warm-up light,
// 6 pressed test button, 7 decision height lamp.
extern ELEMENT_ICON fixed_icon, off_flag, warm_light, test_image, dh_lamp;
extern ELEMENT_NEEDLE dh_index, pointer;

ELEMENT_STATIC_IMAGE face = k7::static_image(&gauge_ralt, k7::bitmap_id(GAUGE_INDEX_ralt, 0),
                                             {0, 0}, k7::TRANSPARENT, K7_NEXT(fixed_icon));
ELEMENT_ICON fixed_icon = k7::icon(&gauge_ralt, 6528, {94, 16}, k7::TRANSPARENT, K7_NEXT(dh_index));
ELEMENT_NEEDLE dh_index =
    k7::needle(&gauge_ralt, 6480, PIVOT, {-62, 8}, NEEDLE, dh_value, dial, 0, K7_NEXT(pointer));
ELEMENT_NEEDLE pointer = k7::needle(&gauge_ralt, 6496, PIVOT, {-13, 5}, NEEDLE, pointer_value, dial,
                                    0, K7_NEXT(off_flag));
ELEMENT_ICON off_flag =
    k7::icon(&gauge_ralt, 6512, {111, 33}, k7::TRANSPARENT, K7_NEXT(warm_light));
ELEMENT_ICON warm_light = k7::icon(&gauge_ralt, 8224, {165, 8}, k7::HIDDEN, K7_NEXT(test_image));
ELEMENT_ICON test_image = k7::icon(&gauge_ralt, 8208, {165, 8}, k7::HIDDEN, K7_NEXT(dh_lamp));
ELEMENT_ICON dh_lamp = k7::icon(&gauge_ralt, 8192, {24, 148}, k7::HIDDEN, K7_END);

// ---- clicks
// ------------------------------------------------------------------------------------------------

bool powered() {
  return elec_ac_main == 1;
}

BOOL FSAPI on_switch_off(PPIXPOINT, FLAGS32) {
  ralt_on = 0;
  return FALSE_K7;
}
BOOL FSAPI on_switch_on(PPIXPOINT, FLAGS32) {
  if (powered()) ralt_on = 1;
  return FALSE_K7;
}
// The test button also cancels a self-test in progress.
BOOL FSAPI on_test(PPIXPOINT, FLAGS32) {
  if (!powered()) return FALSE_K7;
  ralt_btn_test = 1;
  ralt_self_test = 0;
  ralt_self_test_run = 0;
  return FALSE_K7;
}
BOOL FSAPI on_self_test(PPIXPOINT, FLAGS32) {
  if (powered()) ralt_self_test = 1;
  return FALSE_K7;
}
BOOL FSAPI on_lamp_test(PPIXPOINT, FLAGS32) {
  if (powered()) ralt_lamp_test = 1;
  return FALSE_K7;
}
BOOL FSAPI on_dh_minus(PPIXPOINT, FLAGS32) {
  ralt_dh = ralt_dh > DH_STEP ? ralt_dh - DH_STEP : 0;
  return FALSE_K7;
}
BOOL FSAPI on_dh_plus(PPIXPOINT, FLAGS32) {
  ralt_dh = ralt_dh + DH_STEP < DH_MAX ? ralt_dh + DH_STEP : DH_MAX;
  return FALSE_K7;
}

constexpr FLAGS32 CLICK = MOUSE_LEFTSINGLE;
constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({141, 0, 24, 39}, CURSOR_DOWNARROW, CLICK, on_switch_off),
    k7::mouse_area({165, 0, 21, 39}, CURSOR_HAND, CLICK, on_test),
    k7::mouse_area({186, 0, 24, 39}, CURSOR_UPARROW, CLICK, on_switch_on),
    k7::mouse_area({0, 140, 24, 39}, CURSOR_DOWNARROW, HELD, on_dh_minus),
    k7::mouse_area({24, 140, 21, 39}, CURSOR_HAND, CLICK, on_lamp_test),
    k7::mouse_area({45, 140, 24, 39}, CURSOR_UPARROW, HELD, on_dh_plus),
    k7::mouse_area({165, 39, 21, 30}, CURSOR_HAND, CLICK, on_self_test),
    K7_MOUSE_END,
};

// ---- update
// ------------------------------------------------------------------------------------------------

void switch_off() {
  ralt_on = 0;
  ralt_valid = 0;
  ralt_warm = 0;
}

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  const double h = sim::read_finite(radio_height) * METRES_TO_FEET;
  const i32 now = k7::tick_now();
  const bool power = powered();

  // The push buttons: each needs the supply to run its cycle.
  bool lamp_test = false, test_in = false, self_test = false;
  if (power) {
    lamp_test = k7::timed_button_step(ralt_lamp_test, ralt_lamp_test_run, ralt_lamp_test_end, now,
                                      BUTTON_TICKS);
    test_in = k7::timed_button_step(ralt_btn_test, ralt_btn_test_run, ralt_btn_test_end, now,
                                    BUTTON_TICKS);
    self_test = k7::timed_button_step(ralt_self_test, ralt_self_test_run, ralt_self_test_end, now,
                                      BUTTON_TICKS);
  }

  if (power && ralt_on == 1 && ralt_warm != 1) {
    ralt_warm_end = k7::sat_cast<i32>(static_cast<double>(now) + WARM_UP_TICKS);
    ralt_warm = 1;
  }
  if (power && ralt_on == 1 && ralt_warm_end > now) {
    ralt_warm_shown = 1;
    if (!self_test) ralt_ind = wound_down(ralt_ind);
  } else if (power && ralt_on == 1) {
    ralt_warm_shown = 0;
    if (!self_test) {
      ralt_off_shown = 0;
      ralt_valid = 1;
      if (h < SWITCH_OFF_FEET)
        ralt_ind = tracked(ralt_ind, h);
      else
        switch_off();
    }
  } else {
    ralt_warm_shown = 0;
    switch_off();
    if (!self_test) ralt_ind = wound_down(ralt_ind);
    ralt_off_shown = 1;
  }
  if (self_test) ralt_ind = self_tested(ralt_ind);
  ralt_ind = k7::clamp(ralt_ind, 0.0, POINTER_MAX);

  ralt_dh_lit = ralt_valid == 1 && power && ralt_dh >= h;
  ralt_dh_lamp_shown = power && (lamp_test || ralt_dh_lit == 1);
  ralt_test_img_shown = test_in || self_test;

  k7::show(warm_light, ralt_warm_shown == 1);
  k7::show(off_flag, ralt_off_shown == 1);
  k7::show(dh_lamp, ralt_dh_lamp_shown == 1);
  k7::show(test_image, ralt_test_img_shown == 1);
}

} // namespace

MOUSERECT k7::ralt_click_area(int i) {
  return i >= 0 && i < RALT_CLICK_AREAS ? mouse[1 + i] : k7::mouse_end(MOUSE_RECT_EOL);
}

K7_GAUGE_HEADER(ralt, face, mouse, callback);
